#pragma once
// Everything below a folder that a file operation must keep byte for byte: every entry's kind,
// bytes (files), target (links), permission bits and modification time.
#include <sys/types.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

struct EntryRecord {
    char Kind = '?';     // 'f' file, 'd' folder, 'l' link, 'o' other
    std::string Content; // a file's bytes, a link's target
    mode_t Mode = 0;     // the permission bits
    std::int64_t Modified = 0; // nanoseconds since 1970
    bool operator==(const EntryRecord&) const = default;
};

// Paths relative to the folder ("." for the folder itself); empty when the folder is missing.
// A link is recorded, never followed.
using TreeSnapshot = std::map<std::string, EntryRecord>;
TreeSnapshot Snapshot(const std::string& folder);

// The same without the folders' own modification times, which change with every entry that goes
// in or out of them.
TreeSnapshot WithoutFolderTimes(TreeSnapshot snapshot);

// Every folder below `folder` gets its owner's permissions back, so that it can be removed.
void GiveBackPermissions(const std::string& folder);

// The names of temporary entries (".orbivane-...") anywhere below a folder.
std::map<std::string, EntryRecord> TemporaryEntries(const std::string& folder);

// A checksum of bytes (FNV-1a, 64 bits), and one for every regular file below a folder by its path
// relative to the folder ("." for a file given itself), links never followed.
std::uint64_t Checksum(const std::string& bytes);
std::map<std::string, std::uint64_t> FileSums(const std::string& folder);

std::ostream& operator<<(std::ostream& stream, const EntryRecord& record);
