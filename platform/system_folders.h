#pragma once
// Folders the program starts in: the system drive, the programs folder and the user's documents.
#include <string>

namespace platform {

// The folder named by an environment variable, with a trailing "/". "SYSTEMDRIVE" falls back to
// "/" and "PROGRAMFILES" to "/usr/" when unset; other names to "/".
std::string SpecialFolder(const std::string& variable);

// The user's home folder with a trailing "/" ($HOME, else the password database, else "/").
std::string HomeFolder();

// A typed folder as a shell would read it: "~" and "~/..." in the user's home folder, "~name" and
// "~name/..." in that user's; anything else, and "~name" of no such user, as it stands.
std::string ExpandHome(const std::string& path);

} // namespace platform
