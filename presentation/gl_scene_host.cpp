#include "presentation/gl_scene_host.h"

#include "app/app_cursor.h"
#include "app/dragdrop_main.h"
#include "input/input_main.h"
#include "input/input_mouse.h"

bool GLAppSceneHost::WindowActive() const
{
    return Cursor->Menus != nullptr && Cursor->Menus->WindowActive();
}

bool GLAppSceneHost::DragOver() const
{
    return Cursor->DropTarget->IsDragActive();
}

GLViewPoint GLAppSceneHost::MousePoint() const
{
    return {static_cast<float>(Input->Mouse->CursorX()), static_cast<float>(Input->Mouse->CursorY())};
}

GLViewPoint GLAppSceneHost::CursorPoint() const
{
    return {Cursor->MousePosition.X, Cursor->MousePosition.Y};
}

bool GLAppSceneHost::CursorEnabled() const
{
    return Cursor->Enabled() && !(Input->WasPressed("Display Rings", "Rings") && WindowActive());
}

bool GLAppSceneHost::CursorIdle() const
{
    return Cursor->Button == QAMouseButton::None;
}

bool GLAppSceneHost::WasPressed(GLMouseButton button) const
{
    return Input->WasPressed(button == GLMouseButton::Left ? "Left" : "Right", "Mouse");
}

void GLAppSceneHost::RequestRingMenu(QOXRing* ring)
{
    Cursor->RequestRingMenu(ring);
}
