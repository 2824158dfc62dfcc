#pragma once
// The program's main window in this process on the X server of the test run (Xvfb): a temporary
// program folder with the program's pictures and fonts and settings and list files of its own, a
// real folder tree, real frames from the window's own timers, and helpers to point, click, type
// and read what the window shows.
#include <gtest/gtest.h>

#include <QPoint>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "app/app_command_line.h"
#include "app/app_settings.h"
#include "tests/support/file_tree.h"
#include "tests/support/temp_folder.h"

class QAction;
class QImage;
class QOXApp;
class QOXRing;
class QRElement;
class QWindow;
class TFormMain;

// The test process's one QApplication, made on first call and kept to the end of the process.
void MakeTestApplication();

// The share of a window picture's pixels (menu and status bar left out) in a ring's folder green or
// file yellow, far from the grey of the background.
double RingShare(const QImage& window);

// Where the window is placed by the recent file.
struct WindowPlacement {
    int Left = 100;
    int Top = 80;
    int Width = 900;
    int Height = 700;
    bool Maximized = false;
};

// A program folder of its own: the program's textures and fonts, the settings file and the three
// list files.
class ProgramHome {
public:
    ProgramHome();
    void WriteSettings(const QASettings& settings) const;
    void WritePlacement(const WindowPlacement& placement) const;
    std::vector<std::string> LogLines() const;
    const std::string& Path() const { return Folder.Path(); }

    TempFolder Folder;
};

class FormTest : public ::testing::Test {
protected:
    FormTest();
    ~FormTest() override;
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Writes the settings and the placement, makes and shows the window and waits for its first
    // frame.
    void Start();
    // The window made and shown, without waiting for anything.
    void Launch();
    void WaitForFirstFrame();
    // Chooses File > Quit and waits until the window has closed.
    void Quit();
    // Waits until `count` more frames have run.
    void WaitFrames(int count);
    // Frames until the rings' animations have ended (at most three seconds' worth).
    void Settle();

    QOXApp* App() const;
    QWindow* GLView() const;
    QAction* Item(const char* name) const;
    QString Panel(int index) const;
    QOXRing* CurrentRing() const;
    // Where an element's sector lies in the view (pixels from its top left), projected through the
    // camera as the ring renderer draws it.
    QPoint ViewPointOf(const QRElement* element) const;
    void MoveTo(QPoint point);
    void Click(QPoint point, Qt::MouseButton button = Qt::LeftButton);
    // The key is held for one frame, so that the frame's poll sees it.
    void PressForAFrame(Qt::Key key);

    ProgramHome Home;
    FileTree Tree;
    QASettings Settings;
    WindowPlacement Placement;
    std::vector<QAStartTarget> StartTargets; // the rings of the command line
    std::unique_ptr<TFormMain> Form;
};
