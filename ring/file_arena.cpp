#include "ring/file_arena.h"

#include <algorithm>
#include <new>

#include "platform/fresh_memory.h"
#include "ring/element_file.h"

namespace {

constexpr std::size_t kBitsPerWord = 64;

bool IsFreed(const std::vector<std::uint64_t>& freed, std::size_t slot)
{
    return !freed.empty() && (freed[slot / kBitsPerWord] >> (slot % kBitsPerWord) & 1u) != 0;
}

} // namespace

void QRFileArena::BlockDeleter::operator()(QREFile* slots) const
{
    ::operator delete(static_cast<void*>(slots), std::align_val_t(alignof(QREFile)));
}

QRFileArena::~QRFileArena()
{
    Clear();
}

void QRFileArena::Reserve(std::size_t count)
{
    if (count == 0 || (Room != nullptr && Room->Capacity - Room->Used >= count))
        return;
    Block block;
    block.Slots.reset(static_cast<QREFile*>(::operator new(count * sizeof(QREFile), std::align_val_t(alignof(QREFile)))));
    block.Capacity = static_cast<std::uint32_t>(count);
    // A listing's files are written into the block right away, one after the other.
    platform::PrefaultWritable(block.Slots.get(), count * sizeof(QREFile));
    const QREFile* slots = block.Slots.get();
    const auto at = std::upper_bound(Blocks.begin(), Blocks.end(), slots,
                                     [](const QREFile* address, const Block& b) { return address < b.Slots.get(); });
    Room = &*Blocks.insert(at, std::move(block));
}

QREFile* QRFileArena::Make(QREFolder* parent, QOXRing* ring, std::string_view name)
{
    if (Room == nullptr || Room->Used == Room->Capacity)
        Reserve(kLeastBlock);
    QREFile* file = new (Room->Slots.get() + Room->Used) QREFile(parent, ring, name);
    ++Room->Used;
    ++Room->Alive;
    return file;
}

void QRFileArena::Free(QREFile* file)
{
    Block* block = BlockOf(file);
    if (block == nullptr)
        return;
    const auto slot = static_cast<std::size_t>(file - block->Slots.get());
    file->~QREFile();
    if (block->Freed.empty())
        block->Freed.assign((block->Capacity + kBitsPerWord - 1) / kBitsPerWord, 0);
    block->Freed[slot / kBitsPerWord] |= std::uint64_t{1} << (slot % kBitsPerWord);
    if (--block->Alive > 0 || (block == Room && Room->Used < Room->Capacity))
        return; // a room block with room left waits for more files
    Blocks.erase(Blocks.begin() + (block - Blocks.data()));
    Room = nullptr; // the room block may have moved; the next file makes room anew
}

void QRFileArena::Clear()
{
    for (Block& block : Blocks)
        EndFiles(block);
    Blocks.clear();
    Room = nullptr;
}

std::size_t QRFileArena::BlockBytes() const
{
    std::size_t bytes = 0;
    for (const Block& block : Blocks)
        bytes += block.Capacity * sizeof(QREFile);
    return bytes;
}

QRFileArena::Block* QRFileArena::BlockOf(const QREFile* file)
{
    auto after = std::upper_bound(Blocks.begin(), Blocks.end(), file,
                                  [](const QREFile* address, const Block& b) { return address < b.Slots.get(); });
    if (after == Blocks.begin())
        return nullptr;
    Block& block = *(after - 1);
    return file < block.Slots.get() + block.Used ? &block : nullptr;
}

void QRFileArena::EndFiles(Block& block)
{
    QREFile* slots = block.Slots.get();
    for (std::size_t slot = 0; slot < block.Used; ++slot)
        if (!IsFreed(block.Freed, slot))
            slots[slot].~QREFile();
}
