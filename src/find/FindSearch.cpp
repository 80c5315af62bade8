#include "find/FindSearch.h"

#include "diary/DiaryStore.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{

// Letters a-z as A-Z; every other byte as itself.
constexpr std::array<char, 256> FoldTable = [] {
    std::array<char, 256> table {};
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)]
            = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return table;
}();

char Fold(char c)
{
    return FoldTable[static_cast<unsigned char>(c)];
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
    if (store.InDiaryWindow(start.Year, start.Month))
        store.StartEventScan(from);
    else
        store.StartEventScan(0);
    for (int pass = 1; pass <= 2;) {
        if (!store.NextScannedEvent()) {
            if (++pass <= 2)
                store.StartEventScan(0);
            continue;
        }
        if (pattern.FoundIn(store.ScanEvent->Description))
            return TDiaryHit { EncodeDate(store.ScanYear, store.ScanMonth, store.ScanDay),
                store.ScanPosition };
    }
    return std::nullopt;
}
