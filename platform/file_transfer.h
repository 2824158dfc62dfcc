#pragma once
// The recursive part of a copy or a move, working relative to open folders. A copy writes every
// file and link beside its target and gives it the target's name only when it is whole
// (platform/file_leaf); a folder onto a folder merges, a file onto a folder (or the reverse) is
// refused, and so is an entry onto itself (the same entry reached through another mount or link).
// A move renames; where it cannot (another file system, another mount of one), it copies, and
// deletes of the source only what it copied and only while it is still as it was copied.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/file_entry.h"
#include "platform/file_removal.h"
#include "platform/file_run.h"

namespace platform {

// Why an entry was not put in place although the system had nothing against it.
inline constexpr const char* kFileOntoFolder = "A file cannot replace a folder";
inline constexpr const char* kFolderOntoFile = "A folder cannot replace a file";
inline constexpr const char* kOntoItself = "It is the same entry as its target (another mount or link of it)";
inline constexpr const char* kCopyOfItself = "It is a folder this operation made: the target lies inside the source";

class FileTransfer {
public:
    explicit FileTransfer(FileRun& run) : Run(run) {}

    // `status` is the source's own status (a link's, not its target's), as found before.
    StepEnd Copy(const EntryAt& source, const EntryAt& target, const struct stat& status);
    StepEnd Move(const EntryAt& source, const EntryAt& target, const struct stat& status);

private:
    using EntryStep = StepEnd (FileTransfer::*)(const EntryAt&, const EntryAt&, const struct stat&);

    // Copies or moves each named entry of the open source folder to the same name in the open
    // target folder.
    StepEnd EachEntry(const EntryAt& source, int sourceFolder, const EntryAt& target, int targetFolder,
                      const std::vector<std::string>& names, EntryStep step);
    StepEnd CopyFolder(const EntryAt& source, const EntryAt& target, const struct stat& status);
    // Done once the target folder is made (or found, for a merge) and open.
    StepEnd OpenTargetFolder(const EntryAt& source, const EntryAt& target, const struct stat& status,
                             Descriptor& folder, bool& made);
    // A folder made by the copy takes the source's permissions and times, also after a failure.
    void FinishFolder(int folder, const EntryAt& target, const struct stat& status, std::size_t step, StepEnd& end);
    StepEnd CopyLeaf(const EntryAt& source, const EntryAt& target, const struct stat& status);
    // Done when the target's place is free (`conflict` None) or may be replaced (Replace).
    StepEnd ResolveLeaf(const EntryAt& source, const struct stat& status, const EntryAt& target, Conflict& conflict);
    StepEnd WriteAndInstall(const EntryAt& source, const EntryAt& target, const struct stat& status,
                            Conflict conflict);
    StepEnd MoveOnto(const EntryAt& source, const EntryAt& target, const struct stat& status,
                     const struct stat& existing);
    StepEnd MoveAcross(const EntryAt& source, const EntryAt& target, const struct stat& status, Conflict conflict);
    StepEnd MergeFolder(const EntryAt& source, const EntryAt& target, const struct stat& status);

    FileRun& Run;
    bool FreshFolder = false;       // the entries copied now go into a folder this copy made
    FolderIdentities MadeFolders;   // every folder made here: none of them is ever copied again
    CopiedSources* Copied = nullptr; // not owned; while a move copies: what it read of its source
};

} // namespace platform
