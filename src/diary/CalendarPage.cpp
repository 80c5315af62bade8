#include "diary/CalendarPage.h"

#include "controls/Dialogues.h"
#include "controls/ImageLists.h"
#include "controls/SimpleCalendar.h"
#include "controls/TextViewer.h"
#include "diary/DiaryFile.h"
#include "diary/DiaryGrid.h"
#include "diary/DiaryGridModel.h"
#include "platform/AnsiText.h"
#include "platform/Desktop.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

using namespace Qt::StringLiterals;

namespace
{

constexpr int HelpTopic = 4;
constexpr int PanelMinimumHeight = 141;
constexpr int PanelMargin = 4;
constexpr int ButtonColumnWidth = 61;
constexpr int ButtonSpacing = 3;
// The calendar's designed height: the panel starts at that plus its margins.
constexpr int CalendarDesignHeight = 137;
// The event rows a first start shows below the calendar.
constexpr int FirstRows = 12;

template <typename TButton>
TButton* NewButton(
    QWidget* parent, const QString& name, const QString& caption, const QString& hint)
{
    auto* button = new TButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// What a button's caption and picture need, with the style's margins, but
// without the least width the style gives every button.
int CaptionWidth(const QPushButton* button)
{
    const QStyle* style = button->style();
    const int margins = 2
        * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button)
            + style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    const int picture = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return button->fontMetrics().horizontalAdvance(button->text()) + picture + margins;
}

} // namespace

TCalendarPage::TCalendarPage(TDiaryStore& store, QUndoStack& history, IClock& clock,
    IDialogues& dialogues, IClipboard& clipboard, IDesktop& desktop,
    std::filesystem::path dataFolder, std::function<void(const QString&)> showOverdueText,
    QWidget* parent)
    : QWidget(parent)
    , Store(store)
    , History(history)
    , Clock(clock)
    , Dialogues(dialogues)
    , Clipboard(clipboard)
    , Desktop(desktop)
    , DataFolder(std::move(dataFolder))
    , ShowOverdue(std::move(showOverdueText))
{
    setObjectName(u"CalendarPage"_s);
    CalendarSplitter = new QSplitter(Qt::Vertical, this);
    CalendarSplitter->setObjectName(u"CalendarSplitter"_s);
    CalendarSplitter->setChildrenCollapsible(false);
    BuildPanel();
    BuildGrid();
    BuildMenus();
    CalendarSplitter->setStretchFactor(0, 0);
    CalendarSplitter->setStretchFactor(1, 1);
    FitPanel();
    CalendarSplitter->setSizes({ CalendarPanel->minimumHeight(), 240 });

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(CalendarSplitter);
    resize(560, 380);
}

TCalendarPage::~TCalendarPage()
{
    // The main window's store may be gone already: nothing of the teardown
    // reaches it. The grid and the calendar go first, while the page that
    // answers them is still whole.
    Model->Detach();
    delete CalendarSplitter;
}

void TCalendarPage::BuildPanel()
{
    CalendarPanel = new QWidget(CalendarSplitter);
    CalendarPanel->setObjectName(u"CalendarPanel"_s);
    CalendarPanel->setMinimumHeight(PanelMinimumHeight);

    Calendar = new TSimpleCalendar(DateOf(Clock.Now()), CalendarPanel);
    Calendar->setObjectName(u"Calendar"_s);
    Calendar->SetAllowRange(false);
    Calendar->setMinimumSize(0, 0);
    Calendar->SetToday([this] { return Clock.Now(); });
    Calendar->SetDayFontStyle(
        [this](uint16_t year, uint16_t month, uint16_t day, TFontStyles& styles) {
            CalendarDayFontStyle(year, month, day, styles);
        });
    connect(Calendar, &TSimpleCalendar::OnChange, this,
        [this] { Guarded([this] { CalendarChange(); }); });

    auto* column = new QWidget(CalendarPanel);
    column->setObjectName(u"CalendarButtons"_s);

    TodayButton
        = NewButton<QPushButton>(column, u"TodayButton"_s, u"Today"_s, u"Jump to today's date"_s);
    QFont underlined = TodayButton->font();
    underlined.setUnderline(true);
    TodayButton->setFont(underlined);
    SetTodayGlyph(DecodeDate(Clock.Now()).Day);
    PrevMonthButton
        = NewButton<QToolButton>(column, u"PrevMonthButton"_s, QString(), u"Scroll Left"_s);
    PrevMonthButton->setArrowType(Qt::LeftArrow);
    NextMonthButton
        = NewButton<QToolButton>(column, u"NextMonthButton"_s, QString(), u"Scroll Right"_s);
    NextMonthButton->setArrowType(Qt::RightArrow);
    ScheduleButton = NewButton<QPushButton>(
        column, u"ScheduleButton"_s, u"Schedule"_s, u"Show Overdue and Upcoming Events  (^S)"_s);
    DiaryFindButton = NewButton<QPushButton>(
        column, u"DiaryFindButton"_s, u"Find"_s, u"Search the Diary  (^F)"_s);
    CalendarHelpButton
        = NewButton<QToolButton>(column, u"CalendarHelpButton"_s, QString(), u"Help  (F1)"_s);
    CalendarHelpButton->setIcon(TImageLists::ButtonIcon(TImageLists::biHelp));

    ButtonColumn = column;
    FitButtonColumn();

    auto* buttons = new QVBoxLayout(column);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(ButtonSpacing);
    buttons->addWidget(TodayButton);
    auto* arrows = new QHBoxLayout;
    arrows->setSpacing(ButtonSpacing);
    arrows->addWidget(PrevMonthButton);
    arrows->addWidget(NextMonthButton);
    buttons->addLayout(arrows);
    buttons->addWidget(ScheduleButton);
    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(ButtonSpacing);
    findRow->addWidget(DiaryFindButton);
    findRow->addWidget(CalendarHelpButton);
    buttons->addLayout(findRow);
    buttons->addStretch(1);

    auto* panel = new QHBoxLayout(CalendarPanel);
    panel->setContentsMargins(PanelMargin, PanelMargin, PanelMargin, PanelMargin);
    panel->setSpacing(PanelMargin);
    panel->addWidget(Calendar, 1);
    panel->addWidget(column);

    connect(TodayButton, &QPushButton::clicked, this,
        [this] { Guarded([this] { TodayButtonClick(); }); });
    connect(PrevMonthButton, &QToolButton::clicked, this, &TCalendarPage::PrevMonthButtonClick);
    connect(NextMonthButton, &QToolButton::clicked, this, &TCalendarPage::NextMonthButtonClick);
    connect(ScheduleButton, &QPushButton::clicked, this, &TCalendarPage::ScheduleButtonClick);
    connect(DiaryFindButton, &QPushButton::clicked, this, &TCalendarPage::DiaryFindButtonClick);
    connect(CalendarHelpButton, &QToolButton::clicked, this,
        [this] { Q_EMIT HelpRequested(HelpTopic); });
}

void TCalendarPage::FitButtonColumn()
{
    // As wide as the widest caption and picture need in the desktop's font
    // (at least the designed width); every button as high as "Today", the
    // paired ones sharing the column's width.
    const int height = TodayButton->sizeHint().height();
    const int width = std::max({ ButtonColumnWidth, CaptionWidth(TodayButton),
        CaptionWidth(ScheduleButton), CaptionWidth(DiaryFindButton) + ButtonSpacing + height });
    ButtonColumn->setFixedWidth(width);
    const int half = (width - ButtonSpacing) / 2;
    for (QWidget* button : std::initializer_list<QWidget*> { TodayButton, ScheduleButton })
        button->setFixedSize(width, height);
    PrevMonthButton->setFixedSize(half, height);
    NextMonthButton->setFixedSize(width - ButtonSpacing - half, height);
    DiaryFindButton->setFixedSize(width - ButtonSpacing - height, height);
    CalendarHelpButton->setFixedSize(height, height);
}

void TCalendarPage::FitPanel()
{
    // The panel holds at least one whole month, whatever the desktop's font.
    const int height
        = std::max(CalendarDesignHeight, Calendar->sizeHint().height()) + 2 * PanelMargin;
    CalendarPanel->setMinimumHeight(std::max(PanelMinimumHeight, height));
}

QSize TCalendarPage::sizeHint() const
{
    // Both months of the calendar beside its buttons, over about twelve rows
    // of events, in the fonts they are shown in.
    const QSize calendar = Calendar->SizeForMonths(2);
    const int width = calendar.width() + ButtonColumn->width() + 3 * PanelMargin;
    const int panel = std::max(CalendarPanel->minimumHeight(), calendar.height() + 2 * PanelMargin);
    const int grid = CalendarGrid->horizontalHeader()->sizeHint().height()
        + FirstRows * CalendarGrid->verticalHeader()->defaultSectionSize()
        + 2 * CalendarGrid->frameWidth();
    return QSize(width, panel + CalendarSplitter->handleWidth() + grid);
}

void TCalendarPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && ButtonColumn) {
        FitButtonColumn();
        FitPanel();
    }
}

void TCalendarPage::Guarded(const std::function<void()>& handler)
{
    RunGuarded(Dialogues, handler);
}

QTableView* TCalendarPage::Grid() const
{
    return CalendarGrid;
}

void TCalendarPage::SetCalendarColour(const QColor& colour)
{
    Calendar->SetCalColor(colour);
}

void TCalendarPage::SetTodayGlyph(std::optional<int> day)
{
    TodayButton->setIcon(day ? TImageLists::DatedPageIcon(*day)
                             : TImageLists::CalendarIcon(TImageLists::ciEmptyPage));
}

void TCalendarPage::EndEditing()
{
    CalendarGrid->EndEditing();
    // A time that is no time of day never reaches the day's list for good.
    CancelWrongTime();
}

int TCalendarPage::GridRow() const
{
    return CalendarGrid->Row();
}

int TCalendarPage::GridColumn() const
{
    return CalendarGrid->Col();
}

void TCalendarPage::TodayButtonClick()
{
    Calendar->SetDate(DateOf(Clock.Now()));
    Store.SelectCalendarDay();
    ResetBaseline();
}

void TCalendarPage::PrevMonthButtonClick()
{
    Calendar->ScrollMonths(-1);
}

void TCalendarPage::NextMonthButtonClick()
{
    Calendar->ScrollMonths(1);
}

void TCalendarPage::ScheduleButtonClick()
{
    Q_EMIT ScheduleRequested();
}

void TCalendarPage::DiaryFindButtonClick()
{
    Q_EMIT FindRequested();
}

void TCalendarPage::SelectDayCell(TDateTime day, int row, int column)
{
    SetCalendarDate(day);
    Store.SelectCalendarDay();
    ResetBaseline();
    CalendarGrid->FocusCell(column, std::clamp(row, 1, TDiaryGridModel::EventRows));
    if (!CalendarGrid->isHidden())
        CalendarGrid->setFocus();
}

void TCalendarPage::MenuDiaryOldClick()
{
    const std::filesystem::path file = DataFolder / DiaryOldFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        Dialogues.ShowInfo(u"No events have been purged yet: there is no \"DiaryOld.txt\"."_s);
        return;
    }
    const QString path = QString::fromStdU16String(file.u16string());
    if (Desktop.OpenDocument(path))
        return;
    // No viewer for text files on this desktop: show it ourselves.
    if (!PurgedEvents)
        PurgedEvents = new TTextViewer(this);
    if (!PurgedEvents->ShowFile(path))
        Dialogues.ShowError(u"\"%1\" could not be read."_s.arg(path));
}

void TCalendarPage::CalendarChange()
{
    EndEditing();
    LoadingDay = true;
    Store.SelectCalendarDay();
    LoadingDay = false;
    ResetBaseline();
    RecountOverdue();
}

void TCalendarPage::RecountOverdue()
{
    Store.CountOverdue();
    Store.ShowOverdueCount();
}

void TCalendarPage::CalendarDayFontStyle(
    uint16_t year, uint16_t month, uint16_t day, TFontStyles& styles) const
{
    if (year == Store.TodayYear && month == Store.TodayMonth && day == Store.TodayDay)
        styles.Underline = true;
    if (!Store.InDiaryWindow(year, month)) {
        styles.Italic = true;
        return;
    }
    for (const TDiaryEvent* event = Store.DiaryDays[DayIndex(month, day)].get(); event;
         event = event->Next.get())
        if (!event->Description.empty()) {
            styles.Bold = true;
            return;
        }
}

TDateTime TCalendarPage::CalendarDate() const
{
    return Calendar->Date();
}

void TCalendarPage::SetCalendarDate(TDateTime date)
{
    Calendar->SetDate(date);
}

void TCalendarPage::RepaintGrid()
{
    Model->Refresh();
}

void TCalendarPage::SetGridRow(int row)
{
    CalendarGrid->FocusCell(CalendarGrid->Col(), row);
}

void TCalendarPage::SetGridVisible(bool visible)
{
    if (!visible)
        EndEditing();
    CalendarGrid->setVisible(visible);
}

void TCalendarPage::ShowOverdueText(const std::string& text)
{
    if (ShowOverdue)
        ShowOverdue(FromCore(text));
}
