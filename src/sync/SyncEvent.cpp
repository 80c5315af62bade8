#include "sync/SyncEvent.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace
{

uint16_t Serial(uint16_t year, uint16_t month)
{
    return static_cast<uint16_t>((year - 1900) * 12 + month);
}

// Unicode of the bytes 0x80..0x9F; 0 for the five that Windows-1252 leaves out,
// which stand for themselves.
constexpr std::array<char32_t, 32> High { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character at `pos` and its length; length 0 when the bytes there are not UTF-8.
std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t pos)
{
    const auto b = static_cast<unsigned char>(text[pos]);
    size_t length = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (b >= 0xF5 || pos + length > text.size())
        return { 0, 0 };
    char32_t c = length == 4 ? b & 0x07 : length == 3 ? b & 0x0F : b & 0x1F;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return { 0, 0 };
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return { 0, 0 };
    return { c, length };
}

} // namespace

bool TSyncWindow::Contains(uint16_t year, uint16_t month) const
{
    const uint16_t today = Serial(Year, Month);
    const uint16_t s = Serial(year, month);
    return static_cast<uint16_t>(today - 1) <= s && s <= static_cast<uint16_t>(today + 10);
}

uint16_t TSyncWindow::YearOf(uint16_t month) const
{
    if (month + 1 == Month || (Month == 1 && month == 12))
        return Month == 1 ? Year - 1 : Year;
    return month >= Month ? Year : Year + 1;
}

TCivilDate TSyncWindow::First() const
{
    return Month == 1 ? TCivilDate { static_cast<uint16_t>(Year - 1), 12, 1 }
                      : TCivilDate { Year, static_cast<uint16_t>(Month - 1), 1 };
}

TCivilDate TSyncWindow::Last() const
{
    const uint16_t month = static_cast<uint16_t>((Month + 9) % 12 + 1);
    const uint16_t year = YearOf(month);
    return { year, month, static_cast<uint16_t>(DaysInMonth(year, month)) };
}

uint64_t TextDigest(std::string_view text)
{
    uint64_t digest = 0xCBF29CE484222325;
    for (const char c : text) {
        digest ^= static_cast<unsigned char>(c);
        digest *= 0x100000001B3;
    }
    return digest;
}

TFingerprint FingerprintOf(const TSyncEvent& event)
{
    return { event.Date, event.Time, static_cast<uint8_t>(event.Type), event.Locked,
        TextDigest(event.Description) };
}

std::string TFingerprint::ToText() const
{
    char text[48];
    std::snprintf(text, sizeof text, "%04u%02u%02u %04u %u %u %016llx", Date.Year, Date.Month,
        Date.Day, Time, Type, Locked, static_cast<unsigned long long>(Text));
    return text;
}

std::optional<TFingerprint> TFingerprint::FromText(std::string_view text)
{
    // Fixed layout: date, time, type, locked and digest, each after one blank.
    if (text.size() != 34 || text[8] != ' ' || text[13] != ' ' || text[15] != ' '
        || text[17] != ' ')
        return std::nullopt;
    const auto number = [&](size_t from, size_t length, auto& value, int base = 10) {
        const char* first = text.data() + from;
        const auto [end, error] = std::from_chars(first, first + length, value, base);
        return error == std::errc() && end == first + length;
    };
    TFingerprint print;
    unsigned type = 0;
    unsigned locked = 0;
    if (!number(0, 4, print.Date.Year) || !number(4, 2, print.Date.Month)
        || !number(6, 2, print.Date.Day) || !number(9, 4, print.Time) || !number(14, 1, type)
        || !number(16, 1, locked) || !number(18, 16, print.Text, 16) || type > 3 || locked > 1)
        return std::nullopt;
    print.Type = static_cast<uint8_t>(type);
    print.Locked = static_cast<uint8_t>(locked);
    return print;
}

std::string DiaryToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        const char32_t c = b >= 0x80 && b < 0xA0 && High[b - 0x80] ? High[b - 0x80] : b;
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToDiary(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const auto [c, length] = DecodeUtf8(text, pos);
        if (length == 0) { // not UTF-8: the byte is taken as it is
            out += text[pos++];
            continue;
        }
        pos += length;
        char byte = '?';
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            byte = static_cast<char>(c);
        } else {
            for (size_t i = 0; i < High.size(); ++i)
                if (High[i] == c || (High[i] == 0 && c == 0x80 + i))
                    byte = static_cast<char>(0x80 + i);
        }
        out += byte;
    }
    return out;
}
