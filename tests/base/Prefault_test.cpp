#include "base/Prefault.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(LargeBlock, RoundsUpToLargePagesOnlyWhenLittleIsAdded)
{
    constexpr size_t page = TLargeBlock::LargePage;
    const struct {
        size_t Bytes, Taken;
    } cases[] = {
        { 1000, 1000 },
        { page - 1, page - 1 },
        { page, page },
        { page + 1, page + 1 }, // a whole page more would nearly double it
        { 5 * page + page / 2, 6 * page },
        { 6 * page - 1, 6 * page },
        { 8 * page + 1, 9 * page },
        { 7 * page + 1, 7 * page + 1 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TLargeBlock::Taken(c.Bytes), c.Taken) << c.Bytes;
        // Every byte asked for can be written, and the block goes back whole.
        void* block = TLargeBlock::Allocate(c.Bytes);
        std::memset(block, 0x5A, c.Bytes);
        TLargeBlock::Free(block, c.Bytes);
    }
}
