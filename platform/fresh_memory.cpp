#include "platform/fresh_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

void PrefaultWritable(void* start, std::size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    if (bytes < kLeastPrefaultBytes)
        return;
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(page - 1);
    // Only a hint: on a kernel before 5.14 the call fails with EINVAL and the pages fault as before.
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}

} // namespace platform
