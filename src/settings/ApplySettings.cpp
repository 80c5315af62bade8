#include "settings/ApplySettings.h"

#include "controls/Contrast.h"
#include "platform/SoundPlayer.h"
#include "platform/StayOnTop.h"
#include "settings/HintSwitch.h"
#include "settings/PaletteColours.h"
#include "settings/SettingsConvert.h"

#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTreeView>
#include <algorithm>

namespace
{

void SetGridFont(QTableView* grid, const QFont& font)
{
    grid->setFont(font);
    QHeaderView* rows = grid->verticalHeader();
    const int height = GridRowHeight(font, grid->logicalDpiY());
    // The style's minimum would otherwise keep small fonts in tall rows.
    rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), height));
    rows->setDefaultSectionSize(height);
}

void SetTreeColour(QTreeView* tree, const QColor& colour)
{
    QPalette palette = tree->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(
        QPalette::Text, ReadableInk(colour, QApplication::palette(tree).color(QPalette::Text)));
    tree->setPalette(palette);
}

void SetColour(const TApplyTargets& targets, TPaletteColours::Slot slot, TColour colour,
    TPaletteColours::TSetter set)
{
    if (targets.Colours)
        targets.Colours->Follow(slot, colour, std::move(set));
    else
        set(ColourToQColor(colour));
}

} // namespace

void ApplySettings(const TSettings& settings, const TApplyTargets& targets)
{
    SetStayOnTop(targets.MainWindow, settings.OnTop);
    SetStayOnTop(targets.ScheduleWindow, settings.OnTop);
    SetStayOnTop(targets.PropertiesWindow, settings.OnTop);

    if (targets.Hints)
        targets.Hints->SetEnabled(settings.ShowHints);

    if (targets.SetCalendarColour)
        SetColour(targets, TPaletteColours::CalendarSlot, settings.ColourCalendar,
            targets.SetCalendarColour);

    const QFont font = SettingsFontToQFont(settings.SettingsFont);
    if (targets.DiaryGrid)
        SetGridFont(targets.DiaryGrid, font);

    if (QTreeView* tree = targets.NotesTree) {
        tree->setFont(font);
        SetColour(targets, TPaletteColours::TreeSlot, settings.ColourTree,
            [tree = QPointer<QTreeView>(tree)](const QColor& colour) {
                if (tree)
                    SetTreeColour(tree, colour);
            });
    }

    if (targets.NotesMemo)
        targets.NotesMemo->setFont(font);

    if (targets.NotesGrid)
        SetGridFont(targets.NotesGrid, font);

    if (targets.SetCalculatorColour)
        SetColour(targets, TPaletteColours::CalculatorSlot, settings.ColourCalculator,
            targets.SetCalculatorColour);

    if (QTreeView* tree = targets.NotesTree) {
        const QAbstractItemModel* model = tree->model();
        if (model && model->rowCount() > 0)
            tree->expand(model->index(0, 0));
    }

    if (QTableView* grid = targets.ScheduleGrid) {
        SetGridFont(grid, font);
        grid->viewport()->update();
    }
}

void PlayAlarmSound(ISoundPlayer& player, const TSettings& settings)
{
    player.Play(settings.AlarmSound);
}
