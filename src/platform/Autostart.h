#pragma once

#include <QString>

// Whether the program starts with the user's desktop session, straight into the
// tray. Behind a seam so the main window's tests choose where it is written.
class IAutostart
{
public:
    virtual ~IAutostart() = default;
    virtual bool IsEnabled() const = 0;
    // Writes or removes the entry; false, with `error` set, when that failed.
    virtual bool SetEnabled(bool enabled, QString& error) = 0;
};

// The desktop's own place: the XDG autostart entry
// $XDG_CONFIG_HOME/autostart/Talvo95.desktop, or on Windows the "Talvo95"
// value of the current user's Run key. The entry starts `program` with
// "--hidden".
class TSessionAutostart final : public IAutostart
{
public:
    explicit TSessionAutostart(QString program);
    bool IsEnabled() const override;
    bool SetEnabled(bool enabled, QString& error) override;

    // The entry's path (Linux) and its text.
    static QString EntryPath();
    static QString EntryText(const QString& program);
    // A program path as one argument of a desktop entry's Exec line.
    static QString ExecArgument(const QString& program);

private:
    QString Program;
};
