#pragma once
// The file that keeps what the user hid from the ring of one folder: a line naming the format, a
// line naming the folder, and one line per hidden entry (its path below the folder, percent-
// encoded, a folder's ending in "/"). It lives in the "hidden/" folder of the program's state.
#include <set>
#include <string>
#include <vector>

namespace platform {

inline constexpr const char* kHiddenItemsExtension = ".orbivane-hidden";

// StateFolder() + "hidden/".
std::string HiddenItemsFolder();
// The file for the ring of `root` (ending in "/") in HiddenItemsFolder().
std::string HiddenItemsPathOf(const std::string& root);

// Whether `relative` can name an entry below a folder: not empty, no leading "/", no empty, "."
// or ".." step, no NUL byte.
bool IsEntryBelow(const std::string& relative);

// Missing: there is no file. Refused: the file is not one of ours for this folder (not a regular
// file, too large, another format or folder); nothing of it is used.
enum class HiddenRead { Missing, Read, Refused };

struct HiddenItemsRead {
    HiddenRead Outcome = HiddenRead::Missing;
    std::set<std::string> Items;
    // Why the file was refused, or one text per line that was left out.
    std::vector<std::string> Problems;
};

HiddenItemsRead ReadHiddenItems(const std::string& path, const std::string& root);

// Replace: the file is written over. SetAsideFirst: the file there is kept as "<file>.damaged"
// first (it was refused, and may be worth a look).
enum class HiddenWrite { Replace, SetAsideFirst };

// Written under a temporary name and renamed into place; an empty list removes the file. Empty
// on success, else the reason.
std::string WriteHiddenItems(const std::string& path, const std::string& root, const std::set<std::string>& items,
                             HiddenWrite mode);

} // namespace platform
