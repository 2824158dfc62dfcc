#include "lists/view_generic.h"

#include "engine/qox_main.h"
#include "engine/qox_script.h"
#include "lists/list_file.h"
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
    if (!HasExtension(extension))
        Engine()->Script->AddLine(Extensions, extension);
}

void QVGeneric::SetExtensions(const std::vector<std::string>& lines)
{
    Engine()->Script->Clear(Extensions);
    for (const std::string& line : lines) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        const std::size_t end = line.find_first_of(" \t", first);
        AddExtension(lists::LowerCase(line.substr(first, end == std::string::npos ? end : end - first)));
    }
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
