#pragma once
// The six clipping planes of the current view, extracted from the projection and model-view
// matrices after every view transform.
#include <array>

#include "engine/qox_object.h"

class GLFrustum : public QOXObject {
    QOX_CLASS(GLFrustum)
public:
    enum Plane { Right = 0, Left, Bottom, Top, Far, Near };
    using TPlane = std::array<float, 4>; // a, b, c, d with a*x + b*y + c*z + d = 0

    explicit GLFrustum(QOXObject* owner);

    void Init();
    void Update();
    void Extract();
    // Whether the point lies on the inner side of every plane.
    bool ContainsPoint(float x, float y, float z) const;

    std::array<TPlane, 6> Planes{};
    bool Enabled = true;
};
