#pragma once
// Finds what lies under a window point with OpenGL's selection mode: a drawing pass registers
// every pickable object with a number before drawing it, and the first hit record names the
// first-registered object that covers the point.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/qox_object.h"

class GLPicking : public QOXObject {
    QOX_CLASS(GLPicking)
public:
    static constexpr int kSelectBufferSize = 512;

    struct TPickName {
        std::string Name;
        void* Object = nullptr; // not owned; whatever the drawing pass registered
    };

    explicit GLPicking(QOXObject* owner);

    void Init();
    void Clear();
    // Starts a selection pass for the region of `width` × `height` pixels centred on the window
    // point (x, y), y counted downwards from the top of the window.
    void Begin(int width, int height, int x, int y);
    void AddName(const std::string& name, void* object);
    void ClearName();
    bool End();
    // The object under the point in the last pass, or null.
    void* Result() const;

    std::vector<TPickName> Names;
    int LastName = -1;
    std::array<std::uint32_t, kSelectBufferSize> SelectBuffer{};
    int Hits = 0;

protected:
    void BeforeDestroy() override { Clear(); }
};
