#include "resources/picture_prefetch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "tests/support/image_files.h"
#include "tests/support/temp_folder.h"

namespace {

const Pixels kPicture{255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};

// A picture is handed over only while its file is the one the worker read; otherwise the caller
// reads the file itself, so a picture swapped in meanwhile, or a broken one, is read (and reported)
// the ordinary way.
TEST(PicturePrefetchTest, APictureIsTakenOnceAndOnlyWhileItsFileIsTheOneRead)
{
    struct Case {
        const char* What;
        std::string Written; // the file as the worker finds it
        std::function<void(const TempFolder&)> AfterRead;
        bool Taken;
    };
    const std::string png = EncodePng(2, 2, 3, kPicture);
    const auto untouched = [](const TempFolder&) {};
    const Case cases[] = {
        {"unchanged", png, untouched, true},
        {"rewritten longer", png, [&](const TempFolder& folder) { folder.Write("a.png", png + "tail"); }, false},
        {"replaced by a copy of itself (another inode)", png,
         [&](const TempFolder& folder) {
             folder.Write("copy.png", png);
             std::filesystem::rename(folder.Path() + "copy.png", folder.Path() + "a.png");
         },
         false},
        {"removed", png, [](const TempFolder& folder) { std::filesystem::remove(folder.Path() + "a.png"); }, false},
        {"broken from the start", png.substr(0, png.size() / 2), untouched, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        TempFolder folder;
        const std::string path = folder.Write("a.png", test.Written);
        QRPicturePrefetch prefetch({{path, ImageFileType::Png}});
        prefetch.AwaitReadAhead();
        test.AfterRead(folder);
        const std::optional<DecodedImage> taken = prefetch.Take(path, ImageFileType::Png);
        ASSERT_EQ(taken.has_value(), test.Taken);
        if (taken) {
            EXPECT_EQ(taken->Width, 2);
            EXPECT_EQ(taken->Components, 3);
            EXPECT_EQ(taken->Pixels, kPicture);
        }
        EXPECT_FALSE(prefetch.Take(path, ImageFileType::Png)) << "a second take";
    }
}

TEST(PicturePrefetchTest, OnlyWhatWasAskedForAndNotBegunIsLeftToTheCaller)
{
    TempFolder folder;
    const std::string first = folder.Write("first.png", EncodePng(2, 2, 3, kPicture));
    const std::string second = folder.Write("second.tga", EncodeTga(2, 2, 24, kPicture));
    {
        QRPicturePrefetch prefetch({{first, ImageFileType::Png}, {second, ImageFileType::Tga}});
        prefetch.AwaitReadAhead();
        EXPECT_FALSE(prefetch.Take(folder.Path() + "other.png", ImageFileType::Png)) << "not asked for";
        EXPECT_FALSE(prefetch.Take(first, ImageFileType::Tga)) << "asked for as another type";
        EXPECT_TRUE(prefetch.Take(second, ImageFileType::Tga));
        EXPECT_TRUE(prefetch.Take(first, ImageFileType::Png));
    }
    // A pipe where a picture was listed is refused, not waited on.
    const std::string pipe = folder.Path() + "pipe.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    {
        QRPicturePrefetch prefetch({{pipe, ImageFileType::Png}});
        prefetch.AwaitReadAhead();
        EXPECT_FALSE(prefetch.Take(pipe, ImageFileType::Png));
    }
    // Ended at once with many pictures to go: it stops after the one under way and drops the rest.
    std::vector<QRPictureFile> many(200, QRPictureFile{first, ImageFileType::Png});
    QRPicturePrefetch ended(many);
}

TEST(PicturePrefetchTest, StartUpPicturesAreTheFontsThenThePicturesInNameOrder)
{
    TempFolder data;
    for (const char* name : {"textures/fonts/b.png", "textures/fonts/a.tga", "textures/fonts/readme.txt",
                             "textures/d.png", "textures/c.jpg", "textures/e.bmp", "textures/x.png/inner.png"})
        data.Write(name, "x");
    std::vector<std::string> paths;
    for (const QRPictureFile& file : QRPicturePrefetch::StartUpPictures(data.Path()))
        paths.push_back(file.Path.substr(data.Path().size()));
    EXPECT_EQ(paths, (std::vector<std::string>{"textures/fonts/a.tga", "textures/fonts/b.png", "textures/c.jpg",
                                               "textures/d.png"}));
    EXPECT_TRUE(QRPicturePrefetch::StartUpPictures(data.Path() + "missing/").empty());
}

} // namespace
