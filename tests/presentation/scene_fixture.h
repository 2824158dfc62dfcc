#pragma once
// The application scene on a real off-screen GL context: plain-coloured pictures for the
// background, the banana and the arrow, the program's own font, an application with rings on a
// real folder tree, frames of a chosen length, and a host whose window state and pointer a test sets.
#include <GL/gl.h>

#include <fstream>
#include <sstream>

#include "app/app_main.h"
#include "engine/qox_timer.h"
#include "graphics/gl_2D.h"
#include "platform/clock.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "presentation/gl_scene_app.h"
#include "tests/support/file_tree.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/image_files.h"

// The window, pointer and cursor as a test sets them.
class ScriptedSceneHost : public GLSceneHost {
public:
    bool WindowActive() const override { return Active; }
    bool DragOver() const override { return Dragging; }
    GLViewPoint MousePoint() const override { return Pointer; }
    GLViewPoint CursorPoint() const override { return Pointer; }
    bool CursorEnabled() const override { return Enabled; }
    bool CursorIdle() const override { return Idle; }
    bool WasPressed(GLMouseButton button) const override
    {
        return button == GLMouseButton::Left ? LeftPressed : RightPressed;
    }
    void RequestRingMenu(QOXRing* ring) override { MenuRing = ring; }

    bool Active = false;
    bool Dragging = false;
    GLViewPoint Pointer{-1000.0f, -1000.0f};
    bool Enabled = true;
    bool Idle = true;
    bool LeftPressed = false;
    bool RightPressed = false;
    QOXRing* MenuRing = nullptr;
};

class SceneTest : public GLTest {
protected:
    static constexpr Rgba kBackground{90, 90, 90, 255};
    static constexpr Rgba kBanana{220, 40, 40, 255};

    void SetUp() override
    {
        GLTest::SetUp();
        UseManualClock(1'000'000);
        WritePictures();
        Device->System2D->SetSpace(GLSpace::TopLeft, GLAspect::Fixed, kWidth, kHeight);
        LoadSceneFonts();
        TheApp = QOXMake<QOXApp>();
        // The rings sized and refreshed as designed; tests of sizes counted in the background turn it on.
        TheApp->Settings.CountFolderSizesInBackground = false;
        TheApp->Settings.SizeTrueRings = false; // tests of size-true rings turn them on
        Scene = QOXNew<GLSceneApp>(nullptr, TheApp.get(), &Host);
        Scene->Init("Scene");
    }
    void TearDown() override
    {
        if (Scene != nullptr)
            Scene->Destroy();
        TheApp.reset();
        GLTest::TearDown();
    }

    // The engine's frame of that length and the rings' part of it; nothing is drawn.
    void Advance(int milliseconds)
    {
        EngineFrame(milliseconds);
        TheApp->UpdateRings(static_cast<float>(milliseconds) / 1000.0f);
        TheApp->FollowDisk(static_cast<float>(milliseconds) / 1000.0f);
    }
    // A frame of that length with the scene drawn into a cleared buffer.
    void Frame(int milliseconds = 50)
    {
        Advance(milliseconds);
        ClearTo(1.0f, 1.0f, 1.0f);
        Device->ResetView();
        Scene->Render();
        glFinish();
    }
    // The colour at view pixel (x, y), y counted downwards as the 2D system does.
    Rgba ViewPixel(int x, int y) const { return ReadPixel(x, kHeight - 1 - y); }
    // The brightest red channel over a rectangle of the view (y downwards): where text was drawn.
    int BrightestIn(int left, int top, int right, int bottom) const
    {
        int brightest = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                brightest = std::max(brightest, ViewPixel(x, y)[0]);
        return brightest;
    }
    // Every pixel of the view, RGBA, bottom row first.
    std::vector<std::uint8_t> WholeView() const
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth * kHeight) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    GLViewPoint PointOnRing();
    // Puts the hover on the ring's child of that name ("" for its root), as a pick would.
    void Hover(QOXRing* ring, const std::string& name)
    {
        QRElement* element = ring->Root;
        ring->Root->ForEachChild([&](QRElement* child) {
            if (child->Name == name)
                element = child;
        });
        ASSERT_TRUE(name.empty() || element != ring->Root) << name;
        Scene->HoverElement = element;
        Scene->HoverRing = ring;
    }
    QOXRing* Open(const std::string& relative = "")
    {
        QOXRing* ring = TheApp->CreateRing(Tree.PathOf(relative));
        EXPECT_NE(ring, nullptr);
        return ring;
    }
    // Frames until every ring's minimise animation has ended.
    void SettleRings()
    {
        for (int i = 0; i < 40; ++i)
            Advance(50);
    }

    FileTree Tree;
    ScriptedSceneHost Host;
    QOXPtr<QOXApp> TheApp;
    GLSceneApp* Scene = nullptr; // owned; destroyed in TearDown before the application

private:
    void WritePicture(const std::string& name, const Pixels& colour) const
    {
        ProgramFolder.Write("textures/" + name + ".png", EncodePng(16, 16, 3, Filled(16, 16, colour)));
    }
    void WritePictures() const
    {
        WritePicture("bg", {90, 90, 90});
        WritePicture("banana", {220, 40, 40});
        for (const char* name : {"arrow", "element", "root", "picked", "selected"})
            WritePicture(name, {255, 255, 255});
        for (const char* file : {"default.png", "default.txt"}) {
            std::ifstream source(std::string(ORBIVANE_SOURCE_DATA) + "textures/fonts/" + file, std::ios::binary);
            std::ostringstream content;
            content << source.rdbuf();
            ProgramFolder.Write(std::string("textures/fonts/") + file, content.str());
        }
    }
};
