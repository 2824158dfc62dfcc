#include "platform/file_run.h"

#include <dirent.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

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

std::int64_t MeasureTree(FileRun& run, const std::string& path, TreeMeasure measure)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return 1;
    if (S_ISREG(status.st_mode) && measure == TreeMeasure::EntriesAndBytes)
        return 1 + status.st_size;
    if (!S_ISDIR(status.st_mode) || !run.Step(path, "", 0))
        return 1;
    std::vector<std::string> names;
    int error = 0;
    std::int64_t units = 1;
    FolderNames(path, names, error);
    for (const std::string& name : names)
        units += MeasureTree(run, JoinPath(path, name), measure);
    return units;
}

OperationResult FileRun::Refuse(const Refusal& refusal)
{
    Result.End = OperationEnd::Refused;
    Result.Refused = refusal;
    return Finish();
}

bool FolderNames(const std::string& folder, std::vector<std::string>& names, int& error)
{
    names.clear();
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR* directory = descriptor >= 0 ? ::fdopendir(descriptor) : nullptr;
    if (directory == nullptr) {
        error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(directory)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    error = errno;
    ::closedir(directory);
    return error == 0;
}

std::string ParentOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string TemporaryName()
{
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = ".orbivane-";
    std::uint64_t value = random();
    for (int i = 0; i < 10; ++i, value /= 36)
        name += kDigits[value % 36];
    return name;
}

int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace platform
