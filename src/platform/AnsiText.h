#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <string>
#include <string_view>

// The one place where the core's text (UTF-8 in std::string, whatever form
// the data files keep it in) meets Qt's strings. Nothing is lost either way:
// an unpaired surrogate, which no text typed or pasted holds, becomes U+FFFD.
QString FromCore(std::string_view text);
std::string ToCore(QStringView text);

// Offsets between the two: the core counts UTF-8 bytes, Qt UTF-16 units.
// The UTF-16 units of the first `bytes` bytes of a core text.
qsizetype QtOffset(std::string_view text, size_t bytes);
// The UTF-8 bytes of the first `units` units of a Qt text.
size_t CoreOffset(QStringView text, qsizetype units);

// One byte per UTF-16 unit, for the core's ASCII-only scans over a Qt text
// (words, letter cases): ASCII as itself, every other unit as 0x80, so the
// offsets stay Qt's.
std::string CharacterView(QStringView text);

// Characters for a message, each quoted with its code: "ő" (U+0151).
QString NameCharacters(const QStringList& characters);
