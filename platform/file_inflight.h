#pragma once
// What a copy or a move that is killed (or loses its power) leaves behind, written down before it
// is left: the folders that partial files are written into, and the folders made by the copy,
// which stay owner-only until their entries are in. The next start finds what such an operation
// left (`FindLeftovers`), and "Clean up" removes the partial files and gives the folders their
// modes (`CleanUp`). Files that were put in place whole are never touched.
#include <sys/stat.h>
#include <sys/types.h>

#include <set>
#include <string>
#include <vector>

#include "platform/file_entry.h"
#include "platform/file_journal.h"
#include "platform/file_operation.h"

namespace platform {

// Every file is written under a name that says what it is, in the folder of its final name, and
// renamed to that name when whole.
inline constexpr const char* kPartialPrefix = ".orbivane-partial-";
// "<prefix><name>", then "<prefix><attempt>-<name>" while names are taken; cut to the longest name
// the system allows.
std::string PartialName(const std::string& name, int attempt);

// The journal of one running operation: a file of its own in the journal folder, locked while the
// operation runs so that no other start takes it for the journal of a killed one, and removed when
// the operation ends.
class InFlightJournal {
public:
    // Nothing is written when `folder` is empty; the file is made when first needed.
    explicit InFlightJournal(const std::string& folder);
    ~InFlightJournal();
    InFlightJournal(const InFlightJournal&) = delete;
    InFlightJournal& operator=(const InFlightJournal&) = delete;

    // Before the first partial file is written into `folder`.
    void WritingInto(const std::string& folder);
    // A folder just made and owner-only while it is filled, with the mode it is to get.
    void MadeFolder(const std::string& path, const struct stat& made, mode_t finalMode);

private:
    bool Started();
    bool Append(const std::string& line);

    std::string Folder; // where the journal is to be made; empty once it was tried
    std::string Path;
    Descriptor File;
    std::set<std::string> Known; // the folders written down
};

struct LeftEntry {
    std::string Path;
    EntryIdentity Identity; // as it was found
    mode_t Mode = 0;        // a folder: the mode it was to get
};

struct Leftovers {
    std::vector<std::string> Journals;   // of operations that did not end
    std::vector<LeftEntry> PartialFiles; // written under a partial name and never put in place
    std::vector<LeftEntry> OwnerOnlyFolders;
    bool NothingLeft() const { return PartialFiles.empty() && OwnerOnlyFolders.empty(); }
};

// The journals in `folder` of operations that did not end (their process is gone) and what they
// left that is still there as they left it.
Leftovers FindLeftovers(const std::string& folder);

// Removes the partial files and gives the folders their modes, each only while it is still what was
// found, then the journals. The failures, each with its path.
std::vector<FileFailure> CleanUp(const Leftovers& leftovers);

} // namespace platform
