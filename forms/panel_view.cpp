#include "forms/panel_view.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "platform/qt_gl_binding.h"

TPanelView::TPanelView(QWidget* parent) : QWidget(parent)
{
    setObjectName("PanelView");
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    // The keyboard goes to the GL view itself: keys sent there never reach the menu bar, so a bare
    // Alt (the "Rotate" key) cannot hand the keyboard to the menus.
    setFocusPolicy(Qt::NoFocus);
    View = new platform::QtGLView();
    Container = QWidget::createWindowContainer(View, this);
    Container->setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Container);
    View->installEventFilter(this);
}

bool TPanelView::IsShown() const
{
    return View->isExposed();
}

void TPanelView::TakeFocus()
{
    Container->setFocus(Qt::OtherFocusReason);
}

void TPanelView::SetDropHandler(TDropHandler* handler)
{
    DropHandler = handler;
    setAcceptDrops(handler != nullptr);
}

bool TPanelView::IsInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::FocusOut:
    case QEvent::Leave:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// The GL view lies exactly over this panel, so its event positions are the panel's too.
bool TPanelView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != View || !IsInputEvent(event->type()))
        return false;
    QCoreApplication::sendEvent(this, event);
    return true;
}

bool TPanelView::focusNextPrevChild(bool)
{
    return false;
}

// Keys end here: passed on to the window, Tab would move the focus out of the view.
void TPanelView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void TPanelView::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

QAMouseButton TPanelView::ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return QAMouseButton::Right;
    case Qt::MiddleButton:
        return QAMouseButton::Middle;
    default:
        return QAMouseButton::Left;
    }
}

void TPanelView::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(ButtonOf(event->button()));
}

void TPanelView::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove(static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void TPanelView::mouseReleaseEvent(QMouseEvent*)
{
    if (OnMouseUp)
        OnMouseUp();
}

// The second press of a double click comes as the double click alone: it is a press too.
void TPanelView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (OnDoubleClick)
        OnDoubleClick();
    mousePressEvent(event);
}

void TPanelView::dragEnterEvent(QDragEnterEvent* event)
{
    if (DropHandler != nullptr)
        DropHandler->DragEnter(*event);
}

void TPanelView::dragMoveEvent(QDragMoveEvent* event)
{
    if (DropHandler != nullptr)
        DropHandler->DragMove(*event);
}

void TPanelView::dragLeaveEvent(QDragLeaveEvent*)
{
    if (DropHandler != nullptr)
        DropHandler->DragLeave();
}

void TPanelView::dropEvent(QDropEvent* event)
{
    if (DropHandler != nullptr)
        DropHandler->Drop(*event);
}
