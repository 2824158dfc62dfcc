#pragma once
// The program's folders (its data folders, the folder of the settings and list files, the folder of
// the log and program state), file-name helpers, existence checks that report what is missing, and
// the factory of file objects.
#include <set>
#include <string>
#include <vector>

#include "engine/qox_object.h"
#include "engine/file_file.h"
#include "platform/program_folder.h"

class QOXFileSystem : public QOXObject {
    QOX_CLASS(QOXFileSystem)
public:
    enum Report { Silent, ReportMissing };

    QOXFileSystem(QOXObject* parent, const std::string& name);

    bool FileExists(const std::string& path, Report report) const;
    bool DirectoryExists(const std::string& path, Report report) const;

    // File objects are owned by the file system until their user destroys them.
    QOXFile* OpenRead(const std::string& path, QOXFile::Type type);
    QOXFile* OpenWrite(const std::string& path, QOXFile::Type type);
    QOXFile* OpenFile(const std::string& path, QOXFile::Type type, QOXFile::Mode mode, QOXFile::AppendMode append,
                      QOXFile::Failures failures = QOXFile::ReportFailures);

    std::string RelativeName(const std::string& path, bool keepExtension) const;
    // A data file: BasePath + name + "." + extension.
    std::string MakePath(const std::string& name, const std::string& extension) const;
    // A settings or list file: ConfigPath + name + "." + extension.
    std::string MakeConfigPath(const std::string& name, const std::string& extension) const;
    static std::string ExtractName(const std::string& path);
    static std::string ExtractExtension(const std::string& path);
    static std::string ExtractFolder(const std::string& path);
    static std::string IncludeTrailingDelimiter(const std::string& path);
    static std::string ExcludeTrailingDelimiter(const std::string& path);
    static bool IsSection(const std::string& text, const std::string& name);
    static bool IsEmpty(const std::string& text);

    // Opens the file (or web address) with the desktop's program for it; false when none started.
    bool ShellOpen(const std::string& path) const;

    // Files whose reading was refused (see QOXFile): none of them is written over until it has
    // been opened for reading again and read well.
    void RememberRefused(const std::string& path) { RefusedFiles.insert(path); }
    void ForgetRefused(const std::string& path) { RefusedFiles.erase(path); }
    bool IsRefused(const std::string& path) const { return RefusedFiles.count(path) != 0; }

    // The layout chosen at construction and its folders (see platform/program_folder.h).
    platform::ProgramFolders Folders() const;
    // Makes the user's folders of an installed copy and copies the missing settings and list
    // files into them; what fails is reported by ReportFolders, once the console runs.
    void PrepareUserFolders();
    // Logs the folders of an installed copy and reports each failure of PrepareUserFolders.
    void ReportFolders();

    platform::ProgramLayout Layout = platform::ProgramLayout::Portable;
    std::string BasePath;   // the data folder: read only in an installed copy
    std::string ConfigPath; // the settings file and the list files
    std::string StatePath;  // the log and the program's own state (journals, histories)
    std::string CachePath;  // what can be made again, kept to start faster (the texture cache)
    std::string MaterialsPath;
    std::string ModelsPath;
    std::string MusicPath;
    std::string ShadersPath;
    std::string SoundsPath;
    std::string TexturesPath;
    std::string WorldPath;

private:
    std::set<std::string> RefusedFiles;
    std::vector<std::string> PreparationProblems;
};
