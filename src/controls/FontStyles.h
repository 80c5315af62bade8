#pragma once

#include <cstdint>
#include <functional>

// The styles a text can be drawn with, on top of its font.
struct TFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

// Asked once for every day number the month calendar draws: the owner adds
// styles to `FontStyles`, which holds the font's own styles on the way in.
using TDayFontStyle
    = std::function<void(uint16_t Year, uint16_t Month, uint16_t Day, TFontStyles& FontStyles)>;
