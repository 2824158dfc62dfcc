#include "app/app_command_line.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace {

TEST(CommandLine, EachArgumentBecomesARingOrRefusesTheLine)
{
    TempFolder tree;
    const std::string t = tree.Path();
    tree.Write("sub/a.txt", "a");
    tree.Write("sub two/b.txt", "b");
    tree.Write("-dash/c.txt", "c");
    tree.Write("notes:2024/d.txt", "d");
    struct Case {
        std::vector<std::string> Arguments;
        QACommand Command;
        std::vector<QAStartTarget> Targets;
        std::string Problem;
        std::string FrameStats = {};
    };
    const Case cases[] = {
        {{}, QACommand::Run, {}, ""},
        {{"--help"}, QACommand::Help, {}, ""},
        {{"-h", "missing"}, QACommand::Help, {}, ""},
        {{"missing", "--version", "--help"}, QACommand::Version, {}, ""},
        {{t + "sub"}, QACommand::Run, {{t + "sub/", ""}}, ""},
        {{"sub", "sub/../sub two/./"}, QACommand::Run, {{t + "sub/", ""}, {t + "sub two/", ""}}, ""},
        {{"sub/a.txt"}, QACommand::Run, {{t + "sub/", "a.txt"}}, ""},
        {{"file://" + t + "sub%20two/b.txt"}, QACommand::Run, {{t + "sub two/", "b.txt"}}, ""},
        {{"FILE://localhost" + t + "sub"}, QACommand::Run, {{t + "sub/", ""}}, ""},
        {{"notes:2024"}, QACommand::Run, {{t + "notes:2024/", ""}}, ""},
        {{"--", "-dash", "--help"}, QACommand::Refuse, {}, "cannot open \"--help\": No such file or directory"},
        {{"--", "-dash"}, QACommand::Run, {{t + "-dash/", ""}}, ""},
        {{"sub", "missing"}, QACommand::Refuse, {}, "cannot open \"missing\": No such file or directory"},
        {{"sub/a.txt/"}, QACommand::Refuse, {}, "cannot open \"sub/a.txt/\": Not a directory"},
        {{"-dash"}, QACommand::Refuse, {}, "unknown option \"-dash\" (orbivane --help lists the options)"},
        {{"file://server/share/"}, QACommand::Refuse, {}, "\"file://server/share/\" is not a file on this computer"},
        {{"https://example.org/"}, QACommand::Refuse, {}, "\"https://example.org/\" is not a local folder or file"},
        {{""}, QACommand::Refuse, {}, "an empty path names no folder"},
        {{"sub", "--frame-stats", "f.txt"}, QACommand::Run, {{t + "sub/", ""}}, "", "f.txt"},
        {{"--frame-stats"}, QACommand::Refuse, {}, "--frame-stats needs a file"},
        {{"--", "--frame-stats", "f.txt"}, QACommand::Refuse, {}, "cannot open \"--frame-stats\": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Arguments));
        const QACommandLine line = ParseCommandLine(c.Arguments, t);
        EXPECT_EQ(line.Command, c.Command);
        EXPECT_EQ(line.Targets, c.Targets);
        EXPECT_EQ(line.Problem, c.Problem);
        EXPECT_EQ(line.FrameStats, c.FrameStats);
    }
}

TEST(CommandLine, HelpAndAboutSayWhichLayoutIsInUseAndWhereTheFilesAre)
{
    const platform::ProgramFolders installed{platform::ProgramLayout::Installed, "/usr/share/orbivane/",
                                             "/home/ann/.config/orbivane/", "/home/ann/.local/state/orbivane/",
                                             "/home/ann/.cache/orbivane/"};
    const std::string help = HelpText(installed);
    EXPECT_EQ(help.rfind("Usage: orbivane [OPTION] [FOLDER|URL ...]\n", 0), 0u);
    for (const char* line : {"Files (installed layout):\n", "  data, read only:    /usr/share/orbivane/\n",
                             "  settings and lists: /home/ann/.config/orbivane/ (orbivane.ini, views.ini, "
                             "favorites.ini, recent.ini)\n",
                             "  log and state:      /home/ann/.local/state/orbivane/ (console.txt)\n",
                             "  cache:              /home/ann/.cache/orbivane/ (texture-cache/, made again when removed)\n",
                             "--version"})
        EXPECT_NE(help.find(line), std::string::npos) << line;
    const platform::ProgramFolders portable{platform::ProgramLayout::Portable, "/opt/o/", "/opt/o/", "/opt/o/", "/opt/o/"};
    EXPECT_EQ(FilesText(portable), "Files (portable layout): everything in /opt/o/\n");
    EXPECT_EQ(VersionText(), std::string("Orbivane ") + ORBIVANE_VERSION + "\n");
}

} // namespace
