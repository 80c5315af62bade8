#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>

class QScreen;

// A window's place as stored: any four numbers, whatever a hand could type.
struct TStoredPlace {
    int32_t Left, Top, Width, Height;
};

// Where a window with the stored place goes so the desktop can show it: no
// larger than `area` (but never below `minimum`), and moved inside it. A
// stored place that fits is kept as it is.
QRect FitToArea(const TStoredPlace& wanted, const QRect& area, const QSize& minimum);

// The screen a stored place belongs on: the one under its middle, else the primary.
QScreen* ScreenFor(const TStoredPlace& wanted);

// Where `window` goes so that it covers nothing of `avoid` and stays inside
// `area`: the nearest of the places beside `avoid` (right, left, below,
// above) that fit, moved as little as it can be. A window that covers none of
// `avoid` stays where it is; where no place fits, the one that covers least.
QRect PlaceClearOf(const QRect& window, const QRect& avoid, const QRect& area);
