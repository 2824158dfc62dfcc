#include "forms/main.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "app/app_main.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kCountTimeout = 20000; // milliseconds
constexpr int kCountingPanel = 4;
constexpr int kIdleFrames = 10;
constexpr int kSettleRounds = 30;

// The window as the application sees it, passed on whole; the counting panel's label is read back
// (laid out at once) every time the application writes to it, so that no text is missed between
// two looks of the test.
class CountingPanelWatch : public QAWindowLink {
public:
    CountingPanelWatch(QAWindowLink& window, QLabel& label) : Window(window), Label(label) {}

    void SetStatusText(QAStatusPanel panel, const std::string& text) override
    {
        Window.SetStatusText(panel, text);
        if (panel != QAStatusPanel::Counting)
            return;
        Label.parentWidget()->layout()->activate();
        Shown.push_back(Label.text().toStdString());
        Readable = Readable && Label.width() >= Label.sizeHint().width();
    }
    void SetCaption(const std::string& caption) override { Window.SetCaption(caption); }
    void SetBusy(bool busy) override { Window.SetBusy(busy); }
    void SettingsLoaded(const QASettings& settings) override { Window.SettingsLoaded(settings); }
    void SetTaskBarTitle(const std::string& title) override { Window.SetTaskBarTitle(title); }
    QAViewSize ViewSize() const override { return Window.ViewSize(); }
    bool ViewShown() const override { return Window.ViewShown(); }

    std::vector<std::string> Shown; // what the label showed, in order
    bool Readable = true;           // every text fitted the label

private:
    QAWindowLink& Window;
    QLabel& Label;
};

float Width(const QRElement* element)
{
    return element->EndAngle - element->StartAngle;
}

// Folders are sized by everything below them while the window runs: the status bar's last panel
// says the count runs (wide enough to read it whole) and is empty once it is done, and every folder
// sector takes its total, the larger totals the wider sectors.
TEST_F(FormTest, FolderSectorsTakeTheirCountedTotals)
{
    Tree.File("big/a/b/data.bin", 400000);
    Tree.File("big/c/more.bin", 100000);
    Tree.File("big/.hidden", 300);
    Tree.File("middle/d/e/f.bin", 60000);
    Tree.File("small/x.txt", 500);
    for (int i = 0; i < 2000; ++i)
        Tree.MakeFolder("many/f" + std::to_string(i));
    Launch();
    CountingPanelWatch watch(*Form, *Form->StatusPanels[kCountingPanel]);
    App()->Window = &watch;
    const bool done = QTest::qWaitFor([&] { return !watch.Shown.empty() && watch.Shown.back().empty(); }, kCountTimeout);
    App()->Window = Form.get();
    ASSERT_TRUE(done);
    EXPECT_TRUE(Panel(kCountingPanel).isEmpty());
    ASSERT_GE(watch.Shown.size(), 2u);
    EXPECT_TRUE(watch.Shown.front().starts_with("Counting… ")) << watch.Shown.front();
    EXPECT_TRUE(watch.Shown.front().ends_with(" folders")) << watch.Shown.front();
    EXPECT_TRUE(watch.Readable);

    const std::vector<std::string> folders = {"big", "middle", "small", "many"};
    std::vector<const QRElement*> sectors;
    for (const std::string& name : folders) {
        sectors.push_back(ChildNamed(*CurrentRing()->Root, name + "/"));
        ASSERT_NE(sectors.back(), nullptr) << name;
        EXPECT_EQ(sectors.back()->Size, Tree.SumsBelow(name + "/").Bytes) << name;
    }
    // The blend from equal shares to the counted ones runs over a few frames.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Width(sectors[0]) > 2.0f * Width(sectors[1]) && Width(sectors[1]) > 1.2f * Width(sectors[2]); },
        kCountTimeout));
}

class CalmFormTest : public FormTest {
protected:
    // Whether no frame was drawn while kIdleFrames frames ran.
    bool IdleFor()
    {
        const long drawn = App()->DrawnFrames;
        WaitFrames(kIdleFrames);
        return App()->DrawnFrames == drawn;
    }
    bool BecomesIdle()
    {
        for (int round = 0; round < kSettleRounds; ++round)
            if (IdleFor())
                return true;
        return false;
    }
    QImage WindowPicture() const { return QGuiApplication::primaryScreen()->grabWindow(Form->winId()).toImage(); }
};

// Once nothing moves, frames run on but draw nothing and the window keeps its picture; input, a
// resize and an automatic refresh that finds a new file each draw again. (The refresh is the one
// of the design: folder sizes counted in the background, with their live updates, are off.)
TEST_F(CalmFormTest, AFrameThatWouldShowNothingNewIsNotDrawn)
{
    Tree.File("a.txt", 100);
    Tree.File("b/c.txt", 200);
    Settings.CountFolderSizesInBackground = false;
    Start();
    MoveTo({5, 5}); // the background: no info box
    ASSERT_TRUE(BecomesIdle()) << App()->DrawnFrames << " of " << Form->Frames << " frames drawn";
    const QImage still = WindowPicture();
    ASSERT_TRUE(IdleFor());
    EXPECT_EQ(WindowPicture(), still);
    EXPECT_GT(RingShare(still), 0.05);

    struct Case {
        const char* Name;
        std::function<void()> Act;
    };
    const Case cases[] = {
        {"mouse move", [&] { QTest::mouseMove(GLView(), {12, 9}); }},
        {"key", [&] { PressForAFrame(Qt::Key_Tab); }},
        {"resize", [&] { Form->resize(Form->width() - 60, Form->height() - 40); }},
        {"automatic refresh",
         [&] {
             App()->Settings.AutoRefreshTime = 0.2f;
             Tree.File("new.txt", 300);
             ASSERT_TRUE(QTest::qWaitFor([&] { return ChildNamed(*CurrentRing()->Root, "new.txt") != nullptr; }));
             App()->Settings.AutoRefreshTime = 0.0f;
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        ASSERT_TRUE(BecomesIdle());
        const long drawn = App()->DrawnFrames;
        test.Act();
        EXPECT_TRUE(QTest::qWaitFor([&] { return App()->DrawnFrames > drawn; }, kCountTimeout));
    }
}

} // namespace
