#include "alarms/PopupStack.h"

int TPopupStack::Place(int height)
{
    const int top = Next;
    // Computed wide so that an absurd height cannot overflow; it wraps anyway.
    const long long next = static_cast<long long>(top) + height + Gap;
    Next = next > WrapBelow ? 0 : static_cast<int>(next);
    return top;
}
