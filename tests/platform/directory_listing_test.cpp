#include "platform/directory_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>

#include "tests/support/file_tree.h"

namespace {

using platform::DirectoryEntry;
using platform::ListDirectory;
using platform::ListingDetail;
using platform::ListingResult;

std::map<std::string, DirectoryEntry> ListByName(const std::string& folder, ListingDetail detail)
{
    std::vector<DirectoryEntry> entries;
    EXPECT_EQ(ListDirectory(folder, detail, entries), ListingResult::Listed);
    std::map<std::string, DirectoryEntry> byName;
    for (const DirectoryEntry& entry : entries)
        byName[entry.Name] = entry;
    EXPECT_EQ(byName.size(), entries.size()) << "a name was listed twice";
    return byName;
}

TEST(DirectoryListing, OnePassGivesEveryEntryButTheDotEntries)
{
    FileTree tree;
    tree.File("big.bin", 5'000'000'000ULL); // sparse: past 32 bits without using the disk
    tree.File(".hidden.txt", 7);
    tree.MakeFolder("sub");
    tree.MakeFolder(".cache");
    tree.Link("to-sub", tree.PathOf("sub"));
    tree.Link("dangling", tree.PathOf("nowhere"));

    for (const ListingDetail detail : {ListingDetail::Kinds, ListingDetail::Sizes, ListingDetail::Full}) {
        const auto entries = ListByName(tree.Root(), detail);
        ASSERT_EQ(entries.size(), 6u);
        EXPECT_FALSE(entries.contains(".") || entries.contains(".."));
        EXPECT_TRUE(entries.at("sub").Folder);
        EXPECT_FALSE(entries.at("sub").Link);
        EXPECT_TRUE(entries.at(".cache").Folder && entries.at(".cache").Hidden);
        EXPECT_TRUE(entries.at(".hidden.txt").Hidden);
        EXPECT_FALSE(entries.at("big.bin").Hidden || entries.at("big.bin").Folder);
        EXPECT_TRUE(entries.at("to-sub").Folder && entries.at("to-sub").Link);
        EXPECT_TRUE(entries.at("dangling").Link);
        EXPECT_FALSE(entries.at("dangling").Folder);
    }
    EXPECT_EQ(ListByName(tree.Root(), ListingDetail::Sizes).at("big.bin").Size, 5'000'000'000LL);
    const auto full = ListByName(tree.Root(), ListingDetail::Full);
    EXPECT_EQ(full.at("big.bin").Size, 5'000'000'000LL);
    EXPECT_EQ(full.at(".hidden.txt").Size, 7);
    const std::int64_t now = std::time(nullptr);
    EXPECT_NEAR(static_cast<double>(full.at("big.bin").Created), static_cast<double>(now), 120.0);
    EXPECT_NEAR(static_cast<double>(full.at("big.bin").LastAccess), static_cast<double>(now), 120.0);
}

TEST(DirectoryListing, ReadOnlyFollowsWhatTheUserMayWrite)
{
    const bool binding = FileTree::PermissionsApply();
    FileTree tree;
    const std::string file = tree.File("locked.txt", 1);
    tree.File("open.txt", 1);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    const auto entries = ListByName(tree.Root(), ListingDetail::Full);
    EXPECT_FALSE(entries.at("open.txt").ReadOnly);
    if (binding) {
        EXPECT_TRUE(entries.at("locked.txt").ReadOnly);
    }
}

TEST(DirectoryListing, MissingAndUnreadableFoldersAreToldApart)
{
    FileTree tree;
    tree.File("plain.txt", 1);
    std::vector<DirectoryEntry> entries{DirectoryEntry{}};
    EXPECT_EQ(ListDirectory(tree.PathOf("gone/"), ListingDetail::Kinds, entries), ListingResult::Missing);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(ListDirectory(tree.PathOf("plain.txt"), ListingDetail::Kinds, entries), ListingResult::Missing);
    const std::string locked = tree.UnreadableFolder("locked");
    if (FileTree::PermissionsApply()) {
        EXPECT_EQ(ListDirectory(locked, ListingDetail::Kinds, entries), ListingResult::Unreadable);
    }
}

TEST(DirectoryListing, LookUpOfOneEntry)
{
    FileTree tree;
    tree.File("folder/.secret", 12);
    DirectoryEntry entry;
    ASSERT_TRUE(platform::LookUpEntry(tree.PathOf("folder/"), entry));
    EXPECT_EQ(entry.Name, "folder");
    EXPECT_TRUE(entry.Folder);
    ASSERT_TRUE(platform::LookUpEntry(tree.PathOf("folder/.secret"), entry));
    EXPECT_TRUE(entry.Hidden);
    EXPECT_EQ(entry.Size, 12);
    EXPECT_FALSE(platform::LookUpEntry(tree.PathOf("folder/none"), entry));
    EXPECT_TRUE(platform::IsDirectory(tree.PathOf("folder/")));
    EXPECT_FALSE(platform::IsDirectory(tree.PathOf("folder/.secret")));
    EXPECT_TRUE(platform::IsFile(tree.PathOf("folder/.secret")));
    EXPECT_FALSE(platform::IsFile(tree.PathOf("folder/none")));
}

TEST(DirectoryListing, OddNamesComeBackByteForByte)
{
    FileTree tree;
    const std::vector<std::string> names{"with space", "Photos (2020), best", "quote\"d", "ümlaut.TXT", "line\nbreak"};
    for (const std::string& name : names)
        tree.File(name, 1);
    const auto entries = ListByName(tree.Root(), ListingDetail::Kinds);
    for (const std::string& name : names)
        EXPECT_TRUE(entries.contains(name)) << name;
}

} // namespace
