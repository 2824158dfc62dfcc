#pragma once
// Files handed to and taken from other programs through the desktop's clipboard and drags: the
// formats Linux file managers read and write (a text/uri-list of file URLs, the GNOME list with
// "cut" or "copy" on its first line, and the KDE cut marker), and the clipboard itself behind a
// small interface, so that the application needs no window toolkit.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What a paste of the files does: move them (after a cut) or copy them.
enum class ClipboardKind { Copy, Cut };

struct ClipboardFiles {
    std::vector<std::string> Paths; // full local paths, as bytes (a name need not be UTF-8)
    ClipboardKind Kind = ClipboardKind::Copy;
    bool operator==(const ClipboardFiles&) const = default;
};

// The contents of a clipboard or a drag: the bytes of each format, by MIME type.
using MimePayloads = std::map<std::string, std::string>;

inline constexpr const char* kUriListFormat = "text/uri-list";
inline constexpr const char* kGnomeFilesFormat = "x-special/gnome-copied-files";
inline constexpr const char* kKdeCutFormat = "application/x-kde-cutselection";

// A "file://" URL of a path, every byte outside the unreserved ones escaped, so that spaces, line
// breaks, "#", "%" and names that are not UTF-8 come back byte for byte.
std::string FileUrlOf(const std::string& path);
// The text/uri-list of the paths (CRLF after each URL).
std::string UriListOf(const std::vector<std::string>& paths);

// What a drag of the files carries: the URL list.
MimePayloads DragPayloads(const std::vector<std::string>& paths);
// What Cut and Copy put on the clipboard: the URL list, the GNOME list, and after a cut the KDE
// marker.
MimePayloads ClipboardPayloads(const ClipboardFiles& files);
// The local files of a clipboard's contents, whoever put them there: a cut when the GNOME list
// says "cut" or the KDE marker is "1". URLs of other machines or schemes are left out; none when
// no local file is left.
std::optional<ClipboardFiles> FilesOfPayloads(const MimePayloads& payloads);

// The desktop's clipboard as the program uses it for files.
class FileClipboard {
public:
    virtual ~FileClipboard() = default;
    // Puts the files on the clipboard in every format above; the program now holds it.
    virtual void Put(const ClipboardFiles& files) = 0;
    // Whether what is on the clipboard is still what this program put there last.
    virtual bool HoldsOurs() const = 0;
    // The local files on the clipboard, none when it holds no file.
    virtual std::optional<ClipboardFiles> Files() const = 0;
    // Empties the clipboard (after a cut was pasted: its files are no longer where it says).
    virtual void Clear() = 0;
};

} // namespace platform
