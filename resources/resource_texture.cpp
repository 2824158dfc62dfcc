#include "resources/resource_texture.h"

#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"

QRTexture::QRTexture(const std::string& name, QOXObject* owner) : QOXResource(owner, kTextureKind)
{
    if (!name.empty())
        QRTexture::Load(name);
    AfterSetup();
}

void QRTexture::Load(const std::string& name)
{
    // Without a GL device (tools, tests of other layers) there is nothing to load into.
    if (GL() == nullptr || GL()->TextureEngine == nullptr) {
        Unload();
        FileName = name;
        return;
    }
    BeginLoad(name);
    GL()->TextureEngine->CreateFromFile(Engine()->FileSystem->MakePath(name, "bmp"), this);
    BoundName = GLName;
    // A missing or unreadable picture has been reported; the texture stays empty.
    if (GLName != 0)
        FinishLoad();
}

void QRTexture::LoadCopyOf(const QRTexture& source)
{
    if (GL() == nullptr || GL()->TextureEngine == nullptr || source.GLName == 0) {
        Load(source.FileName);
        return;
    }
    BeginLoad(source.FileName);
    GL()->TextureEngine->CreateCopy(source, this);
    BoundName = GLName;
    if (GLName != 0)
        FinishLoad();
}

void QRTexture::CreateEmpty(int width, int height, const QXColor& colour)
{
    Unload();
    Engine()->Console->AddLine("Creating Empty Texture with Dimensions " + std::to_string(width) + "*" +
                               std::to_string(height));
    QRImage* image = QOXNew<QRImage>(this);
    image->CreateFilled(width, height, colour);
    if (image->IsLoaded())
        GL()->TextureEngine->CreateFromImage(image, this);
    image->Destroy();
    BoundName = GLName;
    if (GLName != 0)
        FinishLoad();
}

void QRTexture::SetWrap(bool clampS, bool clampT)
{
    ClampS = clampS;
    ClampT = clampT;
    GL()->TextureEngine->ApplyWrap(this, clampS, clampT);
}

void QRTexture::SetMapping(int mapping, int useShared)
{
    Mapping = mapping;
    UseShared = useShared;
    BoundName = GLName;
    if (useShared != 1)
        return;
    const GLTextureEngine* engine = GL()->TextureEngine;
    const QRTexture* shared = mapping == MappingSphere   ? engine->SharedTexture1
                              : mapping == MappingShared2 ? engine->SharedTexture2
                                                          : nullptr;
    if (shared != nullptr)
        BoundName = shared->GLName;
}

void QRTexture::ReleaseData()
{
    // A texture that outlives the GL device has lost its GL object with the context.
    GLTextureEngine* engine = GL() != nullptr ? GL()->TextureEngine : nullptr;
    if (engine != nullptr) {
        engine->Forget(this);
        engine->DeleteName(GLName);
    }
    GLName = BoundName = 0;
}
