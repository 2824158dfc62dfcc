#pragma once
// The entries the user hid from a ring: they leave its layout, and their sizes leave the totals
// the ring shows; nothing of them changes on the disk. They are kept per ring folder in a file of
// the program's state, so that they stay hidden after a restart.
#include <set>
#include <string>

class QOXRing;
class QRElement;
class QREFolder;

class QRHiddenItems {
public:
    // Before each layout: follows the ring's folder (the items kept for a new folder are read,
    // and the folders on their way read so that they are on the ring), marks the hidden elements
    // on the ring and sums what each folder leaves out.
    void Mark(QOXRing& ring);
    // Hides an element below the ring's folder and keeps the list; false for the root or an
    // element of another ring.
    bool Hide(QOXRing& ring, QRElement& element);
    // Shows an item again (a path below the ring's folder, as Items() has it); false when it was
    // not hidden.
    bool Show(QOXRing& ring, const std::string& relative);
    // What is hidden: paths below the ring's folder, a folder's ending in "/".
    const std::set<std::string>& Items() const { return Paths; }

private:
    void Load(QOXRing& ring);
    void Save();
    // The sums of hidden sizes and children of the folder and every folder below go back to 0.
    static void ClearSums(QREFolder& folder);

    std::string Folder;          // the ring folder the items are for; empty until read
    std::set<std::string> Paths; // below Folder
    bool Summed = false;         // some folder holds sums of hidden items
    bool FileRefused = false;    // the file was refused: it is set aside before it is written
};
