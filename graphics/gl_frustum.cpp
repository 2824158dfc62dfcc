#include "graphics/gl_frustum.h"

#include <GL/gl.h>

#include <cmath>

#include "engine/qox_console.h"
#include "engine/qox_main.h"

GLFrustum::GLFrustum(QOXObject* owner) : QOXObject(owner, "QOX GL Frustum Culling Class") {}

void GLFrustum::Init()
{
    Engine()->Console->AddLine("QOX GL: Frustum Culling Class initialized!");
}

void GLFrustum::Update()
{
    if (Enabled)
        Extract();
}

void GLFrustum::Extract()
{
    float p[16];
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float c[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            c[i * 4 + j] = 0.0f;
            for (int k = 0; k < 4; ++k)
                c[i * 4 + j] += m[i * 4 + k] * p[k * 4 + j];
        }
    auto combine = [&c](float sign, int other) {
        TPlane plane;
        for (int row = 0; row < 4; ++row)
            plane[static_cast<std::size_t>(row)] = c[row * 4 + 3] + sign * c[row * 4 + other];
        return plane;
    };
    Planes[Right] = combine(-1.0f, 0);
    Planes[Left] = combine(1.0f, 0);
    Planes[Bottom] = combine(1.0f, 1);
    Planes[Top] = combine(-1.0f, 1);
    Planes[Far] = combine(-1.0f, 2);
    Planes[Near] = combine(1.0f, 2);
    for (TPlane& plane : Planes) {
        const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length > 0.0f)
            for (float& component : plane)
                component /= length;
    }
}

bool GLFrustum::ContainsPoint(float x, float y, float z) const
{
    for (const TPlane& plane : Planes)
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < 0.0f)
            return false;
    return true;
}
