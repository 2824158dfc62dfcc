#include "graphics/gl_2D_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "graphics/gl_2D.h"
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
