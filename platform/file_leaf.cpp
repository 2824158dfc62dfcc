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

// A file without a name gets one through its descriptor's entry in /proc.
bool NamelessFilesCanBeNamed()
{
    static const bool proc = ::access("/proc/self/fd", X_OK) == 0;
    return proc;
}

int LinkNameless(int descriptor, const std::string& path)
{
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// The file system cannot make a file without a name.
bool NoNamelessFiles(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
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
    if (Nameless >= 0)
        ::close(Nameless);
}

StepEnd LeafCopy::Write()
{
    return S_ISREG(Status.st_mode) ? WriteFile() : WriteOther();
}

// A file without a name is made with the source's permissions at once (nobody can reach it); one
// with a temporary name is its owner's alone while its bytes go in. Then the file takes the
// source's permissions and times. A file with a temporary name is closed before it is renamed, so
// that a late write failure shows first.
StepEnd LeafCopy::WriteFile()
{
    const int in = ::open(Source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return Run.Fail(Source, errno);
    const std::string folder = ParentOf(Target);
    const mode_t mode = CopyMode(Status);
    int out = NamelessFilesCanBeNamed() ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode) : -1;
    int error = out >= 0 ? 0 : errno;
    if (out < 0 && (!NamelessFilesCanBeNamed() || NoNamelessFiles(error)))
        error = MakeTemporary(folder, Temporary, [&](const std::string& path) {
            out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
            return out >= 0 ? 0 : errno;
        });
    StepEnd end = error == 0 ? CopyContents(Run, in, out, Source, Target) : Run.Fail(Target, error);
    ::close(in);
    const timespec times[2] = {Status.st_atim, Status.st_mtim};
    struct stat written {};
    const bool modeSet = Temporary.empty() && (mode & Run.CreationMask) == 0;
    if (end == StepEnd::Done && ((!modeSet && ::fchmod(out, mode) != 0) || ::futimens(out, times) != 0 ||
                                 ::fstat(out, &written) != 0))
        end = Run.Fail(Target, errno);
    Identity = IdentityOf(written);
    if (Temporary.empty())
        Nameless = out;
    else if (::close(out) != 0 && end == StepEnd::Done)
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

// A nameless file that is to replace an entry first gets a temporary name: only a rename replaces
// in one step.
int LeafCopy::Place(Conflict conflict)
{
    if (Temporary.empty() && conflict != Conflict::Replace)
        return LinkNameless(Nameless, Target);
    if (Temporary.empty()) {
        const int error = MakeTemporary(ParentOf(Target), Temporary,
                                        [&](const std::string& path) { return LinkNameless(Nameless, path); });
        if (error != 0)
            return error;
    }
    if (conflict == Conflict::Replace)
        return ::rename(Temporary.c_str(), Target.c_str()) == 0 ? 0 : errno;
    return RenameNoReplace(Temporary, Target);
}

} // namespace platform
