#include "comms/History.h"
#include "comms/Picking.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

struct TCaretCase {
    std::string Text;
    std::string CaretBefore; // the caret sits in front of the first match of this
    std::string Number;
    std::string Label;
    bool Valid;
};

size_t CaretAt(const std::string& text, const std::string& before)
{
    return text.find(before);
}

} // namespace

TEST(PhoneNumberAtCaret, PicksTheRunAroundTheCaretAndTheLabelBeforeIt)
{
    const TCaretCase cases[] = {
        // Spaces are phone characters: the blanks around the number come along.
        { "Call  (123) 456-7890  now", "456", "  (123) 456-7890  ", "Call", true },
        { "Jo Smith 555 1234", "1234", " 555 1234", "Jo Smith", true },
        { "Jo Smith 555 1234", "555", " 555 1234", "Jo Smith", true },
        // A point ends the run: each side is a number of its own.
        { "555.1234", "234", "1234", "555.", true },
        { "555.1234", "55.", "555", "", true },
        // "+" is no phone character: the number starts after it.
        { "+12 345 678", "345", "12 345 678", "", true },
        // A TAB or a line start begins the label; a one-character label is dropped.
        { "Phone\tAl\t555 1234", "555", "555 1234", "Al", true },
        { "first line\r\nDr Who 071 222", "222", " 071 222", "Dr Who", true },
        { "J 555 1234", "555", " 555 1234", "", true },
        { "Jo\t\t 555 1234", "1234", " 555 1234", "Jo", true },
        { "Tel 12 x", "12", " 12 ", "Tel", true },
        { "dial 12", "12", " 12", "dial", true },
        { "12", "2", "12", "", false },
        { "12345678901234567890123456", "345", "12345678901234567890123456", "", false },
        // The caret on a letter with a digit after it takes the letter too.
        { "x555", "x", "", "", false },
        { "", "", "", "", false },
    };
    for (const TCaretCase& c : cases) {
        const TPhonePick pick = PhoneNumberAtCaret(c.Text, CaretAt(c.Text, c.CaretBefore));
        EXPECT_EQ(pick.Number, c.Number) << c.Text;
        EXPECT_EQ(pick.Label, c.Label) << c.Text;
        EXPECT_EQ(IsValidPhoneNumber(pick.Number), c.Valid) << c.Text;
    }
    // A caret at the very end still reaches back into the number.
    EXPECT_EQ(PhoneNumberAtCaret("Jo 555 1234", 11).Number, " 555 1234");
}

TEST(PhoneNumber, LengthsAndCharacters)
{
    EXPECT_FALSE(IsValidPhoneNumber("12"));
    EXPECT_TRUE(IsValidPhoneNumber("123"));
    EXPECT_TRUE(IsValidPhoneNumber(std::string(25, '5')));
    EXPECT_FALSE(IsValidPhoneNumber(std::string(26, '5')));
    EXPECT_FALSE(IsValidPhoneNumber("555.1234"));
    EXPECT_FALSE(IsValidPhoneNumber("+12 345"));
}

TEST(PhoneNumberInCell, TheCellIsTheNumberAndColumnOneItsLabel)
{
    EXPECT_EQ(PhoneNumberInCell("555-1234", 2, "Jo").Label, "Jo");
    EXPECT_EQ(PhoneNumberInCell("555-1234", 2, "Jo").Number, "555-1234");
    EXPECT_EQ(PhoneNumberInCell("555-1234", 1, "555-1234").Label, "");
    EXPECT_EQ(PhoneNumberInCell("ring 555", 2, "Jo").Number, "");
}

TEST(EmailAddress, SixCharactersWithAtAndPointInAnyOrder)
{
    EXPECT_FALSE(IsValidEmailAddress("a@b.c"));
    EXPECT_TRUE(IsValidEmailAddress("a@b.cd"));
    EXPECT_TRUE(IsValidEmailAddress("a.b@cd"));
    EXPECT_TRUE(IsValidEmailAddress("jo @ x y."));
    EXPECT_FALSE(IsValidEmailAddress("jo.smith"));
    EXPECT_FALSE(IsValidEmailAddress("jo@smith"));
}

TEST(Links, ModemLineAndDesktopLinks)
{
    EXPECT_EQ(DialCommand("555 1234"), "ATD555 1234\r");
    const std::string longest = DialCommand(std::string(300, '1'));
    EXPECT_EQ(longest.size(), 255u);
    EXPECT_EQ(longest.substr(0, 4), "ATD1");
    EXPECT_EQ(TelLink(" (123) 456-7890 "), "tel:(123)456-7890");
}

TEST(History, NewestFirstTenAtMostRepeatsKeepTheirPlace)
{
    std::vector<std::string> history;
    EXPECT_TRUE(AddHistory(history, "555 1234\tJo"));
    EXPECT_TRUE(AddHistory(history, "555 9999\t"));
    EXPECT_FALSE(AddHistory(history, "555 1234\tJo"));
    EXPECT_EQ(history, (std::vector<std::string> { "555 9999\t", "555 1234\tJo" }));
    // Case counts: another caption is another entry.
    EXPECT_TRUE(AddHistory(history, "555 1234\tjo"));
    history.clear();
    for (int i = 0; i < 11; ++i)
        AddHistory(history, "number " + std::to_string(i));
    ASSERT_EQ(history.size(), MaxHistory);
    EXPECT_EQ(history.front(), "number 10");
    EXPECT_EQ(history.back(), "number 1");
    EXPECT_EQ(HistoryTarget("555 1234\tJo"), "555 1234");
    EXPECT_EQ(HistoryTarget("jo@x.org"), "jo@x.org");
}
