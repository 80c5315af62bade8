#include "sync/SyncEvent.h"

#include "base/Utf8Text.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace
{

uint16_t Serial(uint16_t year, uint16_t month)
{
    return static_cast<uint16_t>((year - 1900) * 12 + month);
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
