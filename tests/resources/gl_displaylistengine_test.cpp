#include "resources/gl_displaylistengine.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/gl_lightingengine.h"
#include "resources/gl_modelengine.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_displaylist.h"
#include "tests/support/full_view_quad.h"
#include "tests/support/gl_fixture.h"

namespace {

class DisplayListTest : public GLTest {
protected:
    // A list that fills the view with the colour.
    QRDisplayList* Compile(const QXColor& colour, int mode = CompileOnly)
    {
        QRDisplayList* list = QOXNew<QRDisplayList>(Device);
        list->BeginCompile(mode);
        glColor3f(colour.X, colour.Y, colour.Z);
        DrawFullViewQuad();
        list->EndCompile();
        return list;
    }

    void SetUp() override
    {
        GLTest::SetUp();
        Lists = Device->DisplayListEngine;
        Device->SetTexturing(false);
        Device->SetDepthTest(false);
        Device->SetCulling(false);
    }

    GLDisplayListEngine* Lists = nullptr;
};

TEST_F(DisplayListTest, RemovedSlotsAreReusedAndTrailingEmptiesDropped)
{
    QRDisplayList* a = Compile({1, 0, 0});
    QRDisplayList* b = Compile({0, 1, 0});
    QRDisplayList* c = Compile({0, 0, 1});
    EXPECT_EQ(Lists->IndexOf(a), 0);
    EXPECT_EQ(Lists->IndexOf(b), 1);
    b->Destroy();
    EXPECT_EQ(Lists->Lists->LastIndex(), 2);
    EXPECT_EQ(Lists->Lists->Get(1), nullptr);
    QRDisplayList* d = Compile({1, 1, 0});
    EXPECT_EQ(Lists->IndexOf(d), 1);
    d->Unload();
    c->Unload();
    EXPECT_EQ(Lists->Lists->LastIndex(), 0);
    EXPECT_EQ(Lists->Lists->Capacity(), 4);
    EXPECT_EQ(Lists->IndexOf(a), 0);
}

TEST_F(DisplayListTest, CallDrawsTheListAndADeletedListDrawsNothing)
{
    QRDisplayList* red = Compile({1, 0, 0});
    ClearTo(0, 0, 0);
    EXPECT_TRUE(Near(CentrePixel(), {0, 0, 0, 255}));
    red->Call();
    EXPECT_TRUE(Near(CentrePixel(), {255, 0, 0, 255}));
    const unsigned id = red->ListId;
    red->Unload();
    EXPECT_FALSE(glIsList(id));
    ClearTo(0, 0, 0);
    red->Call();
    Lists->CallList(id);
    EXPECT_TRUE(Near(CentrePixel(), {0, 0, 0, 255}));
}

TEST_F(DisplayListTest, CompileAndExecuteDrawsAtOnceAndAnUnknownModeOnlyCompiles)
{
    ClearTo(0, 0, 0);
    Compile({0, 1, 0}, CompileAndExecute);
    EXPECT_TRUE(Near(CentrePixel(), {0, 255, 0, 255}));
    ClearTo(0, 0, 0);
    QRDisplayList* odd = Compile({0, 0, 1}, 7);
    EXPECT_TRUE(Near(CentrePixel(), {0, 0, 0, 255}));
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QOX_GL_DISPLAYLIST: Undefined display list creation mode!");
    odd->Call();
    EXPECT_TRUE(Near(CentrePixel(), {0, 0, 255, 255}));
}

TEST_F(DisplayListTest, CompilingAndCallingForgetTheTextureBindings)
{
    QRDisplayList* list = Compile({1, 1, 1});
    GLTextureEngine* textures = Device->TextureEngine;
    textures->Bound[0] = reinterpret_cast<QRTexture*>(textures);
    list->Call();
    EXPECT_EQ(textures->Bound[0], nullptr);
}

TEST_F(DisplayListTest, NamedListsLogAndRecompilingDeletesTheOldList)
{
    QRDisplayList* list = Compile({1, 0, 0});
    list->SetName("ring");
    NewLogLines();
    const unsigned first = list->ListId;
    list->BeginCompile(CompileOnly);
    list->EndCompile();
    EXPECT_FALSE(glIsList(first));
    EXPECT_EQ(Lists->Lists->LastIndex(), 0);
    list->Destroy();
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Deleting Display List: \"ring\"",
                                                       "Creating Display List: \"ring\"",
                                                       "Deleting Display List: \"ring\""}));
    EXPECT_EQ(Lists->Lists->LastIndex(), -1);
}

TEST_F(DisplayListTest, TheSmallEnginesStartInOrderAndTheFrameEmptiesItsLights)
{
    const std::vector<std::string> log = LogLines();
    const char* order[] = {"QOX GL: Camera initialized!",          "QOX GL: Model Engine initialized!",
                           "QOX GL: Lighting Engine initialized!", "QOX GL: Texture Engine initialized!",
                           "QOX GL: Material Engine initialized!", "QOX GL: Display List Engine initialized!",
                           "QOX GL: Shader Engine initialized!",   "QOX GL: GL 2D initialized!"};
    auto at = log.begin();
    for (const char* line : order) {
        at = std::find(at, log.end(), line);
        EXPECT_NE(at, log.end()) << line;
    }
    EXPECT_EQ(Device->ModelEngine->Models.size(), 17u);
    GLLightingEngine* lights = Device->LightingEngine;
    lights->FrameLights.push_back(lights);
    lights->LastFrameLight = 0;
    Device->RenderFrame();
    EXPECT_TRUE(lights->FrameLights.empty());
    EXPECT_EQ(lights->LastFrameLight, -1);
}

} // namespace
