#pragma once
// Whether a frame would draw a picture other than the one on screen. A frame whose picture could
// not change is not drawn: the window keeps its last picture and an idle program stays off the
// processor. The frame's logic (clocks, animations, counting, the automatic refresh) runs either
// way; only the drawing and the buffer swap are left out.
#include <cstdint>
#include <vector>

#include "engine/qox_constant.h"

class QOXApp;
class QOXRing;

// EveryFrame draws every frame whatever changed (what the program did before; benchmarks
// measure against it).
enum class QADrawing { WhenChanged, EveryFrame };

class QAPictureWatch {
public:
    // Whether this frame should draw: the last drawn picture is out of date, or something moves.
    bool NeedsDrawing(const QOXApp& app) const;
    // The frame was drawn from the application as it stands now.
    void Drawn(const QOXApp& app);
    // The next frame draws whatever it finds: the window was exposed, a command or a mouse
    // handler ran, a dialog closed.
    void Invalidate() { Stale = true; }

    QADrawing Mode = QADrawing::WhenChanged;

private:
    // What a ring's picture depends on besides the elements, whose changes all come with a layout.
    struct RingState {
        const QOXRing* Ring = nullptr; // not owned; compared only
        std::uint64_t Layouts = 0;
        QXVector Position;
        QXVector Rotation;
        float Zoom = 1.0f;
        bool Minimized = false;
        bool operator==(const RingState&) const = default;
    };
    struct State {
        std::vector<RingState> Rings;
        const QOXRing* Current = nullptr; // not owned; compared only
        int Width = 0;
        int Height = 0;
        bool operator==(const State&) const = default;
    };

    static State StateOf(const QOXApp& app);
    // Animations and fades under way, and input in this frame.
    static bool Moving(const QOXApp& app);

    State LastDrawn;
    bool Stale = true;
};
