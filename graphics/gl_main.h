#pragma once
// The OpenGL device: binds rendering contexts to the view through the platform's GL binding, sets
// the global GL state once, offers the state switches, blend modes and transform helpers that
// materials and drawing code use, drives one frame and owns the graphics sub-engines.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "platform/gl_binding.h"

class GLCamera;
class GLModelEngine;
class GLLightingEngine;
class GLTextureEngine;
class GLMaterialEngine;
class GLDisplayListEngine;
class GLShaderEngine;
class GL_2DSystem;
class GL_3DSystem;
class GLSceneEngine;

// The display settings a context slot remembers and the device works with.
struct GLDisplaySettings {
    int X = 0;
    int Y = 0;
    int Width = 640;
    int Height = 480;
    int BitsPerPixel = 32;
    int RefreshRate = 60;
    bool Fullscreen = false;
};

struct GLContextSlot {
    bool InUse = false;
    std::unique_ptr<platform::GLContext> RenderingContext; // owned; deleted with the slot
    void* DeviceContext = nullptr;                         // not owned; the binding's surface
    std::string Name;
    GLDisplaySettings Display;
};

enum class GLBlendMode { Opaque = 0, Additive = 1, Average = 2, Negative = 3, Saturate = 4, Multiply = 5, Modulate = 6 };

// What a blend mode sets: the blend function's two factors and the current colour.
struct GLBlend {
    unsigned Source = 0;
    unsigned Destination = 0;
    std::array<double, 4> Colour{};
};

class QOXGL : public QOXObject {
    QOX_CLASS(QOXGL)
public:
    static constexpr int kContextSlots = 8;

    explicit QOXGL(QOXObject* owner);

    // Start and stop. `window` is the binding of the view that shows the scene; not owned, it must
    // outlive the device.
    void Init(platform::GLBinding* window, const std::string& name, int x, int y, int width, int height,
              int bitsPerPixel, int refreshRate, bool fullscreen);
    void InitModule(platform::GLBinding* window, int x, int y, int width, int height, int bitsPerPixel,
                    int refreshRate, bool fullscreen);
    void InitSubSystems();
    virtual void AfterInit() {}

    // Rendering contexts.
    int CreateContext(void* windowHandle, const std::string& name);
    void SelectContext(int index);
    void DeleteContext(int index);
    void DeleteAllContexts();
    bool ShareLists(int first, int second);
    // An extension's entry point in the current context, or null.
    void* GetProcAddress(const char* name) const;

    // Viewport and display mode.
    void SetViewport(int x, int y, int width, int height);
    void ChangeDisplay(int width, int height, int bitsPerPixel, int refreshRate, bool fullscreen);
    void ApplyDisplay();

    // State switches.
    void SetDepthTest(bool on);
    void SetBlending(bool on);
    void SetFog(bool on);
    void SetTexturing(bool on);
    void SetCulling(bool on);
    void SetLighting(bool on);
    void SetColorMaterial(bool on);
    void SetFlatShading(bool on);
    void SetAntialiasing(bool on);
    void SetAlphaTest(bool on);
    void SetBlendMode(int mode, const QXColor& colour, float alpha);
    // The blend of a mode (0 to 6) for the colour and alpha; none for any other mode.
    static std::optional<GLBlend> BlendOf(int mode, const QXColor& colour, float alpha);
    void SetBlendFunc(unsigned source, unsigned destination, double red, double green, double blue, double alpha);

    // Transform and colour helpers.
    void SetColor(const QXColor& colour);
    void Translate(const QXVector& vector);
    void Rotate(const QXVector& angles);
    void TranslateRotate(const QXVector& position, const QXVector& angles);
    void Scale(float factor);
    void ScaleVector(const QXVector& vector);
    void SetClearColor(const QXColor& colour);

    // The frame.
    void ResetView();
    void ClearBuffers();
    // Hands what is drawn so far to the renderer without waiting for it, so that it can rasterise
    // while the frame goes on.
    void StartRasterising();
    void Present();
    bool CheckError();
    void RenderFrame();

    int X = 0;
    int Y = 0;
    int Width = 640;
    int Height = 480;
    int BitsPerPixel = 32;
    int RefreshRate = 60;
    bool Fullscreen = false;
    platform::GLBinding* Window = nullptr; // not owned; the view's GL binding
    bool AllowBlending = true;
    bool AllowFog = true;
    bool AllowSmoothShading = true;
    bool AllowAntialiasing = true;
    bool AllowAlphaTest = true;
    std::array<GLContextSlot, kContextSlots> Contexts;
    int LastContext = -1;
    int CurrentContext = 0;

    // Sub-engines, owned as children; created in this order and freed in the same order.
    GLCamera* Camera = nullptr;
    GLModelEngine* ModelEngine = nullptr;             // owned; created with the resource engines (gl_main_resources.cpp)
    GLLightingEngine* LightingEngine = nullptr;       // owned; created with the resource engines (gl_main_resources.cpp)
    GLTextureEngine* TextureEngine = nullptr;         // owned; created with the resource engines (gl_main_resources.cpp)
    GLMaterialEngine* MaterialEngine = nullptr;       // owned; created with the resource engines (gl_main_resources.cpp)
    GLDisplayListEngine* DisplayListEngine = nullptr; // owned; created with the resource engines (gl_main_resources.cpp)
    GLShaderEngine* ShaderEngine = nullptr;           // owned; created with the resource engines (gl_main_resources.cpp)
    GL_2DSystem* System2D = nullptr;
    GL_3DSystem* System3D = nullptr;
    GLSceneEngine* SceneEngine = nullptr;

    platform::GLContext* RenderingContext = nullptr; // not owned; the selected slot's
    void* DeviceContext = nullptr;                   // not owned; the selected slot's surface

protected:
    ~QOXGL() override;
    void BeforeDestroy() override;
    void ChildRemoved(QOXObject* child) override;

private:
    void SetStartState();
    GLDisplaySettings CurrentDisplay() const;
    void StoreDisplay(int width, int height, int bitsPerPixel, int refreshRate, bool fullscreen);
    [[noreturn]] void Fatal(const std::string& text);
    void ReportError(const std::string& text);
    void SetFeature(unsigned capability, bool on);

    // The seam to the resource engines (gl_main_resources.cpp): their creation, start and the
    // switches of theirs that the state switches read.
    void CreateResourceEngines();
    void InitResourceEngines();
    void FreeResourceEngines();
    void EndFrameResources();
    bool TexturingSwitch() const;
    void DisableTexturing();
    bool LightingSwitch() const;
    bool ColorMaterialSwitch() const;
};

// The one GL device; set by its constructor, cleared when it dies.
QOXGL* GL();
