#pragma once
// The material engine: every draw resets the working material to the engine's defaults, adjusts
// it (unlit, a colour, a blend colour, a texture pass) and applies it, which turns it into GL state
// through the device's switches and the texture engine.
#include <array>
#include <vector>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QRMaterial;
class QRTexture;

// One pass of the draw the working material describes.
struct GLRenderPass {
    QRTexture* Texture = nullptr; // not owned
    int Style = 0;
    QXColor Color{1.0f, 1.0f, 1.0f};
    float Density = 1.0f;
    bool RepeatGeometry = false; // the following pass needs the geometry again
};

class GLMaterialEngine : public QOXObject {
    QOX_CLASS(GLMaterialEngine)
public:
    static constexpr int kPredefinedEntries = 32;

    explicit GLMaterialEngine(QOXObject* owner);

    void Init();
    void ResetMaterial();
    void SetUnlit();
    void SetColor(const QXColor& colour);
    void SetBlendColor(int mode, const QXColor& colour, float density);
    void AddTexturePass(QRTexture* texture);
    void ApplyMaterial();
    void SetTint(bool use, const QXVector4& colour);
    // Whether the working material draws blended (the texture engine's alpha-test rule).
    bool WorkingBlends() const;

    QRMaterial* InitialMaterial = nullptr; // owned; "INITIAL ENGINE MATERIAL", the defaults
    QRMaterial* Material = nullptr;        // owned; "ENGINE MATERIAL", the working material
    std::vector<GLRenderPass> Passes;
    bool PassesDrawn = false;
    std::array<float, kPredefinedEntries> PredefinedDensities{};
    std::array<QXColor, kPredefinedEntries> PredefinedColors{};
    std::array<int, kPredefinedEntries> PredefinedStyles{};
    bool TintUse = false;
    QXVector4 TintColor{1.0f, 1.0f, 1.0f, 1.0f};
    QXColor CurrentColor{1.0f, 1.0f, 1.0f};
    bool Enabled = true;
    bool StaticLighting = false;
    bool DynamicLighting = false;

private:
    void SetInitialMaterial();
    void FillPredefinedTables();
    void ApplyEffects();
    void ApplyPulsate(float time);
    void ApplyPredefined();
    void ApplyGlobalTint();
    void ApplyColour();
    void ApplyDepthAndBlending();
    void ApplyCullingAndLighting();
    void ApplyFog();
    void ApplyGeometry();
    void ApplyTexturing();
};
