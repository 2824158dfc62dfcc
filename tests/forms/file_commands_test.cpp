// The file commands in the real main window: the rename, new-name, overwrite and delete dialogs
// answered with their own buttons, commands reached through the main menu, the element's pop-up
// menu and Shift+Del, and files dropped onto the view from another program.
#include <QAbstractButton>
#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "app/dragdrop_main.h"
#include "forms/file_dialogs.h"
#include "forms/form_progress.h"
#include "forms/main.h"
#include "forms/main_menus.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kWaitMilliseconds = 5000;

// Answers the next modal dialog or box as a user would: types into its EName, then presses the
// button of that object name or caption. Records the dialog's title, texts and labels first.
class ModalAnswer {
public:
    ModalAnswer(QString button, QString typed = QString()) : Button(std::move(button)), Typed(std::move(typed))
    {
        QObject::connect(&Poll, &QTimer::timeout, [this] { Look(); });
        Poll.start(10);
    }

    QString Dialog;  // object name of the dialog answered; empty until then
    QString Title;
    QString Text;    // a message box's text
    std::map<QString, QString> Labels; // by object name
    QString Offered; // EName's text when the dialog opened

private:
    void Look()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !Dialog.isEmpty() || !dialog->isVisible())
            return;
        Dialog = dialog->objectName();
        Title = dialog->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(dialog))
            Text = box->text();
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (!label->objectName().isEmpty())
                Labels[label->objectName()] = label->text();
        if (auto* edit = dialog->findChild<QLineEdit*>("EName")) {
            Offered = edit->text();
            edit->setText(Typed);
        }
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->objectName() == Button || button->text().remove('&') == Button) {
                button->click();
                return;
            }
        ADD_FAILURE() << "no button " << Button.toStdString() << " on " << Dialog.toStdString();
        dialog->close();
    }

    QString Button;
    QString Typed;
    QTimer Poll;
};

class FileCommandsForm : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ::setenv("XDG_DATA_HOME", (Home.Path() + "xdg").c_str(), 1);
        // Totals arriving from the background count would move the sectors between working out
        // where an element lies and clicking there.
        Settings.CountFolderSizesInBackground = false;
    }
    void TearDown() override
    {
        FormTest::TearDown();
        ::unsetenv("XDG_DATA_HOME");
    }

    QRElement* Element(const std::string& name) const { return ChildNamed(*CurrentRing()->Root, name); }
    void ClickElement(const std::string& name, Qt::MouseButton button = Qt::LeftButton)
    {
        ClickElement(Element(name), button);
    }
    void ClickElement(QRElement* element, Qt::MouseButton button = Qt::LeftButton)
    {
        ASSERT_NE(element, nullptr);
        Settle(); // where the element lies once the ring has come to rest
        Click(ViewPointOf(element), button);
        Settle();
    }
    bool OnDisk(const std::string& path) const { return std::filesystem::exists(std::filesystem::symlink_status(path)); }
    std::string Trashed(const std::string& name) const { return Home.Path() + "xdg/Trash/files/" + name; }
};

// Each dialog's OK does the command and its Cancel changes nothing; the rename dialog offers the
// old name and the new-name dialog the command's caption.
TEST_F(FileCommandsForm, DialogsAnsweredWithTheirButtons)
{
    Tree.File("a.txt", 3);
    Tree.File("keep.txt", 5);
    Start();
    struct Case {
        const char* Element;
        const char* Item;
        const char* Dialog;
        const char* Typed;
        const char* Button;
        const char* Title;
        const char* Offered;
        std::vector<std::string> Present;
        std::vector<std::string> Absent;
    };
    const Case cases[] = {
        {"a.txt", "Rename1", "TFormRename", "c.txt", "BitBtn2", "Rename Object", "a.txt", {"a.txt"}, {"c.txt"}},
        {"a.txt", "CMRename", "TFormRename", "b.txt", "BitBtn1", "Rename Object", "a.txt", {"b.txt"}, {"a.txt"}},
        {"b.txt", "CMNewFile", "TFormNewName", "n.txt", "BitBtn1", "Create new File", "", {"n.txt"}, {}},
        {"b.txt", "CMNewFolder", "TFormNewName", "dir", "BitBtn2", "Create new Folder", "", {}, {"dir"}},
        {"b.txt", "CMNewFolder", "TFormNewName", "dir", "BitBtn1", "Create new Folder", "", {"dir/"}, {}},
        {"n.txt", "Delete1", "DeleteConfirmation", "", "Cancel", "Confirm", "", {"n.txt"}, {}},
        {"n.txt", "Delete1", "DeleteConfirmation", "", "OK", "Confirm", "", {}, {"n.txt"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.Item) + " " + test.Button);
        ClickElement(test.Element);
        ModalAnswer answer(test.Button, test.Typed);
        Item(test.Item)->trigger();
        EXPECT_EQ(answer.Dialog, test.Dialog);
        EXPECT_EQ(answer.Title, test.Title);
        EXPECT_EQ(answer.Offered, test.Offered);
        if (answer.Dialog == "TFormRename") {
            EXPECT_EQ(answer.Labels["LOldName"], test.Offered);
        }
        for (const std::string& name : test.Present)
            EXPECT_TRUE(OnDisk(Tree.PathOf(name)) && Element(name) != nullptr) << name;
        for (const std::string& name : test.Absent)
            EXPECT_FALSE(OnDisk(Tree.PathOf(name)) || Element(name) != nullptr) << name;
    }
    EXPECT_TRUE(OnDisk(Trashed("n.txt")));
    EXPECT_TRUE(OnDisk(Tree.PathOf("keep.txt")));
    ModalAnswer none("BitBtn2");
    Item("MMUndo")->trigger();
    EXPECT_TRUE(none.Dialog.isEmpty());
    EXPECT_TRUE(OnDisk(Tree.PathOf("n.txt"))) << "Edit > Undo brings the trashed file back";
}

// A paste from the Edit menu onto a file of the same name asks the overwrite dialog, which shows
// the file in the way and both sizes; only Yes replaces it.
TEST_F(FileCommandsForm, PasteAsksTheOverwriteDialog)
{
    const std::string incoming = Tree.File("from/x.txt", 3);
    const std::string existing = Tree.File("to/x.txt", 4);
    Start();
    ClickElement("from/");
    ClickElement(ChildNamed(*static_cast<QREFolder*>(Element("from/")), "x.txt"));
    Item("Copy1")->trigger();
    struct Case {
        const char* Button;
        std::uintmax_t Size; // of the file in the way afterwards
    };
    const Case cases[] = {{"BitBtn4", 4}, {"BitBtn5", 4}, {"BitBtn2", 4}, {"BitBtn1", 3}};
    // The folder stays selected and current through every paste and refresh.
    ClickElement(Element("to/"));
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Button);
        ModalAnswer answer(test.Button);
        Item("Paste1")->trigger();
        EXPECT_EQ(answer.Dialog, "TFormOverwrite");
        EXPECT_EQ(answer.Labels["LName"].toStdString(), existing);
        EXPECT_TRUE(answer.Labels["LOldSize"].startsWith("4 Bytes"));
        EXPECT_TRUE(answer.Labels["LNewSize"].startsWith("3 Bytes"));
        EXPECT_EQ(std::filesystem::file_size(existing), test.Size);
        EXPECT_EQ(std::filesystem::file_size(incoming), 3u);
    }
}

// Delete from the element's pop-up menu goes to the trash; Shift+Del deletes for good and the
// confirmation says so, also when Shift is let go before the program handles the key: the
// modifiers are the key event's.
TEST_F(FileCommandsForm, DeleteFromThePopUpMenuAndWithShiftDel)
{
    Tree.File("trashed.txt", 2);
    Tree.File("gone.txt", 2);
    Start();
    {
        ClickElement("trashed.txt");
        ClickElement("trashed.txt", Qt::RightButton);
        QMenu* menu = Form->Menus().PopUpMenu(QAMenu::Element);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, kWaitMilliseconds));
        ModalAnswer answer("OK");
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(Item("Delete2")).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !OnDisk(Tree.PathOf("trashed.txt")); }, kWaitMilliseconds));
        EXPECT_TRUE(answer.Text.contains("to the trash"));
        EXPECT_TRUE(OnDisk(Trashed("trashed.txt")));
    }
    ClickElement("gone.txt");
    ModalAnswer answer("OK");
    const auto xdotool = [](const QStringList& arguments) { return QProcess::execute("xdotool", arguments); };
    // The X server delivers all three while the program handles none (xdotool runs to its end
    // first): by the time the Delete key is handled, Shift is up on the server.
    EXPECT_TRUE(Item("Delete1")->shortcuts().contains(QKeySequence("Shift+Del")));
    if (xdotool({"keydown", "shift", "key", "Delete", "keyup", "shift"}) != 0)
        GTEST_SKIP() << "xdotool cannot press keys on this display";
    const bool deleted = QTest::qWaitFor([&] { return !OnDisk(Tree.PathOf("gone.txt")); }, kWaitMilliseconds);
    ASSERT_TRUE(deleted);
    EXPECT_TRUE(answer.Text.contains("This cannot be undone."));
    EXPECT_FALSE(OnDisk(Trashed("gone.txt")));
}

// Files dragged from another program and dropped onto the view: the view answers with the copy
// action while the drag is over it, the files move into the folder under the pointer (a file's own
// folder; onto empty space nowhere), and a URL of another computer is refused with a message.
TEST_F(FileCommandsForm, DropsMoveLocalFilesAndRefuseOthers)
{
    Tree.MakeFolder("in");
    Tree.File("file.txt", 2);
    Start();
    struct Case {
        const char* Target; // element under the pointer, or none: empty space
        bool Local;
        const char* Landed; // the folder the files are in afterwards
    };
    const Case cases[] = {
        {"in/", true, "in/"},
        {"file.txt", true, ""},
        {nullptr, true, nullptr},
        {"in/", false, nullptr},
    };
    int round = 0;
    for (const Case& test : cases) {
        SCOPED_TRACE(round);
        const std::string first = Home.Folder.Write("out/one " + std::to_string(round) + ".txt", "1");
        const std::string second = Home.Folder.Write("out/two%" + std::to_string(round++) + ".txt", "22");
        QMimeData data;
        if (test.Local)
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)), QUrl::fromLocalFile(QString::fromStdString(second))});
        else
            data.setUrls({QUrl("https://example.com/one.txt")});
        Settle();
        const QPointF at = test.Target != nullptr ? QPointF(ViewPointOf(Element(test.Target))) : QPointF(3, 3);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(GLView(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(GLView(), &move);
        EXPECT_TRUE(App()->TheCursor->DropTarget->IsDragActive());
        ModalAnswer box("OK");
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(GLView(), &drop);
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        EXPECT_FALSE(App()->TheCursor->DropTarget->IsDragActive());
        EXPECT_EQ(box.Text.contains("Only files of this computer"), !test.Local);
        const bool moved = test.Landed != nullptr;
        EXPECT_EQ(OnDisk(first), !moved);
        EXPECT_EQ(OnDisk(second), !moved);
        if (moved) {
            const std::string folder = Tree.PathOf(test.Landed);
            EXPECT_TRUE(OnDisk(folder + std::filesystem::path(first).filename().string()));
            EXPECT_TRUE(OnDisk(folder + std::filesystem::path(second).filename().string()));
        }
    }
}

// The progress window of a long copy shows where it copies from and to and how far it got, takes
// the user's click on Cancel between two steps and goes when the operation ends; what was copied
// stays whole and nothing is left half written.
TEST_F(FileCommandsForm, ProgressWindowCancelsACopy)
{
    constexpr int kFiles = 400;
    for (int index = 0; index < kFiles; ++index)
        Tree.File("many/f" + std::to_string(index), 64 * 1024);
    const std::string target = Tree.MakeFolder("target");
    TFileDialogs dialogs(nullptr);
    platform::FileOperation operation(&dialogs, &dialogs, nullptr);
    operation.ShowProgressAfter = std::chrono::milliseconds(0);
    operation.EventInterval = std::chrono::milliseconds(0);
    QString from;
    int bar = -1;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        TFormProgress* window = dialogs.Progress.get();
        if (window == nullptr || !window->isVisible() || window->ProgressBar->value() <= 0)
            return;
        from = window->LSrcFile->text();
        bar = window->ProgressBar->value();
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        user.stop();
    });
    user.start(1);
    const platform::OperationResult result =
        operation.Transfer(platform::TransferKind::Copy, {Tree.PathOf("many")}, Tree.PathOf("target"));
    EXPECT_EQ(result.End, platform::OperationEnd::Cancelled);
    EXPECT_TRUE(from.contains("many"));
    EXPECT_GT(bar, 0);
    EXPECT_LT(bar, TFormProgress::kBarSteps);
    EXPECT_EQ(dialogs.Progress, nullptr);
    int copied = 0;
    for (const auto& entry : std::filesystem::directory_iterator(target + "/many")) {
        EXPECT_EQ(entry.path().filename().string().find(".orbivane-"), std::string::npos);
        EXPECT_EQ(entry.file_size(), 64u * 1024u) << entry.path();
        ++copied;
    }
    EXPECT_LT(copied, kFiles);
}

} // namespace
