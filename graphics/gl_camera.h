#pragma once
// The viewer: position, rotation, zoom, clipping distances and field of view. Builds the
// perspective projection for the device's viewport and applies the view transform.
#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class GLFrustum;

class GLCamera : public QOXObject {
    QOX_CLASS(GLCamera)
public:
    explicit GLCamera(QOXObject* owner);

    void Activate();
    void Init();

    void SetPositionRotation(const QXVector& position, const QXVector& rotation);
    void SetColour(const QXColor& colour) { Colour = colour; }
    void SetZoom(float zoom) { Zoom = zoom; }
    void SetAspect(float aspect) { Aspect = aspect; }
    void SetClipping(float nearDistance, float farDistance);
    void SetScale(const QXVector& scale) { Scale = scale; }
    void SetFieldOfView(float degrees) { FieldOfView = degrees; }

    void UpdateProjection();
    void Apply();

    QXVector Position{0.0f, 2.0f, 0.0f};
    QXVector Rotation{0.0f, 0.0f, 0.0f};
    QXColor Colour{1.0f, 1.0f, 1.0f};
    float Zoom = 1.0f;
    float Aspect = 1.0f;
    float Near = 0.4f;
    float Far = 200.0f;
    QXVector Scale{1.0f, 1.0f, 1.0f};
    float FieldOfView = 90.0f;
    GLFrustum* Frustum = nullptr; // owned as a child; freed with the camera
    bool Active = false;

protected:
    void ChildRemoved(QOXObject* child) override;
};
