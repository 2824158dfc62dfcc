#include "platform/egl_gl_binding.h"

#include <EGL/eglext.h>

#include <cstring>

namespace platform {

namespace {

class EglContext : public GLContext {
public:
    EglContext(EGLDisplay display, EGLSurface surface, EGLContext context, const EglContext* shareWith)
        : Display(display), Surface(surface), Context(context), Group(shareWith != nullptr ? shareWith->Group : this)
    {
    }
    ~EglContext() override
    {
        eglDestroyContext(Display, Context);
        eglDestroySurface(Display, Surface);
    }

    EGLDisplay Display = EGL_NO_DISPLAY; // not owned; the binding's
    EGLSurface Surface = EGL_NO_SURFACE; // owned
    EGLContext Context = EGL_NO_CONTEXT; // owned
    const void* Group = nullptr;         // the first context of the share group; identity only
};

EGLDisplay OpenDisplay()
{
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    EGLDisplay display = EGL_NO_DISPLAY;
    if (clientExtensions != nullptr && std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless") != nullptr) {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay != nullptr)
            display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    if (display == EGL_NO_DISPLAY)
        display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) != EGL_TRUE)
        return EGL_NO_DISPLAY;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        eglTerminate(display);
        return EGL_NO_DISPLAY;
    }
    return display;
}

} // namespace

EglGLBinding::EglGLBinding(int width, int height) : Display(OpenDisplay()), Width(width), Height(height) {}

EglGLBinding::~EglGLBinding()
{
    if (Display == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglTerminate(Display);
    eglReleaseThread();
}

void* EglGLBinding::DeviceHandle()
{
    return Display == EGL_NO_DISPLAY ? nullptr : Display;
}

EGLConfig EglGLBinding::ChooseConfig(const GLPixelRequest& request, GLFailure& failure) const
{
    const int channelBits = request.ColourBits >= 24 ? 8 : 5;
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_RED_SIZE, channelBits, EGL_GREEN_SIZE, channelBits, EGL_BLUE_SIZE, channelBits,
                                 EGL_DEPTH_SIZE, request.DepthBits, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(Display, attributes, &config, 1, &count) != EGL_TRUE || count < 1) {
        failure = GLFailure::NoPixelFormat;
        return nullptr;
    }
    return config;
}

std::unique_ptr<GLContext> EglGLBinding::CreateContext(void* handle, const GLPixelRequest& request,
                                                       GLContext* shareWith, GLFailure& failure)
{
    failure = GLFailure::None;
    if (handle == nullptr || handle != Display) {
        failure = GLFailure::NoDevice;
        return nullptr;
    }
    EGLConfig config = ChooseConfig(request, failure);
    if (config == nullptr)
        return nullptr;
    const EGLint surfaceAttributes[] = {EGL_WIDTH, Width, EGL_HEIGHT, Height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(Display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) {
        failure = GLFailure::PixelFormatNotSet;
        return nullptr;
    }
    auto* share = static_cast<EglContext*>(shareWith);
    EGLContext context = eglCreateContext(Display, config, share != nullptr ? share->Context : EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        eglDestroySurface(Display, surface);
        failure = GLFailure::NoContext;
        return nullptr;
    }
    return std::make_unique<EglContext>(Display, surface, context, share);
}

bool EglGLBinding::MakeCurrent(GLContext* context)
{
    if (Display == EGL_NO_DISPLAY)
        return false;
    auto* egl = static_cast<EglContext*>(context);
    if (egl == nullptr)
        return eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
    return eglMakeCurrent(Display, egl->Surface, egl->Surface, egl->Context) == EGL_TRUE;
}

bool EglGLBinding::ShareLists(GLContext& first, GLContext& second)
{
    return static_cast<EglContext&>(first).Group == static_cast<EglContext&>(second).Group;
}

void EglGLBinding::SwapBuffers(GLContext& context)
{
    auto& egl = static_cast<EglContext&>(context);
    eglSwapBuffers(Display, egl.Surface);
}

void* EglGLBinding::GetProcAddress(const char* name)
{
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

bool EglGLBinding::ChangeDisplay(int, int, int, int)
{
    return false;
}

} // namespace platform
