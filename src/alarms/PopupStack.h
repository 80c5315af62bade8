#pragma once

// Where the next alarm note goes: notes stack from a corner of the screen's
// free area along its edge, with a small gap, and a note that would pass the
// end of the area starts again at the corner, over the first. Closing a note
// does not give its place back; once none is open the stack starts afresh.
class TPopupStack
{
public:
    static constexpr int Gap = 4;

    // The note's distance from the corner, for a note of `height` pixels in
    // an area `room` pixels long.
    int Place(int height, int room);
    int NextPopupTop() const { return Next; }
    void Reset() { Next = 0; }

private:
    int Next = 0;
};
