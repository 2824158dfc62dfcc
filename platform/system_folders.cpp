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

std::string ExpandHome(const std::string& path)
{
    if (path.empty() || path.front() != '~')
        return path;
    const std::size_t slash = path.find('/');
    const std::string name = path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
    const std::string rest = slash == std::string::npos ? "" : path.substr(slash + 1);
    if (name.empty())
        return HomeFolder() + rest;
    const passwd* user = ::getpwnam(name.c_str());
    if (user == nullptr || user->pw_dir == nullptr)
        return path;
    return WithTrailingSlash(user->pw_dir) + rest;
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
