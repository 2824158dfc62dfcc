#pragma once
// What the ring model asks of the parts above it without knowing them: removing entries from the
// disk, and telling whoever keeps references to elements that one is being freed.
#include <string>

class QRElement;

// The two deletion entry points (the cursor's file operations). Each answers whether the entry is
// gone from the disk; an element whose entry is still there stays on its ring.
class QRDeletion {
public:
    virtual ~QRDeletion() = default;
    virtual bool DeleteFolderFromDisk(const std::string& path) = 0;
    virtual bool DeleteFileFromDisk(const std::string& path) = 0;
};

// Told about every element before it is freed, so that lists of references (the clipboard's files
// to copy, the picked element) never hold a freed one. A subtree freed whole (a folder that went, a
// ring that closed) is told once, by its top: the watcher forgets the element and everything below
// it (QRElement::IsWithin). The elements are still whole while it is told.
class QRElementWatcher {
public:
    virtual ~QRElementWatcher() = default;
    virtual void ElementFreed(const QRElement* element) = 0;
};

// What a walk that may end elements tells its caller. Removed: the element's entry is gone, and the
// owner (its folder, or the application for a ring's root) frees it; the element does nothing more.
enum class QROutcome { Kept, Removed };
