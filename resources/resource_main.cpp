#include "resources/resource_main.h"

#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"

QOXResource::QOXResource(QOXObject* owner, const ResourceKind& kind)
    : QOXObject(owner, kind.DefaultName), ResourceKindOf(kind)
{
}

void QOXResource::Load(const std::string& fileName)
{
    BeginLoad(fileName);
}

void QOXResource::BeginLoad(const std::string& fileName)
{
    Unload();
    FileName = fileName;
    if (GetName() == ResourceKindOf.DefaultName) {
        SetName(NameFromFile(fileName));
    }
    if (*ResourceKindOf.LoadLine != '\0')
        Engine()->Console->AddLine(std::string(ResourceKindOf.LoadLine) + "\"" + GetName() + "\"");
}

std::string QOXResource::NameFromFile(const std::string& fileName) const
{
    switch (ResourceKindOf.TakesName) {
    case ResourceKind::Naming::RelativeName:
        return Engine()->FileSystem->RelativeName(fileName, false);
    case ResourceKind::Naming::FileNameOnly:
        return QOXFileSystem::ExtractName(fileName);
    case ResourceKind::Naming::GivenName:
        break;
    }
    return fileName;
}

void QOXResource::Unload()
{
    if (Empty)
        return;
    if (*ResourceKindOf.UnloadLine != '\0' && GetName() != ResourceKindOf.DefaultName)
        Engine()->Console->AddLine(std::string(ResourceKindOf.UnloadLine) + "\"" + GetName() + "\"");
    ReleaseData();
    Empty = true;
}

void QOXResource::BeforeDestroy()
{
    Unload();
}
