#include "graphics/gl_main.h"

#include <GL/gl.h>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_3D.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_scene_main.h"

namespace {
QOXGL* TheDevice = nullptr;

const char* FailureText(platform::GLFailure failure)
{
    switch (failure) {
    case platform::GLFailure::NoDevice:
        return "Can't create device context.";
    case platform::GLFailure::NoPixelFormat:
        return "Can't find a suitable PixelFormat.";
    case platform::GLFailure::PixelFormatNotSet:
        return "Can't set PixelFormat.";
    case platform::GLFailure::NoContext:
    case platform::GLFailure::None:
        break;
    }
    return "Can't create a GL rendering context.";
}
} // namespace

QOXGL* GL()
{
    return TheDevice;
}

QOXGL::QOXGL(QOXObject* owner) : QOXObject(owner, "QOX GL Main")
{
    TheDevice = this;
    Camera = QOXNew<GLCamera>(this);
    CreateResourceEngines();
    System2D = QOXNew<GL_2DSystem>(this);
    System3D = QOXNew<GL_3DSystem>(this);
    SceneEngine = QOXNew<GLSceneEngine>(this);
}

QOXGL::~QOXGL()
{
    if (TheDevice == this)
        TheDevice = nullptr;
}

void QOXGL::BeforeDestroy()
{
    QOXConsole* console = Engine()->Console;
    console->AddSeparator();
    console->AddLine("QOX GL: Shut down...");
    DeleteAllContexts();
    if (Camera != nullptr)
        Camera->Destroy();
    FreeResourceEngines();
    for (QOXObject* engine : {static_cast<QOXObject*>(System2D), static_cast<QOXObject*>(System3D),
                              static_cast<QOXObject*>(SceneEngine)})
        if (engine != nullptr)
            engine->Destroy();
    console->AddSeparator();
    console->AddBlank();
}

void QOXGL::ChildRemoved(QOXObject* child)
{
    if (child == Camera)
        Camera = nullptr;
    else if (child == System2D)
        System2D = nullptr;
    else if (child == System3D)
        System3D = nullptr;
    else if (child == SceneEngine)
        SceneEngine = nullptr;
}

void QOXGL::Init(platform::GLBinding* window, const std::string& name, int x, int y, int width, int height,
                 int bitsPerPixel, int refreshRate, bool fullscreen)
{
    InitModule(window, x, y, width, height, bitsPerPixel, refreshRate, fullscreen);
    Contexts[0].Name = CutText(name, kStringName);
}

void QOXGL::InitModule(platform::GLBinding* window, int x, int y, int width, int height, int bitsPerPixel,
                       int refreshRate, bool fullscreen)
{
    QOXConsole* console = Engine()->Console;
    console->AddSeparator();
    console->AddLine("Initializing Module: QOX GL");
    console->AddBlank();
    console->AddLine("QOX GL: Initializing...");
    X = x;
    Y = y;
    StoreDisplay(width, height, bitsPerPixel, refreshRate, fullscreen);
    Window = window;
    void* handle = Window != nullptr ? Window->DeviceHandle() : nullptr;
    if (handle == nullptr)
        ReportError("Could not find device handle!");
    CreateContext(handle, "PRIMARY");
    SelectContext(0);
    ApplyDisplay();
    SetStartState();
    InitSubSystems();
}

void QOXGL::SetStartState()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glLoadIdentity();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat ambient[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    SetViewport(X, Y, Width, Height);
}

void QOXGL::InitSubSystems()
{
    QOXConsole* console = Engine()->Console;
    console->AddBlank();
    console->AddLine("QOX GL: Initializing sub systems...");
    Camera->Init();
    InitResourceEngines();
    System2D->Init();
    System3D->Init();
    SceneEngine->Init();
    console->AddSeparator();
    console->AddBlank();
    AfterInit();
}

int QOXGL::CreateContext(void* windowHandle, const std::string& name)
{
    if (LastContext + 1 >= kContextSlots) {
        ReportError("No free Rendering Context!");
        return -1;
    }
    const int index = ++LastContext;
    GLContextSlot& slot = Contexts[static_cast<std::size_t>(index)];
    slot.InUse = true;
    slot.Name = CutText(name, kStringName);
    if (Window == nullptr)
        Fatal(FailureText(platform::GLFailure::NoDevice));
    platform::GLFailure failure = platform::GLFailure::None;
    GLContextSlot& primary = Contexts[0];
    platform::GLContext* shareWith = index > 0 ? primary.RenderingContext.get() : nullptr;
    slot.RenderingContext = Window->CreateContext(windowHandle, {BitsPerPixel, 24}, shareWith, failure);
    if (failure == platform::GLFailure::NoDevice || failure == platform::GLFailure::NoPixelFormat ||
        failure == platform::GLFailure::PixelFormatNotSet)
        Fatal(FailureText(failure));
    Engine()->Console->AddLine("QOX GL: Device Context created!");
    if (slot.RenderingContext == nullptr)
        Fatal(FailureText(failure));
    if (!Window->MakeCurrent(slot.RenderingContext.get()))
        Fatal("Can't activate the GL rendering context.");
    Engine()->Console->AddLine("QOX GL: Rendering Context created!");
    slot.DeviceContext = windowHandle;
    slot.Display = CurrentDisplay();
    if (index > 0)
        ShareLists(0, index);
    return index;
}

void QOXGL::SelectContext(int index)
{
    const bool valid = index >= 0 && index < kContextSlots;
    if (!valid || !Contexts[static_cast<std::size_t>(index)].InUse)
        ReportError("Selected Rendering Context does not exist!");
    if (!valid)
        return;
    GLContextSlot& slot = Contexts[static_cast<std::size_t>(index)];
    CurrentContext = index;
    RenderingContext = slot.RenderingContext.get();
    DeviceContext = slot.DeviceContext;
    if (Window != nullptr)
        Window->MakeCurrent(RenderingContext);
    X = slot.Display.X;
    Y = slot.Display.Y;
    StoreDisplay(slot.Display.Width, slot.Display.Height, slot.Display.BitsPerPixel, slot.Display.RefreshRate,
                 slot.Display.Fullscreen);
    if (RenderingContext != nullptr)
        SetViewport(X, Y, Width, Height);
}

void QOXGL::DeleteContext(int index)
{
    if (index < 0 || index >= kContextSlots)
        return;
    GLContextSlot& slot = Contexts[static_cast<std::size_t>(index)];
    // Only the selected context is released: deleting another slot leaves the device drawing.
    if (index == CurrentContext) {
        if (Window != nullptr)
            Window->MakeCurrent(nullptr);
        RenderingContext = nullptr;
        DeviceContext = nullptr;
    }
    slot.RenderingContext.reset();
    slot.InUse = false;
}

void QOXGL::DeleteAllContexts()
{
    for (int index = 0; index < kContextSlots; ++index)
        if (Contexts[static_cast<std::size_t>(index)].InUse)
            DeleteContext(index);
}

bool QOXGL::ShareLists(int first, int second)
{
    auto& a = Contexts[static_cast<std::size_t>(first)].RenderingContext;
    auto& b = Contexts[static_cast<std::size_t>(second)].RenderingContext;
    return Window != nullptr && a != nullptr && b != nullptr && Window->ShareLists(*a, *b);
}

void* QOXGL::GetProcAddress(const char* name) const
{
    return Window != nullptr ? Window->GetProcAddress(name) : nullptr;
}

void QOXGL::SetViewport(int x, int y, int width, int height)
{
    X = x;
    Y = y;
    Width = width;
    Height = height;
    glViewport(x, y, width, height);
    if (Camera != nullptr)
        Camera->UpdateProjection();
    if (System2D != nullptr)
        System2D->ViewportChanged();
}

void QOXGL::StoreDisplay(int width, int height, int bitsPerPixel, int refreshRate, bool fullscreen)
{
    Width = width;
    Height = height;
    BitsPerPixel = bitsPerPixel;
    RefreshRate = refreshRate;
    Fullscreen = fullscreen;
}

GLDisplaySettings QOXGL::CurrentDisplay() const
{
    return {X, Y, Width, Height, BitsPerPixel, RefreshRate, Fullscreen};
}

void QOXGL::ChangeDisplay(int width, int height, int bitsPerPixel, int refreshRate, bool fullscreen)
{
    StoreDisplay(width, height, bitsPerPixel, refreshRate, fullscreen);
    if (!Fullscreen)
        return;
    if (Window == nullptr || !Window->ChangeDisplay(width, height, bitsPerPixel, refreshRate)) {
        if (refreshRate != 60) {
            ChangeDisplay(width, height, bitsPerPixel, 60, fullscreen);
            return;
        }
        ReportError("Could not set display settings!");
    }
    if (CurrentContext >= 0 && CurrentContext < kContextSlots)
        Contexts[static_cast<std::size_t>(CurrentContext)].Display = CurrentDisplay();
    SetViewport(X, Y, Width, Height);
}

void QOXGL::ApplyDisplay()
{
    ChangeDisplay(Width, Height, BitsPerPixel, RefreshRate, Fullscreen);
}

void QOXGL::Fatal(const std::string& text)
{
    Engine()->ErrorShutdown(1, text);
}

void QOXGL::ReportError(const std::string& text)
{
    Engine()->Error("QOX_GL", text);
}

void QOXGL::SetFeature(unsigned capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

void QOXGL::SetDepthTest(bool on)
{
    SetFeature(GL_DEPTH_TEST, on);
}

void QOXGL::SetBlending(bool on)
{
    SetFeature(GL_BLEND, on && AllowBlending);
}

void QOXGL::SetFog(bool on)
{
    SetFeature(GL_FOG, on && AllowFog);
}

void QOXGL::SetTexturing(bool on)
{
    if (on && TexturingSwitch())
        glEnable(GL_TEXTURE_2D);
    else
        DisableTexturing();
}

void QOXGL::SetCulling(bool on)
{
    SetFeature(GL_CULL_FACE, on);
}

void QOXGL::SetLighting(bool on)
{
    SetFeature(GL_LIGHTING, on && LightingSwitch());
}

void QOXGL::SetColorMaterial(bool on)
{
    SetFeature(GL_COLOR_MATERIAL, on && ColorMaterialSwitch());
}

void QOXGL::SetFlatShading(bool on)
{
    glShadeModel(!on && AllowSmoothShading ? GL_SMOOTH : GL_FLAT);
}

void QOXGL::SetAntialiasing(bool on)
{
    SetFeature(GL_POINT_SMOOTH, on && AllowAntialiasing);
    SetFeature(GL_LINE_SMOOTH, on && AllowAntialiasing);
}

void QOXGL::SetAlphaTest(bool on)
{
    SetFeature(GL_ALPHA_TEST, on && AllowAlphaTest);
}

std::optional<GLBlend> QOXGL::BlendOf(int mode, const QXColor& colour, float alpha)
{
    const double r = colour.X;
    const double g = colour.Y;
    const double b = colour.Z;
    const double a = alpha;
    switch (static_cast<GLBlendMode>(mode)) {
    case GLBlendMode::Opaque:
    case GLBlendMode::Average:
        return GLBlend{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, {r, g, b, a}};
    case GLBlendMode::Additive:
        return GLBlend{GL_SRC_ALPHA, GL_ONE, {r, g, b, a}};
    case GLBlendMode::Negative:
        return GLBlend{GL_ZERO, GL_ONE_MINUS_SRC_COLOR, {(1.0 - r) * a, (1.0 - g) * a, (1.0 - b) * a, a}};
    case GLBlendMode::Saturate:
        return GLBlend{GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA, {r, g, b, a}};
    case GLBlendMode::Multiply:
        return GLBlend{GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, {r, g, b, a}};
    case GLBlendMode::Modulate:
        return GLBlend{GL_ZERO, GL_SRC_COLOR, {r * a, g * a, b * a, a}};
    }
    return std::nullopt;
}

void QOXGL::SetBlendMode(int mode, const QXColor& colour, float alpha)
{
    if (const auto blend = BlendOf(mode, colour, alpha))
        SetBlendFunc(blend->Source, blend->Destination, blend->Colour[0], blend->Colour[1], blend->Colour[2],
                     blend->Colour[3]);
}

void QOXGL::SetBlendFunc(unsigned source, unsigned destination, double red, double green, double blue, double alpha)
{
    glBlendFunc(source, destination);
    glColor4d(red, green, blue, alpha);
}

void QOXGL::SetColor(const QXColor& colour)
{
    glColor3f(colour.X, colour.Y, colour.Z);
}

void QOXGL::Translate(const QXVector& vector)
{
    glTranslatef(vector.X, vector.Y, vector.Z);
}

void QOXGL::Rotate(const QXVector& angles)
{
    glRotated(angles.Y, 0.0, 1.0, 0.0);
    glRotated(-angles.X, 1.0, 0.0, 0.0);
    glRotated(-angles.Z, 0.0, 0.0, 1.0);
}

void QOXGL::TranslateRotate(const QXVector& position, const QXVector& angles)
{
    Translate(position);
    Rotate(angles);
}

void QOXGL::Scale(float factor)
{
    glScalef(factor, factor, factor);
}

void QOXGL::ScaleVector(const QXVector& vector)
{
    glScalef(vector.X, vector.Y, vector.Z);
}

void QOXGL::SetClearColor(const QXColor& colour)
{
    glClearColor(colour.X, colour.Y, colour.Z, 1.0f);
}

void QOXGL::ResetView()
{
    glLoadIdentity();
    if (Camera != nullptr)
        Camera->Apply();
}

void QOXGL::ClearBuffers()
{
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void QOXGL::StartRasterising()
{
    glFlush();
}

void QOXGL::Present()
{
    if (Window != nullptr && RenderingContext != nullptr)
        Window->SwapBuffers(*RenderingContext);
    CheckError();
}

bool QOXGL::CheckError()
{
    if (glGetError() == GL_NO_ERROR)
        return false;
    // A lost context keeps answering with an error; the queue of a live one holds a few at most.
    int drained = 0;
    while (glGetError() != GL_NO_ERROR && ++drained < 64)
        continue;
    ReportError("GL Error occurred!");
    return true;
}

void QOXGL::RenderFrame()
{
    ResetView();
    if (SceneEngine != nullptr)
        SceneEngine->Render();
    if (System2D != nullptr)
        System2D->Render();
    EndFrameResources();
    glFlush();
    Present();
    ClearBuffers();
}
