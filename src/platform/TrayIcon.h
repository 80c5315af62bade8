#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class QSystemTrayIcon;

// The icon in the notification area. The main window talks to this seam; tests
// use a fake that records what was shown.
class TTrayIconBase : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether the desktop offers a notification area now.
    virtual bool IsAvailable() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsShown() const = 0;
    virtual void SetIcon(const QIcon& icon) = 0;
    virtual void SetToolTip(const QString& tip) = 0;
    virtual void SetMenu(QMenu* menu) = 0;

Q_SIGNALS:
    // A left click on the icon.
    void LeftClicked();
};

// Making the desktop's tray icon first connects to the session bus and asks it
// for a tray, which can keep the program waiting many milliseconds. So the
// icon keeps what it is told and makes the real one only when told to, or at
// the first question that needs it: the window's first frame need not wait.
class TSystemTrayIcon final : public TTrayIconBase
{
    Q_OBJECT
public:
    explicit TSystemTrayIcon(QObject* parent = nullptr);
    bool IsAvailable() const override;
    void Show() override;
    void Hide() override;
    bool IsShown() const override;
    void SetIcon(const QIcon& icon) override;
    void SetToolTip(const QString& tip) override;
    void SetMenu(QMenu* menu) override;
    // Makes the desktop's icon now, as told so far.
    void Make();
    bool IsMade() const { return Icon != nullptr; }

private:
    QSystemTrayIcon* Icon = nullptr;
    QIcon WantedIcon;
    QString WantedTip;
    QPointer<QMenu> WantedMenu;
    bool WantedShown = false;
};
