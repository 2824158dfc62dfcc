#include "platform/uri_list.h"

#include <gtest/gtest.h>

namespace {

TEST(UriList, ListsAreSplitIntoUrlsWithoutComments)
{
    EXPECT_EQ(platform::SplitUriList("# from a browser\r\nfile:///a\r\n\r\nhttp://x.org/b\r\nfile:///c"),
              (std::vector<std::string>{"file:///a", "http://x.org/b", "file:///c"}));
    EXPECT_TRUE(platform::SplitUriList("").empty());
}

TEST(UriList, OnlyLocalFileUrlsGiveAPathDecodedByteForByte)
{
    const std::string longName(300, 'n');
    struct Case {
        std::string Url;
        bool Local;
        std::string Path;
    };
    for (const Case& row : std::vector<Case>{
             {"file:///home/ann/a%20b.txt", true, "/home/ann/a b.txt"},
             {"FILE://localhost/tmp/x", true, "/tmp/x"},
             {"file:/tmp/short", true, "/tmp/short"},
             {"file:///tmp/%C3%A9t%C3%A9/%FF", true, "/tmp/\xC3\xA9t\xC3\xA9/\xFF"},
             {"file:///tmp/" + longName, true, "/tmp/" + longName},
             {"file:///tmp/q?query#part", true, "/tmp/q"},
             {"file://server/share/x", false, ""},
             {"http://example.org/a.txt", false, ""},
             {"sftp://host/home/x", false, ""},
             {"/tmp/no-scheme", false, ""},
             {"file:///tmp/bad%2", false, ""},
             {"file:///tmp/nul%00byte", false, ""},
         }) {
        SCOPED_TRACE(row.Url);
        std::string path;
        EXPECT_EQ(platform::LocalPathOfUrl(row.Url, path), row.Local);
        if (row.Local) {
            EXPECT_EQ(path, row.Path);
        }
    }
}

} // namespace
