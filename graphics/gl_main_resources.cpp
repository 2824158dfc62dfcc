// The GL device's seam to the resource engines (model, lighting, texture, material, display list
// and shader engines). Until they join the device, each switch reads as on and texturing is
// switched off directly.
#include <GL/gl.h>

#include "graphics/gl_main.h"

void QOXGL::CreateResourceEngines() {}

void QOXGL::InitResourceEngines() {}

void QOXGL::FreeResourceEngines() {}

void QOXGL::EndFrameResources() {}

bool QOXGL::TexturingSwitch() const
{
    return true;
}

void QOXGL::DisableTexturing()
{
    glDisable(GL_TEXTURE_2D);
}

bool QOXGL::LightingSwitch() const
{
    return true;
}

bool QOXGL::ColorMaterialSwitch() const
{
    return true;
}
