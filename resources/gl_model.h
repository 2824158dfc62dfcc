#pragma once
// A model slot of the model engine: where a model stands and whether it is drawn. The program
// draws no models; the slots are kept ready and reset at start-up.
#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class GLModel : public QOXObject {
    QOX_CLASS(GLModel)
public:
    explicit GLModel(QOXObject* owner);

    void Reset();

    QXVector Position;
    QXVector Rotation;
    float Scale = 1.0f;
    bool Visible = false;
};
