#include "resources/gl_model.h"

GLModel::GLModel(QOXObject* owner) : QOXObject(owner, "QOX GL Model") {}

void GLModel::Reset()
{
    Position = {};
    Rotation = {};
    Scale = 1.0f;
    Visible = false;
}
