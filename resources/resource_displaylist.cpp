#include "resources/resource_displaylist.h"

#include <GL/gl.h>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_displaylistengine.h"
#include "resources/gl_textureengine.h"

QRDisplayList::QRDisplayList(QOXObject* owner) : QOXResource(owner, kDisplayListKind)
{
    AfterSetup();
}

void QRDisplayList::BeginCompile(int mode)
{
    Unload();
    if (GetName() != kDisplayListKind.DefaultName)
        Engine()->Console->AddLine(std::string(kDisplayListKind.LoadLine) + "\"" + GetName() + "\"");
    ListId = GL()->DisplayListEngine->BeginList(this, mode);
    // Binding inside the list is recorded, not done: the binding record no longer holds.
    GL()->TextureEngine->ResetBindings();
    FinishLoad();
}

void QRDisplayList::EndCompile()
{
    GL()->DisplayListEngine->EndList();
    GL()->TextureEngine->ResetBindings();
}

void QRDisplayList::Call()
{
    GL()->DisplayListEngine->CallList(ListId);
}

void QRDisplayList::ReleaseData()
{
    // A list that outlives the GL device has lost its GL list with the context.
    if (GL() != nullptr && GL()->DisplayListEngine != nullptr)
        GL()->DisplayListEngine->Remove(this);
    ListId = 0;
}
