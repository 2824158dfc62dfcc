#pragma once
// A temporary folder that is removed with everything in it when the object goes.
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing "/".
    const std::string& Path() const { return FolderPath; }
    std::string Write(const std::string& relativeName, const std::string& content) const;
    std::string Read(const std::string& relativeName) const;
    // The file's lines, without their line ends.
    std::vector<std::string> ReadLines(const std::string& relativeName) const;

private:
    std::string FolderPath;
};
