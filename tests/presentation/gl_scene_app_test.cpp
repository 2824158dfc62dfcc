#include <gtest/gtest.h>

#include "graphics/gl_main.h"
#include "graphics/gl_rendertotexture.h"
#include "presentation/gl_ring.h"
#include "resources/resource_texture.h"
#include "ring/ring_main.h"
#include "tests/presentation/scene_fixture.h"

namespace {

// The shadow map's pixels, read from its texture (bottom row first).
std::vector<std::uint8_t> ShadowPixels(const QRTexture* texture)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(texture->Width * texture->Height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture->GLName);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

int ShadowAt(const QRTexture* texture, const std::vector<std::uint8_t>& pixels, int x, int y)
{
    return pixels[(static_cast<std::size_t>(y) * texture->Width + x) * 4];
}

} // namespace

// A view point above the centre that the scene's pick finds an element under.
GLViewPoint SceneTest::PointOnRing()
{
    for (float y = kHeight / 2.0f; y > 0.0f; y -= 2.0f)
        if (Scene->PickAt(kWidth / 2.0f, y) != nullptr)
            return {kWidth / 2.0f, y};
    ADD_FAILURE() << "no element above the view's centre";
    return {};
}

TEST_F(SceneTest, ShadowMapHoldsTheCurrentRingsSilhouetteAndDarkensTheBackgroundBelowIt)
{
    Tree.File("a.txt", 100);
    Tree.File("b.txt", 300);
    Open();
    SettleRings();
    Frame();
    const QRTexture* shadow = Scene->ShadowTexture;
    ASSERT_EQ(shadow->Width, 256);
    const std::vector<std::uint8_t> pixels = ShadowPixels(shadow);
    // The silhouette is white in the middle of the band and black in the corners.
    const int side = shadow->Width;
    EXPECT_EQ(ShadowAt(shadow, pixels, 0, 0), 0);
    EXPECT_EQ(ShadowAt(shadow, pixels, side - 1, side - 1), 0);
    int white = 0;
    for (int x = 0; x < side; ++x)
        white += ShadowAt(shadow, pixels, x, side / 2) == 255 ? 1 : 0;
    EXPECT_GT(white, side / 8);
    // The shadow only darkens: against the same frame without it, no pixel is lighter, the corners
    // are untouched and the pixels beside the ring, where no band covers the background, are darker.
    const std::vector<std::uint8_t> shaded = WholeView();
    TheApp->Settings.DisplayShadow = false;
    Frame();
    const std::vector<std::uint8_t> plain = WholeView();
    int darker = 0;
    for (std::size_t i = 0; i < plain.size(); i += 4) {
        ASSERT_LE(shaded[i], plain[i]) << i;
        darker += shaded[i] + 5 < plain[i] ? 1 : 0;
    }
    EXPECT_GT(darker, 1000);
    EXPECT_EQ(shaded[0], plain[0]);
    EXPECT_EQ(shaded[shaded.size() - 4], plain[plain.size() - 4]);
}

TEST_F(SceneTest, WithoutACurrentRingTheShadowMapIsBlackAndDarkensNothing)
{
    Frame();
    const std::vector<std::uint8_t> pixels = ShadowPixels(Scene->ShadowTexture);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        ASSERT_EQ(pixels[i], 0) << i;
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2, kHeight / 2), kBackground));
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2 + 100, kHeight / 2 + 100), kBackground));
}

TEST_F(SceneTest, WithShadowsOffTheShadowMapIsNeverRenderedInto)
{
    TheApp->Settings.DisplayShadow = false;
    Tree.File("a.txt", 100);
    Open();
    SettleRings();
    Frame();
    const std::vector<std::uint8_t> pixels = ShadowPixels(Scene->ShadowTexture);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        ASSERT_EQ(pixels[i], 255) << i; // still the white it was made with
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2, kHeight - 20), kBackground));
}

TEST_F(SceneTest, BananaModePutsThePictureInTheMiddleOfTheBackground)
{
    TheApp->Settings.DisplayShadow = false;
    Frame();
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2, kHeight / 2), kBackground));
    TheApp->Settings.BananaMode = true;
    Frame();
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2, kHeight / 2), kBanana));
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2 - 120, kHeight / 2 + 120), kBanana));
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2 - 140, kHeight / 2), kBackground));
}

TEST_F(SceneTest, ShadowMapSizeFollowsTheSettingAsAPowerOfTwo)
{
    TheApp->Settings.ShadowMapSize = 128;
    Scene->ResizeShadowMap();
    EXPECT_EQ(Scene->ShadowTexture->Width, 128);
    ASSERT_TRUE(Scene->RenderToTexture->Texture.has_value());
    EXPECT_EQ(Scene->RenderToTexture->Texture->Width, 128);
    EXPECT_EQ(Scene->RenderToTexture->Texture->GLName, Scene->ShadowTexture->GLName);
    // A size the texture engine cannot take is made one it can, never a broken texture.
    TheApp->Settings.ShadowMapSize = 300;
    Scene->ResizeShadowMap();
    EXPECT_EQ(Scene->ShadowTexture->Width, 512);
    TheApp->Settings.ShadowMapSize = -1;
    Scene->ResizeShadowMap();
    EXPECT_EQ(Scene->ShadowTexture->Width, 4);
}

TEST_F(SceneTest, HoverIsPickedOnlyWhileTheWindowIsActiveAndTheLastHitRingWins)
{
    Tree.File("a.txt", 100);
    QOXRing* ring = Open();
    SettleRings();
    Host.Pointer = PointOnRing();
    Host.Active = false;
    Frame();
    EXPECT_EQ(Scene->HoverElement, nullptr);
    Host.Active = true;
    Frame();
    ASSERT_NE(Scene->HoverElement, nullptr);
    EXPECT_EQ(Scene->HoverRing, ring);
    EXPECT_EQ(Scene->Renderer->HoverElement, Scene->HoverElement);
    EXPECT_EQ(Scene->PickAt(Host.Pointer.X, Host.Pointer.Y), Scene->HoverElement);
    // Inactive again: the hover element keeps its last value.
    QRElement* last = Scene->HoverElement;
    Host.Active = false;
    Host.Pointer = {1.0f, 1.0f};
    Frame();
    EXPECT_EQ(Scene->HoverElement, last);
    Host.Active = true;
    Frame();
    EXPECT_EQ(Scene->HoverElement, nullptr);
    EXPECT_EQ(Scene->HoverRing, nullptr);
}

TEST_F(SceneTest, AFreedHoverElementIsForgotten)
{
    Tree.File("a.txt", 100);
    QOXRing* ring = Open();
    SettleRings();
    Host.Active = true;
    Host.Pointer = PointOnRing();
    Frame();
    ASSERT_NE(Scene->HoverElement, nullptr);
    TheApp->CloseRing(ring);
    EXPECT_EQ(Scene->HoverElement, nullptr);
    EXPECT_EQ(Scene->HoverRing, nullptr);
    EXPECT_EQ(Scene->InfoElement, nullptr);
    Frame();
}

TEST_F(SceneTest, RingTitleShowsForItsDurationThenFadesOverASecond)
{
    TheApp->Settings.DisplayShadow = false;
    TheApp->Settings.RingDisplayDuration = 1.0f;
    Scene->ShowRingTitle("/home/ann/");
    EXPECT_EQ(Scene->TitleTime, 0.0f);
    Frame(500);
    const Rgba boxed = ViewPixel(kWidth / 2 - 200, kHeight / 2);
    EXPECT_LT(boxed[0], kBackground[0] - 10); // the box darkens the background
    const int fullText = BrightestIn(kWidth / 2 - 150, kHeight / 2 - 20, kWidth / 2 + 150, kHeight / 2 + 20);
    EXPECT_GT(fullText, 200);
    Frame(1000); // 1.5 s: half faded
    const Rgba halfBoxed = ViewPixel(kWidth / 2 - 200, kHeight / 2);
    EXPECT_GT(halfBoxed[0], boxed[0]);
    EXPECT_LT(halfBoxed[0], kBackground[0]);
    const int halfText = BrightestIn(kWidth / 2 - 150, kHeight / 2 - 20, kWidth / 2 + 150, kHeight / 2 + 20);
    EXPECT_LT(halfText, fullText);
    EXPECT_GT(halfText, kBackground[0]);
    Frame(600); // 2.1 s: gone, and not drawn again
    EXPECT_EQ(Scene->TitleTime, -1.0f);
    Frame();
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2 - 200, kHeight / 2), kBackground));
    EXPECT_TRUE(Near(ViewPixel(kWidth / 2, kHeight / 2), kBackground));
}

TEST_F(SceneTest, RingTitleIsIgnoredWhenItsDurationIsZeroAndLongTitlesShrinkToFit)
{
    TheApp->Settings.RingDisplayDuration = 0.0f;
    Scene->ShowRingTitle("/home/ann/");
    EXPECT_EQ(Scene->TitleTime, -1.0f);
    EXPECT_TRUE(Scene->RingTitle.empty());
    TheApp->Settings.DisplayShadow = false;
    TheApp->Settings.RingDisplayDuration = 1.0f;
    Scene->ShowRingTitle(std::string(60, 'W'));
    Frame(100);
    // Shrunk to fit: the view's edges stay clear of the text.
    EXPECT_LT(BrightestIn(0, kHeight / 2 - 10, 15, kHeight / 2 + 10), 150);
    EXPECT_GT(BrightestIn(40, kHeight / 2 - 20, kWidth - 40, kHeight / 2 + 20), 200);
}

TEST_F(SceneTest, OpeningARingShowsItsFolderAsTheTitle)
{
    Open();
    EXPECT_EQ(Scene->RingTitle, Tree.Root());
    EXPECT_EQ(Scene->TitleTime, 0.0f);
}
