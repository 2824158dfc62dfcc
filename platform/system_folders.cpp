#include "platform/system_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/paths.h"

namespace platform {

namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

std::string SpecialFolder(const std::string& variable)
{
    const std::string value = Variable(variable.c_str());
    if (!value.empty())
        return WithTrailingSlash(value);
    return variable == "PROGRAMFILES" ? "/usr/" : "/";
}

std::string HomeFolder()
{
    std::string home = Variable("HOME");
    if (home.empty()) {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
    }
    return WithTrailingSlash(home);
}

} // namespace platform
