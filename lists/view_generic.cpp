#include "lists/view_generic.h"

#include "engine/qox_main.h"
#include "engine/qox_script.h"
#include "lists/view_main.h"

QVGeneric::QVGeneric(QOXViewEngine* owner, const std::string& name)
    : QOXObject(owner, CutText(name, kStringName)), Owner(owner)
{
}

void QVGeneric::SetTexture(const std::string& name)
{
    Texture = name;
}

void QVGeneric::AddExtension(const std::string& text)
{
    const std::string extension = CutText(text, kStringName);
    if (!HasExtension(extension))
        Engine()->Script->AddLine(Extensions, extension);
}

bool QVGeneric::HasExtension(const std::string& extension) const
{
    return Engine()->Script->Contains(Extensions, extension);
}

void QVGeneric::Toggle(ViewSelection selection)
{
    Enabled = !Enabled;
    if (selection == ViewSelection::Single)
        Owner->EnableOnly(this);
    Owner->DisplayChanged();
}
