#pragma once

#include <cstddef>
#include <cstdint>
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
