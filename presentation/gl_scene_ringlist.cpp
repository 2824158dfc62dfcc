// The strip of minimised rings at the bottom of the view: their miniatures, the title of the one
// under the pointer, the scroll arrows, and choosing a ring by click or by dragging over it.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/app_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_scene_app.h"
#include "ring/resource_iteration.h"

namespace {

constexpr QXColor kWhite{1.0f, 1.0f, 1.0f};
constexpr float kStripBottom = 10.0f;
constexpr float kStripHeight = 80.0f;
constexpr float kStripCentre = 50.0f; // above the view's bottom edge
constexpr float kIconMargin = 40.0f;
constexpr float kIconReach = 30.0f;
constexpr float kArrowReach = 20.0f;
constexpr float kArrowHalfSize = 20.0f;
constexpr float kScrollStep = 80.0f;
constexpr float kScrollSpeed = 2.0f;
constexpr float kFadeOutSpeed = 3.0f;
constexpr float kHoverTitleSize = 1.5f;

bool Near(const GLViewPoint& point, float x, float y, float reach)
{
    return std::fabs(point.X - x) <= reach && std::fabs(point.Y - y) <= reach;
}

void StartScroll(QRIteration* animation, float from, float to)
{
    animation->SetScalar(to, from);
    animation->Restart(kScrollSpeed);
}

} // namespace

// A drag from another program shows the strip as "Display Rings" held does, so that a drop can
// reach any ring.
bool GLSceneApp::UpdateRingListFade()
{
    if (!Host->DragOver())
        DragSwitchPoint.reset();
    if (Host->CursorEnabled() && !Host->DragOver())
        RingListFade -= kFadeOutSpeed * FrameSeconds();
    else
        RingListFade = 1.0f;
    RingListFade = std::clamp(RingListFade, 0.0f, 1.0f);
    return RingListFade > 0.0f;
}

void GLSceneApp::DrawRingList()
{
    if (!UpdateRingListFade())
        return;
    GL_2DSystem* system = GL()->System2D;
    const float height = ViewHeight();
    const float hw = ViewWidth() / 2.0f;
    const float qw = hw / 2.0f;
    system->Begin2D();
    // The tick that ends the animation still moves the strip, so it stops on its target.
    const bool scrolling = RingListAnimation->Running();
    RingListAnimation->TickBy(FrameSeconds());
    if (scrolling)
        RingListScroll = RingListAnimation->Value();
    DrawFrameBox(hw - qw, height - kStripBottom - kStripHeight, hw + qw, height - kStripBottom, RingListFade);
    glPushMatrix();
    glTranslatef(hw, height - kStripCentre, 0.0f);
    float xFirst = 0.0f;
    float xLast = 0.0f;
    const std::vector<StripIcon> icons = StripIcons(xFirst, xLast);
    for (const StripIcon& icon : icons)
        DrawRingIcon(icon.Ring, icon.X, hw, height);
    if (xLast >= xFirst)
        DrawScrollArrows(xFirst, xLast, hw, qw, height);
    glPopMatrix();
    system->End2D();
}

// The arrows compare the scroll with where the first and last icons sit unscrolled: scrolling to
// one of those places brings that icon to the middle, so every ring can be reached. Without
// minimised rings the last lies before the first.
std::vector<GLSceneApp::StripIcon> GLSceneApp::StripIcons(float& xFirst, float& xLast) const
{
    std::vector<QOXRing*> minimised;
    for (QOXRing* ring : *Application->Rings)
        if (ring->IsFullyMinimized())
            minimised.push_back(ring);
    const float count = static_cast<float>(minimised.size());
    const float qw = ViewWidth() / 4.0f;
    xFirst = -kIconSpacing / 2.0f * (count - 1.0f);
    xLast = xFirst + kIconSpacing * (count - 1.0f);
    std::vector<StripIcon> icons;
    for (std::size_t k = 0; k < minimised.size(); ++k) {
        const float x = xFirst + kIconSpacing * static_cast<float>(k) - RingListScroll;
        if (x >= -(qw - kIconMargin) && x <= qw - kIconMargin)
            icons.push_back({minimised[k], x});
    }
    return icons;
}

// The miniatures grow with the strip's fade from half way on.
float GLSceneApp::StripIconScale() const
{
    return std::max(2.0f * RingListFade - 1.0f, 0.0f);
}

bool GLSceneApp::OnRingStrip(float x, float y)
{
    if (StripIconScale() <= 0.0f)
        return false;
    const float hw = ViewWidth() / 2.0f;
    float xFirst = 0.0f;
    float xLast = 0.0f;
    const std::vector<StripIcon> icons = StripIcons(xFirst, xLast);
    return std::any_of(icons.begin(), icons.end(), [&](const StripIcon& icon) {
        return Near({x, y}, hw + icon.X, ViewHeight() - kStripCentre, kIconReach);
    });
}

void GLSceneApp::DrawRingIcon(QOXRing* ring, float x, float hw, float height)
{
    glPushMatrix();
    glTranslatef(x, 0.0f, 0.0f);
    const float scale = StripIconScale();
    glScalef(scale, scale, scale);
    Renderer->DrawIcon(ring);
    glPopMatrix();
    if (!Near(Host->CursorPoint(), hw + x, height - kStripCentre, kIconReach))
        return;
    DrawRingHoverTitle(ring);
    if (Still)
        return;
    if (Host->DragOver())
        SwitchByDrag(ring);
    else if (Host->WindowActive())
        HandleRingStripInput(ring);
}

void GLSceneApp::DrawRingHoverTitle(QOXRing* ring)
{
    GL_2DSystem* system = GL()->System2D;
    const float width = GLFont::TextWidth(system->Fonts->FindFont("Default Add"), ring->Folder, kHoverTitleSize);
    const float half = width / 2.0f + 20.0f;
    DrawFrameBox(-half, -80.0f, half, -50.0f, 1.0f);
    system->Print("Default Add", AlignCentre, 0.0f, -65.0f, kWhite, 1.0f, kHoverTitleSize, ring->Folder);
}

void GLSceneApp::HandleRingStripInput(QOXRing* ring)
{
    // Each of these may change the ring list; the strip is drawn again next frame.
    if (Host->WasPressed(GLMouseButton::Left) && Host->CursorIdle())
        Application->SetCurrentRing(ring);
    if (Host->WasPressed(GLMouseButton::Right) && Host->CursorIdle())
        Host->RequestRingMenu(ring);
}

// The program the drag comes from keeps the focus, so the window need not be active. The strip
// changes as rings minimise and restore: only a pointer that moved switches again, or a pointer
// held still over the strip would switch rings back and forth.
void GLSceneApp::SwitchByDrag(QOXRing* ring)
{
    const GLViewPoint pointer = Host->CursorPoint();
    if (DragSwitchPoint && DragSwitchPoint->X == pointer.X && DragSwitchPoint->Y == pointer.Y)
        return;
    DragSwitchPoint = pointer;
    Application->SetCurrentRing(ring);
}

void GLSceneApp::DrawScrollArrows(float xFirst, float xLast, float hw, float qw, float height)
{
    const GLViewPoint pointer = Host->CursorPoint();
    const float arrowX = qw - kArrowHalfSize;
    if (xLast - 1.0f > RingListScroll) {
        DrawArrow(arrowX, 1.0f);
        if (Near(pointer, hw + arrowX, height - kStripCentre, kArrowReach))
            StartScroll(RingListAnimation, RingListScroll, std::min(xLast, RingListScroll + kScrollStep));
    }
    if (xFirst + 1.0f < RingListScroll) {
        DrawArrow(-arrowX, -1.0f);
        if (Near(pointer, hw - arrowX, height - kStripCentre, kArrowReach))
            StartScroll(RingListAnimation, RingListScroll, std::max(xFirst, RingListScroll - kScrollStep));
    }
}

void GLSceneApp::DrawArrow(float centreX, float mirror) const
{
    // The sprite's cell width picks the picture's s range: -1 shows it mirrored.
    GL()->System2D->DrawSprite(ArrowTexture, static_cast<int>(GLBlendMode::Average), kArrowHalfSize, centreX, 0.0f,
                               mirror, 1.0f, 0, 0, 0.5f * RingListFade, kWhite);
}
