#pragma once
// The scene's host in the program: the window's state through the cursor's window link, the
// pointer through the input mouse and the cursor, the mouse buttons through the input actions.
#include "presentation/gl_scene_app.h"

class QACursor;
class QOXInput;

class GLAppSceneHost : public GLSceneHost {
public:
    // Neither is owned; both must outlive the host.
    GLAppSceneHost(QACursor* cursor, QOXInput* input) : Cursor(cursor), Input(input) {}

    bool WindowActive() const override;
    bool DragOver() const override;
    GLViewPoint MousePoint() const override;
    GLViewPoint CursorPoint() const override;
    bool CursorEnabled() const override;
    bool CursorIdle() const override;
    bool WasPressed(GLMouseButton button) const override;
    void RequestRingMenu(QOXRing* ring) override;

private:
    QACursor* Cursor = nullptr; // not owned
    QOXInput* Input = nullptr;  // not owned
};
