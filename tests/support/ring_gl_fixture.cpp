#include "tests/support/ring_gl_fixture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "lists/view_generic.h"
#include "lists/view_main.h"
#include "ring/element_file.h"
#include "ring/resource_iteration.h"
#include "tests/support/font_files.h"
#include "tests/support/image_files.h"
#include "tests/support/ring_projection.h"

void RingGLTest::SetUp()
{
    GLTest::SetUp();
    const std::string white = EncodePng(4, 4, 3, Filled(4, 4, {255, 255, 255}));
    for (const char* name : {"element", "root", "picked", "selected"})
        ProgramFolder.Write(std::string("textures/") + name + ".png", white);
    std::array<int, 256> widths{};
    widths.fill(10);
    WriteTestFont(ProgramFolder, "textures/fonts/default", "abcdefghijklmnopqrstuvwxyz0123456789._", widths);
    GLFont* fonts = Device->System2D->Fonts;
    fonts->CreateFont("textures/fonts/default", "Default");
    fonts->CreateFont("textures/fonts/default", "Default Add");
    TheApp = QOXMake<QOXApp>();
    // The rings sized and refreshed as designed; tests of sizes counted in the background turn it on.
    TheApp->Settings.CountFolderSizesInBackground = false;
    TheApp->Settings.SizeTrueRings = false;
    Input = QOXMake<QOXInput>(nullptr);
    Input->Init(&Script, UseDevice::Yes, UseDevice::No, UseDevice::Yes);
    RegisterInputActions(*Input);
    Cursor = QOXNew<QACursor>(TheApp.get(), Input.get());
    Cursor->Menus = &Menus;
    Renderer = QOXMake<GLRing>(nullptr);
    Renderer->Init();
    Renderer->Cursor = Cursor;
}

void RingGLTest::TearDown()
{
    Renderer.reset();
    TheApp.reset();
    Input.reset();
    GLTest::TearDown();
}

QOXRing* RingGLTest::Open(const std::string& relativeFolder)
{
    QOXRing* ring = TheApp->CreateRing(Tree.PathOf(relativeFolder));
    EXPECT_NE(ring, nullptr);
    ring->MinimizeAnimation->MoveDirection = QRIteration::Stopped;
    ring->MinimizeAnimation->Progress = 0.0f;
    ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.0f);
    ring->Relayout();
    return ring;
}

void RingGLTest::Draw(QOXRing* ring)
{
    ClearTo(1.0f, 1.0f, 1.0f);
    Renderer->DrawRing(ring);
}

std::array<int, 2> RingGLTest::WindowPoint(QOXRing* ring, float radius, float degrees, GLRingPass pass)
{
    return ProjectRingPoint(*Renderer, ring, radius, degrees, pass);
}

Rgba RingGLTest::ColourAt(QOXRing* ring, float radius, float degrees)
{
    const auto point = WindowPoint(ring, radius, degrees);
    return ReadPixel(point[0], point[1]);
}

void RingGLTest::GiveTypePicture(QRElement* file, const std::string& name, const std::array<std::uint8_t, 3>& rgb)
{
    ProgramFolder.Write("textures/" + name + ".png", EncodePng(4, 4, 3, Filled(4, 4, {rgb[0], rgb[1], rgb[2]})));
    auto* view = QOXNew<QVGeneric>(TheApp->Views, name);
    view->SetTexture("textures/" + name);
    static_cast<QREFile*>(file)->View = view;
}

Rgba Stored(const QXColor& colour)
{
    const auto channel = [](float value) { return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); };
    return {channel(colour.X), channel(colour.Y), channel(colour.Z), 255};
}
