#include "alarms/SnoozeList.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace
{

bool ReadNumber(std::string_view& text, int64_t& value, char end)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error != std::errc() || stop == last || *stop != end)
        return false;
    text.remove_prefix(static_cast<size_t>(stop - first) + 1);
    return true;
}

// One line without its end; false when it is not a snooze.
bool ParseLine(std::string_view line, TSnoozeList::TSnooze& snooze)
{
    int64_t due = 0, year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!ReadNumber(line, due, ' ') || !ReadNumber(line, year, '-') || !ReadNumber(line, month, '-')
        || !ReadNumber(line, day, ' ') || !ReadNumber(line, hour, ':')
        || !ReadNumber(line, minute, ' '))
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), date)
        || !IsValidTime(static_cast<int>(hour), static_cast<int>(minute)))
        return false;
    snooze.Due = due;
    snooze.Alarm = { static_cast<int32_t>(date), static_cast<uint16_t>(hour * 100 + minute),
        std::string(line) };
    return true;
}

} // namespace

TSnoozeList::TSnoozeList(const std::filesystem::path& folder)
    : File(folder / SnoozeFileName)
{
}

void TSnoozeList::Load()
{
    std::string text;
    File.Read(text);
    List = Parse(text);
}

bool TSnoozeList::Add(const TAlarmEvent& alarm, int64_t due, TDateTime now)
{
    std::erase_if(List, [&](const TSnooze& snooze) { return snooze.Alarm == alarm; });
    List.push_back({ due, alarm });
    std::ranges::stable_sort(List, {}, &TSnooze::Due);
    return Save(now);
}

std::vector<TSnoozeList::TSnooze> TSnoozeList::TakeDue(int64_t now, TDateTime clock)
{
    const auto firstLater
        = std::ranges::find_if(List, [now](const TSnooze& snooze) { return snooze.Due > now; });
    std::vector<TSnooze> due(List.begin(), firstLater);
    if (due.empty())
        return due;
    List.erase(List.begin(), firstLater);
    // A refused write rings them once more at the next start, which is the
    // lesser harm than never.
    Save(clock);
    return due;
}

std::string TSnoozeList::Format(const std::vector<TSnooze>& snoozes)
{
    std::string text;
    for (const TSnooze& snooze : snoozes) {
        const TCivilDate date = DecodeDate(snooze.Alarm.Day);
        char head[64];
        std::snprintf(head, sizeof head, "%lld %04u-%02u-%02u %02u:%02u ",
            static_cast<long long>(snooze.Due), unsigned(date.Year), unsigned(date.Month),
            unsigned(date.Day), unsigned(snooze.Alarm.Time / 100),
            unsigned(snooze.Alarm.Time % 100));
        text += head;
        text += snooze.Alarm.Description;
        text += "\r\n";
    }
    return text;
}

std::vector<TSnoozeList::TSnooze> TSnoozeList::Parse(std::string_view text)
{
    std::vector<TSnooze> snoozes;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        TSnooze snooze;
        if (ParseLine(line, snooze))
            snoozes.push_back(std::move(snooze));
    }
    std::ranges::stable_sort(snoozes, {}, &TSnooze::Due);
    return snoozes;
}

bool TSnoozeList::Save(TDateTime now)
{
    return File.Save(Format(List), now) == TDataFile::srSaved;
}
