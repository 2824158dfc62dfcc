#pragma once
// What a file operation did, step by step, with the identity of every entry it left behind, so
// that it can be undone only while the disk still holds what the operation made.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Enough of an entry's status to tell whether it was changed, replaced or removed since.
struct EntryIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    mode_t Type = 0; // the file-type bits
    std::int64_t Size = 0;
    std::int64_t ModifiedNanoseconds = 0;
    bool operator==(const EntryIdentity&) const = default;
};

// The identity of the entry itself (a link, not what it points to); false when it cannot be had.
bool IdentityOf(const std::string& path, EntryIdentity& identity);
EntryIdentity IdentityOf(const struct stat& status);

enum class StepKind {
    Created,  // Path was made (a copy, a new file or folder); undone by removing it
    Moved,    // From was moved to Path; undone by moving it back
    Merged,   // the folder From was emptied into Path and removed; undone by making it again
    Trashed,  // From went to the trash, where it is Path; undone by restoring it
};

struct JournalStep {
    StepKind Kind = StepKind::Created;
    std::string Path;
    std::string From;
    EntryIdentity Identity; // of Path, as the operation left it
    mode_t Mode = 0;        // Merged: the permissions of the folder removed
};

// An entry of a move's source that went once it was copied.
struct RemovedEntry {
    std::string Path;
    bool Folder = false;
    mode_t Mode = 0; // a folder's permissions
};

struct FileJournal {
    std::vector<JournalStep> Steps; // in the order they were done
    bool ReplacedEntries = false;   // an entry was overwritten: the operation cannot be undone

    bool Empty() const { return Steps.empty(); }
    // Records a step with the identity Path has now.
    void Add(StepKind kind, const std::string& path, const std::string& from = "", mode_t mode = 0);
    // Records an entry made with the identity it was given.
    void AddCreated(const std::string& path, const EntryIdentity& identity);
    // The steps from `mark` on copied `source` to `target`, and only the `removed` part of the
    // source went: each copy whose source went becomes a move, and each folder that went is made
    // again (those steps come last, so that undoing, newest first, makes the folders before their
    // entries come back).
    void KeepPartialMove(std::size_t mark, const std::string& source, const std::string& target,
                         const std::vector<RemovedEntry>& removed);
};

} // namespace platform
