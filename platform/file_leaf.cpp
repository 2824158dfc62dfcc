#include "platform/file_leaf.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/file_contents.h"

namespace platform {

namespace {

constexpr int kTemporaryAttempts = 100;

// Makes an entry under a fresh temporary name in `folder` with `make` (0 or the error), trying
// other names while one is taken. `temporary` is left empty when nothing was made.
template <class Make>
int MakeTemporary(const std::string& folder, std::string& temporary, Make make)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < kTemporaryAttempts && error == EEXIST; ++attempt) {
        temporary = JoinPath(folder, TemporaryName());
        error = make(temporary);
    }
    if (error != 0)
        temporary.clear();
    return error;
}

bool ReadLink(const std::string& path, std::string& text, int& error)
{
    std::vector<char> buffer(256);
    while (true) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            error = errno;
            return false;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

mode_t CopyMode(const struct stat& status)
{
    return status.st_mode & 01777;
}

int SetTimes(const std::string& path, const struct stat& status)
{
    const timespec times[2] = {status.st_atim, status.st_mtim};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

LeafCopy::LeafCopy(FileRun& run, const std::string& source, const struct stat& status, const std::string& target)
    : Run(run), Source(source), Status(status), Target(target)
{
}

LeafCopy::~LeafCopy()
{
    if (!Temporary.empty())
        ::unlink(Temporary.c_str());
}

StepEnd LeafCopy::Write()
{
    return S_ISREG(Status.st_mode) ? WriteFile() : WriteOther();
}

// The temporary file takes the source's permissions as it is made (it shows nobody more than the
// finished copy will), where the creation mask lets them through, and its times once its bytes are
// in. It is closed before it is renamed, so that a late write failure shows first.
StepEnd LeafCopy::WriteFile()
{
    const int in = ::open(Source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return Run.Fail(Source, errno);
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL); // a hint for read-ahead; nothing depends on it
    const mode_t mode = CopyMode(Status);
    int out = -1;
    const int error = MakeTemporary(ParentOf(Target), Temporary, [&](const std::string& path) {
        out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        return out >= 0 ? 0 : errno;
    });
    StepEnd end = error == 0 ? CopyContents(Run, in, out, Source, Target) : Run.Fail(Target, error);
    ::close(in);
    if (error != 0)
        return end;
    const timespec times[2] = {Status.st_atim, Status.st_mtim};
    const bool modeSet = (mode & Run.CreationMask) == 0;
    struct stat written {};
    if (end == StepEnd::Done && ((!modeSet && ::fchmod(out, mode) != 0) || ::futimens(out, times) != 0 ||
                                 ::fstat(out, &written) != 0))
        end = Run.Fail(Target, errno);
    Identity = IdentityOf(written);
    if (::close(out) != 0 && end == StepEnd::Done)
        end = Run.Fail(Target, errno);
    return end;
}

StepEnd LeafCopy::WriteOther()
{
    const std::string folder = ParentOf(Target);
    int error = 0;
    if (S_ISLNK(Status.st_mode)) {
        std::string text;
        if (!ReadLink(Source, text, error))
            return Run.Fail(Source, error);
        error = MakeTemporary(folder, Temporary, [&](const std::string& path) {
            return ::symlink(text.c_str(), path.c_str()) == 0 ? 0 : errno;
        });
    } else {
        error = MakeTemporary(folder, Temporary, [&](const std::string& path) {
            return ::mknod(path.c_str(), Status.st_mode, Status.st_rdev) == 0 ? 0 : errno;
        });
        if (error == 0 && ::chmod(Temporary.c_str(), CopyMode(Status)) != 0)
            error = errno;
    }
    if (error == 0)
        error = SetTimes(Temporary, Status);
    if (error == 0 && !IdentityOf(Temporary, Identity))
        error = errno;
    return error == 0 ? StepEnd::Done : Run.Fail(Target, error);
}

StepEnd LeafCopy::Install(Conflict conflict, const std::function<StepEnd(Conflict&)>& resolve)
{
    while (true) {
        const int error = Place(conflict);
        if (error == 0) {
            Run.Result.Journal.AddCreated(Target, Identity);
            Run.Result.Journal.ReplacedEntries |= conflict == Conflict::Replace;
            Temporary.clear();
            return StepEnd::Done;
        }
        if (error != EEXIST || conflict == Conflict::Replace)
            return Run.Fail(Target, error);
        const StepEnd end = resolve(conflict);
        if (end != StepEnd::Done)
            return end;
    }
}

int LeafCopy::Place(Conflict conflict)
{
    if (conflict == Conflict::Replace)
        return ::rename(Temporary.c_str(), Target.c_str()) == 0 ? 0 : errno;
    return RenameNoReplace(Temporary, Target);
}

} // namespace platform
