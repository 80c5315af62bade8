#pragma once

#include "settings/Settings.h"

#include <QGroupBox>

class QCheckBox;
class QSpinBox;

// The Properties window's "Alarms" group: the desktop's notifications, the
// reminder's lead and running on without a tray. Like the rest of the
// window it edits the options in place.
class TAlarmOptions final : public QGroupBox
{
    Q_OBJECT
public:
    TAlarmOptions(TSettings& settings, QWidget* parent);
    // The controls show the options as they are now.
    void ShowSettings();

private:
    TSettings& Settings;
    QCheckBox* cbNotifications;
    QSpinBox* seRemindBefore;
    QCheckBox* cbBackground;
    bool Showing = false;
};
