#pragma once

#include "base/DateTime.h"
#include "notes/NoteLines.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TDiaryStore;
class TNotesTree;
struct TNoteNode;

// The searches of the find window, over the stores, and its history.

inline constexpr size_t FindHistoryLimit = 20;

// A search text prepared for many texts. FindFrom gives the 1-based byte
// position of the first match at or after `start` in a UTF-8 text, or 0;
// letters match whatever their case, in every script that has cases (simple
// case folding, so one character always matches one character).
class TTextPattern
{
public:
    explicit TTextPattern(std::string_view needle);
    size_t FindFrom(size_t start, std::string_view text) const;
    bool FoundIn(std::string_view text) const { return FindFrom(1, text) > 0; }
    // The text holds a CR or LF, so a match may run over a line's end.
    bool SpansLines() const { return Folded.find_first_of(U"\r\n") != std::u32string::npos; }

private:
    bool MatchesAt(std::string_view text, size_t pos) const;

    std::u32string Folded;
};

// Puts a search text at the top of the history (newest first, at most 20): a
// typed text that differs from the newest entry (capitals count) is added,
// pushing the oldest out; a text picked from the list, or equal to the newest,
// leaves the history as it is.
void AddToFindHistory(std::vector<std::string>& history, const std::string& text, bool picked);

// Where a diary search stopped: the day, and the event's 1-based place in the
// day's list.
struct TDiaryHit {
    TDateTime Day = 0;
    uint16_t Position = 0;
};

// The next day after the calendar's that holds an event whose description
// contains `text` (letters in either case), wrapping once from the end of
// the diary window to its start, so the calendar's own day comes last; on a
// day, its first such event in time order. The calendar's day is committed
// and sorted first. Nothing for an empty text.
std::optional<TDiaryHit> FindInDiary(TDiaryStore& store, std::string_view text);

// The 1-based position of the first match at or after `start` in the lines
// joined with CR LF after every line, or 0; the lines are not joined.
size_t FindInLines(const TTextPattern& pattern, size_t start, const TNoteLines& lines);

// Where a notes search stopped: the category, and either its name (Position
// 0) or the 1-based position of the match in its joined text.
struct TNotesHit {
    TNoteNode* Node = nullptr;
    size_t Position = 0;
    bool InName() const { return Position == 0; }
};

// Searches from `start` in the selected category's text, then, down the tree
// in depth-first pre-order, each later category's name and then its text. It
// never wraps to the top. With no category selected the search covers the
// whole tree from its first category, name included.
std::optional<TNotesHit> FindInNotes(
    const TNotesTree& tree, TNoteNode* selected, size_t start, std::string_view text);
