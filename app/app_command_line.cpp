#include "app/app_command_line.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/app_constant.h"
#include "platform/paths.h"
#include "platform/uri_list.h"

namespace {

// The name of a URL's scheme, or empty when the text has none ("a:b" without "//" is a path).
std::string Scheme(const std::string& text)
{
    std::size_t end = 0;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '+' ||
                                 text[end] == '-' || text[end] == '.'))
        ++end;
    if (end == 0 || !std::isalpha(static_cast<unsigned char>(text[0])) || end >= text.size() || text[end] != ':')
        return {};
    std::string scheme = text.substr(0, end);
    for (char& c : scheme)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme == "file" || text.compare(end, 3, "://") == 0 ? scheme : std::string();
}

QACommandLine Refused(const std::string& problem)
{
    return {QACommand::Refuse, {}, {}, problem};
}

// Help or Version when the line asks for one (the first that it names), Run otherwise.
QACommand AskedCommand(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "-h" || argument == "--help")
            return QACommand::Help;
        if (argument == "--version")
            return QACommand::Version;
    }
    return QACommand::Run;
}

// The local path an argument names, absolute and without "." and ".." steps; false with the
// reason when it names none.
bool LocalPath(const std::string& argument, const std::string& workingFolder, std::string& path, std::string& problem)
{
    const std::string scheme = Scheme(argument);
    if (scheme == "file") {
        if (platform::LocalPathOfUrl(argument, path))
            return true;
        problem = "\"" + argument + "\" is not a file on this computer";
        return false;
    }
    if (!scheme.empty()) {
        problem = "\"" + argument + "\" is not a local folder or file";
        return false;
    }
    if (argument.empty()) {
        problem = "an empty path names no folder";
        return false;
    }
    const std::filesystem::path given(argument);
    path = (given.is_absolute() ? given : std::filesystem::path(workingFolder) / given).lexically_normal().string();
    return true;
}

bool AddTarget(const std::string& argument, const std::string& workingFolder, QACommandLine& line)
{
    std::string path;
    std::string problem;
    if (!LocalPath(argument, workingFolder, path, problem)) {
        line = Refused(problem);
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        line = Refused("cannot open \"" + argument + "\": " + std::strerror(errno));
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        line.Targets.push_back({platform::WithTrailingSlash(path), {}});
        return true;
    }
    const std::filesystem::path file = std::filesystem::path(platform::WithoutTrailingSlash(path));
    line.Targets.push_back({platform::WithTrailingSlash(file.parent_path().string()), file.filename().string()});
    return true;
}

} // namespace

QACommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& workingFolder)
{
    if (const QACommand asked = AskedCommand(arguments); asked != QACommand::Run)
        return {asked, {}, {}, {}};
    QACommandLine line;
    bool options = true;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        if (options && *argument == "--") {
            options = false;
            continue;
        }
        if (options && *argument == "--frame-stats") {
            if (++argument == arguments.end() || argument->empty())
                return Refused("--frame-stats needs a file");
            line.FrameStats = *argument;
            continue;
        }
        if (options && argument->size() > 1 && argument->front() == '-')
            return Refused("unknown option \"" + *argument + "\" (orbivane --help lists the options)");
        if (!AddTarget(*argument, workingFolder, line))
            return line;
    }
    return line;
}

std::string FilesText(const platform::ProgramFolders& folders)
{
    const std::string layout = platform::LayoutName(folders.Layout);
    if (folders.Layout == platform::ProgramLayout::Portable)
        return "Files (" + layout + " layout): everything in " + folders.Data + "\n";
    return "Files (" + layout + " layout):\n"
           "  data, read only:    " + folders.Data + "\n"
           "  settings and lists: " + folders.Config + " (orbivane.ini, views.ini, favorites.ini, recent.ini)\n"
           "  log and state:      " + folders.State + " (console.txt)\n"
           "  cache:              " + folders.Cache + " (texture-cache/, made again when removed)\n";
}

std::string VersionText()
{
    return std::string(kAppCaption) + " " + kAppVersion + "\n";
}

std::string HelpText(const platform::ProgramFolders& folders)
{
    return "Usage: orbivane [OPTION] [FOLDER|URL ...]\n"
           "Shows folders as rings. Each FOLDER (or file:// URL) opens a ring, after the rings the\n"
           "settings open at start; a FILE opens a ring on its folder with the file current.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "      --frame-stats FILE\n"
           "                 write a line per drawn frame to FILE: its milliseconds from the start\n"
           "                 of its work to the end of its buffer swap, and the elements drawn\n"
           "  --             every argument after it is a folder or file, even one beginning with -\n"
           "\n" +
           FilesText(folders) +
           "\n"
           "Environment:\n"
           "  ORBIVANE_HOME  a folder that holds everything: data, settings, lists and log\n"
           "                 (the portable layout)\n"
           "\n"
           "Exit status: 0 once the window is closed; 2 for an unknown option or a path that does\n"
           "not exist.\n"
           "The manual: Help > Contents in the program, or man orbivane.\n";
}
