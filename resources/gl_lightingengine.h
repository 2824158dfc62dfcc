#pragma once
// The lighting engine: the switch that allows GL lighting (the material engine lights a material
// only while it is on) and the lights of the frame. The program places no lights of its own; the
// frame's list is emptied after every frame.
#include <vector>

#include "engine/qox_object.h"

class GLLightingEngine : public QOXObject {
    QOX_CLASS(GLLightingEngine)
public:
    explicit GLLightingEngine(QOXObject* owner);

    void Init();
    void ClearFrameLights();

    int LightsPerObject = 1;
    float LightRange = 2.0f;
    std::vector<QOXObject*> FrameLights; // not owned; the lights of this frame
    int LastFrameLight = -1;
    std::vector<QOXObject*> Lights; // not owned
    int LastLight = -1;
    bool Enabled = true;
};
