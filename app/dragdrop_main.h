#pragma once
// Files dragged from other programs and dropped onto the view are moved into the folder under the
// pointer: one batch a drop, then every ring is refreshed. While a drag is over the view the ring
// strip shows, so that a drop can reach any ring.
#include <string>
#include <vector>

#include "engine/qox_object.h"

class QACursor;
class QRElement;

class QACDragDrop : public QOXObject {
    QOX_CLASS(QACDragDrop)
public:
    // Made by the cursor, its owner.
    explicit QACDragDrop(QACursor* cursor);

    void SetDragActive(bool active) { DragActive = active; }
    bool IsDragActive() const { return DragActive; }

    // The view's drag events, at a point of the view in pixels. The view answers an enter and a
    // move carrying local file URLs with the copy action.
    void DragEnter(float x, float y);
    void DragMove(float x, float y);
    void DragLeave();
    // `urls`: the dropped list, one URL each (the lines of its text/uri-list).
    void Drop(const std::vector<std::string>& urls, float x, float y);
    // Moves the local files among `urls` into the folder of the element under the pointer now
    // (the element's own folder for a file); refreshes every ring in any case.
    void HandleDrop(const std::vector<std::string>& urls);

    bool DragActive = false; // a drag from another program is over the view

private:
    void Follow(float x, float y);
    void DropFiles(const std::vector<std::string>& paths, QRElement* target);

    QACursor* Cursor = nullptr; // not owned; the owner
};
