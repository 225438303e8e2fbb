// Private heaps: every allocation of a heap is released with the heap itself
// in one step. Allocations with HEAP_ZERO_MEMORY are zero-filled.
#pragma once

#include "platform/core/wintypes.h"

#include <cstddef>

constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
// A large block that read() fills: mapped on its own and advised for
// transparent huge pages, so that the copy faults once per 2 MiB.
constexpr DWORD HEAP_HUGE_PAGES = 0x01000000;

// Returns nullptr when the heap cannot be created. A maximum of 0 lets the
// heap grow as needed; otherwise the allocations together never exceed it.
HANDLE HeapCreate(DWORD flOptions, std::size_t dwInitialSize, std::size_t dwMaximumSize);

// Returns nullptr when the block cannot be allocated.
void* HeapAlloc(HANDLE hHeap, DWORD dwFlags, std::size_t dwBytes);

BOOL HeapDestroy(HANDLE hHeap);
