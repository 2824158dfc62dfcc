#include "resources/gl_textureengine.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "resources/gl_materialengine.h"
#include "resources/resource_texture.h"
#include "tests/support/full_view_quad.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/image_files.h"

namespace {

const Pixels kRed{255, 0, 0};
const Pixels kBlue{0, 0, 255};
const Rgba kRedPixel{255, 0, 0, 255};
const Rgba kBluePixel{0, 0, 255, 255};

// A picture `size` pixels square: the upper half red, the lower half blue.
Pixels RedOverBlue(int components, int size = 2)
{
    Pixels red = kRed;
    Pixels blue = kBlue;
    if (components == 4) {
        red.push_back(255);
        blue.push_back(255);
    }
    Pixels picture = Filled(size, size / 2, red);
    const Pixels bottom = Filled(size, size / 2, blue);
    picture.insert(picture.end(), bottom.begin(), bottom.end());
    return picture;
}

class TextureTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Engine = Device->TextureEngine;
        // Nearest filtering and exact formats, so that every texel reads back as it was written.
        Engine->FilterMode = 0;
        Engine->SetCompression(false);
    }

    QOXPtr<QRTexture> LoadTexture(const std::string& name) { return QOXMake<QRTexture>(name); }

    // Draws the texture over the whole view with t = 1 at the top, through the material engine.
    void DrawFullView(QRTexture* texture)
    {
        GLMaterialEngine* materials = Device->MaterialEngine;
        materials->ResetMaterial();
        materials->SetUnlit();
        materials->AddTexturePass(texture);
        materials->ApplyMaterial();
        DrawFullViewQuad();
    }

    Rgba Top() const { return ReadPixel(kWidth / 2, kHeight * 3 / 4); }
    Rgba Bottom() const { return ReadPixel(kWidth / 2, kHeight / 4); }

    void ExpectUpright(const std::string& name)
    {
        SCOPED_TRACE(name);
        auto texture = LoadTexture(name);
        ASSERT_TRUE(texture->IsLoaded());
        EXPECT_EQ(texture->Width, 2);
        EXPECT_EQ(texture->Height, 2);
        ClearTo(0, 0, 0);
        DrawFullView(texture.get());
        EXPECT_TRUE(Near(Top(), kRedPixel, 4));
        EXPECT_TRUE(Near(Bottom(), kBluePixel, 4));
    }

    GLTextureEngine* Engine = nullptr;
};

TEST_F(TextureTest, StartFindsTheExtensionsAndLogsThem)
{
    const std::vector<std::string> log = LogLines();
    const auto has = [&log](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
    EXPECT_TRUE(has("QOX GL: Extension \"GL_ARB_multitexture\" initialized!"));
    EXPECT_TRUE(has("QOX GL: Supporting " + std::to_string(Engine->LastUnit + 1) + " Texel Units"));
    EXPECT_TRUE(has("QOX GL: Texture Engine initialized!"));
    EXPECT_EQ(Engine->LastUnit, GLTextureEngine::kUnits - 1);
    EXPECT_NE(Engine->glActiveTextureARB, nullptr);
    EXPECT_TRUE(HasExtension("GL_ARB_multitexture"));
    EXPECT_FALSE(HasExtension("GL_NO_SUCH_extension"));
}

TEST_F(TextureTest, PowerOfTwoStaysWithinFourAndFourThousand)
{
    EXPECT_EQ(GLTextureEngine::PowerOfTwo(256), 256);
    EXPECT_EQ(GLTextureEngine::PowerOfTwo(257), 512);
    EXPECT_EQ(GLTextureEngine::PowerOfTwo(1), 4);
    EXPECT_EQ(GLTextureEngine::PowerOfTwo(2049), 4096);
    EXPECT_EQ(GLTextureEngine::PowerOfTwo(100000), 4096);
}

TEST_F(TextureTest, EveryFormatShowsItsPictureTheRightWayUp)
{
    ProgramFolder.Write("textures/bmp.bmp", EncodeBmp(2, 2, RedOverBlue(3)));
    ProgramFolder.Write("textures/jpg.jpg", EncodeJpeg(16, 16, RedOverBlue(3, 16)));
    ProgramFolder.Write("textures/png.png", EncodePng(2, 2, 3, RedOverBlue(3)));
    // TGA files store the bottom row first, blue-green-red.
    ProgramFolder.Write("textures/tga.tga", EncodeTga(2, 2, 24, {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255}));
    for (const char* name : {"textures/bmp", "textures/png", "textures/tga"})
        ExpectUpright(name);
    // JPEG blurs the edge between the rows a little; the middle of each half stays clear.
    auto jpeg = LoadTexture("textures/jpg");
    ClearTo(0, 0, 0);
    DrawFullView(jpeg.get());
    EXPECT_GT(Top()[0], 200);
    EXPECT_LT(Top()[2], 60);
    EXPECT_GT(Bottom()[2], 200);
    EXPECT_LT(Bottom()[0], 60);
    EXPECT_TRUE(Desktop.Boxes.empty());
}

// Grey pictures draw as grey: an alpha-only texture would leave only the material's white.
TEST_F(TextureTest, GreyPicturesDrawAsGrey)
{
    ProgramFolder.Write("textures/grey.png", EncodePng(2, 2, 1, Filled(2, 2, {90})));
    ProgramFolder.Write("textures/grey8.tga", EncodeTga(2, 2, 8, Filled(2, 2, {160})));
    const struct {
        const char* Name;
        int Level;
    } pictures[] = {{"textures/grey", 90}, {"textures/grey8", 160}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.Name);
        auto texture = LoadTexture(picture.Name);
        ASSERT_TRUE(texture->IsLoaded());
        EXPECT_EQ(texture->Format, FormatLuminance);
        ClearTo(0, 0, 0);
        DrawFullView(texture.get());
        EXPECT_TRUE(Near(Top(), {picture.Level, picture.Level, picture.Level, 255}, 3));
    }
}

// A picture wider than GL takes becomes a texture GL takes, scaled down, its colours in place.
TEST_F(TextureTest, PicturesBeyondTheLargestTextureAreScaledDown)
{
    const int largest = GetInteger(GL_MAX_TEXTURE_SIZE);
    const int width = 2 * largest + 500;
    const int height = 4;
    Pixels picture;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.insert(picture.end(), x < width / 2 ? kRed.begin() : kBlue.begin(), x < width / 2 ? kRed.end() : kBlue.end());
    ProgramFolder.Write("textures/wide.png", EncodePng(width, height, 3, picture));
    auto texture = LoadTexture("textures/wide");
    ASSERT_TRUE(texture->IsLoaded());
    EXPECT_LE(texture->Width, largest);
    EXPECT_GT(texture->Width, 0);
    ClearTo(0, 0, 0);
    DrawFullView(texture.get());
    EXPECT_TRUE(Near(ReadPixel(kWidth / 4, kHeight / 2), kRedPixel, 4));
    EXPECT_TRUE(Near(ReadPixel(kWidth * 3 / 4, kHeight / 2), kBluePixel, 4));
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(TextureTest, SearchOrderIsBmpJpgPngTga)
{
    ProgramFolder.Write("textures/a.bmp", EncodeBmp(2, 2, Filled(2, 2, kRed)));
    ProgramFolder.Write("textures/a.jpg", EncodeJpeg(2, 2, Filled(2, 2, kBlue)));
    ProgramFolder.Write("textures/b.png", EncodePng(2, 2, 3, Filled(2, 2, kRed)));
    ProgramFolder.Write("textures/b.tga", EncodeTga(2, 2, 24, Filled(2, 2, {0, 255, 0})));
    for (const char* name : {"textures/a", "textures/b"}) {
        auto texture = LoadTexture(name);
        ClearTo(0, 0, 0);
        DrawFullView(texture.get());
        EXPECT_TRUE(Near(Top(), kRedPixel)) << name;
    }
}

TEST_F(TextureTest, LoadingLogsAndTakesTheGivenName)
{
    ProgramFolder.Write("textures/element.png", EncodePng(2, 2, 4, RedOverBlue(4)));
    NewLogLines();
    auto texture = LoadTexture("textures/element");
    EXPECT_EQ(texture->GetName(), "textures/element");
    EXPECT_EQ(texture->Format, FormatRGBA);
    const GLuint name = texture->GLName;
    EXPECT_TRUE(glIsTexture(name));
    texture.reset();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{
                                 "Creating Texture: \"textures/element\"",
                                 "Creating Image: \"element\"",
                                 "Deleting Image: \"element\"",
                                 "Deleting Texture: \"textures/element\"",
                             }));
}

TEST_F(TextureTest, MissingAndDamagedPicturesLeaveTheTextureEmpty)
{
    auto missing = LoadTexture("textures/none");
    EXPECT_FALSE(missing->IsLoaded());
    EXPECT_EQ(missing->GLName, 0u);
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QX_FILE: File \"textures/none\" not found!");

    const std::string png = EncodePng(2, 2, 3, Filled(2, 2, kRed));
    ProgramFolder.Write("textures/cut.png", png.substr(0, png.size() - 20));
    const std::string bmp = EncodeBmp(4, 4, Filled(4, 4, kRed));
    ProgramFolder.Write("textures/cut2.bmp", bmp.substr(0, 60));
    for (const char* name : {"textures/cut", "textures/cut2"}) {
        auto damaged = LoadTexture(name);
        EXPECT_FALSE(damaged->IsLoaded()) << name;
        EXPECT_EQ(damaged->GLName, 0u) << name;
    }
    ASSERT_EQ(Desktop.Boxes.size(), 3u);
    EXPECT_EQ(Desktop.Boxes[1].Text.rfind("QR_IMAGE: ", 0), 0u);
    EXPECT_EQ(Desktop.Boxes[2].Text.rfind("QR_IMAGE: ", 0), 0u);
}

TEST_F(TextureTest, BindingTheSameTextureAgainCostsNoBindButEnablesTexturing)
{
    ProgramFolder.Write("textures/one.tga", EncodeTga(2, 2, 24, Filled(2, 2, {1, 2, 3})));
    ProgramFolder.Write("textures/two.tga", EncodeTga(2, 2, 24, Filled(2, 2, {1, 2, 3})));
    auto one = LoadTexture("textures/one");
    auto two = LoadTexture("textures/two");
    const int before = Engine->BindCalls;
    Engine->Bind(one.get(), 0);
    glDisable(GL_TEXTURE_2D);
    Engine->Bind(one.get(), 0);
    EXPECT_EQ(Engine->BindCalls, before + 1);
    EXPECT_TRUE(IsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(one->GLName));

    Engine->Bind(two.get(), 1);
    Engine->Bind(two.get(), 0);
    EXPECT_EQ(Engine->BindCalls, before + 3);
    EXPECT_EQ(Engine->Bound[1], two.get());

    // Changing a filter binds behind the record's back; the record is dropped.
    one->SetWrap(true, false);
    EXPECT_EQ(Engine->Bound[0], nullptr);
    Engine->Bind(two.get(), 0);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(two->GLName));

    // A texture that goes leaves no unit claiming it.
    two.reset();
    EXPECT_EQ(Engine->Bound[0], nullptr);
    EXPECT_EQ(Engine->Bound[1], nullptr);
}

TEST_F(TextureTest, AlphaTestFollowsTheTextureFormatUnlessTheMaterialBlends)
{
    ProgramFolder.Write("textures/rgba.png", EncodePng(2, 2, 4, RedOverBlue(4)));
    ProgramFolder.Write("textures/rgb.png", EncodePng(2, 2, 3, RedOverBlue(3)));
    auto rgba = LoadTexture("textures/rgba");
    auto rgb = LoadTexture("textures/rgb");
    Engine->Bind(rgba.get(), 0);
    EXPECT_TRUE(IsEnabled(GL_ALPHA_TEST));
    GLfloat reference = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.5f);
    Engine->Bind(rgb.get(), 0);
    EXPECT_FALSE(IsEnabled(GL_ALPHA_TEST));

    Device->MaterialEngine->SetBlendColor(1, {1, 1, 1}, 1.0f);
    Engine->Bind(rgba.get(), 0);
    EXPECT_FALSE(IsEnabled(GL_ALPHA_TEST));
}

TEST_F(TextureTest, FiltersWrapAndDisablingUnits)
{
    ProgramFolder.Write("textures/f.tga", EncodeTga(2, 2, 24, Filled(2, 2, {1, 2, 3})));
    auto texture = LoadTexture("textures/f");
    const auto parameter = [&texture](GLenum name) {
        glBindTexture(GL_TEXTURE_2D, texture->GLName);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    };
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    Engine->ApplyFilter(texture->GLName, 3);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    Engine->ApplyFilter(texture->GLName, 2);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    texture->SetWrap(true, false);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);

    Engine->Bind(texture.get(), 2);
    Engine->DisableUpperUnits();
    EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    Engine->glActiveTextureARB(GL_TEXTURE2_ARB);
    EXPECT_FALSE(IsEnabled(GL_TEXTURE_2D));
    Engine->Bind(texture.get(), 0);
    Device->SetTexturing(false);
    EXPECT_FALSE(IsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(IsEnabled(GL_ALPHA_TEST));
}

TEST_F(TextureTest, CompressionAsksForACompressedInternalFormat)
{
    ASSERT_TRUE(Engine->CompressionSupported);
    Engine->SetCompression(true);
    ProgramFolder.Write("textures/c.bmp", EncodeBmp(8, 8, Filled(8, 8, kRed)));
    auto texture = LoadTexture("textures/c");
    glBindTexture(GL_TEXTURE_2D, texture->GLName);
    GLint compressed = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_ARB, &compressed);
    EXPECT_EQ(compressed, GL_TRUE);
    Engine->SetCompression(false);
    auto plain = LoadTexture("textures/c");
    glBindTexture(GL_TEXTURE_2D, plain->GLName);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_ARB, &compressed);
    EXPECT_EQ(compressed, GL_FALSE);
}

// A compressed texture is compressed once: its levels are kept in the cache folder and later loads
// of the same pixels upload what was kept; a damaged cache file is built again and replaced.
TEST_F(TextureTest, CompressedLevelsAreKeptAndLaterLoadsUploadThem)
{
    ASSERT_TRUE(Engine->CompressionSupported);
    Engine->SetCompression(true);
    const auto sourceOf = [&](const Pixels& pixels) {
        return QRTextureSource{QRTextureCache::HashBytes(pixels.data(), pixels.size()), 64, 64, GL_RGB,
                               GL_COMPRESSED_RGB_ARB, Engine->DriverName()};
    };
    const auto firstLevel = [&](const QRTexture& texture) {
        glBindTexture(GL_TEXTURE_2D, texture.GLName);
        GLint size = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE_ARB, &size);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        Engine->glGetCompressedTexImageARB(GL_TEXTURE_2D, 0, bytes.data());
        return bytes;
    };
    const Pixels red = Filled(64, 64, kRed);
    const Pixels blue = Filled(64, 64, kBlue);
    ProgramFolder.Write("textures/red.bmp", EncodeBmp(64, 64, red));
    ProgramFolder.Write("textures/blue.bmp", EncodeBmp(64, 64, blue));
    const std::string keptRed = Engine->Cache->FileOf(sourceOf(red));
    EXPECT_EQ(keptRed.rfind(ProgramFolder.Path() + "texture-cache/", 0), 0u);

    auto built = LoadTexture("textures/red");
    const std::optional<std::vector<QRTextureLevel>> kept = Engine->Cache->Find(sourceOf(red));
    ASSERT_TRUE(kept.has_value()) << "the levels are kept after the first build";
    EXPECT_EQ(kept->size(), 7u);
    EXPECT_EQ(kept->front().Bytes, firstLevel(*built));
    auto again = LoadTexture("textures/red");
    EXPECT_EQ(firstLevel(*again), firstLevel(*built));

    // What the cache holds is what is uploaded: blue levels kept for the red picture draw blue.
    LoadTexture("textures/blue");
    ASSERT_EQ(Engine->Cache->Keep(sourceOf(red), *Engine->Cache->Find(sourceOf(blue))), std::nullopt);
    DrawFullView(LoadTexture("textures/red").get());
    EXPECT_TRUE(Near(Top(), kBluePixel));

    // A torn file, and a whole one whose blocks do not fit the level they are for, are built again
    // and replaced.
    std::vector<QRTextureLevel> unfit = *kept;
    unfit.front().Bytes.resize(unfit.front().Bytes.size() / 2);
    const std::function<void()> damages[] = {
        [&] { std::filesystem::resize_file(keptRed, std::filesystem::file_size(keptRed) / 2); },
        [&] { ASSERT_EQ(Engine->Cache->Keep(sourceOf(red), unfit), std::nullopt); },
    };
    for (const auto& damage : damages) {
        damage();
        DrawFullView(LoadTexture("textures/red").get());
        EXPECT_TRUE(Near(Top(), kRedPixel));
        ASSERT_TRUE(Engine->Cache->Find(sourceOf(red)).has_value());
        EXPECT_EQ(Engine->Cache->Find(sourceOf(red))->front().Bytes, firstLevel(*built));
    }
}

TEST_F(TextureTest, CreateEmptyFillsWithTheColourAndNonPowerSizesAreRescaled)
{
    auto texture = QOXMake<QRTexture>();
    texture->CreateEmpty(3, 5, {0.0f, 1.0f, 0.0f});
    ASSERT_TRUE(texture->IsLoaded());
    EXPECT_EQ(texture->Width, 4);
    EXPECT_EQ(texture->Height, 4);
    ClearTo(0, 0, 0);
    DrawFullView(texture.get());
    EXPECT_TRUE(Near(CentrePixel(), {0, 255, 0, 255}));
}

} // namespace
