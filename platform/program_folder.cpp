#include "platform/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace platform {

namespace {

std::string ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error).string();
    return exe.parent_path().string();
}

} // namespace

std::string ProgramFolder()
{
    const char* home = std::getenv("ORBIVANE_HOME");
    if (home != nullptr && *home != '\0')
        return WithTrailingSlash(home);
    return WithTrailingSlash(ExecutableFolder());
}

} // namespace platform
