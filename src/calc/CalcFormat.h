#pragma once

#include <array>
#include <string>
#include <string_view>

// Texts of the stack display and the reading of typed numbers. The decimal
// separator is "." both ways, whatever the locale, so a copied value pastes
// back as the same number.

// Labels of the display rows, top (level 7) to bottom (X).
inline constexpr std::array<std::string_view, 8> StackLabels
    = { "e", "d", "c", "b", "a", "Z", "Y ø", "X r" };

// Engineering prefix letter of step i (powers of 1000), i = -4..4; step 0 has
// none; "µ" (the micro sign) for step -2.
std::string_view PrefixLetters(int step);

// 15 significant digits: fixed notation for decimal exponents -4..14, else
// d.dddE<exponent>; trailing zeros dropped, zero shown as 0.
std::string GeneralText(double v);

// v scaled by powers of 1000 to lie between 0.1 and 1000 where the prefixes
// reach, in the general format, followed by the prefix letter.
std::string EngineeringText(double v);

// Eight upper-case hexadecimal digits of the low 32 bits of v truncated.
std::string HexText(double v);

// Reads a decimal number: optional blanks, sign, digits, "." and digits, "E" or
// "e" with an optional sign and digits, optional blanks, nothing else. False
// for text that is not a number or is too large for a double; too small a
// value reads as 0 (or a subnormal).
bool ReadDecimal(std::string_view text, double& value);
