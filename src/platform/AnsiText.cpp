#include "platform/AnsiText.h"

#include <array>

namespace
{

// Unicode of the bytes 0x80..0x9F; the five bytes Windows-1252 leaves undefined
// map to the C1 controls of the same number, so every byte round-trips.
constexpr std::array<char16_t, 32> High { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019,
    0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E,
    0x0178 };

char16_t ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return High[byte - 0x80];
    return byte;
}

// The byte that holds `u`, or nothing.
bool AnsiByte(char16_t u, char& byte)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        byte = static_cast<char>(u);
        return true;
    }
    for (size_t i = 0; i < High.size(); ++i)
        if (High[i] == u) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

} // namespace

QString FromAnsi(std::string_view text)
{
    QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char c : text)
        *out++ = QChar(ToUnicode(static_cast<unsigned char>(c)));
    return result;
}

std::string ToAnsi(const QString& text)
{
    std::string result;
    result.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        char byte = '?';
        AnsiByte(c.unicode(), byte);
        result.push_back(byte);
    }
    return result;
}

QStringList UnstorableCharacters(const QString& text)
{
    QStringList found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char byte;
        if (AnsiByte(text[i].unicode(), byte))
            continue;
        const bool pair
            = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if (!found.contains(character))
            found << character;
    }
    return found;
}

QString NameCharacters(const QStringList& characters)
{
    QStringList names;
    for (const QString& character : characters) {
        const char32_t code = character.size() == 2
            ? QChar::surrogateToUcs4(character[0], character[1])
            : character[0].unicode();
        const QString hex = QString::number(code, 16).toUpper().rightJustified(4, u'0');
        names << QStringLiteral("\"%1\" (U+%2)").arg(character, hex);
    }
    return names.join(QStringLiteral(", "));
}
