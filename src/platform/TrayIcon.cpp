#include "platform/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

TSystemTrayIcon::TSystemTrayIcon(QObject* parent)
    : TTrayIconBase(parent)
{
}

void TSystemTrayIcon::Make()
{
    if (Icon)
        return;
    Icon = new QSystemTrayIcon(this);
    connect(
        Icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                Q_EMIT LeftClicked();
        });
    Icon->setIcon(WantedIcon);
    Icon->setToolTip(WantedTip);
    if (WantedMenu)
        Icon->setContextMenu(WantedMenu);
    Icon->setVisible(WantedShown);
}

bool TSystemTrayIcon::IsAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TSystemTrayIcon::Show()
{
    WantedShown = true;
    if (Icon)
        Icon->show();
}

void TSystemTrayIcon::Hide()
{
    WantedShown = false;
    if (Icon)
        Icon->hide();
}

bool TSystemTrayIcon::IsShown() const
{
    return Icon ? Icon->isVisible() : WantedShown;
}

void TSystemTrayIcon::SetIcon(const QIcon& icon)
{
    WantedIcon = icon;
    if (Icon)
        Icon->setIcon(icon);
}

void TSystemTrayIcon::SetToolTip(const QString& tip)
{
    WantedTip = tip;
    if (Icon)
        Icon->setToolTip(tip);
}

void TSystemTrayIcon::SetMenu(QMenu* menu)
{
    WantedMenu = menu;
    if (Icon)
        Icon->setContextMenu(menu);
}
