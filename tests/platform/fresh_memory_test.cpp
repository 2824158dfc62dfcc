#include "platform/fresh_memory.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The pages of a fresh anonymous mapping are made only where the request covers whole pages, and
// only for a block of the least size or more; nothing else changes.
TEST(FreshMemoryTest, WholePagesOfALargeEnoughBlockAreMadeAtOnce)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(probe, MAP_FAILED);
    const bool canMake = madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    munmap(probe, page);
    if (!canMake)
        GTEST_SKIP() << "this kernel makes no pages on request (before Linux 5.14)";
    const std::size_t pages = 2 * platform::kLeastPrefaultBytes / page;
    const struct {
        const char* Name;
        std::size_t Offset; // bytes from the mapping's start
        std::size_t Bytes;
        std::size_t FirstMade, EndMade; // pages expected resident, [first, end)
    } cases[] = {
        {"a whole block", 0, pages * page, 0, pages},
        {"a block that starts and ends inside pages", page / 2, (pages - 2) * page, 1, pages - 2},
        {"a block under the least size", 0, platform::kLeastPrefaultBytes - page, 0, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Name);
        void* mapping = mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(mapping, MAP_FAILED);
        auto* bytes = static_cast<unsigned char*>(mapping);
        platform::PrefaultWritable(bytes + row.Offset, row.Bytes);
        std::vector<unsigned char> resident(pages);
        ASSERT_EQ(mincore(mapping, pages * page, resident.data()), 0);
        for (std::size_t at = 0; at < pages; ++at)
            EXPECT_EQ(resident[at] & 1u, at >= row.FirstMade && at < row.EndMade ? 1u : 0u) << "page " << at;
        munmap(mapping, pages * page);
    }
}

} // namespace
