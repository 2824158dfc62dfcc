#include "resources/material_parser.h"

#include <initializer_list>
#include <utility>

#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/script_parser.h"
#include "resources/resource_texture.h"

namespace {

using Keywords = std::initializer_list<std::pair<const char*, int>>;

const Keywords kBlendModes{{"OPAQUE", 0}, {"ADDITIVE", 1}, {"AVERAGE", 2}, {"NEGATIVE", 3}, {"SATURATE", 4}};
const Keywords kStepStyles{{"OPAQUE", StepOpaque}, {"ADDITIVE", StepAdditive}, {"MULTIPLY", StepMultiply}};
const Keywords kFogTypes{{"NONE", FogNone}, {"LINEAR", FogLinear}, {"EXP", FogExp}, {"EXP2", FogExp2}};
const Keywords kGeometryTypes{
    {"FILL", GeometryFill}, {"WIREFRAME", GeometryWireframe}, {"POINTCLOUD", GeometryPointCloud}};
const Keywords kPulsateModes{
    {"SIN", PulsateSin}, {"CONST", PulsateConst}, {"SINPOS", PulsateSinPos}, {"NEON", PulsateNeon}};
const Keywords kEnvironmentTypes{{"SPHEREMAP", 1}, {"CUBEMAP", 2}};
const Keywords kEnvironmentSources{{"CHROME", 0}, {"REFLECTION", 1}};
const Keywords kAnimationTypes{{"PATTERN", 1}, {"TEXTURES", 2}};

// The value of the keyword, or -1 when the token is none of them.
int KeywordValue(const std::string& token, const Keywords& keywords)
{
    for (const auto& [keyword, value] : keywords) {
        if (token == keyword)
            return value;
    }
    return -1;
}

// A slot or step number a script may name, or -1.
int ValidIndex(int index)
{
    return index >= 0 && index < kMaxMaterialSlots ? index : -1;
}

std::uint8_t TextureIndexOf(int index)
{
    return ValidIndex(index) == -1 ? kNoTexture : static_cast<std::uint8_t>(index);
}

} // namespace

QRMaterialParser::QRMaterialParser(QRMaterial* material)
    : QOXObject(material, "QOX Material Parser"), Material(material), Tokens(Engine()->Parser)
{
}

void QRMaterialParser::Parse()
{
    Line = -1;
    while (NextLine())
        TopLevelLine();
}

bool QRMaterialParser::NextLine()
{
    if (Line >= Material->Data.Script.Last)
        return false;
    ++Line;
    Tokens->ParseLine(Material->Data.Script.Lines[static_cast<std::size_t>(Line)]);
    return true;
}

void QRMaterialParser::ReadBlock(const KeyHandler& handleKey)
{
    if (!EnterBlock())
        return;
    while (NextLine() && !Tokens->IsBlockEnd())
        handleKey();
    --Depth;
}

bool QRMaterialParser::EnterBlock()
{
    if (++Depth <= kMaxBlockDepth)
        return true;
    --Depth;
    const std::string source = Material->FileName.empty() ? Material->GetName()
                                                          : Engine()->FileSystem->MakePath(Material->FileName, "txt");
    Engine()->Console->AddLine("Material \"" + source + "\": blocks nested deeper than " +
                               std::to_string(kMaxBlockDepth) + " at line " + std::to_string(Line + 1) +
                               "; the rest of the script is ignored.");
    // Every reader stops at the end of the script.
    Line = Material->Data.Script.Last;
    return false;
}

void QRMaterialParser::ReadNestedBlock(const KeyHandler& handleKey)
{
    ReadBlock(handleKey);
    Tokens->Clear();
}

void QRMaterialParser::SkipBlock()
{
    ReadNestedBlock([this] {
        if (Tokens->IsAnyBlockStart())
            SkipBlock();
    });
}

bool QRMaterialParser::Key(const char* name) const
{
    return Tokens->TokenEquals(0, name);
}

void QRMaterialParser::SetKeyword(int& field, int value) const
{
    if (value != -1)
        field = value;
}

void QRMaterialParser::TopLevelLine()
{
    if (Tokens->IsAnyBlockStart()) {
        if (!TopLevelBlock())
            SkipBlock();
    } else if (Key("MATERIAL_NAME")) {
        Material->SetName(Tokens->GetToken(1));
    } else if (Key("IMPORT_TEXTURE")) {
        ImportTexture();
    } else if (Key("SET_BLENDING")) {
        SetBlending();
    } else if (Key("SET_OUTLINE")) {
        SetOutline();
    } else if (Key("SET_RENDERING")) {
        SetRendering();
    }
}

void QRMaterialParser::ImportTexture()
{
    const int index = ValidIndex(Tokens->GetPrefixedInt(1, "TEX"));
    if (index == -1)
        return;
    const std::string name = Tokens->GetToken(2);
    TMTextureSlot& slot = Material->ResetSlot(index);
    slot.Texture = QOXNew<QRTexture>(name, Material);
}

void QRMaterialParser::SetBlending()
{
    TMaterial& data = Material->Data;
    SetKeyword(data.Blending.BlendMode, KeywordValue(Tokens->GetToken(1), kBlendModes));
    data.Blending.BlendDensity = Tokens->GetFloat(2);
    data.Blending.BlendUse = true;
    data.Depth.DepthTestUse = true;
    data.Depth.WriteToBuffer = false;
}

void QRMaterialParser::SetOutline()
{
    TMaterial& data = Material->Data;
    const QXColor colour = Tokens->GetVector(1);
    data.Colour.ColorUse = true;
    data.Colour.Ambient = colour;
    data.Colour.Diffuse = colour;
    data.Blending = {true, 2, 1.0f};
    data.Geometry.GeometryUse = true;
    data.Geometry.GeometryType = GeometryWireframe;
    data.Geometry.LineWidth = Tokens->GetFloat(4);
    data.Geometry.Smooth = Tokens->GetBool(5);
    data.Culling.CullFaceUse = true;
    data.Culling.DrawOnlyBackFaces = true;
    data.Lighting = {true, false, false};
}

void QRMaterialParser::SetRendering()
{
    const int index = ValidIndex(Tokens->GetPrefixedInt(1, "STEP"));
    if (index == -1)
        return;
    TMRenderStep& step = Material->ProvideStep(index);
    step.TextureIndex = TextureIndexOf(Tokens->GetPrefixedInt(2, "TEX"));
    SetKeyword(step.Style, KeywordValue(Tokens->GetToken(3), kStepStyles));
}

bool QRMaterialParser::TopLevelBlock()
{
    TMaterial& data = Material->Data;
    if (Key("COLOR")) {
        data.Colour.ColorUse = true;
        ReadBlock([this] { ColourKey(); });
    } else if (Key("BLENDING")) {
        data.Blending.BlendUse = true;
        ReadBlock([this] { BlendingKey(); });
    } else if (Key("DEPTHTEST")) {
        data.Depth.DepthTestUse = true;
        ReadBlock([this] { DepthKey(); });
    } else if (Key("CULLFACE")) {
        data.Culling.CullFaceUse = true;
        ReadBlock([this] { CullingKey(); });
    } else if (Key("LIGHTING")) {
        data.Lighting.LightingUse = true;
        ReadBlock([this] { LightingKey(); });
    } else if (Key("FOG")) {
        data.Fog.FogUse = true;
        ReadBlock([this] { FogKey(); });
    } else if (Key("GEOMETRY")) {
        data.Geometry.GeometryUse = true;
        ReadBlock([this] { GeometryKey(); });
    } else if (Key("EFFECT_PULSATE")) {
        data.EffectsActive = data.Pulsate.PulsateUse = true;
        ReadBlock([this] { PulsateKey(); });
    } else if (Key("EFFECT_PREDEFINED")) {
        data.EffectsActive = data.Predefined.PredefinedUse = true;
        ReadBlock([this] { PredefinedKey(); });
    } else if (Key("RENDERING")) {
        ReadBlock([this] { RenderingKey(); });
    } else if (Tokens->GetPrefixedInt(0, "TEX") >= 0) {
        TextureSlotBlock(Tokens->GetPrefixedInt(0, "TEX"));
    } else {
        return false;
    }
    return true;
}

void QRMaterialParser::ColourKey()
{
    TMColour& colour = Material->Data.Colour;
    if (Key("AMBIENT"))
        colour.Ambient = Tokens->GetVector(1);
    else if (Key("DIFFUSE"))
        colour.Diffuse = Tokens->GetVector(1);
    else if (Key("SPECULAR"))
        colour.Specular = Tokens->GetVector(1);
    else if (Key("EMISSIVE"))
        colour.Emissive = Tokens->GetVector(1);
    else if (Key("SHININESS"))
        colour.Shininess = Tokens->GetFloat(1);
}

void QRMaterialParser::BlendingKey()
{
    TMBlending& blending = Material->Data.Blending;
    if (Key("USE"))
        blending.BlendUse = Tokens->GetBool(1);
    else if (Key("MODE"))
        SetKeyword(blending.BlendMode, KeywordValue(Tokens->GetToken(1), kBlendModes));
    else if (Key("DENSITY"))
        blending.BlendDensity = Tokens->GetFloat(1);
}

void QRMaterialParser::DepthKey()
{
    TMDepth& depth = Material->Data.Depth;
    if (Key("USE"))
        depth.DepthTestUse = Tokens->GetBool(1);
    else if (Key("DEPTHTEST"))
        depth.DepthTest = Tokens->GetBool(1);
    else if (Key("WRITETOBUFFER"))
        depth.WriteToBuffer = Tokens->GetBool(1);
}

void QRMaterialParser::CullingKey()
{
    TMCulling& culling = Material->Data.Culling;
    if (Key("USE"))
        culling.CullFaceUse = Tokens->GetBool(1);
    else if (Key("CULLFACE"))
        culling.CullFace = Tokens->GetBool(1);
    else if (Key("DRAWONLYBACKFACES"))
        culling.DrawOnlyBackFaces = Tokens->GetBool(1);
}

void QRMaterialParser::LightingKey()
{
    TMLighting& lighting = Material->Data.Lighting;
    if (Key("USE"))
        lighting.LightingUse = Tokens->GetBool(1);
    else if (Key("STATIC"))
        lighting.StaticLighting = Tokens->GetBool(1);
    else if (Key("DYNAMIC"))
        lighting.DynamicLighting = Tokens->GetBool(1);
}

void QRMaterialParser::FogKey()
{
    TMFog& fog = Material->Data.Fog;
    if (Key("USE"))
        fog.FogUse = Tokens->GetBool(1);
    else if (Key("TYPUS"))
        SetKeyword(fog.FogType, KeywordValue(Tokens->GetToken(1), kFogTypes));
    else if (Key("COLOR"))
        fog.FogColor = Tokens->GetVector(1);
    else if (Key("DENSITY"))
        fog.FogDensity = Tokens->GetFloat(1);
    else if (Key("NEAR"))
        fog.FogNear = Tokens->GetFloat(1);
    else if (Key("FAR"))
        fog.FogFar = Tokens->GetFloat(1);
}

void QRMaterialParser::GeometryKey()
{
    TMGeometry& geometry = Material->Data.Geometry;
    if (Key("USE"))
        geometry.GeometryUse = Tokens->GetBool(1);
    else if (Key("TYPUS"))
        SetKeyword(geometry.GeometryType, KeywordValue(Tokens->GetToken(1), kGeometryTypes));
    else if (Key("FLATSHADE"))
        geometry.FlatShade = Tokens->GetBool(1);
    else if (Key("SMOOTH"))
        geometry.Smooth = Tokens->GetBool(1);
    else if (Key("POINTSIZE"))
        geometry.PointSize = Tokens->GetFloat(1);
    else if (Key("LINEWIDTH"))
        geometry.LineWidth = Tokens->GetFloat(1);
}

void QRMaterialParser::PulsateKey()
{
    TMPulsate& pulsate = Material->Data.Pulsate;
    if (Key("USE"))
        pulsate.PulsateUse = Tokens->GetBool(1);
    else if (Key("MODE"))
        SetKeyword(pulsate.PulsateMode, KeywordValue(Tokens->GetToken(1), kPulsateModes));
    else if (Key("COLOR"))
        pulsate.PulsateColor = Tokens->GetVector(1);
    else if (Key("DENSITY"))
        pulsate.PulsateDensity = Tokens->GetFloat(1);
    else if (Key("SPEED"))
        pulsate.PulsateSpeed = Tokens->GetFloat(1);
    else if (Key("OFFSET"))
        pulsate.PulsateOffset = Tokens->GetFloat(1);
}

void QRMaterialParser::PredefinedKey()
{
    TMPredefined& predefined = Material->Data.Predefined;
    const int entry = Tokens->GetPrefixedInt(1, "PREDEF");
    if (Key("DENSITY")) {
        predefined.PredefinedDensity = entry;
        return;
    }
    if (Key("COLOR")) {
        predefined.PredefinedColor = entry;
        return;
    }
    const int step = Tokens->GetPrefixedInt(0, "STEP");
    if (step >= 0 && step < static_cast<int>(predefined.PredefinedSteps.size()))
        predefined.PredefinedSteps[static_cast<std::size_t>(step)] = entry;
}

void QRMaterialParser::TextureSlotBlock(int index)
{
    if (!Material->HasSlot(index)) {
        SkipBlock();
        return;
    }
    ReadBlock([this, index] { TextureSlotKey(Material->Data.Textures.Slots[static_cast<std::size_t>(index)]); });
}

void QRMaterialParser::TextureSlotKey(TMTextureSlot& slot)
{
    if (Key("SET_SCALE")) {
        slot.ScaleX = Tokens->GetFloat(1);
        slot.ScaleY = Tokens->GetFloat(2);
    } else if (Tokens->IsBlockStart("ENVIRONMENTMAP")) {
        slot.Transform = slot.EnvironmentUse = true;
        ReadNestedBlock([this, &slot] { EnvironmentKey(slot); });
    } else if (Tokens->IsBlockStart("ROLL")) {
        slot.Transform = slot.RollUse = true;
        ReadNestedBlock([this, &slot] { RollKey(slot); });
    } else if (Tokens->IsBlockStart("ANIMATION")) {
        slot.Transform = slot.AnimationUse = true;
        ReadNestedBlock([this, &slot] { AnimationKey(slot); });
    } else if (Tokens->IsAnyBlockStart()) {
        SkipBlock();
    }
}

void QRMaterialParser::EnvironmentKey(TMTextureSlot& slot)
{
    if (Key("TYPUS"))
        SetKeyword(slot.EnvironmentType, KeywordValue(Tokens->GetToken(1), kEnvironmentTypes));
    else if (Key("SOURCE"))
        SetKeyword(slot.EnvironmentSource, KeywordValue(Tokens->GetToken(1), kEnvironmentSources));
}

void QRMaterialParser::RollKey(TMTextureSlot& slot)
{
    if (Key("OFFSETX"))
        slot.RollOffsetX = Tokens->GetFloat(1);
    else if (Key("OFFSETY"))
        slot.RollOffsetY = Tokens->GetFloat(1);
    else if (Key("SPEEDX"))
        slot.RollSpeedX = Tokens->GetFloat(1);
    else if (Key("SPEEDY"))
        slot.RollSpeedY = Tokens->GetFloat(1);
}

void QRMaterialParser::AnimationKey(TMTextureSlot& slot)
{
    if (Key("TYPUS"))
        SetKeyword(slot.AnimationType, KeywordValue(Tokens->GetToken(1), kAnimationTypes));
    else if (Key("SPEED"))
        slot.AnimationSpeed = Tokens->GetFloat(1);
    else if (Key("PATTERNSIZEX"))
        slot.PatternSizeX = Tokens->GetFloat(1);
    else if (Key("PATTERNSIZEY"))
        slot.PatternSizeY = Tokens->GetFloat(1);
    else if (Key("OFFSETX"))
        slot.AnimationOffsetX = Tokens->GetFloat(1);
    else if (Key("OFFSETY"))
        slot.AnimationOffsetY = Tokens->GetFloat(1);
    else if (Key("OFFSET"))
        slot.AnimationOffset = Tokens->GetInt(1);
    else if (Key("COUNT"))
        slot.AnimationCount = Tokens->GetInt(1);
}

void QRMaterialParser::RenderingKey()
{
    const int index = ValidIndex(Tokens->GetPrefixedInt(0, "STEP"));
    if (!Tokens->IsAnyBlockStart())
        return;
    if (index == -1) {
        SkipBlock();
        return;
    }
    Material->ProvideStep(index);
    ReadNestedBlock([this, index] { StepKey(Material->Data.Rendering.Steps[static_cast<std::size_t>(index)]); });
}

void QRMaterialParser::StepKey(TMRenderStep& step)
{
    if (Key("TEXTURE")) {
        step.TextureIndex = TextureIndexOf(Tokens->GetPrefixedInt(1, "TEX"));
    } else if (Key("STYLE")) {
        SetKeyword(step.Style, KeywordValue(Tokens->GetToken(1), kStepStyles));
    } else if (Key("COLOR")) {
        step.Color = Tokens->GetVector(1);
        step.UseColor = true;
    } else if (Key("DENSITY")) {
        step.Density = Tokens->GetFloat(1);
        step.UseDensity = true;
    }
}
