#pragma once
// The shell allocator's blocks, also for the stand-in's own shell calls that hand out memory
// the caller frees with IMalloc::Free (item identifier lists, display names).
#include <cstddef>

namespace winshim {

// A block counted as live until IMalloc::Free gives it back; null when the host has no memory.
void* AllocateShellBlock(std::size_t size);

}  // namespace winshim
