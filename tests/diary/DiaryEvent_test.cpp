#include "diary/DiaryEvent.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{

struct TSeed {
    uint16_t Time;
    std::string Description;
};

// Builds a list in the given order.
TEventLink MakeList(const std::vector<TSeed>& seeds)
{
    TEventLink head;
    TEventLink* end = &head;
    for (const TSeed& seed : seeds) {
        *end = NewEvent();
        (*end)->Time = seed.Time;
        (*end)->Description = seed.Description;
        end = &(*end)->Next;
    }
    return head;
}

std::vector<std::string> Describe(const TEventLink& head)
{
    std::vector<std::string> out;
    for (const TDiaryEvent* e = head.get(); e; e = e->Next.get())
        out.push_back(std::to_string(e->Time) + " " + e->Description);
    return out;
}

} // namespace

TEST(SortDay, OrdersByTimeAndFreesDeadEvents)
{
    TEventLink day
        = MakeList({ { 1000, "Ten" }, { 0, "Untimed" }, { 930, "Dentist" }, { 800, "" } });
    SortDay(day);
    EXPECT_EQ(Describe(day), (std::vector<std::string> { "0 Untimed", "930 Dentist", "1000 Ten" }));

    TEventLink empty;
    SortDay(empty);
    EXPECT_EQ(empty, nullptr);
}

TEST(SortDay, EqualTimesKeepTheirOrder)
{
    TEventLink day = MakeList({ { 900, "b1" }, { 800, "a1" }, { 900, "b2" }, { 800, "a2" },
        { 900, "b3" }, { 0, "z1" }, { 800, "a3" }, { 0, "z2" } });
    SortDay(day);
    EXPECT_EQ(Describe(day),
        (std::vector<std::string> {
            "0 z1", "0 z2", "800 a1", "800 a2", "800 a3", "900 b1", "900 b2", "900 b3" }));
}

TEST(SortDay, TrailingBlanksGoFromEveryDescription)
{
    // Already in order, and a single event: both still lose their blanks.
    TEventLink day = MakeList({ { 100, "Walk   " }, { 200, " Run " }, { 300, "Swim\t " } });
    SortDay(day);
    EXPECT_EQ(Describe(day), (std::vector<std::string> { "100 Walk", "200  Run", "300 Swim\t" }));

    TEventLink single = MakeList({ { 100, "Alone  " } });
    SortDay(single);
    EXPECT_EQ(Describe(single), (std::vector<std::string> { "100 Alone" }));
}

TEST(SortDay, BlanksOnlyCountsAsEmpty)
{
    TEventLink day = MakeList({ { 700, "   " }, { 600, "Keep" }, { 0, " " } });
    SortDay(day);
    EXPECT_EQ(Describe(day), (std::vector<std::string> { "600 Keep" }));

    TEventLink allDead = MakeList({ { 700, "   " }, { 0, "" } });
    SortDay(allDead);
    EXPECT_EQ(allDead, nullptr);

    TEventLink lone = MakeList({ { 0, "    " } });
    SortDay(lone);
    EXPECT_EQ(lone, nullptr);
}

TEST(SortDay, OddTimesAtOrPastTheDeadKeyAreKept)
{
    // 9999 and beyond cannot be typed but can be read from a hand-edited file;
    // such an event sorts among or after the dead ones and must survive.
    TEventLink day = MakeList({ { 0, "" }, { 9999, "Odd" }, { 65000, "Odder" }, { 1200, "Noon" } });
    SortDay(day);
    EXPECT_EQ(Describe(day), (std::vector<std::string> { "1200 Noon", "9999 Odd", "65000 Odder" }));
}

TEST(SortDay, AgreesWithBubblePassesOnRandomDays)
{
    // The slow way: adjacent swaps until a pass swaps nothing, then everything
    // from the first empty description on is dropped.
    const auto bubble = [](std::vector<TSeed> list) {
        const auto key = [](TSeed& s) {
            while (!s.Description.empty() && s.Description.back() == ' ')
                s.Description.pop_back();
            return s.Description.empty() ? 9999 : s.Time;
        };
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (size_t i = 0; i + 1 < list.size(); ++i)
                if (key(list[i]) > key(list[i + 1])) {
                    std::swap(list[i], list[i + 1]);
                    swapped = true;
                }
        }
        for (TSeed& s : list)
            key(s);
        std::vector<std::string> out;
        for (const TSeed& s : list) {
            if (s.Description.empty())
                break;
            out.push_back(std::to_string(s.Time) + " " + s.Description);
        }
        return out;
    };
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<TSeed> seeds(random() % 40);
        int n = 0;
        for (TSeed& s : seeds) {
            s.Time = static_cast<uint16_t>(random() % 5 * 100);
            s.Description = random() % 4 ? "e" + std::to_string(n++) : "";
            s.Description.append(random() % 3, ' ');
        }
        TEventLink day = MakeList(seeds);
        SortDay(day);
        ASSERT_EQ(Describe(day), bubble(seeds)) << "round " << round;
    }
}

TEST(EventLists, AMillionEventDayIsFreedWithoutRecursion)
{
    constexpr int Count = 1'000'000;
    const auto build = [](TEventLink& head) {
        TEventLink* end = &head;
        for (int i = 0; i < Count; ++i) {
            *end = NewEvent();
            end = &(*end)->Next;
        }
    };
    TEventLink day;
    build(day);
    FreeEventsFrom(day);
    EXPECT_EQ(day, nullptr);

    // Dropped with the table that owns it, too.
    auto table = std::make_unique<TDiaryDays>();
    build((*table)[DayIndex(6, 15)]);
    table.reset();
}

TEST(EventLists, BatchEventsLiveInOneBlockAndMixWithLoneOnes)
{
    TEventLink head;
    {
        TEventBatch batch(3);
        TEventLink* end = &head;
        for (int i = 0; i < 5; ++i) {
            *end = i == 1 ? NewEvent() : batch.Take();
            (*end)->Time = static_cast<uint16_t>(100 * i);
            (*end)->Description = "Event number " + std::to_string(i) + " of the batch";
            end = &(*end)->Next;
        }
        // Taken one after another from one allocation.
        EXPECT_EQ(head->Next->Next.get(), head.get() + 1);
        EXPECT_EQ(head->Next->Next->Next.get(), head.get() + 2);
    }
    // The events outlive their batch, move between lists, sort and die in any order.
    TEventLink second = std::move(head->Next->Next);
    head->Next->Description.clear();
    SortDay(head);
    second->Description = " ";
    SortDay(second);
    EXPECT_EQ(Describe(head), (std::vector<std::string> { "0 Event number 0 of the batch" }));
    EXPECT_EQ(Describe(second),
        (std::vector<std::string> {
            "300 Event number 3 of the batch", "400 Event number 4 of the batch" }));
    head.reset();
    EXPECT_EQ(second->Time, 300);
}

TEST(EventLists, ABigBatchOutlivesItsFillingAndDiesWithItsLastEvent)
{
    // Big enough for the block to come from large pages.
    constexpr size_t count = 100000;
    TEventLink head;
    TEventLink* end = &head;
    {
        TEventBatch batch(count, count * 24);
        for (size_t i = 0; i < count; ++i) {
            *end = batch.Take();
            (*end)->Time = static_cast<uint16_t>(i % 1440);
            batch.Describe(**end, "An event of a big diary");
            end = &(*end)->Next;
        }
    }
    // The first event stays when all the others are gone.
    TEventLink first = std::move(head);
    FreeEventsFrom(first->Next);
    EXPECT_EQ(first->Description, "An event of a big diary");
    first.reset();
}

TEST(EventTypes, CycleThroughTheFourAndBack)
{
    EXPECT_EQ(CycleEventType(etBlank), etAlarm);
    EXPECT_EQ(CycleEventType(etAlarm), etTicked);
    EXPECT_EQ(CycleEventType(etTicked), etCrossed);
    EXPECT_EQ(CycleEventType(etCrossed), etBlank);
    EXPECT_EQ(CycleEventType(static_cast<TEventType>(7)), etBlank);
}

TEST(DayIndex, CountsThirtyTwoSlotsPerMonth)
{
    EXPECT_EQ(DayIndex(1, 1), 0);
    EXPECT_EQ(DayIndex(1, 31), 30);
    EXPECT_EQ(DayIndex(2, 1), 32);
    EXPECT_EQ(DayIndex(12, 31), 382);
}

TEST(TimeOfDay, HalfHourStepsUpward)
{
    const auto next = [](uint16_t t) {
        NextHalfHour(t);
        return t;
    };
    EXPECT_EQ(next(0), 30);
    EXPECT_EQ(next(915), 930);
    EXPECT_EQ(next(930), 1000);
    EXPECT_EQ(next(2329), 2330);
    EXPECT_EQ(next(2330), 2330);
    EXPECT_EQ(next(2345), 2345);
}

TEST(TimeOfDay, HalfHourStepsDownward)
{
    const auto prev = [](uint16_t t) {
        PrevHalfHour(t);
        return t;
    };
    EXPECT_EQ(prev(1000), 930);
    EXPECT_EQ(prev(930), 900);
    EXPECT_EQ(prev(945), 900);
    EXPECT_EQ(prev(30), 0);
    EXPECT_EQ(prev(20), 0);
    EXPECT_EQ(prev(100), 30);
    EXPECT_EQ(prev(2359), 2300);
}

TEST(TimeOfDay, MinutesAndText)
{
    EXPECT_EQ(TimeToMinutes(930), 570);
    EXPECT_EQ(MinutesToTime(570), 930);
    EXPECT_EQ(TimeToMinutes(2359), 1439);
    EXPECT_EQ(TimeText(0), "");
    EXPECT_EQ(TimeText(930), "09:30");
    EXPECT_EQ(TimeText(5), "00:05");
    EXPECT_EQ(TimeText(2359), "23:59");
    EXPECT_EQ(TimeText(9999), "99:99");
    EXPECT_EQ(TimeText(25600), "??:00");
    EXPECT_EQ(TimeText(65535), "??:35");
}
