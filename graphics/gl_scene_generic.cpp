#include "graphics/gl_scene_generic.h"

#include "engine/qox_console.h"
#include "engine/qox_constant.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "graphics/gl_scene_main.h"

GLScene::GLScene(QOXObject* owner) : QOXObject(owner, "QOX GL Scene Object") {}

void GLScene::Init(const std::string& name)
{
    Name = CutText(name, kStringName);
    Engine()->Console->AddLine("QOX GL: Scene initialized: \"" + Name + "\"!");
}

void GLScene::Activate()
{
    if (GL() != nullptr && GL()->SceneEngine != nullptr)
        GL()->SceneEngine->SetActiveScene(this);
}

void GLScene::BeforeDestroy()
{
    // A freed scene must not stay the one the next frame draws.
    if (GL() != nullptr && GL()->SceneEngine != nullptr && GL()->SceneEngine->ActiveScene == this)
        GL()->SceneEngine->SetActiveScene(nullptr);
}
