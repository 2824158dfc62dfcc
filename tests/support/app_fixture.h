#pragma once
// A running engine with the application on top of it (no window, no GL), a real folder tree to open
// rings on, frames of a chosen length, and recorders for what the window and the cursor are told.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/app_main.h"
#include "engine/qox_timer.h"
#include "platform/clock.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/file_tree.h"

// What the main window is told: the caption, the status-bar panels, the busy pointer, the task-bar
// title; and the view's size it gives.
class RecordingWindow : public QAWindowLink {
public:
    void SetCaption(const std::string& caption) override { Caption = caption; }
    void SetStatusText(QAStatusPanel panel, const std::string& text) override { Panels[panel] = text; }
    void SetBusy(bool busy) override { BusyCalls.push_back(busy); }
    void SettingsLoaded(const QASettings&) override { ++SettingsShown; }
    void SetTaskBarTitle(const std::string& title) override { TaskBarTitle = title; }
    QAViewSize ViewSize() const override { return Size; }
    bool ViewShown() const override { return true; }

    std::string Caption;
    std::string TaskBarTitle;
    QAViewSize Size{640, 480};
    std::map<QAStatusPanel, std::string> Panels;
    std::vector<bool> BusyCalls;
    int SettingsShown = 0;
};

// The deletion entry points: records every path and answers as told.
class RecordingDeletion : public QRDeletion {
public:
    bool DeleteFolderFromDisk(const std::string& path) override { return Record(path); }
    bool DeleteFileFromDisk(const std::string& path) override { return Record(path); }

    std::vector<std::string> Paths;
    bool Succeeds = true;

private:
    bool Record(const std::string& path)
    {
        Paths.push_back(path);
        return Succeeds;
    }
};

// The main menu's data items as the program last filled them.
class RecordingMenuBar : public QAMenuBarLink {
public:
    void FillMenu(QADataMenu menu, const std::vector<QAMenuEntry>& entries) override { Menus[menu] = entries; }
    std::vector<std::string> Captions(QADataMenu menu)
    {
        std::vector<std::string> captions;
        for (const QAMenuEntry& entry : Menus[menu])
            captions.push_back(entry.Caption);
        return captions;
    }
    std::map<QADataMenu, std::vector<QAMenuEntry>> Menus;
};

class AppTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        UseManualClock(1'000'000);
        TheApp = QOXMake<QOXApp>();
        // The rings sized and refreshed as designed; tests of sizes counted in the background turn it on.
        TheApp->Settings.CountFolderSizesInBackground = false;
        TheApp->Settings.SizeTrueRings = false; // tests of size-true rings turn them on
        TheApp->Window = &Window;
        TheApp->Deletion = &Deletion;
    }
    void TearDown() override
    {
        TheApp.reset();
        EngineTest::TearDown();
    }
    // One frame of the given length: the engine's timer, then every ring's update.
    void Frame(int milliseconds = 50)
    {
        EngineFrame(milliseconds);
        for (QOXRing* ring : *TheApp->Rings)
            ring->Update();
    }
    // A frame with the rings' whole part: the counting, the changes seen on the disk, the updates,
    // and the folders still coming in read on.
    void Pump(int milliseconds = 50)
    {
        EngineFrame(milliseconds);
        TheApp->UpdateRings(static_cast<float>(milliseconds) / 1000.0f);
        TheApp->FollowDisk(static_cast<float>(milliseconds) / 1000.0f);
    }
    // Frames until `done` holds, for at most `deadline` of real time; whether it came to hold.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline = std::chrono::seconds(20))
    {
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (std::chrono::steady_clock::now() < end) {
            Pump();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    QASettings& Settings() { return TheApp->Settings; }
    // A ring on a folder of the tree ("" for its root).
    QOXRing* Open(const std::string& relativeFolder = "")
    {
        QOXRing* ring = TheApp->CreateRing(Tree.PathOf(relativeFolder));
        EXPECT_NE(ring, nullptr) << relativeFolder;
        return ring;
    }

    FileTree Tree;
    RecordingWindow Window;
    RecordingDeletion Deletion;
    QOXPtr<QOXApp> TheApp;
};

// The child of a folder with that name (folders end in "/"), or none.
inline QRElement* ChildNamed(const QREFolder& folder, const std::string& name)
{
    QRElement* found = nullptr;
    folder.ForEachChild([&](QRElement* child) {
        if (child->Name == name)
            found = child;
    });
    return found;
}

inline float SectorOf(const QRElement* element)
{
    return element->EndAngle - element->StartAngle;
}
