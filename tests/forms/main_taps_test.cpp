// Keys and clicks sent to the real main window as the X server delivers a user's: through its
// test extension (xdotool), to the window under the pointer and with the focus. Every quick tap
// takes effect once, also when frames are slow; the keyboard is back in the view after every
// dialog, box and menu; "-" is a letter of a name being typed.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>

#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "forms/find_bar.h"
#include "forms/main.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kWaitMilliseconds = 8000;
// A frame this slow lets both halves of a tap in before the next frame reads the input.
constexpr unsigned long kSlowFrameMilliseconds = 250;

class TapTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ::setenv("XDG_DATA_HOME", (Home.Path() + "xdg").c_str(), 1);
        Settings.CountFolderSizesInBackground = false; // sectors stay where the pointer is sent
        for (const char* name : {"one.txt", "two.txt", "three.txt"})
            Tree.File(name, 100);
        for (const char* name : {"project-a", "project-b", "rings/a", "rings/b"})
            Tree.MakeFolder(name);
    }
    void TearDown() override
    {
        Xdo({"keyup", "space", "ctrl", "shift"});
        FormTest::TearDown();
        ::unsetenv("XDG_DATA_HOME");
    }

    // Runs xdotool to its end: the server has the events, the window has handled none yet.
    static bool Xdo(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

    // Starts the window with three rings (the tree's, then "rings/a" and "rings/b"); the first is
    // current. The pointer rests over the view.
    void StartWithRings()
    {
        Start();
        App()->CreateRing(Tree.PathOf("rings/a"));
        App()->CreateRing(Tree.PathOf("rings/b"));
        App()->SetCurrentRing(App()->RingAt(0));
        Settle();
        if (!Xdo({"mousemove", "0", "0"}))
            GTEST_SKIP() << "xdotool cannot reach this display";
        Hover(Centre());
    }
    QPoint Centre() const { return {GLView()->width() / 2, GLView()->height() / 2}; }
    void Hover(QPoint viewPoint)
    {
        const QPoint global = GLView()->mapToGlobal(viewPoint);
        Xdo({"mousemove", QString::number(global.x()), QString::number(global.y())});
        WaitFrames(2);
    }
    // A click with the server's own timing: down and up a few milliseconds apart.
    void XClick(QPoint viewPoint, QStringList held = {}, const char* button = "1")
    {
        Hover(viewPoint);
        QStringList arguments;
        for (const QString& key : held)
            arguments << "keydown" << key;
        arguments << "click" << button;
        for (const QString& key : held)
            arguments << "keyup" << key;
        Xdo(arguments);
        WaitFrames(3);
    }
    void XKeys(const QStringList& keys)
    {
        Xdo(QStringList{"key"} + keys);
        WaitFrames(3);
    }
    QRElement* Named(const std::string& name) const { return ChildNamed(*CurrentRing()->Root, name); }
    int RingIndex() const { return App()->Rings->IndexOf(CurrentRing()); }
    // Every frame takes a quarter of a second, as under load on a software renderer.
    void SlowDownFrames()
    {
        QObject::connect(Form->Timer, &QTimer::timeout, Form.get(), [] { QThread::msleep(kSlowFrameMilliseconds); });
    }
    // Once each next dialog, box or menu is up (one after the other), xdotool sends its keys to it,
    // as a user would answer it.
    void AnswerWithKeys(std::deque<QStringList> answers)
    {
        if (answers.empty())
            return;
        auto* poll = new QTimer(Form.get()); // owned by the window; goes once the last answer is sent
        QObject::connect(poll, &QTimer::timeout, poll,
                         [poll, answers, seen = static_cast<QWidget*>(nullptr)]() mutable {
                             QWidget* up = QApplication::activePopupWidget() != nullptr
                                               ? QApplication::activePopupWidget()
                                               : QApplication::activeModalWidget();
                             if (up == nullptr || up == seen || !up->isVisible())
                                 return;
                             seen = up;
                             QProcess::startDetached("xdotool", QStringList{"sleep", "0.3"} + answers.front());
                             answers.pop_front();
                             if (answers.empty())
                                 poll->deleteLater();
                         });
        poll->start(20);
    }
};

// Each tap lasts a few milliseconds, so it begins and ends between two frames; with slow frames
// always. Each takes effect, and only once.
TEST_F(TapTest, EveryTapTakesEffectOnceAlsoWhenFramesAreSlow)
{
    StartWithRings();
    struct Tap {
        const char* Name;
        std::function<void()> Do;
        std::function<void()> Check;
        bool FromTheFirstRing = true; // else from where the tap before left the rings
    };
    int ringBefore = 0;
    std::vector<float> fades;
    QOXRing* chosen = nullptr;
    const std::vector<Tap> taps = {
        {"Tab",
         [&] {
             ringBefore = RingIndex();
             XKeys({"Tab"});
         },
         [&] { EXPECT_EQ(RingIndex(), (ringBefore + 1) % 3); }},
        {"Space",
         [&] {
             ASSERT_TRUE(QTest::qWaitFor([&] { return App()->SceneApp->RingListFade == 0.0f; }, kWaitMilliseconds));
             Xdo({"key", "space"});
             fades.clear();
             for (int frame = 0; frame < 12; ++frame) {
                 WaitFrames(1);
                 fades.push_back(App()->SceneApp->RingListFade);
             }
         },
         [&] {
             EXPECT_GT(*std::max_element(fades.begin(), fades.end()), 0.5f) << "the strip shows";
             EXPECT_TRUE(std::is_sorted(fades.rbegin(), fades.rend())) << "and fades out, shown once";
         }},
        {"Ctrl+C after a Ctrl+click",
         [&] {
             XClick(ViewPointOf(Named("one.txt")));
             XClick(ViewPointOf(Named("two.txt")), {"ctrl"});
             XKeys({"ctrl+c"});
         },
         [&] { EXPECT_EQ(App()->TheCursor->FilesToCopy->Count(), 2); }},
        {"Delete",
         [&] {
             XClick(ViewPointOf(Named("three.txt")));
             AnswerWithKeys({{"key", "shift+Tab", "space"}}); // to OK: Cancel is the default
             XKeys({"Delete"});
             ASSERT_TRUE(QTest::qWaitFor([&] { return Named("three.txt") == nullptr; }, kWaitMilliseconds));
         },
         [&] {
             EXPECT_TRUE(std::filesystem::exists(Home.Path() + "xdg/Trash/files/three.txt"));
             EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "one confirmation, answered";
         }},
        {"Ctrl+M", [&] { XKeys({"ctrl+m"}); },
         [&] {
             EXPECT_EQ(CurrentRing(), nullptr);
             EXPECT_EQ(std::count_if(App()->Rings->begin(), App()->Rings->end(),
                                     [](const QOXRing* ring) { return ring->Minimized; }),
                       3);
         }},
        {"a click on the strip",
         [&] {
             Settle();
             Xdo({"keydown", "space"});
             ASSERT_TRUE(QTest::qWaitFor([&] { return App()->SceneApp->RingListFade == 1.0f; }, kWaitMilliseconds));
             // The second of three miniatures sits in the middle of the strip.
             chosen = App()->RingAt(1);
             XClick({GLView()->width() / 2, GLView()->height() - 50});
             Xdo({"keyup", "space"});
             WaitFrames(3);
         },
         [&] {
             EXPECT_EQ(CurrentRing(), chosen);
             EXPECT_EQ(std::count_if(App()->Rings->begin(), App()->Rings->end(),
                                     [](const QOXRing* ring) { return ring->Minimized; }),
                       2);
         },
         false},
    };
    for (const bool slow : {false, true}) {
        if (slow) {
            SlowDownFrames();
            Tree.File("three.txt", 100);
            App()->RefreshAll();
        }
        for (const Tap& tap : taps) {
            SCOPED_TRACE(std::string(tap.Name) + (slow ? ", slow frames" : ""));
            if (tap.FromTheFirstRing) {
                App()->SetCurrentRing(App()->RingAt(0));
                Settle();
            }
            Hover(Centre());
            tap.Do();
            tap.Check();
            EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == GLView(); }, kWaitMilliseconds))
                << "the keys stay with the view, or come back to it";
        }
    }
}

// After each, a tap of Tab switches rings: the keys reach the view without a click.
TEST_F(TapTest, TheKeyboardIsBackInTheViewAfterEveryDialogBoxAndMenu)
{
    StartWithRings();
    struct Step {
        const char* Name;
        std::function<void()> Open;
        std::deque<QStringList> Answers; // keys for each dialog, box or menu as it comes up
    };
    const std::vector<Step> steps = {
        {"new ring dialog", [&] { Xdo({"key", "ctrl+n"}); }, {{"key", "Escape"}}},
        {"new ring dialog and its message box", [&] { Xdo({"key", "ctrl+n"}); },
         {{"key", "slash", "n", "o", "w", "h", "e", "r", "e", "Return"}, {"key", "Return"}}},
        {"preferences", [&] { Item("preferences1")->trigger(); }, {{"key", "Escape"}}},
        {"about box", [&] { Item("About1")->trigger(); }, {{"key", "Escape"}}},
        {"rename dialog",
         [&] {
             XClick(ViewPointOf(Named("one.txt")));
             Xdo({"key", "F2"});
         },
         {{"key", "Escape"}}},
        {"element menu", [&] { XClick(ViewPointOf(Named("two.txt")), {}, "3"); }, {{"key", "Escape"}}},
        {"find bar",
         [&] {
             Xdo({"key", "ctrl+f"});
             ASSERT_TRUE(QTest::qWaitFor([&] { return Form->FindBar->Line()->hasFocus(); }, kWaitMilliseconds));
             Xdo({"type", "one"});
             Xdo({"key", "Escape"});
         },
         {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        Hover(Centre());
        AnswerWithKeys(step.Answers);
        step.Open();
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return QApplication::activeModalWidget() == nullptr && QApplication::activePopupWidget() == nullptr; },
            kWaitMilliseconds));
        WaitFrames(3);
        const int before = RingIndex();
        XKeys({"Tab"});
        EXPECT_EQ(RingIndex(), (before + 1) % 3);
        App()->SetCurrentRing(App()->RingAt(0));
        Settle();
    }
}

// While a name is typed, "-" is one of its letters rather than the zoom.
TEST_F(TapTest, FindAsYouTypeTakesMinusAsALetter)
{
    StartWithRings();
    const float zoom = CurrentRing()->Zoom;
    Xdo({"type", "project-b"});
    WaitFrames(3);
    EXPECT_EQ(App()->TheCursor->CurrentElement, Named("project-b/"));
    EXPECT_EQ(CurrentRing()->Zoom, zoom);
    Xdo({"sleep", "1.2", "key", "minus"});
    WaitFrames(3);
    EXPECT_LT(CurrentRing()->Zoom, zoom) << "a second later, \"-\" zooms out again";
}

} // namespace
