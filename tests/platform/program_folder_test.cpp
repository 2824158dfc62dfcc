#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(ProgramFolder, HomeVariableWinsAndGetsATrailingSlash)
{
    ::setenv("ORBIVANE_HOME", "/opt/orbivane", 1);
    EXPECT_EQ(platform::ProgramFolder(), "/opt/orbivane/");
    ::setenv("ORBIVANE_HOME", "/opt/orbivane/", 1);
    EXPECT_EQ(platform::ProgramFolder(), "/opt/orbivane/");
    ::unsetenv("ORBIVANE_HOME");
}

TEST(ProgramFolder, OtherwiseTheExecutablesFolder)
{
    ::unsetenv("ORBIVANE_HOME");
    const std::string folder = platform::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(folder, exe.parent_path().string() + "/");
}

} // namespace
