#include "graphics/gl_scene_main.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_scene_generic.h"

GLSceneEngine::GLSceneEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Scene Engine") {}

void GLSceneEngine::Init()
{
    Engine()->Console->AddLine("QOX GL: Scene Engine initialized!");
}

void GLSceneEngine::Render()
{
    if (Enabled && ActiveScene != nullptr)
        ActiveScene->Render();
}
