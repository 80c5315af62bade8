#include "find/FindSearch.h"

#include "base/Utf8Text.h"
#include "diary/DiaryStore.h"
#include "notes/NotesTree.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{

// The ASCII characters folded, so most of a text is compared a byte at a time.
constexpr std::array<char32_t, 128> AsciiFolded = [] {
    std::array<char32_t, 128> table {};
    for (char32_t c = 0; c < 128; ++c)
        table[c] = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
    return table;
}();

// The folded character at `pos`, `pos` moved past it.
char32_t FoldedAt(std::string_view text, size_t& pos)
{
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
        ++pos;
        return AsciiFolded[byte];
    }
    return FoldCase(NextCharacter(text, pos));
}

// The category after `node` in depth-first pre-order, or null at the end.
TNoteNode* NextCategory(const TNotesTree& tree, const TNoteNode& node)
{
    if (!node.Children.empty())
        return node.Children.front().get();
    for (const TNoteNode* n = &node; n; n = n->Parent) {
        const std::vector<TNoteLink>& siblings = tree.ChildrenOf(n->Parent);
        if (n->Row + 1 < siblings.size())
            return siblings[n->Row + 1].get();
    }
    return nullptr;
}

size_t FindInData(const TTextPattern& pattern, size_t start, const TNoteNode& node)
{
    return node.Data ? FindInLines(pattern, start, node.Data->Lines) : 0;
}

} // namespace

TTextPattern::TTextPattern(std::string_view needle)
{
    for (size_t pos = 0; pos < needle.size();)
        Folded += FoldedAt(needle, pos);
}

bool TTextPattern::MatchesAt(std::string_view text, size_t pos) const
{
    for (const char32_t c : Folded)
        if (pos >= text.size() || FoldedAt(text, pos) != c)
            return false;
    return true;
}

size_t TTextPattern::FindFrom(size_t start, std::string_view text) const
{
    // Every character takes a byte at least.
    if (Folded.empty() || start == 0 || text.size() < Folded.size()
        || start - 1 > text.size() - Folded.size())
        return 0;
    const char32_t first = Folded[0];
    for (size_t i = start - 1; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (AsciiFolded[byte] == first && MatchesAt(text, i))
                return i + 1;
            ++i;
        } else if ((byte & 0xC0) == 0x80) {
            ++i; // a start inside a character goes on from the next one
        } else {
            size_t next = i;
            if (FoldedAt(text, next) == first && MatchesAt(text, i))
                return i + 1;
            i = next;
        }
    }
    return 0;
}

void AddToFindHistory(std::vector<std::string>& history, const std::string& text, bool picked)
{
    if (text.empty() || picked || (!history.empty() && history.front() == text))
        return;
    if (history.size() >= FindHistoryLimit)
        history.resize(FindHistoryLimit - 1);
    history.insert(history.begin(), text);
}

std::optional<TDiaryHit> FindInDiary(TDiaryStore& store, std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const TTextPattern pattern(text);
    store.SelectCalendarDay();
    const TDateTime from = DateOf(store.CalendarDate()) + 1;
    const TCivilDate start = DecodeDate(from);
    // A day outside the diary window has no slots of its own (they hold other
    // months' events): the first pass then covers the whole window.
    const bool fromStart = !store.InDiaryWindow(start.Year, start.Month);
    store.StartEventScan(fromStart ? 0 : from);
    // The second pass need not go past where the first one began: it found
    // nothing from there on.
    const auto key = [](int year, int month, int day) { return (year * 100 + month) * 100 + day; };
    const int firstPassStart = key(start.Year, start.Month, start.Day);
    bool secondPass = false;
    for (;;) {
        if (!store.NextScannedEvent()) {
            if (secondPass || fromStart)
                break;
            secondPass = true;
            store.StartEventScan(0);
            continue;
        }
        if (secondPass && key(store.ScanYear, store.ScanMonth, store.ScanDay) >= firstPassStart)
            break;
        if (pattern.FoundIn(store.ScanEvent->Description))
            return TDiaryHit { EncodeDate(store.ScanYear, store.ScanMonth, store.ScanDay),
                store.ScanPosition };
    }
    return std::nullopt;
}

size_t FindInLines(const TTextPattern& pattern, size_t start, const TNoteLines& lines)
{
    if (start == 0)
        return 0;
    if (pattern.SpansLines()) {
        std::string joined;
        joined.reserve(lines.Bytes() + 2 * lines.size());
        for (const std::string_view line : lines) {
            joined += line;
            joined += "\r\n";
        }
        return pattern.FindFrom(start, joined);
    }
    // A text without line breaks is found within one line.
    size_t offset = 0; // of the current line's first character, 0-based
    for (const std::string_view line : lines) {
        const size_t next = offset + line.size() + 2;
        if (start <= offset + line.size()) {
            const size_t from = start > offset ? start - offset : 1;
            if (const size_t found = pattern.FindFrom(from, line))
                return offset + found;
        }
        offset = next;
    }
    return 0;
}

std::optional<TNotesHit> FindInNotes(
    const TNotesTree& tree, TNoteNode* selected, size_t start, std::string_view text)
{
    const TTextPattern pattern(text);
    if (text.empty())
        return std::nullopt;
    TNoteNode* node = nullptr;
    if (selected) {
        if (const size_t found = FindInData(pattern, start, *selected))
            return TNotesHit { selected, found };
        node = NextCategory(tree, *selected);
    } else {
        node = tree.Root();
    }
    for (; node; node = NextCategory(tree, *node)) {
        if (pattern.FoundIn(node->Name))
            return TNotesHit { node, 0 };
        if (const size_t found = FindInData(pattern, 1, *node))
            return TNotesHit { node, found };
    }
    return std::nullopt;
}
