#pragma once

// The tick with a fake window and view, a diary in a folder of its own, a
// fixed clock and settings in memory.

#include "alarms/SecondTick.h"
#include "diary/DiaryFile.h"
#include "diary/DiaryStore.h"
#include "settings/MemorySettingsBackend.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;

namespace
{

struct TFakeHost final : ITickHost {
    void ShowDateAndTime(TDateTime) override { ++Refreshes; }
    void ShowAlarmPopup(const TAlarmEvent& alarm, TRingKind kind) override
    {
        static constexpr const char* Marks[] = { "", "snoozed ", "missed " };
        Popups.push_back(Marks[static_cast<int>(kind)]
            + (alarm.Time ? TimeText(alarm.Time) + " " : std::string()) + alarm.Description);
    }
    void ShowReminder(const TAlarmEvent& alarm, int minutes) override
    {
        Reminders.push_back(std::to_string(minutes) + " " + alarm.Description);
    }
    void ShowMissedAlarms(const std::vector<TAlarmEvent>& alarms) override
    {
        Missed.push_back(alarms.size());
    }
    int RemindBefore() const override { return Lead; }
    void EnableAcknowledge() override { ++AcknowledgeEnabled; }
    void UpdateTrayIcon(int image) override { TrayImage = image; }
    void PlayAlarmSound() override { ++Sounds; }

    int Refreshes = 0, AcknowledgeEnabled = 0, TrayImage = 0, Sounds = 0, Lead = 0;
    std::vector<std::string> Popups, Reminders;
    std::vector<size_t> Missed;
};

// The diary page: setting the calendar's date selects the day.
struct TFakeView final : IDiaryView {
    TDateTime CalendarDate() const override { return Date; }
    void SetCalendarDate(TDateTime date) override
    {
        Date = date;
        Store->SelectCalendarDay();
    }
    void RepaintGrid() override { ++Repaints; }
    void SetGridRow(int) override { }
    void SetGridVisible(bool) override { }
    void ShowOverdueText(const std::string& text) override { OverdueText = text; }

    TDiaryStore* Store = nullptr;
    TDateTime Date = 0;
    int Repaints = 0;
    std::string OverdueText;
};

fs::path MakeFolder()
{
    std::string pattern = (fs::temp_directory_path() / "talvo-tick-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
}

class SecondTickTest : public testing::Test
{
protected:
    ~SecondTickTest() override { fs::remove_all(Folder); }

    // Opens the diary on the day, the clock at its midnight; "Month" is stored
    // as given, 0 leaves it absent.
    void Open(int year, int month, int day, int purgedMonth)
    {
        ASSERT_FALSE(Folder.empty());
        if (purgedMonth)
            Backend->Values["Month"] = std::to_string(purgedMonth);
        Clock.Set(EncodeDate(year, month, day));
        View.Store = &Diary;
        Diary.SetView(&View);
        TIoError io;
        Diary.OpenDiary(Folder, io);
    }
    // Sets the clock and ticks once.
    void TickAt(int year, int month, int day, int hour, int minute, int second = 0)
    {
        Clock.Set(EncodeDate(year, month, day) + EncodeTime(hour, minute, second));
        Tick.SecondTimer();
    }
    void Add(int month, int day, uint16_t time, const std::string& text, TEventType type = etAlarm,
        uint8_t locked = 0)
    {
        TEventLink& end = ListEnd(Diary.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Locked = locked;
        end->EventType = type;
        end->Time = time;
        end->Description = text;
    }
    std::string Log() const
    {
        std::ifstream in(Folder / DiaryOldFileName, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), {} };
    }
    std::vector<std::string> Slot(int month, int day) const
    {
        std::vector<std::string> out;
        for (auto* e = Diary.DiaryDays[DayIndex(month, day)].get(); e; e = e->Next.get())
            out.push_back(std::to_string(e->EventType) + e->Description);
        return out;
    }

    fs::path Folder = MakeFolder();
    TFixedClock Clock;
    TDiaryStore Diary { Clock };
    TFakeView View;
    TMemorySettingsBackend* Backend = new TMemorySettingsBackend;
    TSettingsStore Settings { std::unique_ptr<ISettingsBackend>(Backend) };
    TFakeHost Host;
    TSecondTick Tick { Diary, Settings, Clock, Folder, Host };
};

} // namespace

using Strings = std::vector<std::string>;
