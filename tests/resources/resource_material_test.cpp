#include "resources/resource_material.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/qox_script.h"
#include "engine/qox_timer.h"
#include "resources/material_parser.h"
#include "resources/resource_texture.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/hostile_files.h"
#include "tests/support/image_files.h"

namespace {

class MaterialTest : public EngineTest {
protected:
    // A material parsed from the lines.
    QOXPtr<QRMaterial> Parsed(const std::vector<std::string>& lines)
    {
        auto material = QOXMake<QRMaterial>(nullptr);
        for (const std::string& line : lines)
            Engine()->Script->AddLine(material->Data.Script, line);
        material->Parse();
        return material;
    }
};

TEST_F(MaterialTest, SetBlendingTurnsBlendingAndDepthOnAndWritesOff)
{
    auto material = Parsed({"SET_BLENDING ADDITIVE 0.5"});
    const TMaterial& data = material->Data;
    EXPECT_EQ(data.Blending.BlendMode, 1);
    EXPECT_FLOAT_EQ(data.Blending.BlendDensity, 0.5f);
    EXPECT_TRUE(data.Blending.BlendUse);
    EXPECT_TRUE(data.Depth.DepthTestUse);
    EXPECT_FALSE(data.Depth.WriteToBuffer);
    EXPECT_EQ(data.Textures.Last, 3);
}

TEST_F(MaterialTest, ANestedBlocksClosingBraceDoesNotCloseTheSlotBlock)
{
    auto material = Parsed({"TEX0 {", "  ROLL {", "    SPEEDX 2.5", "    OFFSETY 0.25", "  }",
                            "  SET_SCALE 3 4", "  ANIMATION {", "    TYPUS PATTERN", "    COUNT 8", "  }",
                            "  ENVIRONMENTMAP {", "    TYPUS SPHEREMAP", "    SOURCE REFLECTION", "  }", "}",
                            "SET_BLENDING NEGATIVE 1"});
    const TMTextureSlot& slot = material->Data.Textures.Slots[0];
    EXPECT_TRUE(slot.Transform);
    EXPECT_TRUE(slot.RollUse);
    EXPECT_FLOAT_EQ(slot.RollSpeedX, 2.5f);
    EXPECT_FLOAT_EQ(slot.RollOffsetY, 0.25f);
    EXPECT_FLOAT_EQ(slot.ScaleX, 3.0f);
    EXPECT_FLOAT_EQ(slot.ScaleY, 4.0f);
    EXPECT_TRUE(slot.AnimationUse);
    EXPECT_EQ(slot.AnimationType, 1);
    EXPECT_EQ(slot.AnimationCount, 8);
    EXPECT_TRUE(slot.EnvironmentUse);
    EXPECT_EQ(slot.EnvironmentType, 1);
    EXPECT_EQ(slot.EnvironmentSource, 1);
    EXPECT_EQ(material->Data.Blending.BlendMode, 3);
}

TEST_F(MaterialTest, StepsNamingMissingSlotsDrawWithoutTexture)
{
    auto material = Parsed({"SET_RENDERING STEP1 TEX2 MULTIPLY", "RENDERING {", "  STEP0 {", "    TEXTURE TEX9",
                            "    STYLE ADDITIVE", "    COLOR 0.5 0.25 1", "    DENSITY 0.75", "  }", "  STEP3 {",
                            "    TEXTURE NOTEX", "  }", "}", "SET_RENDERING STEP2 TEX300 OPAQUE"});
    const TMRendering& rendering = material->Data.Rendering;
    ASSERT_EQ(rendering.Last, 3);
    EXPECT_EQ(rendering.Steps[0].TextureIndex, kNoTexture);
    EXPECT_EQ(rendering.Steps[0].Style, StepAdditive);
    EXPECT_TRUE(rendering.Steps[0].UseColor);
    EXPECT_EQ(rendering.Steps[0].Color, (QXColor{0.5f, 0.25f, 1.0f}));
    EXPECT_TRUE(rendering.Steps[0].UseDensity);
    EXPECT_FLOAT_EQ(rendering.Steps[0].Density, 0.75f);
    EXPECT_EQ(rendering.Steps[1].TextureIndex, 2);
    EXPECT_EQ(rendering.Steps[1].Style, StepMultiply);
    EXPECT_EQ(rendering.Steps[2].TextureIndex, kNoTexture);
    EXPECT_EQ(rendering.Steps[3].TextureIndex, kNoTexture);
}

TEST_F(MaterialTest, EverySectionBlockSetsItsFields)
{
    auto material = Parsed({
        "MATERIAL_NAME glass",
        "COLOR {", "AMBIENT 0.1 0.2 0.3", "DIFFUSE 0.4 0.5 0.6", "SPECULAR 1 1 1", "EMISSIVE 0 0 1",
        "SHININESS 12", "}",
        "BLENDING {", "MODE SATURATE", "DENSITY 0.3", "}",
        "DEPTHTEST {", "DEPTHTEST FALSE", "WRITETOBUFFER FALSE", "}",
        "CULLFACE {", "CULLFACE FALSE", "DRAWONLYBACKFACES TRUE", "}",
        "LIGHTING {", "STATIC FALSE", "DYNAMIC TRUE", "}",
        "FOG {", "TYPUS EXP2", "COLOR 0.5 0.5 0.5", "DENSITY 0.2", "NEAR 1", "FAR 50", "}",
        "GEOMETRY {", "TYPUS POINTCLOUD", "FLATSHADE TRUE", "SMOOTH TRUE", "POINTSIZE 3", "LINEWIDTH 2", "}",
        "EFFECT_PULSATE {", "MODE SINPOS", "COLOR 1 0 0", "DENSITY 0.5", "SPEED 4", "OFFSET 0.5", "}",
        "EFFECT_PREDEFINED {", "DENSITY PREDEF3", "COLOR PREDEF4", "STEP2 PREDEF5", "STEP7 PREDEF6", "}",
        "UNKNOWN_KEY 1 2 3",
    });
    const TMaterial& data = material->Data;
    EXPECT_EQ(material->GetName(), "glass");
    EXPECT_EQ(data.Colour.Ambient, (QXColor{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(data.Colour.Diffuse, (QXColor{0.4f, 0.5f, 0.6f}));
    EXPECT_EQ(data.Colour.Emissive, (QXColor{0, 0, 1}));
    EXPECT_FLOAT_EQ(data.Colour.Shininess, 12.0f);
    EXPECT_TRUE(data.Blending.BlendUse);
    EXPECT_EQ(data.Blending.BlendMode, 4);
    EXPECT_FLOAT_EQ(data.Blending.BlendDensity, 0.3f);
    EXPECT_TRUE(data.Depth.DepthTestUse);
    EXPECT_FALSE(data.Depth.DepthTest);
    EXPECT_FALSE(data.Depth.WriteToBuffer);
    EXPECT_TRUE(data.Culling.CullFaceUse);
    EXPECT_FALSE(data.Culling.CullFace);
    EXPECT_TRUE(data.Culling.DrawOnlyBackFaces);
    EXPECT_TRUE(data.Lighting.LightingUse);
    EXPECT_FALSE(data.Lighting.StaticLighting);
    EXPECT_TRUE(data.Lighting.DynamicLighting);
    EXPECT_TRUE(data.Fog.FogUse);
    EXPECT_EQ(data.Fog.FogType, FogExp2);
    EXPECT_FLOAT_EQ(data.Fog.FogFar, 50.0f);
    EXPECT_TRUE(data.Geometry.GeometryUse);
    EXPECT_EQ(data.Geometry.GeometryType, GeometryPointCloud);
    EXPECT_TRUE(data.Geometry.FlatShade);
    EXPECT_TRUE(data.Geometry.Smooth);
    EXPECT_FLOAT_EQ(data.Geometry.PointSize, 3.0f);
    EXPECT_TRUE(data.EffectsActive);
    EXPECT_TRUE(data.Pulsate.PulsateUse);
    EXPECT_EQ(data.Pulsate.PulsateMode, PulsateSinPos);
    EXPECT_FLOAT_EQ(data.Pulsate.PulsateSpeed, 4.0f);
    EXPECT_TRUE(data.Predefined.PredefinedUse);
    EXPECT_EQ(data.Predefined.PredefinedDensity, 3);
    EXPECT_EQ(data.Predefined.PredefinedColor, 4);
    EXPECT_EQ(data.Predefined.PredefinedSteps, (std::array<int, 4>{-1, -1, 5, -1}));
}

TEST_F(MaterialTest, ParsingAgainResetsAllButTheColourSection)
{
    auto material = Parsed({"SET_OUTLINE 1 0 0 3 TRUE"});
    const TMaterial& data = material->Data;
    EXPECT_EQ(data.Colour.Diffuse, (QXColor{1, 0, 0}));
    EXPECT_EQ(data.Blending.BlendMode, 2);
    EXPECT_EQ(data.Geometry.GeometryType, GeometryWireframe);
    EXPECT_FLOAT_EQ(data.Geometry.LineWidth, 3.0f);
    EXPECT_TRUE(data.Geometry.Smooth);
    EXPECT_TRUE(data.Culling.DrawOnlyBackFaces);
    EXPECT_TRUE(data.Lighting.LightingUse);
    EXPECT_FALSE(data.Lighting.StaticLighting || data.Lighting.DynamicLighting);
    Engine()->Script->Clear(material->Data.Script);
    material->Parse();
    EXPECT_EQ(data.Colour.Diffuse, (QXColor{1, 0, 0}));
    EXPECT_EQ(data.Blending.BlendMode, 0);
    EXPECT_EQ(data.Geometry.GeometryType, GeometryFill);
    EXPECT_FALSE(data.Culling.DrawOnlyBackFaces);
}

TEST_F(MaterialTest, BadSlotNumbersAndUnclosedBlocksAreHarmless)
{
    auto material = Parsed({"TEX7 {", "SET_SCALE 9 9", "ROLL {", "}", "}", "TEXX {", "}", "SET_RENDERING STEPX TEX0",
                            "SET_RENDERING STEP99999999 TEX0", "IMPORT_TEXTURE TEX-1 x", "COLOR {", "DIFFUSE 0 1 0"});
    const TMaterial& data = material->Data;
    EXPECT_EQ(data.Textures.Last, 3);
    EXPECT_EQ(data.Rendering.Last, -1);
    EXPECT_EQ(data.Colour.Diffuse, (QXColor{0, 1, 0}));
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(MaterialTest, TimerSourcesGiveRunningTimeOrTheSetTime)
{
    auto material = QOXMake<QRMaterial>(nullptr);
    EXPECT_FLOAT_EQ(material->GetTime(), Engine()->Timer->GetRunningTime());
    material->SetTimerSource(1, 2.5f);
    EXPECT_FLOAT_EQ(material->GetTime(), 2.5f);
    material->SetTimerSource(7, 0.0f);
    EXPECT_FLOAT_EQ(material->GetTime(), -1.0f);
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QR_MATERIAL: Undefined material timer source!");
}

TEST_F(MaterialTest, MissingScriptIsReportedAndLeavesTheMaterialEmpty)
{
    auto material = QOXMake<QRMaterial>(nullptr, "materials/none");
    EXPECT_FALSE(material->IsLoaded());
    EXPECT_EQ(material->GetName(), "materials/none");
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QX_FILE: File \"" + ProgramFolder.Path() + "materials/none.txt\" not found!");
}

// 100,000 nested blocks in a 400 KB script: the blocks beyond 256 are refused with a console line
// naming the file and the line, and the rest of the script is ignored, so the parser's own stack
// stays shallow. A script nested just 256 deep is read whole.
TEST_F(MaterialTest, BlocksNestedDeeperThan256AreRefusedWithTheFileAndLine)
{
    std::filesystem::create_directories(ProgramFolder.Path() + "materials");
    std::filesystem::copy_file(ORBIVANE_FUZZ_DIR "regressions/material/nested-100000.txt",
                               ProgramFolder.Path() + "materials/deep.txt");
    auto deep = QOXMake<QRMaterial>(nullptr, "materials/deep");
    EXPECT_TRUE(deep->IsLoaded());
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"Material \"" + ProgramFolder.Path() +
                                                      "materials/deep.txt\": blocks nested deeper than 256 at "
                                                      "line 257; the rest of the script is ignored."});

    std::vector<std::string> lines(QRMaterialParser::kMaxBlockDepth, "X {");
    lines.insert(lines.end(), QRMaterialParser::kMaxBlockDepth, "}");
    lines.push_back("SET_BLENDING ADDITIVE 0.5");
    auto deepest = Parsed(lines);
    EXPECT_EQ(deepest->Data.Blending.BlendMode, 1);
    EXPECT_TRUE(NewLogLines().empty());
}

// A material script that is a link to an endless device, a pipe or holds a line over 1 MiB is
// refused without waiting and leaves the material empty.
TEST_F(MaterialTest, HostileScriptLeavesTheMaterialEmpty)
{
    TheEngine->ShowErrorDialogs = false;
    for (const HostileFile hostile : HostileFiles()) {
        SCOPED_TRACE(HostileFileName(hostile));
        MakeHostileFile(ProgramFolder.Path() + "materials/hostile.txt", hostile);
        auto material = QOXMake<QRMaterial>(nullptr, "materials/hostile");
        EXPECT_FALSE(material->IsLoaded());
        EXPECT_EQ(material->Data.Script.Last, -1);
        const std::vector<std::string> log = NewLogLines();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("  ERROR: QX_FILE: ", 0), 0u) << log[0];
    }
}

using MaterialFileTest = GLTest;

TEST_F(MaterialFileTest, LoadReadsTheScriptAndImportsItsTextures)
{
    ProgramFolder.Write("textures/glass.tga", EncodeTga(2, 2, 32, Filled(2, 2, {1, 2, 3, 4})));
    ProgramFolder.Write("materials/glass.txt",
                        "IMPORT_TEXTURE TEX5 textures/glass\r\nSET_RENDERING STEP0 TEX5 ADDITIVE\r\n");
    auto material = QOXMake<QRMaterial>(nullptr, "materials/glass");
    ASSERT_TRUE(material->IsLoaded());
    const TMaterial& data = material->Data;
    ASSERT_EQ(data.Textures.Last, 5);
    QRTexture* texture = data.Textures.Slots[5].Texture;
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(texture->IsLoaded());
    EXPECT_EQ(texture->GetParent(), material.get());
    EXPECT_EQ(data.Rendering.Steps[0].TextureIndex, 5);
    const unsigned name = texture->GLName;
    material->Unload();
    EXPECT_EQ(material->Data.Textures.Last, -1);
    EXPECT_EQ(material->Data.Script.Last, -1);
    EXPECT_FALSE(glIsTexture(name));
}

} // namespace
