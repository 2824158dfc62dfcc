#pragma once
// Where the program's files lie, in one of two layouts chosen at start:
// - portable: one folder holds the program's data, its settings and list files, its log and its
//   state (the build folder, `make run`, the tests, ORBIVANE_HOME);
// - installed: read-only data in <prefix>/share/orbivane/, each user's settings and list files in
//   $XDG_CONFIG_HOME/orbivane/, the log and program state in $XDG_STATE_HOME/orbivane/ and what
//   can be made again (the texture cache) in $XDG_CACHE_HOME/orbivane/.
#include <string>
#include <vector>

namespace platform {

enum class ProgramLayout { Portable, Installed };

// The four folders of a layout, each with a trailing "/"; in the portable layout they are one.
struct ProgramFolders {
    ProgramLayout Layout = ProgramLayout::Portable;
    std::string Data;   // textures, fonts, materials, shaders, the manual, the shipped settings and lists
    std::string Config; // the settings file and the list files the program reads and writes
    std::string State;  // the log and the program's own state: operation journals, size histories
    std::string Cache;  // what the program can make again and keeps only to start faster
};

// What the layout is chosen from.
struct ProgramPlace {
    std::string Home;       // ORBIVANE_HOME; empty when unset
    std::string Executable; // the folder of the running executable
    std::string ConfigHome; // XDG_CONFIG_HOME; used only when it is an absolute path
    std::string StateHome;  // XDG_STATE_HOME; used only when it is an absolute path
    std::string UserHome;   // HOME, else the user's home in the password database
    std::string CacheHome;  // XDG_CACHE_HOME; used only when it is an absolute path
};

// The place of this process: its environment and its executable (/proc/self/exe).
ProgramPlace PlaceOfThisProcess();

// Portable when `Home` is set, or when the executable's folder is writable and holds
// orbivane.ini; installed when <executable folder>/../share/orbivane/ exists; otherwise portable
// in the executable's folder (a copy without settings file still finds its pictures).
ProgramFolders ChooseProgramFolders(const ProgramPlace& place);

// This process's folders, chosen anew at each call (ORBIVANE_HOME may change between tests).
ProgramFolders CurrentProgramFolders();
// The folder for the log and every other file of program state (journals of file operations,
// size histories). Parts that keep state ask here, never for the program or data folder, which an
// installed copy cannot write.
std::string StateFolder();
// The file in `folder` that keeps state about the folder `root`: a readable part of the path and a
// hash of the whole ("home-ann-Music-3f09c2a1d6e4b871" + extension).
std::string StateFileOf(const std::string& root, const std::string& folder, const std::string& extension);
// Makes `folder` (ending in "/") and the folders above it that are missing, owner-only; false
// with errno set when one cannot be made.
bool MakeStateFolders(const std::string& folder);

// The settings file and the list files the program ships defaults for.
inline constexpr const char* kUserFiles[] = {"orbivane.ini", "views.ini", "favorites.ini", "recent.ini"};

// For the installed layout: makes the settings and state folders (owner-only, as the XDG base
// directories ask) and copies each of kUserFiles that is missing from the settings folder out of
// the data folder. An existing file, even an empty or broken one, is never written over. Nothing
// to do in the portable layout. Returns one text for each failure.
std::vector<std::string> PrepareUserFolders(const ProgramFolders& folders);

// "portable" or "installed".
const char* LayoutName(ProgramLayout layout);

} // namespace platform
