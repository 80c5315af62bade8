#include "calc/CalcFormat.h"

#include "base/LongStrings.h"
#include "calc/CalcFaults.h"

#include <charconv>
#include <cmath>

std::string_view PrefixLetters(int step)
{
    static constexpr std::array<std::string_view, 9> Letters
        = { "p", "n", "µ", "m", "", "k", "M", "G", "T" };
    if (step < -4 || step > 4)
        return {};
    return Letters[static_cast<size_t>(step + 4)];
}

std::string GeneralText(double v)
{
    if (v == 0 || !std::isfinite(v))
        return "0";
    // The shortest correctly rounded 15-digit form, d.dddddddddddddde+xx,
    // does the rounding; the rest only lays its digits out.
    char buffer[40];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, std::fabs(v), std::chars_format::scientific, 14);
    const std::string_view raw(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t expAt = raw.find('e');
    std::string digits;
    for (char c : raw.substr(0, expAt))
        if (c != '.')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::string_view expText = raw.substr(expAt + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    std::string text = v < 0 ? "-" : "";
    if (exponent >= -4 && exponent <= 14) {
        if (exponent < 0) {
            text += "0.";
            text.append(static_cast<size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const size_t intLength = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intLength) {
                text += digits;
                text.append(intLength - digits.size(), '0');
            } else {
                text += digits.substr(0, intLength);
                text += '.';
                text += digits.substr(intLength);
            }
        }
    } else {
        text += digits.front();
        if (digits.size() > 1) {
            text += '.';
            text += digits.substr(1);
        }
        text += 'E';
        text += std::to_string(exponent);
    }
    return text;
}

std::string EngineeringText(double v)
{
    int step = 0;
    while (std::fabs(v) >= 1000 && step < 4) {
        v /= 1000;
        ++step;
    }
    while (std::fabs(v) < 0.1 && step > -4) {
        v *= 1000;
        --step;
    }
    return GeneralText(v) + std::string(PrefixLetters(step));
}

std::string HexText(double v)
{
    return IntToHexPadded(Low32Bits(v), 8);
}

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool ReadDecimal(std::string_view text, double& value)
{
    size_t p = 0;
    const auto skipBlanks = [&] {
        while (p < text.size() && text[p] == ' ')
            ++p;
    };
    skipBlanks();
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        negative = text[p++] == '-';
    std::string intDigits, fracDigits;
    while (p < text.size() && IsDigit(text[p]))
        intDigits += text[p++];
    bool point = false;
    if (p < text.size() && text[p] == '.') {
        point = true;
        ++p;
        while (p < text.size() && IsDigit(text[p]))
            fracDigits += text[p++];
    }
    if (intDigits.empty() && fracDigits.empty() && !point)
        return false;
    int exponent = 0;
    if (p < text.size() && (text[p] == 'E' || text[p] == 'e')) {
        ++p;
        bool expNegative = false;
        if (p < text.size() && (text[p] == '+' || text[p] == '-'))
            expNegative = text[p++] == '-';
        while (p < text.size() && IsDigit(text[p])) {
            if (exponent >= 500)
                return false;
            exponent = exponent * 10 + (text[p++] - '0');
        }
        if (expNegative)
            exponent = -exponent;
    }
    skipBlanks();
    if (p != text.size())
        return false;

    // Decimal exponent of the first significant digit, to tell an overflow
    // from an underflow when the conversion cannot give a double.
    int leadExponent = 0;
    bool anySignificant = false;
    const std::string all = intDigits + fracDigits;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i] != '0') {
            leadExponent = static_cast<int>(intDigits.size()) - 1 - static_cast<int>(i) + exponent;
            anySignificant = true;
            break;
        }
    if (!anySignificant) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    const std::string normal = (intDigits.empty() ? std::string("0") : intDigits) + "."
        + (fracDigits.empty() ? std::string("0") : fracDigits) + "e" + std::to_string(exponent);
    double read = 0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), read);
    if (result.ec == std::errc::result_out_of_range) {
        if (leadExponent > 0)
            return false;
        read = 0;
    } else if (result.ec != std::errc() || result.ptr != normal.data() + normal.size())
        return false;
    value = negative ? -read : read;
    return true;
}
