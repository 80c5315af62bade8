#include "alarms/PopupStack.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

TEST(PopupStack, NotesStackWithAGapOfFourAndStartAgainAtTheCornerBeforeLeavingTheArea)
{
    const struct {
        int Room;
        std::vector<int> Heights, Tops;
        int Next;
    } cases[] = {
        { 600, { 31, 31, 40 }, { 0, 35, 70 }, 114 },
        // The fourth would end at 620: it goes back to the corner, over the first.
        { 600, { 150, 150, 150, 150, 27 }, { 0, 154, 308, 0, 154 }, 185 },
        // A next place at the very end of the area is no place.
        { 600, { 296, 296, 10 }, { 0, 300, 0 }, 14 },
        // Taller than the area: at the corner, and the next one too.
        { 500, { INT_MAX, 10, 700 }, { 0, 0, 0 }, 0 },
        { 0, { 10, 10 }, { 0, 0 }, 0 },
    };
    for (const auto& test : cases) {
        TPopupStack stack;
        std::vector<int> tops;
        for (int height : test.Heights)
            tops.push_back(stack.Place(height, test.Room));
        EXPECT_EQ(tops, test.Tops) << test.Room;
        EXPECT_EQ(stack.NextPopupTop(), test.Next) << test.Room;
    }
}

TEST(PopupStack, AResetStartsAtTheCorner)
{
    TPopupStack stack;
    stack.Place(100, 768);
    stack.Reset();
    EXPECT_EQ(stack.Place(100, 768), 0);
}
