#pragma once
// Where a point of ring space lands in the window, on the current GL context.
#include <array>

#include "presentation/gl_ring.h"

class QOXRing;

// Window pixel (y upwards, as OpenGL counts) of the ring-space point at `radius` along the angle
// (degrees, clockwise from the top), as `renderer` sets the ring up for `pass`.
std::array<int, 2> ProjectRingPoint(GLRing& renderer, QOXRing* ring, float radius, float degrees, GLRingPass pass);
