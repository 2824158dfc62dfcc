#pragma once
// OpenGL in a window: a QOpenGLWindow (placed in a widget container by the main window) asking for
// a compatibility-profile, double-buffered RGBA format with a 24-bit depth buffer. The frame is
// drawn by the engine's timer, not by Qt's paint cycle, so the contexts are the binding's own
// QOpenGLContext objects made current on the window; the window only reports that it needs a frame.
// Qt's own paint cycle never presents anything: it would swap in whatever the back buffer holds
// (the cleared background), which is how an uncovered view used to turn white.
#include <QOpenGLWindow>

#include <functional>

#include "platform/gl_binding.h"

namespace platform {

class QtGLView : public QOpenGLWindow {
public:
    explicit QtGLView(int colourBits = 32);

    // Called when the window was exposed and its picture should be drawn again.
    std::function<void()> OnExposed;

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

class QtGLBinding : public GLBinding {
public:
    // `view` is not owned; it must outlive every context made here.
    explicit QtGLBinding(QtGLView* view) : View(view) {}

    void* DeviceHandle() override;
    std::unique_ptr<GLContext> CreateContext(void* handle, const GLPixelRequest& request, GLContext* shareWith,
                                             GLFailure& failure) override;
    bool MakeCurrent(GLContext* context) override;
    bool ShareLists(GLContext& first, GLContext& second) override;
    void SwapBuffers(GLContext& context) override;
    void* GetProcAddress(const char* name) override;
    // Qt offers no display-mode switch; the program runs in a window.
    bool ChangeDisplay(int width, int height, int bitsPerPixel, int refreshRate) override;

private:
    QtGLView* View = nullptr; // not owned; the main window's view
};

} // namespace platform
