#include "find/FindSearch.h"

#include "diary/DiaryStore.h"
#include "notes/NotesTree.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{

// Letters a-z as A-Z; every other byte as itself.
constexpr std::array<char, 256> FoldTable = [] {
    std::array<char, 256> table {};
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return table;
}();

char Fold(char c)
{
    return FoldTable[static_cast<unsigned char>(c)];
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
    : Folded(needle)
{
    for (char& c : Folded)
        c = Fold(c);
}

size_t TTextPattern::FindFrom(size_t start, std::string_view text) const
{
    const size_t n = Folded.size();
    if (n == 0 || start == 0 || text.size() < n)
        return 0;
    const char first = Folded[0];
    const char* data = text.data();
    const size_t last = text.size() - n;
    for (size_t i = start - 1; i <= last; ++i) {
        if (Fold(data[i]) != first)
            continue;
        size_t k = 1;
        while (k < n && Fold(data[i + k]) == Folded[k])
            ++k;
        if (k == n)
            return i + 1;
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

size_t FindInLines(const TTextPattern& pattern, size_t start, const std::vector<std::string>& lines)
{
    if (start == 0)
        return 0;
    if (pattern.SpansLines()) {
        std::string joined;
        for (const std::string& line : lines) {
            joined += line;
            joined += "\r\n";
        }
        return pattern.FindFrom(start, joined);
    }
    // A text without line breaks is found within one line.
    size_t offset = 0; // of the current line's first character, 0-based
    for (const std::string& line : lines) {
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
