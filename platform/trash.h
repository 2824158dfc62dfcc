#pragma once
// The desktop's trash, kept the way every desktop of this system keeps it (the freedesktop.org
// trash), on the bytes of names: a name in any encoding and of any length goes to the trash and
// comes back as it was, and another program's trash window lists and restores what was put there.
//
// A trash is a folder with "files" (the entries) and "info" ("NAME.trashinfo": the original path,
// percent-encoded, and the deletion date). Entries on the file system of the user's data folder go
// to the home trash ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash); entries on other volumes to
// the trash at the top of their volume ("$top/.Trash/$uid" when the administrator made "$top/.Trash"
// sticky and not a link, else "$top/.Trash-$uid"), never copied to the home trash.
#include <string>

namespace platform {

class Trash {
public:
    virtual ~Trash() = default;
    // Moves the entry (a link itself, never what it points to) into the trash. True with the
    // path it has there; false with the reason, the entry left where it was and nothing left
    // behind. A trash that cannot be used is a failure: nothing is ever deleted in its place.
    virtual bool MoveToTrash(const std::string& path, std::string& pathInTrash, std::string& reason) = 0;
};

class DesktopTrash : public Trash {
public:
    bool MoveToTrash(const std::string& path, std::string& pathInTrash, std::string& reason) override;
};

// The trash's record of an entry: "<trash>/files/NAME" is described by "<trash>/info/NAME.trashinfo".
std::string TrashInfoOf(const std::string& pathInTrash);

// After an entry came back from the trash: its record goes, and its line in the trash's folder sizes.
void ForgetTrashed(const std::string& pathInTrash);

} // namespace platform
