#include "engine/qox_main.h"

#include <gtest/gtest.h>

#include <algorithm>


#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_timer.h"
#include "platform/window_timer.h"
#include "tests/support/engine_fixture.h"

namespace {

using Box = platform::RecordingDesktopServices::Box;
using BoxKind = platform::RecordingDesktopServices::BoxKind;

const std::string kSeparator(42, '-');

TEST_F(EngineTest, LogFromInitializeStartsWithBannerAndModuleLines)
{
    const std::vector<std::string> expected = {
        "Console created!",
        " ",
        kSeparator,
        "QOX Engine: Initializing...",
        " ",
        "Engine:      QOX - QOX Ring Engine for Orbivane",
        "Version:     0.0.0.1",
        "Copyright:   (c) 2026 The Orbivane developers",
        " ",
        "QOX Engine: File System initialized!",
        "QOX Engine: Math Class initialized!",
        "QOX Engine: Convert Class initialized!",
        "QOX Engine: Timer Class initialized!",
        "QOX Engine: Script Class initialized!",
        "QOX Engine: Script Parser Class initialized!",
        kSeparator,
        " ",
    };
    EXPECT_EQ(LogLines(), expected);
}

TEST_F(EngineTest, InitializeEmptiesAnEarlierLogAndSwitchesTheTimers)
{
    TheEngine->Console->AddLine("left from an earlier run");
    platform::FlagWindowTimer startup(true);
    platform::FlagWindowTimer frame(false);
    TheEngine->Initialize(&startup, &frame);
    EXPECT_FALSE(startup.IsEnabled());
    EXPECT_TRUE(frame.IsEnabled());
    EXPECT_EQ(TheEngine->MainTimer, &frame);
    EXPECT_EQ(LogLines().front(), "Console created!");
    EXPECT_EQ(LogLines().size(), 17u);

    DestroyEngine();
    EXPECT_FALSE(frame.IsEnabled());
}

TEST_F(EngineTest, ErrorShowsTheBoxAndWritesOneLine)
{
    TheEngine->Error("QX_FILE", "File \"x.bmp\" not found!");
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Kind, BoxKind::Error);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QX_FILE: File \"x.bmp\" not found!");
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QX_FILE: File \"x.bmp\" not found!"});

    TheEngine->ShowErrorDialogs = false;
    TheEngine->Error(std::string(40, 'K'), std::string(300, 't'));
    EXPECT_EQ(Desktop.Boxes.size(), 1u);
    const auto lines = NewLogLines();
    ASSERT_EQ(lines.size(), 1u);
    // The key is cut to 32 and the text to 255; the log line itself is cut to 255 too.
    EXPECT_EQ(lines[0], "  ERROR: " + std::string(32, 'K') + ": " + std::string(255 - 9 - 34, 't'));
}

TEST_F(EngineTest, MessageShowsAnInformationBoxAndLogs)
{
    TheEngine->Message("Done.");
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Kind, BoxKind::Information);
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  MESSAGE: Done."});
}

TEST_F(EngineTest, ShutDownWritesItsLinesAndFreesModulesInReverseOrder)
{
    TheEngine->LogObjects = true;
    DestroyEngine();
    const auto lines = NewLogLines();
    const std::vector<std::string> expected = {
        kSeparator,
        "QOX Engine: Shut down...",
        kSeparator,
        " ",
        "OBJECT_DELETE: ID n: \"QOX Engine Parser\" (QOXParser)",
        "OBJECT_DELETE: ID n: \"QOX Engine Script\" (QOXScript)",
        "OBJECT_DELETE: ID n: \"QOX Engine Timer\" (QOXTimer)",
        "OBJECT_DELETE: ID n: \"QOX Engine Convert\" (QOXConvert)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math Color\" (QMColor)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math Round\" (QMRound)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math Random\" (QMRandom)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math Matrix\" (QMMatrix)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math Collision 3D\" (QMCollision3D)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math Collision 2D\" (QMCollision2D)",
        "OBJECT_DELETE: ID n: \"QOX Engine Math\" (QOXMath)",
    };
    // IDs depend on what ran before in this process.
    std::vector<std::string> withoutIds;
    for (const std::string& line : lines) {
        const std::size_t id = line.find("ID ");
        withoutIds.push_back(id == std::string::npos ? line : line.substr(0, id + 3) + "n" + line.substr(line.find(':', id)));
    }
    EXPECT_EQ(withoutIds, expected);
    EXPECT_TRUE(Desktop.Boxes.empty());
}

// An installed copy: the engine makes the user's folders and copies the shipped settings into
// them before the log opens in the state folder, and names the folders in the log; a folder that
// cannot be made is reported.
TEST_F(EngineTest, AnInstalledCopyPreparesTheUsersFoldersBeforeTheLogOpens)
{
    const std::string root = ProgramFolder.Path();
    ProgramFolder.Write("share/orbivane.ini", "[STARTUP]\nInitialRingMode=-1\n");
    ProgramFolder.Write("blocked", "");
    struct Case {
        std::string Config;
        std::string State;
        std::size_t Boxes;
    };
    const Case cases[] = {{root + "home/.config/orbivane/", root + "home/.local/state/orbivane/", 0},
                          {root + "blocked/orbivane/", root + "state/", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Config);
        DestroyEngine();
        Desktop.Boxes.clear();
        TheEngine = QOXNew<QOXEngine>(&Desktop);
        QOXFileSystem& files = *TheEngine->FileSystem;
        files.Layout = platform::ProgramLayout::Installed;
        files.BasePath = root + "share/";
        files.ConfigPath = c.Config;
        files.StatePath = c.State;
        TheEngine->Initialize(nullptr, nullptr);
        EXPECT_EQ(files.MakeConfigPath("orbivane", "ini"), c.Config + "orbivane.ini");
        const std::vector<std::string> log = ProgramFolder.ReadLines(c.State.substr(root.size()) + "console.txt");
        const auto logged = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
        EXPECT_TRUE(logged("QOX Engine: Settings and lists in " + c.Config));
        EXPECT_TRUE(logged("QOX Engine: Log and state in " + c.State));
        ASSERT_EQ(Desktop.Boxes.size(), c.Boxes);
        if (c.Boxes == 0)
            EXPECT_EQ(ProgramFolder.Read(c.Config.substr(root.size()) + "orbivane.ini"), "[STARTUP]\nInitialRingMode=-1\n");
        else
            EXPECT_EQ(Desktop.Boxes[0].Text.rfind("QX_FILE: Cannot make the folder \"" + c.Config.substr(0, c.Config.size() - 1), 0), 0u);
    }
}

// Reports something as it dies; made a child of the file system, it dies after the console.
class LateReporter : public QOXObject {
    QOX_CLASS(LateReporter)
public:
    using QOXObject::QOXObject;

protected:
    void BeforeDestroy() override
    {
        Engine()->Error("QX_FILE", "late error");
        Engine()->Message("late message");
    }
};

TEST_F(EngineTest, ErrorsAndMessagesAfterTheConsoleDiedStillShowTheirBoxes)
{
    QOXNew<LateReporter>(TheEngine->FileSystem, "late");
    DestroyEngine();
    ASSERT_EQ(Desktop.Boxes.size(), 2u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QX_FILE: late error");
    EXPECT_EQ(Desktop.Boxes[1].Text, "late message");
    EXPECT_EQ(NewLogLines().size(), 4u); // the shut-down lines only
}

TEST_F(EngineTest, LeakReportCountsForgottenObjects)
{
    QOXObject* forgotten = QOXNew<QOXObject>(nullptr, "forgotten");
    DestroyEngine();
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "There are still 1 instances of QOX Objects left!");
    forgotten->Destroy();
}

TEST_F(EngineTest, UpdateTicksAndDrainsMessagesOnlyWhenAsked)
{
    TheEngine->Update();
    EXPECT_EQ(Desktop.ProcessEventsCalls, 1);
    EXPECT_GT(TheEngine->Timer->GetDelta(), 0.0f);
    TheEngine->ProcessMessages = false;
    TheEngine->Update();
    EXPECT_EQ(Desktop.ProcessEventsCalls, 1);
}

TEST_F(EngineTest, ErrorShutdownEndsTheProcessWithItsCode)
{
    platform::FlagWindowTimer frame(false);
    TheEngine->MainTimer = &frame;
    EXPECT_EXIT(
        {
            TheEngine->ErrorShutdown(1, "No OpenGL context");
        },
        ::testing::ExitedWithCode(1), "");
    TheEngine->MainTimer = nullptr;
    // The child wrote its line before it ended.
    const auto lines = NewLogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "  ERROR: QX_ERRORSHUTDOWN: Error Code: 1  ERROR: No OpenGL context");
}

TEST_F(EngineTest, GlobalEngineIsClearedWhenItDies)
{
    EXPECT_EQ(Engine(), TheEngine);
    DestroyEngine();
    EXPECT_EQ(Engine(), nullptr);
}

} // namespace
