#include "platform/qt_gl_binding.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace platform {

namespace {

QSurfaceFormat RequestedFormat(int colourBits, int depthBits)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    const int channelBits = colourBits >= 24 ? 8 : 5;
    format.setRedBufferSize(channelBits);
    format.setGreenBufferSize(channelBits);
    format.setBlueBufferSize(channelBits);
    format.setAlphaBufferSize(0); // the picture never reads a destination alpha
    format.setDepthBufferSize(depthBits);
    format.setStencilBufferSize(0);
    return format;
}

class QtContext : public GLContext {
public:
    QOpenGLContext Context;
};

} // namespace

QtGLView::QtGLView(int colourBits) : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate)
{
    setFormat(RequestedFormat(colourBits, 24));
}

// An uncovered part of the window comes as a paint event (or an update request) once the window is
// on screen: it is the owner's to draw, through OnExposed, never Qt's.
bool QtGLView::event(QEvent* event)
{
    if (event->type() != QEvent::Paint && event->type() != QEvent::UpdateRequest)
        return QOpenGLWindow::event(event);
    if (isExposed() && OnExposed)
        OnExposed();
    return true;
}

void QtGLView::exposeEvent(QExposeEvent*)
{
    if (isExposed() && OnExposed)
        OnExposed();
}

void QtGLView::resizeEvent(QResizeEvent*) {}

void QtGLView::paintEvent(QPaintEvent*) {}

void* QtGLBinding::DeviceHandle()
{
    if (View == nullptr)
        return nullptr;
    View->create();
    return View->handle() != nullptr ? View : nullptr;
}

std::unique_ptr<GLContext> QtGLBinding::CreateContext(void* handle, const GLPixelRequest& request,
                                                      GLContext* shareWith, GLFailure& failure)
{
    failure = GLFailure::None;
    if (handle == nullptr || handle != View) {
        failure = GLFailure::NoDevice;
        return nullptr;
    }
    auto context = std::make_unique<QtContext>();
    context->Context.setFormat(RequestedFormat(request.ColourBits, request.DepthBits));
    if (shareWith != nullptr)
        context->Context.setShareContext(&static_cast<QtContext*>(shareWith)->Context);
    if (!context->Context.create()) {
        failure = GLFailure::NoContext;
        return nullptr;
    }
    return context;
}

bool QtGLBinding::MakeCurrent(GLContext* context)
{
    if (context == nullptr) {
        if (QOpenGLContext* current = QOpenGLContext::currentContext())
            current->doneCurrent();
        return true;
    }
    return static_cast<QtContext*>(context)->Context.makeCurrent(View);
}

bool QtGLBinding::ShareLists(GLContext& first, GLContext& second)
{
    return QOpenGLContext::areSharing(&static_cast<QtContext&>(first).Context,
                                      &static_cast<QtContext&>(second).Context);
}

void QtGLBinding::SwapBuffers(GLContext& context)
{
    static_cast<QtContext&>(context).Context.swapBuffers(View);
}

void* QtGLBinding::GetProcAddress(const char* name)
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current != nullptr ? reinterpret_cast<void*>(current->getProcAddress(name)) : nullptr;
}

bool QtGLBinding::ChangeDisplay(int, int, int, int)
{
    return false;
}

} // namespace platform
