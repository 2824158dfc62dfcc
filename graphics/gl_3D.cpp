#include "graphics/gl_3D.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"

GL_3DSystem::GL_3DSystem(QOXObject* owner) : QOXObject(owner, "QOX GL 3D") {}

void GL_3DSystem::Init()
{
    Engine()->Console->AddLine("QOX GL: GL 3D initialized!");
}
