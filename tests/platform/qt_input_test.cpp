#include "platform/qt_input.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <memory>

#include "tests/support/temp_folder.h"

namespace {

// X11 gives evdev codes plus 8 as native scan codes.
constexpr quint32 kNativeTab = 15 + 8;
constexpr quint32 kNativeUp = 103 + 8;

class QtInputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QApplication::instance() == nullptr) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "orbivane_platform_input_tests";
            static char* argv[] = {name, nullptr};
            // Kept to the end of the process: Qt's own globals must not die before it.
            static QApplication* application = new QApplication(argc, argv);
            (void)application;
        }
    }
    void SetUp() override
    {
        Window.setGeometry(200, 100, 800, 600);
        View = new QWidget(&Window);
        View->setGeometry(30, 40, 640, 480);
        Input = std::make_unique<platform::QtInput>(View, Joysticks.Path() + "js");
    }

    void Key(QEvent::Type type, int key, quint32 native, bool autoRepeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, native, 0, 0, QString(), autoRepeat);
        QCoreApplication::sendEvent(View, &event);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
    {
        QMouseEvent event(type, QPointF(at), QPointF(View->mapToGlobal(at)), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(View, &event);
    }
    void Wheel(int angle)
    {
        QWheelEvent event(QPointF(5, 5), QPointF(View->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(View, &event);
    }
    void Send(QEvent::Type type)
    {
        QEvent event(type);
        QCoreApplication::sendEvent(View, &event);
    }
    bool KeyDown(int code)
    {
        platform::KeyboardState state;
        Input->Keyboard()->Poll(state);
        return state.Keys[static_cast<std::size_t>(code)] == platform::kDown;
    }
    platform::MouseState PollMouse()
    {
        platform::MouseState state;
        Input->Mouse()->Poll(state);
        return state;
    }

    TempFolder Joysticks;
    QWidget Window;
    QWidget* View = nullptr; // owned by Window
    std::unique_ptr<platform::QtInput> Input;
};

TEST_F(QtInputTest, KeysComeByScanCodeFromEvdevOrFromTheKey)
{
    ASSERT_TRUE(Input->Start());
    Key(QEvent::KeyPress, Qt::Key_Tab, kNativeTab);
    Key(QEvent::KeyPress, Qt::Key_Up, kNativeUp);
    Key(QEvent::KeyPress, Qt::Key_Space, 0);
    Key(QEvent::KeyPress, Qt::Key_Control, 0);
    EXPECT_TRUE(KeyDown(15));
    EXPECT_TRUE(KeyDown(0xC8));
    EXPECT_TRUE(KeyDown(57));
    EXPECT_TRUE(KeyDown(29));
    Key(QEvent::KeyRelease, Qt::Key_Tab, kNativeTab);
    EXPECT_FALSE(KeyDown(15));
    EXPECT_TRUE(KeyDown(57));
}

TEST_F(QtInputTest, AutoRepeatNeverReleasesAHeldKey)
{
    Key(QEvent::KeyPress, Qt::Key_Tab, kNativeTab);
    Key(QEvent::KeyRelease, Qt::Key_Tab, kNativeTab, true);
    EXPECT_TRUE(KeyDown(15));
    Key(QEvent::KeyPress, Qt::Key_Tab, kNativeTab, true);
    Key(QEvent::KeyRelease, Qt::Key_Tab, kNativeTab);
    EXPECT_FALSE(KeyDown(15));
}

TEST_F(QtInputTest, LosingFocusReleasesKeysAndButtons)
{
    for (QEvent::Type lost : {QEvent::FocusOut, QEvent::WindowDeactivate}) {
        Key(QEvent::KeyPress, Qt::Key_Shift, 42 + 8);
        Mouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton);
        ASSERT_TRUE(KeyDown(42));
        ASSERT_EQ(PollMouse().Buttons[0], platform::kDown);
        if (lost == QEvent::FocusOut) {
            QFocusEvent event(QEvent::FocusOut);
            QCoreApplication::sendEvent(View, &event);
        } else {
            Send(lost);
        }
        EXPECT_FALSE(KeyDown(42));
        EXPECT_EQ(PollMouse().Buttons[0], 0);
    }
}

TEST_F(QtInputTest, ButtonsMotionAndPointerInViewPixels)
{
    Mouse(QEvent::MouseMove, QPoint(100, 100));
    Mouse(QEvent::MouseMove, QPoint(110, 95));
    Mouse(QEvent::MouseButtonPress, QPoint(112, 95), Qt::BackButton);
    Mouse(QEvent::MouseButtonPress, QPoint(112, 95), Qt::MiddleButton);
    Mouse(QEvent::MouseButtonPress, QPoint(112, 95), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, QPoint(112, 95), Qt::RightButton);
    Mouse(QEvent::MouseButtonPress, QPoint(112, 95), Qt::ForwardButton);
    const platform::MouseState state = PollMouse();
    EXPECT_EQ(state.X, 12);
    EXPECT_EQ(state.Y, -5);
    EXPECT_EQ(state.Buttons, (std::array<std::uint8_t, 4>{0, 0, platform::kDown, platform::kDown}));
    const platform::ScreenPoint pointer = Input->Mouse()->Pointer();
    EXPECT_EQ(pointer.X - Input->Area()->Origin().X, 112);
    EXPECT_EQ(pointer.Y - Input->Area()->Origin().Y, 95);
    EXPECT_EQ(Input->Area()->Origin().X, View->mapToGlobal(QPoint(0, 0)).x());
    EXPECT_EQ(Input->Area()->Width(), 640);
    EXPECT_EQ(Input->Area()->Height(), 480);
    EXPECT_EQ(PollMouse().X, 0);
}

TEST_F(QtInputTest, LeavingTheViewDoesNotCountAsMotion)
{
    Mouse(QEvent::MouseMove, QPoint(10, 10));
    Send(QEvent::Leave);
    Mouse(QEvent::MouseMove, QPoint(600, 400));
    Mouse(QEvent::MouseMove, QPoint(601, 400));
    EXPECT_EQ(PollMouse().X, 1);
}

TEST_F(QtInputTest, WheelNotchesAwayFromTheUserArePositive)
{
    Wheel(120);
    EXPECT_EQ(PollMouse().Z, 1);
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(PollMouse().Z, -2);
    Wheel(40);
    EXPECT_EQ(PollMouse().Z, 0);
    Wheel(80);
    EXPECT_EQ(PollMouse().Z, 1);
}

TEST_F(QtInputTest, EventsReachTheViewUnchanged)
{
    Input.reset();
    EXPECT_TRUE(View->hasMouseTracking());
    auto input = std::make_unique<platform::QtInput>(nullptr);
    EXPECT_FALSE(input->Start());
    EXPECT_EQ(input->Area()->Width(), 0);
}

} // namespace
