#pragma once

#include "settings/SettingsStore.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

class QSettings;

// The settings on the desktop, through QSettings: the values live as strings in
// the group "All" of the application "Talvo95" of the organisation "Quorral".
// On Linux that is the INI file $XDG_CONFIG_HOME/Quorral/Talvo95.ini; on
// Windows the registry key HKEY_CURRENT_USER\SOFTWARE\Quorral\Talvo95\All.
class TQtSettingsBackend final : public ISettingsBackend
{
public:
    explicit TQtSettingsBackend(QString applicationTitle = QStringLiteral("Talvo95"));
    ~TQtSettingsBackend() override;

    // A value that reads as anything but a string (an "@Variant(...)", a
    // registry number) reads as absent. A hand-typed INI value with a comma,
    // which QSettings reads as a list, reads as its text.
    std::optional<std::string> ReadText(std::string_view name) override;
    bool WriteText(std::string_view name, std::string_view text) override;
    // Within a batch the file stays open and the writes are stored by one
    // sync when it ends.
    void BeginBatch() override;
    bool EndBatch() override;

    // The INI file's path, or the registry key.
    QString Location() const;

private:
    std::unique_ptr<QSettings> Open() const;

    QString ApplicationTitle;
    // The open batch's file, and what its writes replaced (to put back when
    // the batch could not be stored).
    std::unique_ptr<QSettings> Batch;
    std::vector<std::pair<QString, QVariant>> Replaced;
};
