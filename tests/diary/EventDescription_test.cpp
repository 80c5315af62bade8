#include "diary/DiaryFile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{

// Every event of the diary, in file order.
std::vector<TDiaryEvent*> Events(TDiaryDays& days)
{
    std::vector<TDiaryEvent*> events;
    for (TEventLink& head : days)
        for (TDiaryEvent* e = head.get(); e; e = e->Next.get())
            events.push_back(e);
    return events;
}

std::string DiaryText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    for (int i = 0; i < DiaryDayCount; ++i)
        text += "\xFF\r\n";
    return text;
}

} // namespace

TEST(EventDescription, LoadedDescriptionsReadFromTheBlockAndRoundTripByteForByte)
{
    const std::string longText(300, 'L');
    const std::vector<std::string> lines = { "010930" + longText, "000000Short", "021200", "000000",
        "110000Caf\xe9 \x80\xff ends in blanks  ", "000000Exactly fifteen" };
    const std::string text = DiaryText(lines);
    TDiaryDays days;
    ParseDiary(text, days);
    const std::vector<TDiaryEvent*> events = Events(days);
    ASSERT_EQ(events.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string expected = lines[i].size() > 6 ? AnsiToUtf8(lines[i].substr(6)) : "";
        EXPECT_EQ(events[i]->Description, expected);
        EXPECT_EQ(events[i]->Description.Borrowed(), !expected.empty());
    }
    EXPECT_EQ(FormatDiary(days), text);

    // Edited: only its line changes; trimmed in place, a description still
    // reads from the block.
    events[1]->Description = "Edited at length, well past fifteen characters";
    EXPECT_FALSE(events[1]->Description.Borrowed());
    EventSortKey(*events[4]);
    EXPECT_TRUE(events[4]->Description.Borrowed());
    std::vector<std::string> edited = lines;
    edited[1] = "000000Edited at length, well past fifteen characters";
    edited[4] = "110000Caf\xe9 \x80\xff ends in blanks";
    EXPECT_EQ(FormatDiary(days), DiaryText(edited));
    TDiaryDays again;
    ParseDiary(FormatDiary(days), again);
    EXPECT_EQ(FormatDiary(again), DiaryText(edited));
}

TEST(EventDescription, CopiesAndEditsOfLoadedTextsOutliveTheDiaryInAnyOrder)
{
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> lines;
        for (int i = 0; i < 50; ++i)
            lines.push_back("000100Event " + std::string(random() % 30, 'x') + std::to_string(i));
        auto days = std::make_unique<TDiaryDays>();
        ParseDiary(DiaryText(lines), *days);
        // Every event moves to a list of its own; some descriptions are copied
        // to lone events, edited, cut, moved or swapped by a sort.
        std::vector<TEventLink> owned;
        std::vector<std::string> expected;
        for (TDiaryEvent* e : Events(*days)) {
            expected.push_back(std::string(e->Description));
            TEventLink lone = NewEvent();
            switch (random() % 5) {
            case 0:
                lone->Description = e->Description;
                break;
            case 1:
                lone->Description = std::move(e->Description);
                e->Description = expected.back();
                break;
            case 2:
                e->Description = e->Description.view().substr(3);
                expected.back().erase(0, 3);
                lone->Description = e->Description;
                break;
            case 3:
                e->Description.erase(5);
                expected.back().erase(5);
                lone->Description = TDescription(e->Description);
                break;
            default:
                lone->Description = e->Description;
                lone->Description = lone->Description;
                lone->Description.clear();
                lone->Description = expected.back();
                break;
            }
            expected.push_back(expected.back());
            owned.push_back(std::move(lone));
        }
        for (TEventLink& head : *days) {
            while (head) {
                TEventLink rest = std::move(head->Next);
                owned.push_back(std::move(head));
                head = std::move(rest);
            }
        }
        days.reset();
        std::vector<std::string> described;
        for (const TEventLink& e : owned)
            described.push_back(std::string(e->Description));
        std::vector<std::string> sortedExpected = expected;
        std::sort(sortedExpected.begin(), sortedExpected.end());
        std::sort(described.begin(), described.end());
        EXPECT_EQ(described, sortedExpected);
        std::shuffle(owned.begin(), owned.end(), random);
        while (!owned.empty()) {
            EXPECT_FALSE(owned.back()->Description.empty());
            owned.pop_back();
        }
    }
}

TEST(EventDescription, ADayOfLoadedAndLoneEventsSortsAndIsLoadedAgain)
{
    auto days = std::make_unique<TDiaryDays>();
    for (int load = 0; load < 3; ++load) {
        for (TEventLink& head : *days)
            FreeEventsFrom(head);
        ParseDiary(DiaryText({ "001200Noon meeting of the whole team",
                       "000800Breakfast with the "
                       "board  " }),
            *days);
        TEventLink lone = NewEvent();
        lone->Time = 900;
        lone->Description = "Typed";
        lone->Next = std::move((*days)[0]);
        (*days)[0] = std::move(lone);
        SortDay((*days)[0]);
        std::vector<std::string> described;
        for (TDiaryEvent* e : Events(*days))
            described.push_back(std::to_string(e->Time) + " " + e->Description);
        EXPECT_EQ(described,
            (std::vector<std::string> { "800 Breakfast with the board", "900 Typed",
                "1200 Noon meeting of the whole team" }));
    }
}
