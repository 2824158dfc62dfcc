#include "resources/gl_displaylistengine.h"

#include <algorithm>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_displaylist.h"

GLDisplayListEngine::GLDisplayListEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Display List Engine") {}

void GLDisplayListEngine::Init()
{
    Engine()->Console->AddLine("QOX GL: Display List Engine initialized!");
}

int GLDisplayListEngine::IndexOf(const QRDisplayList* list) const
{
    for (int i = 0; i <= Last; ++i) {
        if (Lists[static_cast<std::size_t>(i)] == list)
            return i;
    }
    return -1;
}

GLuint GLDisplayListEngine::BeginList(QRDisplayList* list, int mode)
{
    const auto empty = std::find(Lists.begin(), Lists.end(), nullptr);
    if (empty != Lists.end()) {
        *empty = list;
    } else {
        Lists.push_back(list);
        Last = static_cast<int>(Lists.size()) - 1;
    }
    const GLuint id = glGenLists(1);
    if (mode != CompileOnly && mode != CompileAndExecute)
        Engine()->Error("QOX_GL_DISPLAYLIST", "Undefined display list creation mode!");
    glNewList(id, mode == CompileAndExecute ? GL_COMPILE_AND_EXECUTE : GL_COMPILE);
    return id;
}

void GLDisplayListEngine::EndList()
{
    glEndList();
}

void GLDisplayListEngine::DeleteList(GLuint id)
{
    if (id != 0 && glIsList(id))
        glDeleteLists(id, 1);
}

void GLDisplayListEngine::CallList(GLuint id)
{
    if (id == 0 || !glIsList(id))
        return;
    glCallList(id);
    // The list may have bound textures.
    GL()->TextureEngine->ResetBindings();
}

void GLDisplayListEngine::Remove(QRDisplayList* list)
{
    const int index = IndexOf(list);
    DeleteList(list->ListId);
    if (index == -1)
        return;
    Lists[static_cast<std::size_t>(index)] = nullptr;
    while (!Lists.empty() && Lists.back() == nullptr)
        Lists.pop_back();
    Last = static_cast<int>(Lists.size()) - 1;
}

void GLDisplayListEngine::Clear()
{
    const std::vector<QRDisplayList*> lists = Lists;
    for (QRDisplayList* list : lists) {
        if (list == nullptr)
            continue;
        if (list->GetParent() == this)
            list->Destroy();
        else
            list->Unload();
    }
    Lists.clear();
    Last = -1;
}

void GLDisplayListEngine::BeforeDestroy()
{
    Clear();
}
