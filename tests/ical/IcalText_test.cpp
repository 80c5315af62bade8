#include "ical/IcalText.h"

#include <gtest/gtest.h>

TEST(IcalText, TheDiaryKeepsEveryCharacter)
{
    const struct {
        std::string utf8, diary;
    } cases[] = {
        { "Łódź Ÿ", "Łódź Ÿ" },
        { "Zoë – 東京 🎉 👩‍💻", "Zoë – 東京 🎉 👩‍💻" },
        { "bad \xC3 byte \xFF", "bad \uFFFD byte \uFFFD" },
        { "cut \xE2\x82", "cut \uFFFD" },
        { "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD" }, // a lone surrogate is not UTF-8
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8FromDiaryText(DiaryTextFromUtf8(c.utf8)), c.diary) << c.utf8;
}

TEST(IcalText, AnyBytesBecomeUtf8)
{
    const struct {
        std::string bytes, utf8;
        bool guessed;
    } cases[] = {
        { "plain", "plain", false },
        { "\xEF\xBB\xBF"
          "BOM: é",
            "BOM: é", false },
        { "Caf\xE9 \x80"
          "5",
            "Café €5", true },
        { std::string("\xFF\xFE"
                      "A\0\xE9\0<\xD8\x89\xDF",
              10),
            "Aé🎉", false },
        { std::string("\xFE\xFF\0Z\0\xFC", 6), "Zü", false },
    };
    for (const auto& c : cases) {
        bool guessed = !c.guessed;
        EXPECT_EQ(ToUtf8(c.bytes, guessed), c.utf8);
        EXPECT_EQ(guessed, c.guessed) << c.utf8;
    }
}

TEST(IcalText, CutKeepsWholeCharacters)
{
    const struct {
        std::string text;
        size_t limit;
        std::string cut;
        bool wasLonger;
    } cases[] = {
        { "abcdef", 3, "abc", true },
        { "ñøß", 2, "ñø", true },
        { "ab🎉cd", 3, "ab🎉", true },
        { "short", 9, "short", false },
        { "", 0, "", false },
    };
    for (auto c : cases) {
        EXPECT_EQ(CutUtf8(c.text, c.limit), c.wasLonger);
        EXPECT_EQ(c.text, c.cut);
    }
}
