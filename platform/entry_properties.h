#pragma once
// What a properties box shows of one entry, read with one status call that does not follow a link.
#include <cstdint>
#include <string>

namespace platform {

enum class EntryType { Missing, File, Folder, Link, Other };

struct EntryProperties {
    EntryType Type = EntryType::Missing;
    std::int64_t Size = 0;       // bytes (a link's: the length of its target's name)
    std::int64_t SizeOnDisk = 0; // bytes in the blocks the entry takes
    std::string Owner;           // user name, or the number when the system knows no name
    std::string Group;
    unsigned Mode = 0;           // the permission bits (07777)
    std::int64_t Modified = 0;   // seconds since 1970
    std::int64_t Accessed = 0;
    std::int64_t Changed = 0;    // status change
    std::string LinkTarget;      // a link's target, as written
};

// Missing (every other field empty) when the entry cannot be read.
EntryProperties ReadEntryProperties(const std::string& path);
// "rwxr-xr-x (755)"; the set-id and sticky bits as ls writes them.
std::string PermissionText(unsigned mode);

} // namespace platform
