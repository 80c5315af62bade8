#include "diary/DiaryFile.h"

#include "base/DateTime.h"
#include "base/LongStrings.h"
#include "base/TextFile.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr char SeparatorByte = '\xFF';
constexpr char EndOfFileByte = '\x1A';
constexpr std::string_view LineEnd = "\r\n";

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The text up to the first of the given characters.
std::string_view CutAtFirst(std::string_view text, std::string_view stops)
{
    return text.substr(0, std::min(text.find_first_of(stops), text.size()));
}

// What of a description may go into the diary file: no line break, no end-of-file byte.
// (A plain loop: find_first_of calls memchr once per character.)
std::string_view FileDescription(std::string_view text)
{
    size_t n = 0;
    while (n < text.size() && !IsLineBreak(text[n]) && text[n] != EndOfFileByte)
        ++n;
    return text.substr(0, n);
}

// The non-empty lines of a text, each ended by CR, LF or CR LF. The breaks are
// found with memchr, and each kind is looked for again only once it is passed,
// so a text with only one kind is still read in one sweep.
class TLineReader
{
public:
    explicit TLineReader(std::string_view text)
        : Text(text)
        , NextCr(Find('\r'))
        , NextLf(Find('\n'))
    {
    }

    bool Next(std::string_view& line)
    {
        while (Pos < Text.size()) {
            if (NextCr < Pos)
                NextCr = Find('\r');
            if (NextLf < Pos)
                NextLf = Find('\n');
            const size_t stop = std::min(NextCr, NextLf);
            line = Text.substr(Pos, stop - Pos);
            // One break character is taken per line, so CR LF leaves an empty
            // line, which is skipped like every other empty line.
            Pos = stop + 1;
            if (!line.empty())
                return true;
        }
        return false;
    }

private:
    size_t Find(char c) const
    {
        const void* found = std::memchr(Text.data() + Pos, c, Text.size() - Pos);
        return found ? static_cast<size_t>(static_cast<const char*>(found) - Text.data())
                     : Text.size();
    }

    std::string_view Text;
    size_t Pos = 0;
    size_t NextCr;
    size_t NextLf;
};

void ReadEventLine(std::string_view line, TDiaryEvent& event)
{
    event.Locked = DigitValue(line[0]);
    if (line.size() > 1)
        event.EventType = static_cast<TEventType>(DigitValue(line[1]));
    if (line.size() > 2) {
        // Four characters give at most 9999; a negative reading is no time, so
        // every time read can be written back as it was read.
        const int32_t time = TextToInt(line.substr(2, 4));
        event.Time = time > 0 ? static_cast<uint16_t>(time) : 0;
    }
    if (line.size() > 6)
        event.Description.assign(line.substr(6));
}

// Appends "<locked><type><hhmm><description>" and CR LF in one step.
void AppendEventLine(const TDiaryEvent& e, std::string& text)
{
    // Only what the reader reads back the same: fields above 9 would not be
    // digits and times above 9999 not four of them. Neither comes from the
    // file or the page.
    const unsigned time = e.Time <= 9999 ? e.Time : 0;
    const char fields[6]
        = { DigitChar(std::min<uint8_t>(e.Locked, 9)), DigitChar(std::min<uint8_t>(e.EventType, 9)),
              static_cast<char>('0' + time / 1000), static_cast<char>('0' + time / 100 % 10),
              static_cast<char>('0' + time / 10 % 10), static_cast<char>('0' + time % 10) };
    text.append(fields, sizeof fields);
    text += FileDescription(e.Description);
    text += LineEnd;
}

} // namespace

std::string FormatDiary(const TDiaryDays& days)
{
    // A guess, not a count: walking every list twice costs more than the
    // string's few reallocations.
    std::string text;
    text.reserve(64 * 1024);
    for (const TEventLink& head : days) {
        for (const TDiaryEvent* e = head.get(); e; e = e->Next.get())
            AppendEventLine(*e, text);
        text += SeparatorByte;
        text += LineEnd;
    }
    return text;
}

void ParseDiary(std::string_view text, TDiaryDays& days)
{
    text = text.substr(0, std::min(text.find(EndOfFileByte), text.size()));
    // A first sweep counts the events, so that they can all come from one block.
    size_t events = 0;
    std::string_view line;
    for (TLineReader lines(text); lines.Next(line);)
        events += line[0] != SeparatorByte;
    TEventBatch batch(events);
    uint16_t slot = 0;
    TEventLink* end = &ListEnd(days[slot]);
    for (TLineReader lines(text); lines.Next(line);) {
        if (line[0] == SeparatorByte) {
            // Separators past the last slot are ignored: later events join it.
            if (slot < DiaryDayCount - 1) {
                ++slot;
                end = &ListEnd(days[slot]);
            }
            continue;
        }
        *end = batch.Take();
        ReadEventLine(line, **end);
        end = &(*end)->Next;
    }
}

bool LoadDiary(TDiaryDays& days, const std::filesystem::path& folder, TIoError& ioError)
{
    ioError.ResetIoError();
    std::string content;
    if (!ReadWholeFile(folder / DiaryFileName, content))
        ioError.ReportFailure();
    // A read that failed part-way still gives the events read before it.
    ParseDiary(content, days);
    const bool failed = ioError.IoFailed();
    ioError.ResetIoError();
    return !failed;
}

bool SaveDiary(const TDiaryDays& days, const std::filesystem::path& folder, TIoError& ioError)
{
    ioError.ResetIoError();
    if (!WriteFileAtomically(folder / DiaryFileName, FormatDiary(days)))
        ioError.ReportFailure();
    const bool failed = ioError.IoFailed();
    ioError.ResetIoError();
    return !failed;
}

std::string EventReportLine(uint16_t day, uint16_t month, uint16_t year,
    std::string_view description, TEventType eventType, uint16_t time)
{
    const std::string_view monthName
        = month >= 1 && month <= 12 ? MonthNames[month - 1].substr(0, 3) : "???";
    const std::string_view typeName
        = eventType < EventTypeNames.size() ? EventTypeNames[eventType] : "";
    std::string line = TwoDigits(static_cast<uint8_t>(std::min<uint16_t>(day, 100)));
    line += ' ';
    line += monthName;
    line += ' ';
    line += FourDigits(year);
    line += '\t';
    line += TimeText(time);
    line += '\t';
    line += typeName;
    line += '\t';
    line += description;
    return line;
}

bool AppendDiaryOld(const std::filesystem::path& folder, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += CutAtFirst(line, "\r\n");
        text += LineEnd;
    }
    return AppendToFile(folder / DiaryOldFileName, text);
}
