#pragma once
// A scene the scene engine can draw: concrete scenes override Render.
#include <string>

#include "engine/qox_object.h"

class GLScene : public QOXObject {
    QOX_CLASS(GLScene)
public:
    explicit GLScene(QOXObject* owner);

    virtual void Render() {}
    virtual void Init(const std::string& name);
    // Makes this scene the one the scene engine draws.
    void Activate();

    std::string Name = "generic";
    int Index = -1;

protected:
    void BeforeDestroy() override;
};
