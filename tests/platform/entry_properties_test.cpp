#include "platform/entry_properties.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/file_tree.h"

namespace {

TEST(EntryProperties, PermissionsAreWrittenAsLsWritesThem)
{
    const struct {
        unsigned Mode;
        const char* Text;
    } cases[] = {
        {0644, "rw-r--r-- (644)"}, {0755, "rwxr-xr-x (755)"}, {0, "--------- (0)"},
        {04755, "rwsr-xr-x (4755)"}, {02750, "rwxr-s--- (2750)"}, {01777, "rwxrwxrwt (1777)"},
        {01666, "rw-rw-rwT (1666)"}, {04644, "rwSr--r-- (4644)"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(platform::PermissionText(test.Mode), test.Text) << std::oct << test.Mode;
}

// A link is described, not followed; a missing entry is reported as missing.
TEST(EntryProperties, EntriesAreReadWithoutFollowingLinks)
{
    FileTree tree;
    const std::string file = tree.File("data.bin", 5000);
    std::filesystem::create_symlink("data.bin", tree.PathOf("link"));
    const struct {
        std::string Path;
        platform::EntryType Type;
        std::int64_t Size;
        std::string Target;
    } cases[] = {
        {file, platform::EntryType::File, 5000, ""},
        {tree.PathOf("link"), platform::EntryType::Link, 8, "data.bin"},
        {tree.PathOf(""), platform::EntryType::Folder, -1, ""},
        {tree.PathOf("gone"), platform::EntryType::Missing, 0, ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Path);
        const platform::EntryProperties entry = platform::ReadEntryProperties(test.Path);
        EXPECT_EQ(entry.Type, test.Type);
        if (test.Size >= 0) {
            EXPECT_EQ(entry.Size, test.Size);
        }
        EXPECT_EQ(entry.LinkTarget, test.Target);
        if (test.Type != platform::EntryType::Missing) {
            EXPECT_EQ(entry.Owner.empty(), false);
        }
    }
}

} // namespace
