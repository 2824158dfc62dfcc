// The 2D system's seam to the material and text engines. Until the material engine joins the
// device, a flat quad sets the same state directly through the device: unlit, no depth test, no
// face culling, no depth writes, no texture, blended in the given mode and colour.
#include <GL/gl.h>

#include "graphics/gl_2D.h"
#include "graphics/gl_main.h"

void GL_2DSystem::ApplyFlatMaterial(int blendMode, const QXColor& colour, float alpha, QRTexture*)
{
    QOXGL* device = GL();
    device->SetLighting(false);
    device->SetDepthTest(false);
    device->SetCulling(false);
    glDepthMask(GL_FALSE);
    device->SetTexturing(false);
    device->SetBlending(true);
    device->SetBlendMode(blendMode, colour, alpha);
}

void GL_2DSystem::InitTextEngines() {}

void GL_2DSystem::DrawConsole() {}
