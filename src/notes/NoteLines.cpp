#include "notes/NoteLines.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

TNoteLines::TNoteLines(std::initializer_list<std::string_view> lines)
{
    for (const std::string_view line : lines)
        push_back(line);
}

TNoteLines::TNoteLines(const std::vector<std::string>& lines)
{
    size_t bytes = 0;
    for (const std::string& line : lines)
        bytes += line.size();
    Reserve(lines.size(), bytes);
    for (const std::string& line : lines)
        push_back(line);
}

TNoteLines::TBlock& TNoteLines::Own()
{
    // Only this holder can copy its pointer, so a count of one cannot grow
    // behind its back; a holder on another thread only ever lets go.
    if (!Block)
        Block = std::make_shared<TBlock>();
    else if (Block.use_count() > 1)
        Block = std::make_shared<TBlock>(*Block);
    return *Block;
}

void TNoteLines::push_back(std::string_view line)
{
    TBlock& block = Own();
    if (block.Text.size() + line.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("a category's text is over 4 GB");
    block.Text += line;
    block.Ends.push_back(static_cast<uint32_t>(block.Text.size()));
}

void TNoteLines::Reserve(size_t lines, size_t bytes)
{
    if (lines == 0)
        return;
    TBlock& block = Own();
    block.Text.reserve(block.Text.size() + bytes);
    block.Ends.reserve(block.Ends.size() + lines);
}

void TNoteLines::ShrinkToFit()
{
    if (!Block)
        return;
    if (Block->Ends.empty()) {
        Block.reset();
        return;
    }
    TBlock& block = Own();
    block.Text.shrink_to_fit();
    block.Ends.shrink_to_fit();
}

void TNoteLines::Prepend(const TNoteLines& lines)
{
    if (lines.empty())
        return;
    TNoteLines joined;
    joined.Reserve(lines.size() + size(), lines.Bytes() + Bytes());
    for (const std::string_view line : lines)
        joined.push_back(line);
    for (const std::string_view line : *this)
        joined.push_back(line);
    *this = std::move(joined);
}

std::vector<std::string> TNoteLines::Strings() const
{
    return std::vector<std::string>(begin(), end());
}

bool operator==(const TNoteLines& a, const TNoteLines& b)
{
    if (a.Block == b.Block)
        return true;
    return a.size() == b.size() && std::ranges::equal(a, b);
}

bool operator==(const TNoteLines& a, const std::vector<std::string>& b)
{
    return a.size() == b.size() && std::ranges::equal(a, b);
}
