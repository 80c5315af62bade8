#include "base/LongStrings.h"
#include "diary/DiaryStore.h"
#include "diary/FakeDiaryView.h"
#include "find/FindSearch.h"
#include "notes/NotesTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

// A diary opened on 15 April 2026 (its window: March 2026 to February 2027).
class DiaryFindTest : public ::testing::Test
{
protected:
    DiaryFindTest()
        : Store(Clock)
    {
        View.Store = &Store;
        Store.SetView(&View);
        Clock.Set(EncodeDate(2026, 4, 15) + EncodeTime(9, 0));
        TIoError ioError;
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), ioError);
    }

    void Add(int month, int day, uint16_t time, const std::string& text)
    {
        TEventLink& end = ListEnd(Store.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Time = time;
        end->Description = text;
    }

    // Searches as "Find Next" does and moves the calendar to the hit.
    std::optional<TDiaryHit> Next(const std::string& text)
    {
        const auto hit = FindInDiary(Store, text);
        if (hit)
            View.SetCalendarDate(hit->Day);
        return hit;
    }

    TFixedClock Clock;
    TDiaryStore Store;
    TFakeDiaryView View;
};

} // namespace

TEST_F(DiaryFindTest, MovesOnToTheNextMatchingDayAndWraps)
{
    Add(5, 3, 900, "see the dentist");
    Add(5, 10, 1400, "Dentist again");
    View.SetCalendarDate(EncodeDate(2026, 5, 3));
    const std::vector<TDateTime> expected { EncodeDate(2026, 5, 10), EncodeDate(2026, 5, 3),
        EncodeDate(2026, 5, 10) };
    for (const TDateTime day : expected) {
        const auto hit = Next("DENTIST");
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->Day, day);
        EXPECT_EQ(hit->Position, 1);
    }
    EXPECT_FALSE(Next("dentists"));
    EXPECT_FALSE(Next(""));
}

TEST_F(DiaryFindTest, TheOnlyMatchOnTheChosenDayIsFoundInTheSecondPass)
{
    Add(6, 1, 800, "other");
    Add(6, 1, 1000, "budget");
    View.SetCalendarDate(EncodeDate(2026, 6, 1));
    const auto hit = Next("Budget");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Day, EncodeDate(2026, 6, 1));
    EXPECT_EQ(hit->Position, 2);
}

TEST_F(DiaryFindTest, OnADayOnlyItsFirstMatchInTimeOrderIsFound)
{
    View.SetCalendarDate(EncodeDate(2026, 7, 4));
    // Typed out of order on the page: the search commits and sorts the day first.
    Store.EventAtRow(1)->Description = "late call";
    Store.EventAtRow(1)->Time = 1700;
    Store.EventAtRow(2)->Description = "early call";
    Store.EventAtRow(2)->Time = 800;
    View.SetCalendarDate(EncodeDate(2026, 7, 1));
    for (int i = 0; i < 2; ++i) {
        const auto hit = Next("call");
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->Day, EncodeDate(2026, 7, 4));
        EXPECT_EQ(hit->Position, 1);
    }
    EXPECT_EQ(Store.DayEvents()->Description, "early call");
}

TEST_F(DiaryFindTest, AnEventTypedOnTheChosenDayIsFound)
{
    View.SetCalendarDate(EncodeDate(2026, 9, 1));
    // Typed in the third row of the grid: the two above stay blank, and are
    // dropped when the day is committed, so the hit is the day's first event.
    Store.EventAtRow(3)->Description = "feed the Zebra";
    Store.EventAtRow(3)->Time = 1230;
    const auto hit = FindInDiary(Store, "ZEBRA");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Day, EncodeDate(2026, 9, 1));
    EXPECT_EQ(hit->Position, 1);
}

TEST_F(DiaryFindTest, LettersOfEveryScriptIgnoreCase)
{
    Add(8, 8, 800, "Café ÉTÉ Łódź ΣΟΦΊΑ Ёлка 東京 😀");
    View.SetCalendarDate(EncodeDate(2026, 4, 15));
    for (const char* found : { "CAFÉ", "cafÉ", "été", "łÓDŹ", "σοφία", "ёЛКА", "東京 😀" })
        EXPECT_TRUE(Next(found)) << found;
    for (const char* missing : { "ete", "lodz", "東 京" })
        EXPECT_FALSE(Next(missing)) << missing;
}

TEST_F(DiaryFindTest, FromADayPastTheWindowTheSearchStartsAtTheWindowsStart)
{
    // March's slots hold March 2026 only; from 28 February 2027 the next day
    // is beyond the window and must not be read as March 2027.
    Add(3, 2, 800, "spring");
    Add(4, 20, 800, "spring");
    View.SetCalendarDate(EncodeDate(2027, 2, 28));
    const auto hit = Next("spring");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Day, EncodeDate(2026, 3, 2));
}

TEST(FindHistory, TypedTextsGoOnTopOnceAndTheTwentyFirstPushesTheOldestOut)
{
    std::vector<std::string> history;
    AddToFindHistory(history, "a", false);
    AddToFindHistory(history, "a", false);
    AddToFindHistory(history, "A", false);
    AddToFindHistory(history, "b", true);
    AddToFindHistory(history, "", false);
    EXPECT_EQ(history, (std::vector<std::string> { "A", "a" }));
    AddToFindHistory(history, "a", false);
    EXPECT_EQ(history, (std::vector<std::string> { "a", "A", "a" }));
    history.clear();
    for (int i = 1; i <= 21; ++i)
        AddToFindHistory(history, std::to_string(i), false);
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "21");
    EXPECT_EQ(history.back(), "2");
}

TEST(TextPattern, FindsWhatFindTextFromFinds)
{
    const std::vector<std::string> texts { "", "a", "Dentist at nine", "DENTIST",
        "xx\r\ndentist\r\n", "abab", "[{@`", "Zz -1 9" };
    const std::vector<std::string> needles { "a", "dentist", "AB", "@", "`", "[", "{", "nine",
        "Dentist at nine!", "z", " -1", "" };
    for (const std::string& text : texts)
        for (const std::string& needle : needles)
            for (size_t start = 0; start <= text.size() + 1; ++start)
                EXPECT_EQ(
                    TTextPattern(needle).FindFrom(start, text), FindTextFrom(start, needle, text))
                    << needle << " in " << text << " from " << start;
}

TEST(TextPattern, EveryLetterIsFoundInEitherCaseAndNothingElseIs)
{
    const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", lower = "abcdefghijklmnopqrstuvwxyz";
    for (size_t i = 0; i < upper.size(); ++i) {
        const std::string big(1, upper[i]), small(1, lower[i]);
        EXPECT_EQ(TTextPattern(small).FindFrom(1, "- " + upper), i + 3) << small;
        EXPECT_EQ(TTextPattern(big).FindFrom(1, "- " + lower), i + 3) << big;
    }
    // The neighbours of the two alphabets are no letters.
    for (const auto& [needle, text] : std::vector<std::pair<std::string, std::string>> {
             { "@", "`" }, { "[", "{" }, { "`", "@" }, { "{", "[" } })
        EXPECT_EQ(TTextPattern(needle).FindFrom(1, text), 0u) << needle;
}

TEST(TextPattern, FindsByCharactersAndGivesBytePositions)
{
    const struct {
        std::string_view Text;
        std::string_view Needle;
        size_t Start;
        size_t Found;
    } cases[] = {
        { "Zoë café", "CAFÉ", 1, 6 },
        { "Zoë café", "ZOË", 1, 1 },
        { "Łódź ŁÓDŹ", "łódź", 2, 9 }, // from inside "Ł"
        { "ΣΊΣΥΦΟΣ σίσυφοσ", "σίσυφοσ", 1, 1 },
        { "東京 😀 end", "END", 1, 13 },
        { "👍🏽 👍🏿", "👍🏿", 1, 10 },
        { "x K y", "k", 1, 3 }, // the Kelvin sign folds to k
        { "Straße", "STRASSE", 1, 0 }, // one character to one only
        { "ÿ Ÿ", "Ÿ", 1, 1 },
        { "abc", "abcd", 1, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(TTextPattern(c.Needle).FindFrom(c.Start, c.Text), c.Found)
            << c.Needle << " in " << c.Text;
}

TEST(NotesLines, FindsWhatTheJoinedTextHolds)
{
    const std::vector<std::string> lines { "alpha beta", "", "Beta", "gamma" };
    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\r\n";
    for (const std::string needle : { "beta", "a", "\r\nBeta", "a\r\n", "gamma", "x" })
        for (size_t start = 0; start <= joined.size() + 1; ++start)
            EXPECT_EQ(FindInLines(TTextPattern(needle), start, lines),
                FindTextFrom(start, needle, joined))
                << needle << " from " << start;
}

namespace
{

// My Notes (text "top secret") > Work (text "budget\r\nmeeting") > Budget
// (name), then Home (text "budget at home").
class NotesFindTest : public ::testing::Test
{
protected:
    NotesFindTest()
    {
        Root = &Tree.Add(nullptr, "My Notes");
        Work = &Tree.Add(Root, "Work");
        Budget = &Tree.Add(Work, "Budget");
        Home = &Tree.Add(Root, "Home");
        NoteDataOf(*Root).Lines = { "top secret" };
        NoteDataOf(*Work).Lines = { "budget", "meeting budget" };
        NoteDataOf(*Budget).Lines = { "budget inside" };
        NoteDataOf(*Home).Lines = { "budget at home" };
    }

    TNotesTree Tree;
    TNoteNode* Root;
    TNoteNode* Work;
    TNoteNode* Budget;
    TNoteNode* Home;
};

} // namespace

TEST_F(NotesFindTest, WalksDownTheTreeNameBeforeTextWithoutWrapping)
{
    struct TCase {
        TNoteNode* Selected;
        size_t Start;
        const char* Text;
        TNoteNode* Node; // null: nothing found
        size_t Position;
    };
    const TCase cases[] = {
        { Work, 1, "BUDGET", Work, 1 },
        // Past the caret's hit: the next one in the same text.
        { Work, 2, "budget", Work, 17 },
        // The rest of Work's text holds none: Budget's name comes before its text.
        { Work, 18, "budget", Budget, 0 },
        // The searched-from category's own name is not searched.
        { Budget, 2, "Budget", Home, 1 },
        { Root, 1, "work", Work, 0 },
        { Root, 1, "home", Home, 0 },
        // No wrap back to the top at the tree's end.
        { Home, 2, "secret", nullptr, 0 },
        { Home, 2, "budget", nullptr, 0 },
        // Nothing selected: the whole tree, the first category's name included.
        { nullptr, 1, "my notes", Root, 0 },
        { nullptr, 1, "secret", Root, 5 },
        { Work, 1, "ÉTÉ", nullptr, 0 },
    };
    for (const TCase& c : cases) {
        const auto hit = FindInNotes(Tree, c.Selected, c.Start, c.Text);
        ASSERT_EQ(hit.has_value(), c.Node != nullptr) << c.Text;
        if (hit) {
            EXPECT_EQ(hit->Node, c.Node) << c.Text;
            EXPECT_EQ(hit->Position, c.Position) << c.Text;
        }
    }
    NoteDataOf(*Home).Lines = { "Café", "東京 ÉTÉ" };
    const auto hit = FindInNotes(Tree, Home, 1, "été");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Position, 15u); // after "Café" 5 bytes, CR LF 2, "東京 " 7
    EXPECT_FALSE(FindInNotes(Tree, Home, 1, "ete"));
}
