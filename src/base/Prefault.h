#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#ifdef __linux__
#include <sys/mman.h>
#endif

// Makes the whole pages of a fresh allocation that is about to be written in
// full present in one call: a fault per page costs about twice as much, and a
// big load takes thousands. Small ranges and systems without the call are left
// to the faults.
inline void PrefaultForWriting(void* memory, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    constexpr uintptr_t page = 4096;
    const uintptr_t first = (reinterpret_cast<uintptr_t>(memory) + page - 1) & ~(page - 1);
    const uintptr_t last = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(page - 1);
    if (last > first + 16 * page)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)bytes;
#endif
}

// A block of memory that is about to be written in full, from the system's
// large pages where it offers them: one fault and one page-table entry per
// 2 MB instead of 512 of each, which on some systems makes filling a big
// block many times quicker. The block is rounded up to whole large pages when
// that adds at most an eighth to it; otherwise only the whole large pages
// inside it are asked for, so that little beyond `bytes` becomes resident.
// What is left is made present in one call, as PrefaultForWriting does. Free
// it with Free and the same size.
class TLargeBlock
{
public:
    static constexpr size_t LargePage = size_t(2) << 20;

    static void* Allocate(size_t bytes)
    {
        if (bytes < LargePage) {
            void* memory = ::operator new(bytes);
            PrefaultForWriting(memory, bytes);
            return memory;
        }
        const size_t taken = Taken(bytes);
        void* memory = ::operator new(taken, std::align_val_t(LargePage));
#ifdef MADV_HUGEPAGE
        // Advice only: where large pages are off this changes nothing.
        ::madvise(memory, taken / LargePage * LargePage, MADV_HUGEPAGE);
#endif
        PrefaultForWriting(memory, taken);
        return memory;
    }

    static void Free(void* memory, size_t bytes)
    {
        if (bytes < LargePage)
            ::operator delete(memory);
        else
            ::operator delete(memory, std::align_val_t(LargePage));
    }

    // The bytes a block of `bytes` takes.
    static size_t Taken(size_t bytes)
    {
        if (bytes < LargePage)
            return bytes;
        const size_t whole = (bytes + LargePage - 1) / LargePage * LargePage;
        return whole - bytes <= bytes / 8 ? whole : bytes;
    }
};
