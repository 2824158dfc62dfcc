#include "forms/drag_source.h"

#include <QDrag>
#include <QTimer>

#include "platform/qt_file_clipboard.h"

TDragSource::TDragSource(QWidget* source, std::function<void()> ended) : Source(source), Ended(std::move(ended)) {}

// The drag runs its own event loop: it starts after the mouse event that asked for it is done.
void TDragSource::DragOut(const std::vector<std::string>& paths)
{
    if (Source != nullptr)
        QTimer::singleShot(0, Source, [this, paths] { Run(paths); });
}

void TDragSource::Run(const std::vector<std::string>& paths)
{
    auto* drag = new QDrag(Source); // freed by Qt once the drag is over
    drag->setMimeData(platform::NewMimeData(platform::DragPayloads(paths)));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    Ended();
}
