#pragma once
// What the GL device needs of the window system: rendering contexts for a surface, made current,
// deleted, sharing display lists and textures, presented, and the entry points of extensions.
// The engine sees contexts only through this interface; EGL (no window) and Qt (a window) serve it.
#include <memory>

namespace platform {

// A rendering context made by a binding; what it holds is the binding's own business.
class GLContext {
public:
    virtual ~GLContext() = default;
};

// Why a context could not be made; the GL device turns each into its own fatal message.
enum class GLFailure { None, NoDevice, NoPixelFormat, PixelFormatNotSet, NoContext };

// The pixel format asked for: double-buffered RGBA with this colour depth and depth buffer.
struct GLPixelRequest {
    int ColourBits = 32;
    int DepthBits = 24;
};

class GLBinding {
public:
    virtual ~GLBinding() = default;

    // The surface that shows the scene; null when there is none to draw on.
    virtual void* DeviceHandle() = 0;
    // A new context for the surface `handle`; with `shareWith` it shares display lists and textures
    // with that context from the start. Null, with the reason in `failure`, when it cannot be made.
    virtual std::unique_ptr<GLContext> CreateContext(void* handle, const GLPixelRequest& request,
                                                     GLContext* shareWith, GLFailure& failure) = 0;
    // Makes `context` current on this thread; null releases whatever is current.
    virtual bool MakeCurrent(GLContext* context) = 0;
    // Whether the two contexts share display lists and textures. Sharing is fixed when a context is
    // made, so this reports it; it cannot join two contexts made apart.
    virtual bool ShareLists(GLContext& first, GLContext& second) = 0;
    virtual void SwapBuffers(GLContext& context) = 0;
    // An extension's entry point in the current context, or null.
    virtual void* GetProcAddress(const char* name) = 0;
    // Switches the display to a full-screen mode; false when the mode is refused.
    virtual bool ChangeDisplay(int width, int height, int bitsPerPixel, int refreshRate) = 0;
};

} // namespace platform
