#pragma once
// One file, link or special entry copied beside its target under a partial name and only then
// renamed to the target's name, so that no half-written entry ever carries a real name.
#include <sys/stat.h>

#include <functional>
#include <string>

#include "platform/file_entry.h"
#include "platform/file_journal.h"
#include "platform/file_run.h"

namespace platform {

// The permission bits a copy gets: the source's, without set-user and set-group (a copy belongs to
// whoever made it).
mode_t CopyMode(const struct stat& status);

class LeafCopy {
public:
    // `status` is the source's own status, as the operation found it.
    LeafCopy(FileRun& run, const EntryAt& source, const struct stat& status, const EntryAt& target);
    // Removes what was written and not put in place.
    ~LeafCopy();
    LeafCopy(const LeafCopy&) = delete;
    LeafCopy& operator=(const LeafCopy&) = delete;

    // Writes the entry with its permissions and times under a partial name. A source that is no
    // longer the entry found (swapped for a link, a pipe, a folder) is reported and not read.
    StepEnd Write();
    // Gives it the target's name: a free name that nothing took meanwhile (Conflict::None), or in
    // one step in place of the entry there (Replace). An entry that appeared meanwhile is handed to
    // `resolve`, which decides again.
    StepEnd Install(Conflict conflict, const std::function<StepEnd(Conflict&)>& resolve);
    // The source as it was when it was read: a move deletes it only while it is still that.
    const struct stat& SourceAsRead() const { return AsRead; }

private:
    StepEnd WriteFile();
    StepEnd WriteOther();
    // Makes the partial entry with `make` (0 or the error), trying other names while one is taken.
    template <class Make>
    int MakePartial(Make make);
    // 0 or the error of putting the written entry under the target's name.
    int Place(Conflict conflict);

    FileRun& Run;
    const EntryAt& Source;
    const struct stat& Status;
    const EntryAt& Target;
    std::string Partial;    // its name in the target's folder; removed with this object unless put in place
    EntryIdentity Identity; // of what was written
    struct stat AsRead = Status;
};

} // namespace platform
