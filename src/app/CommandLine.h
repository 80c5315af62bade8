#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

// The arguments that answer on the terminal and end at once, before any window
// exists or a running copy is asked to restore: "--help", "--version" and
// "--export-ics". The other arguments are the main window's to read.
namespace CommandLine
{

inline constexpr const char* Hidden = "--hidden";
inline constexpr const char* Help = "--help";
inline constexpr const char* Version = "--version";
inline constexpr const char* ExportIcs = "--export-ics";
inline constexpr const char* ImportIcs = "--import-ics";
inline constexpr const char* SyncNow = "--sync-now";

// What to print for these arguments (without the program's name), or nothing
// when the program should start.
std::optional<std::string> TerminalAnswer(const std::vector<std::string>& arguments);

// The file named after "--export-ics" ("-" for standard output); an empty
// name when the argument has none; nothing without the argument.
std::optional<std::string> ExportIcsFile(const std::vector<std::string>& arguments);

// The calendar files to import: each after "--import-ics", and each existing
// file named alone (as the desktop opens one). `rest` gets the other arguments.
QStringList ImportIcsFiles(const QStringList& arguments, QStringList& rest);

std::string UsageText();
std::string VersionText();

} // namespace CommandLine
