#pragma once
// A small file read whole in one go, as the program's own caches and pictures are.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The whole regular file at `path` into `bytes`, with its status as it was read; false when it is
// gone, unreadable, not a regular file or larger than `mostBytes`. The file is opened without
// blocking, so a pipe found in a file's place is refused instead of waited on.
bool ReadWholeFile(const std::string& path, std::size_t mostBytes, std::vector<std::uint8_t>& bytes,
                   struct stat& status);

} // namespace platform
