#include "platform/program_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace platform {

namespace {

constexpr const char* kProgramName = "orbivane";
constexpr const char* kSettingsFile = "orbivane.ini";
constexpr mode_t kOwnerOnly = 0700;

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error).string();
    return exe.parent_path().string();
}

std::string UserHome()
{
    std::string home = Variable("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// An XDG base folder: the variable when it holds an absolute path (the specification says to
// ignore a relative one), else its default below the home folder.
std::string BaseFolder(const std::string& variable, const std::string& home, const char* fallback)
{
    if (!variable.empty() && variable.front() == '/')
        return WithTrailingSlash(variable);
    return WithTrailingSlash(home) + fallback;
}

ProgramFolders OneFolder(const std::string& folder)
{
    const std::string path = WithTrailingSlash(folder);
    return {ProgramLayout::Portable, path, path, path, path};
}

std::string SystemReason(int error)
{
    return std::strerror(error);
}

// Every missing level of the folder, each made owner-only.
bool MakeFolders(const std::string& folder, std::vector<std::string>& problems)
{
    std::string path;
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        path = folder.substr(0, at);
        if (::mkdir(path.c_str(), kOwnerOnly) != 0 && errno != EEXIST) {
            problems.push_back("Cannot make the folder \"" + path + "\": " + SystemReason(errno));
            return false;
        }
    }
    if (!IsDirectory(folder)) {
        problems.push_back("Cannot make the folder \"" + folder + "\": it is not a folder");
        return false;
    }
    return true;
}

bool WriteAll(int descriptor, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

bool ReadAll(const std::string& path, std::string& bytes)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    char buffer[8192];
    ssize_t count = 0;
    while ((count = ::read(descriptor, buffer, sizeof buffer)) != 0) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    const int error = errno;
    ::close(descriptor);
    errno = error;
    return count == 0;
}

// The copy is written whole under a temporary name and then linked to its real name, which fails
// rather than replaces when another start of the program made the file meanwhile.
void CopyIfMissing(const std::string& source, const std::string& target, std::vector<std::string>& problems)
{
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0 || !IsRegularFile(source))
        return;
    const auto fail = [&](int error) {
        problems.push_back("Cannot copy \"" + source + "\" to \"" + target + "\": " + SystemReason(error));
    };
    std::string bytes;
    if (!ReadAll(source, bytes)) {
        fail(errno);
        return;
    }
    std::string temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        fail(errno);
        return;
    }
    const bool written = WriteAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    int error = errno;
    ::close(descriptor);
    if (written && ::link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST) {
        error = errno;
        fail(error);
    } else if (!written) {
        fail(error);
    }
    ::unlink(temporary.c_str());
}

} // namespace

ProgramPlace PlaceOfThisProcess()
{
    return {Variable("ORBIVANE_HOME"), ExecutableFolder(), Variable("XDG_CONFIG_HOME"), Variable("XDG_STATE_HOME"),
            UserHome(), Variable("XDG_CACHE_HOME")};
}

ProgramFolders ChooseProgramFolders(const ProgramPlace& place)
{
    if (!place.Home.empty())
        return OneFolder(place.Home);
    const std::string executable = WithTrailingSlash(place.Executable);
    if (::access(executable.c_str(), W_OK) == 0 && IsRegularFile(executable + kSettingsFile))
        return OneFolder(executable);
    const std::filesystem::path prefix = std::filesystem::path(WithoutTrailingSlash(executable)).parent_path();
    const std::string data = WithTrailingSlash((prefix / "share" / kProgramName).string());
    if (!IsDirectory(data))
        return OneFolder(executable);
    return {ProgramLayout::Installed, data,
            BaseFolder(place.ConfigHome, place.UserHome, ".config/") + kProgramName + "/",
            BaseFolder(place.StateHome, place.UserHome, ".local/state/") + kProgramName + "/",
            BaseFolder(place.CacheHome, place.UserHome, ".cache/") + kProgramName + "/"};
}

ProgramFolders CurrentProgramFolders()
{
    return ChooseProgramFolders(PlaceOfThisProcess());
}

std::string StateFolder()
{
    return CurrentProgramFolders().State;
}

namespace {

constexpr std::size_t kReadablePartBytes = 48;

std::uint64_t Fnv1a(const std::string& text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The last kReadablePartBytes of the path with "/" as "-" and anything but letters, digits, "."
// and "_" as "_", so that the name says which folder it is without being one.
std::string ReadablePart(const std::string& root)
{
    std::string part;
    for (const char c : root) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/')
            part += part.empty() || part.back() == '-' ? "" : "-";
        else
            part += std::isalnum(byte) != 0 || c == '.' || c == '_' ? c : '_';
    }
    while (!part.empty() && part.back() == '-')
        part.pop_back();
    if (part.size() > kReadablePartBytes)
        part = part.substr(part.size() - kReadablePartBytes);
    return part.empty() ? "root" : part;
}

} // namespace

std::string StateFileOf(const std::string& root, const std::string& folder, const std::string& extension)
{
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(root)));
    return folder + ReadablePart(root) + "-" + hash + extension;
}

bool MakeStateFolders(const std::string& folder)
{
    std::vector<std::string> problems;
    return MakeFolders(folder, problems);
}

std::vector<std::string> PrepareUserFolders(const ProgramFolders& folders)
{
    std::vector<std::string> problems;
    if (folders.Layout == ProgramLayout::Portable)
        return problems;
    MakeFolders(folders.State, problems);
    if (!MakeFolders(folders.Config, problems))
        return problems;
    for (const char* name : kUserFiles)
        CopyIfMissing(folders.Data + name, folders.Config + name, problems);
    return problems;
}

const char* LayoutName(ProgramLayout layout)
{
    return layout == ProgramLayout::Installed ? "installed" : "portable";
}

} // namespace platform
