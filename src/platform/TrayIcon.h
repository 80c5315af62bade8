#pragma once

#include <QIcon>
#include <QObject>
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

private:
    QSystemTrayIcon* Icon;
};
