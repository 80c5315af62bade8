#include "notes/NotesFile.h"

#include "base/LongStrings.h"

#include <algorithm>
#include <vector>

namespace
{

constexpr char EndOfFileByte = '\x1A';
constexpr char EscapedLineMark = '=';
constexpr std::string_view LineEnd = "\r\n";
constexpr size_t NameStart = 43;
constexpr uint8_t MaxAsGrid = 9;

bool NeedsEscape(std::string_view text)
{
    for (const char c : text)
        if (c == '\r' || c == EndOfFileByte)
            return true;
    return false;
}

void AppendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        if (c == NoteHeaderMark) {
            out += NoteHeaderMark;
            out += NoteHeaderMark;
        } else if (c == '\r') {
            out += NoteHeaderMark;
            out += 'M';
        } else if (c == EndOfFileByte) {
            out += NoteHeaderMark;
            out += 'Z';
        } else {
            out += c;
        }
    }
}

std::string Unescaped(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != NoteHeaderMark || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const char next = text[i + 1];
        if (next == NoteHeaderMark || next == 'M' || next == 'Z') {
            result += next == 'M' ? '\r' : next == 'Z' ? EndOfFileByte : NoteHeaderMark;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

// The file's bytes of a name or line in the form being written.
struct TLineWriter {
    TTextForm Form = tfAnsi;
    std::string Scratch;

    std::string_view operator()(std::string_view text) { return EncodeLine(text, Form, Scratch); }
};

void AppendHeader(std::string& out, uint8_t level, const TNoteNode& node, const TNoteData& data,
    TLineWriter& encode)
{
    const uint8_t asGrid = std::min(data.AsGrid, MaxAsGrid);
    const std::string_view name = encode(node.Name);
    const bool escapeName = NeedsEscape(name);
    out += NoteHeaderMark;
    out += DigitChar(level);
    out += escapeName ? static_cast<char>('A' + asGrid) : DigitChar(asGrid);
    for (const uint16_t width : data.ColWidths)
        out += FourDigits(width);
    if (escapeName)
        AppendEscaped(out, name);
    else
        out += name;
    out += LineEnd;
}

void AppendContent(std::string& out, const TNoteLines& lines, TLineWriter& encode)
{
    for (const std::string_view text : lines) {
        const std::string_view line = encode(text);
        if ((!line.empty() && line.front() == NoteHeaderMark) || NeedsEscape(line)) {
            out += NoteHeaderMark;
            out += EscapedLineMark;
            AppendEscaped(out, line);
        } else {
            out += line;
        }
        out += LineEnd;
    }
}

size_t BlockSize(const TNoteNode& node)
{
    size_t size = NameStart + node.Name.size() + LineEnd.size();
    if (node.Data)
        size += node.Data->Lines.Bytes() + node.Data->Lines.size() * LineEnd.size();
    return size;
}

// Reads one header line into a new category placed by the level rules.
class TNotesReader
{
public:
    TNotesReader(TNotesTree& tree, TTextForm form)
        : Tree(tree)
        , Form(form)
    {
    }

    void Line(std::string_view line)
    {
        if (line.empty() || line.front() != NoteHeaderMark) {
            Content(Decoded(line));
            return;
        }
        if (line.size() > 1 && line[1] == EscapedLineMark) {
            const std::string unescaped = Unescaped(line.substr(2));
            Content(Decoded(unescaped));
            return;
        }
        Header(line);
    }
    // Bytes of a UTF-8 text were not UTF-8.
    bool Invalid() const { return InvalidText; }

    void Finish()
    {
        EndCategory();
        if (Leading.empty())
            return;
        if (Tree.Empty())
            BuildDefaultNotes(Tree);
        NoteDataOf(*Tree.Root()).Lines.Prepend(Leading);
        Leading.clear();
    }

private:
    std::string_view Decoded(std::string_view text)
    {
        return DecodeLine(text, Form, Scratch, InvalidText);
    }

    void Content(std::string_view line)
    {
        if (Current)
            Current->Data->Lines.push_back(line);
        else
            Leading.push_back(line);
    }

    // Appending leaves room over in the category's buffer; what the file
    // holds is kept exactly.
    void EndCategory()
    {
        if (Current)
            Current->Data->Lines.ShrinkToFit();
    }

    void Header(std::string_view line)
    {
        const auto at = [&line](size_t i) { return i < line.size() ? line[i] : '\0'; };
        const int level = DigitValue(at(1));
        const char view = at(2);
        const bool escapedName = view >= 'A' && view <= 'A' + MaxAsGrid;
        std::string name;
        if (line.size() > NameStart) {
            const std::string raw = escapedName ? Unescaped(line.substr(NameStart))
                                                : std::string(line.substr(NameStart));
            name = Decoded(raw);
        }
        EndCategory();
        TNoteNode* parent = nullptr;
        if (level > Level) {
            parent = Current;
        } else {
            while (level < Level) {
                if (Current)
                    Current = Current->Parent;
                --Level;
            }
            parent = Current ? Current->Parent : nullptr;
        }
        TNoteNode& node = Tree.Add(parent, std::move(name));
        Level = level;
        Current = &node;
        TNoteData& data = NoteDataOf(node);
        data.AsGrid = escapedName ? static_cast<uint8_t>(view - 'A') : DigitValue(view);
        node.ImageIndex = data.AsGrid;
        for (size_t i = 0; i < data.ColWidths.size(); ++i) {
            const size_t from = 3 + 4 * i;
            const std::string_view field = from < line.size()
                ? line.substr(from, std::min<size_t>(4, NameStart - from))
                : "";
            data.ColWidths[i] = static_cast<uint16_t>(TextToInt(field));
        }
    }

    TNotesTree& Tree;
    TTextForm Form;
    std::string Scratch;
    bool InvalidText = false;
    int Level = 0;
    TNoteNode* Current = nullptr;
    TNoteLines Leading;
};

} // namespace

void WriteNotesNode(std::string& out, uint8_t level, TNoteNode& node, TTextForm form)
{
    TLineWriter encode { form, {} };
    // Depth first without recursion; a level beyond one digit is written as 9,
    // which keeps every category and its text, one level higher.
    std::vector<std::pair<TNoteNode*, uint8_t>> pending { { &node, level } };
    while (!pending.empty()) {
        const auto [n, l] = pending.back();
        pending.pop_back();
        const TNoteData& data = NoteDataOf(*n);
        AppendHeader(out, std::min<uint8_t>(l, TNotesTree::MaxLevels), *n, data, encode);
        AppendContent(out, data.Lines, encode);
        for (auto child = n->Children.rbegin(); child != n->Children.rend(); ++child)
            pending.emplace_back(child->get(), static_cast<uint8_t>(std::min(l + 1, 255)));
    }
}

TTextForm NotesForm(const TNotesTree& tree, TTextForm least)
{
    if (least == tfUtf8)
        return tfUtf8;
    const auto fits = [](std::string_view text) { return IsAscii(text) || FitsAnsi(text); };
    for (const TNoteNode* n = tree.Root(); n; n = tree.NextInOrder(*n)) {
        if (!fits(n->Name))
            return tfUtf8;
        if (n->Data && !fits(n->Data->Lines.Text()))
            return tfUtf8;
    }
    return tfAnsi;
}

std::string FormatNotes(TNotesTree& tree, TTextForm least)
{
    const TTextForm form = NotesForm(tree, least);
    size_t size = Utf8Mark.size();
    for (const TNoteNode* n = tree.Root(); n; n = tree.NextInOrder(*n))
        size += BlockSize(*n);
    std::string text;
    text.reserve(size);
    if (form == tfUtf8)
        text += Utf8Mark;
    for (const TNoteLink& top : tree.TopLevel())
        WriteNotesNode(text, 1, *top, form);
    return text;
}

bool ParseNotes(std::string_view text, TNotesTree& tree, TTextRead* read)
{
    const TTextForm form = StartsWithUtf8Mark(text) ? tfUtf8 : tfAnsi;
    if (form == tfUtf8)
        text.remove_prefix(Utf8Mark.size());
    const size_t end = std::min(text.find(EndOfFileByte), text.size());
    const bool whole
        = end == text.size() || text.find_first_not_of("\x1A\r\n", end) == std::string_view::npos;
    TNotesReader reader(tree, form);
    size_t pos = 0;
    while (pos < end) {
        const size_t stop = std::min(text.find('\r', pos), end);
        reader.Line(text.substr(pos, stop - pos));
        pos = stop + 1;
        if (pos < end && text[pos] == '\n')
            ++pos;
    }
    reader.Finish();
    if (read)
        *read = { form, reader.Invalid() };
    return whole;
}

bool LoadNotes(TNotesTree& tree, TDataFile& file, TIoError& ioError)
{
    ioError.ResetIoError();
    std::string content;
    if (!file.Read(content))
        ioError.ReportFailure();
    // A read that failed part-way still gives the categories read before it.
    TTextRead read;
    if (!ParseNotes(content, tree, &read))
        file.StoppedEarly();
    file.ReadAs(read.Form);
    if (read.Invalid)
        file.InvalidText();
    if (tree.Empty())
        BuildDefaultNotes(tree);
    const bool failed = ioError.IoFailed();
    ioError.ResetIoError();
    return !failed;
}

bool LoadNotes(TNotesTree& tree, const std::filesystem::path& folder, TIoError& ioError)
{
    TDataFile file(folder / NotesFileName);
    return LoadNotes(tree, file, ioError) && file.LoadEnd() != TDataFile::leStoppedEarly;
}

bool SaveNotes(TNotesTree& tree, const std::filesystem::path& folder, TIoError& ioError)
{
    TDataFile file(folder / NotesFileName);
    return SaveDataText(FormatNotes(tree), file, ioError, 0) == TDataFile::srSaved;
}
