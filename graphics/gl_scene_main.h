#pragma once
// Holds the active scene and asks it to draw itself once per frame. Scenes are not owned here.
#include "engine/qox_object.h"

class GLScene;

class GLSceneEngine : public QOXObject {
    QOX_CLASS(GLSceneEngine)
public:
    explicit GLSceneEngine(QOXObject* owner);

    void Init();
    void SetActiveScene(GLScene* scene) { ActiveScene = scene; }
    void Render();

    GLScene* ActiveScene = nullptr; // not owned; the application frees its scene
    bool Enabled = true;
};
