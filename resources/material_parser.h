#pragma once
// Turns the script lines of a material into its settings. Made for one material, run once, freed.
// Top-level lines set whole looks ("SET_BLENDING", "SET_OUTLINE", ...) or import textures; blocks
// ("COLOR {" ... "}") set one section each and may hold nested blocks, at most 256 deep: a deeper
// block is refused with a console line, and the rest of the script is ignored.
#include <functional>
#include <string>

#include "engine/qox_object.h"
#include "resources/resource_material.h"

class QOXParser;

class QRMaterialParser : public QOXObject {
    QOX_CLASS(QRMaterialParser)
public:
    // `material` is the owner and the material parsed.
    static constexpr int kMaxBlockDepth = 256;

    explicit QRMaterialParser(QRMaterial* material);

    void Parse();

private:
    using KeyHandler = std::function<void()>;

    bool NextLine();
    // Hands every line of the block to `handleKey` until its closing "}" or the last line.
    void ReadBlock(const KeyHandler& handleKey);
    // A nested block: read it, then blank its "}" so that the enclosing block goes on.
    void ReadNestedBlock(const KeyHandler& handleKey);
    void SkipBlock();
    // Counts one more open block; false, after the console line, when that is one too many.
    bool EnterBlock();

    void TopLevelLine();
    void ImportTexture();
    void SetBlending();
    void SetOutline();
    void SetRendering();
    bool TopLevelBlock();

    void ColourKey();
    void BlendingKey();
    void DepthKey();
    void CullingKey();
    void LightingKey();
    void FogKey();
    void GeometryKey();
    void PulsateKey();
    void PredefinedKey();
    void TextureSlotBlock(int index);
    void TextureSlotKey(TMTextureSlot& slot);
    void EnvironmentKey(TMTextureSlot& slot);
    void RollKey(TMTextureSlot& slot);
    void AnimationKey(TMTextureSlot& slot);
    void RenderingKey();
    void StepKey(TMRenderStep& step);

    bool Key(const char* name) const;
    void SetKeyword(int& field, int value) const;

    QRMaterial* Material = nullptr; // not owned; the owner
    QOXParser* Tokens = nullptr;    // not owned; the engine's parser
    int Line = -1;
    int Depth = 0; // blocks open at Line
};
