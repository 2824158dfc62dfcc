#include "platform/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/file_leaf.h"
#include "platform/file_removal.h"

namespace platform {

StepEnd FileTransfer::Copy(const std::string& source, const std::string& target, const struct stat& status)
{
    if (!Run.Step(source, target, 1))
        return StepEnd::Stopped;
    if (S_ISDIR(status.st_mode))
        return CopyFolder(source, target, status);
    return CopyLeaf(source, target, status);
}

// The names are read before anything is made, and a folder made here is locked to its owner until
// its entries are in; then it takes the source's permissions and times. Nothing can be in the way
// in a folder just made, so its entries are not looked up first (a name taken meanwhile still
// shows when the entry is put in place).
StepEnd FileTransfer::CopyFolder(const std::string& source, const std::string& target, const struct stat& status)
{
    std::vector<std::string> names;
    int error = 0;
    if (!FolderNames(source, names, error))
        return Run.Fail(source, error);
    const bool made = ::mkdir(target.c_str(), S_IRWXU) == 0;
    struct stat existing {};
    if (!made && errno != EEXIST)
        return Run.Fail(target, errno);
    if (!made && (::lstat(target.c_str(), &existing) != 0 || !S_ISDIR(existing.st_mode)))
        return Run.Fail(target, kFolderOntoFile);
    FileJournal& journal = Run.Result.Journal;
    const std::size_t step = journal.Steps.size();
    if (made)
        journal.Add(StepKind::Created, target);
    const bool outer = FreshFolder;
    FreshFolder = made;
    StepEnd end = EachEntry(source, target, names, &FileTransfer::Copy);
    FreshFolder = outer;
    if (!made)
        return end;
    error = ::chmod(target.c_str(), CopyMode(status)) == 0 ? SetTimes(target, status) : errno;
    if (error != 0)
        end = Worse(end, Run.Fail(target, error));
    IdentityOf(target, journal.Steps[step].Identity);
    return end;
}

StepEnd FileTransfer::CopyLeaf(const std::string& source, const std::string& target, const struct stat& status)
{
    Conflict conflict = Conflict::None;
    const StepEnd resolved = FreshFolder ? StepEnd::Done : ResolveLeaf(source, status, target, conflict);
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
    LeafCopy leaf(Run, source, status, target);
    const StepEnd written = leaf.Write();
    if (written != StepEnd::Done)
        return written;
    return leaf.Install(conflict, [&](Conflict& again) { return ResolveLeaf(source, status, target, again); });
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
