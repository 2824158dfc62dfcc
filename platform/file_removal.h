#pragma once
// Deletion of an entry with everything it holds. A link is deleted itself and never followed, so
// nothing outside the tree is touched, and a link loop is just a link. A move deletes its source
// the careful way: only what it copied, and only while it is still what was copied.
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_entry.h"
#include "platform/file_journal.h"
#include "platform/file_run.h"

namespace platform {

// Each entry deleted is one step of `unitsPerEntry`. An entry that is already gone is no failure.
StepEnd RemoveEntry(FileRun& run, const std::string& path, std::int64_t unitsPerEntry);

// What a copy read of a source entry: a file's identity and the time of its last change of any
// kind (written to, renamed over, given other times), a folder's device and inode.
struct SourceRead {
    EntryIdentity Identity;
    std::int64_t ChangedNanoseconds = 0;
    bool operator==(const SourceRead&) const = default;
};
SourceRead ReadOf(const struct stat& status);

// Every entry a move's copy read, by its path.
using CopiedSources = std::unordered_map<std::string, SourceRead>;

// Deletes the source of a move across file systems: a file, link or special entry only while it
// is still as it was copied (checked right before it goes), a folder only once it holds nothing
// else. Whatever appeared or changed meanwhile stays and is reported by name, and the folders that
// hold it stay with it. `removed` lists what went, every folder after its entries.
StepEnd RemoveCopied(FileRun& run, const EntryAt& source, const CopiedSources& copied,
                     std::vector<RemovedEntry>& removed);

// After a folder was emptied of what the operation took from it: whatever is still in it appeared
// meanwhile, and each of those is reported as changed.
StepEnd ReportLeftIn(FileRun& run, int folder, const std::string& path);

} // namespace platform
