#pragma once
// The view as a drop target for files dragged from other programs: a drag that carries a URL list
// (text/uri-list) is answered with the copy action and followed by the cursor's drop handler,
// which moves the files on a drop. A drag of anything else is not accepted.
#include <functional>

#include "forms/panel_view.h"

class QACDragDrop;
class QDropEvent;

class TDropTarget : public TDropHandler {
public:
    // Runs a call into the application: the window wraps each one (no frame meanwhile).
    using CallRunner = std::function<void(const std::function<void()>& call)>;

    // `handler` (not owned) is the cursor's drop handler; it outlives this target's registration.
    TDropTarget(QACDragDrop* handler, CallRunner runner);

    void DragEnter(QDragEnterEvent& event) override;
    void DragMove(QDragMoveEvent& event) override;
    void DragLeave() override;
    void Drop(QDropEvent& event) override;

private:
    // Whether the drag carries URLs; if so it is answered with the copy action.
    static bool AcceptUrls(QDropEvent& event);

    QACDragDrop* Handler = nullptr; // not owned
    CallRunner Runner;
};
