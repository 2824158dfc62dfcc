#include "platform/file_leaf.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/file_contents.h"
#include "platform/file_inflight.h"

namespace platform {

namespace {

constexpr int kPartialAttempts = 100;

int ReadLinkAt(const EntryAt& entry, std::string& text)
{
    std::vector<char> buffer(256);
    while (true) {
        const ssize_t length = ::readlinkat(entry.Folder, entry.Name.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return errno == EINVAL ? ESTALE : errno; // no longer a link
        if (static_cast<std::size_t>(length) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(length));
            return 0;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The target's volume must have room for the source's data (not for its holes); ENOSPC before a
// byte is written otherwise. The system's own answer while writing still counts, and is all that
// counts for small files, where asking first would cost more than it could save.
int RoomFor(int folder, const struct stat& source)
{
    constexpr std::int64_t kWorthAsking = std::int64_t{1} << 20;
    const auto data = std::min<std::int64_t>(static_cast<std::int64_t>(source.st_blocks) * 512, source.st_size);
    struct statvfs volume {};
    if (data <= kWorthAsking || ::fstatvfs(folder, &volume) != 0)
        return 0;
    static const bool administrator = ::geteuid() == 0; // may use the blocks kept for it
    const auto blocks = administrator ? volume.f_bfree : volume.f_bavail;
    const auto room = static_cast<std::int64_t>(blocks) * static_cast<std::int64_t>(volume.f_frsize);
    return volume.f_blocks == 0 || data <= room ? 0 : ENOSPC;
}

} // namespace

mode_t CopyMode(const struct stat& status)
{
    return status.st_mode & 01777;
}

LeafCopy::LeafCopy(FileRun& run, const EntryAt& source, const struct stat& status, const EntryAt& target)
    : Run(run), Source(source), Status(status), Target(target)
{
}

LeafCopy::~LeafCopy()
{
    if (!Partial.empty())
        ::unlinkat(Target.Folder, Partial.c_str(), 0);
}

StepEnd LeafCopy::Write()
{
    Run.WritingInto(ParentOf(Target.Path));
    return S_ISREG(Status.st_mode) ? WriteFile() : WriteOther();
}

template <class Make>
int LeafCopy::MakePartial(Make make)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < kPartialAttempts && error == EEXIST; ++attempt) {
        Partial = PartialName(Target.Name, attempt);
        error = make(Partial);
    }
    if (error != 0)
        Partial.clear();
    return error;
}

// The partial file takes the source's permissions as it is made (it shows nobody more than the
// finished copy will), where the creation mask lets them through, and its times once its bytes are
// in. It is closed before it is renamed, so that a late write failure shows first.
StepEnd LeafCopy::WriteFile()
{
    Descriptor in;
    int error = OpenFileAt(Source, Status, in, AsRead);
    if (error == ESTALE)
        return Run.FailChanged(Source.Path);
    if (error != 0)
        return Run.Fail(Source.Path, error);
    ::posix_fadvise(in.Get(), 0, 0, POSIX_FADV_SEQUENTIAL); // a hint for read-ahead; nothing depends on it
    error = RoomFor(Target.Folder, AsRead);
    if (error != 0)
        return Run.Fail(Target.Path, error);
    const mode_t mode = CopyMode(AsRead);
    Descriptor out;
    error = MakePartial([&](const std::string& name) {
        out = Descriptor(::openat(Target.Folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        return out.Valid() ? 0 : errno;
    });
    if (error != 0)
        return Run.Fail(Target.Path, error);
    StepEnd end = CopyContents(Run, in.Get(), AsRead, out.Get(), Source.Path, Target.Path);
    const timespec times[2] = {AsRead.st_atim, AsRead.st_mtim};
    const bool modeSet = (mode & Run.CreationMask) == 0;
    struct stat written {};
    if (end == StepEnd::Done && ((!modeSet && ::fchmod(out.Get(), mode) != 0) ||
                                 ::futimens(out.Get(), times) != 0 || ::fstat(out.Get(), &written) != 0))
        end = Run.Fail(Target.Path, errno);
    Identity = IdentityOf(written);
    if (::close(out.Release()) != 0 && end == StepEnd::Done)
        end = Run.Fail(Target.Path, errno);
    return end;
}

StepEnd LeafCopy::WriteOther()
{
    int error = 0;
    if (S_ISLNK(Status.st_mode)) {
        std::string text;
        error = ReadLinkAt(Source, text);
        if (error == ESTALE)
            return Run.FailChanged(Source.Path);
        if (error != 0)
            return Run.Fail(Source.Path, error);
        error = MakePartial([&](const std::string& name) {
            return ::symlinkat(text.c_str(), Target.Folder, name.c_str()) == 0 ? 0 : errno;
        });
    } else {
        error = MakePartial([&](const std::string& name) {
            return ::mknodat(Target.Folder, name.c_str(), Status.st_mode, Status.st_rdev) == 0 ? 0 : errno;
        });
        if (error == 0 && ::fchmodat(Target.Folder, Partial.c_str(), CopyMode(Status), 0) != 0)
            error = errno;
    }
    const timespec times[2] = {Status.st_atim, Status.st_mtim};
    if (error == 0 && ::utimensat(Target.Folder, Partial.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        error = errno;
    struct stat written {};
    if (error == 0 && ::fstatat(Target.Folder, Partial.c_str(), &written, AT_SYMLINK_NOFOLLOW) != 0)
        error = errno;
    Identity = IdentityOf(written);
    return error == 0 ? StepEnd::Done : Run.Fail(Target.Path, error);
}

StepEnd LeafCopy::Install(Conflict conflict, const std::function<StepEnd(Conflict&)>& resolve)
{
    while (true) {
        const int error = Place(conflict);
        if (error == 0) {
            Run.Result.Journal.AddCreated(Target.Path, Identity);
            Run.Result.Journal.ReplacedEntries |= conflict == Conflict::Replace;
            Partial.clear();
            return StepEnd::Done;
        }
        if (error != EEXIST || conflict == Conflict::Replace)
            return Run.Fail(Target.Path, error);
        const StepEnd end = resolve(conflict);
        if (end != StepEnd::Done)
            return end;
    }
}

int LeafCopy::Place(Conflict conflict)
{
    const EntryAt partial{Target.Folder, Partial, ""};
    if (conflict != Conflict::Replace)
        return RenameNoReplace(partial, Target);
    return ::renameat(Target.Folder, Partial.c_str(), Target.Folder, Target.Name.c_str()) == 0 ? 0 : errno;
}

} // namespace platform
