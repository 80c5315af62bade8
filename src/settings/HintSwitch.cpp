#include "settings/HintSwitch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QToolTip>

THintSwitch::THintSwitch(QObject* parent)
    : QObject(parent)
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installEventFilter(this);
}

void THintSwitch::SetEnabled(bool on)
{
    On = on;
    if (!On)
        QToolTip::hideText();
}

bool THintSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (!On && event->type() == QEvent::ToolTip)
        return true;
    return QObject::eventFilter(watched, event);
}
