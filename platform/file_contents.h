#pragma once
// The bytes of one open file into another: the kernel's own copy (copy_file_range) in steps sized
// to take a few milliseconds each, so that the window's events are handled between them, and a
// plain read and write where the kernel cannot copy between the two files. Only the data of a
// sparse file is copied; its holes stay holes (a 10 GiB disk image holding 1 MB takes 1 MB).
#include <sys/stat.h>

#include <string>

#include "platform/file_run.h"

namespace platform {

// Copies `in` (`read` is its status when it was opened) from its start to its end into the empty
// file `out`. A failure names `source` when reading failed and `target` when writing did (disk
// full, quota, read-only file system).
StepEnd CopyContents(FileRun& run, int in, const struct stat& read, int out, const std::string& source,
                     const std::string& target);

} // namespace platform
