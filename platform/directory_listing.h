#pragma once
// Reading folders: one pass over a folder gives every entry with what the ring model needs, and a
// single entry can be looked up on its own (info box, attributes).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct DirectoryEntry {
    std::string Name;
    bool Folder = false;      // a folder, or a link to one
    bool Link = false;        // a symbolic link (then Folder tells what it points to)
    bool Hidden = false;      // the name begins with "."
    bool ReadOnly = false;    // the user may not write it (Full detail only)
    std::int64_t Size = -1;   // bytes (Sizes and Full detail)
    std::int64_t Allocated = -1; // bytes of the blocks it takes on the disk (Sizes and Full detail)
    std::int64_t Created = 0; // birth time where kept, else status-change time; seconds since 1970
    std::int64_t LastAccess = 0;
};

// Kinds: name, folder or file, link and hidden, from the directory itself (a status call only for
// links and for file systems that do not report the kind). Sizes: the kinds and the size, one
// status call per entry. Full: every field.
enum class ListingDetail { Kinds, Sizes, Full };

enum class ListingResult { Listed, Missing, Unreadable };

// Called once per entry; the entry (and its name) is valid only during the call.
using EntryVisitor = std::function<void(const DirectoryEntry& entry)>;

// A folder read a few entries at a time, its directory kept open between the calls (a scan that
// goes on across frames). Every entry but "." and ".." comes once, in the order the system
// returns them.
class DirectoryReader {
public:
    DirectoryReader(const std::string& folder, ListingDetail detail);
    ~DirectoryReader();
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    // Hands entries to `visit` for as long as `more` answers true (asked before each); false once
    // the folder has ended (or could not be read on), true while more may follow.
    bool Read(const EntryVisitor& visit, const std::function<bool()>& more);
    // Listed once the folder was read to its end; Missing or Unreadable when it could not be.
    ListingResult Result() const { return Outcome; }

private:
    void* Directory = nullptr; // owned; the open DIR, closed at the end
    ListingDetail Detail;
    ListingResult Outcome = ListingResult::Listed;
    DirectoryEntry Entry; // one for all entries, so that its name keeps its buffer
};

// Hands every entry of `folder` but "." and ".." to `visit`, in the order the system returns them,
// keeping nothing: a folder of many entries costs no allocation per entry. Missing: the folder
// does not exist (or is not a folder); Unreadable: it exists but cannot be read (permissions, I/O
// error), possibly after some entries were handed over.
ListingResult ListDirectory(const std::string& folder, ListingDetail detail, const EntryVisitor& visit);
// The same, collected; `entries` is replaced.
ListingResult ListDirectory(const std::string& folder, ListingDetail detail, std::vector<DirectoryEntry>& entries);

// One entry with every field; false when it does not exist. A trailing "/" is ignored.
bool LookUpEntry(const std::string& path, DirectoryEntry& entry);

bool IsDirectory(const std::string& path);
bool IsFile(const std::string& path);

} // namespace platform
