#pragma once

#include <QColor>

// How far apart two colours are to the eye: the ratio of their relative
// luminances (each plus 0.05), 1 for equal colours, 21 for black on white.
double ContrastRatio(const QColor& first, const QColor& second);

// `preferred` when it reads well on `background`, else black or white,
// whichever stands out more. Text on a colour the user or the desktop chose
// stays legible whatever that colour is.
QColor ReadableInk(const QColor& background, const QColor& preferred);
