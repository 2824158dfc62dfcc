#include "graphics/gl_2D_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "graphics/gl_2D.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_font.h"
#include "resources/resource_texture.h"
#include "tests/support/font_files.h"
#include "tests/support/gl_fixture.h"

namespace {

std::array<int, 256> Widths()
{
    std::array<int, 256> widths{};
    widths.fill(10);
    widths['A'] = 20;
    return widths;
}

// What a texture holds, level by level, as GL gives it back.
struct TextureLevel {
    int InternalFormat = 0;
    int Compressed = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgba;
    bool operator==(const TextureLevel&) const = default;
};

std::vector<TextureLevel> LevelsOf(unsigned name)
{
    std::vector<TextureLevel> levels;
    glBindTexture(GL_TEXTURE_2D, name);
    for (int index = 0;; ++index) {
        TextureLevel level;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_WIDTH, &level.Width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_HEIGHT, &level.Height);
        if (level.Width == 0)
            break;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_INTERNAL_FORMAT, &level.InternalFormat);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_COMPRESSED, &level.Compressed);
        level.Rgba.resize(static_cast<std::size_t>(level.Width * level.Height * 4));
        glGetTexImage(GL_TEXTURE_2D, index, GL_RGBA, GL_UNSIGNED_BYTE, level.Rgba.data());
        levels.push_back(std::move(level));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return levels;
}

class FontTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        System = Device->System2D;
        Fonts = System->Fonts;
        WriteTestFont(ProgramFolder, "textures/fonts/default", "A", Widths());
        System->SetSpace(GLSpace::TopLeft, GLAspect::Fixed, kWidth, kHeight);
    }

    // The colour at 2D point (x, y) of the pixel space (y downwards).
    Rgba At(int x, int y) const { return ReadPixel(x, kHeight - 1 - y); }

    void Print(const std::string& font, int alignment, float x, float y, const QXColor& colour, float size,
               const std::string& text)
    {
        System->Begin2D();
        System->Print(font, alignment, x, y, colour, 1.0f, size, text);
        System->End2D();
    }

    GL_2DSystem* System = nullptr;
    GLFont* Fonts = nullptr;
};

TEST_F(FontTest, WidthsAreReadFromTheTableAndMeasureText)
{
    QRFont* font = Fonts->CreateFont("textures/fonts/default", "Default");
    ASSERT_TRUE(font->IsLoaded());
    EXPECT_EQ(font->GetName(), "Default");
    EXPECT_TRUE(font->Texture->IsLoaded());
    EXPECT_EQ(font->CharWidths['A'], 20);
    EXPECT_EQ(font->CharWidths[255], 10);
    EXPECT_FLOAT_EQ(GLFont::TextWidth(font, "", 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(GLFont::TextWidth(font, "AB", 1.0f), 15.0f);
    EXPECT_FLOAT_EQ(GLFont::TextWidth(font, "AB", 2.0f), 30.0f);
    const std::vector<std::string> log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "Creating Font: \"default\""), log.end());
}

TEST_F(FontTest, ShortRowsGive255AndAnEmptyLineEndsTheTable)
{
    ProgramFolder.Write("textures/fonts/default.txt",
                        "[FONT_CHARWIDTH]\n01 02 03\n04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19\n\n20 21\n");
    QRFont* font = Fonts->CreateFont("textures/fonts/default", "Short");
    ASSERT_TRUE(font->IsLoaded());
    EXPECT_EQ(font->CharWidths[2], 3);
    EXPECT_EQ(font->CharWidths[3], 255);
    EXPECT_EQ(font->CharWidths[15], 255);
    EXPECT_EQ(font->CharWidths[16], 4);
    EXPECT_EQ(font->CharWidths[31], 19);
    EXPECT_EQ(font->CharWidths[32], 0);
}

TEST_F(FontTest, MissingWidthsFileKeepsTheTextureButLeavesTheFontEmpty)
{
    std::filesystem::remove(ProgramFolder.Path() + "textures/fonts/default.txt");
    QRFont* font = Fonts->CreateFont("textures/fonts/default", "Default");
    EXPECT_FALSE(font->IsLoaded());
    EXPECT_TRUE(font->Texture->IsLoaded());
    EXPECT_FLOAT_EQ(GLFont::TextWidth(font, "AAA", 1.0f), 0.0f);
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text,
              "QX_FILE: File \"" + ProgramFolder.Path() + "textures/fonts/default.txt\" not found!");
}

TEST_F(FontTest, FontsAreFoundByNameAndDeletedInOrder)
{
    QRFont* first = Fonts->CreateFont("textures/fonts/default", "Default");
    QRFont* second = Fonts->CreateFont("textures/fonts/default", "Default Add");
    EXPECT_EQ(Fonts->FindFont("Default Add"), second);
    EXPECT_EQ(Fonts->FindFont("default add"), nullptr);
    Fonts->DeleteFont(0);
    EXPECT_EQ(Fonts->Fonts->LastIndex(), 0);
    EXPECT_EQ(Fonts->Fonts->Get(0), second);
    EXPECT_EQ(Fonts->FindFont("Default"), nullptr);
    static_cast<void>(first);
    Fonts->DeleteFonts(Fonts);
    EXPECT_EQ(Fonts->Fonts->LastIndex(), -1);
}

// The second font of a file copies the first one's texture: the same levels in the same format,
// compressed or not, in a GL object that outlives the first font.
TEST_F(FontTest, ASecondFontOfTheSameFileHoldsTheSamePictureInATextureOfItsOwn)
{
    for (const bool compressed : {true, false}) {
        SCOPED_TRACE(compressed ? "compressed" : "plain");
        Device->TextureEngine->SetCompression(compressed);
        QRFont* first = Fonts->CreateFont("textures/fonts/default", "Default");
        QRFont* second = Fonts->CreateFont("textures/fonts/default", "Default Add");
        ASSERT_TRUE(second->IsLoaded());
        EXPECT_EQ(second->CharWidths, first->CharWidths);
        EXPECT_NE(second->Texture->GLName, first->Texture->GLName);
        const std::vector<TextureLevel> made = LevelsOf(first->Texture->GLName);
        ASSERT_GT(made.size(), 1u) << "a mipmap chain";
        EXPECT_EQ(made[0].Compressed != 0, compressed);
        EXPECT_TRUE(LevelsOf(second->Texture->GLName) == made);
        Fonts->DeleteFont(0);
        ClearTo(0, 0, 0);
        Print("Default Add", AlignLeft, 100, 100, {1, 1, 1}, 2.0f, "A");
        EXPECT_TRUE(Near(At(110, 100), {255, 255, 255, 255}, 8));
        Fonts->DeleteFonts(Fonts);
    }
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(FontTest, AdditiveTextDrawsTheGlyphAfterHalfItsAdvance)
{
    Fonts->CreateFont("textures/fonts/default", "Default Add");
    ClearTo(0, 0, 0);
    // Size 2: the pen moves 10 before the glyph, which is 26 pixels wide and high.
    Print("Default Add", AlignLeft, 100, 100, {1, 1, 1}, 2.0f, "A");
    EXPECT_TRUE(Near(At(110, 100), {255, 255, 255, 255}, 8));
    EXPECT_TRUE(Near(At(110, 120), {0, 0, 0, 255}, 8));
    EXPECT_TRUE(Near(At(130, 100), {0, 0, 0, 255}, 8));
    // Centred: the middle of the text's advance (20 wide) lies on x.
    Print("Default Add", AlignCentre, 300, 200, {1, 1, 1}, 2.0f, "A");
    EXPECT_TRUE(Near(At(300, 200), {255, 255, 255, 255}, 8));
    // Right-aligned: the advance ends on x.
    Print("Default Add", AlignRight, 500, 300, {1, 1, 1}, 2.0f, "A");
    EXPECT_TRUE(Near(At(490, 300), {255, 255, 255, 255}, 8));
}

TEST_F(FontTest, NegativeTextDarkensAndUnknownFontsDrawNothing)
{
    QRFont* font = Fonts->CreateFont("textures/fonts/default", "Default");
    font->SetNegative(1);
    ClearTo(1, 1, 1);
    Print("Default", AlignLeft, 100, 100, {0, 0, 0}, 2.0f, "A");
    EXPECT_TRUE(Near(At(110, 100), {0, 0, 0, 255}, 8));
    EXPECT_TRUE(Near(At(140, 100), {255, 255, 255, 255}, 8));
    ClearTo(1, 1, 1);
    Print("Nobody", AlignLeft, 100, 100, {0, 0, 0}, 2.0f, "A");
    EXPECT_TRUE(Near(At(110, 100), {255, 255, 255, 255}));
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST(Latin1GlyphsTest, Utf8BecomesLatin1WithQuestionMarksForTheRest)
{
    EXPECT_EQ(Latin1Glyphs("Abc"), "Abc");
    EXPECT_EQ(Latin1Glyphs("\xC3\x84pfel"), "\xC4pfel");
    EXPECT_EQ(Latin1Glyphs("5 \xE2\x82\xAC"), "5 ?");
    EXPECT_EQ(Latin1Glyphs("counting\xE2\x80\xA6"), "counting...");
    EXPECT_EQ(Latin1Glyphs("\xC3"), "?");
    EXPECT_EQ(Latin1Glyphs("\xC1\x81"), "?");
    EXPECT_EQ(Latin1Glyphs("\xFF"), "?");
}

} // namespace
