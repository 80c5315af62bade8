#include "platform/AnsiText.h"

QString FromCore(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToCore(QStringView text)
{
    // Qt would write "?" for an unpaired surrogate.
    QString paired;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair
            = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) {
            ++i;
        } else if (text[i].isSurrogate()) {
            if (paired.isNull())
                paired = text.toString();
            paired[i] = QChar::ReplacementCharacter;
        }
    }
    const QByteArray utf8 = paired.isNull() ? text.toUtf8() : paired.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

qsizetype QtOffset(std::string_view text, size_t bytes)
{
    qsizetype units = 0;
    for (size_t i = 0; i < std::min(bytes, text.size()); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // A lead byte starts one unit, a four-byte one a surrogate pair.
        units += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

size_t CoreOffset(QStringView text, qsizetype units)
{
    size_t bytes = 0;
    for (qsizetype i = 0; i < std::min(units, text.size()); ++i) {
        const char16_t u = text[i].unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isSurrogate(u) ? 2 : 3;
    }
    return bytes;
}

std::string CharacterView(QStringView text)
{
    std::string view(static_cast<size_t>(text.size()), '\x80');
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].unicode() < 0x80)
            view[static_cast<size_t>(i)] = static_cast<char>(text[i].unicode());
    return view;
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
