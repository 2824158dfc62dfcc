#include "platform/file_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using platform::ClipboardFiles;
using platform::ClipboardKind;
using platform::MimePayloads;

const std::vector<std::string> kOddPaths{
    "/tmp/plain.txt",          "/tmp/with space/a b.txt", "/tmp/line\nbreak",
    "/tmp/not-utf8-\xFF\xFE",  "/tmp/hash#and?mark",      "/tmp/100%25 real%",
    "/tmp/\xC3\xA9t\xC3\xA9/", "/tmp/semi;colon&amp=1",
};

TEST(FileClipboard, WhatWePutComesBackByteForByteWithItsKind)
{
    for (const ClipboardKind kind : {ClipboardKind::Copy, ClipboardKind::Cut}) {
        const ClipboardFiles files{kOddPaths, kind};
        const MimePayloads payloads = platform::ClipboardPayloads(files);
        EXPECT_EQ(platform::FilesOfPayloads(payloads), files);
        const std::string firstLine = payloads.at(platform::kGnomeFilesFormat).substr(0, 5);
        EXPECT_EQ(firstLine, kind == ClipboardKind::Cut ? "cut\nf" : "copy\n");
        EXPECT_EQ(payloads.contains(platform::kKdeCutFormat), kind == ClipboardKind::Cut);
        // Each URL on a line of its own: no raw line break, space or "#" inside one.
        EXPECT_EQ(payloads.at(platform::kUriListFormat).find_first_of(" #"), std::string::npos);
        EXPECT_EQ(std::count(payloads.at(platform::kUriListFormat).begin(), payloads.at(platform::kUriListFormat).end(), '\n'),
                  static_cast<long>(kOddPaths.size()));
    }
    EXPECT_EQ(platform::DragPayloads({"/tmp/a b"}), (MimePayloads{{platform::kUriListFormat, "file:///tmp/a%20b\r\n"}}));
}

TEST(FileClipboard, OtherProgramsFilesAreReadFromWhicheverFormatTheyOffer)
{
    struct Case {
        const char* Name;
        MimePayloads Payloads;
        std::optional<ClipboardFiles> Files;
    };
    const std::vector<std::string> ab{"/tmp/a", "/tmp/b c"};
    for (const Case& row : std::vector<Case>{
             {"a URL list alone is a copy", {{"text/uri-list", "file:///tmp/a\r\nfile:///tmp/b%20c\r\n"}},
              ClipboardFiles{ab, ClipboardKind::Copy}},
             {"the KDE marker makes it a cut",
              {{"text/uri-list", "file:///tmp/a\nfile://localhost/tmp/b%20c"}, {"application/x-kde-cutselection", "1"}},
              ClipboardFiles{ab, ClipboardKind::Cut}},
             {"a KDE marker of 0 is a copy",
              {{"text/uri-list", "file:///tmp/a"}, {"application/x-kde-cutselection", "0"}},
              ClipboardFiles{{"/tmp/a"}, ClipboardKind::Copy}},
             {"the GNOME list alone, cut", {{"x-special/gnome-copied-files", "cut\nfile:///tmp/a\nfile:///tmp/b%20c"}},
              ClipboardFiles{ab, ClipboardKind::Cut}},
             {"the GNOME list with line ends of CR LF and a final one",
              {{"x-special/gnome-copied-files", "copy\r\nfile:///tmp/a\r\nfile:///tmp/b%20c\r\n"}},
              ClipboardFiles{ab, ClipboardKind::Copy}},
             {"GNOME's cut applies to the URL list beside it",
              {{"x-special/gnome-copied-files", "cut\nfile:///tmp/a"}, {"text/uri-list", "file:///tmp/a\r\n"}},
              ClipboardFiles{{"/tmp/a"}, ClipboardKind::Cut}},
             {"other machines and schemes are left out",
              {{"text/uri-list", "# comment\r\nhttp://x.org/a\r\nfile://server/b\r\nfile:///tmp/a\r\n"}},
              ClipboardFiles{{"/tmp/a"}, ClipboardKind::Copy}},
             {"no local file at all", {{"text/uri-list", "https://x.org/page\r\n"}}, std::nullopt},
             {"text only", {{"text/plain", "/tmp/a"}}, std::nullopt},
             {"an empty clipboard", {}, std::nullopt},
         }) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(platform::FilesOfPayloads(row.Payloads), row.Files);
    }
}

} // namespace
