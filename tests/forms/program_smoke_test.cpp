// The program itself, started as a user starts it, on the test run's X server: its first frames
// show a ring, File > Quit ends it cleanly. xdotool finds the window and works its menu as a user
// would, with the pointer and the keyboard.
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <fstream>

#include "tests/support/form_fixture.h"

namespace {

constexpr int kTimeout = 20000; // milliseconds

QString Xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start("xdotool", arguments);
    if (!tool.waitForFinished(kTimeout))
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

class ProgramTest : public FormTest {};

TEST_F(ProgramTest, StartsShowsARingAndQuitsFromItsMenu)
{
    Tree.File("documents/letter.txt", 100);
    Tree.File("pictures/cat.png", 100);
    Tree.File("notes.txt", 100);
    Home.WriteSettings(Settings);
    Home.WritePlacement({60, 40, 800, 600, false});
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORBIVANE_HOME", QString::fromStdString(Home.Path()));
    // In a sanitizer build: the in-process tests check our code for leaks; at the program's exit
    // Mesa has unloaded its driver, whose allocations the leak checker can then no longer name.
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    program.setProcessEnvironment(environment);
    const std::string frameStats = Home.Path() + "frames.txt";
    program.start(ORBIVANE_PROGRAM, {"--frame-stats", QString::fromStdString(frameStats)});
    ASSERT_TRUE(program.waitForStarted(kTimeout));

    const QString window = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Orbivane - "}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty()) << "no window";
    QImage picture;
    const bool ringShown = QTest::qWaitFor(
        [&] {
            picture = QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage();
            return RingShare(picture) > 0.05;
        },
        kTimeout);
    picture.save(QString::fromStdString(Home.Path() + "screenshot.png"));
    EXPECT_TRUE(ringShown) << "the ring covers " << RingShare(picture) << " of the view";

    Xdotool({"mousemove", "--window", window, "15", "10", "click", "1"});
    QTest::qWait(300);
    Xdotool({"key", "Up", "Return"});
    ASSERT_TRUE(program.waitForFinished(kTimeout)) << "still running after File > Quit";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // A line per drawn frame: its milliseconds and the elements it drew (the root and its three).
    std::ifstream stats(frameStats);
    double milliseconds = 0.0;
    long elements = 0;
    ASSERT_TRUE(stats >> milliseconds >> elements);
    EXPECT_GT(milliseconds, 0.0);
    EXPECT_EQ(elements, 4);
    const std::vector<std::string> lines = Home.LogLines();
    const auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
    const long end = static_cast<long>(lines.size());
    EXPECT_LT(at("Application Layer: Shut down..."), at("QOX GL: Shut down..."));
    EXPECT_LT(at("QOX GL: Shut down..."), at("QOX Engine: Shut down..."));
    EXPECT_LT(at("QOX Engine: Shut down..."), end);
}

} // namespace
