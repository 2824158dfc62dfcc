#include "graphics/gl_2D.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/gl_2D_screen.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_scene_generic.h"
#include "tests/support/gl_fixture.h"

namespace {

class TwoDTest : public GLTest {
protected:
    GL_2DSystem& System() { return *Device->System2D; }
    GLScreen& Screen() { return *Device->System2D->Screen; }
};

TEST_F(TwoDTest, SecondBeginDoesNothingAndFirstEndLeaves)
{
    System().Begin2D();
    System().Begin2D();
    EXPECT_EQ(GetInteger(GL_PROJECTION_STACK_DEPTH), 2);
    System().End2D();
    EXPECT_FALSE(System().In2D);
    EXPECT_EQ(GetInteger(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(GetInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    System().End2D();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "a second End2D pops nothing";
}

TEST_F(TwoDTest, SpaceIsWindowPixelsFromTheTopLeftOrCentred)
{
    System().SetSpace(GLSpace::TopLeft, GLAspect::Fixed, 640.0f, 480.0f);
    ClearTo(0.0f, 0.0f, 0.0f);
    System().Begin2D();
    System().DrawQuad(0, {1.0f, 1.0f, 1.0f}, 1.0f, 0.0f, 0.0f, 100.0f, 50.0f);
    System().End2D();
    EXPECT_TRUE(Near(ReadPixel(50, 479 - 25), {255, 255, 255, 255})) << "top left, y downwards";
    EXPECT_TRUE(Near(ReadPixel(50, 25), {0, 0, 0, 255}));

    System().SetSpace(GLSpace::Centred, GLAspect::Fixed, 640.0f, 480.0f);
    ClearTo(0.0f, 0.0f, 0.0f);
    System().Begin2D();
    System().DrawQuad(0, {1.0f, 0.0f, 0.0f}, 1.0f, -10.0f, -10.0f, 10.0f, 10.0f);
    System().End2D();
    EXPECT_TRUE(Near(CentrePixel(), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(ReadPixel(10, 10), {0, 0, 0, 255}));
}

TEST_F(TwoDTest, HeightFollowsTheViewportAspect)
{
    System().SetSpace(GLSpace::TopLeft, GLAspect::FollowViewport, 800.0f, 1.0f);
    Device->SetViewport(0, 0, 400, 300);
    EXPECT_FLOAT_EQ(System().Height, 600.0f);
    Device->SetViewport(0, 0, 0, 300);
    EXPECT_FLOAT_EQ(System().Height, 600.0f) << "a view of no width keeps the last height";
    System().SetSpace(GLSpace::TopLeft, GLAspect::Fixed, 800.0f, 100.0f);
    Device->SetViewport(0, 0, 400, 300);
    EXPECT_FLOAT_EQ(System().Height, 100.0f);
}

TEST_F(TwoDTest, CellShowsItsPartOfTheTextureUprightAndMirrored)
{
    // A 2 × 2 texture: bottom row red, green; top row blue, white.
    const GLubyte texels[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    Device->SetCulling(false);
    Device->SetDepthTest(false);
    Device->SetBlending(false);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    ClearTo(0.0f, 0.0f, 0.0f);
    System().SetSpace(GLSpace::TopLeft, GLAspect::Fixed, 640.0f, 480.0f);
    System().Begin2D();
    System().DrawCell(40.0f, 100.0f, 100.0f, 0.5f, 0.5f, 1, 0); // column 1, row 0: the top right texel
    System().DrawCell(40.0f, 300.0f, 100.0f, 1.0f, 1.0f, 0, 0); // the whole texture
    System().DrawCell(40.0f, 500.0f, 100.0f, -1.0f, 1.0f, 0, 0); // mirrored
    System().End2D();
    glDeleteTextures(1, &name);
    const int top = 479 - 80;
    const int bottom = 479 - 120;
    EXPECT_TRUE(Near(ReadPixel(100, 479 - 100), {255, 255, 255, 255}));
    EXPECT_TRUE(Near(ReadPixel(280, top), {0, 0, 255, 255})) << "the texture's top row is drawn at the top";
    EXPECT_TRUE(Near(ReadPixel(320, bottom), {0, 255, 0, 255}));
    EXPECT_TRUE(Near(ReadPixel(480, top), {255, 255, 255, 255})) << "mirrored left to right";
    EXPECT_TRUE(Near(ReadPixel(520, bottom), {255, 0, 0, 255}));
}

TEST(Fade, FallingFromOneTakesHalfASecondAndStopsAtZero)
{
    GLFade fade;
    GL_2DSystem::InitFade(fade, GLFade::Rising);
    EXPECT_FLOAT_EQ(fade.Value, 1.0f);
    GL_2DSystem::StartFadeOut(fade);
    EXPECT_FLOAT_EQ(GL_2DSystem::UpdateFade(fade, 0.2f), 0.6f);
    EXPECT_FALSE(GL_2DSystem::IsFadedOut(fade));
    EXPECT_FLOAT_EQ(GL_2DSystem::UpdateFade(fade, 0.3f), 0.0f);
    EXPECT_EQ(fade.State, GLFade::Still);
    EXPECT_TRUE(GL_2DSystem::IsFadedOut(fade));
    GL_2DSystem::StartFadeIn(fade);
    EXPECT_FALSE(GL_2DSystem::IsFadedOut(fade)) << "rising from zero is not faded out";
    EXPECT_FLOAT_EQ(GL_2DSystem::UpdateFade(fade, 10.0f), 1.0f);
    EXPECT_EQ(fade.State, GLFade::Still);
    GL_2DSystem::InitFade(fade, GLFade::Still);
    EXPECT_FLOAT_EQ(GL_2DSystem::UpdateFade(fade, 1.0f), 0.0f) << "a still fade stays";
}

TEST_F(TwoDTest, ScreenDarkensByFadeCameraColourAndItsOwnColour)
{
    System().SetSpace(GLSpace::TopLeft, GLAspect::Fixed, 640.0f, 480.0f);
    ClearTo(1.0f, 1.0f, 1.0f);
    System().Render();
    EXPECT_TRUE(Near(CentrePixel(), {255, 255, 255, 255})) << "at the defaults the screen draws nothing";

    Screen().Fade.Value = 0.5f;
    ClearTo(1.0f, 1.0f, 1.0f);
    System().Render();
    EXPECT_TRUE(Near(CentrePixel(), {128, 128, 128, 255}));

    Screen().Fade.Value = 1.0f;
    Device->Camera->SetColour({1.0f, 0.5f, 0.0f});
    Screen().Colour = {0.5f, 1.0f, 1.0f};
    ClearTo(1.0f, 1.0f, 1.0f);
    System().Render();
    EXPECT_TRUE(Near(CentrePixel(), {128, 128, 0, 255}));
    EXPECT_FALSE(System().In2D);

    Screen().Enabled = false;
    ClearTo(1.0f, 1.0f, 1.0f);
    System().Render();
    EXPECT_TRUE(Near(CentrePixel(), {255, 255, 255, 255}));
}

TEST_F(TwoDTest, ScreenInsideTwoDModeLeavesItOpen)
{
    Screen().Fade.Value = 0.0f;
    System().Begin2D();
    Screen().Render();
    EXPECT_TRUE(System().In2D);
    System().End2D();
    EXPECT_TRUE(Near(CentrePixel(), {0, 0, 0, 255}));
}

TEST_F(TwoDTest, SceneLogsItsNameCutToThirtyTwo)
{
    auto* scene = QOXNew<GLScene>(nullptr);
    scene->Init(std::string(40, 's'));
    EXPECT_EQ(scene->Name.size(), 32u);
    EXPECT_EQ(NewLogLines().back(), "QOX GL: Scene initialized: \"" + std::string(32, 's') + "\"!");
    scene->Destroy();
}

} // namespace
