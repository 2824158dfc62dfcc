#include "ring/file_arena.h"

#include <gtest/gtest.h>

#include "ring/element_file.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"

namespace {

class FileArenaTest : public AppTest {};

// Files freed one by one leave holes until their block is empty, which is then given back; files
// made without room reserved get a small block; clearing ends the rest. (AddressSanitizer runs
// this too: every file is ended exactly once and every block given back.)
TEST_F(FileArenaTest, BlocksGoBackWhenTheirFilesHaveGone)
{
    QOXRing* ring = Open();
    QREFolder* root = ring->Root;
    QRFileArena arena;
    arena.Reserve(3);
    QREFile* a = arena.Make(root, ring, "a");
    QREFile* b = arena.Make(root, ring, "b");
    QREFile* c = arena.Make(root, ring, "c");
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(c, a + 2);
    EXPECT_EQ(arena.BlockBytes(), 3 * sizeof(QREFile));
    a->Label = "a label of its own"; // freed with its file
    QREFile* d = arena.Make(root, ring, "d"); // no room left: a small block of its own
    EXPECT_EQ(d->Name, "d");
    const std::size_t twoBlocks = arena.BlockBytes();
    EXPECT_GT(twoBlocks, 3 * sizeof(QREFile));
    arena.Free(b);
    arena.Free(a);
    EXPECT_EQ(c->Name, "c");
    EXPECT_EQ(arena.BlockBytes(), twoBlocks);
    arena.Free(c);
    EXPECT_EQ(arena.BlockBytes(), twoBlocks - 3 * sizeof(QREFile));
    arena.Reserve(2);
    arena.Make(root, ring, "e")->Label = "another";
    arena.Clear();
    EXPECT_EQ(arena.BlockBytes(), 0u);
}

} // namespace
