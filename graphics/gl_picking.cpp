#include "graphics/gl_picking.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/qox_console.h"
#include "engine/qox_constant.h"
#include "engine/qox_main.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_main.h"

GLPicking::GLPicking(QOXObject* owner) : QOXObject(owner, "QOX GL Picking") {}

void GLPicking::Init()
{
    Clear();
    Engine()->Console->AddLine("QOX GL: Picking Class initialized!");
}

void GLPicking::Clear()
{
    Names.clear();
    LastName = -1;
}

void GLPicking::Begin(int width, int height, int x, int y)
{
    Clear();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glSelectBuffer(kSelectBufferSize, SelectBuffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    glLoadName(0);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(x, viewport[3] - y, width, height, viewport);
    const QOXGL* device = GL();
    const GLCamera* camera = device != nullptr ? device->Camera : nullptr;
    const double heightSpan = viewport[3] - viewport[1];
    if (camera != nullptr && heightSpan > 0.0)
        gluPerspective(45.0, (viewport[2] - viewport[0]) / heightSpan, camera->Near, camera->Far);
    glMatrixMode(GL_MODELVIEW);
}

void GLPicking::AddName(const std::string& name, void* object)
{
    ++LastName;
    Names.push_back({CutText(name, kStringName), object});
    glLoadName(static_cast<GLuint>(LastName + 1));
}

void GLPicking::ClearName()
{
    glLoadName(0);
}

bool GLPicking::End()
{
    glLoadName(0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    Hits = glRenderMode(GL_RENDER);
    return Hits > 0;
}

void* GLPicking::Result() const
{
    if (Hits < 1)
        return nullptr;
    // Every hit record is four words (name count 1, depths, name); names start at 1.
    const std::int64_t index = static_cast<std::int64_t>(SelectBuffer[3]) - 1;
    if (index < 0 || index >= static_cast<std::int64_t>(Names.size()))
        return nullptr;
    return Names[static_cast<std::size_t>(index)].Object;
}
