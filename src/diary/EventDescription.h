#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The header of the one allocation a load makes for its events and the texts
// of their descriptions. Every event taken from it and every description that
// reads from it holds it; the last one to go frees it.
struct TEventBlock {
    size_t Users = 1; // the batch that fills it, then every holder
    size_t Taken = 0; // events
    size_t Capacity = 0; // events
    char* FreeText = nullptr; // the texts' room after the events
    char* TextEnd = nullptr;

    // The events' places follow the header.
    char* Places() { return reinterpret_cast<char*>(this + 1); }
    void Hold() { ++Users; }
    static void Release(TEventBlock* block);
};

// An event's description: a text of 8-bit characters that behaves as a
// std::string for what the diary does with it. A description loaded from the
// diary file reads its characters from the load's block and holds the block;
// copies share those characters, and the first change gives the description a
// copy of its own. A text of its own takes exactly its length from the heap; an
// empty description takes nothing.
class TDescription
{
public:
    static constexpr size_t npos = std::string_view::npos;

    TDescription() = default;
    explicit TDescription(std::string_view text) { assign(text); }
    TDescription(const TDescription& other);
    TDescription(TDescription&& other) noexcept;
    TDescription& operator=(const TDescription& other);
    TDescription& operator=(TDescription&& other) noexcept;
    TDescription& operator=(std::string_view text) { return assign(text); }
    TDescription& operator=(const char* text) { return assign(text); }
    TDescription& operator=(const std::string& text) { return assign(text); }
    ~TDescription() { clear(); }

    // Throws std::length_error for a text of 4 GB or more.
    TDescription& assign(std::string_view text);
    void clear();
    // Drops everything from `pos` on.
    void erase(size_t pos = 0);

    const char* data() const { return Data; }
    size_t size() const { return Size; }
    bool empty() const { return Size == 0; }
    char operator[](size_t pos) const { return Data[pos]; }
    const char* begin() const { return Data; }
    const char* end() const { return Data + Size; }
    std::string_view view() const { return { Data, Size }; }
    operator std::string_view() const { return view(); }
    operator std::string() const { return std::string(view()); }
    size_t find_first_of(std::string_view chars, size_t pos = 0) const
    {
        return view().find_first_of(chars, pos);
    }
    size_t find_last_not_of(char c) const { return view().find_last_not_of(c); }

    // True while the characters are the block's.
    bool Borrowed() const { return BlockOffset != 0; }

    friend bool operator==(const TDescription& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const TDescription& a, const TDescription& b)
    {
        return a.view() == b.view();
    }
    friend bool operator==(const TDescription& a, const char* b) { return a.view() == b; }
    friend std::string operator+(std::string a, const TDescription& b)
    {
        return a.append(b.view());
    }

private:
    friend class TEventBatch;
    // Reads `text` (which must lie in `block`) from the block, holding it.
    void Borrow(TEventBlock& block, std::string_view text);
    TEventBlock* Block() const
    {
        return reinterpret_cast<TEventBlock*>(const_cast<char*>(Data) - BlockOffset);
    }

    const char* Data = nullptr;
    uint32_t Size = 0;
    // The distance from the block's header back from Data; 0 for characters
    // of the description's own (or none).
    uint32_t BlockOffset = 0;
};
