#pragma once
// The view panel: a black widget that hosts the GL view (a QOpenGLWindow in a window container,
// made once the main window is shown) and takes every key, mouse, wheel, focus and drag event of
// the GL view as its own, so that the input layer (an event filter on this widget) and the main
// window's mouse handlers see one widget.
// It keeps the keyboard focus on Tab, which is a ring command here, not focus navigation.
#include <QEvent>
#include <QWidget>

#include <functional>

#include "app/app_cursor.h"
#include "app/app_keyboard.h"

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;

namespace platform {
class QtGLView;
}

// What the view does with drags from other programs: set on the view to receive them.
class TDropHandler {
public:
    virtual ~TDropHandler() = default;
    virtual void DragEnter(QDragEnterEvent& event) = 0;
    virtual void DragMove(QDragMoveEvent& event) = 0;
    virtual void DragLeave() = 0;
    virtual void Drop(QDropEvent& event) = 0;
};

class TPanelView : public QWidget {
public:
    explicit TPanelView(QWidget* parent);
    ~TPanelView() override;

    // Puts the GL view into the panel, once the main window is on screen; until then the panel is
    // black and the GL view has no native window.
    void Embed();

    // The GL view; owned by its container, a child of this panel.
    platform::QtGLView* GLView() const { return View; }
    // Whether the GL view is on screen.
    bool IsShown() const;
    // Gives the keyboard to the view.
    void TakeFocus();
    // The drop hook: with a handler the view accepts drags and hands each drag event to it;
    // without one (null) it accepts none. Not owned.
    void SetDropHandler(TDropHandler* handler);

    // The mouse handlers of the main window (PanelViewMouseDown, ...), called for the view's events.
    std::function<void(QAMouseButton)> OnMouseDown;
    std::function<void(float x, float y)> OnMouseMove;
    std::function<void()> OnMouseUp;
    std::function<void()> OnDoubleClick;
    // Every key pressed in the view, after the input layer has seen it.
    std::function<void(const QAKeyPress&)> OnKeyPress;

    // The key of a key event as the keyboard cursor knows it.
    static QAKeyPress KeyPressOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static bool IsInputEvent(QEvent::Type type);
    static QAMouseButton ButtonOf(Qt::MouseButton button);

    platform::QtGLView* View = nullptr; // owned by Container, by the panel until Embed
    QWidget* Container = nullptr;       // owned as a child widget; made by Embed
    TDropHandler* DropHandler = nullptr; // not owned
};
