#include "controls/NiceText.h"

#include <gtest/gtest.h>

namespace
{

TNiceRun Piece(std::string text, int line = 0, TFontStyles flipped = {}, int colour = -1)
{
    return { std::move(text), line, flipped, colour };
}

constexpr TFontStyles Bold { true, false, false, false };

} // namespace

TEST(NiceText, StyleCodesSwitchOnAndOff)
{
    const TNiceText text = ParseNiceText("Normal \\bbold\\b normal");
    EXPECT_EQ(text.Runs,
        (std::vector<TNiceRun> { Piece("Normal "), Piece("bold", 0, Bold), Piece(" normal") }));
    EXPECT_EQ(text.LineCount, 1);

    const TNiceText all = ParseNiceText("\\Ba\\ib\\Uc\\BI\\Id\\u");
    ASSERT_EQ(all.Runs.size(), 5u);
    EXPECT_EQ(all.Runs[0].Flipped, (TFontStyles { true, false, false, false }));
    EXPECT_EQ(all.Runs[1].Flipped, (TFontStyles { true, true, false, false }));
    EXPECT_EQ(all.Runs[2].Flipped, (TFontStyles { true, true, true, false }));
    EXPECT_EQ(all.Runs[3].Text, "I"); // the code's letter, not a code
    EXPECT_EQ(all.Runs[3].Flipped, (TFontStyles { false, true, true, false }));
    EXPECT_EQ(all.Runs[4].Flipped, (TFontStyles { false, false, true, false }));
}

TEST(NiceText, LineBreaksStartNewLinesAndKeepTheStyle)
{
    const TNiceText text = ParseNiceText("\\bOne\\nTwo\\NThree");
    EXPECT_EQ(text.Runs,
        (std::vector<TNiceRun> {
            Piece("One", 0, Bold), Piece("Two", 1, Bold), Piece("Three", 2, Bold) }));
    EXPECT_EQ(text.LineCount, 3);
    // A break at the end leaves an empty last line; two in a row an empty line between.
    EXPECT_EQ(ParseNiceText("abc\\n").LineCount, 2);
    const TNiceText gap = ParseNiceText("a\\n\\nb");
    EXPECT_EQ(gap.Runs, (std::vector<TNiceRun> { Piece("a"), Piece("b", 2) }));
}

TEST(NiceText, EveryColourCodePicksItsColour)
{
    const std::string codes = "0123456789:;<=>?";
    for (int i = 0; i < 16; ++i) {
        const TNiceText text = ParseNiceText(std::string("\\") + codes[i] + "x");
        ASSERT_EQ(text.Runs.size(), 1u);
        EXPECT_EQ(text.Runs[0].Colour, i) << codes[i];
    }
    EXPECT_EQ(NiceColours[9], 0x0000FFu); // red
    EXPECT_EQ(NiceColours[12], 0xFF0000u); // blue
    const TNiceText text = ParseNiceText("\\9Red\\0Black");
    EXPECT_EQ(
        text.Runs, (std::vector<TNiceRun> { Piece("Red", 0, {}, 9), Piece("Black", 0, {}, 0) }));
}

TEST(NiceText, UnknownCodesAndALoneBackslashDrawNothing)
{
    EXPECT_EQ(ParseNiceText("a\\xb").Runs, (std::vector<TNiceRun> { Piece("a"), Piece("b") }));
    EXPECT_EQ(ParseNiceText("abc\\").Runs, (std::vector<TNiceRun> { Piece("abc") }));
    EXPECT_EQ(ParseNiceText("\\").Runs.size(), 0u);
    // A backslash is a code of its own; "@" and "/" lie just outside the colour codes.
    EXPECT_EQ(ParseNiceText("a\\\\b\\@c\\/d").Runs,
        (std::vector<TNiceRun> { Piece("a"), Piece("b"), Piece("c"), Piece("d") }));
    EXPECT_EQ(ParseNiceText("").Runs.size(), 0u);
    EXPECT_EQ(ParseNiceText("").LineCount, 1);
}

TEST(NiceText, LineEndsBecomeBreakCodes)
{
    EXPECT_EQ(NiceCaption("one\r\ntwo"), "one\\ntwo");
    EXPECT_EQ(NiceCaption("\r\n\r\n"), "\\n\\n");
    // A lone line feed breaks the line without eating the character before it.
    EXPECT_EQ(NiceCaption("ab\ncd"), "ab\\ncd");
    EXPECT_EQ(NiceCaption("\nx"), "\\nx");
    EXPECT_EQ(NiceCaption("a\rb"), "a\rb");
    EXPECT_EQ(ParseNiceText(NiceCaption("one\r\ntwo")).LineCount, 2);
}

TEST(NiceText, RunsAreLaidOutSideBySideAndLineByLine)
{
    // Ten pixels a character, twelve in bold.
    const auto width
        = [](const TNiceRun& run) { return int(run.Text.size()) * (run.Flipped.Bold ? 12 : 10); };
    const TNiceText text = ParseNiceText("Normal \\bbold\\b normal\\nTwo\\n");
    const TNiceLayout layout = LayOutNiceText(text, 15, width);
    EXPECT_EQ(layout.Left, (std::vector<int> { 0, 70, 118, 0 }));
    EXPECT_EQ(layout.Width, 188);
    EXPECT_EQ(layout.Height, 45);

    const TNiceLayout wide = LayOutNiceText(ParseNiceText("\\bWide text"), 15, width);
    EXPECT_EQ(wide.Width, 108);
    EXPECT_EQ(wide.Height, 15);
    const TNiceLayout second = LayOutNiceText(ParseNiceText("A\\nlonger"), 15, width);
    EXPECT_EQ(second.Width, 60);
    EXPECT_EQ(second.Height, 30);
}
