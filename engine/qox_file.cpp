#include "engine/qox_file.h"

#include <sys/stat.h>

#include "engine/qox_main.h"
#include "platform/desktop_services.h"
#include "platform/program_folder.h"

QOXFileSystem::QOXFileSystem(QOXObject* parent, const std::string& name) : QOXObject(parent, name)
{
    const platform::ProgramFolders folders = platform::CurrentProgramFolders();
    Layout = folders.Layout;
    BasePath = folders.Data;
    ConfigPath = folders.Config;
    StatePath = folders.State;
    CachePath = folders.Cache;
    MaterialsPath = BasePath + "materials/";
    ModelsPath = BasePath + "models/";
    MusicPath = BasePath + "music/";
    ShadersPath = BasePath + "shaders/";
    SoundsPath = BasePath + "sounds/";
    TexturesPath = BasePath + "textures/";
    WorldPath = BasePath + "world/";
}

platform::ProgramFolders QOXFileSystem::Folders() const
{
    return {Layout, BasePath, ConfigPath, StatePath, CachePath};
}

void QOXFileSystem::PrepareUserFolders()
{
    PreparationProblems = platform::PrepareUserFolders(Folders());
}

void QOXFileSystem::ReportFolders()
{
    if (Layout == platform::ProgramLayout::Installed) {
        Engine()->Log("QOX Engine: Installed layout: data in " + BasePath);
        Engine()->Log("QOX Engine: Settings and lists in " + ConfigPath);
        Engine()->Log("QOX Engine: Log and state in " + StatePath);
        Engine()->Log("QOX Engine: Cache in " + CachePath);
    }
    for (const std::string& problem : PreparationProblems)
        Engine()->Error("QX_FILE", problem);
    PreparationProblems.clear();
}

bool QOXFileSystem::FileExists(const std::string& path, Report report) const
{
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    if (!exists && report == ReportMissing)
        Engine()->Error("QX_FILE", "File \"" + path + "\" not found!");
    return exists;
}

bool QOXFileSystem::DirectoryExists(const std::string& path, Report report) const
{
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    if (!exists && report == ReportMissing)
        Engine()->Error("QX_FILE", "Directory \"" + path + "\" not found!");
    return exists;
}

QOXFile* QOXFileSystem::OpenRead(const std::string& path, QOXFile::Type type)
{
    return OpenFile(path, type, QOXFile::Read, QOXFile::NoAppend);
}

QOXFile* QOXFileSystem::OpenWrite(const std::string& path, QOXFile::Type type)
{
    return OpenFile(path, type, QOXFile::Write, QOXFile::NoAppend);
}

QOXFile* QOXFileSystem::OpenFile(const std::string& path, QOXFile::Type type, QOXFile::Mode mode,
                                 QOXFile::AppendMode append, QOXFile::Failures failures)
{
    QOXFile* file = QOXNew<QOXFile>(this);
    file->Open(path, type, mode, append, failures);
    return file;
}

std::string QOXFileSystem::RelativeName(const std::string& path, bool keepExtension) const
{
    std::string relative = path.size() > BasePath.size() ? path.substr(BasePath.size()) : std::string();
    if (keepExtension)
        return relative;
    // Only a dot inside the last component, and not its first character, starts an extension.
    const std::size_t nameStart = relative.rfind('/') == std::string::npos ? 0 : relative.rfind('/') + 1;
    const std::size_t dot = relative.rfind('.');
    if (dot != std::string::npos && dot > nameStart)
        relative.erase(dot);
    return relative;
}

std::string QOXFileSystem::MakePath(const std::string& name, const std::string& extension) const
{
    return BasePath + name + "." + extension;
}

std::string QOXFileSystem::MakeConfigPath(const std::string& name, const std::string& extension) const
{
    return ConfigPath + name + "." + extension;
}

std::string QOXFileSystem::ExtractName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string QOXFileSystem::ExtractExtension(const std::string& path)
{
    const std::string name = ExtractName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string QOXFileSystem::ExtractFolder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string QOXFileSystem::IncludeTrailingDelimiter(const std::string& path)
{
    return !path.empty() && path.back() == '/' ? path : path + "/";
}

std::string QOXFileSystem::ExcludeTrailingDelimiter(const std::string& path)
{
    return !path.empty() && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
}

bool QOXFileSystem::IsSection(const std::string& text, const std::string& name)
{
    return text == "[" + name + "]";
}

bool QOXFileSystem::IsEmpty(const std::string& text)
{
    return text.empty();
}

bool QOXFileSystem::ShellOpen(const std::string& path) const
{
    return Engine()->Desktop().OpenDocument(path);
}
