#include "app/TalvoForm.h"

#include "alarms/AlarmPopups.h"
#include "app/AboutForm.h"
#include "app/CommandLine.h"
#include "app/FormSyncDiary.h"
#include "app/HelpWindow.h"
#include "app/PageSlot.h"
#include "app/SyncController.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "calc/CalculatorPage.h"
#include "comms/CommsCommands.h"
#include "controls/AccessibleNames.h"
#include "controls/Dialogues.h"
#include "controls/ImageLists.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryFile.h"
#include "notes/NotesEditPane.h"
#include "notes/NotesPage.h"
#include "platform/AnsiText.h"
#include "platform/Keyring.h"
#include "platform/TrayIcon.h"
#include "settings/ApplySettings.h"
#include "settings/ColourFontPickers.h"
#include "settings/HintSwitch.h"
#include "settings/PaletteColours.h"
#include "settings/PropertiesForm.h"
#include "settings/SettingsConvert.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

constexpr int HelpTopicProgram = 1;
// How long a word in the status bar stays, in milliseconds.
constexpr int StatusMessageTime = 10000;
constexpr int PageHelpTopics[3] = { 4, 5, 6 };

bool IsWithin(const QWidget* widget, const QWidget* ancestor)
{
    return widget && ancestor && (widget == ancestor || ancestor->isAncestorOf(widget));
}

} // namespace

TTalvoForm::TTalvoForm(TTalvoServices& services, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent)
    , Services(services)
    , FSettings(services.MakeSettingsBackend())
    , Session(services.Clock, services.DataFolder)
{
    setObjectName(u"TalvoForm"_s);
    setWindowTitle(u"Talvo95 - Quorral"_s);
    setMinimumSize(460, 360);
    resize(560, 420);
    move(0, 3);
    Hints = new THintSwitch(this);
    Colours = new TPaletteColours(this);
    FPopups = new TAlarmPopups(
        services.Dialogues, [this] { return ColourToQColor(FOptions.ColourOverdue); }, this);
    CreatePages();
    CreateStatusBar();
    ConnectAlarms();
    NameIconButtons(this);
    NotesPoll = new QTimer(this);
    NotesPoll->setInterval(20);
    connect(NotesPoll, &QTimer::timeout, this, [this] {
        if (!Session.NotesPending() || Session.NotesReady())
            AwaitNotes();
    });
    Second = new QTimer(this);
    Second->setObjectName(u"Second"_s);
    Second->setInterval(1000);
    // A coarse timer could wake seconds after the minute it sleeps to.
    Second->setTimerType(Qt::PreciseTimer);
    connect(Second, &QTimer::timeout, this, &TTalvoForm::SecondTimer);
    FormCreate(arguments);
    // The options, as the properties window loads and applies them.
    LoadSettings(FSettings, FOptions);
    ApplySettings();
    CreateSync();
    if (FirstStart)
        FitFirstSize();
}

TTalvoForm::~TTalvoForm()
{
    qApp->removeEventFilter(this);
    // The store goes before the pages do.
    Session.Diary().SetView(nullptr);
    // The notes page reads the notes tree, which goes before the pages do.
    delete FNotesPage;
    FNotesPage = nullptr;
    // An edit the pages' teardown commits still finds the undo history, which
    // goes with the window's members.
    delete PageControl;
    FCalendarPage = nullptr;
    FCalculatorPage = nullptr;
    // The histories and the session go with the members, after the window's
    // own part: nothing of theirs calls back into it.
    History.Diary.disconnect(this);
    History.NotesTable.disconnect(this);
    Session.SetChangeListener({});
}

void TTalvoForm::CreatePages()
{
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(u"PageControl"_s);
    PageControl->setAccessibleName(u"Pages"_s);
    Pages = { new TPageSlot([this] { return MakeCalendarPage(); }),
        new TPageSlot([this] { return MakeNotesPage(); }),
        new TPageSlot([this] { return MakeCalculatorPage(); }) };
    const QString names[3] = { u"CalendarPage"_s, u"NotesTreePage"_s, u"CalculatorPage"_s };
    const QString captions[3] = { u"Calendar / Diary"_s, u"Notes Tree"_s, u"Calculator"_s };
    for (size_t i = 0; i < Pages.size(); ++i) {
        Pages[i]->setObjectName(names[i]);
        PageControl->addTab(Pages[i], captions[i]);
    }
    setCentralWidget(PageControl);
    connect(PageControl, &QTabWidget::currentChanged, this, &TTalvoForm::PageControlChange);
    // Ctrl+PgDown and Ctrl+PgUp choose the next and the previous page from
    // anywhere in the window, the grids and the text included.
    for (const auto& [keys, step] : { std::pair { Qt::CTRL | Qt::Key_PageDown, 1 },
             std::pair { Qt::CTRL | Qt::Key_PageUp, -1 } }) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            const int count = PageControl->count();
            PageControl->setCurrentIndex((PageControl->currentIndex() + step + count) % count);
        });
    }
    connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget* now) { RememberFocus(now); });
}

QWidget* TTalvoForm::MakeCalendarPage()
{
    FCalendarPage = new TCalendarPage(Session.Diary(), History.Diary, Services.Clock,
        Services.Dialogues, Services.Clipboard, Services.Desktop, Services.DataFolder,
        [this](const QString& text) { Panels[2]->setText(text); });
    FCalendarPage->setObjectName(u"CalendarPage"_s);
    connect(FCalendarPage, &TCalendarPage::HelpRequested, this, &TTalvoForm::ShowHelpTopic);
    connect(FCalendarPage, &TCalendarPage::StatusMessage, this,
        [this](const QString& text) { statusBar()->showMessage(text, StatusMessageTime); });
    NameIconButtons(FCalendarPage);
    return FCalendarPage;
}

QWidget* TTalvoForm::MakeNotesPage()
{
    AwaitNotes();
    auto* notesEditor = new TNotesEditPane(Services.Dialogues, Services.Clipboard);
    notesEditor->SetHistory(&History.NotesTable);
    FNotesPage = new TNotesPage(Session.Notes(), Services.Dialogues, notesEditor);
    FNotesPage->setObjectName(u"NotesTreePage"_s);
    CreateComms(*notesEditor);
    FNotesPage->TreeView()->setAccessibleName(u"Notes categories"_s);
    notesEditor->Memo()->setAccessibleName(u"Notes text"_s);
    notesEditor->Grid()->setAccessibleName(u"Notes table"_s);
    connect(FNotesPage, &TNotesPage::HelpRequested, this, &TTalvoForm::ShowHelpTopic);
    ConnectNotesPage();
    WatchNotesChanges();
    NameIconButtons(FNotesPage);
    return FNotesPage;
}

QWidget* TTalvoForm::MakeCalculatorPage()
{
    FCalculatorPage = new TCalculatorPage(FCalc, Services.Dialogues, Services.Clipboard);
    FCalculatorPage->setObjectName(u"CalculatorPage"_s);
    connect(FCalculatorPage, &TCalculatorPage::HelpRequested, this, &TTalvoForm::ShowHelpTopic);
    FCalculatorPage->SetCurrentRow(TCalculator::XRow);
    // Built after start-up: it takes the options as they are now.
    ApplySettings();
    NameIconButtons(FCalculatorPage);
    return FCalculatorPage;
}

TCalendarPage* TTalvoForm::CalendarPage()
{
    Pages[CalendarPageIndex]->Page();
    return FCalendarPage;
}

TCalculatorPage* TTalvoForm::CalculatorPage()
{
    Pages[CalculatorPageIndex]->Page();
    return FCalculatorPage;
}

TAboutForm* TTalvoForm::AboutForm()
{
    if (!FAboutForm)
        FAboutForm = new TAboutForm(this);
    return FAboutForm;
}

void TTalvoForm::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"StatusBar"_s);
    const int widths[3] = { 94, 40, 50 };
    for (size_t i = 0; i < Panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(u"StatusPanel%1"_s.arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(2);
        Panels[i] = panel;
        // The date and time panels are as wide as their longest texts in this
        // font (at least their designed widths); the last panel takes the rest
        // of the bar, so the overdue text shows whole.
        if (i + 1 < Panels.size()) {
            const QString longest = i == 0 ? u"Wed, 30 Sep 2026"_s : u"00:00"_s;
            const int needed = panel->fontMetrics().horizontalAdvance(longest)
                + 2 * panel->frameWidth() + 2 * panel->indent() + 4;
            panel->setFixedWidth(std::max(widths[i], needed));
            bar->addWidget(panel);
        } else {
            panel->setMinimumWidth(widths[i]);
            bar->addWidget(panel, 1);
        }
    }
}

void TTalvoForm::FormCreate(const QStringList& arguments)
{
    QStringList others;
    const QStringList imports = CommandLine::ImportIcsFiles(arguments, others);
    for (const QString& argument : std::as_const(others)) {
        if (argument.toUpper() == u"-NOTRAY"_s)
            FNoTray = true;
        else if (argument == QLatin1StringView(CommandLine::Hidden))
            StartHidden = true;
        else if (argument == QLatin1StringView(CommandLine::SyncNow))
            continue; // the sync at start is that sync

        else
            BadArguments << argument;
    }
    FTray = new TTrayController(Services.TrayIcon, FNoTray, this);
    // The shown page, and the diary's view; the windows connect to it.
    TCalendarPage* calendar = CalendarPage();
    ConnectTray();
    CreateMenuButton();
    ConnectAutostart();
    ConnectWindows();
    PageControl->setCurrentIndex(CalendarPageIndex);
    // Typing at once goes into the diary, not to the page tabs.
    calendar->Grid()->setFocus();
    FCalc.CalcHexClick();
    Session.Diary().SetView(calendar);
    ConnectAutosave();
    LoadAllData();
    FTray->AddIcon();
    ITickHost& host = *this;
    FTick = std::make_unique<TSecondTick>(
        Session.Diary(), FSettings, Services.Clock, Services.DataFolder, host);
    Second->start();
    ReadPlacement();
    qApp->installEventFilter(this);
    // Once the window is up, so the boxes stand in front of it, and once the
    // program listens for the signal to end, which a box must not hold up.
    QTimer::singleShot(0, this, &TTalvoForm::ShowBadArguments);
    QTimer::singleShot(0, this, &TTalvoForm::ShowLoadNotice);
    for (const QString& file : std::as_const(imports))
        QTimer::singleShot(0, this, [this, file] { ImportIcsFile(file); });
}

void TTalvoForm::ConnectTray()
{
    TTrayController& tray = *FTray;
    connect(&tray, &TTrayController::LeftClicked, this, &TTalvoForm::RestoreClick);
    connect(tray.Restore, &QAction::triggered, this, &TTalvoForm::RestoreClick);
    connect(tray.Acknowledge, &QAction::triggered, this, &TTalvoForm::AcknowledgeClick);
    connect(tray.About, &QAction::triggered, this, &TTalvoForm::AboutClick);
    connect(tray.Help, &QAction::triggered, this, &TTalvoForm::HelpClick);
    connect(tray.Properties, &QAction::triggered, this, &TTalvoForm::PropertiesClick);
    connect(tray.Exit, &QAction::triggered, this, [this] { ExitClick(); });
    connect(tray.MenuReminder, &QAction::triggered, FPopups, &TAlarmPopups::MenuReminderClick);
    connect(FPopups, &TAlarmPopups::Acknowledged, this, &TTalvoForm::AcknowledgeClick);
    connect(tray.MenuDiaryOld, &QAction::triggered, this,
        [this] { CalendarPage()->MenuDiaryOldClick(); });
    connect(tray.MenuExportIcs, &QAction::triggered, this, &TTalvoForm::ExportIcsClick);
    connect(tray.MenuImportIcs, &QAction::triggered, this, &TTalvoForm::ImportIcsClick);
}

void TTalvoForm::SecondTimer()
{
    const uint32_t purges = FTick->Purges();
    RunGuarded(Services.Dialogues, [this] { FTick->SecondTimer(); });
    if (FTick->Purges() != purges) {
        if (FCalendarPage)
            FCalendarPage->MarkPurge();
        Session.Changed(dkDiary);
    }
    // Asleep until the next minute: only its first tick has work to do. A
    // clock that jumps meanwhile wakes the tick early (ClockChanged).
    if (Second->isActive())
        Second->start(FTick->MilliSecondsToNextMinute());
}

void TTalvoForm::ClockChanged()
{
    if (Second->isActive())
        SecondTimer();
}

void TTalvoForm::ShowDateAndTime(TDateTime now)
{
    const TCivilDate date = DecodeDate(now);
    const TCivilTime time = DecodeTime(now);
    const QDateTime shown(QDate(date.Year, date.Month, date.Day), QTime(time.Hour, time.Minute));
    const QLocale locale;
    Panels[0]->setText(locale.toString(shown, u"ddd, d MMM yyyy"_s));
    Panels[1]->setText(locale.toString(shown, u"hh:mm"_s));
}

void TTalvoForm::EnableAcknowledge()
{
    FTray->Acknowledge->setEnabled(true);
}

void TTalvoForm::PlayAlarmSound()
{
    ::PlayAlarmSound(Services.Sound, FOptions);
}

void TTalvoForm::AcknowledgeClick()
{
    FPopups->CloseAlarms();
    FTray->Acknowledge->setEnabled(false);
    FTick->Acknowledge();
    UpdateTrayIcon(NormalTrayImage);
}

void TTalvoForm::UpdateTrayIcon(int imageIndex)
{
    if (FNoTray)
        return;
    FTray->UpdateTrayIcon(
        imageIndex, FOptions.DateTray, Session.Diary().TodayDay, Panels[2]->text());
    if (FCalendarPage)
        FCalendarPage->SetTodayGlyph(
            FOptions.DateTray ? std::optional<int>(Session.Diary().TodayDay) : std::nullopt);
}

void TTalvoForm::ShowOverdueCount()
{
    Session.Diary().ShowOverdueCount();
}

void TTalvoForm::AboutClick()
{
    AboutForm()->show();
    FAboutForm->raise();
    FAboutForm->activateWindow();
}

void TTalvoForm::PropertiesClick()
{
    if (!FPropertiesForm) {
        IColourFontPickers* pickers = Services.Pickers;
        if (!pickers) {
            DesktopPickers = std::make_unique<TDesktopPickers>();
            pickers = DesktopPickers.get();
        }
        FPropertiesForm = new TPropertiesForm(
            FOptions, FSettings, Services.Sound, Services.Dialogues, *pickers,
            [this] { ApplySettings(); }, this);
        FPropertiesForm->SetSyncControl(FSync);
    }
    FPropertiesForm->show();
    FPropertiesForm->raise();
    FPropertiesForm->activateWindow();
}

void TTalvoForm::HelpClick()
{
    ShowHelpTopic(HelpTopicProgram);
}

void TTalvoForm::ShowPageHelp()
{
    ShowHelpTopic(PageHelpTopics[PageControl->currentIndex()]);
}

void TTalvoForm::ShowHelpTopic(int topic)
{
    if (!FHelpWindow)
        FHelpWindow = new THelpWindow(this);
    FHelpWindow->ShowTopic(topic);
}

void TTalvoForm::ApplySettings()
{
    ::ApplySettings(FOptions, ApplyTargets());
    if (FSync)
        FSync->Configure();
}

TApplyTargets TTalvoForm::ApplyTargets()
{
    TApplyTargets targets;
    targets.MainWindow = this;
    targets.PropertiesWindow = FPropertiesForm;
    targets.Hints = Hints;
    targets.Colours = Colours;
    if (FCalendarPage) {
        targets.SetCalendarColour
            = [this](const QColor& colour) { FCalendarPage->SetCalendarColour(colour); };
        targets.DiaryGrid = FCalendarPage->Grid();
    }
    if (FNotesPage) {
        targets.NotesTree = FNotesPage->TreeView();
        targets.NotesMemo = FNotesPage->Editor().Memo();
        targets.NotesGrid = FNotesPage->Editor().Grid();
    }
    ApplyWindowSettings(targets);
    if (FCalculatorPage)
        targets.SetCalculatorColour
            = [this](const QColor& colour) { FCalculatorPage->SetColourCalculator(colour); };
    return targets;
}

void TTalvoForm::RememberFocus(QWidget* now)
{
    // A page that took the focus only because it was shown is not a place to go back to.
    if (!now || now->focusPolicy() == Qt::NoFocus)
        return;
    for (size_t i = 0; i < Pages.size(); ++i)
        if (IsWithin(now, Pages[i]))
            RememberedFocus[i] = now;
}

void TTalvoForm::PageControlChange(int index)
{
    if (index < 0 || index >= static_cast<int>(Pages.size()))
        return;
    // Arrow keys on the page tabs go on choosing pages.
    if (KeyAtTabs && PageControl->tabBar()->hasFocus())
        return;
    // A cell editor closed meanwhile is no place to go back to.
    QWidget* target = RememberedFocus[static_cast<size_t>(index)];
    if (!target || !target->isVisible())
        target = PageFocusTarget(index);
    if (target)
        target->setFocus();
}

QWidget* TTalvoForm::PageFocusTarget(int index) const
{
    // A page not built yet is not shown either: nothing is built for the focus.
    switch (index) {
    case CalendarPageIndex:
        return FCalendarPage ? FCalendarPage->Grid() : nullptr;
    case NotesTreePageIndex:
        return FNotesPage ? FNotesPage->TreeView() : nullptr;
    case CalculatorPageIndex:
        return FCalculatorPage;
    default:
        return nullptr;
    }
}

bool TTalvoForm::eventFilter(QObject* watched, QEvent* event)
{
    // Key preview: the window sees each key once, at the widget that has the
    // focus, before that widget does. Nothing is consumed here.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (focus ? widget != focus : widget != this)
        return false;
    KeyAtTabs = focus == PageControl->tabBar();
    auto* key = static_cast<QKeyEvent*>(event);
    RunGuarded(Services.Dialogues, [&] {
        FormKeyDown(key->key(), key->modifiers());
        if (PageControl->currentIndex() == CalculatorPageIndex && !key->text().isEmpty())
            FormKeyPress(key->text().at(0));
    });
    return false;
}

void TTalvoForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F1) {
        ShowPageHelp();
        return;
    }
    if (key == Qt::Key_Escape && PageControl->currentIndex() == NotesTreePageIndex) {
        NotesPage()->FocusTree();
        return;
    }
    if (modifiers.testFlag(Qt::ControlModifier)
        && PageControl->currentIndex() == NotesTreePageIndex) {
        if (key == Qt::Key_F)
            NotesPage()->bFind->trigger();
        else if (key == Qt::Key_D)
            Comms()->bDialClick();
        else if (key == Qt::Key_S)
            Comms()->bSendClick();
        return;
    }
    if (!modifiers.testFlag(Qt::ControlModifier) || PageControl->currentIndex() != CalendarPageIndex
        || !FCalendarPage)
        return;
    if (key == Qt::Key_F)
        FCalendarPage->DiaryFindButtonClick();
    else if (key == Qt::Key_S)
        FCalendarPage->ScheduleButtonClick();
}

void TTalvoForm::FormKeyPress(QChar character)
{
    if (FCalculatorPage)
        FCalculatorPage->FormKeyPress(character);
}
