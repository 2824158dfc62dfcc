#include "ring/name_store.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/fresh_memory.h"

QRNameStore::~QRNameStore()
{
    FreeBlocks();
}

QRNameStore::QRNameStore(QRNameStore&& other) noexcept
{
    *this = std::move(other);
}

QRNameStore& QRNameStore::operator=(QRNameStore&& other) noexcept
{
    if (this != &other) {
        FreeBlocks();
        Last = std::exchange(other.Last, nullptr);
        Free = std::exchange(other.Free, nullptr);
        Room = std::exchange(other.Room, 0);
        InUse = std::exchange(other.InUse, 0);
        Garbage = std::exchange(other.Garbage, 0);
    }
    return *this;
}

void QRNameStore::Reserve(std::size_t bytes)
{
    if (bytes > Room)
        AddBlock(bytes);
}

QRName QRNameStore::Keep(std::string_view text)
{
    if (text.empty())
        return QRName();
    const std::size_t bytes = text.size() + 1;
    if (bytes > Room)
        AddBlock(std::max({bytes, kLeastBlock, std::min(InUse / 8, kMostAhead)}));
    char* kept = Free;
    text.copy(kept, text.size());
    kept[text.size()] = '\0';
    Free += bytes;
    Room -= bytes;
    InUse += bytes;
    return QRName(kept);
}

void QRNameStore::Forget(const QRName& name)
{
    if (name.empty())
        return;
    const std::size_t bytes = name.size() + 1;
    InUse -= bytes;
    Garbage += bytes;
}

// A block is its link to the block before it followed by room for names.
void QRNameStore::AddBlock(std::size_t bytes)
{
    char* memory = new char[sizeof(Block) + bytes];
    Last = new (memory) Block{Last};
    Free = memory + sizeof(Block);
    Room = bytes;
    // Names are written into the block as they come, one after the other.
    platform::PrefaultWritable(Free, bytes);
}

void QRNameStore::FreeBlocks()
{
    while (Last != nullptr) {
        Block* previous = Last->Previous;
        Last->~Block();
        delete[] reinterpret_cast<char*>(Last);
        Last = previous;
    }
    Free = nullptr;
    Room = 0;
}
