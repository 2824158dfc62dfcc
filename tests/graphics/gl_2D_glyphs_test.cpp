#include "graphics/gl_2D_glyphs.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
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
    widths['b'] = 14;
    return widths;
}

struct Text {
    const char* Font;
    int Alignment;
    float X;
    float Y;
    float Size;
    QXColor Colour;
    float Alpha;
    std::string Letters;
};

class GlyphBatchTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        System = Device->System2D;
        WriteTestFont(ProgramFolder, "textures/fonts/default", "Ab", Widths());
        System->Fonts->CreateFont("textures/fonts/default", "Darken")->SetNegative(1);
        System->Fonts->CreateFont("textures/fonts/default", "Lighten");
        System->SetSpace(GLSpace::TopLeft, GLAspect::Fixed, kWidth, kHeight);
    }

    QRFont* Font(const char* name) const { return System->Fonts->FindFont(name); }

    GL_2DSystem* System = nullptr;
};

TEST_F(GlyphBatchTest, OneDrawPerFontGivesWhatTheFontEnginePrints)
{
    // Texts apart from each other, so that the order of drawing cannot show.
    const std::vector<Text> texts = {
        {"Lighten", AlignLeft, 40, 60, 2.0f, {1.0f, 0.5f, 0.25f}, 1.0f, "AbA"},
        {"Darken", AlignRight, 600, 60, 1.5f, {0.0f, 0.0f, 0.0f}, 1.0f, "bbA"},
        {"Lighten", AlignCentre, 320, 200, 3.0f, {0.2f, 0.9f, 0.4f}, 0.6f, "Ab"},
        {"Darken", AlignLeft, 50, 350, 1.0f, {0.3f, 0.6f, 0.9f}, 0.8f, "AAbb"},
        {"Lighten", AlignRight, 630, 420, 0.75f, {1.0f, 1.0f, 1.0f}, 1.0f, "A\xC3\x84 b"},
    };
    ClearTo(0.5f, 0.5f, 0.5f);
    System->Begin2D();
    for (const Text& text : texts)
        System->Print(text.Font, text.Alignment, text.X, text.Y, text.Colour, text.Alpha, text.Size, text.Letters);
    System->End2D();
    const auto printed = Picture();

    ClearTo(0.5f, 0.5f, 0.5f);
    System->Begin2D();
    for (const char* name : {"Darken", "Lighten"}) {
        GLGlyphBatch batch;
        for (const Text& text : texts)
            if (text.Font == std::string(name))
                batch.Add(Font(name), text.Alignment, text.Letters, text.Size, text.Alpha, text.Colour, text.X, text.Y,
                          GLTextFrame{});
        batch.Draw(Font(name));
        EXPECT_EQ(batch.GlyphCount(), 0u) << "drawn and emptied";
    }
    System->End2D();
    EXPECT_TRUE(Picture() == printed);

    // The engines' records still tell the truth: the font's texture on unit 0, the client arrays
    // off with unit 0 their unit, the colour the material sent.
    GLTextureEngine* textures = Device->TextureEngine;
    EXPECT_EQ(textures->Bound[0], Font("Lighten")->Texture);
    EXPECT_EQ(static_cast<unsigned>(GetInteger(GL_TEXTURE_BINDING_2D)), Font("Lighten")->Texture->BoundName);
    EXPECT_EQ(GetInteger(GL_CLIENT_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (const unsigned array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(IsEnabled(array));
    float colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), std::vector<float>({1.0f, 1.0f, 1.0f, 1.0f}));
}

TEST_F(GlyphBatchTest, ATextFollowsItsFrame)
{
    // Along points down the screen, the glyphs' down to the left: the text runs downwards.
    ClearTo(0.0f, 0.0f, 0.0f);
    System->Begin2D();
    GLGlyphBatch batch;
    batch.Add(Font("Lighten"), AlignLeft, "AAAA", 2.0f, 1.0f, {1.0f, 1.0f, 1.0f}, 0.0f, 0.0f,
              GLTextFrame{{300.0f, 100.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}});
    EXPECT_EQ(batch.GlyphCount(), 4u);
    batch.Draw(Font("Lighten"));
    System->End2D();
    // Four glyphs 26 pixels across, 20 apart from 10 below the origin: 287..313 across, 97..183 down.
    const auto lit = [&](int x, int y) { return Near(ReadPixel(x, kHeight - 1 - y), {255, 255, 255, 255}, 8); };
    EXPECT_TRUE(lit(300, 110));
    EXPECT_TRUE(lit(300, 175));
    EXPECT_TRUE(lit(290, 140));
    EXPECT_FALSE(lit(300, 190));
    EXPECT_FALSE(lit(320, 140));
    EXPECT_FALSE(lit(340, 110)) << "not along the screen's x";
}

} // namespace
