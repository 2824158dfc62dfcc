#include "app/app_picture.h"

#include <algorithm>

#include "app/app_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_main.h"
#include "input/input_main.h"
#include "presentation/gl_scene_app.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"

namespace {

bool RingMoving(const QOXRing* ring)
{
    return ring->LayoutNeeded || ring->MinimizeAnimation->Running() || ring->PositionAnimation->Running() ||
           ring->RotationAnimation->Running() || ring->ZoomAnimation->Running();
}

} // namespace

bool QAPictureWatch::NeedsDrawing(const QOXApp& app) const
{
    return Mode == QADrawing::EveryFrame || Stale || Moving(app) || !(StateOf(app) == LastDrawn);
}

void QAPictureWatch::Drawn(const QOXApp& app)
{
    LastDrawn = StateOf(app);
    Stale = false;
}

QAPictureWatch::State QAPictureWatch::StateOf(const QOXApp& app)
{
    State state;
    state.Rings.reserve(static_cast<std::size_t>(app.Rings->Count()));
    for (const QOXRing* ring : *app.Rings)
        state.Rings.push_back(
            {ring, ring->LayoutCount, ring->Position, ring->Rotation, ring->Zoom, ring->IsFullyMinimized()});
    state.Current = app.CurrentRing;
    if (app.Device != nullptr) {
        state.Width = app.Device->Width;
        state.Height = app.Device->Height;
    }
    return state;
}

bool QAPictureWatch::Moving(const QOXApp& app)
{
    if (app.Input != nullptr && app.Input->Changed())
        return true;
    if (app.SceneApp != nullptr && app.SceneApp->Animating())
        return true;
    if (app.Device != nullptr && app.Device->System2D != nullptr && app.Device->System2D->Changing())
        return true;
    return std::any_of(app.Rings->begin(), app.Rings->end(), RingMoving);
}
