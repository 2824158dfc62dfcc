#pragma once
// Memory a program is about to fill at once (a block for the files of a folder's listing): the
// kernel makes its pages in one call instead of one page fault each as the block is written.
#include <cstddef>

namespace platform {

// Asks for the whole pages inside [start, start + bytes) to be made writable now. Blocks under
// kLeastPrefaultBytes are left to fault as usual; a kernel without the request ignores it.
void PrefaultWritable(void* start, std::size_t bytes);

inline constexpr std::size_t kLeastPrefaultBytes = 32 * 1024;

} // namespace platform
