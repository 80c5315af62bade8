#include "app/TalvoForm.h"

#include "alarms/AlarmPopups.h"
#include "app/AboutForm.h"
#include "controls/Dialogues.h"
#include "app/HelpWindow.h"
#include "app/PageSlot.h"
#include "controls/ImageLists.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "calc/CalculatorPage.h"
#include "diary/CalendarPage.h"
#include "platform/AnsiText.h"
#include "platform/TrayIcon.h"
#include "settings/ApplySettings.h"
#include "settings/HintSwitch.h"
#include "settings/SettingsConvert.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

constexpr int HelpTopicProgram = 1;
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
    , FDiary(services.Clock)
{
    // Read while the window is built; LoadAllData takes it.
    FDiary.ReadAhead(Services.DataFolder);
    setObjectName(u"TalvoForm"_s);
    setWindowTitle(u"Talvo95 - Quorral"_s);
    setWindowIcon(TImageLists::CalendarIcon(TImageLists::ciAlarm));
    setMinimumSize(460, 360);
    resize(560, 420);
    move(0, 3);
    Hints = new THintSwitch(this);
    FPopups = new TAlarmPopups(
        services.Dialogues, [this] { return ColourToQColor(FOptions.ColourOverdue); }, this);
    CreatePages();
    CreateStatusBar();
    FSecond = new QTimer(this);
    FSecond->setObjectName(u"Second"_s);
    FSecond->setInterval(1000);
    // A coarse timer could wake seconds after the minute it sleeps to.
    FSecond->setTimerType(Qt::PreciseTimer);
    connect(FSecond, &QTimer::timeout, this, &TTalvoForm::SecondTimer);
    FormCreate(arguments);
    // The options, as the properties window loads and applies them.
    LoadSettings(FSettings, FOptions);
    ApplySettings();
}

TTalvoForm::~TTalvoForm()
{
    qApp->removeEventFilter(this);
    // The store goes before the pages do.
    FDiary.SetView(nullptr);
}

void TTalvoForm::CreatePages()
{
    FPageControl = new QTabWidget(this);
    FPageControl->setObjectName(u"PageControl"_s);
    Pages = { new TPageSlot([this] { return MakeCalendarPage(); }),
        new TPageSlot([] { return new QWidget; }),
        new TPageSlot([this] { return MakeCalculatorPage(); }) };
    const QString names[3] = { u"CalendarPage"_s, u"NotesTreePage"_s, u"CalculatorPage"_s };
    const QString captions[3] = { u"Calendar / Diary"_s, u"Notes Tree"_s, u"Calculator"_s };
    for (size_t i = 0; i < Pages.size(); ++i) {
        Pages[i]->setObjectName(names[i]);
        FPageControl->addTab(Pages[i], captions[i]);
    }
    setCentralWidget(FPageControl);
    connect(FPageControl, &QTabWidget::currentChanged, this, &TTalvoForm::PageControlChange);
    connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget* now) { RememberFocus(now); });
}

QWidget* TTalvoForm::MakeCalendarPage()
{
    FCalendarPage = new TCalendarPage(FDiary, Services.Clock, Services.Dialogues,
        Services.Clipboard, Services.Desktop, Services.DataFolder,
        [this](const QString& text) { Panels[2]->setText(text); });
    connect(FCalendarPage, &TCalendarPage::HelpRequested, this, &TTalvoForm::ShowHelpTopic);
    return FCalendarPage;
}

QWidget* TTalvoForm::MakeCalculatorPage()
{
    FCalculatorPage = new TCalculatorPage(FCalc, Services.Dialogues, Services.Clipboard);
    FCalculatorPage->setObjectName(u"CalculatorPage"_s);
    connect(FCalculatorPage, &TCalculatorPage::HelpRequested, this, &TTalvoForm::ShowHelpTopic);
    FCalculatorPage->SetCurrentRow(TCalculator::XRow);
    // Built after start-up: it takes the options as they are now.
    ApplySettings();
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
    if (!FAbout)
        FAbout = new TAboutForm(this);
    return FAbout;
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
    for (const QString& argument : arguments) {
        if (argument.toUpper() == u"-NOTRAY"_s)
            FNoTray = true;
        else
            Services.Dialogues.ShowError(u"Invalid Parameter: "_s + argument);
    }
    FTray = new TTrayController(Services.TrayIcon, FNoTray, this);
    ConnectTray();
    FPageControl->setCurrentIndex(CalendarPageIndex);
    FCalc.CalcHexClick();
    // The shown page, and the diary's view.
    FDiary.SetView(CalendarPage());
    LoadAllData();
    FTray->AddIcon();
    ITickHost& host = *this;
    FTick = std::make_unique<TSecondTick>(
        FDiary, FSettings, Services.Clock, Services.DataFolder, host);
    FSecond->start();
    ReadPlacement();
    qApp->installEventFilter(this);
}

void TTalvoForm::ConnectTray()
{
    TTrayController& tray = *FTray;
    connect(&tray, &TTrayController::LeftClicked, this, &TTalvoForm::RestoreClick);
    connect(tray.Restore, &QAction::triggered, this, &TTalvoForm::RestoreClick);
    connect(tray.Acknowledge, &QAction::triggered, this, &TTalvoForm::AcknowledgeClick);
    connect(tray.About, &QAction::triggered, this, &TTalvoForm::AboutClick);
    connect(tray.Help, &QAction::triggered, this, &TTalvoForm::HelpClick);
    connect(tray.Exit, &QAction::triggered, this, [this] { ExitClick(); });
    connect(tray.MenuReminder, &QAction::triggered, FPopups, &TAlarmPopups::MenuReminderClick);
    connect(FPopups, &TAlarmPopups::Acknowledged, this, &TTalvoForm::AcknowledgeClick);
    connect(tray.MenuDiaryOld, &QAction::triggered, this,
        [this] { CalendarPage()->MenuDiaryOldClick(); });
}

void TTalvoForm::SecondTimer()
{
    RunGuarded(Services.Dialogues, [this] { FTick->SecondTimer(); });
    // Asleep until the next minute: only its first tick has work to do. A
    // clock that jumps meanwhile wakes the tick early (ClockChanged).
    if (FSecond->isActive())
        FSecond->start(FTick->MilliSecondsToNextMinute());
}

void TTalvoForm::ClockChanged()
{
    if (FSecond->isActive())
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

void TTalvoForm::ShowAlarmPopup(uint16_t time, const std::string& description)
{
    FPopups->ShowAlarmPopup(FromAnsi(TimeText(time)), FromAnsi(description));
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
    FTray->Acknowledge->setEnabled(false);
    FTick->Acknowledge();
    UpdateTrayIcon(NormalTrayImage);
}

void TTalvoForm::UpdateTrayIcon(int imageIndex)
{
    if (FNoTray)
        return;
    FTray->UpdateTrayIcon(imageIndex, FOptions.DateTray, FDiary.TodayDay, Panels[2]->text());
    if (FCalendarPage)
        FCalendarPage->SetTodayGlyph(
            FOptions.DateTray ? std::optional<int>(FDiary.TodayDay) : std::nullopt);
}

void TTalvoForm::ShowOverdueCount()
{
    FDiary.ShowOverdueCount();
}

void TTalvoForm::AboutClick()
{
    AboutForm()->show();
    FAbout->raise();
    FAbout->activateWindow();
}

void TTalvoForm::HelpClick()
{
    ShowHelpTopic(HelpTopicProgram);
}

void TTalvoForm::ShowPageHelp()
{
    ShowHelpTopic(PageHelpTopics[FPageControl->currentIndex()]);
}

void TTalvoForm::ShowHelpTopic(int topic)
{
    if (!FHelp)
        FHelp = new THelpWindow(this);
    FHelp->ShowTopic(topic);
}

void TTalvoForm::ApplySettings()
{
    TApplyTargets targets;
    targets.MainWindow = this;
    targets.Hints = Hints;
    if (FCalendarPage) {
        targets.SetCalendarColour
            = [this](const QColor& colour) { FCalendarPage->SetCalendarColour(colour); };
        targets.DiaryGrid = FCalendarPage->Grid();
    }
    if (FCalculatorPage)
        targets.SetCalculatorColour
            = [this](const QColor& colour) { FCalculatorPage->SetColourCalculator(colour); };
    ::ApplySettings(FOptions, targets);
}

void TTalvoForm::RememberFocus(QWidget* now)
{
    for (size_t i = 0; i < Pages.size(); ++i)
        if (IsWithin(now, Pages[i]))
            RememberedFocus[i] = now;
}

void TTalvoForm::PageControlChange(int index)
{
    if (index < 0 || index >= static_cast<int>(Pages.size()))
        return;
    if (QWidget* remembered = RememberedFocus[static_cast<size_t>(index)])
        remembered->setFocus();
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
    auto* key = static_cast<QKeyEvent*>(event);
    RunGuarded(Services.Dialogues, [&] {
        FormKeyDown(key->key(), key->modifiers());
        if (FPageControl->currentIndex() == CalculatorPageIndex && !key->text().isEmpty())
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
    if (!modifiers.testFlag(Qt::ControlModifier)
        || FPageControl->currentIndex() != CalendarPageIndex || !FCalendarPage)
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
