#pragma once

// Where the next alarm note goes: notes stack down the left edge of the screen
// with a small gap and start again at the top once they reach far enough down.
// Closing a note does not give its place back.
class TPopupStack
{
public:
    static constexpr int Gap = 4;
    static constexpr int WrapBelow = 600;

    // The top edge for a note of the given height, in screen pixels; the next
    // note goes below it, or back to 0 when that place would pass WrapBelow.
    int Place(int height);
    int NextPopupTop() const { return Next; }

private:
    int Next = 0;
};
