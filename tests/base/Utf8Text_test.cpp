#include "base/Utf8Text.h"

#include <gtest/gtest.h>
#include <random>

TEST(Utf8Text, EveryAnsiByteComesBackAsItWas)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(utf8.size(), Utf8SizeOfAnsi(all));
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_TRUE(FitsAnsi(utf8));
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
    EXPECT_EQ(CharacterCount(utf8), 256u);
    EXPECT_EQ(AnsiToUtf8("10\x80 caf\xE9 \x9F\x81"), "10€ café Ÿ\u0081");
}

TEST(Utf8Text, OnlyWindows1252CharactersFit)
{
    const struct {
        std::string_view Text;
        bool Fits;
    } cases[] = {
        { "", true },
        { "Zoë café 10€ “quoted” Šž Ÿ", true },
        { "\u0081\u008D\u008F\u0090\u009D", true }, // the undefined bytes
        { "\u0080", false }, // a C1 control Windows-1252 gives another character
        { "Łódź", false },
        { "東京", false },
        { "a😀", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitsAnsi(c.Text), c.Fits) << c.Text;
}

TEST(Utf8Text, IllFormedSequencesReadAsReplacementCharacters)
{
    const struct {
        std::string_view Bytes;
        std::string_view Repaired;
    } cases[] = {
        { "plain Łódź 😀", "plain Łódź 😀" },
        { "a\xFF"
          "b",
            "a\uFFFD"
            "b" },
        { "\xC3", "\uFFFD" }, // cut at the end
        { "\xC0\xAF", "\uFFFD\uFFFD" }, // overlong
        { "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD" }, // a surrogate
        { "\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD" }, // above U+10FFFF
        { "\xE6\x9D"
          "x",
            "\uFFFDx" }, // one maximal part
        { "\xF0\x9F\x98"
          "\xE6\x9D\xB1",
            "\uFFFD東" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.Bytes), c.Bytes == c.Repaired) << c.Bytes;
        EXPECT_EQ(RepairUtf8(c.Bytes), c.Repaired) << c.Bytes;
    }
}

// Random texts of 1- to 4-byte characters: every cut by characters or at a
// byte lands on a boundary, so what is left and what is cut off stay valid.
TEST(Utf8Text, EveryCutLandsOnACharacterBoundary)
{
    const char32_t pool[] = { U'a', U' ', U'-', U'é', U'Ł', U'Ω', U'Ж', U'א', U'ع', U'क', U'東',
        U'€', U'😀', U'\U0001F3FD', U'\u200D', U'\uFFFD' };
    std::mt19937 random(31);
    for (int round = 0; round < 500; ++round) {
        std::string text;
        size_t characters = random() % 40;
        for (size_t i = 0; i < characters; ++i)
            AppendCharacter(text, pool[random() % std::size(pool)]);
        ASSERT_TRUE(IsValidUtf8(text));
        ASSERT_EQ(CharacterCount(text), characters);
        const size_t keep = random() % (characters + 2);
        const size_t prefix = CharacterPrefixSize(text, keep);
        EXPECT_EQ(CharacterCount(text.substr(0, prefix)), std::min(keep, characters));
        const size_t bytes = random() % (text.size() + 2);
        const size_t boundary = CharacterBoundary(text, bytes);
        EXPECT_LE(boundary, std::min(bytes, text.size()));
        EXPECT_TRUE(IsValidUtf8(text.substr(0, boundary)));
        EXPECT_TRUE(IsValidUtf8(text.substr(boundary)));
        size_t pos = 0;
        std::string again;
        while (pos < text.size())
            AppendCharacter(again, NextCharacter(text, pos));
        EXPECT_EQ(again, text);
    }
}

TEST(Utf8Text, CaseFoldsInEveryScriptWithCases)
{
    const struct {
        char32_t Capital;
        char32_t Small;
    } pairs[] = { { U'A', U'a' }, { U'Z', U'z' }, { U'É', U'é' }, { U'Ł', U'ł' }, { U'Ÿ', U'ÿ' },
        { U'Š', U'š' }, { U'Ω', U'ω' }, { U'Ж', U'ж' }, { U'Ա', U'ա' }, { U'Ａ', U'ａ' },
        { U'\U00010400', U'\U00010428' }, { U'K', U'k' } /* Kelvin sign */ };
    for (const auto& p : pairs) {
        EXPECT_EQ(FoldCase(p.Capital), p.Small) << static_cast<uint32_t>(p.Capital);
        EXPECT_EQ(FoldCase(p.Small), p.Small) << static_cast<uint32_t>(p.Small);
    }
    for (const char32_t uncased : { U'1', U'@', U'ß', U'東', U'א', U'😀', U'ĸ' })
        EXPECT_EQ(FoldCase(uncased), uncased) << static_cast<uint32_t>(uncased);
}
