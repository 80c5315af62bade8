#pragma once

#include <string>
#include <string_view>

// Finding a telephone number or an e-mail address at the notes cursor, and the
// texts that carry them out of the program. All text is 8-bit.

inline constexpr size_t MinPhoneLength = 3;
inline constexpr size_t MaxPhoneLength = 25;
inline constexpr size_t MinEmailLength = 6;
// The counted buffer sent to a modem holds at most this many characters.
inline constexpr size_t MaxComBuffer = 255;

// What the dial command found: the number as written and the text in front
// of it that names it (possibly empty).
struct TPhonePick {
    std::string Number;
    std::string Label;
};

// Space, "(", ")", "-" and the digits; "+" and "." are not.
bool IsPhoneChar(char c);

// The run of phone characters around `caret` (0-based, between characters) in
// the memo's text, and the label: the text between the previous TAB or line
// start and the blanks in front of the number, when it is longer than one
// character. A run that holds no phone character at all comes back empty.
TPhonePick PhoneNumberAtCaret(std::string_view text, size_t caret);
// The table view: the current cell is the number; from column 2 on, the text
// of column 1 in the same row is its label.
TPhonePick PhoneNumberInCell(std::string_view cell, int column, std::string_view firstColumn);
// 3 to 25 phone characters.
bool IsValidPhoneNumber(std::string_view number);

// At least 6 characters holding both "@" and ".", in any order.
bool IsValidEmailAddress(std::string_view address);

// "ATD", the number and a CR, cut to the counted buffer's 255 characters.
std::string DialCommand(std::string_view number);
// A "tel:" link for the desktop's telephony handler: the number's visual
// separators kept, its blanks removed, as the link syntax requires.
std::string TelLink(std::string_view number);
