// The application's frame: viewport sizes, the input and the ring navigation it drives, the ring
// updates with the automatic refresh, the cursor's frame, the drawing, and what the frame shows
// around the view.
#include <algorithm>

#include "app/app_actions.h"
#include "app/app_cursor.h"
#include "app/app_main.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_main.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_scene_app.h"
#include "platform/window_timer.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_scene_app.h"
#include "ring/resource_iteration.h"

namespace {

// How far the ring's scale on screen may drift from its last layout's before it is laid out again.
constexpr float kRelayoutScale = 0.8f;

constexpr float kPanFactor = 0.2f;
constexpr float kDragZoomFactor = 0.05f;
constexpr float kWheelZoomIn = 1.2f;
constexpr float kWheelZoomOut = 0.8f;
constexpr float kWheelRotation = 20.0f;
constexpr float kMinZoom = 0.1f;
constexpr float kMaxZoom = 100.0f;
// A caption this short holds no ring folder.
constexpr std::size_t kBareCaptionLength = 8;

} // namespace

void QOXApp::Frame()
{
    FrameStats.FrameStarted();
    const float frameSeconds = Engine()->Timer->GetDelta();
    SetViewportSizes();
    HandleInput();
    UpdateRings(frameSeconds);
    UpdateCursor();
    if (FrameTimerEnabled())
        DrawScene();
    if (FrameTimerEnabled())
        ShowFrameStatus();
    FollowDisk(frameSeconds);
}

void QOXApp::SetViewportSizes()
{
    if (Device == nullptr || Window == nullptr)
        return;
    const QAViewSize size = Window->ViewSize();
    MakeContextCurrent();
    Device->SetViewport(0, 0, size.Width, size.Height);
    Device->System2D->SetSpace(GLSpace::TopLeft, GLAspect::Fixed, static_cast<float>(size.Width),
                               static_cast<float>(size.Height));
    if (Input->Window != nullptr)
        Input->SetMouseArea(Input->Window->Area());
    Input->SetMouseReference(static_cast<float>(size.Width), static_cast<float>(size.Height));
}

// The devices are read every frame; the rings follow them only while the window has the keyboard.
void QOXApp::HandleInput()
{
    if (Input == nullptr)
        return;
    Input->Update();
    if (!HasKeyboardFocus())
        return;
    if (Input->WasPressed(kActionSwitchRing, kGroupRings))
        SwitchRing();
    if (CurrentRing != nullptr)
        MoveRing(*CurrentRing);
}

void QOXApp::SwitchRing()
{
    if (Rings->Count() == 0)
        return;
    const int index = CurrentRing != nullptr ? Rings->IndexOf(CurrentRing) : -1;
    SetCurrentRing(Rings->Get((index + 1) % Rings->Count()));
}

// A drag with the middle button, or with the left one while "Rotate" is held, pans (with "Pan"),
// zooms (with "Zoom") or turns the ring; the wheel zooms, or turns it while "Rotate" is held.
void QOXApp::MoveRing(QOXRing& ring) const
{
    const float dx = Input->Mouse->DeltaX();
    const float dy = Input->Mouse->DeltaY();
    const float dyRaw = static_cast<float>(Input->Mouse->RawY());
    const bool rotate = ActionDown(kActionRotate, kGroupMovement);
    if ((ActionDown(kActionLeft, kGroupMouse) && rotate) || ActionDown(kActionMovementMode, kGroupMovement)) {
        if (ActionDown(kActionPan, kGroupMovement)) {
            ring.Position.X -= kPanFactor * dx;
            ring.Position.Y += kPanFactor * dy;
        } else if (!ActionDown(kActionZoom, kGroupMovement)) {
            ring.Rotation.Z += dx;
        } else {
            ring.ZoomAnimation->MoveDirection = QRIteration::Stopped; // the user's zoom wins over a fit
            ring.Zoom *= 1.0f - kDragZoomFactor * dyRaw;
        }
    }
    if (ActionDown(kActionZoomIn, kGroupMouse)) {
        if (!rotate)
            StepZoom(ring, QAZoom::In);
        else
            ring.Rotation.Z += kWheelRotation / ring.Zoom;
    }
    if (ActionDown(kActionZoomOut, kGroupMouse)) {
        if (!rotate)
            StepZoom(ring, QAZoom::Out);
        else
            ring.Rotation.Z -= kWheelRotation / ring.Zoom;
    }
    ring.Zoom = std::clamp(ring.Zoom, kMinZoom, kMaxZoom);
}

void QOXApp::StepZoom(QOXRing& ring, QAZoom direction)
{
    ring.ZoomAnimation->MoveDirection = QRIteration::Stopped; // the user's zoom wins over a fit
    ring.Zoom = std::clamp(ring.Zoom * (direction == QAZoom::In ? kWheelZoomIn : kWheelZoomOut), kMinZoom, kMaxZoom);
}

// After an expand or collapse the ring zooms until all of it fits the view. Size true, a zoom
// that changes the ring's scale on screen by a quarter lays it out again, so that small items
// gathered come apart as it grows.
void QOXApp::FollowView(QOXRing& ring) const
{
    if (Window == nullptr)
        return;
    const QAViewSize size = Window->ViewSize();
    ring.PixelsPerUnit = GLRing::PixelsPerUnit(ring, size.Height);
    const float scale = ring.LaidOutPixelsPerUnit > 0.0f ? ring.PixelsPerUnit / ring.LaidOutPixelsPerUnit : 0.0f;
    if (Settings.SizeTrueRings && (scale < kRelayoutScale || scale > 1.0f / kRelayoutScale))
        ring.Relayout();
    if (!ring.FitWanted)
        return;
    ring.FitWanted = false;
    if (QOXRing::FitsView())
        ring.ZoomTo(std::clamp(GLRing::FitZoom(ring, size.Width, size.Height), kMinZoom, kMaxZoom));
}

void QOXApp::UpdateCursor()
{
    if (TheCursor != nullptr)
        TheCursor->Update();
}

// A frame that would draw the picture already on screen leaves the window as it is.
void QOXApp::DrawScene()
{
    if (Device == nullptr || (Window != nullptr && !Window->ViewShown()) || !Picture.NeedsDrawing(*this))
        return;
    MakeContextCurrent();
    const long drawnBefore = SceneApp != nullptr ? SceneApp->Renderer->ElementsDrawn : 0;
    Device->RenderFrame();
    FrameStats.FrameDrawn(SceneApp != nullptr ? SceneApp->Renderer->ElementsDrawn - drawnBefore : 0);
    Picture.Drawn(*this);
    ++DrawnFrames;
}

void QOXApp::DrawStillFrame()
{
    if (Device == nullptr || SceneApp == nullptr || (Window != nullptr && !Window->ViewShown()))
        return;
    MakeContextCurrent();
    SceneApp->Still = true;
    Device->RenderFrame();
    SceneApp->Still = false;
}

void QOXApp::ShowFrameStatus()
{
    if (Window != nullptr)
        Window->SetTaskBarTitle(TaskBarTitle(Caption));
    const int marked = TheCursor != nullptr ? TheCursor->FilesToCopy->Count() : 0;
    SetStatusText(QAStatusPanel::FilesToCopy, "Files to Copy: " + QOXConvert::IntToStr(marked));
}

std::string QOXApp::TaskBarTitle(const std::string& caption)
{
    const std::string prefix = kAppCaptionPrefix;
    if (caption.size() <= kBareCaptionLength || caption.compare(0, prefix.size(), prefix) != 0)
        return caption;
    return caption.substr(prefix.size());
}

bool QOXApp::FrameTimerEnabled() const
{
    const platform::WindowTimer* timer = Engine()->MainTimer;
    return timer == nullptr || timer->IsEnabled();
}

bool QOXApp::HasKeyboardFocus() const
{
    return Menus != nullptr && Menus->WindowActive();
}

bool QOXApp::ActionDown(const char* action, const char* group) const
{
    return Input->IsDown(action, group);
}
