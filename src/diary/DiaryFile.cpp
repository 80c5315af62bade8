#include "diary/DiaryFile.h"

#include "base/DateTime.h"
#include "base/LongStrings.h"
#include "base/TextFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <memory>
#include <span>

namespace
{

constexpr char SeparatorByte = '\xFF';
constexpr char EndOfFileByte = '\x1A';
constexpr std::string_view LineEnd = "\r\n";
// The line that ends a slot: the byte 255 alone.
constexpr std::string_view SlotEnd = "\xFF\r\n";

// The text up to the first of the given characters.
std::string_view CutAtFirst(std::string_view text, std::string_view stops)
{
    return text.substr(0, std::min(text.find_first_of(stops), text.size()));
}

// What of a description may go into the diary file: no line break, no end-of-file byte.
// (A plain loop: find_first_of calls memchr once per character. The three
// bytes are all below 32, so nearly every character passes one comparison.)
std::string_view FileDescription(std::string_view text)
{
    constexpr uint32_t stops = 1u << '\r' | 1u << '\n' | 1u << EndOfFileByte;
    size_t n = 0;
    for (; n < text.size(); ++n) {
        const auto c = static_cast<unsigned char>(text[n]);
        if (c < 32 && (stops >> c & 1))
            break;
    }
    return text.substr(0, n);
}

// Gathers a text in a block of DiaryBlockSize bytes and hands each block on as
// soon as it is full, the last, shorter one at Flush.
class TBlockWriter
{
public:
    explicit TBlockWriter(const std::function<bool(std::string_view)>& handOn)
        : HandOn(handOn)
        , Block(std::make_unique_for_overwrite<char[]>(DiaryBlockSize))
    {
    }

    bool Going() const { return Handing; }
    // Where `n` bytes can be written at once, or null when the block has less room.
    char* Room(size_t n) { return DiaryBlockSize - Used >= n ? Block.get() + Used : nullptr; }
    // Takes the `n` bytes written at Room.
    void Advance(size_t n)
    {
        Used += n;
        if (Used == DiaryBlockSize)
            Flush();
    }
    void Append(std::string_view bytes)
    {
        while (!bytes.empty() && Handing) {
            const size_t n = std::min(bytes.size(), DiaryBlockSize - Used);
            std::memcpy(Block.get() + Used, bytes.data(), n);
            bytes.remove_prefix(n);
            Advance(n);
        }
    }
    void Flush()
    {
        if (Handing && Used > 0)
            Handing = HandOn({ Block.get(), Used });
        Used = 0;
    }

private:
    const std::function<bool(std::string_view)>& HandOn;
    std::unique_ptr<char[]> Block;
    size_t Used = 0;
    bool Handing = true;
};

// The non-empty lines of a text that a CR or LF ends. The breaks are found
// with memchr, and each kind is looked for again only once it is passed, so a
// text with only one kind is still read in one sweep. What follows the last
// break is left as the rest.
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
        for (;;) {
            if (NextCr < Pos)
                NextCr = Find('\r');
            if (NextLf < Pos)
                NextLf = Find('\n');
            const size_t stop = std::min(NextCr, NextLf);
            if (stop == Text.size())
                return false;
            line = Text.substr(Pos, stop - Pos);
            // One break character is taken per line, so CR LF leaves an empty
            // line, which is skipped like every other empty line.
            Pos = stop + 1;
            if (!line.empty())
                return true;
        }
    }
    std::string_view Rest() const { return Text.substr(Pos); }

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

// The non-empty lines of a diary text given in pieces of any size, each line
// handed on whole: a line that a piece's end cuts is carried over to the next.
// The byte 26 ends the text; what follows it is only looked at for data other
// than more 26s and line ends.
class TDiaryLines
{
public:
    template <typename TTake> void Add(std::string_view piece, TTake&& take)
    {
        // The first three bytes tell the form, whatever the pieces' size.
        if (Sniffing) {
            const size_t n = std::min(piece.size(), Utf8Mark.size() - Head.size());
            Head += piece.substr(0, n);
            piece.remove_prefix(n);
            if (Head.size() < Utf8Mark.size())
                return;
            EndSniffing(take);
        }
        AddBytes(piece, take);
    }
    // Hands on the last line when the text did not end with a line break.
    template <typename TTake> void Finish(TTake&& take)
    {
        if (Sniffing)
            EndSniffing(take);
        if (!Carried.empty())
            take(std::string_view(Carried));
        Carried.clear();
    }
    // Data follows the byte 26: the text was not read to its end.
    bool StoppedEarly() const { return DataAfterEnd; }
    // Known once the first line is handed on.
    const TTextForm& Form() const { return TextForm; }

private:
    template <typename TTake> void EndSniffing(TTake&& take)
    {
        Sniffing = false;
        if (Head == Utf8Mark)
            TextForm = tfUtf8;
        else
            AddBytes(Head, take);
    }

    template <typename TTake> void AddBytes(std::string_view piece, TTake&& take)
    {
        if (Ended) {
            DataAfterEnd = DataAfterEnd || HasData(piece);
            return;
        }
        const size_t end = piece.find(EndOfFileByte);
        if (end != std::string_view::npos) {
            Ended = true;
            DataAfterEnd = HasData(piece.substr(end));
            piece = piece.substr(0, end);
        }
        if (!Carried.empty()) {
            // The first break in the piece ends the carried line.
            const size_t stop = std::min(piece.find_first_of("\r\n"), piece.size());
            Carried += piece.substr(0, stop);
            piece.remove_prefix(stop);
            if (piece.empty()) {
                if (Ended)
                    Finish(take);
                return;
            }
            take(std::string_view(Carried));
            Carried.clear();
        }
        TLineReader lines(piece);
        std::string_view line;
        while (lines.Next(line))
            take(line);
        Carried = lines.Rest();
        if (Ended)
            Finish(take);
    }

    static bool HasData(std::string_view bytes)
    {
        return bytes.find_first_not_of("\x1A\r\n") != std::string_view::npos;
    }

    std::string Carried;
    bool Ended = false;
    bool DataAfterEnd = false;
    bool Sniffing = true;
    std::string Head;
    TTextForm TextForm = tfAnsi;
};

// How one sweep reads descriptions: in the file's form, converted to UTF-8.
struct TDescriptionReader {
    const TTextForm& Form;
    std::string Scratch;
    bool Invalid = false;

    std::string_view operator()(std::string_view text)
    {
        return DecodeLine(text, Form, Scratch, Invalid);
    }
};

void ReadEventLine(
    std::string_view line, TDiaryEvent& event, TEventBatch& batch, TDescriptionReader& read)
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
        batch.Describe(event, read(line.substr(6)));
}

// The first sweep's count: the events and their descriptions' bytes in UTF-8
// (a repaired text may need more; it then takes room of its own).
struct TDiarySize {
    const TTextForm& Form;
    size_t Events = 0;
    size_t TextBytes = 0;

    void operator()(std::string_view line)
    {
        if (line[0] != SeparatorByte) {
            ++Events;
            const std::string_view text = line.size() > 6 ? line.substr(6) : "";
            TextBytes += Form == tfAnsi ? Utf8SizeOfAnsi(text) : text.size();
        }
    }
};

// Hangs each event line in its slot, the events and descriptions taken from
// one block of the counted size.
class TDiaryBuilder
{
public:
    TDiaryBuilder(TDiaryDays& days, const TDiarySize& size, const TTextForm& form)
        : Days(days)
        , Batch(size.Events, size.TextBytes)
        , End(&ListEnd(days[0]))
        , Read { form, {}, false }
    {
    }
    bool Invalid() const { return Read.Invalid; }

    void operator()(std::string_view line)
    {
        if (line[0] == SeparatorByte) {
            // Separators past the last slot are ignored: later events join it.
            if (Slot < DiaryDayCount - 1) {
                ++Slot;
                End = &ListEnd(Days[Slot]);
            }
            return;
        }
        *End = Batch.Take();
        ReadEventLine(line, **End, Batch, Read);
        End = &(*End)->Next;
    }

private:
    TDiaryDays& Days;
    TEventBatch Batch;
    uint16_t Slot = 0;
    TEventLink* End;
    TDescriptionReader Read;
};

using TPieceCall = std::function<void(std::string_view)>;
// A sweep over a diary text: hands every piece of it, in order, to the call.
using TSweep = std::function<void(const TPieceCall&)>;

struct TSweepsRead {
    TTextRead Text;
    // Data follows a byte 26.
    bool StoppedEarly = false;
};

// Sizes the one block for the events and their descriptions with a first sweep
// that counts, then hangs the events in their slots with a second that parses.
TSweepsRead ReadDiarySweeps(TDiaryDays& days, const TSweep& count, const TSweep& parse)
{
    TDiaryLines counted;
    TDiarySize size { counted.Form() };
    count([&](std::string_view piece) { counted.Add(piece, size); });
    counted.Finish(size);
    TDiaryLines parsed;
    TDiaryBuilder builder(days, size, parsed.Form());
    parse([&](std::string_view piece) { parsed.Add(piece, builder); });
    parsed.Finish(builder);
    return { { parsed.Form(), builder.Invalid() }, parsed.StoppedEarly() };
}

} // namespace

TTextForm DiaryForm(const TDiaryDays& days, TTextForm least)
{
    if (least == tfUtf8)
        return tfUtf8;
    for (const TEventLink& head : days)
        for (const TDiaryEvent* e = head.get(); e; e = e->Next.get())
            if (!IsAscii(e->Description) && !FitsAnsi(FileDescription(e->Description)))
                return tfUtf8;
    return tfAnsi;
}

void FormatDiaryBlocks(
    const TDiaryDays& days, const std::function<bool(std::string_view)>& block, TTextForm form)
{
    TBlockWriter out(block);
    if (form == tfUtf8)
        out.Append(Utf8Mark);
    std::string scratch;
    for (const TEventLink& head : days) {
        for (const TDiaryEvent* e = head.get(); e; e = e->Next.get()) {
            // Only what the reader reads back the same: fields above 9 would not
            // be digits and times above 9999 not four of them. Neither comes
            // from the file or the page.
            const std::string_view description
                = EncodeLine(FileDescription(e->Description), form, scratch);
            const unsigned time = e->Time <= 9999 ? e->Time : 0;
            const std::array<char, 6> fields { DigitChar(std::min<uint8_t>(e->Locked, 9)),
                DigitChar(std::min<uint8_t>(e->EventType, 9)), static_cast<char>('0' + time / 1000),
                static_cast<char>('0' + time / 100 % 10), static_cast<char>('0' + time / 10 % 10),
                static_cast<char>('0' + time % 10) };
            const size_t length = fields.size() + description.size() + LineEnd.size();
            if (char* line = out.Room(length)) {
                std::memcpy(line, fields.data(), fields.size());
                description.copy(line + fields.size(), description.size());
                LineEnd.copy(line + fields.size() + description.size(), LineEnd.size());
                out.Advance(length);
            } else {
                out.Append({ fields.data(), fields.size() });
                out.Append(description);
                out.Append(LineEnd);
            }
        }
        out.Append(SlotEnd);
        if (!out.Going())
            return;
    }
    out.Flush();
}

std::string FormatDiary(const TDiaryDays& days, TTextForm least)
{
    const TTextForm form = DiaryForm(days, least);
    // Sized ahead (the 8-bit form may take less): the exit formats the whole
    // diary, and a string that grows by doubling copies and clears several
    // times the text's size.
    size_t size = Utf8Mark.size();
    for (const TEventLink& head : days) {
        for (const TDiaryEvent* e = head.get(); e; e = e->Next.get())
            size += 6 + FileDescription(e->Description).size() + LineEnd.size();
        size += SlotEnd.size();
    }
    std::string text;
    text.resize(size);
    size_t used = 0;
    FormatDiaryBlocks(
        days,
        [&](std::string_view piece) {
            piece.copy(text.data() + used, piece.size());
            used += piece.size();
            return true;
        },
        form);
    text.resize(used);
    return text;
}

void TDiaryDigest::Add(std::string_view block)
{
    Digest = (Digest ^ std::hash<std::string_view>()(block)) * 0x100000001B3;
}

uint64_t DiaryTextDigest(std::string_view text)
{
    TDiaryDigest digest;
    for (size_t at = 0; at < text.size(); at += DiaryBlockSize)
        digest.Add(text.substr(at, DiaryBlockSize));
    return digest.Value();
}

uint64_t DiaryDigest(const TDiaryDays& days, TTextForm least)
{
    TDiaryDigest digest;
    FormatDiaryBlocks(
        days,
        [&digest](std::string_view block) {
            digest.Add(block);
            return true;
        },
        DiaryForm(days, least));
    return digest.Value();
}

std::optional<uint64_t> UnchangedDiaryDigest(const TDiaryDays& days, const TDataFile& file)
{
    if (file.KeepsOriginal())
        return std::nullopt;
    TFileComparison comparison(file.Path());
    TDiaryDigest digest;
    FormatDiaryBlocks(
        days,
        [&](std::string_view block) {
            digest.Add(block);
            return comparison.Next(block);
        },
        DiaryForm(days, file.Form()));
    if (!comparison.Same())
        return std::nullopt;
    return digest.Value();
}

TTextRead ParseDiary(std::string_view text, TDiaryDays& days)
{
    const TSweep whole = [text](const TPieceCall& piece) { piece(text); };
    return ReadDiarySweeps(days, whole, whole).Text;
}

bool LoadDiary(TDiaryDays& days, TDataFile& file, TIoError& ioError, size_t pieceSize,
    const std::function<void()>& betweenSweeps)
{
    ioError.ResetIoError();
    const auto buffer = std::make_unique_for_overwrite<char[]>(pieceSize);
    const std::span<char> room(buffer.get(), pieceSize);
    // The file may change between the sweeps: the first one's size is a
    // guess, and only what the second reads is parsed.
    const TSweep count = [&](const TPieceCall& piece) {
        file.Scan(room, piece);
        if (betweenSweeps)
            betweenSweeps();
    };
    // A missing file fails the load as an unreadable one does, but it has
    // nothing to keep. A read that fails part-way still gives the events read
    // before it.
    const TSweep parse = [&](const TPieceCall& piece) {
        if (!file.ReadPieces(room, piece) || file.LoadEnd() == TDataFile::leMissing)
            ioError.ReportFailure();
    };
    // Data after the byte 26 is left unread, and bytes that are not UTF-8 are
    // read as U+FFFD: either way the file must be kept before a save replaces it.
    const TSweepsRead read = ReadDiarySweeps(days, count, parse);
    file.ReadAs(read.Text.Form);
    if (read.StoppedEarly)
        file.StoppedEarly();
    if (read.Text.Invalid)
        file.InvalidText();
    const bool failed = ioError.IoFailed();
    ioError.ResetIoError();
    return !failed;
}

bool LoadDiary(TDiaryDays& days, const std::filesystem::path& folder, TIoError& ioError)
{
    TDataFile file(folder / DiaryFileName);
    return LoadDiary(days, file, ioError);
}

bool SaveDiary(
    const TDiaryDays& days, const std::filesystem::path& folder, TIoError& ioError, TTextForm least)
{
    TDataFile file(folder / DiaryFileName);
    return SaveDataText(FormatDiary(days, least), file, ioError, 0) == TDataFile::srSaved;
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
    const std::filesystem::path path = folder / DiaryOldFileName;
    std::array<char, 3> head {};
    std::ifstream(path, std::ios::binary).read(head.data(), head.size());
    if (StartsWithUtf8Mark({ head.data(), head.size() }))
        return AppendToFile(path, text);
    if (FitsAnsi(text))
        return AppendToFile(path, Utf8ToAnsi(text));
    // The whole log becomes UTF-8; a log that cannot be read whole is left as
    // it is.
    std::string old;
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (exists && !ReadWholeFile(path, old))
        return false;
    return WriteFileAtomically(FollowLinks(path), std::string(Utf8Mark) + AnsiToUtf8(old) + text);
}
