#pragma once
// The names of one folder's children, each NUL-terminated, packed into a few blocks: a scan makes
// room for all its new names at once, so a folder of many entries costs one block for their names
// instead of one heap block per name. A name that is no longer used (its element left or was
// renamed) stays as garbage until its folder packs its children's names into a fresh store.
#include <cstddef>
#include <string_view>

#include "ring/element_name.h"

class QRNameStore {
public:
    QRNameStore() = default;
    ~QRNameStore();
    QRNameStore(QRNameStore&& other) noexcept;
    QRNameStore& operator=(QRNameStore&& other) noexcept;
    QRNameStore(const QRNameStore&) = delete;
    QRNameStore& operator=(const QRNameStore&) = delete;

    // Makes room for names of `bytes` bytes in all, their ends included, in one block.
    void Reserve(std::size_t bytes);
    // Keeps a copy of `text`; the empty text needs no storage.
    QRName Keep(std::string_view text);
    // The name (kept by this store) is no longer used.
    void Forget(const QRName& name);
    // More bytes are garbage than in use: packing the names would at least halve the store.
    bool Sparse() const { return Garbage > InUse; }
    std::size_t BytesInUse() const { return InUse; }

private:
    // The smallest block made for names nobody made room for, and the largest share of the bytes
    // in use that such a block adds ahead (so that adding names one by one stays cheap).
    static constexpr std::size_t kLeastBlock = 64;
    static constexpr std::size_t kMostAhead = 4096;

    struct Block {
        Block* Previous = nullptr; // owned; the block made before this one
    };

    void AddBlock(std::size_t bytes);
    void FreeBlocks();

    Block* Last = nullptr; // owned, with every block before it
    char* Free = nullptr;  // not owned; the unused rest of the last block
    std::size_t Room = 0;
    std::size_t InUse = 0;
    std::size_t Garbage = 0;
};
