#include "alarms/PopupStack.h"

#include <climits>

int TPopupStack::Place(int height, int room)
{
    // Computed wide so that an absurd height cannot overflow.
    long long top = Next;
    if (top > 0 && top + height > room)
        top = 0;
    const long long next = top + height + Gap;
    Next = next >= room || next > INT_MAX ? 0 : static_cast<int>(next);
    return static_cast<int>(top);
}
