#pragma once

#include <string>
#include <string_view>
#include <vector>

// The numbers dialled and the addresses mailed since the program started, newest
// first, shown again in the drop-down menus of the dial and e-mail buttons.
// Nothing is saved.
inline constexpr size_t MaxHistory = 10;

// Puts `entry` at the top; an entry already held (compared exactly) keeps its
// place, and the oldest of eleven goes. False when nothing changed.
bool AddHistory(std::vector<std::string>& history, std::string_view entry);
// A dial entry is the number, a TAB and the label: what is dialled again is the
// text before the first TAB (the whole entry when it has none).
std::string_view HistoryTarget(std::string_view entry);
