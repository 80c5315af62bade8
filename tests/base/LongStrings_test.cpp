#include "base/LongStrings.h"

#include <climits>
#include <gtest/gtest.h>

TEST(LongStrings, DigitsPadAndOverflowToQuestionMarks)
{
    EXPECT_EQ(TwoDigits(0), "00");
    EXPECT_EQ(TwoDigits(7), "07");
    EXPECT_EQ(TwoDigits(99), "99");
    EXPECT_EQ(TwoDigits(100), "??");
    EXPECT_EQ(TwoDigits(255), "??");
    EXPECT_EQ(FourDigits(0), "0000");
    EXPECT_EQ(FourDigits(930), "0930");
    EXPECT_EQ(FourDigits(2359), "2359");
    EXPECT_EQ(FourDigits(10000), "??00");
    EXPECT_EQ(FourDigits(65535), "??35"); // 655 keeps its low 8 bits, 143
}

TEST(LongStrings, DigitValuesReadNonDigitsAsZero)
{
    EXPECT_EQ(DigitValue('7'), 7);
    EXPECT_EQ(DigitValue('a'), 0);
    EXPECT_EQ(DigitValue('\xFF'), 0);
    EXPECT_EQ(DigitChar(3), '3');
    EXPECT_EQ(TwoDigitValue("x42", 2), 42);
    EXPECT_EQ(FourDigitValue("0930", 1), 930);
    EXPECT_EQ(FourDigitValue("12:30", 1), 1203);
}

TEST(LongStrings, TextToIntReadsASignAndALeadingDigitRun)
{
    EXPECT_EQ(TextToInt(""), 0);
    EXPECT_EQ(TextToInt("930"), 930);
    EXPECT_EQ(TextToInt("-12ab"), -12);
    EXPECT_EQ(TextToInt("09:30"), 9);
    EXPECT_EQ(TextToInt("abc"), 0);
    EXPECT_EQ(TextToInt("-"), 0);
    EXPECT_EQ(TextToInt(" 5"), 0);
    EXPECT_EQ(TextToInt("-0"), 0);
    EXPECT_EQ(TextToInt("007"), 7);
    EXPECT_EQ(TextToInt("4294967297"), 1); // wraps at 32 bits
}

TEST(LongStrings, IntToTextRoundTripsTheWholeRange)
{
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(-5), "-5");
    EXPECT_EQ(IntToText(INT32_MAX), "2147483647");
    EXPECT_EQ(IntToText(INT32_MIN), "-2147483648");
    for (int32_t n : { INT32_MIN, INT32_MIN + 1, -1000, -1, 0, 1, 99, 65536, INT32_MAX })
        EXPECT_EQ(TextToInt(IntToText(n)), n);
}

TEST(LongStrings, HexReadsEitherCaseAndStopsAtOtherCharacters)
{
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexToInt("1aF"), 431);
    EXPECT_EQ(HexToInt("FFZ1"), 255);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(HexToInt("-1"), 0);
    EXPECT_EQ(IntToHex(0), "0");
    EXPECT_EQ(IntToHex(255), "FF");
    EXPECT_EQ(IntToHex(0xFFFFFFFFu), "FFFFFFFF");
    EXPECT_EQ(IntToHexPadded(255, 4), "00FF");
    EXPECT_EQ(IntToHexPadded(65536, 2), "10000");
}

TEST(LongStrings, FindTextFromIgnoresAsciiCaseOnly)
{
    EXPECT_EQ(FindTextFrom(1, "BOB", "my bob"), 4u);
    EXPECT_EQ(FindTextFrom(5, "bob", "my bob"), 0u);
    EXPECT_EQ(FindTextFrom(4, "b", "my bob"), 4u);
    EXPECT_EQ(FindTextFrom(1, "x", ""), 0u);
    EXPECT_EQ(FindTextFrom(1, "", "abc"), 0u);
    EXPECT_EQ(FindTextFrom(1, "\xC9", "\xE9"), 0u); // accented letters keep their case
    EXPECT_EQ(FindTextFrom(1, "my bob", "my bob"), 1u);
    EXPECT_EQ(FindTextFrom(2, "my bob", "my bob"), 0u);
}
