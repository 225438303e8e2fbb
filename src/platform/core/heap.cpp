#include "platform/core/heap.h"

#include <cstdlib>
#include <new>
#include <vector>

namespace {

struct PrivateHeap {
    std::size_t maximum = 0;
    std::size_t used = 0;
    std::vector<void*> blocks;
};

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
    // calloc hands out fresh zero pages for large blocks, which makes a
    // zero-filled allocation of a big file no dearer than an uninitialised one.
    void* block = (dwFlags & HEAP_ZERO_MEMORY) ? std::calloc(1, dwBytes ? dwBytes : 1)
                                               : std::malloc(dwBytes ? dwBytes : 1);
    if (block == nullptr) {
        return nullptr;
    }
    try {
        heap->blocks.push_back(block);
    } catch (const std::bad_alloc&) {
        std::free(block);
        return nullptr;
    }
    heap->used += dwBytes;
    return block;
}

BOOL HeapDestroy(HANDLE hHeap) {
    auto* heap = static_cast<PrivateHeap*>(hHeap);
    if (heap == nullptr) {
        return FALSE;
    }
    for (void* block : heap->blocks) {
        std::free(block);
    }
    delete heap;
    return TRUE;
}
