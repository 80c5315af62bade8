#include "platform/TrayIcon.h"

#include <QSystemTrayIcon>

TSystemTrayIcon::TSystemTrayIcon(QObject* parent)
    : TTrayIconBase(parent)
    , Icon(new QSystemTrayIcon(this))
{
    connect(
        Icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                Q_EMIT LeftClicked();
        });
}

bool TSystemTrayIcon::IsAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TSystemTrayIcon::Show()
{
    Icon->show();
}

void TSystemTrayIcon::Hide()
{
    Icon->hide();
}

bool TSystemTrayIcon::IsShown() const
{
    return Icon->isVisible();
}

void TSystemTrayIcon::SetIcon(const QIcon& icon)
{
    Icon->setIcon(icon);
}

void TSystemTrayIcon::SetToolTip(const QString& tip)
{
    Icon->setToolTip(tip);
}

void TSystemTrayIcon::SetMenu(QMenu* menu)
{
    Icon->setContextMenu(menu);
}
