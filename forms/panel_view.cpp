#include "forms/panel_view.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <utility>

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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    View->installEventFilter(this);
}

TPanelView::~TPanelView()
{
    if (Container == nullptr)
        delete View;
}

// Under Wayland a GL window embedded before its main window was first shown is never exposed, so
// the view stays black; embedded afterwards it draws. X11 does not mind either way.
void TPanelView::Embed()
{
    if (Container != nullptr)
        return;
    Container = QWidget::createWindowContainer(View, this);
    Container->setFocusPolicy(Qt::StrongFocus);
    layout()->addWidget(Container);
    Container->show();
}

bool TPanelView::IsShown() const
{
    return View->isExposed();
}

void TPanelView::TakeFocus()
{
    // While the view's own window has the keyboard, focusing its container again can leave the
    // server's focus on the main window instead: its widgets (or none) then take the keys, and the
    // view hears nothing until it is clicked.
    if (Container != nullptr && QGuiApplication::focusWindow() != View)
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

// The GL view lies exactly over this panel, so its event positions are the panel's too. Drag
// events go straight to the panel's handlers: sent on, Qt would deliver a drag's moves and drop to
// the widget that took its enter (the view's container), which hands them back to the view.
bool TPanelView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != View || !IsInputEvent(event->type()))
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
        dragEnterEvent(static_cast<QDragEnterEvent*>(event));
        break;
    case QEvent::DragMove:
        dragMoveEvent(static_cast<QDragMoveEvent*>(event));
        break;
    case QEvent::DragLeave:
        dragLeaveEvent(static_cast<QDragLeaveEvent*>(event));
        break;
    case QEvent::Drop:
        dropEvent(static_cast<QDropEvent*>(event));
        break;
    default:
        QCoreApplication::sendEvent(this, event);
    }
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
    if (OnKeyPress)
        OnKeyPress(KeyPressOf(*event));
}

QAKeyPress TPanelView::KeyPressOf(const QKeyEvent& event)
{
    static const std::pair<int, QAKey> kKeys[] = {
        {Qt::Key_Left, QAKey::Left},   {Qt::Key_Right, QAKey::Right},         {Qt::Key_Up, QAKey::Up},
        {Qt::Key_Down, QAKey::Down},   {Qt::Key_Return, QAKey::Enter},        {Qt::Key_Enter, QAKey::Enter},
        {Qt::Key_Home, QAKey::Home},   {Qt::Key_Backspace, QAKey::Backspace}, {Qt::Key_Space, QAKey::Space},
        {Qt::Key_A, QAKey::A},         {Qt::Key_F, QAKey::F},                 {Qt::Key_0, QAKey::Zero},
        {Qt::Key_Menu, QAKey::Menu},   {Qt::Key_F10, QAKey::F10},             {Qt::Key_Plus, QAKey::Plus},
        {Qt::Key_Minus, QAKey::Minus},
    };
    QAKeyPress press;
    for (const auto& [qtKey, key] : kKeys)
        if (event.key() == qtKey)
            press.Key = key;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        press.Modifiers |= kShift;
    if (modifiers & Qt::ControlModifier)
        press.Modifiers |= kCtrl;
    if (modifiers & Qt::AltModifier)
        press.Modifiers |= kAlt;
    press.Text = event.text().toStdString();
    return press;
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
