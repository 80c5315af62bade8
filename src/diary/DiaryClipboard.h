#pragma once

#include "base/DateTime.h"
#include "diary/DiaryEvent.h"

#include <string>
#include <string_view>

class TDiaryStore;

// The diary grid's clipboard texts and its two edits across the diary.

// One field as text: the lock and the type as one digit, the time as four
// digits hhmm ("0930"; "0000" for no time), the description as it is.
std::string FieldClipText(const TDiaryEvent& event, int column);

// The whole event: lock digit, tab, type digit, tab, hhmm, tab, description.
std::string EventRecordText(const TDiaryEvent& event);

// True for the text of a whole event whose fields are all valid.
bool IsEventRecord(std::string_view text);

// Takes a clipboard text into the event. An event record whose fields are all
// valid (lock "0" or "1", type "0" to "3", a clock time hhmm) sets every field,
// whatever the column; anything else sets the column's field alone: the lock
// from exactly "1" (any other text unlocks), the type from a single character,
// the time from exactly four characters, the description from the whole text.
// Non-digits read as 0. A type above 3 or a time the clock never shows (hours
// over 23, minutes over 59) is refused and that field keeps its value. A
// description keeps its first line only.
void PasteText(TDiaryEvent& event, int column, std::string_view text);

// Copies the event, unlocked, to the same week day of every week after
// `chosen` that lies in the diary window, each copy sorted into its day.
// Returns the number of copies made; an event without a description makes none.
int RepeatWeekly(TDiaryStore& store, const TDiaryEvent& source, TDateTime chosen);

// Deletes every event with the time and the description of `alike` (compared
// exactly, case and all, trailing blanks aside) from the `chosen` day to the
// end of the diary window, whatever its type or lock, `alike` included. The
// selected day's working list is committed first, without sorting, so the
// events being edited are among those deleted; afterwards the selected day is
// loaded again. An empty description deletes nothing. Returns the number
// deleted.
int ClearAlike(TDiaryStore& store, const TDiaryEvent& alike, TDateTime chosen);
