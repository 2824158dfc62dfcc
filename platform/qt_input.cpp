#include "platform/qt_input.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace platform {

namespace {

// X11 and Wayland hand out the evdev code plus 8.
constexpr quint32 kEvdevOffset = 8;

struct KeyScanCode {
    int Key;
    int ScanCode;
};

// For window systems without native scan codes. Keys that exist twice (Ctrl, Shift, Alt, Enter)
// read as their left or main-block twin.
constexpr KeyScanCode kKeyScanCodes[] = {
    {Qt::Key_Escape, 1},      {Qt::Key_1, 2},           {Qt::Key_2, 3},           {Qt::Key_3, 4},
    {Qt::Key_4, 5},           {Qt::Key_5, 6},           {Qt::Key_6, 7},           {Qt::Key_7, 8},
    {Qt::Key_8, 9},           {Qt::Key_9, 10},          {Qt::Key_0, 11},          {Qt::Key_Minus, 12},
    {Qt::Key_Equal, 13},      {Qt::Key_Backspace, 14},  {Qt::Key_Tab, 15},        {Qt::Key_Backtab, 15},
    {Qt::Key_Q, 16},          {Qt::Key_W, 17},          {Qt::Key_E, 18},          {Qt::Key_R, 19},
    {Qt::Key_T, 20},          {Qt::Key_Y, 21},          {Qt::Key_U, 22},          {Qt::Key_I, 23},
    {Qt::Key_O, 24},          {Qt::Key_P, 25},          {Qt::Key_BracketLeft, 26}, {Qt::Key_BracketRight, 27},
    {Qt::Key_Return, 28},     {Qt::Key_Control, 29},    {Qt::Key_A, 30},          {Qt::Key_S, 31},
    {Qt::Key_D, 32},          {Qt::Key_F, 33},          {Qt::Key_G, 34},          {Qt::Key_H, 35},
    {Qt::Key_J, 36},          {Qt::Key_K, 37},          {Qt::Key_L, 38},          {Qt::Key_Semicolon, 39},
    {Qt::Key_Apostrophe, 40}, {Qt::Key_QuoteLeft, 41},  {Qt::Key_Shift, 42},      {Qt::Key_Backslash, 43},
    {Qt::Key_Z, 44},          {Qt::Key_X, 45},          {Qt::Key_C, 46},          {Qt::Key_V, 47},
    {Qt::Key_B, 48},          {Qt::Key_N, 49},          {Qt::Key_M, 50},          {Qt::Key_Comma, 51},
    {Qt::Key_Period, 52},     {Qt::Key_Slash, 53},      {Qt::Key_Asterisk, 55},   {Qt::Key_Alt, 56},
    {Qt::Key_Space, 57},      {Qt::Key_CapsLock, 58},   {Qt::Key_F1, 59},         {Qt::Key_F2, 60},
    {Qt::Key_F3, 61},         {Qt::Key_F4, 62},         {Qt::Key_F5, 63},         {Qt::Key_F6, 64},
    {Qt::Key_F7, 65},         {Qt::Key_F8, 66},         {Qt::Key_F9, 67},         {Qt::Key_F10, 68},
    {Qt::Key_NumLock, 69},    {Qt::Key_ScrollLock, 70}, {Qt::Key_Plus, 78},       {Qt::Key_F11, 0x57},
    {Qt::Key_F12, 0x58},      {Qt::Key_Enter, 0x9C},    {Qt::Key_Print, 0xB7},    {Qt::Key_AltGr, 0xB8},
    {Qt::Key_Pause, 0xC5},    {Qt::Key_Home, 0xC7},     {Qt::Key_Up, 0xC8},       {Qt::Key_PageUp, 0xC9},
    {Qt::Key_Left, 0xCB},     {Qt::Key_Right, 0xCD},    {Qt::Key_End, 0xCF},      {Qt::Key_Down, 0xD0},
    {Qt::Key_PageDown, 0xD1}, {Qt::Key_Insert, 0xD2},   {Qt::Key_Delete, 0xD3},   {Qt::Key_Meta, 0xDB},
    {Qt::Key_Menu, 0xDD},
};

int ScanCodeFromKey(int key)
{
    for (const KeyScanCode& entry : kKeyScanCodes) {
        if (entry.Key == key)
            return entry.ScanCode;
    }
    return 0;
}

int ButtonIndex(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 0;
    case Qt::RightButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    case Qt::BackButton:
        return 3;
    default:
        return -1;
    }
}

} // namespace

QtInput::QtInput(QWidget* view, std::string joystickBasePath) : View(view), Sticks(std::move(joystickBasePath))
{
    if (View == nullptr)
        return;
    View->setMouseTracking(true);
    View->installEventFilter(this);
}

QtInput::~QtInput()
{
    if (View != nullptr)
        View->removeEventFilter(this);
}

ScreenPoint QtInput::Origin() const
{
    const QPoint origin = View != nullptr ? View->mapToGlobal(QPoint(0, 0)) : QPoint();
    return {origin.x(), origin.y()};
}

int QtInput::Width() const
{
    return View != nullptr ? View->width() : 0;
}

int QtInput::Height() const
{
    return View != nullptr ? View->height() : 0;
}

int QtInput::ScanCode(const QKeyEvent& event)
{
    const quint32 native = event.nativeScanCode();
    const int fromEvdev = native > kEvdevOffset ? ScanCodeFromEvdev(static_cast<int>(native - kEvdevOffset)) : 0;
    return fromEvdev != 0 ? fromEvdev : ScanCodeFromKey(event.key());
}

ScreenPoint QtInput::ToScreen(const QMouseEvent& event) const
{
    const QPoint global = View->mapToGlobal(event.position().toPoint());
    return {global.x(), global.y()};
}

void QtInput::OnKey(const QKeyEvent& event, bool down)
{
    // Held keys repeat as press-release pairs; the key stays down until it really comes up.
    if (event.isAutoRepeat())
        return;
    const int code = ScanCode(event);
    if (down)
        Events.KeyDown(code);
    else
        Events.KeyUp(code);
}

void QtInput::OnMouseButton(const QMouseEvent& event, bool down)
{
    Events.PointerAt(ToScreen(event));
    if (down)
        Events.ButtonDown(ButtonIndex(event.button()));
    else
        Events.ButtonUp(ButtonIndex(event.button()));
}

bool QtInput::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != View)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        OnKey(static_cast<const QKeyEvent&>(*event), event->type() == QEvent::KeyPress);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        OnMouseButton(static_cast<const QMouseEvent&>(*event), event->type() != QEvent::MouseButtonRelease);
        break;
    case QEvent::MouseMove:
        Events.PointerAt(ToScreen(static_cast<const QMouseEvent&>(*event)));
        break;
    case QEvent::Leave:
        Events.PointerLeft();
        break;
    case QEvent::Wheel:
        Events.WheelTurned(static_cast<const QWheelEvent&>(*event).angleDelta().y());
        break;
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        Events.ReleaseAll();
        break;
    default:
        break;
    }
    return false;
}

} // namespace platform
