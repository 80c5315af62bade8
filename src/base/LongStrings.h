#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions between numbers and 8-bit text shared by the data files, the
// settings, the calculator and the find window. None reads the locale, so what
// they write reads the same on every machine. Positions are 1-based.

inline constexpr std::string_view HexDigits = "0123456789ABCDEF";

char DigitChar(uint8_t n);
// 0..9 for "0".."9"; 0 for any other character.
uint8_t DigitValue(char c);
// "07" for 7; "??" from 100 on.
std::string TwoDigits(uint8_t n);
// 930 gives "0930"; 10000 gives "??00".
std::string FourDigits(uint16_t n);
// Two and four characters read from position p on; the caller checks the length.
uint8_t TwoDigitValue(std::string_view text, size_t p);
uint16_t FourDigitValue(std::string_view text, size_t p);
std::string IntToText(int32_t n);
// An optional "-", then digits up to the first other character; wraps at 32 bits.
int32_t TextToInt(std::string_view text);
// Hex digits (either case) up to the first other character; wraps at 32 bits.
int32_t HexToInt(std::string_view text);
std::string IntToHex(uint32_t n);
std::string IntToHexPadded(uint32_t n, size_t width);
// The first position at or after `start` where `needle` matches, ASCII letters
// compared without case; 0 when there is none or the needle is empty.
size_t FindTextFrom(size_t start, std::string_view needle, std::string_view text);
// ASCII letters only, as FindTextFrom compares them.
char UpCaseAscii(char c);
