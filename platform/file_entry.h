#pragma once
// Entries reached through open folders. A file operation checks an entry and then uses it; between
// the two another program may swap it for a link, a pipe or a folder. Working relative to the
// descriptor of an open folder, opening without following links and without waiting, and checking
// the type on the open descriptor, every such swap is seen and reported instead of followed.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An open descriptor, closed with this object.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int descriptor) : Fd(descriptor) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : Fd(other.Fd) { other.Fd = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return Fd; }
    bool Valid() const { return Fd >= 0; }
    // Hands the descriptor over to the caller, who closes it.
    int Release()
    {
        const int descriptor = Fd;
        Fd = -1;
        return descriptor;
    }

private:
    int Fd = -1;
};

// An entry as the system finds it: its name in an open folder (the descriptor is not owned), and
// its full path, which only messages, progress and journals use.
struct EntryAt {
    int Folder = -1;
    std::string Name;
    std::string Path;

    // The entry `name` inside this one, once this one is open as `descriptor`.
    EntryAt Child(int descriptor, const std::string& childName) const;
};

// The folder of a path, open, with the entry named in it.
struct OpenedEntry {
    Descriptor Parent;
    EntryAt At;
};
// Opens the folder that holds `path` (links in the folder's own path are followed: it is where the
// user points); 0 or the error.
int OpenParentOf(const std::string& path, OpenedEntry& entry);

// The entry's own status (a link's, not its target's); 0 or the error.
int StatusAt(const EntryAt& entry, struct stat& status);
// Opens the entry as a folder, never through a link, and only while it is still the folder of
// `expected` (device and inode); 0 or the error (ESTALE when another entry took its place).
int OpenFolderAt(const EntryAt& entry, const struct stat& expected, Descriptor& folder);
// Opens the entry as a folder, never through a link, with the status of what was opened.
int OpenFolderAt(const EntryAt& entry, Descriptor& folder, struct stat& status);
// Opens the entry for reading only while it is still the regular file of `expected`, never
// through a link and never waiting on a pipe; `status` is the open file's. 0 or the error.
int OpenFileAt(const EntryAt& entry, const struct stat& expected, Descriptor& file, struct stat& status);

// The names in an open folder (without "." and ".."); 0 or the error.
int NamesIn(int folder, std::vector<std::string>& names);

bool SameEntry(const struct stat& a, const struct stat& b);

// The mount an entry lies on (not followed when it is a link): two entries on the same mount can
// be renamed into each other, others cannot, even on one file system (a bind mount). Where the
// system does not say, the device stands in for it.
std::uint64_t MountOf(int folder, const std::string& name);

// The folder part of a path ("/a/b" -> "/a"; "/a" -> "/") and the last name ("/a/b" -> "b").
std::string ParentOf(const std::string& path);
std::string NameOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);

// The longest start of `name` of at most `bytes` bytes that does not end inside a UTF-8 character.
std::string CutName(const std::string& name, std::size_t bytes);

// Renames without ever replacing an entry of the new name; 0 or the error (EEXIST when taken).
// Where the file system cannot promise that, the name is looked up first.
int RenameNoReplace(const EntryAt& from, const EntryAt& to);
int RenameNoReplace(const std::string& from, const std::string& to);

} // namespace platform
