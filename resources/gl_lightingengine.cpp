#include "resources/gl_lightingengine.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"

GLLightingEngine::GLLightingEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Lighting Engine") {}

void GLLightingEngine::Init()
{
    ClearFrameLights();
    Lights.clear();
    LastLight = -1;
    LightsPerObject = 1;
    LightRange = 2.0f;
    Engine()->Console->AddLine("QOX GL: Lighting Engine initialized!");
}

void GLLightingEngine::ClearFrameLights()
{
    FrameLights.clear();
    LastFrameLight = -1;
}
