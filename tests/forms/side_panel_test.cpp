#include "forms/side_panel.h"

#include <QAction>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QIcon>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <functional>
#include <string>
#include <vector>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "forms/main.h"
#include "platform/percent_encoding.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

class SidePanelTest : public FormTest {
protected:
    void StartOn(const std::string& folder)
    {
        Settings.InitialRingMode = 2;
        Settings.InitialRingFolder = Tree.PathOf(folder);
        Start();
        Settle();
    }
    TSidePanel& Panel() const { return *Form->SidePanel; }
    TElementListModel& Model() const { return Panel().Model(); }
    std::vector<std::string> Column(TListColumn column) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < Model().rowCount(); ++row)
            texts.push_back(Model().index(row, static_cast<int>(column)).data().toString().toStdString());
        return texts;
    }
    std::vector<std::string> Names() const { return Column(TListColumn::Name); }
    QRElement* Child(const std::string& name) const { return ChildNamed(*CurrentRing()->Root, name); }
};

// The rows are the ring's elements: after the scan, sorted by each column either way (names without
// regard to case, in ASCII or not), after a change on the disk and after a folder's size is counted.
TEST_F(SidePanelTest, RowsAreTheRingsElementsInTheChosenOrder)
{
    Tree.File("top/big.bin", 5000);
    Tree.File("top/Alpha.txt", 300);
    Tree.File("top/small.txt", 10);
    Tree.File("top/\xc3\x89mile.txt", 1); // É sorts as é, after every ASCII letter
    Tree.File("top/docs/one.txt", 2000);
    Tree.File("top/docs/two.txt", 1000);
    StartOn("top");
    ASSERT_TRUE(QTest::qWaitFor([&] { WaitFrames(1); return Names().size() == 5 && Names()[1] == "docs"; }, 5000))
        << "the folder's size is counted and sorts it second";
    const std::string emile = "\xc3\x89mile.txt";
    EXPECT_EQ(Names(), (std::vector<std::string>{"big.bin", "docs", "Alpha.txt", "small.txt", emile}));
    EXPECT_EQ(Column(TListColumn::Files), (std::vector<std::string>{"", "2", "", "", ""}));
    EXPECT_EQ(Column(TListColumn::Share)[0], "60.2 %"); // 5000 of 8311
    EXPECT_EQ(Model().ElementAt(0), Child("big.bin"));
    const auto icon = [&](int row) { return Model().index(row, 0).data(Qt::DecorationRole).value<QIcon>(); };
    EXPECT_FALSE(icon(0).isNull());
    EXPECT_NE(icon(0).cacheKey(), icon(1).cacheKey()) << "files and folders have icons of their own";

    struct Case {
        TListColumn Column;
        Qt::SortOrder Order;
        std::vector<std::string> Names;
    };
    const Case cases[] = {
        {TListColumn::Name, Qt::AscendingOrder, {"docs", "Alpha.txt", "big.bin", "small.txt", emile}},
        {TListColumn::Name, Qt::DescendingOrder, {emile, "small.txt", "big.bin", "Alpha.txt", "docs"}},
        {TListColumn::Size, Qt::AscendingOrder, {emile, "small.txt", "Alpha.txt", "docs", "big.bin"}},
        {TListColumn::Share, Qt::DescendingOrder, {"big.bin", "docs", "Alpha.txt", "small.txt", emile}},
        {TListColumn::Files, Qt::DescendingOrder, {"docs", emile, "small.txt", "big.bin", "Alpha.txt"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.Column));
        Panel().List()->sortByColumn(static_cast<int>(test.Column), test.Order);
        EXPECT_EQ(Names(), test.Names);
    }

    // A live change keeps the selected row selected.
    Panel().List()->sortByColumn(static_cast<int>(TListColumn::Name), Qt::AscendingOrder);
    Panel().List()->selectionModel()->select(Model().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Tree.File("top/Beta.txt", 1);
    Item("MMRefresh")->trigger();
    WaitFrames(2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"docs", "Alpha.txt", "Beta.txt", "big.bin", "small.txt", emile}));
    const QModelIndexList selected = Panel().List()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(Model().ElementAt(selected[0].row()), Child("big.bin"));
}

// One selection and one pointer: what is chosen or pointed at on either side shows on the other.
TEST_F(SidePanelTest, SelectionAndHoverAreSharedWithTheRing)
{
    Tree.File("top/a.txt", 100);
    Tree.File("top/b.txt", 200);
    Tree.File("top/c.txt", 300);
    StartOn("top");
    QTreeView* list = Panel().List();
    const auto rowOf = [&](const char* name) { return Model().RowOf(Child(name)); };

    list->selectionModel()->select(Model().index(rowOf("a.txt"), 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->selectionModel()->setCurrentIndex(Model().index(rowOf("b.txt"), 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    WaitFrames(1);
    EXPECT_TRUE(Child("a.txt")->Selected);
    EXPECT_TRUE(Child("b.txt")->Selected);
    EXPECT_FALSE(Child("c.txt")->Selected);
    EXPECT_EQ(App()->TheCursor->CurrentElement, Child("b.txt"));

    App()->DeselectAllRings();
    Child("c.txt")->Selected = true;
    WaitFrames(2);
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), rowOf("c.txt"));

    // The row under the pointer shades its sector; the sector under the pointer marks its row.
    Panel().OnHover(Child("a.txt"));
    WaitFrames(2);
    EXPECT_EQ(App()->SceneApp->PointedElement, Child("a.txt"));
    Panel().OnHover(nullptr);
    MoveTo(ViewPointOf(Child("c.txt")));
    WaitFrames(2);
    EXPECT_TRUE(Model().index(rowOf("c.txt"), 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(Model().index(rowOf("a.txt"), 0).data(Qt::BackgroundRole).isValid());
}

// A folder of more rows than are read every frame still shows the ring's marks a moment later,
// also when the frame that showed the mark came too soon after the last read and the ring then rests.
TEST_F(SidePanelTest, AFolderOfManyRowsTakesTheRingsMarksWithinAMoment)
{
    for (int i = 0; i <= 20000; ++i)
        Tree.File("many/f" + std::to_string(i), 1);
    StartOn("many");
    ASSERT_GT(Model().rowCount(), 20000);
    QRElement* marked = Child("f12345");
    App()->Picture.Invalidate();
    WaitFrames(1); // a drawn frame reads the marks, so the next drawn one puts the read off
    marked->Selected = true;
    App()->Picture.Invalidate();
    WaitFrames(1);
    QElapsedTimer waited;
    waited.start();
    const auto shown = [&] { return Panel().List()->selectionModel()->isRowSelected(Model().RowOf(marked)); };
    while (!shown() && waited.elapsed() < 2000)
        WaitFrames(1);
    EXPECT_TRUE(shown());
    EXPECT_EQ(Panel().List()->selectionModel()->selectedRows().size(), 1);
}

// F9 and the Display menu show and hide it; it comes back as it was left, and drags its rows out
// as file URLs, names that are not UTF-8 byte for byte.
TEST_F(SidePanelTest, ShownSortedAndSizedAsLeftAndDraggedOutAsFiles)
{
    Tree.File("top/a.txt", 100);
    Tree.File("top/\xFF b#.txt", 10);
    StartOn("top");
    EXPECT_TRUE(Item("MMShowList")->isChecked());
    EXPECT_FALSE(Panel().isHidden());
    Item("MMShowList")->trigger();
    EXPECT_TRUE(Panel().isHidden());
    Item("MMShowList")->trigger();
    Panel().List()->sortByColumn(static_cast<int>(TListColumn::Modified), Qt::AscendingOrder);
    Panel().List()->setColumnWidth(0, 123);
    Item("MMShowList")->trigger();
    Quit();
    Restart();
    EXPECT_TRUE(Panel().isHidden());
    EXPECT_FALSE(Item("MMShowList")->isChecked());
    EXPECT_EQ(Panel().List()->header()->sortIndicatorSection(), static_cast<int>(TListColumn::Modified));
    EXPECT_EQ(Panel().List()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Panel().List()->columnWidth(0), 123);

    Item("MMShowList")->trigger();
    WaitFrames(1);
    const std::unique_ptr<QMimeData> dragged(Model().mimeData(
        {Model().index(Model().RowOf(Child("a.txt")), 0), Model().index(Model().RowOf(Child("\xFF b#.txt")), 0)}));
    const std::string top = "file://" + platform::PercentEncoded(Tree.PathOf("top/"));
    EXPECT_EQ(dragged->data("text/uri-list").toStdString(), top + "a.txt\r\n" + top + "%FF%20b%23.txt\r\n");
}

// The second tab lists the largest files the ring has read, largest first; a click brings one
// into view with the folders on its way opened.
TEST_F(SidePanelTest, LargestFilesAreListedAndRevealed)
{
    Tree.File("top/a.txt", 100);
    Tree.File("top/docs/b.bin", 5000);
    Tree.File("top/docs/deep/c.bin", 3000);
    Tree.File("top/d.txt", 10);
    StartOn("top");
    CurrentRing()->Root->ExpandAll();
    CurrentRing()->Relayout();
    Panel().Tabs()->setCurrentWidget(Panel().LargestList());
    WaitFrames(2);
    std::vector<std::pair<std::string, std::int64_t>> listed;
    for (const TLargeFile& file : Panel().Largest().Files())
        listed.emplace_back(file.Path, file.Size);
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::int64_t>>{
                          {"docs/b.bin", 5000}, {"docs/deep/c.bin", 3000}, {"a.txt", 100}, {"d.txt", 10}}));

    auto* docs = static_cast<QREFolder*>(Child("docs/"));
    docs->Collapse();
    CurrentRing()->Relayout();
    WaitFrames(1);
    Panel().OnReveal("docs/deep/c.bin");
    WaitFrames(1);
    QRElement* revealed = App()->TheCursor->CurrentElement;
    ASSERT_NE(revealed, nullptr);
    EXPECT_EQ(revealed->FullPath(), Tree.PathOf("top/docs/deep/c.bin"));
    EXPECT_TRUE(revealed->Selected);
    EXPECT_TRUE(docs->Expanded);
    EXPECT_TRUE(revealed->Parent->Expanded);
}

} // namespace
