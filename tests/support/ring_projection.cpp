#include "tests/support/ring_projection.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

std::array<int, 2> ProjectRingPoint(GLRing& renderer, QOXRing* ring, float radius, float degrees, GLRingPass pass)
{
    glPushMatrix();
    renderer.SetupRingTransform(ring, pass);
    double modelView[16];
    double projection[16];
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopMatrix();
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    gluProject(std::sin(radians) * radius, -std::cos(radians) * radius, 0.0, modelView, projection, viewport, &x, &y,
               &z);
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}
