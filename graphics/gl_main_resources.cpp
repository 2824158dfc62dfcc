// The GL device's seam to the resource engines (model, lighting, texture, material, display list
// and shader engines): their creation, start and end in the device's order, and the switches of
// theirs that the device's state switches read.
#include "graphics/gl_main.h"
#include "resources/gl_displaylistengine.h"
#include "resources/gl_lightingengine.h"
#include "resources/gl_materialengine.h"
#include "resources/gl_modelengine.h"
#include "resources/gl_shaderengine.h"
#include "resources/gl_textureengine.h"

namespace {

template <class SubEngine>
void Free(SubEngine*& engine)
{
    if (engine != nullptr)
        engine->Destroy();
    engine = nullptr;
}

} // namespace

void QOXGL::CreateResourceEngines()
{
    ModelEngine = QOXNew<GLModelEngine>(this);
    LightingEngine = QOXNew<GLLightingEngine>(this);
    TextureEngine = QOXNew<GLTextureEngine>(this);
    MaterialEngine = QOXNew<GLMaterialEngine>(this);
    DisplayListEngine = QOXNew<GLDisplayListEngine>(this);
    ShaderEngine = QOXNew<GLShaderEngine>(this);
}

void QOXGL::InitResourceEngines()
{
    ModelEngine->Init();
    LightingEngine->Init();
    TextureEngine->Init();
    MaterialEngine->Init();
    DisplayListEngine->Init();
    ShaderEngine->Init();
}

void QOXGL::FreeResourceEngines()
{
    // Each pointer is cleared as its engine goes, so resources that die later see it gone.
    Free(ModelEngine);
    Free(LightingEngine);
    Free(TextureEngine);
    Free(MaterialEngine);
    Free(DisplayListEngine);
    Free(ShaderEngine);
}

void QOXGL::EndFrameResources()
{
    if (LightingEngine != nullptr)
        LightingEngine->ClearFrameLights();
}

bool QOXGL::TexturingSwitch() const
{
    return TextureEngine == nullptr || TextureEngine->TexturingEnabled;
}

void QOXGL::DisableTexturing()
{
    if (TextureEngine != nullptr)
        TextureEngine->DisableAll();
}

bool QOXGL::LightingSwitch() const
{
    return LightingEngine == nullptr || LightingEngine->Enabled;
}

bool QOXGL::ColorMaterialSwitch() const
{
    return MaterialEngine == nullptr || MaterialEngine->Enabled;
}
