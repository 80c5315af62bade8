#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A category's lines (UTF-8, without line ends), held in one buffer with the
// end offset of each line: a million short lines cost their bytes and four
// more each, not a string each.
//
// Copies share the buffer, which no holder changes while another holds it: a
// change to a shared buffer first takes a copy of its own (copy on write). So
// a copy made on the GUI thread can be read on another thread while the GUI
// thread goes on changing the original.
class TNoteLines
{
public:
    class TIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        TIterator() = default;
        TIterator(const TNoteLines* lines, size_t index)
            : Lines(lines)
            , Index(index)
        {
        }
        std::string_view operator*() const { return (*Lines)[Index]; }
        TIterator& operator++()
        {
            ++Index;
            return *this;
        }
        TIterator operator++(int)
        {
            TIterator before = *this;
            ++Index;
            return before;
        }
        bool operator==(const TIterator& other) const { return Index == other.Index; }

    private:
        const TNoteLines* Lines = nullptr;
        size_t Index = 0;
    };
    using iterator = TIterator;
    using const_iterator = TIterator;
    using value_type = std::string_view;

    TNoteLines() = default;
    TNoteLines(std::initializer_list<std::string_view> lines);
    // A list of strings converts, so the table and the tests can hand one over.
    TNoteLines(const std::vector<std::string>& lines);

    size_t size() const { return Block ? Block->Ends.size() : 0; }
    bool empty() const { return size() == 0; }
    std::string_view operator[](size_t i) const
    {
        const size_t start = i == 0 ? 0 : Block->Ends[i - 1];
        return std::string_view(Block->Text).substr(start, Block->Ends[i] - start);
    }
    TIterator begin() const { return TIterator(this, 0); }
    TIterator end() const { return TIterator(this, size()); }
    // All the lines one after another, without line ends.
    std::string_view Text() const { return Block ? std::string_view(Block->Text) : ""; }
    size_t Bytes() const { return Text().size(); }

    void push_back(std::string_view line);
    void clear() { Block.reset(); }
    // Room for `lines` more lines of `bytes` in all, so appending them
    // moves nothing.
    void Reserve(size_t lines, size_t bytes);
    // Gives back the room that appending left over.
    void ShrinkToFit();
    // Puts `lines` before the first line.
    void Prepend(const TNoteLines& lines);

    std::vector<std::string> Strings() const;
    // True when both hold the same buffer, as a copy does until either changes.
    bool Shares(const TNoteLines& other) const { return Block && Block == other.Block; }

    friend bool operator==(const TNoteLines& a, const TNoteLines& b);
    friend bool operator==(const TNoteLines& a, const std::vector<std::string>& b);

private:
    struct TBlock {
        std::string Text;
        std::vector<uint32_t> Ends;
    };
    // The buffer, this holder's own: copied first when another holds it too.
    TBlock& Own();

    std::shared_ptr<TBlock> Block;
};
