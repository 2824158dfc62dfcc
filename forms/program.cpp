// orbivane: the program a user starts, `orbivane [FOLDER|URL ...]`. Its data lies beside the
// executable (a portable copy, or the folder ORBIVANE_HOME names) or under <prefix>/share/orbivane/
// with each user's settings and log in the XDG folders (an installed copy).
#include <QApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/app_command_line.h"
#include "app/app_constant.h"
#include "app/app_main.h"
#include "forms/main.h"
#include "platform/program_folder.h"
#include "platform/qt_quit_signals.h"

namespace {

// The desktop entry, the icon and the AppStream component share this name.
constexpr const char* kDesktopName = "io.github.orbivane.Orbivane";

// In a Wayland session that offers X (XWayland) the program takes X11: Wayland gives no program
// the pointer's place on the screen, where the pop-up menus open, nor lets a window place itself as
// the recent file remembers it. A platform the user names (QT_QPA_PLATFORM, -platform) wins. The choice is Qt's to read while it starts only: the
// programs the desktop opens from Orbivane do not inherit it.
class PreferX11 {
public:
    PreferX11() : Chosen(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
    {
        if (Chosen)
            qputenv("QT_QPA_PLATFORM", "xcb");
    }
    void Started() const
    {
        if (Chosen)
            qunsetenv("QT_QPA_PLATFORM");
    }

private:
    bool Chosen = false;
};

QACommandLine ReadCommandLine(int argc, char** argv)
{
    std::error_code ignored;
    return ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::filesystem::current_path(ignored));
}

} // namespace

int main(int argc, char** argv)
{
    // Help and version need no display, so they are answered before Qt starts.
    const QACommand asked = ReadCommandLine(argc, argv).Command;
    if (asked == QACommand::Help || asked == QACommand::Version) {
        std::cout << (asked == QACommand::Help ? HelpText(platform::CurrentProgramFolders()) : VersionText());
        return 0;
    }
    const PreferX11 platform;
    QApplication application(argc, argv); // takes Qt's own options (-platform, -style, ...) off the line
    platform.Started();
    const QACommandLine line = ReadCommandLine(argc, argv);
    if (line.Command == QACommand::Refuse) {
        std::cerr << "orbivane: " << line.Problem << "\n";
        return kExitWrongCommandLine;
    }
    QApplication::setApplicationName(kAppCaption);
    QApplication::setApplicationVersion(kAppVersion);
    QGuiApplication::setDesktopFileName(kDesktopName);
    TFormMain form(line.Targets);
    if (!line.FrameStats.empty())
        form.Application->FrameStats.Open(line.FrameStats);
    platform::QtQuitSignals quit([&form] { form.close(); });
    form.show();
    return QApplication::exec();
}
