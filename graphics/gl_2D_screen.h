#pragma once
// Full-view tints over the picture: the camera's colour, the screen's own colour and a fade to
// black, each drawn as one subtractive quad over the 2D space when it would change anything.
#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "graphics/gl_2D.h"

class GLScreen : public QOXObject {
    QOX_CLASS(GLScreen)
public:
    explicit GLScreen(QOXObject* owner);

    void Init();
    void Render();

    QXColor Colour{1.0f, 1.0f, 1.0f};
    GLFade Fade;
    bool Enabled = true;

private:
    void DrawTint(GL_2DSystem& system, const QXColor& colour, float alpha);
};
