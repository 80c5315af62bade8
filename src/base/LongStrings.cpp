#include "base/LongStrings.h"

char DigitChar(uint8_t n)
{
    return static_cast<char>(48 + n);
}

uint8_t DigitValue(char c)
{
    return c >= '0' && c <= '9' ? static_cast<uint8_t>(c - '0') : 0;
}

std::string TwoDigits(uint8_t n)
{
    if (n > 99)
        return "??";
    return { DigitChar(static_cast<uint8_t>(n / 10)), DigitChar(static_cast<uint8_t>(n % 10)) };
}

std::string FourDigits(uint16_t n)
{
    return TwoDigits(static_cast<uint8_t>(n / 100)) + TwoDigits(static_cast<uint8_t>(n % 100));
}

uint8_t TwoDigitValue(std::string_view text, size_t p)
{
    return static_cast<uint8_t>(DigitValue(text[p - 1]) * 10 + DigitValue(text[p]));
}

uint16_t FourDigitValue(std::string_view text, size_t p)
{
    return static_cast<uint16_t>(TwoDigitValue(text, p) * 100 + TwoDigitValue(text, p + 2));
}

std::string IntToText(int32_t n)
{
    // Work on the unsigned magnitude so the most negative value has one.
    uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    std::string digits;
    do {
        digits.insert(digits.begin(), DigitChar(static_cast<uint8_t>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return n < 0 ? "-" + digits : digits;
}

int32_t TextToInt(std::string_view text)
{
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        i = 1;
    uint32_t result = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        result = result * 10 + static_cast<uint32_t>(text[i] - '0');
    return static_cast<int32_t>(negative ? 0u - result : result);
}

int32_t HexToInt(std::string_view text)
{
    uint32_t result = 0;
    for (const char c : text) {
        uint32_t value;
        if (c >= '0' && c <= '9')
            value = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            value = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            value = static_cast<uint32_t>(c - 'a' + 10);
        else
            break;
        result = result * 16 + value;
    }
    return static_cast<int32_t>(result);
}

std::string IntToHex(uint32_t n)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), HexDigits[n % 16]);
        n /= 16;
    } while (n != 0);
    return digits;
}

std::string IntToHexPadded(uint32_t n, size_t width)
{
    std::string text = IntToHex(n);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

char UpCaseAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

size_t FindTextFrom(size_t start, std::string_view needle, std::string_view text)
{
    const size_t n = needle.size();
    if (n == 0 || start == 0)
        return 0;
    for (size_t s = start; s + n - 1 <= text.size(); ++s) {
        size_t k = 0;
        while (k < n && UpCaseAscii(text[s - 1 + k]) == UpCaseAscii(needle[k]))
            ++k;
        if (k == n)
            return s;
    }
    return 0;
}
