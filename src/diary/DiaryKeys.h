#pragma once

#include "diary/DiaryEvent.h"

#include <cstdint>
#include <string>
#include <string_view>

// What typing does to an event on the diary grid, apart from the widgets.

// The grid's columns, left to right.
enum TDiaryColumn : int { dcLocked = 0, dcEventType = 1, dcTime = 2, dcDescription = 3 };
inline constexpr int DiaryColumnCount = 4;

inline constexpr char BackspaceKey = 8;

// A time the clock reaches: hours up to 23 and minutes up to 59. 0 (no time)
// is one of them.
bool IsClockTime(uint16_t time);
// Why a typed time is refused, in the user's words; empty for a clock time.
std::string WrongTimeReason(uint16_t time);

// A character typed on the event's cell in `column`. True when the key is used
// up; false leaves it to the grid, and in the Description column to the cell
// editor. While `timeEntryFresh` is set, the next digit starts a new time and
// a backspace clears the time; digits clear it, half-hour steps set it. Digits
// build the time up to four of them (a fifth is used up and ignored), the
// times the clock never reaches (12:75, 25:00) included.
bool EventKeyPress(TDiaryEvent& event, int column, char key, bool& timeEntryFresh);

// The Delete key, and Cut: the field of the column goes back to its empty value.
void ClearEventField(TDiaryEvent& event, int column);

// A description holds one line: the text up to its first line break or
// end-of-file mark, which the diary file could not hold.
std::string FirstLine(std::string_view text);
