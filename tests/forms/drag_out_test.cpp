// Files dragged from the ring out of the view, with real pointer and key events of the X server
// (played by xdotool), into a window of this process that takes drops as another program's would.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "app/app_main.h"
#include "platform/file_clipboard.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/display_events.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kWaitMilliseconds = 10000;

// Takes every drag of a URL list with the action the drag proposes, and keeps what was dropped.
class DropCatcher : public QWidget {
public:
    DropCatcher()
    {
        setAcceptDrops(true);
        setGeometry(1060, 100, 200, 200);
        show();
    }

    QByteArray UriList;
    Qt::DropAction Action = Qt::IgnoreAction;
    int Drops = 0;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (event->mimeData()->hasFormat(platform::kUriListFormat))
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override
    {
        UriList = event->mimeData()->data(platform::kUriListFormat);
        Action = event->dropAction();
        ++Drops;
        event->acceptProposedAction();
    }
};

class DragOutForm : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Settings.CountFolderSizesInBackground = false; // sectors stay where they were found
    }
};

// A drag that starts on the selection and leaves the view gives the drop target the selection's
// URL list, as a copy, or as a move with Shift; the selection stays as it was.
TEST_F(DragOutForm, TheSelectionDraggedOutOfTheViewReachesAnotherWindowAsFiles)
{
    const std::vector<std::string> paths{Tree.File("a.txt", 1 << 20), Tree.File("b c#1.txt", 1 << 20)};
    Start();
    DropCatcher catcher;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&catcher));
    struct Case {
        const char* Name;
        const char* Key; // held through the drag, or none
        Qt::DropAction Action;
    };
    for (const Case& test : {Case{"plain", nullptr, Qt::CopyAction}, Case{"with Shift", "shift", Qt::MoveAction}}) {
        SCOPED_TRACE(test.Name);
        catcher.Drops = 0;
        Settle();
        for (const std::string& path : paths)
            ChildNamed(*CurrentRing()->Root, path.substr(path.rfind('/') + 1))->Selected = true;
        const QPoint pressed = GLView()->mapToGlobal(ViewPointOf(ChildNamed(*CurrentRing()->Root, "a.txt")));
        const QPoint outside = GLView()->mapToGlobal(QPoint(-20, pressed.y() - GLView()->mapToGlobal(QPoint()).y()));
        const QPoint target = catcher.mapToGlobal(QPoint(100, 100));
        QStringList commands = PointerTo(pressed);
        if (test.Key != nullptr)
            commands << "keydown" << test.Key;
        commands << "mousedown" << "1";
        commands << PointerTo(pressed + QPoint(5, 0)) << PointerTo(outside) << PointerTo(target) << PointerTo(target + QPoint(5, 5));
        commands << "mouseup" << "1";
        if (test.Key != nullptr)
            commands << "keyup" << test.Key;
        PlayOnDisplay(commands);
        ASSERT_TRUE(QTest::qWaitFor([&] { return catcher.Drops == 1; }, kWaitMilliseconds));
        std::optional<platform::ClipboardFiles> dropped = platform::FilesOfPayloads({{platform::kUriListFormat, catcher.UriList.toStdString()}});
        ASSERT_TRUE(dropped);
        std::sort(dropped->Paths.begin(), dropped->Paths.end());
        EXPECT_EQ(dropped->Paths, paths);
        EXPECT_EQ(catcher.Action, test.Action);
        for (const std::string& path : paths)
            EXPECT_TRUE(ChildNamed(*CurrentRing()->Root, path.substr(path.rfind('/') + 1))->Selected) << path;
    }
}

} // namespace
