#pragma once

#include "settings/Settings.h"

#include <QColor>
#include <functional>

class ISoundPlayer;
class QTableView;
class QTreeView;
class QWidget;
class THintSwitch;
class TPaletteColours;

// The windows and controls the options take effect on. Whatever does not exist
// (yet) stays null or empty and is skipped, so a window joins by filling its
// fields where the main window gathers them (TTalvoForm::ApplyTargets).
struct TApplyTargets {
    QWidget* MainWindow = nullptr;
    QWidget* ScheduleWindow = nullptr;
    QWidget* PropertiesWindow = nullptr;
    THintSwitch* Hints = nullptr;
    // The month calendar's body colour; the calendar repaints itself.
    std::function<void(const QColor&)> SetCalendarColour;
    QTableView* DiaryGrid = nullptr;
    QTreeView* NotesTree = nullptr;
    QWidget* NotesMemo = nullptr;
    QTableView* NotesGrid = nullptr;
    // The background of the calculator's stack grid.
    std::function<void(const QColor&)> SetCalculatorColour;
    QTableView* ScheduleGrid = nullptr;
    // When given, the calendar, notes tree and calculator colours follow the
    // desktop's palette as it changes; else they are set once.
    TPaletteColours* Colours = nullptr;
};

// Makes the options take effect, in this order: stay-on-top for the main,
// schedule and properties windows (shown ones only); pop-up hints; the
// calendar colour; the settings font on the diary grid, the notes tree (with
// its background colour and text that reads on it), the notes memo and the
// notes table; the calculator colour; the first notes category opened one
// level; the schedule grid's font. Each grid's rows become 7 + the font's
// pixel height high.
void ApplySettings(const TSettings& settings, const TApplyTargets& targets);

// The sound of the chosen "Alarm Sound" item.
void PlayAlarmSound(ISoundPlayer& player, const TSettings& settings);
