#pragma once
// One file, link or special entry copied beside its target under a temporary name and only then
// renamed to the target's name, so that no half-written entry ever carries a real name.
#include <sys/stat.h>

#include <functional>
#include <string>

#include "platform/file_journal.h"
#include "platform/file_run.h"

namespace platform {

// The permission bits a copy gets: the source's, without set-user and set-group (a copy belongs to
// whoever made it).
mode_t CopyMode(const struct stat& status);
// Gives an entry (a link itself) the access and modification times of `status`; 0 or the error.
int SetTimes(const std::string& path, const struct stat& status);

class LeafCopy {
public:
    // `status` is the source's own status.
    LeafCopy(FileRun& run, const std::string& source, const struct stat& status, const std::string& target);
    // Removes what was written and not put in place.
    ~LeafCopy();
    LeafCopy(const LeafCopy&) = delete;
    LeafCopy& operator=(const LeafCopy&) = delete;

    // Writes the entry with its permissions and times under a temporary name.
    StepEnd Write();
    // Gives it the target's name: a free name that nothing took meanwhile (Conflict::None), or in
    // one step in place of the entry there (Replace). An entry that appeared meanwhile is handed to
    // `resolve`, which decides again.
    StepEnd Install(Conflict conflict, const std::function<StepEnd(Conflict&)>& resolve);

private:
    StepEnd WriteFile();
    StepEnd WriteOther();
    // 0 or the error of putting the written entry under the target's name.
    int Place(Conflict conflict);

    FileRun& Run;
    const std::string& Source;
    const struct stat& Status;
    const std::string& Target;
    std::string Temporary;  // the temporary entry, removed with this object unless it was put in place
    EntryIdentity Identity; // of what was written
};

} // namespace platform
