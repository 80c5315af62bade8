#pragma once

#include "settings/Settings.h"

#include <QWidget>
#include <array>
#include <functional>

class IColourFontPickers;
class IDialogues;
class ISoundPlayer;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class TAlarmOptions;
class TSyncOptions;
class ISyncControl;
class TSettingsStore;

// The "Properties" window: the modem port, the alarm sound, the six colours,
// the shared font and the three options, the alarms' options and the sync's,
// with "OK", "Cancel" and "Apply".
//
// The window edits the program's one TSettings in place, so whatever reads an
// option when it needs it (the dialler's port, the tick's sound and tray date,
// the schedule's and pop-ups' colours) sees an edit at once; what is copied
// into other windows (on top, hints, the page colours, the font) changes only
// when `applySettings` runs: on "Apply", "OK" and "Cancel". Options reach the
// store only through "OK". Closing it any other way keeps the edits unsaved.
class TPropertiesForm final : public QWidget
{
    Q_OBJECT
public:
    // The designed smallest client area and where the window first goes.
    static constexpr QSize DesignedSize { 209, 382 };
    static constexpr QPoint DesignedPlace { 77, 40 };
    // What a title bar and frame may take of the screen's height.
    static constexpr int TitleAllowance = 40;

    TPropertiesForm(TSettings& settings, TSettingsStore& store, ISoundPlayer& sound,
        IDialogues& dialogues, IColourFontPickers& pickers, std::function<void()> applySettings,
        QWidget* parent = nullptr);

    // The sync behind the "Sync" group's buttons; none leaves them disabled.
    void SetSyncControl(ISyncControl* control);
    // Paints the samples in the current colours.
    void ShowSettingSamples();
    // The colour dialog preset to `field`; a confirmed colour replaces it.
    void PickColour(TColour& field);
    void bFontClick();
    void rgAlarmSoundClick();
    void bApplyClick();
    // Saves, closes and applies; a refused write is reported and leaves the
    // window open with nothing applied.
    void bOKClick();
    // Puts the stored options back in place of every edit, closes and applies.
    void bCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* BuildOptions();
    QWidget* BuildColours();
    // The controls show the options as they are now.
    void ShowSettings();
    void FitToScreen();
    void Place();

    TSettings& Settings;
    TSettingsStore& Store;
    ISoundPlayer& Sound;
    IDialogues& Dialogues;
    IColourFontPickers& Pickers;
    std::function<void()> Apply;

    QWidget* Content = nullptr;
    QScrollArea* Scroller = nullptr;
    QButtonGroup* rgModemPort = nullptr;
    QButtonGroup* rgAlarmSound = nullptr;
    QCheckBox* cbOnTop = nullptr;
    QCheckBox* cbHints = nullptr;
    QCheckBox* cbDate = nullptr;
    TAlarmOptions* AlarmOptions = nullptr;
    TSyncOptions* SyncOptions = nullptr;
    QLabel* CalSamplePanel = nullptr;
    QLabel* TreeSamplePanel = nullptr;
    QLabel* CalcSamplePanel = nullptr;
    QWidget* SchedSamplePanel = nullptr;
    QLabel* OverdueLabel = nullptr;
    QLabel* OverdueTodayLabel = nullptr;
    QLabel* ComingTodayLabel = nullptr;
    QLabel* ComingLabel = nullptr;
    // The controls are being set from the options, not by the user.
    bool Showing = false;
    bool Placed = false;
};
