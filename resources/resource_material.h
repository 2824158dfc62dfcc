#pragma once
// A material: the complete description of how a surface is drawn (colours, blending, depth, culling,
// lighting, fog, geometry, texture slots, rendering steps and time-driven effects), loaded from a
// material script or set up in code. The sections are records of their own, so that the material
// engine can copy a whole section from its defaults.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "resources/resource_main.h"

class QRTexture;

inline constexpr std::uint8_t kNoTexture = 255;
// Texture slots and rendering steps a script may name: a step refers to its slot with one byte,
// and 255 means "no texture".
inline constexpr int kMaxMaterialSlots = 255;

struct TMTextureSlot {
    QRTexture* Texture = nullptr; // owned by the material (a child of it)
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    bool Transform = false;
    bool EnvironmentUse = false;
    int EnvironmentType = 0;   // 1 sphere map, 2 cube map
    int EnvironmentSource = 0; // 0 chrome, 1 reflection
    bool RollUse = false;
    float RollOffsetX = 0.0f;
    float RollOffsetY = 0.0f;
    float RollSpeedX = 1.0f;
    float RollSpeedY = 1.0f;
    bool AnimationUse = false;
    int AnimationType = 0; // 1 pattern, 2 textures
    float AnimationSpeed = 10.0f;
    float PatternSizeX = 0.25f;
    float PatternSizeY = 0.25f;
    float AnimationOffsetX = 0.0f;
    float AnimationOffsetY = 0.0f;
    int AnimationOffset = 0;
    int AnimationCount = 16;
};

struct TMTextures {
    std::vector<TMTextureSlot> Slots;
    int Last = -1;
    std::array<std::uint8_t, 4> Reserved{255, 255, 255, 255};
};

struct TMColour {
    bool ColorUse = true;
    QXColor Ambient{0.0f, 0.0f, 0.0f};
    QXColor Diffuse{1.0f, 1.0f, 1.0f};
    QXColor Specular{0.0f, 0.0f, 0.0f};
    float Shininess = 1.0f;
    QXColor Emissive{0.0f, 0.0f, 0.0f};
    bool Unlit = false;
};

struct TMTint {
    bool TintUse = false;
    QXColor Tint{1.0f, 1.0f, 1.0f};
};

struct TMBlending {
    bool BlendUse = false;
    int BlendMode = 0;
    float BlendDensity = 1.0f;
};

struct TMDepth {
    bool DepthTestUse = false;
    bool DepthTest = true;
    bool WriteToBuffer = true;
};

struct TMCulling {
    bool CullFaceUse = false;
    bool CullFace = true;
    bool DrawOnlyBackFaces = false;
};

struct TMLighting {
    bool LightingUse = false;
    bool StaticLighting = true;
    bool DynamicLighting = true;
};

enum MaterialFog : int { FogNone = 0, FogLinear = 1, FogExp = 2, FogExp2 = 3 };

struct TMFog {
    bool FogUse = false;
    int FogType = FogNone;
    QXColor FogColor{1.0f, 1.0f, 1.0f};
    float FogDensity = 0.05f;
    float FogNear = 10.0f;
    float FogFar = 20.0f;
};

enum MaterialGeometry : int { GeometryFill = 0, GeometryWireframe = 1, GeometryPointCloud = 2 };

struct TMGeometry {
    bool GeometryUse = false;
    int GeometryType = GeometryFill;
    bool FlatShade = false;
    float PointSize = 1.0f;
    float LineWidth = 1.0f;
    bool Smooth = false;
};

enum MaterialStepStyle : int { StepOpaque = 0, StepAdditive = 1, StepMultiply = 5 };

struct TMRenderStep {
    std::uint8_t TextureIndex = kNoTexture;
    int Style = StepOpaque;
    QXColor Color{1.0f, 1.0f, 1.0f};
    float Density = 1.0f;
    bool UseColor = false;
    bool UseDensity = false;
};

struct TMRendering {
    std::vector<TMRenderStep> Steps;
    int Last = -1;
};

enum MaterialPulsate : int { PulsateNone = 0, PulsateSin = 1, PulsateConst = 2, PulsateSinPos = 3, PulsateNeon = 4 };

struct TMPulsate {
    bool PulsateUse = false;
    int PulsateMode = PulsateNone;
    QXColor PulsateColor{0.0f, 0.0f, 0.0f};
    float PulsateDensity = 1.0f;
    float PulsateSpeed = 1.0f;
    float PulsateOffset = 0.0f;
};

struct TMPredefined {
    bool PredefinedUse = false;
    int PredefinedDensity = -1;
    int PredefinedColor = -1;
    std::array<int, 4> PredefinedSteps{-1, -1, -1, -1};
};

struct TMaterial {
    TMTextures Textures;
    TMColour Colour;
    TMTint Tint;
    TMBlending Blending;
    TMDepth Depth;
    TMCulling Culling;
    TMLighting Lighting;
    TMFog Fog;
    TMGeometry Geometry;
    TMRendering Rendering;
    TMPulsate Pulsate;
    TMPredefined Predefined;
    bool EffectsActive = false;
    QXScript Script;
    int TimerSource = 0; // 0 the engine's running time, 1 `Time`
    float Time = 0.0f;
};

inline constexpr ResourceKind kMaterialKind{"RESOURCE MATERIAL", "", "", ResourceKind::Naming::GivenName};

class QRMaterial : public QOXResource {
    QOX_CLASS(QRMaterial)
public:
    explicit QRMaterial(QOXObject* owner, const std::string& fileName = std::string());

    // Reads the script "<program folder>/<name>.txt" and parses it.
    void Load(const std::string& name) override;
    void Parse();
    void SetTimerSource(int source, float time);
    float GetTime() const;

    // Slot `index` reset; the slot array grows to hold it. A texture in the slot is freed.
    TMTextureSlot& ResetSlot(int index);
    // Step `index`; the step array grows to hold it, new steps reset.
    TMRenderStep& ProvideStep(int index);
    bool HasSlot(int index) const { return index >= 0 && index <= Data.Textures.Last; }

    TMaterial Data;

protected:
    void ReleaseData() override;

private:
    void ReleaseTextures();
    void ResetSectionsButColour();
    void ValidateSteps();
};
