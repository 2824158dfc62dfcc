#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::ProgramFolders;
using platform::ProgramLayout;

mode_t Mode(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(ProgramFolders, TheLayoutFollowsWhereTheProgramLies)
{
    TempFolder root;
    const std::string r = root.Path();
    root.Write("build/bin/orbivane.ini", "");
    root.Write("usr/bin/orbivane", "");
    root.Write("usr/share/orbivane/orbivane.ini", "");
    root.Write("bare/bin/orbivane", "");
    root.Write("locked/bin/orbivane.ini", "");
    root.Write("locked/share/orbivane/orbivane.ini", "");
    ::chmod((r + "locked/bin").c_str(), 0555);
    const std::string data = r + "usr/share/orbivane/";
    struct Case {
        const char* Name;
        platform::ProgramPlace Place;
        ProgramFolders Expected;
    };
    const Case cases[] = {
        {"ORBIVANE_HOME wins", {"/opt/orbi", r + "usr/bin", "", "", "/home/ann", "/x/cache"},
         {ProgramLayout::Portable, "/opt/orbi/", "/opt/orbi/", "/opt/orbi/", "/opt/orbi/"}},
        {"a writable folder with a settings file", {"", r + "build/bin", "", "", "/home/ann", ""},
         {ProgramLayout::Portable, r + "build/bin/", r + "build/bin/", r + "build/bin/", r + "build/bin/"}},
        {"installed, XDG defaults", {"", r + "usr/bin", "", "", "/home/ann", ""},
         {ProgramLayout::Installed, data, "/home/ann/.config/orbivane/", "/home/ann/.local/state/orbivane/",
          "/home/ann/.cache/orbivane/"}},
        {"installed, XDG folders set", {"", r + "usr/bin/", "/x/conf", "/x/state/", "/home/ann/", "/x/cache"},
         {ProgramLayout::Installed, data, "/x/conf/orbivane/", "/x/state/orbivane/", "/x/cache/orbivane/"}},
        {"installed, relative XDG folders ignored", {"", r + "usr/bin", "conf", "state", "/home/ann", "cache"},
         {ProgramLayout::Installed, data, "/home/ann/.config/orbivane/", "/home/ann/.local/state/orbivane/",
          "/home/ann/.cache/orbivane/"}},
        {"neither: the executable's folder", {"", r + "bare/bin", "", "", "/home/ann", ""},
         {ProgramLayout::Portable, r + "bare/bin/", r + "bare/bin/", r + "bare/bin/", r + "bare/bin/"}},
        {"a settings file in a folder the user cannot write", {"", r + "locked/bin", "", "", "/home/ann", ""},
         {ProgramLayout::Installed, r + "locked/share/orbivane/", "/home/ann/.config/orbivane/",
          "/home/ann/.local/state/orbivane/", "/home/ann/.cache/orbivane/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (::geteuid() == 0 && c.Place.Executable == r + "locked/bin")
            continue; // root may write every folder
        const ProgramFolders folders = platform::ChooseProgramFolders(c.Place);
        EXPECT_EQ(folders.Layout, c.Expected.Layout);
        EXPECT_EQ(folders.Data, c.Expected.Data);
        EXPECT_EQ(folders.Config, c.Expected.Config);
        EXPECT_EQ(folders.State, c.Expected.State);
        EXPECT_EQ(folders.Cache, c.Expected.Cache);
    }
    ::chmod((r + "locked/bin").c_str(), 0755);
}

TEST(ProgramFolders, ThisProcessReadsItsEnvironmentAndExecutable)
{
    const char* userHome = std::getenv("HOME");
    const std::string savedHome = userHome != nullptr ? userHome : "";
    ::setenv("ORBIVANE_HOME", "/opt/orbi", 1);
    ::setenv("XDG_CONFIG_HOME", "/x/conf", 1);
    ::setenv("XDG_STATE_HOME", "/x/state", 1);
    ::setenv("XDG_CACHE_HOME", "/x/cache", 1);
    ::setenv("HOME", "/home/ann", 1);
    const platform::ProgramPlace place = platform::PlaceOfThisProcess();
    EXPECT_EQ(place.Home, "/opt/orbi");
    EXPECT_EQ(place.ConfigHome, "/x/conf");
    EXPECT_EQ(place.StateHome, "/x/state");
    EXPECT_EQ(place.CacheHome, "/x/cache");
    EXPECT_EQ(place.UserHome, "/home/ann");
    EXPECT_EQ(place.Executable, fs::read_symlink("/proc/self/exe").parent_path().string());
    EXPECT_EQ(platform::StateFolder(), "/opt/orbi/");
    for (const char* name : {"ORBIVANE_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
        ::unsetenv(name);
    ::setenv("HOME", savedHome.c_str(), 1);
}

// The user's folders of an installed copy: made owner-only, the missing defaults copied, whatever
// the user has (a changed file, an empty one, a link) kept; a file deleted by the user comes back.
TEST(ProgramFolders, PreparingCopiesMissingDefaultsAndKeepsTheUsersFiles)
{
    TempFolder root;
    const std::string r = root.Path();
    for (const char* name : platform::kUserFiles)
        root.Write(std::string("data/") + name, std::string("default ") + name + "\n");
    const ProgramFolders folders{ProgramLayout::Installed, r + "data/", r + "home/.config/orbivane/",
                                 r + "home/.local/state/orbivane/", r + "home/.cache/orbivane/"};
    fs::create_directories(r + "home/.config/orbivane");
    root.Write("home/.config/orbivane/favorites.ini", "mine\n");
    root.Write("home/.config/orbivane/views.ini", "");
    fs::create_symlink(r + "nowhere.ini", r + "home/.config/orbivane/recent.ini");

    EXPECT_TRUE(platform::PrepareUserFolders(folders).empty());
    EXPECT_EQ(root.Read("home/.config/orbivane/orbivane.ini"), "default orbivane.ini\n");
    EXPECT_EQ(root.Read("home/.config/orbivane/favorites.ini"), "mine\n");
    EXPECT_EQ(root.Read("home/.config/orbivane/views.ini"), "");
    EXPECT_TRUE(fs::is_symlink(r + "home/.config/orbivane/recent.ini"));
    EXPECT_FALSE(fs::exists(r + "nowhere.ini"));
    EXPECT_EQ(Mode(r + "home/.local/state/orbivane"), 0700u);
    EXPECT_EQ(Mode(r + "home/.local"), 0700u);
    EXPECT_EQ(std::distance(fs::directory_iterator(r + "home/.config/orbivane"), fs::directory_iterator()), 4)
        << "no temporary file is left behind";

    root.Write("home/.config/orbivane/orbivane.ini", "[STARTUP]\nInitialRingMode=-1\n");
    fs::remove(r + "home/.config/orbivane/views.ini");
    EXPECT_TRUE(platform::PrepareUserFolders(folders).empty());
    EXPECT_EQ(root.Read("home/.config/orbivane/orbivane.ini"), "[STARTUP]\nInitialRingMode=-1\n");
    EXPECT_EQ(root.Read("home/.config/orbivane/views.ini"), "default views.ini\n");
}

TEST(ProgramFolders, PreparingReportsWhatFailsAndLeavesAPortableCopyAlone)
{
    TempFolder root;
    const std::string r = root.Path();
    root.Write("data/orbivane.ini", "default\n");
    root.Write("file", "");
    const ProgramFolders blocked{ProgramLayout::Installed, r + "data/", r + "file/orbivane/", r + "state/", r + "cache/"};
    const std::vector<std::string> problems = platform::PrepareUserFolders(blocked);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("Cannot make the folder \"" + r + "file/orbivane\": ", 0), 0u) << problems[0];
    EXPECT_TRUE(fs::is_directory(r + "state"));

    const ProgramFolders portable{ProgramLayout::Portable, r + "p/", r + "p/", r + "p/", r + "p/"};
    EXPECT_TRUE(platform::PrepareUserFolders(portable).empty());
    EXPECT_FALSE(fs::exists(r + "p"));
}

} // namespace
