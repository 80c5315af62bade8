#pragma once

#include "alarms/SecondTick.h"
#include "app/EditHistory.h"
#include "base/DateTime.h"
#include "calc/Calculator.h"
#include "session/DataSession.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QTabWidget;
class QTimer;
class QToolButton;
class TAboutForm;
class TAutosaver;
class TAlarmPopups;
class TCalculatorPage;
class TCalendarPage;
class TNotesPage;
class TPaletteColours;
class TPropertiesForm;
class TNotesEditPane;
class TCommsCommands;
class INotesCaret;
class THelpWindow;
class THintSwitch;
class IColourFontPickers;
class TFindForm;
class TScheduleForm;
struct TApplyTargets;
class TPageSlot;
class TTrayController;
struct TTalvoServices;
struct TIcalImport;
class IKeyring;
class TFormSyncDiary;
class TSyncController;

// The main window: the frame that holds the three pages, the status bar, the
// one-second timer and the tray icon, and runs start-up, hiding to the tray,
// restoring and the orderly exit. It owns the data session (the diary and the
// notes with their files), the calculator and the settings, and shows what the
// session reports; the pages keep their own handlers.
//
// Start-up builds only what the first frame shows: the frame, the status bar
// and the shown page. Every other page is built by its slot's factory when it
// is first shown or asked for (CalendarPage(), CalculatorPage()); the about
// box and help are built on first use. Until then their F-pointers are null,
// and whatever reaches a page checks that it exists. The diary reaches its
// page only through the store's view, which the store calls once the file has
// been read whole; the notes reach theirs through the notes document's view,
// and a page built later attaches to the tree as the document holds it.
class TTalvoForm final : public QMainWindow, private ITickHost
{
    Q_OBJECT
public:
    enum Page { CalendarPageIndex = 0, NotesTreePageIndex = 1, CalculatorPageIndex = 2 };
    static constexpr int NormalTrayImage = 1;
    static constexpr int AlarmTrayImage = 4;

    TTalvoForm(TTalvoServices& services, const QStringList& arguments, QWidget* parent = nullptr);
    ~TTalvoForm() override;

    bool NoTray() const { return FNoTray; }
    bool HiddenInTray() const { return FHiddenInTray; }
    TTrayController& Tray() const { return *FTray; }
    THelpWindow* HelpWindow() const { return FHelpWindow; }
    // The about box, built now if it was not yet.
    TAboutForm* AboutForm();
    // Made on first use; null until then.
    TPropertiesForm* PropertiesForm() const { return FPropertiesForm; }
    TDiaryStore& Diary() { return Session.Diary(); }
    TDataSession& Data() { return Session; }
    TEditHistory& EditHistory() { return History; }
    TAutosaver& Autosaver() const { return *FAutosaver; }
    TCalculator& Calc() { return FCalc; }
    TSettings& Options() { return FOptions; }
    TSettingsStore& Settings() { return FSettings; }
    // The pages, each built now if it was not yet.
    TCalculatorPage* CalculatorPage();
    TCalendarPage* CalendarPage();
    TNotesPage* NotesPage();
    // Dialling and e-mail, which read the notes page: built with it.
    TCommsCommands* Comms();
    // Waits for the notes when they are still being read.
    TNotesTree& Notes()
    {
        AwaitNotes();
        return Session.Notes().Tree();
    }
    TAlarmPopups& Popups() const { return *FPopups; }
    TSecondTick& Tick() { return *FTick; }

    // Shows the window, or with "--hidden" leaves only the tray icon once the
    // desktop has a tray (shown when none appears in time).
    void ShowAtStart();
    static constexpr int TrayWaitInterval = 500;
    static constexpr int TrayWaits = 10;
    // "Start with the desktop session" in the tray menu.
    void MenuAutostartClick(bool checked);

    // Handlers of the tray menu and of the window.
    void RestoreClick() { RestoreFromTray(); }
    // The tick's timer's handler: first one second after start-up, then on
    // each whole minute.
    void SecondTimer();
    // The system clock was set or the time zone changed: the tick runs now.
    void ClockChanged();
    void AcknowledgeClick();
    void AboutClick();
    void PropertiesClick();
    void HelpClick();
    void ShowPageHelp();
    void ShowHelpTopic(int topic);
    void HideToTray();
    void RestoreFromTray();
    // Who asked the program to end: the user (tray "Exit", closing without a
    // tray) or the system (a signal, the end of the session).
    enum TExitCause { ecUser, ecSystem };
    // Ends the program in order. False when the data could not be saved: then
    // the program goes on, visible, so nothing typed is lost.
    bool ExitClick(TExitCause cause = ecUser);
    void UpdateTrayIcon(int imageIndex) override;
    void ShowOverdueCount();
    // Commits and writes the data; an error box names a file that could not be
    // written and why. Asked by the system, where nobody may answer a box, what
    // could not be written is kept as an emergency copy instead when it can be.
    // False when a file was not written (nor kept).
    bool SaveAllData(TExitCause cause = ecUser);
    void LoadAllData();
    void FreeAllData();
    // Takes in the notes read after start-up, waiting for the rest of the read
    // with a busy pointer when the user wants them sooner.
    void AwaitNotes();
    // Makes the options take effect on the windows that exist.
    void ApplySettings();
    // The windows and controls that exist now, for ApplySettings.
    TApplyTargets ApplyTargets();
    // The schedule window, made on first use.
    TScheduleForm& ScheduleWindow();
    // The diary page's "Schedule", the tray's "Show Schedule" and Ctrl+S.
    void ScheduleButtonClick();
    // The schedule's "Go There": the diary page on the event, the window in front.
    void ScheduleGoThere(double day, int position);
    // Shown, restored, raised and active, back from the tray if need be.
    void BringToFront();
    // The find window, made on first use at its first place.
    TFindForm& FindWindow();
    // The diary page's "Find", the notes page's find button and Ctrl+F.
    void FindButtonClick();
    // "Export to iCalendar…" and "Import from iCalendar…" in the tray menu.
    void ExportIcsClick();
    void ImportIcsClick();
    // "Sync now" in the tray menu (and asked by a second start): a sync with
    // the calendar server at once.
    void SyncNowClick();
    // The sync with the calendar server; null only while the window is built.
    TSyncController* Sync() const { return FSync; }
    // Reads the calendar, shows what it would add and, once the user agrees,
    // adds it to the diary. False when nothing was added.
    bool ImportIcsFile(const QString& path);
    // Writes what the user sees, for "--export-ics" of another process to
    // read: what is shown when the window is, what memory holds that the last
    // save did not write when it is hidden. No box: empty when saved, else why not.
    QString SaveForExport();

Q_SIGNALS:
    // Everything is saved: the program may end now.
    void ExitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TFormSyncDiary;
    // The tick's view of the window.
    void ShowDateAndTime(TDateTime now) override;
    void ShowAlarmPopup(const TAlarmEvent& alarm, TRingKind kind) override;
    void ShowReminder(const TAlarmEvent& alarm, int minutes) override;
    void ShowMissedAlarms(const std::vector<TAlarmEvent>& alarms) override;
    int RemindBefore() const override { return FOptions.RemindBefore; }
    // The notes' and notifications' ties to the window: snooze and the day shown.
    void ConnectAlarms();
    void SnoozeAlarm(const TAlarmEvent& alarm, int minutes);
    // The diary page on the alarm's day and row, the window in front.
    void ShowAlarmDay(const TAlarmEvent& alarm);
    // Without a tray, whether closing the window leaves the program running:
    // background running is on and an alarm lies ahead.
    bool RunsInBackground();
    // The first time the program runs on hidden without a tray, it says so.
    void TellBackground();
    void EnableAcknowledge() override;
    void PlayAlarmSound() override;

    void FormCreate(const QStringList& arguments);
    void CreatePages();
    QWidget* MakeCalendarPage();
    QWidget* MakeNotesPage();
    // The notes page's ties to the window: find, the tree's width, the options.
    void ConnectNotesPage();
    // What tells the session of a change: the histories, the notes page.
    void ConnectAutosave();
    void WatchNotesChanges();
    QWidget* MakeCalculatorPage();
    void CreateStatusBar();
    void ConnectTray();
    void CreateMenuButton();
    void ConnectAutostart();
    void StartInTray(int waitsLeft);
    // The secondary windows' ways of opening.
    void ConnectWindows();
    // The secondary windows that exist, as targets of the options.
    void ApplyWindowSettings(TApplyTargets& targets) const;
    // The find window's search of the showing page; nothing on the calculator.
    std::optional<bool> FindInPage(const QString& text);
    bool FindInNotesPage(const std::string& pattern);
    void FindClosed();
    // Moves the find window off `spot` (on the screen), where it found the text.
    void KeepFindClear(const QRect& spot);
    // The import's whole change of the diary, made in one step.
    void ApplyIcsImport(const TIcalImport& import);
    void CreateSync();
    // Whether the diary may be synced now: loaded, and read again if its file
    // was replaced while the window was hidden.
    bool SyncReady();
    bool SaveAfterSync();
    // The sync changed the diary: the page and the counts show it.
    void SyncChangedDiary();
    void ShowSyncStatus(const QString& brief, const QString& message);
    void ReadPlacement();
    // No size was stored: the window as large as the diary page asks.
    void FitFirstSize();
    void WritePlacement(TExitCause cause);
    // Keeps the whole window, its frame included, on the screen's free area.
    void FitOnScreen();
    // Saves when memory holds anything the last save did not write.
    bool SaveIfChanged(TExitCause cause);
    bool SaveFailed(std::vector<TSaveFailure> failures, TExitCause cause);
    // Tells the user, once, that the last load left part of a file unread, and
    // where the last run kept what it could not save.
    void ShowLoadNotice();
    void ShowBadArguments();
    // Says once in the status bar that a data file is now kept as UTF-8; while
    // the window is hidden, when it is next shown.
    void ShowFormNotice();
    // Dialling and e-mail from the notes editor.
    void CreateComms(TNotesEditPane& editor);
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyPress(QChar character);
    void RememberFocus(QWidget* now);
    void PageControlChange(int index);
    // Where the focus goes on a page shown for the first time.
    QWidget* PageFocusTarget(int index) const;

    TTalvoServices& Services;
    TSettingsStore FSettings;
    TSettings FOptions;
    TDataSession Session;
    // The undo histories, beside the data they change.
    TEditHistory History;
    TAutosaver* FAutosaver = nullptr;
    QString FormNotice;
    static constexpr int FormNoticeTime = 30'000;
    TCalculator FCalc;
    std::unique_ptr<TSecondTick> FTick;
    bool FNoTray = false;
    bool FHiddenInTray = false;
    bool StartHidden = false;
    QStringList BadArguments;
    // The tray menu again, in the corner of the page tabs, for desktops
    // without a tray.
    QToolButton* MenuButton = nullptr;
    bool Exited = false;
    int64_t DiaryFileAge = -1;
    QTabWidget* PageControl = nullptr;
    std::array<TPageSlot*, 3> Pages {};
    std::array<QPointer<QWidget>, 3> RememberedFocus;
    // The last key went to the page tabs.
    bool KeyAtTabs = false;
    std::array<QLabel*, 3> Panels {};
    TCalculatorPage* FCalculatorPage = nullptr;
    TCalendarPage* FCalendarPage = nullptr;
    TNotesPage* FNotesPage = nullptr;
    std::unique_ptr<INotesCaret> NotesCaret;
    TCommsCommands* FComms = nullptr;
    TAlarmPopups* FPopups = nullptr;
    QTimer* Second = nullptr;
    // Looks whether the notes are read, until they are.
    QTimer* NotesPoll = nullptr;
    TTrayController* FTray = nullptr;
    THintSwitch* Hints = nullptr;
    THelpWindow* FHelpWindow = nullptr;
    TAboutForm* FAboutForm = nullptr;
    TPropertiesForm* FPropertiesForm = nullptr;
    TPaletteColours* Colours = nullptr;
    std::unique_ptr<IColourFontPickers> DesktopPickers;
    TScheduleForm* FScheduleWindow = nullptr;
    TFindForm* FFindWindow = nullptr;
    std::unique_ptr<IKeyring> DesktopKeyring;
    std::unique_ptr<TFormSyncDiary> SyncDiary;
    TSyncController* FSync = nullptr;
    QLabel* SyncPanel = nullptr;
    // The notes tree's width as stored; 0 until the user has set one.
    int32_t WinSplit = 0;
    static constexpr int32_t DesignedSplit = 129;
    bool FittedOnScreen = false;
    bool FirstStart = false;
};
