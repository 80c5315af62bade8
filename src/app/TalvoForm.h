#pragma once

#include "alarms/SecondTick.h"
#include "base/DateTime.h"
#include "calc/Calculator.h"
#include "diary/DiaryStore.h"
#include "base/IoError.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QTabWidget;
class QTimer;
class TAboutForm;
class TAlarmPopups;
class TCalculatorPage;
class TCalendarPage;
class THelpWindow;
class THintSwitch;
class TPageSlot;
class TTrayController;
struct TTalvoServices;

// The main window: the frame that holds the three pages, the status bar, the
// one-second timer and the tray icon, and runs start-up, hiding to the tray,
// restoring and the orderly exit. It owns the program's data (the diary, the
// calculator, the settings); the pages keep their own handlers.
//
// Start-up builds only what the first frame shows: the frame, the status bar
// and the shown page. Every other page is built by its slot's factory when it
// is first shown or asked for (CalendarPage(), CalculatorPage()); the about
// box and help are built on first use. Until then their F-pointers are null,
// and whatever reaches a page checks that it exists. The diary reaches its
// page only through the store's view, which the store calls once the file has
// been read whole.
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
    QTabWidget* PageControl() const { return FPageControl; }
    QLabel* StatusPanel(int index) const { return Panels[static_cast<size_t>(index)]; }
    QTimer* Second() const { return FSecond; }
    TTrayController& Tray() const { return *FTray; }
    THelpWindow* HelpWindow() const { return FHelp; }
    // The about box, built now if it was not yet.
    TAboutForm* AboutForm();
    TDiaryStore& Diary() { return FDiary; }
    TCalculator& Calc() { return FCalc; }
    TSettings& Options() { return FOptions; }
    TSettingsStore& Settings() { return FSettings; }
    // The pages, each built now if it was not yet.
    TCalculatorPage* CalculatorPage();
    TCalendarPage* CalendarPage();
    TAlarmPopups& Popups() const { return *FPopups; }
    TSecondTick& Tick() { return *FTick; }

    // Handlers of the tray menu and of the window.
    void RestoreClick() { RestoreFromTray(); }
    // The tick's timer's handler: first one second after start-up, then on
    // each whole minute.
    void SecondTimer();
    // The system clock was set or the time zone changed: the tick runs now.
    void ClockChanged();
    void AcknowledgeClick();
    void AboutClick();
    void HelpClick();
    void ShowPageHelp();
    void ShowHelpTopic(int topic);
    void HideToTray();
    void RestoreFromTray();
    // Ends the program in order. False when the data could not be saved: then
    // the program goes on, visible, so nothing typed is lost.
    bool ExitClick();
    void UpdateTrayIcon(int imageIndex) override;
    void ShowOverdueCount();
    // Commits and writes the data; an error box names a file that could not be
    // written. False when a file was not written.
    bool SaveAllData();
    void LoadAllData();
    void FreeAllData();
    // Makes the options take effect on the windows that exist.
    void ApplySettings();

Q_SIGNALS:
    // Everything is saved: the program may end now.
    void ExitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The tick's view of the window.
    void ShowDateAndTime(TDateTime now) override;
    void ShowAlarmPopup(uint16_t time, const std::string& description) override;
    void EnableAcknowledge() override;
    void PlayAlarmSound() override;

    void FormCreate(const QStringList& arguments);
    void CreatePages();
    QWidget* MakeCalendarPage();
    QWidget* MakeCalculatorPage();
    void CreateStatusBar();
    void ConnectTray();
    void ReadPlacement();
    void WritePlacement();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyPress(QChar character);
    void RememberFocus(QWidget* now);
    void PageControlChange(int index);
    int64_t DiaryFileTime() const;

    TTalvoServices& Services;
    TSettingsStore FSettings;
    TSettings FOptions;
    TIoError IoError;
    TDiaryStore FDiary;
    TCalculator FCalc;
    std::unique_ptr<TSecondTick> FTick;
    bool FNoTray = false;
    bool FHiddenInTray = false;
    bool Exited = false;
    int64_t DiaryFileAge = -1;
    QTabWidget* FPageControl = nullptr;
    std::array<TPageSlot*, 3> Pages {};
    std::array<QPointer<QWidget>, 3> RememberedFocus;
    std::array<QLabel*, 3> Panels {};
    TCalculatorPage* FCalculatorPage = nullptr;
    TCalendarPage* FCalendarPage = nullptr;
    TAlarmPopups* FPopups = nullptr;
    QTimer* FSecond = nullptr;
    TTrayController* FTray = nullptr;
    THintSwitch* Hints = nullptr;
    THelpWindow* FHelp = nullptr;
    TAboutForm* FAbout = nullptr;
    // Where the schedule window goes, kept for it: it is written back at exit.
    std::array<int32_t, 4> ScheduleRect { 20, 62, 468, 391 };
    int32_t WinSplit = 129;
};
