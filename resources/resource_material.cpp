#include "resources/resource_material.h"

#include "engine/file_file.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/qox_script.h"
#include "engine/qox_timer.h"
#include "resources/material_parser.h"
#include "resources/resource_texture.h"

namespace {

constexpr int kDefaultSlots = 4;

} // namespace

QRMaterial::QRMaterial(QOXObject* owner, const std::string& fileName) : QOXResource(owner, kMaterialKind)
{
    Engine()->Script->Init(Data.Script);
    Parse();
    if (!fileName.empty())
        QRMaterial::Load(fileName);
    AfterSetup();
}

void QRMaterial::Load(const std::string& name)
{
    BeginLoad(name);
    const std::string path = Engine()->FileSystem->MakePath(name, "txt");
    if (!Engine()->FileSystem->FileExists(path, QOXFileSystem::ReportMissing))
        return;
    QOXFile* file = QOXNew<QOXFile>(Engine()->FileSystem);
    const bool read = file->ReadScript(path, Data.Script);
    file->Destroy();
    Parse();
    // A refused script leaves the material empty, as a missing one does.
    if (read)
        FinishLoad();
}

void QRMaterial::Parse()
{
    ResetSectionsButColour();
    ReleaseTextures();
    for (int i = 0; i < kDefaultSlots; ++i)
        ResetSlot(i);
    QRMaterialParser* parser = QOXNew<QRMaterialParser>(this);
    parser->Parse();
    parser->Destroy();
    ValidateSteps();
}

void QRMaterial::ResetSectionsButColour()
{
    const TMaterial defaults;
    Data.Tint = defaults.Tint;
    Data.Blending = defaults.Blending;
    Data.Depth = defaults.Depth;
    Data.Culling = defaults.Culling;
    Data.Lighting = defaults.Lighting;
    Data.Fog = defaults.Fog;
    Data.Geometry = defaults.Geometry;
    Data.Rendering = defaults.Rendering;
    Data.Pulsate = defaults.Pulsate;
    Data.Predefined = defaults.Predefined;
    Data.EffectsActive = false;
}

void QRMaterial::ReleaseTextures()
{
    for (TMTextureSlot& slot : Data.Textures.Slots) {
        if (slot.Texture != nullptr)
            slot.Texture->Destroy();
        slot.Texture = nullptr;
    }
    Data.Textures.Slots.clear();
    Data.Textures.Last = -1;
}

TMTextureSlot& QRMaterial::ResetSlot(int index)
{
    if (index > Data.Textures.Last) {
        Data.Textures.Slots.resize(static_cast<std::size_t>(index) + 1);
        Data.Textures.Last = index;
    }
    TMTextureSlot& slot = Data.Textures.Slots[static_cast<std::size_t>(index)];
    if (slot.Texture != nullptr)
        slot.Texture->Destroy();
    slot = TMTextureSlot{};
    return slot;
}

TMRenderStep& QRMaterial::ProvideStep(int index)
{
    if (index > Data.Rendering.Last) {
        Data.Rendering.Steps.resize(static_cast<std::size_t>(index) + 1);
        Data.Rendering.Last = index;
    }
    return Data.Rendering.Steps[static_cast<std::size_t>(index)];
}

void QRMaterial::ValidateSteps()
{
    for (TMRenderStep& step : Data.Rendering.Steps) {
        if (step.TextureIndex != kNoTexture && step.TextureIndex > Data.Textures.Last)
            step.TextureIndex = kNoTexture;
    }
}

void QRMaterial::SetTimerSource(int source, float time)
{
    Data.TimerSource = source;
    Data.Time = time;
}

float QRMaterial::GetTime() const
{
    switch (Data.TimerSource) {
    case 0:
        return Engine()->Timer->GetRunningTime();
    case 1:
        return Data.Time;
    default:
        Engine()->Error("QR_MATERIAL", "Undefined material timer source!");
        return -1.0f;
    }
}

void QRMaterial::ReleaseData()
{
    ReleaseTextures();
    Data.Rendering = TMRendering{};
    Engine()->Script->Clear(Data.Script);
}
