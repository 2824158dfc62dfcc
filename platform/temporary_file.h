#pragma once
// A file written whole under a temporary name and flushed to the disk, so that the name it is
// then given only ever holds a complete file.
#include <string>

namespace platform {

struct TemporaryFile {
    std::string Path; // the file made; empty when none is left
    int Error = 0;    // errno of the step that failed, 0 when the bytes are on the disk
};

// Makes a new file from `pattern` (a path ending in "XXXXXX"), writes `bytes` to it and flushes
// it; on failure the file is removed again.
TemporaryFile WriteTemporaryFile(std::string pattern, const std::string& bytes);

} // namespace platform
