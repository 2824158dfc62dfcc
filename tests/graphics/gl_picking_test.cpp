#include "graphics/gl_picking.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "engine/qox_main.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_rendertotexture.h"
#include "tests/support/gl_fixture.h"

namespace {

void Square(float centreX, float centreY, float z, float half)
{
    glBegin(GL_QUADS);
    glVertex3f(centreX - half, centreY - half, z);
    glVertex3f(centreX + half, centreY - half, z);
    glVertex3f(centreX + half, centreY + half, z);
    glVertex3f(centreX - half, centreY + half, z);
    glEnd();
}

class PickingTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Picking = QOXNew<GLPicking>(Device);
        Picking->Init();
        Device->SetCulling(false);
        Device->Camera->SetPositionRotation({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f});
        Device->ResetView();
    }

    GLPicking* Picking = nullptr; // owned by the device
    int Far = 0;
    int Nearer = 0;
};

TEST_F(PickingTest, FirstRegisteredObjectUnderThePointWins)
{
    Picking->Begin(1, 1, 320, 240);
    Picking->AddName("far", &Far);
    Square(0.0f, 0.0f, 0.0f, 1.0f);
    Picking->AddName("nearer", &Nearer);
    Square(0.0f, 0.0f, 2.0f, 1.0f);
    EXPECT_TRUE(Picking->End());
    EXPECT_EQ(Picking->Hits, 2);
    EXPECT_EQ(Picking->Result(), &Far) << "drawing order, not depth";
    EXPECT_EQ(Picking->LastName, 1);
}

TEST_F(PickingTest, PointIsCountedDownFromTheTop)
{
    // A square above the centre is under a point above the window's middle row.
    Picking->Begin(1, 1, 320, 100);
    Picking->AddName("below", &Far);
    Square(0.0f, -2.0f, 0.0f, 1.0f);
    Picking->AddName("above", &Nearer);
    Square(0.0f, 2.0f, 0.0f, 1.0f);
    Picking->ClearName();
    Square(0.0f, 2.0f, 1.0f, 1.0f); // drawn without a name: never a result
    EXPECT_TRUE(Picking->End());
    EXPECT_EQ(Picking->Result(), &Nearer);
}

TEST_F(PickingTest, NothingUnderThePointKeepsTheNamesUntilTheNextPass)
{
    Picking->Begin(1, 1, 5, 5);
    Picking->AddName("centre", &Far);
    Square(0.0f, 0.0f, 0.0f, 1.0f);
    Picking->AddName("also centre", &Nearer);
    Square(0.5f, 0.0f, 0.0f, 1.0f);
    EXPECT_FALSE(Picking->End());
    EXPECT_EQ(Picking->Result(), nullptr);
    ASSERT_EQ(Picking->Names.size(), 2u);
    EXPECT_EQ(Picking->Names[1].Name, "also centre");
    Picking->Begin(1, 1, 5, 5);
    EXPECT_TRUE(Picking->Names.empty());
    EXPECT_FALSE(Picking->End());
}

TEST_F(PickingTest, MoreHitsThanTheBufferHoldsGiveNoResult)
{
    std::vector<int> objects(GLPicking::kSelectBufferSize / 4 + 1);
    Picking->Begin(1, 1, 320, 240);
    for (int& object : objects) {
        Picking->AddName("crowd", &object);
        Square(0.0f, 0.0f, 0.0f, 1.0f);
    }
    EXPECT_FALSE(Picking->End());
    EXPECT_EQ(Picking->Hits, -1);
    EXPECT_EQ(Picking->Result(), nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PickingTest, LongNamesAreCut)
{
    Picking->Begin(1, 1, 320, 240);
    Picking->AddName(std::string(40, 'n'), &Far);
    Picking->End();
    EXPECT_EQ(Picking->Names[0].Name.size(), 32u);
}

class RenderToTextureTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Pass = QOXNew<GLRenderToTexture>(Device);
        glGenTextures(1, &Name);
        glBindTexture(GL_TEXTURE_2D, Name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenTextures(1, &Other);
        glBindTexture(GL_TEXTURE_2D, Other);
    }
    void TearDown() override
    {
        glDeleteTextures(1, &Name);
        glDeleteTextures(1, &Other);
        GLTest::TearDown();
    }
    Rgba TexelOf(int x, int y)
    {
        std::vector<std::uint8_t> texels(256 * 256 * 4);
        glBindTexture(GL_TEXTURE_2D, Name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        const std::size_t at = static_cast<std::size_t>((y * 256 + x) * 4);
        return {texels[at], texels[at + 1], texels[at + 2], texels[at + 3]};
    }
    // Texels the pass must replace, so that a pass that copies nothing fails.
    void FillTextureBlue() const
    {
        std::vector<std::uint8_t> blue(256 * 256 * 4, 0);
        for (std::size_t at = 0; at < blue.size(); at += 4)
            blue[at + 2] = blue[at + 3] = 255;
        glBindTexture(GL_TEXTURE_2D, Name);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, blue.data());
        glBindTexture(GL_TEXTURE_2D, Other);
    }
    static std::array<int, 4> Viewport()
    {
        std::array<int, 4> v{};
        glGetIntegerv(GL_VIEWPORT, v.data());
        return v;
    }

    GLRenderToTexture* Pass = nullptr; // owned by the device
    GLuint Name = 0;
    GLuint Other = 0;
};

// Both ways into the texture give the same texels, the picture's bottom row as the texture's first.
TEST_F(RenderToTextureTest, PassRendersAtTheTextureSizeAndCopiesIntoIt)
{
    for (const GLCopyPath path : {GLCopyPath::OnCard, GLCopyPath::ThroughMemory}) {
        SCOPED_TRACE(path == GLCopyPath::OnCard ? "on the card" : "through memory");
        Pass->CopyPath = path;
        FillTextureBlue();
        Pass->SetTexture({Name, 256, 256});
        Pass->Begin();
        EXPECT_EQ(Viewport(), (std::array<int, 4>{0, 0, 256, 256}));
        EXPECT_EQ(Device->Width, 256);
        ClearTo(0.0f, 1.0f, 0.0f);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 64, 32);
        ClearTo(1.0f, 0.0f, 0.0f);
        glDisable(GL_SCISSOR_TEST);
        Pass->CopyToTexture();
        Pass->End();
        EXPECT_EQ(Viewport(), (std::array<int, 4>{0, 0, 640, 480}));
        EXPECT_EQ(Device->Height, 480);
        EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(Other)) << "the unit keeps its texture";
        EXPECT_TRUE(Near(TexelOf(10, 10), {255, 0, 0, 255}));
        EXPECT_TRUE(Near(TexelOf(10, 40), {0, 255, 0, 255}));
        EXPECT_TRUE(Near(TexelOf(70, 10), {0, 255, 0, 255}));
        EXPECT_TRUE(Near(TexelOf(255, 255), {0, 255, 0, 255}));
        EXPECT_TRUE(Desktop.Boxes.empty());
    }
}

TEST_F(RenderToTextureTest, CopyWithoutATextureReportsEachTimeAndTouchesNothing)
{
    ClearTo(0.0f, 0.0f, 1.0f);
    Pass->BeginSized(128, 64);
    EXPECT_EQ(Viewport(), (std::array<int, 4>{0, 0, 128, 64}));
    Pass->CopyToTexture();
    Pass->CopyToTexture();
    EXPECT_EQ(Viewport(), (std::array<int, 4>{0, 0, 128, 64}));
    EXPECT_TRUE(Near(ReadPixel(10, 10), {0, 0, 255, 255}));
    Pass->End();
    ASSERT_EQ(Desktop.Boxes.size(), 2u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QOX_GL: No texture defined for render-to-texture operation!");
}

} // namespace
