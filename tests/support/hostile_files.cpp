#include "tests/support/hostile_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/file_file.h"

const std::vector<HostileFile>& HostileFiles()
{
    static const std::vector<HostileFile> kinds{HostileFile::LinkToDevZero, HostileFile::Fifo, HostileFile::LongLine};
    return kinds;
}

const char* HostileFileName(HostileFile kind)
{
    switch (kind) {
    case HostileFile::LinkToDevZero:
        return "a link to /dev/zero";
    case HostileFile::Fifo:
        return "a pipe";
    case HostileFile::LongLine:
        return "a line over 1 MiB";
    }
    return "";
}

std::string MakeHostileFile(const std::string& path, HostileFile kind)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    bool made = true;
    switch (kind) {
    case HostileFile::LinkToDevZero:
        made = ::symlink("/dev/zero", path.c_str()) == 0;
        break;
    case HostileFile::Fifo:
        made = ::mkfifo(path.c_str(), 0600) == 0;
        break;
    case HostileFile::LongLine:
        // A harmless first line, then one line just past the limit.
        std::ofstream(path, std::ios::binary) << "[DISPLAY]\n" << std::string(QOXFile::kMaxLineBytes + 1, 'x') << "\n";
        break;
    }
    if (!made)
        throw std::runtime_error("cannot make " + std::string(HostileFileName(kind)) + " at " + path);
    return path;
}

std::string HostileFileState(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "missing";
    if (S_ISLNK(info.st_mode))
        return "link to " + std::filesystem::read_symlink(path).string();
    if (S_ISFIFO(info.st_mode))
        return "fifo";
    return "file of " + std::to_string(info.st_size) + " bytes";
}
