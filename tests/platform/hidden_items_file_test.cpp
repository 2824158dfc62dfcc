#include "platform/hidden_items_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

constexpr const char* kRoot = "/home/ann/Music/";

// Written and read back: odd names come back byte for byte; an empty list keeps no file; a file
// that was refused is set aside before a new one takes its place.
TEST(HiddenItemsFile, ListsGoRoundTripAndAnEmptyListRemovesTheFile)
{
    const TempFolder folder;
    const std::string path = folder.Path() + "state/hidden/list";
    const std::set<std::string> items{"a b.txt", "line\nbreak", "100%/", "\xff\xfe-not-utf8", "deep/er/x.iso", "#hash"};
    ASSERT_EQ(platform::WriteHiddenItems(path, kRoot, items, platform::HiddenWrite::Replace), "");
    const platform::HiddenItemsRead read = platform::ReadHiddenItems(path, kRoot);
    EXPECT_EQ(read.Outcome, platform::HiddenRead::Read);
    EXPECT_EQ(read.Items, items);
    EXPECT_TRUE(read.Problems.empty());
    EXPECT_EQ(platform::ReadHiddenItems(path, "/home/bob/").Outcome, platform::HiddenRead::Refused)
        << "the file of another folder";

    folder.Write("state/hidden/list", "garbage\n");
    ASSERT_EQ(platform::WriteHiddenItems(path, kRoot, {"x"}, platform::HiddenWrite::SetAsideFirst), "");
    EXPECT_EQ(folder.Read("state/hidden/list.damaged"), "garbage\n");
    EXPECT_EQ(platform::ReadHiddenItems(path, kRoot).Items, (std::set<std::string>{"x"}));

    ASSERT_EQ(platform::WriteHiddenItems(path, kRoot, {}, platform::HiddenWrite::Replace), "");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(platform::ReadHiddenItems(path, kRoot).Outcome, platform::HiddenRead::Missing);
}

// Broken and hostile contents: a file not of ours is refused whole; lines that name nothing below
// the folder are left out one by one, each with its line number, and the rest is kept.
TEST(HiddenItemsFile, BrokenAndHostileContentsAreRefusedOrLeftOutWithTheReason)
{
    const TempFolder folder;
    const std::string head = "orbivane hidden items 1\nfolder /home/ann/Music/\n";
    struct Case {
        const char* Name;
        std::string Text;
        platform::HiddenRead Outcome;
        std::set<std::string> Items;
        std::size_t Problems;
    };
    const Case cases[] = {
        {"empty", "", platform::HiddenRead::Refused, {}, 1},
        {"another format", "orbivane hidden items 9\n", platform::HiddenRead::Refused, {}, 1},
        {"no folder line", "orbivane hidden items 1\n", platform::HiddenRead::Refused, {}, 1},
        {"binary", std::string("\x00\x01\x02", 3), platform::HiddenRead::Refused, {}, 1},
        {"too large", head + std::string(2 << 20, 'x'), platform::HiddenRead::Refused, {}, 1},
        {"good and bad lines",
         head + "item keep.txt\nitem ../../etc/passwd\nitem /abs\nitem a//b\nitem a/./b\nitem nul%00\nitem bad%2\n"
                "junk\nitem \n\nitem also%20kept/\n",
         platform::HiddenRead::Read, {"keep.txt", "also kept/"}, 8},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        const std::string path = folder.Write("list", test.Text);
        const platform::HiddenItemsRead read = platform::ReadHiddenItems(path, kRoot);
        EXPECT_EQ(read.Outcome, test.Outcome);
        EXPECT_EQ(read.Items, test.Items);
        EXPECT_EQ(read.Problems.size(), test.Problems);
    }
    const std::string pipe = folder.Path() + "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(platform::ReadHiddenItems(pipe, kRoot).Outcome, platform::HiddenRead::Refused) << "and does not block";
    const std::string sub = folder.Path() + "sub/";
    std::filesystem::create_directory(sub);
    EXPECT_EQ(platform::ReadHiddenItems(sub, kRoot).Outcome, platform::HiddenRead::Refused);
}

} // namespace
