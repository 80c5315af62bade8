#pragma once

#include "settings/Settings.h"

#include <QColor>
#include <QFont>
#include <QPalette>

// The settings' colours and font on the Qt side.
//
// A desktop colour reference (0x80000000 + index) takes its colour from the
// palette. The index keeps its Windows meaning and maps to the palette role
// that plays the same part:
//   0 scroll bar, 15 button face      -> Button
//   1 desktop, 16 button shadow       -> Dark
//   2 active caption, 13 highlight, 27 caption gradient, 29 menu highlight -> Highlight
//   3 inactive caption, 12 workspace, 28 inactive caption gradient         -> Mid
//   4 menu, 10/11 borders, 30 menu bar, 25 and unknown indexes             -> Window
//   5 window background               -> Base
//   6 window frame, 21 dark 3-D shadow -> Shadow
//   7 menu text, 19 inactive caption text -> WindowText
//   8 window text                     -> Text
//   9 caption text, 14 highlight text -> HighlightedText
//   17 grey text                      -> Text of the Disabled group
//   18 button text                    -> ButtonText
//   20 button highlight               -> Light
//   22 light 3-D edge                 -> Midlight
//   23 tool-tip text                  -> ToolTipText
//   24 tool-tip background            -> ToolTipBase
//   26 hot-tracked item               -> Link
QColor ColourToQColor(TColour colour, const QPalette& palette);
// With the application's palette.
QColor ColourToQColor(TColour colour);
// A direct colour; transparency is dropped.
TColour QColorToColour(const QColor& colour);

// The largest font a screen shows usefully, and the tallest grid row: a
// hand-typed size beyond them is shown at the limit (and stored as it was).
inline constexpr int32_t MaxFontPoints = 72;
inline constexpr int MaxRowPixels = 1000;

// A size of 0 or less (a stored "abc" reads 0) keeps the application font's
// size; a size above MaxFontPoints gives MaxFontPoints.
QFont SettingsFontToQFont(const TSettingsFont& font);
// The face name is cut to 31 characters; a font sized in pixels is given in points at 96 dpi.
TSettingsFont QFontToSettingsFont(const QFont& font);

// The height of the font's characters in pixels at `dpi`, as the grids size
// their rows by: 11 for 8 points at 96 dpi.
int FontPixelHeight(const QFont& font, int dpi);
// The default row height of the grids that show the settings font.
int GridRowHeight(const QFont& font, int dpi);
