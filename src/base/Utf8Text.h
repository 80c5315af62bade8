#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The core's text is UTF-8. The data files hold it in one of two forms: the
// 8-bit form (Windows-1252, byte for byte as the program always wrote it) or,
// once they must hold a character Windows-1252 has not, UTF-8 after the mark
// EF BB BF. These are the conversions between the two, and what the core needs
// to count and cut text by characters.

enum TTextForm : uint8_t { tfAnsi, tfUtf8 };

// The byte order mark that begins a data file kept as UTF-8.
inline constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
// What an invalid byte sequence reads as: U+FFFD.
inline constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

// What a load learnt of a data file's text: its form, and whether a UTF-8 one
// held bytes that are not UTF-8 (read as U+FFFD).
struct TTextRead {
    TTextForm Form = tfAnsi;
    bool Invalid = false;
};

// True when the text begins with the mark.
bool StartsWithUtf8Mark(std::string_view bytes);

// Windows-1252 to UTF-8. The five bytes Windows-1252 leaves undefined (81, 8D,
// 8F, 90, 9D) read as the C1 controls of the same number, so every byte comes
// back as it was.
void AppendAnsiAsUtf8(std::string& out, std::string_view ansi);
std::string AnsiToUtf8(std::string_view ansi);
// The UTF-8 size of a Windows-1252 text.
size_t Utf8SizeOfAnsi(std::string_view ansi);

// True when every character of the (valid) UTF-8 text has a Windows-1252 byte.
bool FitsAnsi(std::string_view utf8);
// UTF-8 to Windows-1252, for a text that FitsAnsi; a character without a byte
// of its own (never there when it fits) is left out.
void AppendUtf8AsAnsi(std::string& out, std::string_view utf8);
std::string Utf8ToAnsi(std::string_view utf8);

// True when every byte is below 0x80: the text is the same in both forms.
bool IsAscii(std::string_view text);
// A line of a file in the given form as UTF-8: `text` itself when nothing
// needs converting, else the converted text in `scratch`. Bytes of a UTF-8
// text that are not UTF-8 read as U+FFFD and set `invalid`.
std::string_view DecodeLine(
    std::string_view text, TTextForm form, std::string& scratch, bool& invalid);
// A (valid) UTF-8 text as a file in the given form holds it: `text` itself,
// or the Windows-1252 bytes in `scratch`.
std::string_view EncodeLine(std::string_view text, TTextForm form, std::string& scratch);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
// The bytes with every ill-formed sequence (each maximal part of one) read as
// U+FFFD; valid text comes back as it is.
std::string RepairUtf8(std::string_view bytes);

// The character that starts at `pos` of a valid text, `pos` moved past it.
char32_t NextCharacter(std::string_view utf8, size_t& pos);
void AppendCharacter(std::string& out, char32_t c);
// The number of characters in a valid text.
size_t CharacterCount(std::string_view utf8);
// The bytes of the first `characters` characters (the whole text when it has
// fewer): a cut there never splits a character.
size_t CharacterPrefixSize(std::string_view utf8, size_t characters);
// The last character boundary at or before `bytes`.
size_t CharacterBoundary(std::string_view utf8, size_t bytes);

// The simple case folding of a character (capitals to small letters, in every
// script with cases); a character without a case is itself.
char32_t FoldCase(char32_t c);
