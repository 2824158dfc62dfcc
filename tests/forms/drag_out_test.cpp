// Drags between windows with real pointer and key events of the X server (played by xdotool): the
// selection dragged from the ring or the list into a window of this process that takes drops as
// another program's would, and a row dragged from the list onto a folder of the view.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app/app_main.h"
#include "forms/element_list_model.h"
#include "forms/main.h"
#include "forms/side_panel.h"
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

// A drag that starts on the selection and leaves the view, or on the list's selected rows, gives
// the drop target the selection's URL list, as a copy, or as a move with Shift; the selection stays
// as it was.
TEST_F(DragOutForm, TheSelectionDraggedOutReachesAnotherWindowAsFiles)
{
    const std::vector<std::string> paths{Tree.File("a.txt", 1 << 20), Tree.File("b c#1.txt", 1 << 20)};
    Start();
    DropCatcher catcher;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&catcher));
    const auto element = [this](const std::string& path) { return ChildNamed(*CurrentRing()->Root, path.substr(path.rfind('/') + 1)); };
    // Where a press on "a.txt" starts the drag, on the screen, and a point outside the source.
    const auto fromRing = [&] {
        const QPoint pressed = GLView()->mapToGlobal(ViewPointOf(element(paths[0])));
        return std::pair{pressed, QPoint(GLView()->mapToGlobal(QPoint()).x() - 20, pressed.y())};
    };
    const auto fromList = [&] {
        QTreeView* list = Form->SidePanel->List();
        TElementListModel& model = Form->SidePanel->Model();
        const QRect row = list->visualRect(model.index(model.RowOf(element(paths[0])), 0));
        const QPoint pressed = list->viewport()->mapToGlobal(row.center());
        return std::pair{pressed, QPoint(list->mapToGlobal(QPoint()).x() - 20, pressed.y())};
    };
    struct Case {
        const char* Name;
        std::function<std::pair<QPoint, QPoint>()> Source;
        const char* Key; // held through the drag, or none
        Qt::DropAction Action;
    };
    for (const Case& test : {Case{"from the ring", fromRing, nullptr, Qt::CopyAction},
                             Case{"from the ring with Shift", fromRing, "shift", Qt::MoveAction},
                             Case{"from the list with Shift", fromList, "shift", Qt::MoveAction}}) {
        SCOPED_TRACE(test.Name);
        catcher.Drops = 0;
        Settle();
        for (const std::string& path : paths)
            element(path)->Selected = true;
        WaitFrames(2); // the list's rows follow the selection
        const auto [pressed, outside] = test.Source();
        const QPoint target = catcher.mapToGlobal(QPoint(100, 100));
        QStringList commands = PointerTo(pressed);
        if (test.Key != nullptr)
            commands << "keydown" << test.Key;
        commands << "mousedown" << "1";
        commands << PointerTo(pressed + QPoint(5, 0)) << PointerTo(pressed + QPoint(30, 0)) << PointerTo(outside)
                 << PointerTo(target) << PointerTo(target + QPoint(5, 5));
        commands << "mouseup" << "1";
        if (test.Key != nullptr)
            commands << "keyup" << test.Key;
        PlayOnDisplay(commands);
        ASSERT_TRUE(QTest::qWaitFor([&] { return catcher.Drops == 1; }, kWaitMilliseconds));
        std::optional<platform::ClipboardFiles> dropped =
            platform::FilesOfPayloads({{platform::kUriListFormat, catcher.UriList.toStdString()}});
        ASSERT_TRUE(dropped);
        std::sort(dropped->Paths.begin(), dropped->Paths.end());
        EXPECT_EQ(dropped->Paths, paths);
        EXPECT_EQ(catcher.Action, test.Action);
        for (const std::string& path : paths)
            EXPECT_TRUE(element(path)->Selected) << path;
    }
}

// A real drag from another window over the view and dropped on a folder there moves the file into
// it: the view's drag events reach the drop handler once each, however the window system routes
// them.
TEST_F(DragOutForm, ARealDropOnTheViewMovesTheFileIntoTheFolderThere)
{
    const std::string dragged = Tree.File("c.txt", 1 << 20);
    Tree.File("into/pad", 1 << 21);
    Start();
    Settle();
    QTreeView* list = Form->SidePanel->List();
    TElementListModel& model = Form->SidePanel->Model();
    QRElement* file = ChildNamed(*CurrentRing()->Root, "c.txt");
    file->Selected = true;
    WaitFrames(2);
    const QPoint pressed = list->viewport()->mapToGlobal(list->visualRect(model.index(model.RowOf(file), 0)).center());
    const QPoint folder = GLView()->mapToGlobal(ViewPointOf(ChildNamed(*CurrentRing()->Root, "into/")));
    PlayOnDisplay(QStringList() << PointerTo(pressed) << "mousedown" << "1" << PointerTo(pressed + QPoint(5, 0))
                                << PointerTo(pressed + QPoint(30, 0)) << PointerTo(folder) << PointerTo(folder + QPoint(3, 3))
                                << "mouseup" << "1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(Tree.PathOf("into/c.txt")); }, kWaitMilliseconds));
    EXPECT_FALSE(std::filesystem::exists(dragged));
}

} // namespace
