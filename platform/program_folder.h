#pragma once
#include <string>

namespace platform {

// The program folder with a trailing "/": ORBIVANE_HOME when set (tests, portable installs),
// otherwise the folder of the running executable.
std::string ProgramFolder();

} // namespace platform
