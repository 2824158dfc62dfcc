#include "bench/counting_heap.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// glibc keeps one size word in front of every block it hands out.
constexpr std::int64_t kBlockHeader = sizeof(std::size_t);

std::atomic<std::int64_t> LiveBytes{0};
std::atomic<std::int64_t> LiveBlocks{0};

void Count(void* block, int sign)
{
    if (block == nullptr || !bench::HeapCounted())
        return;
    LiveBytes += sign * (static_cast<std::int64_t>(::malloc_usable_size(block)) + kBlockHeader);
    LiveBlocks += sign;
}

void* Counted(void* block)
{
    Count(block, 1);
    return block;
}

void Release(void* block) noexcept
{
    Count(block, -1);
    std::free(block);
}

void* Allocate(std::size_t size)
{
    void* block = Counted(std::malloc(size != 0 ? size : 1));
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment)
{
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    void* block = Counted(std::aligned_alloc(align, rounded != 0 ? rounded : align));
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

} // namespace

namespace bench {

bool HeapCounted()
{
    static const bool counted = std::getenv("ORBIVANE_COUNT_HEAP") != nullptr;
    return counted;
}

HeapUse HeapInUse()
{
    return {LiveBytes.load(), LiveBlocks.load()};
}

} // namespace bench

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Counted(std::malloc(size != 0 ? size : 1)); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Counted(std::malloc(size != 0 ? size : 1)); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { Release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }
