#pragma once

#include <QColor>

// How far apart two colours are to the eye: the ratio of their relative
// luminances (each plus 0.05), 1 for equal colours, 21 for black on white.
double ContrastRatio(const QColor& first, const QColor& second);

// Below 3:1 small text is hard to read; body text wants 4.5:1.
constexpr double LegibleRatio = 3.0;
constexpr double BodyTextRatio = 4.5;

// `preferred` when it stands out at least `minimumRatio` from `background`,
// else black or white, whichever stands out more (always more than 4.5:1).
// Text on a colour the user or the desktop chose stays legible whatever that
// colour is.
QColor ReadableInk(
    const QColor& background, const QColor& preferred, double minimumRatio = LegibleRatio);

// `ink` itself when it stands out at least `minimumRatio` from `background`,
// else `ink` moved towards white or black (whichever stands out more) just as
// far as it takes: a picture's blue stays blue, only lighter on a dark ground.
QColor ShadeToRead(const QColor& background, const QColor& ink, double minimumRatio = LegibleRatio);

// `from` moved the fraction `amount` (0 to 1) of the way to `to`.
QColor MixColours(const QColor& from, const QColor& to, double amount);
