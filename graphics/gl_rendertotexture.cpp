#include "graphics/gl_rendertotexture.h"

#include <GL/gl.h>

#include <cstring>

#include "engine/qox_main.h"
#include "graphics/gl_main.h"

GLRenderToTexture::GLRenderToTexture(QOXObject* owner) : QOXObject(owner, "QOX GL Render To Texture") {}

void GLRenderToTexture::Begin()
{
    if (Texture.has_value())
        BeginSized(Texture->Width, Texture->Height);
    else
        BeginSized(0, 0);
}

void GLRenderToTexture::BeginSized(int width, int height)
{
    QOXGL* device = GL();
    SavedX = device->X;
    SavedY = device->Y;
    SavedWidth = device->Width;
    SavedHeight = device->Height;
    Width = width;
    Height = height;
    device->SetViewport(0, 0, width, height);
}

void GLRenderToTexture::CopyToTexture()
{
    if (!Texture.has_value()) {
        Engine()->Error("QOX_GL", "No texture defined for render-to-texture operation!");
        return;
    }
    // The texture engine caches what each unit has bound; the unit gets its texture back after the
    // copy so that the cache stays true.
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, Texture->GLName);
    if (CopyPath == GLCopyPath::Unchosen)
        CopyPath = PathForRenderer();
    if (CopyPath == GLCopyPath::ThroughMemory)
        CopyThroughMemory();
    else
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, Width, Height);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

GLCopyPath GLRenderToTexture::PathForRenderer()
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const bool processor = renderer != nullptr && (std::strstr(renderer, "llvmpipe") != nullptr ||
                                                   std::strstr(renderer, "softpipe") != nullptr);
    return processor ? GLCopyPath::ThroughMemory : GLCopyPath::OnCard;
}

// Four bytes a pixel keep every row aligned, whatever the pack and unpack alignment.
void GLRenderToTexture::CopyThroughMemory()
{
    if (Width <= 0 || Height <= 0)
        return;
    Staging.resize(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 4);
    glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, Staging.data());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, Staging.data());
}

void GLRenderToTexture::End()
{
    GL()->SetViewport(SavedX, SavedY, SavedWidth, SavedHeight);
}
