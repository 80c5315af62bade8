#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text as iCalendar files hold it (UTF-8), and the crossing into the diary.

// The crossing between UTF-8 and the diary's own text, which is UTF-8 too:
// every character is kept, and bytes that are not UTF-8 read as U+FFFD.
std::string DiaryTextFromUtf8(std::string_view text);
std::string Utf8FromDiaryText(std::string_view text);

// Any bytes as UTF-8: a byte-order mark is dropped, UTF-16 with its mark is
// converted, and a byte that is not part of UTF-8 is read as Windows-1252.
// `guessed` tells whether any text had to be read as something else than UTF-8.
std::string ToUtf8(std::string_view bytes, bool& guessed);

// At most `limit` characters of UTF-8 text, never cutting one in two.
// True when the text was longer.
bool CutUtf8(std::string& text, size_t limit);
