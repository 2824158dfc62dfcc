#include "resources/texture_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const QRTextureSource kSource{0x1234abcdull, 8, 4, 0x1907, 0x83f0, "Mesa\nllvmpipe\n4.5 Mesa 22\nGLU 1.3"};

std::vector<QRTextureLevel> Levels()
{
    return {{8, 4, 0x83f0, true, std::vector<std::uint8_t>(16, 7)}, {4, 2, 0x83f0, true, {1, 2, 3, 4, 5, 6, 7, 8}},
            {2, 1, 0x83f0, true, {9, 9, 9, 9, 9, 9, 9, 9}}, {1, 1, 0x83f0, true, {0, 0, 0, 0, 0, 0, 0, 1}}};
}

bool SameLevels(const std::vector<QRTextureLevel>& a, const std::vector<QRTextureLevel>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const QRTextureLevel& x, const QRTextureLevel& y) {
        return x.Width == y.Width && x.Height == y.Height && x.InternalFormat == y.InternalFormat &&
               x.Compressed == y.Compressed && x.Bytes == y.Bytes;
    });
}

QRTextureSource With(const std::function<void(QRTextureSource&)>& change)
{
    QRTextureSource source = kSource;
    change(source);
    return source;
}

// Kept levels come back only for exactly the source they were made from and only from a whole
// file; anything else in their place (torn, altered, foreign, not a file at all) is a miss, never
// a wrong texture, and keeping again puts a good file back.
TEST(TextureCacheTest, LevelsComeBackOnlyWholeAndOnlyForTheirOwnSource)
{
    struct Case {
        const char* What;
        QRTextureSource Asked;
        std::function<void(const std::string& file)> Damage;
        bool Found;
    };
    const auto none = [](const std::string&) {};
    const auto rewrite = [](const std::function<void(std::string&)>& edit) {
        return [edit](const std::string& file) {
            std::string bytes;
            {
                std::ifstream in(file, std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            }
            edit(bytes);
            std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        };
    };
    const Case cases[] = {
        {"the same source", kSource, none, true},
        {"other pixels", With([](QRTextureSource& s) { s.PixelHash ^= 1; }), none, false},
        {"another size", With([](QRTextureSource& s) { s.Height = 8; }), none, false},
        {"another pixel layout", With([](QRTextureSource& s) { s.Layout = 0x80e0; }), none, false},
        {"another format asked for", With([](QRTextureSource& s) { s.InternalFormat = 0x83f3; }), none, false},
        {"another driver", With([](QRTextureSource& s) { s.Driver += "."; }), none, false},
        {"torn: the last byte missing", kSource, rewrite([](std::string& b) { b.pop_back(); }), false},
        {"a level byte changed", kSource, rewrite([](std::string& b) { b[b.size() - 12] ^= 0x40; }), false},
        {"empty", kSource, rewrite([](std::string& b) { b.clear(); }), false},
        {"another program's file", kSource, rewrite([](std::string& b) { b.replace(0, 8, "GIF89a.."); }), false},
        {"a folder in its place", kSource,
         [](const std::string& file) {
             fs::remove(file);
             fs::create_directory(file);
         },
         false},
        {"a pipe in its place (not waited on)", kSource,
         [](const std::string& file) {
             fs::remove(file);
             ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TempFolder folder;
        const QRTextureCache cache(folder.Path() + "cache/textures/");
        ASSERT_EQ(cache.Keep(kSource, Levels()), std::nullopt);
        c.Damage(cache.FileOf(kSource));
        const std::optional<std::vector<QRTextureLevel>> found = cache.Find(c.Asked);
        ASSERT_EQ(found.has_value(), c.Found);
        if (found) {
            EXPECT_TRUE(SameLevels(*found, Levels()));
        }
        if (fs::is_regular_file(cache.FileOf(kSource))) {
            ASSERT_EQ(cache.Keep(kSource, Levels()), std::nullopt) << "a damaged file is written over";
            EXPECT_TRUE(cache.Find(kSource).has_value());
        }
    }
}

TEST(TextureCacheTest, WhatCannotBeKeptIsSaidAndLeavesNothingBehind)
{
    TempFolder folder;
    folder.Write("blocked", "");
    std::vector<QRTextureLevel> plain = Levels();
    plain[1].Compressed = false;
    struct Case {
        const char* What;
        std::string Folder;
        std::vector<QRTextureLevel> Kept;
        const char* Reason;
    };
    const Case cases[] = {
        {"no levels", folder.Path() + "c/", {}, "no levels to keep"},
        {"an uncompressed level", folder.Path() + "c/", plain, "a level is not compressed"},
        {"a file where the folder goes", folder.Path() + "blocked/c/", Levels(), "cannot make"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const QRTextureCache cache(c.Folder);
        const std::optional<std::string> problem = cache.Keep(kSource, c.Kept);
        ASSERT_TRUE(problem.has_value());
        EXPECT_NE(problem->find(c.Reason), std::string::npos) << *problem;
        EXPECT_FALSE(cache.Find(kSource).has_value());
    }
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(folder.Path()), fs::recursive_directory_iterator()), 1)
        << "only the blocking file is there";
}

} // namespace
