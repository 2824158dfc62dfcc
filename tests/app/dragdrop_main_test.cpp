#include "app/dragdrop_main.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/app/file_commands_fixture.h"

namespace {

std::string FileUrl(const std::string& path)
{
    return "file://" + path;
}

class DragDropTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        Dropped = {Put("outside/one.txt", "one"), Put("outside/two.bin", std::string(5000, 'x'))};
        Tree.MakeFolder("outside/folder/inner");
        Dropped.push_back(Tree.PathOf("outside/folder"));
    }
    std::vector<std::string> DroppedUrls() const
    {
        std::vector<std::string> urls;
        for (const std::string& path : Dropped)
            urls.push_back(FileUrl(path));
        return urls;
    }
    // A drag that enters the view, moves to `point` and drops there.
    void DragAndDrop(std::pair<int, int> point, const std::vector<std::string>& urls)
    {
        Cursor->DropTarget->DragEnter(1.0f, 1.0f);
        EXPECT_TRUE(Cursor->DropTarget->IsDragActive());
        Cursor->DropTarget->DragMove(static_cast<float>(point.first), static_cast<float>(point.second));
        Cursor->DropTarget->Drop(urls, static_cast<float>(point.first), static_cast<float>(point.second));
        EXPECT_FALSE(Cursor->DropTarget->IsDragActive());
    }

    std::vector<std::string> Dropped;
};

TEST_F(DragDropTest, DroppedFilesMoveIntoTheFolderUnderThePointerInOneBatch)
{
    struct Case {
        std::string Name;
        std::function<std::pair<int, int>()> Target;
        std::string Folder; // where the files land; empty: nowhere
    };
    const std::vector<Case> cases = {
        {"onto a file", [&] { return Picker.Place(Child("top.txt")); }, "top/"},
        {"onto a folder", [&] { return Picker.Place(Sub()); }, "top/sub/"},
        {"onto empty space", [] { return kEmpty; }, ""},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        const TreeSnapshot outside = Snapshot(Tree.PathOf("outside"));
        Refreshed();
        DragAndDrop(row.Target(), DroppedUrls());
        EXPECT_TRUE(Refreshed());
        if (row.Folder.empty()) {
            EXPECT_EQ(Snapshot(Tree.PathOf("outside")), outside);
            continue;
        }
        EXPECT_EQ(Read(row.Folder + "one.txt"), "one");
        EXPECT_EQ(Read(row.Folder + "two.bin"), std::string(5000, 'x'));
        EXPECT_TRUE(OnDisk(row.Folder + "folder/inner"));
        EXPECT_EQ(Snapshot(Tree.PathOf("outside")).size(), 1u);
        if (row.Folder == "top/") {
            EXPECT_NE(Child("one.txt"), nullptr); // the rings were refreshed
        }
        // One batch: one undo brings all of it back.
        Cursor->Undo();
        EXPECT_EQ(WithoutFolderTimes(Snapshot(Tree.PathOf("outside"))), WithoutFolderTimes(outside));
    }
}

TEST_F(DragDropTest, OnlyLocalFilesAreMovedAndLongPathsStayWhole)
{
    std::string deep = "outside";
    while (deep.size() < 300)
        deep += "/a-folder-name-of-forty-characters-here";
    const std::string far = Put(deep + "/far.txt", "far away");
    DragAndDrop(Picker.Place(Sub()), {FileUrl(far), "http://example.org/page.html", "sftp://host/x"});
    EXPECT_GT(far.size(), 255u);
    EXPECT_EQ(Read("top/sub/far.txt"), "far away");
    EXPECT_FALSE(OnDisk(deep + "/far.txt"));
    EXPECT_EQ(LastBox(), "Only files of this computer can be dropped here; these were not moved:\n"
                         "http://example.org/page.html\nsftp://host/x");
    Desktop.Boxes.clear();
    DragAndDrop(Picker.Place(Sub()), {});
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "APP_DRAGDROP: Could not get drag&drop object data!");
}

TEST_F(DragDropTest, TheCursorFollowsTheDragWhileTheViewSeesNoMouseMoves)
{
    Cursor->DropTarget->DragEnter(120.0f, 80.0f);
    Play();
    EXPECT_EQ(Cursor->MousePosition, (QAPoint{120.0f, 80.0f}));
    Cursor->DropTarget->DragMove(200.0f, 90.0f);
    Play();
    EXPECT_EQ(Cursor->MousePosition, (QAPoint{200.0f, 90.0f}));
    Cursor->DropTarget->DragLeave();
    EXPECT_FALSE(Cursor->DropTarget->IsDragActive());
    Play();
    EXPECT_EQ(Cursor->MousePosition, (QAPoint{static_cast<float>(Input->Mouse->CursorX()),
                                              static_cast<float>(Input->Mouse->CursorY())}));
}

} // namespace
