#pragma once
#include <string>

namespace platform {

// The user's documents folder with a trailing "/": the desktop's documents location when that
// folder exists, else the home folder. Lives in orbivane_platform_files_qt.
std::string DocumentsFolder();

} // namespace platform
