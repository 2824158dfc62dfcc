#pragma once
// The 3D drawing system; it has nothing to set up beyond its start-up line.
#include "engine/qox_object.h"

class GL_3DSystem : public QOXObject {
    QOX_CLASS(GL_3DSystem)
public:
    explicit GL_3DSystem(QOXObject* owner);
    void Init();
};
