// The Debian package as a user meets it: built by CPack from this build, checked by lintian,
// installed into this machine with dpkg, started from /usr/bin as an unprivileged user with an empty
// home on the test's X server, and removed again with every file it brought. It needs root and
// dpkg and is skipped with the reason otherwise; a lock file keeps two runs on one machine apart.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/form_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTimeout = 60000; // milliseconds, for each command
constexpr const char* kPackage = "orbivane";
constexpr const char* kLockFile = "/run/lock/orbivane-package-test.lock";
// Left by a run that installed the package, until it has removed it again: a package found
// installed without it is somebody else's, which the test leaves alone.
constexpr const char* kInstalledMark = "/var/tmp/orbivane-package-test.installed";

struct Result {
    int Code = -1;
    std::string Out;
    std::string Err;
};

Result Command(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(kTimeout)) {
        process.kill();
        process.waitForFinished();
        result.Err = "timed out";
        return result;
    }
    result.Code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = process.readAllStandardOutput().toStdString();
    result.Err = process.readAllStandardError().toStdString();
    return result;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string MissingTool()
{
    for (const char* tool : {"dpkg", "dpkg-deb", "dpkg-shlibdeps", "cpack", "lintian", "useradd", "userdel", "runuser",
                             "xdotool"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool;
    return {};
}

// Holds the machine's package test lock for as long as it lives.
class MachineLock {
public:
    MachineLock() : Descriptor(::open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (Descriptor >= 0)
            ::flock(Descriptor, LOCK_EX);
    }
    ~MachineLock()
    {
        if (Descriptor >= 0)
            ::close(Descriptor);
    }
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

private:
    int Descriptor = -1;
};

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef ORBIVANE_SANITIZED
        GTEST_SKIP() << "a sanitizer build is not packaged";
#endif
        if (::geteuid() != 0)
            GTEST_SKIP() << "installing a package and starting the program as another user need root";
        if (const std::string tool = MissingTool(); !tool.empty())
            GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs what the test needs)";
        Lock = std::make_unique<MachineLock>();
        if (Installed() && !fs::exists(kInstalledMark))
            GTEST_SKIP() << "a package orbivane is installed on this machine; the test would replace it";
        MakeTestApplication();
        ::chmod(Scratch.Path().c_str(), 0755);
        User = "orbtest" + std::to_string(::getpid());
        Home = Scratch.Path() + "home";
        Tree = Scratch.Path() + "tree/";
    }

    void TearDown() override
    {
        if (!Lock)
            return;
        // A program still running (a failed step) belongs to the test's user and dies with it.
        if (UserMade) {
            Command("pkill", {"-KILL", "-u", QString::fromStdString(User)});
            QTest::qWait(200);
            Command("userdel", {QString::fromStdString(User)});
        }
        if (Installed() && fs::exists(kInstalledMark))
            Command("dpkg", {"--remove", kPackage});
        if (!Installed())
            fs::remove(kInstalledMark);
    }

    static bool Installed()
    {
        const Result status = Command("dpkg-query", {"-W", "-f=${Status}", kPackage});
        return status.Code == 0 && Contains(status.Out, "install ok installed");
    }

    std::string BuildPackage()
    {
        const QString folder = QString::fromStdString(Scratch.Path() + "package");
        const Result built = Command("cpack", {"-G", "DEB", "--config", ORBIVANE_CPACK_CONFIG, "-B", folder});
        EXPECT_EQ(built.Code, 0) << built.Out << built.Err;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder.toStdString()))
            if (entry.path().extension() == ".deb")
                return entry.path().string();
        return {};
    }

    void MakeUser()
    {
        const Result made = Command("useradd", {"--no-create-home", "--home-dir", QString::fromStdString(Home), "--shell",
                                            "/bin/sh", "--user-group", QString::fromStdString(User)});
        ASSERT_EQ(made.Code, 0) << made.Err;
        UserMade = true;
        fs::create_directory(Home);
        fs::create_directories(Tree + "sub");
        std::ofstream(Tree + "sub/letter.txt") << std::string(1000, 'a');
        std::ofstream(Tree + "notes.txt") << std::string(3000, 'b');
        // The user reaches the test's X server with a copy of its cookie, kept out of the home.
        const std::string cookie = Scratch.Path() + "Xauthority";
        ASSERT_FALSE(qEnvironmentVariable("XAUTHORITY").isEmpty()) << "the test runs under xvfb-run";
        fs::copy_file(qEnvironmentVariable("XAUTHORITY").toStdString(), cookie);
        for (const std::string& path : {Home, cookie, Tree, Tree + "sub", Tree + "sub/letter.txt", Tree + "notes.txt"})
            ASSERT_EQ(Command("chown", {QString::fromStdString(User + ":" + User), QString::fromStdString(path)}).Code, 0);
        ::chmod(Home.c_str(), 0700);
    }

    // The installed program as the user, with nothing of the test's environment but the display.
    QStringList AsUser(const QStringList& arguments) const
    {
        QStringList command{"-u",
                            QString::fromStdString(User),
                            "--",
                            "env",
                            "-i",
                            QString::fromStdString("HOME=" + Home),
                            QString::fromStdString("USER=" + User),
                            "PATH=/usr/bin:/bin",
                            "LANG=C.UTF-8",
                            "DISPLAY=" + qEnvironmentVariable("DISPLAY"),
                            QString::fromStdString("XAUTHORITY=" + Scratch.Path() + "Xauthority"),
                            "/usr/bin/orbivane"};
        return command + arguments;
    }

    // Starts the program as the user and waits for its window, whose title matches `title`; a
    // ring is drawn in it. Returns the window's id.
    QString StartProgram(QProcess& program, const QStringList& arguments, const QString& title)
    {
        program.start("runuser", AsUser(arguments));
        EXPECT_TRUE(program.waitForStarted(kTimeout));
        const Result found = Command("xdotool", {"search", "--sync", "--onlyvisible", "--name", title});
        const QString window = QString::fromStdString(found.Out).section('\n', 0, 0).trimmed();
        EXPECT_FALSE(window.isEmpty()) << "no window named " << title.toStdString() << "\n"
                                       << program.readAllStandardError().toStdString();
        if (window.isEmpty())
            return window;
        QImage picture;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                picture = QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage();
                return RingShare(picture) > 0.02;
            },
            kTimeout))
            << "the ring covers " << RingShare(picture) << " of the view";
        return window;
    }

    // Ends the program as a session does (SIGTERM to the program itself); it saves and exits 0.
    void EndProgram(QProcess& program, const QString& window)
    {
        const Result pid = Command("xdotool", {"getwindowpid", window});
        ASSERT_EQ(pid.Code, 0) << pid.Err;
        ::kill(static_cast<pid_t>(std::stol(pid.Out)), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(kTimeout)) << "still running after SIGTERM";
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_TRUE(Contains(ReadFile(Home + "/.local/state/orbivane/console.txt"), "QOX Engine: Shut down..."));
    }

    // The window title of a ring on the folder, as xdotool's pattern.
    static QString Title(const std::string& folder)
    {
        return "^" + QRegularExpression::escape(QString::fromStdString("Orbivane - " + folder)) + "$";
    }

    std::string Settings() const { return ReadFile(Home + "/.config/orbivane/orbivane.ini"); }

    // The user edits the settings file (as the preferences dialog would write it).
    bool EditSettings(const std::string& from, const std::string& to) const
    {
        std::string text = Settings();
        const std::size_t at = text.find(from);
        if (at == std::string::npos)
            return false;
        text.replace(at, from.size(), to);
        std::ofstream(Home + "/.config/orbivane/orbivane.ini", std::ios::binary | std::ios::trunc) << text;
        return true;
    }

    std::unique_ptr<MachineLock> Lock;
    TempFolder Scratch;
    std::string User;
    std::string Home;
    std::string Tree;
    bool UserMade = false;
};

TEST_F(PackageTest, InstallsRunsForAUserAndLeavesNoFileBehindWhenRemoved)
{
    const std::string deb = BuildPackage();
    ASSERT_FALSE(deb.empty());
    EXPECT_EQ(fs::path(deb).filename().string(), std::string("orbivane_") + ORBIVANE_VERSION + "_amd64.deb");
    const Result lint = Command("lintian", {"--fail-on", "error", QString::fromStdString(deb)});
    EXPECT_EQ(lint.Code, 0) << lint.Out << lint.Err;
    EXPECT_FALSE(QString::fromStdString(lint.Out).contains(QRegularExpression("^E: ", QRegularExpression::MultilineOption)))
        << lint.Out;

    std::ofstream(kInstalledMark).flush();
    const Result installed = Command("dpkg", {"--install", QString::fromStdString(deb)});
    ASSERT_EQ(installed.Code, 0) << installed.Out << installed.Err;
    // What the package brought: its files and links, and the folders that are its alone.
    std::vector<std::string> brought{"/usr/share/orbivane", "/usr/share/doc/orbivane"};
    std::istringstream listed(Command("dpkg-query", {"-L", kPackage}).Out);
    for (std::string path; std::getline(listed, path);)
        if (!path.empty() && !fs::is_directory(fs::symlink_status(path)))
            brought.push_back(path);
    EXPECT_GT(brought.size(), 30u);
    ASSERT_NO_FATAL_FAILURE(MakeUser());

    // The first start in an empty home: a ring on the root folder, the shipped settings and lists
    // copied into the user's folder, the log in the state folder, the compressed font kept in the
    // cache folder.
    {
        QProcess program;
        const QString window = StartProgram(program, {}, Title("/"));
        ASSERT_FALSE(window.isEmpty());
        EndProgram(program, window);
    }
    for (const char* name : {"orbivane.ini", "views.ini", "favorites.ini", "recent.ini"})
        EXPECT_EQ(ReadFile(Home + "/.config/orbivane/" + name).empty(), false) << name;
    EXPECT_TRUE(Contains(ReadFile(Home + "/.local/state/orbivane/console.txt"),
                         "QOX Engine: Settings and lists in " + Home + "/.config/orbivane/"));
    const std::string cache = Home + "/.cache/orbivane/texture-cache";
    EXPECT_TRUE(fs::is_directory(cache) && !fs::is_empty(cache));

    // Changed settings survive a restart: the folder the user set in the settings file opens and is
    // written back at the end; the window's place, changed in the program, comes back next time.
    ASSERT_TRUE(EditSettings("InitialRingMode=0\nInitialRingFolder=\nCreateRingForHDD=1",
                             "InitialRingMode=2\nInitialRingFolder=" + Tree + "\nCreateRingForHDD=0"))
        << Settings();
    {
        QProcess program;
        const QString window = StartProgram(program, {}, Title(Tree));
        ASSERT_FALSE(window.isEmpty());
        Command("xdotool", {"windowsize", window, "700", "500"});
        Command("xdotool", {"windowmove", window, "123", "77"});
        QTest::qWait(500);
        EndProgram(program, window);
    }
    EXPECT_TRUE(Contains(Settings(), "InitialRingMode=2\nInitialRingFolder=" + Tree + "\n")) << Settings();
    EXPECT_TRUE(Contains(ReadFile(Home + "/.local/state/orbivane/console.txt"), "Saving Ini File..."));

    // orbivane <folder>: the folder's ring is opened after the settings' ring and made current, in
    // the window's new place.
    {
        QProcess program;
        const QString window = StartProgram(program, {QString::fromStdString(Tree + "sub")}, Title(Tree + "sub/"));
        ASSERT_FALSE(window.isEmpty());
        const std::string geometry = Command("xdotool", {"getwindowgeometry", window}).Out;
        EXPECT_TRUE(Contains(geometry, "Position: 123,77") && Contains(geometry, "Geometry: 700x500")) << geometry;
        EndProgram(program, window);
    }

    // dpkg -r takes away every file the package brought; the user's own files stay.
    const Result removed = Command("dpkg", {"--remove", kPackage});
    ASSERT_EQ(removed.Code, 0) << removed.Out << removed.Err;
    EXPECT_FALSE(Installed());
    for (const std::string& path : brought)
        EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path << " is left after dpkg -r";
    EXPECT_TRUE(fs::exists(Home + "/.config/orbivane/orbivane.ini"));
}

} // namespace
