#include "ical/IcalImport.h"

#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

// What an import adds to the diary, and how it asks first.

namespace
{

using TEventKey = std::tuple<uint16_t, uint16_t, std::string_view>;

std::string_view Trimmed(std::string_view text)
{
    const size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string Count(size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

TIcalImport ReadIcsFile(const std::filesystem::path& path, const TIcalImportSettings& settings)
{
    TIcalImport import;
    // Only a plain file has a size to trust: a device or a pipe could be endless.
    std::error_code error;
    const uintmax_t size = std::filesystem::is_regular_file(path, error)
        ? std::filesystem::file_size(path, error)
        : 0;
    std::ifstream file;
    if (!error && std::filesystem::is_regular_file(path, error))
        file.open(path, std::ios::binary);
    if (error || !file.is_open()) {
        import.Error = "The file cannot be read.";
        return import;
    }
    if (size > MaxIcsFileBytes) {
        import.Error = "The file is too large to be a calendar (" + std::to_string(size >> 20)
            + " MB; at most " + std::to_string(MaxIcsFileBytes >> 20) + " MB can be imported).";
        return import;
    }
    std::string bytes;
    bytes.reserve(size);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        import.Error = "The file cannot be read.";
        return import;
    }
    return ReadIcs(bytes, settings);
}

void LeaveOutPresent(TIcalImport& import, const TDiaryDays& days)
{
    std::set<TEventKey> present;
    for (uint16_t slot = 0; slot < DiaryDayCount; ++slot)
        for (const TDiaryEvent* event = days[slot].get(); event; event = event->Next.get())
            present.emplace(slot, event->Time, Trimmed(event->Description.view()));
    std::vector<TImportedEvent> kept;
    for (TImportedEvent& event : import.Events) {
        const TEventKey key { DayIndex(event.Month, event.Day), event.Time,
            Trimmed(event.Description) };
        if (present.count(key)) {
            ++import.Present;
            continue;
        }
        kept.push_back(std::move(event));
    }
    import.Events = std::move(kept);
}

void ApplyIcalImport(const TIcalImport& import, TDiaryDays& days)
{
    std::set<uint16_t> touched;
    std::array<TEventLink*, DiaryDayCount> ends {};
    for (const TImportedEvent& imported : import.Events) {
        const uint16_t slot = DayIndex(imported.Month, imported.Day);
        TEventLink*& end = ends[slot];
        if (!end)
            end = &ListEnd(days[slot]);
        *end = NewEvent();
        TDiaryEvent& event = **end;
        event.Description = imported.Description;
        event.Time = imported.Time;
        event.EventType = imported.EventType;
        event.Locked = imported.Locked ? 1 : 0;
        end = &event.Next;
        touched.insert(slot);
    }
    for (const uint16_t slot : touched)
        SortDay(days[slot]);
}

std::string ImportQuestion(const TIcalImport& import)
{
    std::string text;
    if (!import.Error.empty()) {
        text = import.Error;
    } else if (import.Events.empty()) {
        text = "There is nothing to import.";
    } else {
        text = "Import " + Count(import.Events.size(), "event", "events") + "?";
    }
    std::vector<std::string> notes;
    if (import.Outside > 0)
        notes.push_back(import.Outside == 1 ? "1 lies outside the diary's year and is left out"
                                            : std::to_string(import.Outside)
                    + " lie outside the diary's year and are left out");
    if (import.Present > 0)
        notes.push_back(import.Present == 1
                ? "1 is in the diary already"
                : std::to_string(import.Present) + " are in the diary already");
    if (import.Cut > 0)
        notes.push_back(Count(import.Cut, "description is", "descriptions are") + " cut to fit");
    for (size_t i = 0; i < notes.size(); ++i)
        text += (i == 0 ? " " : "; ") + notes[i];
    if (!notes.empty())
        text += ".";
    constexpr size_t ShownProblems = 8;
    if (!import.Problems.empty())
        text += "\n\nProblems:";
    for (size_t i = 0; i < import.Problems.size() && i < ShownProblems; ++i)
        text += "\n" + import.Problems[i];
    if (import.Problems.size() > ShownProblems)
        text += "\n(" + Count(import.Problems.size() - ShownProblems, "more", "more") + ")";
    return text;
}
