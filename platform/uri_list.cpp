#include "platform/uri_list.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/percent_encoding.h"

namespace platform {

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::vector<std::string> SplitUriList(const std::string& payload)
{
    std::vector<std::string> urls;
    std::istringstream lines(payload);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() != '#')
            urls.push_back(line);
    }
    return urls;
}

bool LocalPathOfUrl(const std::string& url, std::string& path)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos || !EqualIgnoringCase(url.substr(0, colon), "file"))
        return false;
    const std::size_t end = std::min(url.find_first_of("?#", colon + 1), url.size());
    std::string rest = url.substr(colon + 1, end - colon - 1);
    if (rest.rfind("//", 0) == 0) {
        const std::size_t slash = rest.find('/', 2);
        const std::string host = rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        if (!host.empty() && !EqualIgnoringCase(host, "localhost"))
            return false;
        rest = slash == std::string::npos ? "" : rest.substr(slash);
    }
    return !rest.empty() && rest.front() == '/' && PercentDecoded(rest, path);
}

} // namespace platform
