#include "ring/ring_hidden.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "platform/hidden_items_file.h"
#include "platform/program_folder.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"

namespace {

class HiddenItemsTest : public AppTest {};

// A list of hidden items that is not one of ours is reported, the ring shows everything, and the
// next item hidden keeps the broken file aside rather than writing over it.
TEST_F(HiddenItemsTest, ABrokenListIsReportedAndSetAsideAndTheRingShowsEverything)
{
    Tree.File("a.bin", 10);
    Tree.File("b.bin", 20);
    const std::string file = platform::HiddenItemsPathOf(Tree.Root());
    ASSERT_TRUE(platform::MakeStateFolders(platform::HiddenItemsFolder()));
    std::ofstream(file) << "item a.bin\n";
    QOXRing* ring = Open();
    ASSERT_FALSE(Desktop.Boxes.empty());
    EXPECT_NE(Desktop.Boxes.back().Text.find("cannot all be read from \"" + file + "\""), std::string::npos)
        << Desktop.Boxes.back().Text;
    EXPECT_NE(Desktop.Boxes.back().Text.find("The ring shows everything."), std::string::npos);
    EXPECT_TRUE(ChildNamed(*ring->Root, "a.bin")->Visible);

    EXPECT_TRUE(ring->Hidden.Hide(*ring, *ChildNamed(*ring->Root, "b.bin")));
    EXPECT_FALSE(ring->Hidden.Hide(*ring, *ring->Root)) << "the root stays";
    ring->Relayout();
    EXPECT_FALSE(ChildNamed(*ring->Root, "b.bin")->Visible);
    std::ifstream aside(file + ".damaged");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), "item a.bin\n");
    EXPECT_EQ(platform::ReadHiddenItems(file, Tree.Root()).Items, (std::set<std::string>{"b.bin"}));
}

} // namespace
