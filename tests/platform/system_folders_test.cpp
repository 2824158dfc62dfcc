#include "platform/system_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/directory_listing.h"
#include "platform/documents_folder.h"
#include "tests/support/file_tree.h"

namespace {

TEST(SpecialFolders, VariablesWinAndGetATrailingSlash)
{
    ::setenv("SYSTEMDRIVE", "/srv/system", 1);
    ::setenv("PROGRAMFILES", "/opt/", 1);
    EXPECT_EQ(platform::SpecialFolder("SYSTEMDRIVE"), "/srv/system/");
    EXPECT_EQ(platform::SpecialFolder("PROGRAMFILES"), "/opt/");
    ::unsetenv("SYSTEMDRIVE");
    ::unsetenv("PROGRAMFILES");
    EXPECT_EQ(platform::SpecialFolder("SYSTEMDRIVE"), "/");
    EXPECT_EQ(platform::SpecialFolder("PROGRAMFILES"), "/usr/");
}

TEST(SpecialFolders, DocumentsFallBackToHomeWhenTheFolderIsMissing)
{
    FileTree home;
    const char* oldHome = std::getenv("HOME");
    const std::string saved = oldHome != nullptr ? oldHome : "";
    ::setenv("HOME", home.Root().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", home.PathOf("config").c_str(), 1);
    EXPECT_EQ(platform::HomeFolder(), home.Root());
    const std::string documents = platform::DocumentsFolder();
    EXPECT_EQ(documents.back(), '/');
    EXPECT_TRUE(documents == home.Root() || documents == home.Root() + "Documents/") << documents;
    home.MakeFolder("Documents");
    EXPECT_EQ(platform::DocumentsFolder(), home.Root() + "Documents/");
    ::setenv("HOME", saved.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
