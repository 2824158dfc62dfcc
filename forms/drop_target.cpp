#include "forms/drop_target.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include <utility>

#include "app/dragdrop_main.h"
#include "platform/uri_list.h"

namespace {
constexpr const char* kUriList = "text/uri-list";
}

TDropTarget::TDropTarget(QACDragDrop* handler, CallRunner runner) : Handler(handler), Runner(std::move(runner)) {}

// The files are moved, but the source program is told they were copied: it must not delete its own
// copy of what it thinks moved.
bool TDropTarget::AcceptUrls(QDropEvent& event)
{
    if (event.mimeData() == nullptr || !event.mimeData()->hasFormat(kUriList)) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

void TDropTarget::DragEnter(QDragEnterEvent& event)
{
    if (AcceptUrls(event)) {
        const QPointF at = event.position();
        Runner([this, at] { Handler->DragEnter(static_cast<float>(at.x()), static_cast<float>(at.y())); });
    }
}

void TDropTarget::DragMove(QDragMoveEvent& event)
{
    if (AcceptUrls(event)) {
        const QPointF at = event.position();
        Runner([this, at] { Handler->DragMove(static_cast<float>(at.x()), static_cast<float>(at.y())); });
    }
}

void TDropTarget::DragLeave()
{
    Runner([this] { Handler->DragLeave(); });
}

void TDropTarget::Drop(QDropEvent& event)
{
    if (!AcceptUrls(event))
        return;
    const QPointF at = event.position();
    const std::vector<std::string> urls = platform::SplitUriList(event.mimeData()->data(kUriList).toStdString());
    Runner([this, &urls, at] { Handler->Drop(urls, static_cast<float>(at.x()), static_cast<float>(at.y())); });
}
