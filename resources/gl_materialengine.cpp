#include "resources/gl_materialengine.h"

#include <GL/gl.h>

#include <cmath>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "engine/qox_math.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_material.h"

namespace {

QXColor Multiply(const QXColor& a, const QXColor& b)
{
    return {a.X * b.X, a.Y * b.Y, a.Z * b.Z};
}

QXColor Mix(const QXColor& a, const QXColor& b, float f)
{
    return {a.X * f + (1.0f - f) * b.X, a.Y * f + (1.0f - f) * b.Y, a.Z * f + (1.0f - f) * b.Z};
}

void SetMaterialColour(GLenum parameter, const QXColor& colour)
{
    const GLfloat value[4] = {colour.X, colour.Y, colour.Z, 1.0f};
    glMaterialfv(GL_FRONT, parameter, value);
}

// The pulsate factor: 1 shows the material's own colour, 0 the pulsate colour.
float PulsateFactor(int mode, float time, float speed, float offset)
{
    switch (mode) {
    case PulsateSin:
        return std::sin(time * speed + offset) * 0.5f + 0.5f;
    case PulsateConst: {
        float x = QOXMath::Frac(time * speed * 0.5f + offset);
        if (x > 0.5f)
            x = 1.0f - x;
        return 2.0f * x;
    }
    case PulsateSinPos:
        return std::fabs(std::sin(time * speed + offset));
    case PulsateNeon:
        return QOXMath::Frac(time * speed * 10.0f + offset) > 0.5f ? 1.0f : 0.0f;
    default:
        return 1.0f;
    }
}

bool IsPredefinedEntry(int index)
{
    return index >= 0 && index < GLMaterialEngine::kPredefinedEntries;
}

} // namespace

GLMaterialEngine::GLMaterialEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Material Engine")
{
    InitialMaterial = QOXNew<QRMaterial>(this);
    InitialMaterial->SetName("INITIAL ENGINE MATERIAL");
    Material = QOXNew<QRMaterial>(this);
    Material->SetName("ENGINE MATERIAL");
}

void GLMaterialEngine::Init()
{
    SetInitialMaterial();
    ResetMaterial();
    FillPredefinedTables();
    Engine()->Console->AddLine("QOX GL: Material Engine initialized!");
}

void GLMaterialEngine::SetInitialMaterial()
{
    TMaterial& data = InitialMaterial->Data;
    data.Colour = {true, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, 0.0f, {0, 0, 0}, true};
    data.Tint = {true, {1, 1, 1}};
    data.Blending = {true, 0, 1.0f};
    data.Depth = {true, true, true};
    data.Culling = {true, true, false};
    data.Lighting = {true, false, false};
    data.Fog = {true, FogNone, {1, 1, 1}, 0.1f, 10.0f, 20.0f};
    data.Geometry = {true, GeometryFill, false, 1.0f, 1.0f, false};
}

void GLMaterialEngine::FillPredefinedTables()
{
    PredefinedDensities.fill(1.0f);
    PredefinedColors.fill({1.0f, 1.0f, 1.0f});
    PredefinedStyles.fill(StepOpaque);
}

void GLMaterialEngine::ResetMaterial()
{
    const TMaterial& from = InitialMaterial->Data;
    TMaterial& to = Material->Data;
    to.Colour = from.Colour;
    to.Tint = from.Tint;
    to.Blending = from.Blending;
    to.Depth = from.Depth;
    to.Culling = from.Culling;
    to.Lighting = from.Lighting;
    to.Fog = from.Fog;
    to.Geometry = from.Geometry;
    to.Rendering = from.Rendering;
    to.Pulsate = from.Pulsate;
    to.Predefined = from.Predefined;
    to.EffectsActive = from.EffectsActive;
    Passes.clear();
}

void GLMaterialEngine::SetUnlit()
{
    TMaterial& data = Material->Data;
    data.Colour.Unlit = true;
    data.Tint.Tint = {1.0f, 1.0f, 1.0f};
    data.Depth.DepthTest = false;
    data.Culling.CullFace = false;
}

void GLMaterialEngine::SetColor(const QXColor& colour)
{
    TMaterial& data = Material->Data;
    data.Colour.Diffuse = colour;
    if (data.Lighting.StaticLighting || data.Lighting.DynamicLighting)
        data.Colour.Unlit = false;
}

void GLMaterialEngine::SetBlendColor(int mode, const QXColor& colour, float density)
{
    TMaterial& data = Material->Data;
    data.Colour.Diffuse = colour;
    data.Blending.BlendMode = mode;
    data.Blending.BlendDensity = density;
    data.Depth.WriteToBuffer = false;
    data.Culling.CullFace = false;
}

void GLMaterialEngine::AddTexturePass(QRTexture* texture)
{
    GLRenderPass pass;
    pass.Texture = texture;
    pass.Color = Material->Data.Colour.Diffuse;
    Passes.push_back(pass);
}

void GLMaterialEngine::SetTint(bool use, const QXVector4& colour)
{
    TintUse = use;
    TintColor = colour;
}

bool GLMaterialEngine::WorkingBlends() const
{
    return Material->Data.Blending.BlendMode != 0;
}

void GLMaterialEngine::ApplyMaterial()
{
    PassesDrawn = false;
    if (!Enabled) {
        glColor3f(1.0f, 1.0f, 1.0f);
        glNormal3f(0.0f, 0.0f, 0.0f);
        return;
    }
    ApplyEffects();
    ApplyGlobalTint();
    ApplyColour();
    ApplyDepthAndBlending();
    ApplyCullingAndLighting();
    ApplyFog();
    ApplyGeometry();
    ApplyTexturing();
    if (Passes.empty())
        AddTexturePass(nullptr);
}

void GLMaterialEngine::ApplyEffects()
{
    if (!Material->Data.EffectsActive)
        return;
    if (Material->Data.Pulsate.PulsateUse)
        ApplyPulsate(Material->GetTime());
    if (Material->Data.Predefined.PredefinedUse)
        ApplyPredefined();
}

void GLMaterialEngine::ApplyPulsate(float time)
{
    TMaterial& data = Material->Data;
    const TMPulsate& pulsate = data.Pulsate;
    const float f = PulsateFactor(pulsate.PulsateMode, time, pulsate.PulsateSpeed, pulsate.PulsateOffset);
    data.Colour.Diffuse = Mix(data.Colour.Diffuse, pulsate.PulsateColor, f);
    data.Blending.BlendDensity = data.Blending.BlendDensity * f + (1.0f - f) * pulsate.PulsateDensity;
}

void GLMaterialEngine::ApplyPredefined()
{
    TMaterial& data = Material->Data;
    const TMPredefined& predefined = data.Predefined;
    if (IsPredefinedEntry(predefined.PredefinedDensity))
        data.Blending.BlendDensity = PredefinedDensities[static_cast<std::size_t>(predefined.PredefinedDensity)];
    if (IsPredefinedEntry(predefined.PredefinedColor))
        data.Colour.Diffuse = PredefinedColors[static_cast<std::size_t>(predefined.PredefinedColor)];
    for (std::size_t pass = 0; pass < predefined.PredefinedSteps.size() && pass < Passes.size(); ++pass) {
        if (IsPredefinedEntry(predefined.PredefinedSteps[pass]))
            Passes[pass].Style = PredefinedStyles[static_cast<std::size_t>(predefined.PredefinedSteps[pass])];
    }
}

void GLMaterialEngine::ApplyGlobalTint()
{
    if (!TintUse)
        return;
    TMaterial& data = Material->Data;
    const QXColor tint{TintColor.X, TintColor.Y, TintColor.Z};
    data.Colour.Ambient = Multiply(data.Colour.Ambient, tint);
    data.Colour.Diffuse = Multiply(data.Colour.Diffuse, tint);
    data.Blending.BlendDensity *= TintColor.W;
}

void GLMaterialEngine::ApplyColour()
{
    const TMColour& colour = Material->Data.Colour;
    CurrentColor = Multiply(colour.Diffuse, Material->Data.Tint.Tint);
    GL()->SetColor(CurrentColor);
    if (colour.Unlit) {
        GL()->SetColorMaterial(false);
        return;
    }
    GL()->SetColorMaterial(true);
    SetMaterialColour(GL_AMBIENT, colour.Ambient);
    SetMaterialColour(GL_DIFFUSE, colour.Diffuse);
    SetMaterialColour(GL_SPECULAR, colour.Specular);
    glMaterialf(GL_FRONT, GL_SHININESS, colour.Shininess);
    SetMaterialColour(GL_EMISSION, colour.Emissive);
}

void GLMaterialEngine::ApplyDepthAndBlending()
{
    const TMaterial& data = Material->Data;
    GL()->SetDepthTest(data.Depth.DepthTest);
    glDepthMask(data.Depth.WriteToBuffer ? GL_TRUE : GL_FALSE);
    if (data.Blending.BlendMode == 0) {
        GL()->SetBlending(false);
        return;
    }
    GL()->SetBlending(true);
    GL()->SetBlendMode(data.Blending.BlendMode, data.Colour.Diffuse, data.Blending.BlendDensity);
}

void GLMaterialEngine::ApplyCullingAndLighting()
{
    const TMaterial& data = Material->Data;
    GL()->SetCulling(data.Culling.CullFace);
    glFrontFace(data.Culling.DrawOnlyBackFaces ? GL_CW : GL_CCW);
    StaticLighting = data.Lighting.StaticLighting;
    DynamicLighting = data.Lighting.DynamicLighting;
    GL()->SetLighting(StaticLighting || DynamicLighting);
}

void GLMaterialEngine::ApplyFog()
{
    const TMFog& fog = Material->Data.Fog;
    if (fog.FogType == FogNone) {
        GL()->SetFog(false);
        return;
    }
    static constexpr GLint kModes[] = {GL_LINEAR, GL_LINEAR, GL_EXP, GL_EXP2};
    GL()->SetFog(true);
    glFogi(GL_FOG_MODE, kModes[fog.FogType >= FogLinear && fog.FogType <= FogExp2 ? fog.FogType : FogLinear]);
    glFogf(GL_FOG_START, fog.FogNear);
    glFogf(GL_FOG_END, fog.FogFar);
    glFogf(GL_FOG_DENSITY, fog.FogDensity);
    const GLfloat colour[4] = {fog.FogColor.X, fog.FogColor.Y, fog.FogColor.Z, 1.0f};
    glFogfv(GL_FOG_COLOR, colour);
}

void GLMaterialEngine::ApplyGeometry()
{
    const TMGeometry& geometry = Material->Data.Geometry;
    const GLenum mode = geometry.GeometryType == GeometryWireframe    ? GL_LINE
                        : geometry.GeometryType == GeometryPointCloud ? GL_POINT
                                                                      : GL_FILL;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
    GL()->SetAntialiasing(geometry.Smooth);
    GL()->SetFlatShading(geometry.FlatShade);
    // A script value that is not a number reads as -1, which GL refuses.
    if (geometry.PointSize > 0.0f)
        glPointSize(geometry.PointSize);
    if (geometry.LineWidth > 0.0f)
        glLineWidth(geometry.LineWidth);
}

void GLMaterialEngine::ApplyTexturing()
{
    if (Passes.size() == 1 && Passes.front().Texture != nullptr) {
        GL()->SetTexturing(true);
        GL()->TextureEngine->BindOnly(Passes.front().Texture);
    } else {
        GL()->SetTexturing(false);
    }
}
