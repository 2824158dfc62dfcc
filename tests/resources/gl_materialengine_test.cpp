#include "resources/gl_materialengine.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/gl_lightingengine.h"
#include "resources/resource_material.h"
#include "tests/support/full_view_quad.h"
#include "tests/support/gl_fixture.h"

namespace {

class MaterialEngineTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Materials = Device->MaterialEngine;
        Materials->ResetMaterial();
    }

    TMaterial& Working() { return Materials->Material->Data; }

    static QXColor CurrentGLColour()
    {
        GLfloat colour[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, colour);
        return {colour[0], colour[1], colour[2]};
    }

    GLMaterialEngine* Materials = nullptr;
};

TEST_F(MaterialEngineTest, StartLogsAndTheWorkingMaterialStartsFromTheDefaults)
{
    const std::vector<std::string> log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "QOX GL: Material Engine initialized!"), log.end());
    EXPECT_EQ(Materials->InitialMaterial->GetName(), "INITIAL ENGINE MATERIAL");
    EXPECT_EQ(Materials->Material->GetName(), "ENGINE MATERIAL");
    EXPECT_TRUE(Working().Colour.Unlit);
    EXPECT_FLOAT_EQ(Working().Colour.Shininess, 0.0f);
    EXPECT_FLOAT_EQ(Working().Fog.FogDensity, 0.1f);
    EXPECT_TRUE(Working().Blending.BlendUse && Working().Depth.DepthTestUse && Working().Geometry.GeometryUse);
    EXPECT_FLOAT_EQ(Materials->PredefinedDensities[31], 1.0f);
}

TEST_F(MaterialEngineTest, NegativeBlendDarkensTheViewTowardsTheColour)
{
    ClearTo(1, 1, 1);
    Materials->SetUnlit();
    Materials->SetBlendColor(3, {1.0f, 0.5f, 0.0f}, 0.5f);
    Materials->ApplyMaterial();
    EXPECT_TRUE(IsEnabled(GL_BLEND));
    EXPECT_FALSE(IsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(IsEnabled(GL_CULL_FACE));
    GLboolean writes = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    EXPECT_EQ(writes, GL_FALSE);
    DrawFullViewQuad();
    EXPECT_TRUE(Near(CentrePixel(), {255, 191, 128, 255}));
    ASSERT_EQ(Materials->Passes.size(), 1u);
    EXPECT_EQ(Materials->Passes[0].Texture, nullptr);
}

TEST_F(MaterialEngineTest, OpaqueColourDrawsUnblendedWithTheTint)
{
    ClearTo(0, 0, 0);
    Materials->SetUnlit();
    Materials->SetColor({0.0f, 1.0f, 0.0f});
    Materials->SetTint(true, {0.5f, 0.5f, 0.5f, 0.5f});
    Materials->ApplyMaterial();
    EXPECT_FALSE(IsEnabled(GL_BLEND));
    EXPECT_FALSE(IsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Materials->CurrentColor, (QXColor{0.0f, 0.5f, 0.0f}));
    DrawFullViewQuad();
    EXPECT_TRUE(Near(CentrePixel(), {0, 128, 0, 255}));
}

TEST_F(MaterialEngineTest, LitMaterialsUseColourMaterialAndTheLightingSwitch)
{
    Working().Lighting.StaticLighting = true;
    Materials->SetColor({0.2f, 0.4f, 0.6f});
    EXPECT_FALSE(Working().Colour.Unlit);
    Materials->ApplyMaterial();
    EXPECT_TRUE(IsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(IsEnabled(GL_LIGHTING));
    EXPECT_TRUE(Materials->StaticLighting);

    Device->LightingEngine->Enabled = false;
    Materials->ApplyMaterial();
    EXPECT_FALSE(IsEnabled(GL_LIGHTING));

    Materials->ResetMaterial();
    Materials->ApplyMaterial();
    EXPECT_FALSE(IsEnabled(GL_COLOR_MATERIAL));
}

TEST_F(MaterialEngineTest, FogGeometryAndFaceOrderFollowTheMaterial)
{
    Working().Fog.FogType = FogLinear;
    Working().Fog.FogNear = 3.0f;
    Working().Geometry.GeometryType = GeometryWireframe;
    Working().Geometry.LineWidth = 2.0f;
    Working().Culling.DrawOnlyBackFaces = true;
    Materials->ApplyMaterial();
    EXPECT_TRUE(IsEnabled(GL_FOG));
    EXPECT_EQ(GetInteger(GL_FOG_MODE), GL_LINEAR);
    GLfloat start = 0;
    glGetFloatv(GL_FOG_START, &start);
    EXPECT_FLOAT_EQ(start, 3.0f);
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_LINE);
    EXPECT_EQ(GetInteger(GL_FRONT_FACE), GL_CW);
    EXPECT_TRUE(IsEnabled(GL_CULL_FACE));

    Device->AllowFog = false;
    Materials->ApplyMaterial();
    EXPECT_FALSE(IsEnabled(GL_FOG));
}

TEST_F(MaterialEngineTest, DisabledEngineOnlySendsWhite)
{
    Materials->SetColor({1.0f, 0.0f, 0.0f});
    Materials->Enabled = false;
    Materials->ApplyMaterial();
    EXPECT_EQ(CurrentGLColour(), (QXColor{1, 1, 1}));
    EXPECT_TRUE(Materials->Passes.empty());
}

TEST_F(MaterialEngineTest, NeonPulsateBlinksTenTimesASecond)
{
    int blinks = 0;
    bool showingPulsate = false;
    for (int step = 0; step < 100; ++step) {
        Materials->ResetMaterial();
        Working().EffectsActive = true;
        Working().Pulsate = {true, PulsateNeon, {0.0f, 0.0f, 1.0f}, 0.25f, 1.0f, 0.0f};
        Working().Colour.Diffuse = {1.0f, 0.0f, 0.0f};
        Materials->Material->SetTimerSource(1, static_cast<float>(step) * 0.01f + 0.005f);
        Materials->ApplyMaterial();
        const bool pulsate = Working().Colour.Diffuse == QXColor{0.0f, 0.0f, 1.0f};
        EXPECT_TRUE(pulsate || (Working().Colour.Diffuse == QXColor{1.0f, 0.0f, 0.0f}));
        EXPECT_FLOAT_EQ(Working().Blending.BlendDensity, pulsate ? 0.25f : 1.0f);
        if (pulsate && !showingPulsate)
            ++blinks;
        showingPulsate = pulsate;
    }
    EXPECT_EQ(blinks, 10);
}

TEST_F(MaterialEngineTest, PredefinedEffectsTakeTableEntries)
{
    Materials->PredefinedDensities[3] = 0.4f;
    Materials->PredefinedColors[4] = {0.0f, 1.0f, 1.0f};
    Materials->PredefinedStyles[5] = StepAdditive;
    Materials->AddTexturePass(nullptr);
    Working().EffectsActive = true;
    Working().Predefined = {true, 3, 4, {5, -1, 99, -1}};
    Materials->ApplyMaterial();
    EXPECT_FLOAT_EQ(Working().Blending.BlendDensity, 0.4f);
    EXPECT_EQ(Working().Colour.Diffuse, (QXColor{0.0f, 1.0f, 1.0f}));
    EXPECT_EQ(Materials->Passes[0].Style, StepAdditive);
}

} // namespace
