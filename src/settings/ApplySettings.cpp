#include "settings/ApplySettings.h"

#include "platform/SoundPlayer.h"
#include "platform/StayOnTop.h"
#include "settings/HintSwitch.h"
#include "settings/SettingsConvert.h"

#include <QHeaderView>
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

} // namespace

void ApplySettings(const TSettings& settings, const TApplyTargets& targets)
{
    SetStayOnTop(targets.MainWindow, settings.OnTop);
    SetStayOnTop(targets.ScheduleWindow, settings.OnTop);
    SetStayOnTop(targets.PropertiesWindow, settings.OnTop);

    if (targets.Hints)
        targets.Hints->SetEnabled(settings.ShowHints);

    if (targets.SetCalendarColour)
        targets.SetCalendarColour(ColourToQColor(settings.ColourCalendar));

    const QFont font = SettingsFontToQFont(settings.SettingsFont);
    if (targets.DiaryGrid)
        SetGridFont(targets.DiaryGrid, font);

    if (QTreeView* tree = targets.NotesTree) {
        tree->setFont(font);
        QPalette palette = tree->palette();
        palette.setColor(QPalette::Base, ColourToQColor(settings.ColourTree, palette));
        tree->setPalette(palette);
    }

    if (targets.NotesMemo)
        targets.NotesMemo->setFont(font);

    if (targets.NotesGrid)
        SetGridFont(targets.NotesGrid, font);

    if (targets.SetCalculatorColour)
        targets.SetCalculatorColour(ColourToQColor(settings.ColourCalculator));

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
