#pragma once

#include <cstddef>

// Lays the heap out for the start, and gives back what the start freed.
//
// A virtual machine that keeps shadow page tables makes every page the heap
// touches for the first time cost some ten microseconds, and the start
// touches some 400 of them. Made while an object of this class lives, the
// start's allocations come from one aligned 2 MB block that the system backs
// with a single huge page where it can, so the whole block costs one fault.
// `Settle` ends that once the start's work is done: huge pages are no longer
// asked for, and the pages the heap holds free, in the block or above it, go
// back to the system rather than stay resident all session.
//
// Made first thing in `main`, before any thread is started. Where the C library
// or the system offers none of this, only the heap's usual tuning is done.
class TStartHeap
{
public:
    TStartHeap();
    TStartHeap(const TStartHeap&) = delete;
    TStartHeap& operator=(const TStartHeap&) = delete;

    void Settle();

    // The block huge pages were asked for, empty when none were; for tests.
    char* HugeBlock() const { return Block; }
    std::size_t HugeBlockSize() const { return BlockSize; }

private:
    void* Spacer = nullptr;
    char* Block = nullptr;
    std::size_t BlockSize = 0;
    bool Settled = false;
};
