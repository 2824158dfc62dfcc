#pragma once
// The sectors of a ring's gathered small items: for each folder whose children are too narrow to
// be told apart on screen, one sector "N small items" that the layout places after the children it
// stands for. A folder's sector is made the first time something of it is gathered and kept while
// the folder lives, hidden while nothing is gathered, so that the pointer and the keyboard cursor
// may rest on it across layouts.
#include <memory>
#include <unordered_map>

class QOXRing;
class QREFolder;
class QRElement;
class QRESummary;

class QRSmallItems {
public:
    explicit QRSmallItems(QOXRing& ring);
    ~QRSmallItems();
    QRSmallItems(const QRSmallItems&) = delete;
    QRSmallItems& operator=(const QRSmallItems&) = delete;

    // The folder's sector, made when first asked for.
    QRESummary& Of(QREFolder& folder);
    // The folder's sector while it stands for something, or none.
    QRESummary* Shown(const QREFolder& folder) const;
    // Hides the folder's sector: nothing of it is gathered now.
    void Hide(const QREFolder& folder);
    // An element is about to be freed with everything below it: the sectors of those folders go.
    void ElementFreed(const QRElement* element);
    void DeselectAll();
    void Clear();

private:
    QOXRing& Ring;
    std::unordered_map<const QRElement*, std::unique_ptr<QRESummary>> Sectors;
};
