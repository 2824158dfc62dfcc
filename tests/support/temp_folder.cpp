#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orbivane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    FolderPath = pattern + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(FolderPath, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(FolderPath, ignored);
}

std::string TempFolder::Write(const std::string& relativeName, const std::string& content) const
{
    const std::filesystem::path path = FolderPath + relativeName;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string TempFolder::Read(const std::string& relativeName) const
{
    std::ifstream file(FolderPath + relativeName, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

std::vector<std::string> TempFolder::ReadLines(const std::string& relativeName) const
{
    std::vector<std::string> lines;
    std::istringstream content(Read(relativeName));
    for (std::string line; std::getline(content, line);)
        lines.push_back(line);
    return lines;
}
