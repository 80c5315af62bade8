#pragma once

#include "controls/FontStyles.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A caption with inline codes, each a backslash and one character (either case):
//   \n          new line
//   \b \i \u    bold, italic, underline on or off
//   \0 .. \?    text colour: the sixteen colours of NiceColours, "0" first
// A backslash before any other character, or as the last character, is dropped.

// The sixteen standard colours as 0x00BBGGRR, in the order of their codes "0" to "?".
inline constexpr std::array<uint32_t, 16> NiceColours { 0x000000, 0x000080, 0x008000, 0x008080,
    0x800000, 0x800080, 0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000,
    0xFF00FF, 0xFFFF00, 0xFFFFFF };

// A stretch of text drawn in one style.
struct TNiceRun {
    std::string Text;
    int Line = 0; // 0 for the first line
    TFontStyles Flipped; // styles switched against the label's own font
    int Colour = -1; // index into NiceColours; -1 keeps the font's own colour
    friend bool operator==(const TNiceRun&, const TNiceRun&) = default;
};

struct TNiceText {
    std::vector<TNiceRun> Runs; // empty stretches are left out
    int LineCount = 1; // a caption ending in \n has an empty last line
};

TNiceText ParseNiceText(std::string_view caption);

// The caption as it is stored: every line break (CR LF, or a lone LF) becomes \n.
std::string NiceCaption(std::string_view text);

struct TNiceLayout {
    std::vector<int> Left; // of each run; its top is Line * line height
    int Width = 0; // the widest line
    int Height = 0; // every line, the last one included
};

// Places the runs side by side, each line below the one before; `width` measures a run.
TNiceLayout LayOutNiceText(
    const TNiceText& text, int lineHeight, const std::function<int(const TNiceRun&)>& width);
