#include "resources/gl_modelengine.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "resources/gl_model.h"

GLModelEngine::GLModelEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Model Engine")
{
    for (GLModel*& model : Models)
        model = QOXNew<GLModel>(this);
}

void GLModelEngine::Init()
{
    for (GLModel* model : Models)
        model->Reset();
    Engine()->Console->AddLine("QOX GL: Model Engine initialized!");
}
