#pragma once
// The application with its rings and its cursor on a real off-screen GL context: a folder tree to open rings on,
// plain white ring pictures (so a band shows its element's colour), the two label fonts, a ring
// renderer, and helpers to find where a point of ring space lands in the window.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "input/input_main.h"
#include "platform/scripted_input.h"
#include "presentation/gl_ring.h"
#include "tests/support/cursor_fixture.h"
#include "tests/support/file_tree.h"
#include "tests/support/gl_fixture.h"

class RingGLTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A ring on a folder of the tree, shown full size at the plain view.
    QOXRing* Open(const std::string& relativeFolder = "");
    // Clears to white and draws the ring.
    void Draw(QOXRing* ring);
    // Window pixel (y upwards) of the ring-space point at `radius` along the angle (degrees,
    // clockwise from the top), as the normal pass sees the ring.
    std::array<int, 2> WindowPoint(QOXRing* ring, float radius, float degrees, GLRingPass pass = GLRingPass::Normal);
    Rgba ColourAt(QOXRing* ring, float radius, float degrees);
    // A view whose picture is one colour, given to the file.
    void GiveTypePicture(QRElement* file, const std::string& name, const std::array<std::uint8_t, 3>& rgb);

    FileTree Tree;
    QOXPtr<QOXApp> TheApp;
    QOXPtr<GLRing> Renderer;
    platform::ScriptedInput Script;
    QOXPtr<QOXInput> Input;
    QACursor* Cursor = nullptr; // owned by the application
    RecordingMenus Menus;
};

// The colour 0..1 as the frame buffer stores it.
Rgba Stored(const QXColor& colour);
