#pragma once
// Counts what the C++ heap holds: the benchmark binary replaces the global operator new and delete,
// so every block any C++ code asks for (elements, names, lists, containers) is counted. A block
// counts with what the allocator really spends on it: its usable size plus the allocator's own
// header, not just the bytes asked for. Counting is on for the whole process when the environment
// names ORBIVANE_COUNT_HEAP, and off otherwise, so that timed runs pay nothing for it.
#include <cstdint>

namespace bench {

struct HeapUse {
    std::int64_t Bytes = 0;
    std::int64_t Blocks = 0;
};

bool HeapCounted();
HeapUse HeapInUse();

} // namespace bench
