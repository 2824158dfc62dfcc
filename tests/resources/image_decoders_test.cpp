#include "resources/image_decoders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

using Decoder = DecodedImage (*)(const std::vector<std::uint8_t>&);

const std::map<std::string, Decoder> kDecoders{
    {"bmp", DecodeBmp}, {"jpeg", DecodeJpeg}, {"png", DecodePng}, {"tga", DecodeTga}};

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

DecodedImage DecodeFuzzFile(const std::string& folder, const std::string& format, const std::string& name)
{
    return kDecoders.at(format)(FileBytes(std::string(ORBIVANE_FUZZ_DIR) + folder + "/" + format + "/" + name));
}

// The fuzz targets' seeds: every kind of file each decoder takes, all 12 x 12 pictures.
TEST(ImageDecoders, EverySeedDecodes)
{
    int seeds = 0;
    for (const auto& [format, decode] : kDecoders) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(ORBIVANE_FUZZ_DIR) + "corpus/" + format)) {
            SCOPED_TRACE(entry.path().string());
            const DecodedImage image = decode(FileBytes(entry.path()));
            ASSERT_TRUE(image.Ok()) << image.Error;
            EXPECT_EQ(image.Width, 12);
            EXPECT_EQ(image.Height, 12);
            EXPECT_EQ(image.Pixels.size(), image.RowSize() * 12);
            ++seeds;
        }
    }
    EXPECT_GE(seeds, 30);
}

// A negative height stores the rows top first: the same stored bytes give the rows reversed.
TEST(ImageDecoders, TopDownBmpHoldsItsRowsTheOtherWayRound)
{
    const DecodedImage bottomUp = DecodeFuzzFile("corpus", "bmp", "rgb24.bmp");
    const DecodedImage topDown = DecodeFuzzFile("corpus", "bmp", "rgb24-top-down.bmp");
    ASSERT_TRUE(topDown.Ok()) << topDown.Error;
    std::vector<std::uint8_t> flipped = bottomUp.Pixels;
    FlipRows(flipped, bottomUp.RowSize(), bottomUp.Height);
    EXPECT_EQ(topDown.Pixels, flipped);
}

// Files that once made a decoder take giant memory or invent a picture: each is refused, before
// any pixel memory is taken, for the reason it deserves. Every file kept is listed here.
TEST(ImageDecoders, HostileFilesAreRefusedForTheirReason)
{
    const std::map<std::string, std::string> reasons{
        // A zTXt chunk whose length field claims 1.6 GB in a 95-byte file.
        {"png/lying-chunk-length.png", "a chunk is longer than the rest of the file"},
        // 8000 x 8000 pixels (within the limits) from 64 compressed bytes.
        {"png/lying-picture-size.png", "the file is too small for its picture"},
        {"jpeg/lying-picture-size.jpg", "the file is too small for its picture"},
        {"jpeg/lying-progressive-size.jpg", "the file is too small for its picture"},
        {"tga/lying-picture-size.tga", "the file ends too early"},
        // 2000 x 2000 with the compression code 0xFFFFFFFF, 54 bytes and no pixels.
        {"bmp/bogus-compression.bmp", "unsupported BMP compression 4294967295"},
        {"bmp/run-length-coded.bmp", "unsupported BMP compression 1"},
    };
    int files = 0;
    for (const auto& [format, decode] : kDecoders) {
        const std::filesystem::path folder = std::string(ORBIVANE_FUZZ_DIR) + "regressions/" + format;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = format + "/" + entry.path().filename().string();
            SCOPED_TRACE(name);
            ASSERT_EQ(reasons.count(name), 1u) << "a kept file without its reason";
            const DecodedImage image = decode(FileBytes(entry.path()));
            EXPECT_EQ(image.Error, reasons.at(name));
            EXPECT_TRUE(image.Pixels.empty());
            ++files;
        }
    }
    EXPECT_EQ(files, static_cast<int>(reasons.size()));
}

} // namespace
