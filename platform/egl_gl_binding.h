#pragma once
// OpenGL without a window: EGL on Mesa's surfaceless platform with an off-screen pbuffer of a
// fixed size as the surface. Contexts are desktop OpenGL (EGL_OPENGL_API) without a profile
// request, so the legacy (compatibility) API is there. Tests and headless tools draw here.
#include <EGL/egl.h>

#include "platform/gl_binding.h"

namespace platform {

class EglGLBinding : public GLBinding {
public:
    EglGLBinding(int width, int height);
    ~EglGLBinding() override;
    EglGLBinding(const EglGLBinding&) = delete;
    EglGLBinding& operator=(const EglGLBinding&) = delete;

    // Whether an EGL display could be opened at all.
    bool IsAvailable() const { return Display != EGL_NO_DISPLAY; }

    void* DeviceHandle() override;
    std::unique_ptr<GLContext> CreateContext(void* handle, const GLPixelRequest& request, GLContext* shareWith,
                                             GLFailure& failure) override;
    bool MakeCurrent(GLContext* context) override;
    bool ShareLists(GLContext& first, GLContext& second) override;
    void SwapBuffers(GLContext& context) override;
    void* GetProcAddress(const char* name) override;
    // There is no display to change.
    bool ChangeDisplay(int width, int height, int bitsPerPixel, int refreshRate) override;

private:
    EGLConfig ChooseConfig(const GLPixelRequest& request, GLFailure& failure) const;

    EGLDisplay Display = EGL_NO_DISPLAY; // owned; terminated with the binding
    int Width = 0;
    int Height = 0;
};

} // namespace platform
