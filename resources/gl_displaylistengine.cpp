#include "resources/gl_displaylistengine.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_displaylist.h"

GLDisplayListEngine::GLDisplayListEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Display List Engine")
{
    Lists = QOXNew<QRList<QRDisplayList>>(this, QRList<QRDisplayList>::Uniqueness::AllowDuplicates,
                                          QRList<QRDisplayList>::Ownership::References);
}

void GLDisplayListEngine::Init()
{
    Engine()->Console->AddLine("QOX GL: Display List Engine initialized!");
}

int GLDisplayListEngine::IndexOf(const QRDisplayList* list) const
{
    return Lists != nullptr && list != nullptr ? Lists->IndexOf(list) : -1;
}

GLuint GLDisplayListEngine::BeginList(QRDisplayList* list, int mode)
{
    Lists->AddToEmptySlot(list);
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
    DeleteList(list->ListId);
    if (Lists != nullptr)
        Lists->EmptySlot(IndexOf(list));
}

void GLDisplayListEngine::Clear()
{
    const std::vector<QRDisplayList*> lists(Lists->begin(), Lists->end());
    for (QRDisplayList* list : lists) {
        if (list == nullptr)
            continue;
        if (list->GetParent() == this)
            list->Destroy();
        else
            list->Unload();
    }
    Lists->Clear();
}

void GLDisplayListEngine::BeforeDestroy()
{
    Clear();
}

void GLDisplayListEngine::ChildRemoved(QOXObject* child)
{
    if (child == Lists)
        Lists = nullptr;
}
