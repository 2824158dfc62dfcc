#include "resources/resource_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "tests/support/engine_fixture.h"
#include "tests/support/image_files.h"

namespace {

const Pixels kRed{255, 0, 0};

// The checksum PNG chunks carry (CRC-32 of the chunk type and data).
std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<std::uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
const Pixels kBlue{0, 0, 255};

class ImageTest : public EngineTest {
protected:
    QOXPtr<QRImage> LoadImage(const std::string& name) { return QOXMake<QRImage>(nullptr, name); }

    std::vector<std::string> ErrorTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : Desktop.Boxes)
            texts.push_back(box.Text);
        return texts;
    }

    // Loading the file must fail with a "QR_IMAGE" report and leave the image empty.
    void ExpectRefused(const std::string& relativeFile, const std::string& content)
    {
        SCOPED_TRACE(relativeFile);
        Desktop.Boxes.clear();
        ProgramFolder.Write(relativeFile, content);
        const std::string name = relativeFile.substr(0, relativeFile.rfind('.'));
        auto image = LoadImage(name);
        EXPECT_FALSE(image->IsLoaded());
        EXPECT_TRUE(image->Data.empty());
        EXPECT_TRUE(image->Bitmap.empty());
        ASSERT_EQ(Desktop.Boxes.size(), 1u);
        EXPECT_EQ(Desktop.Boxes[0].Text.rfind("QR_IMAGE: Image \"" + ProgramFolder.Path() + relativeFile + "\"", 0), 0u)
            << Desktop.Boxes[0].Text;
        std::filesystem::remove(ProgramFolder.Path() + relativeFile);
    }
};

class GiantImageTest : public ImageTest {
protected:
    void ExpectTooLarge(const std::string& relativeFile, const std::string& content)
    {
        ExpectRefused(relativeFile, content);
        ASSERT_FALSE(Desktop.Boxes.empty());
        EXPECT_NE(Desktop.Boxes.back().Text.find("too large"), std::string::npos) << relativeFile << ": " << Desktop.Boxes.back().Text;
    }
};

TEST_F(ImageTest, BmpWinsOverJpgAndGivesBlueGreenRedRowsTopFirst)
{
    Pixels topRedBottomBlue = Filled(2, 1, kRed);
    const Pixels blueRow = Filled(2, 1, kBlue);
    topRedBottomBlue.insert(topRedBottomBlue.end(), blueRow.begin(), blueRow.end());
    ProgramFolder.Write("textures/pair.bmp", EncodeBmp(2, 2, topRedBottomBlue));
    ProgramFolder.Write("textures/pair.jpg", EncodeJpeg(2, 2, Filled(2, 2, {0, 255, 0})));

    auto image = LoadImage("textures/pair");
    ASSERT_TRUE(image->IsLoaded());
    EXPECT_EQ(image->GetName(), "pair");
    EXPECT_EQ(image->Width, 2);
    EXPECT_EQ(image->Height, 2);
    EXPECT_EQ(image->BitsPerPixel, 24);
    EXPECT_EQ(image->Bitmap, (Pixels{0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0}));
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"Creating Image: \"pair\""});
    image.reset();
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"Deleting Image: \"pair\""});
}

TEST_F(ImageTest, JpegDecodesIntoTheBitmapForm)
{
    ProgramFolder.Write("photo.jpg", EncodeJpeg(16, 8, Filled(16, 8, {200, 100, 50})));
    auto image = LoadImage("photo");
    ASSERT_TRUE(image->IsLoaded());
    EXPECT_EQ(image->Width, 16);
    EXPECT_EQ(image->Height, 8);
    ASSERT_EQ(image->Bitmap.size(), 16u * 8u * 3u);
    EXPECT_NEAR(image->Bitmap[0], 50, 3);
    EXPECT_NEAR(image->Bitmap[1], 100, 3);
    EXPECT_NEAR(image->Bitmap[2], 200, 3);
}

TEST_F(ImageTest, TgaComesBeforePngAndHasRedAndBlueSwapped)
{
    const Pixels stored{10, 20, 30, 40, 11, 21, 31, 41, 12, 22, 32, 42, 13, 23, 33, 43};
    ProgramFolder.Write("mark.tga", EncodeTga(2, 2, 32, stored));
    ProgramFolder.Write("mark.png", EncodePng(1, 1, 3, kBlue));
    auto image = LoadImage("mark");
    ASSERT_TRUE(image->IsLoaded());
    EXPECT_EQ(image->Format, FormatRGBA);
    EXPECT_EQ(image->RawWidth, 2);
    EXPECT_EQ(image->RawHeight, 2);
    EXPECT_EQ(image->Data, (Pixels{30, 20, 10, 40, 31, 21, 11, 41, 32, 22, 12, 42, 33, 23, 13, 43}));
}

TEST_F(ImageTest, EightBitTgaIsGreyAndTwentyFourBitIsRgb)
{
    ProgramFolder.Write("grey.tga", EncodeTga(2, 1, 8, {7, 9}));
    ProgramFolder.Write("colour.tga", EncodeTga(1, 1, 24, {1, 2, 3}));
    auto grey = LoadImage("grey");
    auto colour = LoadImage("colour");
    EXPECT_EQ(grey->Format, FormatLuminance);
    EXPECT_EQ(grey->Data, (Pixels{7, 9}));
    EXPECT_EQ(colour->Format, FormatRGB);
    EXPECT_EQ(colour->Data, (Pixels{3, 2, 1}));
}

TEST_F(ImageTest, PngComponentsGiveTheFormatAndFlipVerticalReversesRows)
{
    ProgramFolder.Write("grey.png", EncodePng(1, 3, 1, {1, 2, 3}));
    ProgramFolder.Write("rgba.png", EncodePng(1, 2, 4, {1, 2, 3, 4, 5, 6, 7, 8}));
    auto grey = LoadImage("grey");
    auto rgba = LoadImage("rgba");
    EXPECT_EQ(grey->Format, FormatLuminance);
    EXPECT_EQ(rgba->Format, FormatRGBA);
    ASSERT_EQ(grey->Data, (Pixels{1, 2, 3}));
    grey->FlipVertical();
    rgba->FlipVertical();
    EXPECT_EQ(grey->Data, (Pixels{3, 2, 1}));
    EXPECT_EQ(rgba->Data, (Pixels{5, 6, 7, 8, 1, 2, 3, 4}));
}

TEST_F(ImageTest, MissingFileIsReportedOnceAndLeavesTheImageEmpty)
{
    auto image = LoadImage("textures/none");
    EXPECT_FALSE(image->IsLoaded());
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"QX_FILE: File \"textures/none\" not found!"});
}

TEST_F(ImageTest, CreateFilledMakesABitmapOfTheColour)
{
    auto image = QOXMake<QRImage>(nullptr);
    image->CreateFilled(3, 2, {1.0f, 0.5f, 0.0f});
    ASSERT_TRUE(image->IsLoaded());
    EXPECT_EQ(image->Bitmap.size(), 18u);
    EXPECT_EQ((Pixels{image->Bitmap[15], image->Bitmap[16], image->Bitmap[17]}), (Pixels{0, 128, 255}));
    image->CreateFilled(100000, 100000, {});
    EXPECT_FALSE(image->IsLoaded());
    EXPECT_EQ(Desktop.Boxes.size(), 1u);
}

TEST_F(ImageTest, TruncatedFilesOfEveryTypeAreRefused)
{
    const Pixels picture = Filled(8, 8, {90, 60, 30});
    const std::string files[] = {EncodeBmp(8, 8, picture), EncodeJpeg(8, 8, picture),
                                 EncodeTga(8, 8, 24, picture), EncodePng(8, 8, 3, picture)};
    const char* names[] = {"cut.bmp", "cut.jpg", "cut.tga", "cut.png"};
    for (int i = 0; i < 4; ++i) {
        ExpectRefused(names[i], files[i].substr(0, files[i].size() / 2));
        ExpectRefused(names[i], files[i].substr(0, 5));
        ExpectRefused(names[i], "");
    }
}

TEST_F(GiantImageTest, HeadersClaimingGiantPicturesAreRefusedBeforeAnyPixelMemory)
{
    std::string bmp = EncodeBmp(2, 2, Filled(2, 2, kRed));
    bmp[18] = bmp[19] = bmp[20] = '\x7F';
    bmp[22] = bmp[23] = bmp[24] = '\x7F';
    ExpectTooLarge("giant.bmp", bmp);

    std::string tga = EncodeTga(2, 2, 24, Filled(2, 2, kRed));
    tga[12] = tga[13] = tga[14] = tga[15] = '\xFF';
    ExpectTooLarge("giant.tga", tga);

    // IHDR width and height are the big-endian words at bytes 16 and 20, its checksum at 29.
    // 20000 x 20000 pixels would take more than 256 MiB.
    std::string png = EncodePng(2, 2, 3, Filled(2, 2, kRed));
    png.replace(16, 8, "\x00\x00\x4E\x20\x00\x00\x4E\x20", 8);
    const std::uint32_t crc = Crc32(png.substr(12, 17));
    for (int i = 0; i < 4; ++i)
        png[static_cast<std::size_t>(29 + i)] = static_cast<char>(crc >> (24 - 8 * i));
    ExpectTooLarge("giant.png", png);

    // The start-of-frame marker holds height then width as big-endian words.
    std::string jpeg = EncodeJpeg(8, 8, Filled(8, 8, kRed));
    const std::size_t frame = jpeg.find("\xFF\xC0", 0, 2);
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, "\x4E\x20\x4E\x20", 4);
    ExpectTooLarge("giant.jpg", jpeg);
}

// A camera's photo (5472 x 3648, 57 MiB of pixels) is an ordinary picture, whatever its format.
TEST_F(ImageTest, PhotosOfCameraSizeLoad)
{
    const int width = 5472;
    const int height = 3648;
    const Pixels photo = Filled(width, height, {40, 120, 200});
    const struct {
        const char* File;
        std::string Content;
    } photos[] = {{"photo.jpg", EncodeJpeg(width, height, photo)}, {"photo.png", EncodePng(width, height, 3, photo)}};
    for (const auto& file : photos) {
        SCOPED_TRACE(file.File);
        ProgramFolder.Write(file.File, file.Content);
        auto image = LoadImage("photo");
        ASSERT_TRUE(image->IsLoaded());
        EXPECT_EQ(std::max(image->Width, image->RawWidth), width);
        EXPECT_EQ(std::max(image->Height, image->RawHeight), height);
        EXPECT_EQ(image->Bitmap.size() + image->Data.size(), static_cast<std::size_t>(width) * height * 3);
        std::filesystem::remove(ProgramFolder.Path() + file.File);
    }
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(ImageTest, CompressedAndOddDepthTgaFilesAreRefused)
{
    std::string compressed = EncodeTga(1, 1, 24, {1, 2, 3});
    compressed[2] = 10;
    ExpectRefused("packed.tga", compressed);
    std::string sixteenBits = EncodeTga(1, 1, 24, {1, 2, 3});
    sixteenBits[16] = 16;
    ExpectRefused("short.tga", sixteenBits);
}

// Damaged bytes anywhere in a file either still decode or are refused; nothing else may happen
// (the sanitizer build checks that no byte outside the file is read).
TEST_F(ImageTest, RandomlyDamagedFilesNeverCrash)
{
    const Pixels picture = Filled(16, 16, {90, 60, 30});
    const std::string files[] = {EncodeBmp(16, 16, picture), EncodeJpeg(16, 16, picture),
                                 EncodeTga(16, 16, 24, picture), EncodePng(16, 16, 3, picture)};
    const char* names[] = {"bmp", "jpg", "tga", "png"};
    std::mt19937 random(4);
    Engine()->ShowErrorDialogs = false;
    for (int i = 0; i < 4; ++i) {
        for (int round = 0; round < 60; ++round) {
            std::string damaged = files[i];
            for (int hit = 0; hit < 4; ++hit)
                damaged[random() % damaged.size()] = static_cast<char>(random());
            ProgramFolder.Write(std::string("damaged.") + names[i], damaged);
            auto image = LoadImage("damaged");
            const std::size_t held = image->IsLoaded() ? image->Bitmap.size() + image->Data.size() : 0;
            EXPECT_TRUE(!image->IsLoaded() || held > 0);
        }
        std::filesystem::remove(ProgramFolder.Path() + "damaged." + names[i]);
    }
}

} // namespace
