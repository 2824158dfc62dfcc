#pragma once
// A real folder tree in a temporary folder, built entry by entry: files of given sizes, folders,
// hidden entries (a leading dot in the name), symbolic and hard links, named pipes, sockets and
// folders that cannot be read.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

class FileTree {
public:
    FileTree() = default;
    ~FileTree(); // gives unreadable folders their permissions back so that they can be removed
    FileTree(const FileTree&) = delete;
    FileTree& operator=(const FileTree&) = delete;

    // The root with a trailing "/".
    const std::string& Root() const { return Folder.Path(); }
    std::string PathOf(const std::string& relativeName) const { return Root() + relativeName; }

    // Each returns the full path of what it made; parent folders are made as needed.
    std::string File(const std::string& relativeName, std::uintmax_t size = 0) const;
    std::string MakeFolder(const std::string& relativeName) const;
    std::string Link(const std::string& relativeName, const std::string& target) const;
    // A second name for an existing file of the tree.
    std::string HardLink(const std::string& relativeName, const std::string& existingRelativeName) const;
    std::string Pipe(const std::string& relativeName) const;
    std::string Socket(const std::string& relativeName) const;
    // A folder without any permissions. Its listing fails once PermissionsApply holds.
    std::string UnreadableFolder(const std::string& relativeName) const;
    // Makes file permissions bind this process: root gives up its override of them (for the rest
    // of the process; every test runs in a process of its own). False when that is not possible.
    static bool PermissionsApply();

    void Remove(const std::string& relativeName) const;

    // What the disk holds below a folder of the tree, counted here without the program: the bytes
    // of its regular files (a file with several names once), its files (every entry that is not a
    // folder) and its folders; links are never followed.
    struct Sums {
        std::int64_t Bytes = 0;
        std::int64_t Allocated = 0; // the same files' blocks
        std::int64_t Files = 0;
        std::int64_t Folders = 0;
    };
    Sums SumsBelow(const std::string& relativeFolder) const;

private:
    TempFolder Folder;
    mutable std::vector<std::string> Unreadable;
};
