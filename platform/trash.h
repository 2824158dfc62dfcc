#pragma once
// The desktop's trash (the freedesktop.org trash): entries moved there can be restored.
#include <string>

namespace platform {

class Trash {
public:
    virtual ~Trash() = default;
    // Moves the entry (a link itself, never what it points to) into the trash. True with the
    // path it has there; false with the reason, the entry left where it was. A trash that cannot
    // be used is a failure: nothing is ever deleted in its place.
    virtual bool MoveToTrash(const std::string& path, std::string& pathInTrash, std::string& reason) = 0;
};

// The trash of the user's data folder ($XDG_DATA_HOME, else ~/.local/share) for entries on its
// file system, the trash at the top of their file system for others.
class QtTrash : public Trash {
public:
    bool MoveToTrash(const std::string& path, std::string& pathInTrash, std::string& reason) override;
};

} // namespace platform
