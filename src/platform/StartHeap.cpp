#include "platform/StartHeap.h"

#if defined(__GLIBC__) && defined(__linux__)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define TALVO_TUNED_HEAP
#endif

#ifdef TALVO_TUNED_HEAP
namespace
{

constexpr std::size_t HugePage = 2 * 1024 * 1024;
// The heap grows, and gives memory back, 2 MB at a time rather than in the
// default 128 KB steps: each step is a system call and a page-table change seen
// by every processor. What is not touched is never made resident.
constexpr int SessionTopPad = 2 * 1024 * 1024;
// Blocks this large or larger are mapped on their own, as the C library does
// by default; while the start's layout is made, larger ones come from the heap.
constexpr int MapThreshold = 128 * 1024;

// Whether the system backs a region with huge pages when asked.
bool HugePagesOnRequest()
{
    std::FILE* file = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (!file)
        return false;
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    return read && std::strstr(line, "[never]") == nullptr;
}

// The heap's free top: where it starts and where the heap ends.
char* TopStart()
{
    return static_cast<char*>(sbrk(0)) - mallinfo2().keepcost;
}

std::uintptr_t AlignUp(std::uintptr_t value, std::uintptr_t to)
{
    return (value + to - 1) & ~(to - 1);
}

} // namespace
#endif

TStartHeap::TStartHeap()
{
#ifdef TALVO_TUNED_HEAP
    // The threads beside the GUI thread (the font warm-up, the display and bus
    // readers, Qt's painting pool) allocate little. Sharing the one heap keeps
    // each from holding an arena of its own, mostly freed pages, all session.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, SessionTopPad);
    if (!HugePagesOnRequest())
        return;

    // While the layout is made and the start runs, the heap keeps 6 MB free at
    // its top, so that no free gives back the block, and large blocks come
    // from the heap.
    mallopt(M_TOP_PAD, 3 * HugePage);
    mallopt(M_MMAP_THRESHOLD, 8 * HugePage);
    const auto top = reinterpret_cast<std::uintptr_t>(TopStart());
    const std::uintptr_t block = AlignUp(top + 4096, HugePage);
    // The heap writes only at the ends of what it hands out, and a page once
    // written is a small page for good. So first one allocation spans the
    // block, growing the heap past it with nothing written inside, and huge
    // pages are asked for while the block is still untouched.
    void* span = std::malloc(block + HugePage - top);
    if (reinterpret_cast<std::uintptr_t>(span) == top + 2 * sizeof(std::size_t)
        && madvise(reinterpret_cast<void*>(block), HugePage, MADV_HUGEPAGE) == 0) {
        Block = reinterpret_cast<char*>(block);
        BlockSize = HugePage;
    }
    std::free(span);
    // Then a spacer, never touched, fills the top up to the block, so that
    // what is allocated next starts it.
    if (Block)
        Spacer = std::malloc(block - top - sizeof(std::size_t));
    mallopt(M_MMAP_THRESHOLD, MapThreshold);
    if (!Block)
        mallopt(M_TOP_PAD, SessionTopPad);
#endif
}

void TStartHeap::Settle()
{
    if (Settled)
        return;
    Settled = true;
#ifdef TALVO_TUNED_HEAP
    std::free(Spacer);
    Spacer = nullptr;
    // The system would otherwise fill the block's freed pages back in, in the
    // background, to make it one huge page again.
    if (Block)
        madvise(Block, BlockSize, MADV_NOHUGEPAGE);
    mallopt(M_TOP_PAD, SessionTopPad);
    // Free whole pages inside the heap as well as its top, keeping no pad.
    malloc_trim(0);
#endif
}
