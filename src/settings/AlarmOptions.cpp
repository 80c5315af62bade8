#include "settings/AlarmOptions.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TAlarmOptions::TAlarmOptions(TSettings& settings, QWidget* parent)
    : QGroupBox(u"Alarms"_s, parent)
    , Settings(settings)
{
    setObjectName(u"AlarmsBox"_s);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(2);
    cbNotifications = new QCheckBox(u"Desktop notifications"_s, this);
    cbNotifications->setObjectName(u"cbNotifications"_s);
    cbNotifications->setToolTip(u"Show each alarm as a notification of the desktop too"_s);
    column->addWidget(cbNotifications);

    auto* remind = new QLabel(u"Remind me this many minutes before an alarm (0: off):"_s, this);
    remind->setWordWrap(true);
    seRemindBefore = new QSpinBox(this);
    seRemindBefore->setObjectName(u"seRemindBefore"_s);
    seRemindBefore->setRange(0, MaxRemindBefore);
    seRemindBefore->setSuffix(u" min"_s);
    remind->setBuddy(seRemindBefore);
    column->addWidget(remind);
    column->addWidget(seRemindBefore, 0, Qt::AlignLeft);

    cbBackground = new QCheckBox(u"Keep running without a tray"_s, this);
    cbBackground->setObjectName(u"cbBackground"_s);
    cbBackground->setToolTip(u"On a desktop with no tray, closing the window leaves Talvo95 "
                             "running while alarms lie ahead"_s);
    column->addWidget(cbBackground);

    connect(cbNotifications, &QCheckBox::toggled, this, [this](bool on) {
        if (!Showing)
            Settings.Notifications = on;
    });
    connect(seRemindBefore, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (!Showing)
            Settings.RemindBefore = minutes;
    });
    connect(cbBackground, &QCheckBox::toggled, this, [this](bool on) {
        if (!Showing)
            Settings.Background = on;
    });
}

void TAlarmOptions::ShowSettings()
{
    Showing = true;
    cbNotifications->setChecked(Settings.Notifications);
    seRemindBefore->setValue(Settings.RemindBefore);
    cbBackground->setChecked(Settings.Background);
    Showing = false;
}
