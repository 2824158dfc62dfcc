#pragma once
// The model engine: a fixed set of model slots, made with the engine and reset at start-up.
#include <array>

#include "engine/qox_object.h"

class GLModel;

class GLModelEngine : public QOXObject {
    QOX_CLASS(GLModelEngine)
public:
    static constexpr int kModels = 17;

    explicit GLModelEngine(QOXObject* owner);

    void Init();

    std::array<GLModel*, kModels> Models{}; // owned as children
};
