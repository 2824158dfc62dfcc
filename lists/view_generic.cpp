#include "lists/view_generic.h"

#include "engine/qox_main.h"
#include "engine/qox_script.h"
#include "lists/view_main.h"
#include "resources/resource_texture.h"

QVGeneric::QVGeneric(QOXViewEngine* owner, const std::string& name)
    : QOXObject(owner, CutText(name, kStringName)), Owner(owner)
{
}

void QVGeneric::SetTexture(const std::string& name)
{
    Texture = name;
    if (TextureResource != nullptr)
        TextureResource->Destroy();
    TextureResource = name.empty() ? nullptr : QOXNew<QRTexture>(name, this);
}

void QVGeneric::AddExtension(const std::string& text)
{
    const std::string extension = CutText(text, kStringName);
    if (ExtensionSet.insert(extension).second)
        Engine()->Script->AddLine(ExtensionLines, extension);
}

void QVGeneric::SetExtensions(const std::vector<std::string>& lines)
{
    Engine()->Script->Clear(ExtensionLines);
    ExtensionSet.clear();
    for (const std::string& line : lines) {
        Engine()->Script->AddLine(ExtensionLines, line);
        ExtensionSet.insert(ExtensionLines.Lines.back());
    }
}

void QVGeneric::Toggle(ViewSelection selection)
{
    Enabled = !Enabled;
    if (selection == ViewSelection::Single)
        Owner->EnableOnly(this);
    Owner->DisplayChanged();
}
