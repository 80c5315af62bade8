#include "schedule/ScheduleForm.h"

#include "controls/ImageLists.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"
#include "schedule/ScheduleGrid.h"
#include "schedule/ScheduleModel.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace
{

constexpr int PanelHeight = 35;

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TScheduleForm::TScheduleForm(TDiaryStore& diary, const IClock& clock, const TSettings& settings,
    IClipboard& clipboard, TSettingsStore& settingsStore, QWidget* parent)
    // A window of its own, not a tool window kept above the main one: after
    // "Go There" the main window comes in front with the row it selected.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , Diary(diary)
    , Clock(clock)
    , Clipboard(clipboard)
{
    setObjectName(u"ScheduleForm"_s);
    setWindowTitle(u"Schedule"_s);
    setMinimumSize(350, 200);

    FModel = new TScheduleModel(clock, settings, this);
    ScheduleGrid = new TScheduleGrid(*FModel, this);
    ScheduleGrid->setToolTip(u"List of Events in the Diary"_s);
    connect(ScheduleGrid, &TScheduleGrid::DblClick, this, &TScheduleForm::GoThereClick);

    auto* panel = new QWidget(this);
    panel->setObjectName(u"SchedulePanel"_s);
    panel->setFixedHeight(PanelHeight);
    ShowAll = new QCheckBox(u"Show All Events"_s, panel);
    ShowAll->setObjectName(u"ShowAll"_s);
    connect(ShowAll, &QCheckBox::clicked, this, &TScheduleForm::ShowAllClick);
    Copy = NewButton(panel, u"Copy"_s, u"Copy"_s);
    Copy->setIcon(TImageLists::ButtonIcon(TImageLists::biCopy));
    connect(Copy, &QPushButton::clicked, this, &TScheduleForm::CopyClick);
    GoThere = NewButton(panel, u"GoThere"_s, u"Go There"_s);
    GoThere->setToolTip(u"Jump to the Diary at this date"_s);
    GoThere->setDefault(true);
    GoThere->setAutoDefault(true);
    connect(GoThere, &QPushButton::clicked, this, &TScheduleForm::GoThereClick);
    Refresh = NewButton(panel, u"Refresh"_s, u"Refresh"_s);
    Refresh->setIcon(TImageLists::CalendarIcon(TImageLists::ciAlarm));
    connect(Refresh, &QPushButton::clicked, this, &TScheduleForm::RefreshClick);
    CloseBtn = NewButton(panel, u"CloseBtn"_s, u"OK"_s);
    connect(CloseBtn, &QPushButton::clicked, this, &TScheduleForm::CloseBtnClick);
    // Enter on the list goes there, as the default button would in a dialog.
    for (const auto key : { Qt::Key_Return, Qt::Key_Enter }) {
        auto* enter = new QShortcut(QKeySequence(key), ScheduleGrid);
        enter->setContext(Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, &TScheduleForm::GoThereClick);
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TScheduleForm::CloseBtnClick);

    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 4, 4, 4);
    row->addWidget(ShowAll);
    row->addStretch(1);
    for (QPushButton* button : { Copy, GoThere, Refresh, CloseBtn })
        row->addWidget(button);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(ScheduleGrid, 1);
    column->addWidget(panel);

    const std::array<int32_t, 4> place = ReadPlacement(settingsStore);
    move(place[0], place[1]);
    resize(place[2], place[3]);
}

TScheduleForm::~TScheduleForm() = default;

std::array<int32_t, 4> TScheduleForm::ReadPlacement(TSettingsStore& settingsStore)
{
    std::array<int32_t, 4> place = DesignedPlacement;
    settingsStore.OpenSettings();
    place[0] = settingsStore.ReadSettingInt(Setting::SchWinLeft.Name, place[0]);
    place[1] = settingsStore.ReadSettingInt(Setting::SchWinTop.Name, place[1]);
    place[2] = settingsStore.ReadSettingInt(Setting::SchWinWidth.Name, place[2]);
    place[3] = settingsStore.ReadSettingInt(Setting::SchWinHeight.Name, place[3]);
    settingsStore.CloseSettings();
    return place;
}

std::array<int32_t, 4> TScheduleForm::Placement() const
{
    return { x(), y(), width(), height() };
}

void TScheduleForm::OpenSchedule()
{
    StoreBackSelectedDay(Diary);
    FillSchedule();
}

void TScheduleForm::FillSchedule()
{
    FModel->SetList(FillScheduleList(Diary, Clock.Now(), ShowAll->isChecked()));
    ScheduleGrid->setColumnWidth(
        TScheduleModel::ImageColumn, ScheduleGrid->verticalHeader()->defaultSectionSize());
    ScheduleGrid->SetRow(FModel->List().SelectedRow);
    ScheduleGrid->viewport()->update();
    show();
    raise();
    activateWindow();
    ScheduleGrid->setFocus();
}

void TScheduleForm::ShowAllClick()
{
    FillSchedule();
}

void TScheduleForm::CopyClick()
{
    Clipboard.SetText(FromCore(ScheduleCopyText(FModel->List().Elements)));
}

void TScheduleForm::GoThereClick()
{
    // The empty last row holds no event: there is nowhere to go.
    const TElement* element = FModel->ElementAtRow(ScheduleGrid->Row());
    if (!element)
        return;
    Q_EMIT GoThereRequested(DateOf(element->DateTime), element->Position);
}
