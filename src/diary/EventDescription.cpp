#include "diary/EventDescription.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

void TEventBlock::Release(TEventBlock* block)
{
    if (--block->Users == 0) {
        block->~TEventBlock();
        ::operator delete(block);
    }
}

TDescription::TDescription(const TDescription& other)
{
    *this = other;
}

TDescription::TDescription(TDescription&& other) noexcept
    : Data(std::exchange(other.Data, nullptr))
    , Size(std::exchange(other.Size, 0))
    , BlockOffset(std::exchange(other.BlockOffset, 0))
{
}

TDescription& TDescription::operator=(const TDescription& other)
{
    if (this == &other)
        return *this;
    if (!other.Borrowed())
        return assign(other.view());
    // The block's characters never change, so a copy shares them.
    other.Block()->Hold();
    clear();
    Data = other.Data;
    Size = other.Size;
    BlockOffset = other.BlockOffset;
    return *this;
}

TDescription& TDescription::operator=(TDescription&& other) noexcept
{
    if (this != &other) {
        clear();
        Data = std::exchange(other.Data, nullptr);
        Size = std::exchange(other.Size, 0);
        BlockOffset = std::exchange(other.BlockOffset, 0);
    }
    return *this;
}

TDescription& TDescription::assign(std::string_view text)
{
    if (text.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("a description of 4 GB or more");
    // Copied before the old text goes: `text` may be part of it.
    char* copy = nullptr;
    if (!text.empty()) {
        copy = new char[text.size()];
        std::memcpy(copy, text.data(), text.size());
    }
    clear();
    Data = copy;
    Size = static_cast<uint32_t>(text.size());
    return *this;
}

void TDescription::clear()
{
    if (Borrowed())
        TEventBlock::Release(Block());
    else
        delete[] Data;
    Data = nullptr;
    Size = 0;
    BlockOffset = 0;
}

void TDescription::erase(size_t pos)
{
    // A shorter view of the same characters, whoever's they are.
    if (pos == 0)
        clear();
    else if (pos < Size)
        Size = static_cast<uint32_t>(pos);
}

void TDescription::Borrow(TEventBlock& block, std::string_view text)
{
    const auto offset = static_cast<size_t>(text.data() - reinterpret_cast<char*>(&block));
    if (text.empty() || text.size() > std::numeric_limits<uint32_t>::max()
        || offset > std::numeric_limits<uint32_t>::max()) {
        assign(text);
        return;
    }
    block.Hold();
    clear();
    Data = text.data();
    Size = static_cast<uint32_t>(text.size());
    BlockOffset = static_cast<uint32_t>(offset);
}
