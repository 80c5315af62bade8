#include "ical/IcalText.h"

#include "base/Utf8Text.h"

#include <array>
#include <cstdint>

namespace
{

// Windows-1252's characters 0x80..0x9F; 0 where the code page has none (those
// bytes stand for the control characters of the same number).
constexpr std::array<char16_t, 32> High1252 { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D,
    0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

char32_t FromByte1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && High1252[byte - 0x80] != 0)
        return High1252[byte - 0x80];
    return byte;
}

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

// The length of the well-formed UTF-8 sequence at `pos` and its character;
// 0 when the bytes there are not one.
size_t ReadUtf8(std::string_view text, size_t pos, char32_t& c)
{
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace

std::string DiaryTextFromUtf8(std::string_view text)
{
    return RepairUtf8(text);
}

std::string Utf8FromDiaryText(std::string_view text)
{
    return std::string(text);
}

std::string ToUtf8(std::string_view bytes, bool& guessed)
{
    guessed = false;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    else if (bytes.starts_with("\xFF\xFE"))
        return FromUtf16(bytes.substr(2), false);
    else if (bytes.starts_with("\xFE\xFF"))
        return FromUtf16(bytes.substr(2), true);
    std::string out;
    out.reserve(bytes.size());
    for (size_t pos = 0; pos < bytes.size();) {
        char32_t c = 0;
        const size_t length = ReadUtf8(bytes, pos, c);
        if (length) {
            out.append(bytes.substr(pos, length));
            pos += length;
        } else {
            guessed = true;
            AppendUtf8(out, FromByte1252(static_cast<unsigned char>(bytes[pos])));
            ++pos;
        }
    }
    return out;
}

bool CutUtf8(std::string& text, size_t limit)
{
    size_t characters = 0;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if ((static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
            continue;
        if (characters++ == limit) {
            text.erase(pos);
            return true;
        }
    }
    return false;
}
