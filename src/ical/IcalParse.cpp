#include "ical/IcalParse.h"

#include <algorithm>
#include <cctype>
#include <cstring>

// libical's parser, fed the file line by line.

namespace
{

bool StartsWithWord(std::string_view line, std::string_view word)
{
    return line.size() > word.size() && line[word.size()] == ':'
        && std::equal(word.begin(), word.end(), line.begin(),
            [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); });
}

struct TLineSource {
    std::string_view Text;
    size_t Pos = 0;
    bool AtLineStart = true;
    // The parts open at this point, and the END lines found with none open.
    int Depth = 0;
    int StrayEnds = 0;

    // libical tells of an END with no part open on the error output, and
    // nowhere else: such a line is counted here and never handed over.
    bool SkipStrayEnd()
    {
        const std::string_view line = Text.substr(Pos, Text.find('\n', Pos) - Pos);
        if (StartsWithWord(line, "BEGIN")) {
            ++Depth;
            return false;
        }
        if (!StartsWithWord(line, "END"))
            return false;
        if (Depth > 0) {
            --Depth;
            return false;
        }
        ++StrayEnds;
        Pos = std::min(Text.size(), Pos + line.size() + 1);
        return true;
    }
};

// libical's line reader: the next piece of a line, up to and with its LF, in
// at most `size` - 1 bytes; null at the end.
char* NextLinePiece(char* out, size_t size, void* data)
{
    auto& source = *static_cast<TLineSource*>(data);
    while (source.AtLineStart && source.Pos < source.Text.size() && source.SkipStrayEnd()) { }
    if (source.Pos >= source.Text.size() || size < 2)
        return nullptr;
    const std::string_view rest = source.Text.substr(source.Pos);
    const size_t lineFeed = rest.find('\n');
    size_t length = lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1;
    length = std::min(length, size - 1);
    std::memcpy(out, rest.data(), length);
    out[length] = '\0';
    source.Pos += length;
    source.AtLineStart = out[length - 1] == '\n';
    return out;
}

} // namespace

std::vector<TIcalComponent> ParseComponents(std::string_view text, bool& truncated, int& strayEnds)
{
    TLineSource source { text };
    icalparser* parser = icalparser_new();
    icalparser_set_gen_data(parser, &source);
    std::vector<TIcalComponent> components;
    char* line = nullptr;
    do {
        line = icalparser_get_line(parser, NextLinePiece);
        if (icalcomponent* component = icalparser_add_line(parser, line))
            components.emplace_back(component);
        if (line)
            icalmemory_free_buffer(line);
    } while (line);
    // The parser keeps what it closes and frees it with itself: the import
    // reads a copy.
    icalcomponent* rest = icalparser_clean(parser);
    truncated = rest != nullptr;
    strayEnds = source.StrayEnds;
    if (rest)
        components.emplace_back(icalcomponent_new_clone(rest));
    icalparser_free(parser);
    return components;
}

int CountErrors(icalcomponent* component)
{
    int errors = 0;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const char* text = icalproperty_get_xlicerror(p);
        if (!text || std::strncmp(text, "No value for", 12) != 0)
            ++errors;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        errors += CountErrors(c);
    return errors;
}
