#pragma once
// The cursor's file commands on a real folder tree: a ring on "top/" (a sub-folder "sub/" with
// "in.txt" and "deep/low.txt", a file "top.txt"), the trash under "data/" ($XDG_DATA_HOME), the
// dialogs and the Shift key played by scripts.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/dragdrop_main.h"
#include "platform/keyboard_modifiers.h"
#include "tests/support/cursor_fixture.h"
#include "tests/support/scripted_file_dialogs.h"
#include "tests/support/tree_snapshot.h"

// The delete confirmation, rename and new-name dialogs, answered as told.
class ScriptedFileDialogs : public QAFileDialogs {
public:
    QAModalResult ConfirmDelete(const std::string& text) override
    {
        Confirmations.push_back(text);
        return Answer;
    }
    QAModalResult AskRename(const std::string& oldName, QANamePart, std::string& newName) override
    {
        Offered.push_back(oldName);
        newName = Typed;
        return Answer;
    }
    QAModalResult AskNewName(const std::string& caption, std::string& name) override
    {
        Captions.push_back(caption);
        name = Typed;
        return Answer;
    }

    QAModalResult Answer = QAModalResult::Ok;
    std::string Typed;
    std::vector<std::string> Confirmations;
    std::vector<std::string> Offered;
    std::vector<std::string> Captions;
};

class HeldKeys : public platform::KeyboardModifiers {
public:
    bool ShiftHeld() const override { return Shift; }
    bool Shift = false;
};

class FileCommandsTest : public CursorTest {
protected:
    void SetUp() override
    {
        CursorTest::SetUp();
        ::setenv("XDG_DATA_HOME", Tree.PathOf("data").c_str(), 1);
        Put("top/sub/in.txt", "inside");
        Put("top/sub/deep/low.txt", "low");
        Put("top/top.txt", "top level");
        Ring = Open("top/");
        Cursor->Dialogs = &Dialogs;
        Cursor->Modifiers = &Keys;
        Cursor->Files.Overwrite = &Prompt;
        Cursor->Files.Progress = &Progress;
    }
    void TearDown() override
    {
        GiveBackPermissions(Tree.Root());
        CursorTest::TearDown();
    }

    std::string Put(const std::string& relative, const std::string& content) const
    {
        const std::filesystem::path path = Tree.PathOf(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string Read(const std::string& relative) const { return Snapshot(Tree.PathOf(relative)).at(".").Content; }
    bool OnDisk(const std::string& relative) const { return !Snapshot(Tree.PathOf(relative)).empty(); }
    QRElement* Child(const std::string& name) const { return ChildNamed(*Ring->Root, name); }
    QREFolder* Sub() const { return static_cast<QREFolder*>(Child("sub/")); }
    // The last message box's text, or empty.
    std::string LastBox() const { return Desktop.Boxes.empty() ? "" : Desktop.Boxes.back().Text; }
    // Whether the rings were brought up to date (under the busy pointer) since the last call.
    bool Refreshed()
    {
        const bool refreshed = !Window.BusyCalls.empty();
        Window.BusyCalls.clear();
        return refreshed;
    }
    std::string TrashFile(const std::string& name) const { return Tree.PathOf("data/Trash/files/" + name); }

    QOXRing* Ring = nullptr;
    ScriptedFileDialogs Dialogs;
    HeldKeys Keys;
    ScriptedOverwrite Prompt;
    ScriptedProgress Progress;
};
