#pragma once
// The folder mark of this platform's paths: a trailing "/".
#include <string>

namespace platform {

inline std::string WithTrailingSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// The root "/" keeps its slash.
inline std::string WithoutTrailingSlash(const std::string& path)
{
    if (path.size() > 1 && path.back() == '/')
        return path.substr(0, path.size() - 1);
    return path;
}

} // namespace platform
