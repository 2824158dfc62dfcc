// The program itself, started as a user starts it, on the test run's X server: its first frames
// show a ring, File > Quit ends it cleanly. xdotool finds the window and works its menu as a user
// would, with the pointer and the keyboard. Its command line: the folders it opens, help and
// version without a display, and the refusal of what does not exist.
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <signal.h>

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

class ProgramTest : public FormTest {
protected:
    // The program on the test run's display (or on none), with the test's program folder.
    void StartProgram(QProcess& program, const QStringList& arguments, bool display = true) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ORBIVANE_HOME", QString::fromStdString(Home.Path()));
        // In a sanitizer build: the in-process tests check our code for leaks; at the program's exit
        // Mesa has unloaded its driver, whose allocations the leak checker can then no longer name.
        environment.insert("ASAN_OPTIONS", "detect_leaks=0");
        if (!display)
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(ORBIVANE_PROGRAM, arguments);
    }
};

TEST_F(ProgramTest, StartsShowsARingAndQuitsFromItsMenu)
{
    Tree.File("documents/letter.txt", 100);
    Tree.File("pictures/cat.png", 100);
    Tree.File("notes.txt", 100);
    Home.WriteSettings(Settings);
    Home.WritePlacement({60, 40, 800, 600, false});
    QProcess program;
    const std::string frameStats = Home.Path() + "frames.txt";
    StartProgram(program, {"--frame-stats", QString::fromStdString(frameStats)});
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

TEST_F(ProgramTest, AnswersHelpAndVersionWithoutADisplayAndRefusesWhatDoesNotExist)
{
    struct Case {
        QStringList Arguments;
        bool Display;
        int ExitCode;
        std::string Output; // a line of standard output, or of standard error when refused
    };
    const Case cases[] = {
        {{"--version"}, false, 0, std::string("Orbivane ") + ORBIVANE_VERSION + "\n"},
        {{"--help", "/no/such/folder"}, false, 0, "Usage: orbivane [OPTION] [FOLDER|URL ...]\n"},
        {{"/no/such/folder"}, true, 2, "orbivane: cannot open \"/no/such/folder\": No such file or directory\n"},
        {{"--bogus"}, true, 2, "orbivane: unknown option \"--bogus\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        QProcess program;
        StartProgram(program, c.Arguments, c.Display);
        ASSERT_TRUE(program.waitForFinished(kTimeout));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.ExitCode);
        const QByteArray output = c.ExitCode == 0 ? program.readAllStandardOutput() : program.readAllStandardError();
        EXPECT_NE(output.toStdString().find(c.Output), std::string::npos) << output.toStdString();
        if (c.Arguments.first() == "--help") {
            EXPECT_TRUE(output.contains(("everything in " + Home.Path()).c_str())) << output.toStdString();
        }
    }
    EXPECT_TRUE(Home.LogLines().empty()) << "a refused command line starts nothing";
}

// The folder of a file given on the command line opens as the current ring; SIGTERM (a session
// ending) closes the window as File > Quit does, saving the settings.
TEST_F(ProgramTest, OpensTheFolderOfAFileItIsGivenAndClosesCleanlyOnSigterm)
{
    Tree.File("pictures/cat.png", 100);
    Tree.File("pictures/dog.png", 300);
    Settings.InitialRingMode = -1;
    Home.WriteSettings(Settings);
    Home.WritePlacement({60, 40, 800, 600, false});
    QProcess program;
    StartProgram(program, {QString::fromStdString(Tree.PathOf("pictures/cat.png"))});
    ASSERT_TRUE(program.waitForStarted(kTimeout));
    const QString title = QRegularExpression::escape(QString::fromStdString("Orbivane - " + Tree.PathOf("pictures/")));
    const QString window = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty()) << "no window on the file's folder";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return RingShare(QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage()) > 0.05; },
        kTimeout));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(kTimeout)) << "still running after SIGTERM";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const std::vector<std::string> lines = Home.LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Saving Ini File..."), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "QOX Engine: Shut down..."), lines.end());
}

} // namespace
