#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one place where the core's 8-bit text (Windows-1252, as the data files
// hold it) meets Qt's Unicode strings.
QString FromAnsi(std::string_view text);
// Characters that Windows-1252 cannot hold become "?".
std::string ToAnsi(const QString& text);
