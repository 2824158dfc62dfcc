#include "engine/qox_console.h"

#include <algorithm>

#include "engine/file_file.h"
#include "engine/qox_constant.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"

namespace {
const std::string kSeparator(42, '-');
}

QOXConsole::QOXConsole(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}

std::string QOXConsole::LogFileName() const
{
    return Engine()->FileSystem->StatePath + Settings.FileName + ".txt";
}

void QOXConsole::Open(const std::string& baseName, bool enabled)
{
    (void)baseName; // the log keeps using Settings.FileName, whose default is that same name
    Enabled = enabled;
    if (!Enabled)
        return;
    QOXFileSystem* files = Engine()->FileSystem;
    QOXFile* file = files->OpenWrite(LogFileName(), QOXFile::Text);
    file->Destroy();
    AddLine("Console created!");
    AddBlank();
}

void QOXConsole::AddLine(const std::string& text)
{
    if (!Enabled)
        return;
    QOXEngine* engine = Engine();
    const bool logObjects = engine->LogObjects;
    engine->LogObjects = false;
    const std::string line = CutText(text, kStringL);
    AppendToFile(line);
    // A listener may add or remove listeners: the loop goes by index over those there were when
    // the line came, and calls a copy, which stays whole whatever the list does meanwhile.
    const std::size_t listeners = Settings.CallProcs.size();
    for (std::size_t i = 0; i < listeners && i < Settings.CallProcs.size(); ++i) {
        const auto call = Settings.CallProcs[i].Call;
        if (call)
            call(line);
    }
    engine->LogObjects = logObjects;
}

void QOXConsole::AppendToFile(const std::string& text)
{
    QOXFileSystem* files = Engine()->FileSystem;
    const std::string path = LogFileName();
    // A missing log file only means that the line does not reach the file.
    if (!files->FileExists(path, QOXFileSystem::Silent))
        return;
    // A log line stays one line in the file, whatever breaks the text holds.
    std::string line = text;
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    QOXFile* file = files->OpenFile(path, QOXFile::Text, QOXFile::Read, QOXFile::Append, QOXFile::Silent);
    file->WriteLine(line);
    file->Destroy();
}

void QOXConsole::AddBlank()
{
    AddLine(" ");
}

void QOXConsole::AddSeparator()
{
    AddLine(kSeparator);
}

void QOXConsole::AddCallProc(const void* owner, std::function<void(const std::string& text)> call)
{
    Settings.CallProcs.push_back({owner, std::move(call)});
    Settings.LastCallProc = static_cast<int>(Settings.CallProcs.size()) - 1;
}

void QOXConsole::RemoveCallProc(const void* owner)
{
    for (TCallProcAddLine& proc : Settings.CallProcs) {
        if (proc.Owner == owner)
            proc = TCallProcAddLine{};
    }
}

void QOXConsole::ClearCallProcs()
{
    Settings.CallProcs.clear();
    Settings.LastCallProc = -1;
}

void QOXConsole::BeforeDestroy()
{
    ClearCallProcs();
}
