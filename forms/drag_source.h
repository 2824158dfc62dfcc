#pragma once
// Files dragged from the view out to other programs: their URL list, offered as a copy, or as a
// move with Shift where the target allows it, through the window system's drag, which holds the
// pointer until the drop.
#include <QPointer>
#include <QWidget>

#include <functional>

#include "app/app_links.h"

class TDragSource : public QADragOutLink {
public:
    // `source` (not owned) is the widget the drags leave from; `ended` runs after each drag.
    TDragSource(QWidget* source, std::function<void()> ended);

    void DragOut(const std::vector<std::string>& paths) override;

private:
    void Run(const std::vector<std::string>& paths);

    QPointer<QWidget> Source; // not owned
    std::function<void()> Ended;
};
