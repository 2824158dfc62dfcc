#include "platform/file_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_inflight.h"

namespace platform {

namespace {

std::int64_t Seconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec);
}

} // namespace

StepEnd Worse(StepEnd a, StepEnd b)
{
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

FileRun::FileRun(OverwritePrompt* prompt, ProgressView* progress, std::chrono::milliseconds showAfter,
                 std::chrono::milliseconds eventInterval)
    : Prompt(prompt), Progress(progress), ShowAfter(showAfter), EventInterval(eventInterval)
{
}

FileRun::~FileRun()
{
    if (Shown)
        Progress->Hide();
}

// The mask can only be read by setting it; nothing else runs meanwhile on this thread.
mode_t FileRun::CurrentCreationMask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

void FileRun::AddToTotal(std::int64_t units)
{
    Total += units;
}

bool FileRun::Step(const std::string& from, const std::string& to, std::int64_t units)
{
    Done += units;
    if (Progress == nullptr || Cancelled)
        return !Cancelled;
    const Clock::time_point now = Clock::now();
    if (!Shown && now - Started >= ShowAfter) {
        Shown = true;
        Progress->Show();
    }
    if (now - LastEvents >= EventInterval) {
        LastEvents = now;
        HandleEvents({from, to, std::min(Done, Total), Total});
    }
    return !Cancelled;
}

void FileRun::HandleEvents(const ProgressReport& report)
{
    if (Shown)
        Progress->Report(report);
    Progress->ProcessEvents();
    if (Progress->CancelRequested())
        Cancelled = true;
}

Conflict FileRun::AskReplace(const std::string& existing, const struct stat& existingStatus,
                             const std::string& incoming, const struct stat& incomingStatus)
{
    OverwriteAnswer answer = Remembered;
    if (answer != OverwriteAnswer::YesToAll && answer != OverwriteAnswer::NoToAll) {
        if (Prompt == nullptr)
            return Conflict::Skip;
        answer = Prompt->Ask({existing, incoming, existingStatus.st_size, incomingStatus.st_size,
                              Seconds(existingStatus.st_mtim), Seconds(incomingStatus.st_mtim)});
        if (answer == OverwriteAnswer::YesToAll || answer == OverwriteAnswer::NoToAll)
            Remembered = answer;
    }
    switch (answer) {
    case OverwriteAnswer::Yes:
    case OverwriteAnswer::YesToAll:
        return Conflict::Replace;
    case OverwriteAnswer::No:
    case OverwriteAnswer::NoToAll:
        return Conflict::Skip;
    case OverwriteAnswer::Cancel:
        break;
    }
    Cancelled = true;
    return Conflict::Stop;
}

StepEnd FileRun::Fail(const std::string& path, int error)
{
    return Fail(path, std::strerror(error));
}

StepEnd FileRun::Fail(const std::string& path, const std::string& reason)
{
    Result.Failures.push_back({path, reason});
    return StepEnd::Failed;
}

OperationResult FileRun::Finish()
{
    if (Cancelled && Result.End == OperationEnd::Finished)
        Result.End = OperationEnd::Cancelled;
    return std::move(Result);
}

OperationResult FileRun::Refuse(const Refusal& refusal)
{
    Result.End = OperationEnd::Refused;
    Result.Refused = refusal;
    return Finish();
}

StepEnd FileRun::OpenFolder(const EntryAt& entry, const struct stat& status, Descriptor& folder,
                            std::vector<std::string>& names)
{
    int error = OpenFolderAt(entry, status, folder);
    if (error == ESTALE)
        return FailChanged(entry.Path);
    if (error == 0)
        error = NamesIn(folder.Get(), names);
    return error == 0 ? StepEnd::Done : Fail(entry.Path, error);
}

void FileRun::WritingInto(const std::string& folder)
{
    if (InFlight != nullptr)
        InFlight->WritingInto(folder);
}

void FileRun::MadeFolder(const std::string& path, const struct stat& made, mode_t finalMode)
{
    if (InFlight != nullptr)
        InFlight->MadeFolder(path, made, finalMode);
}

std::int64_t MeasureTree(FileRun& run, const EntryAt& entry, TreeMeasure measure, FolderIdentities* folders)
{
    struct stat status {};
    if (StatusAt(entry, status) != 0)
        return 1;
    if (S_ISREG(status.st_mode) && measure == TreeMeasure::EntriesAndBytes)
        return 1 + status.st_size;
    Descriptor folder;
    std::vector<std::string> names;
    if (!S_ISDIR(status.st_mode) || !run.Step(entry.Path, "", 0) || OpenFolderAt(entry, status, folder) != 0 ||
        NamesIn(folder.Get(), names) != 0)
        return 1;
    if (folders != nullptr)
        folders->insert({status.st_dev, status.st_ino});
    std::int64_t units = 1;
    for (const std::string& name : names)
        units += MeasureTree(run, entry.Child(folder.Get(), name), measure, folders);
    return units;
}

std::int64_t MeasureTree(FileRun& run, const std::string& path, TreeMeasure measure, FolderIdentities* folders)
{
    OpenedEntry entry;
    return OpenParentOf(path, entry) == 0 ? MeasureTree(run, entry.At, measure, folders) : 1;
}

} // namespace platform
