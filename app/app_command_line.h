#pragma once
// The program's command line, `orbivane [FOLDER|URL ...]`, `--help`, `--version` and
// `--frame-stats FILE` (a line per drawn frame, for measuring frames): each folder
// (or file:// URL) is opened as a ring after the rings the settings open at start; a file opens a
// ring on its folder with the file current. The texts of --help and of the about box that say
// where the program keeps its files.
#include <string>
#include <vector>

#include "platform/program_folder.h"

// One ring asked for on the command line.
struct QAStartTarget {
    std::string Folder; // absolute, with a trailing "/"
    std::string File;   // the name of the file to make current in it; empty for a folder
    bool operator==(const QAStartTarget&) const = default;
};

enum class QACommand { Run, Help, Version, Refuse };

struct QACommandLine {
    QACommand Command = QACommand::Run;
    std::vector<QAStartTarget> Targets; // in the order given
    std::string FrameStats;             // the file for the frame statistics, when asked for
    std::string Problem;                // why the command line is refused
};

// The exit code of a refused command line (an unknown option, a path that does not exist).
inline constexpr int kExitWrongCommandLine = 2;

// The arguments without the program's name; relative paths are taken from `workingFolder`. Help
// and Version win over everything else on the line; after "--" every argument is a path.
QACommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& workingFolder);

std::string HelpText(const platform::ProgramFolders& folders);
std::string VersionText();
// Which layout is in use and where its files lie, a line each.
std::string FilesText(const platform::ProgramFolders& folders);
