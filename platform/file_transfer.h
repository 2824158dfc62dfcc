#pragma once
// The recursive part of a copy or a move. A copy writes every file and link beside its target and
// gives it the target's name only when it is whole (platform/file_leaf); a folder onto a folder merges, a file onto a
// folder (or the reverse) is refused. A move renames; across file systems it copies and deletes
// the source only once the whole copy succeeded.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/file_run.h"

namespace platform {

// Why an entry was not put in place although the system had nothing against it.
inline constexpr const char* kFileOntoFolder = "A file cannot replace a folder";
inline constexpr const char* kFolderOntoFile = "A folder cannot replace a file";

class FileTransfer {
public:
    explicit FileTransfer(FileRun& run) : Run(run) {}

    // `status` is the source's own status (a link's, not its target's); the target is the
    // entry's full new path.
    StepEnd Copy(const std::string& source, const std::string& target, const struct stat& status);
    StepEnd Move(const std::string& source, const std::string& target, const struct stat& status);

private:
    using EntryStep = StepEnd (FileTransfer::*)(const std::string&, const std::string&, const struct stat&);

    // Copies or moves each named entry of the source folder to the same name in the target.
    StepEnd EachEntry(const std::string& source, const std::string& target, const std::vector<std::string>& names,
                      EntryStep step);
    StepEnd CopyFolder(const std::string& source, const std::string& target, const struct stat& status);
    StepEnd CopyLeaf(const std::string& source, const std::string& target, const struct stat& status);
    // Done when the target's place is free (`conflict` None) or may be replaced (Replace).
    StepEnd ResolveLeaf(const std::string& source, const struct stat& status, const std::string& target,
                        Conflict& conflict);
    StepEnd WriteAndInstall(const std::string& source, const std::string& target, const struct stat& status,
                            Conflict conflict);
    StepEnd MoveOnto(const std::string& source, const std::string& target, const struct stat& status,
                     const struct stat& existing);
    StepEnd MoveAcross(const std::string& source, const std::string& target, const struct stat& status,
                       Conflict conflict);
    StepEnd MergeFolder(const std::string& source, const std::string& target, const struct stat& status);

    FileRun& Run;
    bool FreshFolder = false; // the entries copied now go into a folder this copy made
};

} // namespace platform
