#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/qox_main.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/hostile_files.h"

namespace {

class SettingsFileTest : public EngineTest {
protected:
    std::string Path() const { return ProgramFolder.Path() + "orbivane.ini"; }
};

TEST_F(SettingsFileTest, MissingFileIsNeitherReadNorWritten)
{
    QASettings settings;
    settings.AnimationSpeed = 7.0f;
    EXPECT_FALSE(ReadSettingsFile(Path(), settings));
    EXPECT_EQ(settings.AnimationSpeed, 7.0f);
    EXPECT_FALSE(WriteSettingsFile(Path(), settings));
    EXPECT_FALSE(std::filesystem::exists(Path()));
    EXPECT_TRUE(Desktop.Boxes.empty());
}

// A settings file that is a link to an endless device, a pipe or holds a line over 1 MiB is
// refused without waiting: every setting takes its table default, and saving leaves the file as it
// was, for the user to repair.
TEST_F(SettingsFileTest, HostileFileGivesTheDefaultsAndIsKept)
{
    TheEngine->ShowErrorDialogs = false;
    for (const HostileFile hostile : HostileFiles()) {
        SCOPED_TRACE(HostileFileName(hostile));
        const std::string state = HostileFileState(MakeHostileFile(Path(), hostile));
        QASettings settings;
        settings.AnimationSpeed = 7.0f;
        settings.InitialRingFolder = "/left/over/";
        EXPECT_FALSE(ReadSettingsFile(Path(), settings));
        EXPECT_EQ(SettingsText(settings), SettingsText(QASettings{}));
        settings.AnimationSpeed = 9.0f;
        EXPECT_FALSE(WriteSettingsFile(Path(), settings));
        EXPECT_EQ(HostileFileState(Path()), state);
        const std::vector<std::string> log = NewLogLines();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].rfind("  ERROR: QX_FILE: ", 0), 0u) << log[0];
        EXPECT_EQ(log[1], "File \"" + Path() + "\" could not be read, so it is not written over.");
        std::filesystem::remove(Path());
    }
}

// Files that once lost settings when written back: each reads, writes and reads again to the same
// settings (a NUL in a value used to cut off the rest of the file; a value's last carriage return
// was lost).
TEST_F(SettingsFileTest, FilesThatOnceLostSettingsReadBackTheSame)
{
    const struct {
        const char* File;
        std::string Folder;
    } cases[] = {{"nul-in-value.ini", std::string("/home/ann/a\0b/", 14)},
                 {"carriage-returns.ini", "/home/ann/"}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.File);
        std::filesystem::copy_file(std::string(ORBIVANE_SOURCE_DIR "/tests/fuzz/regressions/settings/") + test.File,
                                   Path(), std::filesystem::copy_options::overwrite_existing);
        QASettings first;
        ASSERT_TRUE(ReadSettingsFile(Path(), first));
        EXPECT_EQ(first.InitialRingFolder, test.Folder);
        EXPECT_FALSE(first.DisplayHiddenFiles);
        ASSERT_TRUE(WriteSettingsFile(Path(), first));
        QASettings second;
        ASSERT_TRUE(ReadSettingsFile(Path(), second));
        EXPECT_EQ(SettingsText(second), SettingsText(first));
    }
}

TEST_F(SettingsFileTest, MissingKeysTakeTheTableDefaults)
{
    ProgramFolder.Write("orbivane.ini", "[DISPLAY]\r\nDisplayHiddenFiles=0\r\n");
    QASettings settings;
    settings.AnimationSpeed = 0.0f;
    settings.InitialRingFolder = "/left/over/";
    ASSERT_TRUE(ReadSettingsFile(Path(), settings));
    EXPECT_FALSE(settings.DisplayHiddenFiles);
    QASettings expected;
    expected.DisplayHiddenFiles = false;
    EXPECT_EQ(SettingsText(settings), SettingsText(expected));
}

TEST_F(SettingsFileTest, ValuesThatAreNotNumbersTakeTheDefaults)
{
    ProgramFolder.Write("orbivane.ini", "[animation]\n"
                                        "animationspeed = fast\n"
                                        "RingAnimationSpeed=5.5\n"
                                        "AutoRotate=2\n"
                                        "AutoCenter=yes\n"
                                        "[SHADOW]\n"
                                        "ShadowMapSize=512px\n"
                                        "DisplayShadow=0\n"
                                        "[STARTUP]\n"
                                        "InitialRingMode=-1\n");
    QASettings settings;
    ASSERT_TRUE(ReadSettingsFile(Path(), settings));
    EXPECT_EQ(settings.AnimationSpeed, 4.0f);
    EXPECT_EQ(settings.RingAnimationSpeed, 5.5f);
    EXPECT_TRUE(settings.AutoRotate); // any non-zero number is true
    EXPECT_TRUE(settings.AutoCenter); // not a number: the default
    EXPECT_EQ(settings.ShadowMapSize, 256);
    EXPECT_FALSE(settings.DisplayShadow);
    EXPECT_EQ(settings.InitialRingMode, -1);
}

TEST_F(SettingsFileTest, EverythingWrittenReadsBackExactlyInTableOrder)
{
    ProgramFolder.Write("orbivane.ini", "[OLD]\nStale=1\n");
    QASettings written;
    written.InitialRingMode = 2;
    written.InitialRingFolder = "/home/ann/Photos (2020), best/";
    written.CreateRingForHDD = false;
    written.ComputeFolderSize = true;
    written.ReadableLabels = false;
    written.AutoRefreshTime = 0.1f;
    written.MinimumSizeFactor = 1.0e-7f;
    written.DefaultFocusFactor = 3.3333333f;
    written.AnimationSpeed = 123456.79f;
    written.MoveSelectionLeft = -0.0f;
    written.RingDisplayDuration = 16777217.0f;
    written.ShadowMapSize = -1;
    written.BananaMode = true;
    ASSERT_TRUE(WriteSettingsFile(Path(), written));

    const std::string text = ProgramFolder.Read("orbivane.ini");
    EXPECT_EQ(text, SettingsText(written));
    EXPECT_EQ(text.rfind("[STARTUP]\nInitialRingMode=2\nInitialRingFolder=/home/ann/Photos (2020), best/\n", 0), 0u);
    EXPECT_NE(text.find("CreateRingForHDD=0\n"), std::string::npos);
    EXPECT_NE(text.find("AutoRefreshTime=0.1\n"), std::string::npos);
    EXPECT_NE(text.find("AllowMultipleEqualRings=0\nCountFolderSizesInBackground=1\nStayOnOneFileSystem=0\nReadableLabels=0\n"), std::string::npos);
    EXPECT_EQ(text.find("Stale"), std::string::npos);

    QASettings read;
    ASSERT_TRUE(ReadSettingsFile(Path(), read));
    EXPECT_EQ(SettingsText(read), text);
    EXPECT_EQ(read.AutoRefreshTime, 0.1f);
    EXPECT_EQ(read.MinimumSizeFactor, 1.0e-7f);
    EXPECT_EQ(read.DefaultFocusFactor, 3.3333333f);
    EXPECT_EQ(read.AnimationSpeed, 123456.79f);
    EXPECT_EQ(read.InitialRingFolder, written.InitialRingFolder);
    EXPECT_EQ(read.ShadowMapSize, -1);
    EXPECT_TRUE(read.BananaMode);
    EXPECT_FALSE(read.ReadableLabels);
}

TEST_F(SettingsFileTest, TheShippedFileHoldsTheTableDefaults)
{
    const std::filesystem::path shipped = std::filesystem::path(ORBIVANE_SOURCE_DIR) / "data" / "orbivane.ini";
    std::filesystem::copy_file(shipped, Path());
    EXPECT_EQ(ProgramFolder.Read("orbivane.ini"), SettingsText(QASettings{}));
}

TEST(SettingsLimits, TheDialogBringsValuesIntoRange)
{
    QASettings settings;
    settings.AnimationSpeed = 0.0f;
    settings.RingAnimationSpeed = 11.0f;
    settings.DefaultFocusFactor = 0.5f;
    settings.FocusFactorPerElement = -1.0f;
    settings.AutoRefreshTime = 20000.0f;
    settings.MoveSelectionLeft = 100.5f;
    settings.DisplayDuration = -3.0f;
    settings.RingDisplayDuration = 5.0f;
    settings.MinimumSizeFactor = 7.0f; // only edited in the file: no limit
    settings.InitialRingFolder = "/data";
    settings.SizeHistoryCounts = 0;
    ApplyPreferenceLimits(settings);
    EXPECT_EQ(settings.SizeHistoryCounts, 1) << "the newest count is always kept";
    EXPECT_EQ(settings.AnimationSpeed, 0.1f);
    EXPECT_EQ(settings.RingAnimationSpeed, 10.0f);
    EXPECT_EQ(settings.DefaultFocusFactor, 1.0f);
    EXPECT_EQ(settings.FocusFactorPerElement, 0.0f);
    EXPECT_EQ(settings.AutoRefreshTime, 10000.0f);
    EXPECT_EQ(settings.MoveSelectionLeft, 100.0f);
    EXPECT_EQ(settings.DisplayDuration, 0.0f);
    EXPECT_EQ(settings.RingDisplayDuration, 5.0f);
    EXPECT_EQ(settings.MinimumSizeFactor, 7.0f);
    EXPECT_EQ(settings.InitialRingFolder, "/data/");
    ApplyPreferenceLimits(settings);
    EXPECT_EQ(settings.InitialRingFolder, "/data/");
}

} // namespace
