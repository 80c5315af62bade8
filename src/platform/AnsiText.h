#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

// The one place where the core's 8-bit text (Windows-1252, as the data files
// hold it) meets Qt's Unicode strings.
QString FromAnsi(std::string_view text);
// Characters that Windows-1252 cannot hold become "?".
std::string ToAnsi(const QString& text);

// The characters of `text` that Windows-1252 cannot hold (ToAnsi would make
// them "?"), each once, in the order they first appear; a character beyond
// U+FFFF stays whole. Empty when the text can be stored as it is.
QStringList UnstorableCharacters(const QString& text);
// The characters for a message, each quoted with its code: "ő" (U+0151).
QString NameCharacters(const QStringList& characters);
