#pragma once
// File lists dropped from other programs: the text/uri-list form (one URL a line, lines beginning
// with "#" are comments) and the local path of a "file:" URL.
#include <string>
#include <vector>

namespace platform {

// The URLs of a text/uri-list, in order, without comments and empty lines.
std::vector<std::string> SplitUriList(const std::string& payload);

// The path of a "file:" URL whose host is empty or "localhost", its escapes decoded byte for byte
// (a file name need not be UTF-8, and the path is never cut). False for any other URL.
bool LocalPathOfUrl(const std::string& url, std::string& path);

} // namespace platform
