#include "graphics/gl_camera.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "graphics/gl_frustum.h"
#include "tests/support/gl_fixture.h"

namespace {

using Matrix = std::array<GLfloat, 16>;

Matrix Projection()
{
    Matrix m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}

// The vertical field of view, in degrees, of the current perspective projection.
double VerticalFieldOfView()
{
    return 2.0 * std::atan(1.0 / Projection()[5]) * 180.0 / M_PI;
}

// Where the point lands in the window under the current matrices and viewport.
std::array<double, 3> WindowPoint(double x, double y, double z)
{
    GLdouble model[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<double, 3> window{};
    gluProject(x, y, z, model, projection, viewport, &window[0], &window[1], &window[2]);
    return window;
}

class CameraTest : public GLTest {
protected:
    GLCamera& Camera() { return *Device->Camera; }
};

TEST_F(CameraTest, DefaultsGiveAFortyFiveDegreeViewAndZoomNarrowsIt)
{
    EXPECT_NEAR(VerticalFieldOfView(), 45.0, 1e-3);
    EXPECT_NEAR(Projection()[5] / Projection()[0], 640.0 / 480.0, 1e-4) << "aspect of the viewport";
    Camera().SetZoom(0.5f);
    Camera().UpdateProjection();
    EXPECT_NEAR(VerticalFieldOfView(), 90.0, 1e-3);
}

TEST_F(CameraTest, ClippingChangesOnlyAtTheNextProjection)
{
    const Matrix before = Projection();
    Camera().SetClipping(1.0f, 1000.0f);
    EXPECT_EQ(Projection(), before);
    Camera().UpdateProjection();
    EXPECT_NE(Projection(), before);
    const Matrix m = Projection();
    const double nearDistance = m[14] / (m[10] - 1.0);
    EXPECT_NEAR(nearDistance, 1.0, 1e-3);
}

TEST_F(CameraTest, PointAheadOfTheCameraIsInTheCentreOfTheView)
{
    Camera().SetPositionRotation({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f});
    Device->ResetView();
    const auto centre = WindowPoint(0.0, 0.0, 0.0);
    EXPECT_NEAR(centre[0], 320.0, 1e-3);
    EXPECT_NEAR(centre[1], 240.0, 1e-3);
    EXPECT_GT(centre[2], 0.0);
    EXPECT_LT(centre[2], 1.0);

    // The same point drawn: a small white quad shows at the centre pixel.
    Device->SetCulling(false);
    Device->SetDepthTest(false);
    Device->SetTexturing(false);
    ClearTo(0.0f, 0.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(-0.1f, -0.1f, 0.0f);
    glVertex3f(0.1f, -0.1f, 0.0f);
    glVertex3f(0.1f, 0.1f, 0.0f);
    glVertex3f(-0.1f, 0.1f, 0.0f);
    glEnd();
    EXPECT_TRUE(Near(CentrePixel(), {255, 255, 255, 255}));
    EXPECT_TRUE(Near(ReadPixel(10, 10), {0, 0, 0, 255}));
}

TEST_F(CameraTest, RotationTurnsTheViewAndScaleApplies)
{
    Camera().SetPositionRotation({0.0f, 0.0f, 0.0f}, {0.0f, 90.0f, 0.0f});
    Device->ResetView();
    const auto ahead = WindowPoint(-10.0, 0.0, 0.0); // turned left by 90 degrees: -x is ahead
    EXPECT_NEAR(ahead[0], 320.0, 1e-3);
    EXPECT_NEAR(ahead[1], 240.0, 1e-3);
    Camera().SetPositionRotation({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f});
    Camera().SetScale({2.0f, 2.0f, 2.0f});
    Device->ResetView();
    const auto scaled = WindowPoint(1.0, 0.0, 0.0);
    Camera().SetScale({1.0f, 1.0f, 1.0f});
    Device->ResetView();
    EXPECT_NEAR(WindowPoint(2.0, 0.0, 0.0)[0], scaled[0], 1e-3);
}

TEST_F(CameraTest, ViewOfNoHeightKeepsTheLastProjection)
{
    const Matrix before = Projection();
    Device->SetViewport(0, 0, 640, 0);
    EXPECT_EQ(Projection(), before);
    for (float value : Projection())
        EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    Device->SetViewport(0, 0, 320, 480);
    EXPECT_NEAR(Projection()[5] / Projection()[0], 320.0 / 480.0, 1e-4);
}

TEST_F(CameraTest, FrustumPlanesBoundWhatTheCameraSees)
{
    Camera().SetPositionRotation({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f});
    Device->ResetView();
    const GLFrustum& frustum = *Camera().Frustum;
    for (const GLFrustum::TPlane& plane : frustum.Planes)
        EXPECT_NEAR(std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]), 1.0f, 1e-5);
    // Near plane 0.4 in front of the camera: it faces away from the eye (towards -z).
    EXPECT_NEAR(frustum.Planes[GLFrustum::Near][2], -1.0f, 1e-5);
    EXPECT_NEAR(frustum.Planes[GLFrustum::Near][3], 9.6f, 1e-3);
    EXPECT_NEAR(frustum.Planes[GLFrustum::Far][2], 1.0f, 1e-5);
    EXPECT_NEAR(frustum.Planes[GLFrustum::Far][3], 190.0f, 1e-2);
    EXPECT_LT(frustum.Planes[GLFrustum::Right][0], 0.0f) << "the right plane faces left";
    EXPECT_GT(frustum.Planes[GLFrustum::Left][0], 0.0f);
    EXPECT_LT(frustum.Planes[GLFrustum::Top][1], 0.0f);
    EXPECT_GT(frustum.Planes[GLFrustum::Bottom][1], 0.0f);
    EXPECT_TRUE(frustum.ContainsPoint(0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(frustum.ContainsPoint(0.0f, 0.0f, 11.0f)) << "behind the camera";
    EXPECT_FALSE(frustum.ContainsPoint(0.0f, 10.0f, 0.0f)) << "above a 45-degree view at distance 10";
    EXPECT_TRUE(frustum.ContainsPoint(0.0f, 4.0f, 0.0f));
}

} // namespace
