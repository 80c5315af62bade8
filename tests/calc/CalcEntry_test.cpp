#include "CalcTestSupport.h"

#include <algorithm>
#include <vector>

// Number entry, the entry states, and the moves of the stack as a whole.

TEST_F(CalcTest, EnterThenPlusAddsAndDropsWithTopLevelDuplicated)
{
    SetStack({ 1, 2, 3, 4, 5, 6, 7, 8 });
    Type("2");
    Enter();
    Type("3+");
    EXPECT_EQ(X(), 5);
    EXPECT_EQ(Y(), 1); // the old Z
    EXPECT_EQ(Calc.CalcStack[6], 6);
    EXPECT_EQ(Calc.CalcStack[7], 6);
    EXPECT_EQ(Calc.EntryState, esResult);
}

TEST_F(CalcTest, EnterDuplicatesXEveryTime)
{
    Type("2");
    Enter();
    Enter();
    EXPECT_EQ(Calc.EntryState, esAfterEnter);
    EXPECT_EQ(Z(), 2);
    Type("*");
    EXPECT_EQ(X(), 4);
    EXPECT_EQ(Y(), 2);
}

TEST_F(CalcTest, SubtractAndDivideTakeYFirst)
{
    Type("7");
    Enter();
    Type("2-");
    EXPECT_EQ(X(), 5);
    Type("7");
    Enter();
    Type("2/");
    EXPECT_EQ(X(), 3.5);
    EXPECT_EQ(Y(), 5);
}

TEST_F(CalcTest, NumberAfterResultLiftsButAfterEnterOverwrites)
{
    Type("4");
    Enter();
    Type("1+"); // result 5
    Type("9");
    EXPECT_EQ(X(), 9);
    EXPECT_EQ(Y(), 5);
    EXPECT_EQ(Calc.EntryState, esEntering);
    Enter();
    Type("6");
    EXPECT_EQ(X(), 6);
    EXPECT_EQ(Y(), 9);
    EXPECT_EQ(Z(), 5);
}

TEST_F(CalcTest, EntryTextIsShownExactlyAsTyped)
{
    Type("12.");
    EXPECT_EQ(Calc.RowText(7), "12.");
    EXPECT_EQ(Calc.ShownX, "12.");
    EXPECT_EQ(X(), 12);
    Enter();
    EXPECT_EQ(Calc.RowText(7), "12");
    Type("1e");
    EXPECT_EQ(Calc.RowText(7), "1e");
    EXPECT_EQ(X(), 1);
    Type("3");
    EXPECT_EQ(X(), 1000);
}

TEST_F(CalcTest, BackspaceEditsTheEntry)
{
    Type("12\b5");
    EXPECT_EQ(X(), 15);
    EXPECT_EQ(Calc.EntryText, "15");
    EXPECT_FALSE(Type("\b\b")); // the empty text is no number
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Calc.RowText(7), "");
    EXPECT_EQ(Calc.EntryState, esEntering);
    Type("\b");
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Calc.EntryText, "");
}

TEST_F(CalcTest, BackspaceAfterResultStartsANewEmptyEntry)
{
    SetStack({ 8 });
    Type("\b");
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Y(), 8);
    EXPECT_EQ(Calc.EntryState, esEntering);
}

TEST_F(CalcTest, InvalidDecimalEntryResetsToEmpty)
{
    EXPECT_FALSE(Type("1A"));
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Calc.EntryText, "");
    EXPECT_EQ(Calc.EntryState, esEntering);
    EXPECT_EQ(Calc.RowText(7), "");
    EXPECT_TRUE(Type("7"));
    EXPECT_EQ(X(), 7);
    EXPECT_EQ(Y(), 0); // still the same entry: no second lift

    // A point alone reads as 0; exponents too large for a double are no number.
    Type("\b");
    EXPECT_TRUE(Type("."));
    EXPECT_EQ(X(), 0);
    Type("\b");
    EXPECT_FALSE(Type("1e400"));
    EXPECT_EQ(Calc.EntryText, "");
    EXPECT_EQ(X(), 0);
    EXPECT_TRUE(Type("2E2"));
    EXPECT_EQ(X(), 200);
}

TEST_F(CalcTest, HexEntryKeepsTheLastEightDigitsUnsigned)
{
    Calc.CalcHex = true;
    Type("ff");
    EXPECT_EQ(X(), 255);
    Enter();
    Type("123456789");
    EXPECT_EQ(X(), 0x23456789);
    Enter();
    Type("FFFFFFFF");
    EXPECT_EQ(X(), 4294967295.0);
    EXPECT_EQ(Calc.RowText(7), "FFFFFFFF");
    Enter();
    EXPECT_TRUE(Type("\b"));
    EXPECT_EQ(X(), 0);
}

TEST_F(CalcTest, LongPasteStopsAtTheEntryLimit)
{
    Calc.CalcHex = true;
    std::string dump;
    for (int i = 0; i < 20000; ++i)
        dump += "0F ";
    Calc.PasteX(dump + "+");
    EXPECT_EQ(Calc.EntryText.size(), 1000u);
    EXPECT_EQ(X(), 0xF0F0F0F);
    EXPECT_EQ(Y(), 0); // the "+" was never reached

    Calc.CalcHex = false;
    Calc.ClearStack();
    Type("7");
    Calc.PasteX(std::string(3000, '0') + "+");
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Y(), 7);
}

TEST_F(CalcTest, RejectedCharacterChangesNothingButRepaints)
{
    SetStack({ 3, 2 });
    Calc.EntryState = esAfterEnter;
    const int before = Host.Repaints;
    EXPECT_FALSE(Calc.CalcKey('?'));
    EXPECT_FALSE(Calc.CalcKey(10));
    EXPECT_EQ(X(), 3);
    EXPECT_EQ(Y(), 2);
    EXPECT_EQ(Calc.EntryState, esAfterEnter);
    EXPECT_GT(Host.Repaints, before);
}

TEST_F(CalcTest, CtrlCCopiesWhatTheXRowShows)
{
    Type("1.50");
    Calc.CalcKey(3);
    Enter();
    Calc.CalcKey(3);
    ASSERT_EQ(Host.Clipboard.size(), 2u);
    EXPECT_EQ(Host.Clipboard[0], "1.50");
    EXPECT_EQ(Host.Clipboard[1], "1.5");
}

TEST_F(CalcTest, ClearStackZeroesEverythingAndFinishesEntry)
{
    Type("12");
    Enter();
    Type("3");
    Calc.ClearStack();
    for (double level : Calc.CalcStack)
        EXPECT_EQ(level, 0);
    EXPECT_EQ(Calc.EntryState, esResult);
    EXPECT_EQ(Calc.ShownX, "0");
}

TEST_F(CalcTest, RollDownDiscardsXAndDuplicatesTheTop)
{
    SetStack({ 1, 2, 3, 0, 0, 0, 0, 9 });
    Calc.EntryState = esEntering;
    Calc.CalcRollClick();
    EXPECT_EQ(X(), 2);
    EXPECT_EQ(Y(), 3);
    EXPECT_EQ(Calc.CalcStack[6], 9);
    EXPECT_EQ(Calc.CalcStack[7], 9);
    EXPECT_EQ(Calc.EntryState, esResult);
}

TEST_F(CalcTest, RecallMovesALevelIntoXAndLosesNothing)
{
    SetStack({ 1, 2, 3 });
    Calc.RecallLevel(5);
    EXPECT_EQ(X(), 3);
    EXPECT_EQ(Y(), 1);
    EXPECT_EQ(Z(), 2);

    SetStack({ 1, 2, 3, 4, 5, 6, 7, 8 });
    Calc.RecallLevel(0);
    EXPECT_EQ((std::vector<double>(Calc.CalcStack.begin(), Calc.CalcStack.end())),
        (std::vector<double> { 8, 1, 2, 3, 4, 5, 6, 7 }));

    Calc.EntryState = esAfterEnter;
    Calc.RecallLevel(7); // X itself: nothing happens
    EXPECT_EQ(X(), 8);
    EXPECT_EQ(Calc.EntryState, esAfterEnter);
}

TEST_F(CalcTest, SpaceRecallsTheSelectedRow)
{
    SetStack({ 1, 2, 3 });
    Host.Row = 6;
    EXPECT_TRUE(Calc.CalcKey(' '));
    EXPECT_EQ(X(), 2);
    EXPECT_EQ(Y(), 1);
}

// After a row is dragged, the stack read from the top row down must be the old
// order with that one row taken out and put back at its new place.
TEST_F(CalcTest, MoveLevelFollowsTheDraggedRowsForEveryPair)
{
    for (int from = 0; from < 8; ++from)
        for (int to = 0; to < 8; ++to) {
            SetStack({ 10, 11, 12, 13, 14, 15, 16, 17 });
            std::vector<double> rows;
            for (int r = 0; r < 8; ++r)
                rows.push_back(Calc.CalcStack[7 - r]);
            const double moved = rows[from];
            rows.erase(rows.begin() + from);
            rows.insert(rows.begin() + to, moved);

            Calc.MoveLevel(from, to);
            for (int r = 0; r < 8; ++r)
                EXPECT_EQ(Calc.CalcStack[7 - r], rows[r]) << from << "->" << to << " row " << r;
            EXPECT_EQ(Calc.EntryState, esResult);
        }
}

TEST_F(CalcTest, DraggingXToTheTopBringsYDown)
{
    SetStack({ 1, 2, 3 });
    Calc.MoveLevel(7, 0);
    EXPECT_EQ(X(), 2);
    EXPECT_EQ(Y(), 3);
    EXPECT_EQ(Calc.CalcStack[7], 1);
}

TEST_F(CalcTest, PasteTypesUntilTheFirstRejectedCharacter)
{
    Calc.PasteX("5\r\n7");
    EXPECT_EQ(X(), 5);
    EXPECT_EQ(Y(), 5);
    EXPECT_EQ(Calc.EntryState, esResult);

    SetStack({ 10 });
    Calc.PasteX("2+3");
    EXPECT_EQ(X(), 3);
    EXPECT_EQ(Y(), 12);
    EXPECT_EQ(Calc.EntryState, esResult);
    Type("4"); // a pasted number is finished: the next one lifts it
    EXPECT_EQ(Y(), 3);
}

TEST_F(CalcTest, PasteReadsDigitsByTheMode)
{
    Calc.PasteX("FF");
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Calc.EntryText, "");

    Calc.ClearStack();
    Calc.CalcHex = true;
    Calc.PasteX("FF");
    EXPECT_EQ(X(), 255);
}

TEST_F(CalcTest, CopiedEngineeringValuePastesBack)
{
    SetStack({ 12500 });
    Calc.CalcEng = true;
    Calc.Repaint();
    ASSERT_EQ(Calc.ShownX, "12.5k");
    const std::string copied = Calc.ShownX;
    Calc.ClearStack();
    Calc.PasteX(copied);
    EXPECT_EQ(X(), 12500);
    EXPECT_EQ(Calc.ShownX, "12.5k");
}

TEST_F(CalcTest, PiReplacesTheDuplicateAfterEnterAndLiftsAResult)
{
    Type("2");
    Enter();
    Calc.CalcPi();
    EXPECT_EQ(X(), 3.141592653589793);
    EXPECT_EQ(Y(), 2);
    EXPECT_EQ(Z(), 0);
    EXPECT_EQ(Calc.EntryState, esResult);
    Calc.CalcPi();
    EXPECT_EQ(Y(), 3.141592653589793);
    EXPECT_EQ(Z(), 2);
}
