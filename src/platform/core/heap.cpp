#include "platform/core/heap.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace {

// Blocks asked for with HEAP_HUGE_PAGES from this size on are mapped on
// their own, aligned to and advised for transparent huge pages: one fault
// then brings in 2 MiB instead of 4 KiB, which makes reading a large file
// into it several times quicker. Memory that the program writes itself is
// better left in small pages: fresh huge pages cost more per byte to fault
// in where the system has to find and clear 2 MiB at a time.
constexpr std::size_t HUGE_PAGE = std::size_t(2) << 20;
constexpr std::size_t MAPPED_FROM = HUGE_PAGE / 2;

struct Block {
    void* pAddress;
    std::size_t nMapped; // 0 for a block from the C heap
};

struct PrivateHeap {
    std::size_t maximum = 0;
    std::size_t used = 0;
    std::vector<Block> blocks;
};

std::size_t RoundUp(std::size_t value, std::size_t unit) {
    return (value + unit - 1) / unit * unit;
}

// Anonymous pages are zero-filled by the system.
void* MapHuge(std::size_t size, std::size_t* mapped) {
    const std::size_t length = RoundUp(size, HUGE_PAGE);
    if (length < size || length + HUGE_PAGE < length) {
        return nullptr;
    }
    void* raw = mmap(nullptr, length + HUGE_PAGE, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) {
        return nullptr;
    }
    // Trim the mapping to a 2 MiB boundary at both ends.
    auto* base = static_cast<char*>(raw);
    const std::size_t head = RoundUp(std::uintptr_t(base), HUGE_PAGE) - std::uintptr_t(base);
    if (head > 0) {
        munmap(base, head);
    }
    munmap(base + head + length, HUGE_PAGE - head);
    madvise(base + head, length, MADV_HUGEPAGE);
    *mapped = length;
    return base + head;
}

void Release(const Block& block) {
    if (block.nMapped != 0) {
        munmap(block.pAddress, block.nMapped);
    } else {
        std::free(block.pAddress);
    }
}

} // namespace

HANDLE HeapCreate(DWORD, std::size_t, std::size_t dwMaximumSize) {
    auto* heap = new (std::nothrow) PrivateHeap;
    if (heap == nullptr) {
        return nullptr;
    }
    heap->maximum = dwMaximumSize;
    return heap;
}

void* HeapAlloc(HANDLE hHeap, DWORD dwFlags, std::size_t dwBytes) {
    auto* heap = static_cast<PrivateHeap*>(hHeap);
    if (heap == nullptr) {
        return nullptr;
    }
    if (heap->maximum != 0 && dwBytes > heap->maximum - heap->used) {
        return nullptr;
    }
    Block block{nullptr, 0};
    if ((dwFlags & HEAP_HUGE_PAGES) && dwBytes >= MAPPED_FROM) {
        block.pAddress = MapHuge(dwBytes, &block.nMapped);
    } else {
        block.pAddress = (dwFlags & HEAP_ZERO_MEMORY) ? std::calloc(1, dwBytes ? dwBytes : 1)
                                                      : std::malloc(dwBytes ? dwBytes : 1);
    }
    if (block.pAddress == nullptr) {
        return nullptr;
    }
    try {
        heap->blocks.push_back(block);
    } catch (const std::bad_alloc&) {
        Release(block);
        return nullptr;
    }
    heap->used += dwBytes;
    return block.pAddress;
}

BOOL HeapDestroy(HANDLE hHeap) {
    auto* heap = static_cast<PrivateHeap*>(hHeap);
    if (heap == nullptr) {
        return FALSE;
    }
    for (const Block& block : heap->blocks) {
        Release(block);
    }
    delete heap;
    return TRUE;
}
