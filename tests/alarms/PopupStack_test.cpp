#include "alarms/PopupStack.h"

#include <climits>
#include <gtest/gtest.h>

TEST(PopupStack, NotesStackDownwardsWithAGapOfFour)
{
    TPopupStack stack;
    EXPECT_EQ(stack.NextPopupTop(), 0);
    EXPECT_EQ(stack.Place(31), 0);
    EXPECT_EQ(stack.Place(31), 35);
    EXPECT_EQ(stack.Place(40), 70);
    EXPECT_EQ(stack.NextPopupTop(), 114);
}

TEST(PopupStack, TheNoteAfterOneThatEndsPastSixHundredGoesBackToTheTop)
{
    TPopupStack stack;
    int top = 0;
    for (int i = 0; i < 20; ++i)
        top = stack.Place(27); // tops 0, 31, ..., 589
    EXPECT_EQ(top, 589);
    // 589 + 27 + 4 = 620 would pass 600: the next one starts over, on top of the first.
    EXPECT_EQ(stack.NextPopupTop(), 0);
    EXPECT_EQ(stack.Place(27), 0);
    EXPECT_EQ(stack.Place(27), 31);
}

TEST(PopupStack, ANextTopOfExactlySixHundredIsKept)
{
    TPopupStack stack;
    EXPECT_EQ(stack.Place(596), 0);
    EXPECT_EQ(stack.NextPopupTop(), 600);
    EXPECT_EQ(stack.Place(1), 600);
    EXPECT_EQ(stack.NextPopupTop(), 0);
}

TEST(PopupStack, ANoteTallerThanTheWholeStackLeavesTheNextAtTheTop)
{
    TPopupStack stack;
    EXPECT_EQ(stack.Place(INT_MAX), 0);
    EXPECT_EQ(stack.NextPopupTop(), 0);
    EXPECT_EQ(stack.Place(10), 0);
}
