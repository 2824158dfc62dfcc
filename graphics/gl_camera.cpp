#include "graphics/gl_camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_frustum.h"
#include "graphics/gl_main.h"

GLCamera::GLCamera(QOXObject* owner) : QOXObject(owner, "QOX GL Camera")
{
    Frustum = QOXNew<GLFrustum>(this);
    Activate();
}

void GLCamera::ChildRemoved(QOXObject* child)
{
    if (child == Frustum)
        Frustum = nullptr;
}

void GLCamera::Activate()
{
    Active = true;
    UpdateProjection();
}

void GLCamera::Init()
{
    Engine()->Console->AddLine("QOX GL: Camera initialized!");
    Frustum->Init();
}

void GLCamera::SetPositionRotation(const QXVector& position, const QXVector& rotation)
{
    Position = position;
    Rotation = rotation;
}

void GLCamera::SetClipping(float nearDistance, float farDistance)
{
    Near = nearDistance;
    Far = farDistance;
}

void GLCamera::UpdateProjection()
{
    const QOXGL* device = GL();
    // Before the device has a context, and for a view of no height, the last projection stays.
    if (device == nullptr || device->RenderingContext == nullptr || device->Height <= 0)
        return;
    const double viewAspect = static_cast<double>(device->Width) / static_cast<double>(device->Height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (Active)
        gluPerspective(FieldOfView * 0.5 / Zoom, viewAspect * Aspect, Near, Far);
    else
        gluPerspective(45.0, viewAspect, 0.4, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLCamera::Apply()
{
    glLoadIdentity();
    if (Active) {
        glRotatef(-Rotation.Z, 0.0f, 0.0f, 1.0f);
        glRotatef(-Rotation.X, 1.0f, 0.0f, 0.0f);
        glRotatef(-Rotation.Y, 0.0f, 1.0f, 0.0f);
        glTranslatef(-Position.X, -Position.Y, -Position.Z);
        glScalef(Scale.X, Scale.Y, Scale.Z);
    }
    if (Frustum != nullptr)
        Frustum->Update();
}
