#include "platform/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/file_contents.h"
#include "platform/file_removal.h"

namespace platform {

namespace {

constexpr int kTemporaryAttempts = 100;

// The permission bits a copy gets: the source's, without set-user and set-group (a copy belongs to
// whoever made it).
mode_t CopyMode(const struct stat& status)
{
    return status.st_mode & 01777;
}

// Makes an entry under a fresh temporary name in `folder` with `make` (0 or the error), trying
// other names while one is taken.
template <class Make>
int MakeTemporary(const std::string& folder, std::string& temporary, Make make)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < kTemporaryAttempts && error == EEXIST; ++attempt) {
        temporary = JoinPath(folder, TemporaryName());
        error = make(temporary);
    }
    return error;
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : Value(descriptor) {}
    ~Descriptor()
    {
        if (Value >= 0)
            ::close(Value);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return Value; }
    // Closes now: 0 or the error (a delayed write failure shows here).
    int Close()
    {
        const int result = ::close(Value);
        Value = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int Value = -1;
};

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

int SetTimes(const std::string& path, const struct stat& status)
{
    const timespec times[2] = {status.st_atim, status.st_mtim};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

} // namespace

StepEnd FileTransfer::Copy(const std::string& source, const std::string& target, const struct stat& status)
{
    if (!Run.Step(source, target, 1))
        return StepEnd::Stopped;
    if (S_ISDIR(status.st_mode))
        return CopyFolder(source, target, status);
    return CopyLeaf(source, target, status);
}

// The names are read before anything is made, and a folder made here is locked to its owner until
// its entries are in; then it takes the source's permissions and times.
StepEnd FileTransfer::CopyFolder(const std::string& source, const std::string& target, const struct stat& status)
{
    std::vector<std::string> names;
    int error = 0;
    if (!FolderNames(source, names, error))
        return Run.Fail(source, error);
    struct stat existing {};
    const bool merge = ::lstat(target.c_str(), &existing) == 0;
    if (merge && !S_ISDIR(existing.st_mode))
        return Run.Fail(target, kFolderOntoFile);
    if (!merge && errno != ENOENT)
        return Run.Fail(target, errno);
    if (!merge && ::mkdir(target.c_str(), S_IRWXU) != 0)
        return Run.Fail(target, errno);
    FileJournal& journal = Run.Result.Journal;
    const std::size_t made = journal.Steps.size();
    if (!merge)
        journal.Add(StepKind::Created, target);
    StepEnd end = EachEntry(source, target, names, &FileTransfer::Copy);
    if (merge)
        return end;
    error = ::chmod(target.c_str(), CopyMode(status)) == 0 ? SetTimes(target, status) : errno;
    if (error != 0)
        end = Worse(end, Run.Fail(target, error));
    IdentityOf(target, journal.Steps[made].Identity);
    return end;
}

StepEnd FileTransfer::CopyLeaf(const std::string& source, const std::string& target, const struct stat& status)
{
    Conflict conflict = Conflict::None;
    const StepEnd resolved = ResolveLeaf(source, status, target, conflict);
    if (resolved != StepEnd::Done)
        return resolved;
    return WriteAndInstall(source, target, status, conflict);
}

StepEnd FileTransfer::ResolveLeaf(const std::string& source, const struct stat& status, const std::string& target,
                                  Conflict& conflict)
{
    conflict = Conflict::None;
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) != 0)
        return errno == ENOENT ? StepEnd::Done : Run.Fail(target, errno);
    if (S_ISDIR(existing.st_mode))
        return Run.Fail(target, kFileOntoFolder);
    conflict = Run.AskReplace(target, existing, source, status);
    if (conflict == Conflict::Skip)
        return StepEnd::Skipped;
    return conflict == Conflict::Stop ? StepEnd::Stopped : StepEnd::Done;
}

StepEnd FileTransfer::WriteAndInstall(const std::string& source, const std::string& target,
                                      const struct stat& status, Conflict conflict)
{
    std::string temporary;
    const StepEnd written = WriteTemporary(source, status, temporary, target);
    if (written != StepEnd::Done)
        return written;
    return Install(source, status, temporary, target, conflict);
}

StepEnd FileTransfer::WriteTemporary(const std::string& source, const struct stat& status, std::string& temporary,
                                     const std::string& target)
{
    const std::string folder = ParentOf(target);
    if (S_ISREG(status.st_mode))
        return WriteFile(source, temporary, target);
    int error = 0;
    if (S_ISLNK(status.st_mode)) {
        std::string text;
        if (!ReadLink(source, text, error))
            return Run.Fail(source, error);
        error = MakeTemporary(folder, temporary, [&](const std::string& path) {
            return ::symlink(text.c_str(), path.c_str()) == 0 ? 0 : errno;
        });
    } else {
        error = MakeTemporary(folder, temporary, [&](const std::string& path) {
            return ::mknod(path.c_str(), status.st_mode, status.st_rdev) == 0 ? 0 : errno;
        });
    }
    if (error != 0)
        return Run.Fail(target, error); // nothing was made
    if (!S_ISLNK(status.st_mode) && ::chmod(temporary.c_str(), CopyMode(status)) != 0)
        error = errno;
    if (error == 0)
        error = SetTimes(temporary, status);
    if (error == 0)
        return StepEnd::Done;
    ::unlink(temporary.c_str());
    return Run.Fail(target, error);
}

// The temporary file is its owner's alone until its bytes are in; then it takes the source's
// permissions and times.
StepEnd FileTransfer::WriteFile(const std::string& source, std::string& temporary, const std::string& target)
{
    Descriptor in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (in.Get() < 0 || ::fstat(in.Get(), &status) != 0)
        return Run.Fail(source, errno);
    int out = -1;
    int error = MakeTemporary(ParentOf(target), temporary, [&](const std::string& path) {
        out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        return out >= 0 ? 0 : errno;
    });
    if (error != 0)
        return Run.Fail(target, error);
    Descriptor written(out);
    StepEnd end = CopyContents(Run, in.Get(), out, source, target);
    const timespec times[2] = {status.st_atim, status.st_mtim};
    if (end == StepEnd::Done && (::fchmod(out, CopyMode(status)) != 0 || ::futimens(out, times) != 0))
        end = Run.Fail(target, errno);
    if (end == StepEnd::Done && (error = written.Close()) != 0)
        end = Run.Fail(target, error);
    if (end != StepEnd::Done)
        ::unlink(temporary.c_str());
    return end;
}

// The new entry replaces the old one in one step, or takes a free name that nothing else took in
// the meantime; an entry that appeared meanwhile is asked about like any other.
StepEnd FileTransfer::Install(const std::string& source, const struct stat& status, const std::string& temporary,
                              const std::string& target, Conflict conflict)
{
    while (true) {
        const int error = conflict == Conflict::Replace
                              ? (::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno)
                              : RenameNoReplace(temporary, target);
        if (error == 0) {
            Run.Result.Journal.Add(StepKind::Created, target);
            Run.Result.Journal.ReplacedEntries |= conflict == Conflict::Replace;
            return StepEnd::Done;
        }
        StepEnd end = StepEnd::Failed;
        if (error == EEXIST && conflict == Conflict::None)
            end = ResolveLeaf(source, status, target, conflict);
        else
            Run.Fail(target, error);
        if (end != StepEnd::Done) {
            ::unlink(temporary.c_str());
            return end;
        }
    }
}

StepEnd FileTransfer::Move(const std::string& source, const std::string& target, const struct stat& status)
{
    if (!Run.Step(source, target, 0))
        return StepEnd::Stopped;
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0)
        return MoveOnto(source, target, status, existing);
    if (errno != ENOENT)
        return Run.Fail(target, errno);
    const int error = RenameNoReplace(source, target);
    if (error == 0) {
        Run.Result.Journal.Add(StepKind::Moved, target, source);
        return StepEnd::Done;
    }
    if (error == EXDEV)
        return MoveAcross(source, target, status, Conflict::None);
    if (error == EEXIST && ::lstat(target.c_str(), &existing) == 0)
        return MoveOnto(source, target, status, existing);
    return Run.Fail(source, error);
}

StepEnd FileTransfer::MoveOnto(const std::string& source, const std::string& target, const struct stat& status,
                               const struct stat& existing)
{
    if (S_ISDIR(status.st_mode) && S_ISDIR(existing.st_mode))
        return MergeFolder(source, target, status);
    if (S_ISDIR(status.st_mode))
        return Run.Fail(target, kFolderOntoFile);
    if (S_ISDIR(existing.st_mode))
        return Run.Fail(target, kFileOntoFolder);
    const Conflict conflict = Run.AskReplace(target, existing, source, status);
    if (conflict != Conflict::Replace)
        return conflict == Conflict::Skip ? StepEnd::Skipped : StepEnd::Stopped;
    if (::rename(source.c_str(), target.c_str()) == 0) {
        Run.Result.Journal.ReplacedEntries = true;
        return StepEnd::Done;
    }
    if (errno == EXDEV)
        return MoveAcross(source, target, status, Conflict::Replace);
    return Run.Fail(source, errno);
}

// Until the source is being deleted the copies stay in the journal as copies (undoing them loses
// nothing); from then on the whole is one move, which is undone only while the source's name is
// free again.
StepEnd FileTransfer::MoveAcross(const std::string& source, const std::string& target, const struct stat& status,
                                 Conflict conflict)
{
    FileJournal& journal = Run.Result.Journal;
    const std::size_t mark = journal.Steps.size();
    const StepEnd copied = S_ISDIR(status.st_mode) ? CopyFolder(source, target, status)
                                                   : WriteAndInstall(source, target, status, conflict);
    if (copied != StepEnd::Done)
        return copied;
    const StepEnd removed = RemoveEntry(Run, source, 0);
    journal.Steps.resize(mark);
    journal.Add(StepKind::Moved, target, source);
    return removed;
}

// A folder moved onto a folder of the same name: its entries are moved in one by one, and the
// emptied folder is removed. Entries that stay (skipped, failed) keep it.
StepEnd FileTransfer::MergeFolder(const std::string& source, const std::string& target, const struct stat& status)
{
    std::vector<std::string> names;
    int error = 0;
    if (!FolderNames(source, names, error))
        return Run.Fail(source, error);
    const StepEnd end = EachEntry(source, target, names, &FileTransfer::Move);
    if (end != StepEnd::Done)
        return end;
    if (::rmdir(source.c_str()) != 0)
        return Run.Fail(source, errno);
    Run.Result.Journal.Add(StepKind::Merged, target, source, status.st_mode & 07777);
    return StepEnd::Done;
}

StepEnd FileTransfer::EachEntry(const std::string& source, const std::string& target,
                                const std::vector<std::string>& names, EntryStep step)
{
    StepEnd end = StepEnd::Done;
    for (const std::string& name : names) {
        const std::string from = JoinPath(source, name);
        struct stat status {};
        if (::lstat(from.c_str(), &status) != 0)
            end = Worse(end, Run.Fail(from, errno));
        else
            end = Worse(end, (this->*step)(from, JoinPath(target, name), status));
        if (end == StepEnd::Stopped)
            break;
    }
    return end;
}

} // namespace platform
