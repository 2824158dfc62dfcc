#pragma once
// The file elements of one folder, made in blocks instead of one heap block each: a scan makes
// room for the files of each part of its listing at once. A file freed on its own leaves a hole in
// its block, which is given back once all its files are gone; freeing the folder gives every
// block back at once. GUI thread only, as the elements are.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class QOXRing;
class QREFile;
class QREFolder;

class QRFileArena {
public:
    QRFileArena() = default;
    ~QRFileArena(); // ends every file still in a block
    QRFileArena(const QRFileArena&) = delete;
    QRFileArena& operator=(const QRFileArena&) = delete;

    // Makes room for `count` more files in one block.
    void Reserve(std::size_t count);
    // A new file in the room made (a small block of its own when none is left).
    QREFile* Make(QREFolder* parent, QOXRing* ring, std::string_view name);
    // Ends a file of this arena and frees its place.
    void Free(QREFile* file);
    // Ends every file and gives every block back.
    void Clear();
    // Bytes the blocks take.
    std::size_t BlockBytes() const;

private:
    // The least room made when a file comes with no room reserved.
    static constexpr std::size_t kLeastBlock = 16;

    struct BlockDeleter {
        void operator()(QREFile* slots) const;
    };
    struct Block {
        std::unique_ptr<QREFile, BlockDeleter> Slots; // owned; raw room for Capacity files
        std::uint32_t Capacity = 0;
        std::uint32_t Used = 0;  // slots handed out, the freed ones among them
        std::uint32_t Alive = 0; // files in the block not yet freed
        std::vector<std::uint64_t> Freed; // a bit per slot, made with the first file freed
    };

    // The block holding `file` (blocks are kept in address order), or none.
    Block* BlockOf(const QREFile* file);
    static void EndFiles(Block& block);

    std::vector<Block> Blocks;
    Block* Room = nullptr; // not owned; the block new files go into
};
