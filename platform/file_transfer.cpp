#include "platform/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_leaf.h"

namespace platform {

namespace {

// Sets a value for as long as this object lives.
template <class T>
class Scoped {
public:
    Scoped(T& place, T value) : Place(place), Old(place) { place = value; }
    ~Scoped() { Place = Old; }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    T& Place;
    T Old;
};

} // namespace

StepEnd FileTransfer::Copy(const EntryAt& source, const EntryAt& target, const struct stat& status)
{
    if (!Run.Step(source.Path, target.Path, 1))
        return StepEnd::Stopped;
    if (S_ISDIR(status.st_mode))
        return CopyFolder(source, target, status);
    return CopyLeaf(source, target, status);
}

// The names are read before anything is made, and a folder made here is locked to its owner until
// its entries are in; then, whatever happened to them, it takes the source's permissions and times.
// Nothing can be in the way in a folder just made, so its entries are not looked up first (a name
// taken meanwhile still shows when the entry is put in place).
StepEnd FileTransfer::CopyFolder(const EntryAt& source, const EntryAt& target, const struct stat& status)
{
    if (MadeFolders.contains({status.st_dev, status.st_ino}))
        return Run.Fail(source.Path, kCopyOfItself);
    Descriptor in;
    std::vector<std::string> names;
    const StepEnd read = Run.OpenFolder(source, status, in, names);
    if (read != StepEnd::Done)
        return read;
    Descriptor out;
    bool made = false;
    const StepEnd opened = OpenTargetFolder(source, target, status, out, made);
    if (opened != StepEnd::Done)
        return opened;
    FileJournal& journal = Run.Result.Journal;
    const std::size_t step = journal.Steps.size();
    if (made)
        journal.AddCreated(target.Path, {});
    if (Copied != nullptr)
        (*Copied)[source.Path] = ReadOf(status);
    StepEnd end = StepEnd::Done;
    {
        const Scoped<bool> fresh(FreshFolder, made);
        end = EachEntry(source, in.Get(), target, out.Get(), names, &FileTransfer::Copy);
    }
    if (made)
        FinishFolder(out.Get(), target, status, step, end);
    return end;
}

StepEnd FileTransfer::OpenTargetFolder(const EntryAt& source, const EntryAt& target, const struct stat& status,
                                       Descriptor& folder, bool& made)
{
    made = ::mkdirat(target.Folder, target.Name.c_str(), S_IRWXU) == 0;
    if (!made && errno != EEXIST)
        return Run.Fail(target.Path, errno);
    struct stat opened {};
    const int error = OpenFolderAt(target, folder, opened);
    if (error == ESTALE)
        return Run.Fail(target.Path, kFolderOntoFile);
    if (error != 0)
        return Run.Fail(target.Path, error);
    if (SameEntry(opened, status))
        return Run.Fail(source.Path, kOntoItself);
    if (made) {
        MadeFolders.insert({opened.st_dev, opened.st_ino});
        Run.MadeFolder(target.Path, opened, CopyMode(status));
    }
    return StepEnd::Done;
}

void FileTransfer::FinishFolder(int folder, const EntryAt& target, const struct stat& status, std::size_t step,
                                StepEnd& end)
{
    const timespec times[2] = {status.st_atim, status.st_mtim};
    struct stat finished {};
    if (::fchmod(folder, CopyMode(status)) != 0 || ::futimens(folder, times) != 0 || ::fstat(folder, &finished) != 0)
        end = Worse(end, Run.Fail(target.Path, errno));
    Run.Result.Journal.Steps[step].Identity = IdentityOf(finished);
}

StepEnd FileTransfer::CopyLeaf(const EntryAt& source, const EntryAt& target, const struct stat& status)
{
    Conflict conflict = Conflict::None;
    const StepEnd resolved = FreshFolder ? StepEnd::Done : ResolveLeaf(source, status, target, conflict);
    if (resolved != StepEnd::Done)
        return resolved;
    return WriteAndInstall(source, target, status, conflict);
}

StepEnd FileTransfer::ResolveLeaf(const EntryAt& source, const struct stat& status, const EntryAt& target,
                                  Conflict& conflict)
{
    conflict = Conflict::None;
    struct stat existing {};
    const int error = StatusAt(target, existing);
    if (error != 0)
        return error == ENOENT ? StepEnd::Done : Run.Fail(target.Path, error);
    if (SameEntry(existing, status))
        return Run.Fail(source.Path, kOntoItself);
    if (S_ISDIR(existing.st_mode))
        return Run.Fail(target.Path, kFileOntoFolder);
    conflict = Run.AskReplace(target.Path, existing, source.Path, status);
    if (conflict == Conflict::Skip)
        return StepEnd::Skipped;
    return conflict == Conflict::Stop ? StepEnd::Stopped : StepEnd::Done;
}

StepEnd FileTransfer::WriteAndInstall(const EntryAt& source, const EntryAt& target, const struct stat& status,
                                      Conflict conflict)
{
    LeafCopy leaf(Run, source, status, target);
    StepEnd end = leaf.Write();
    if (end == StepEnd::Done)
        end = leaf.Install(conflict, [&](Conflict& again) { return ResolveLeaf(source, status, target, again); });
    if (end == StepEnd::Done && Copied != nullptr)
        (*Copied)[source.Path] = ReadOf(leaf.SourceAsRead());
    return end;
}

StepEnd FileTransfer::Move(const EntryAt& source, const EntryAt& target, const struct stat& status)
{
    if (!Run.Step(source.Path, target.Path, 0))
        return StepEnd::Stopped;
    struct stat existing {};
    int error = StatusAt(target, existing);
    if (error == 0)
        return MoveOnto(source, target, status, existing);
    if (error != ENOENT)
        return Run.Fail(target.Path, error);
    error = RenameNoReplace(source, target);
    if (error == 0) {
        Run.Result.Journal.Add(StepKind::Moved, target.Path, source.Path);
        return StepEnd::Done;
    }
    if (error == EXDEV)
        return MoveAcross(source, target, status, Conflict::None);
    if (error == EEXIST && StatusAt(target, existing) == 0)
        return MoveOnto(source, target, status, existing);
    return Run.Fail(source.Path, error);
}

StepEnd FileTransfer::MoveOnto(const EntryAt& source, const EntryAt& target, const struct stat& status,
                               const struct stat& existing)
{
    if (SameEntry(status, existing))
        return Run.Fail(source.Path, kOntoItself);
    if (S_ISDIR(status.st_mode) && S_ISDIR(existing.st_mode))
        return MergeFolder(source, target, status);
    if (S_ISDIR(status.st_mode))
        return Run.Fail(target.Path, kFolderOntoFile);
    if (S_ISDIR(existing.st_mode))
        return Run.Fail(target.Path, kFileOntoFolder);
    const Conflict conflict = Run.AskReplace(target.Path, existing, source.Path, status);
    if (conflict != Conflict::Replace)
        return conflict == Conflict::Skip ? StepEnd::Skipped : StepEnd::Stopped;
    if (::renameat(source.Folder, source.Name.c_str(), target.Folder, target.Name.c_str()) == 0) {
        Run.Result.Journal.ReplacedEntries = true;
        return StepEnd::Done;
    }
    if (errno == EXDEV)
        return MoveAcross(source, target, status, Conflict::Replace);
    return Run.Fail(source.Path, errno);
}

// Until the source is being deleted the copies stay in the journal as copies (undoing them loses
// nothing). Once all of it went, the whole is one move, undone only while the source's name is free
// again; when some of it stayed, each entry that went is a move of its own and each folder that went
// is made again before its entries come back.
StepEnd FileTransfer::MoveAcross(const EntryAt& source, const EntryAt& target, const struct stat& status,
                                 Conflict conflict)
{
    FileJournal& journal = Run.Result.Journal;
    const std::size_t mark = journal.Steps.size();
    CopiedSources copied;
    StepEnd end = StepEnd::Done;
    {
        const Scoped<CopiedSources*> recording(Copied, &copied);
        end = S_ISDIR(status.st_mode) ? CopyFolder(source, target, status)
                                      : WriteAndInstall(source, target, status, conflict);
    }
    if (end != StepEnd::Done)
        return end;
    std::vector<RemovedEntry> removed;
    end = RemoveCopied(Run, source, copied, removed);
    if (end == StepEnd::Done) {
        journal.Steps.resize(mark);
        journal.Add(StepKind::Moved, target.Path, source.Path);
    } else {
        journal.KeepPartialMove(mark, source.Path, target.Path, removed);
    }
    return end;
}

// A folder moved onto a folder of the same name: its entries are moved in one by one, and the
// emptied folder is removed. Entries that stay (skipped, failed, or appeared meanwhile) keep it.
StepEnd FileTransfer::MergeFolder(const EntryAt& source, const EntryAt& target, const struct stat& status)
{
    Descriptor in;
    Descriptor out;
    struct stat opened {};
    std::vector<std::string> names;
    const StepEnd read = Run.OpenFolder(source, status, in, names);
    if (read != StepEnd::Done)
        return read;
    const int error = OpenFolderAt(target, out, opened);
    if (error != 0)
        return Run.Fail(target.Path, error == ESTALE ? std::string(kFolderOntoFile) : std::strerror(error));
    const StepEnd end = EachEntry(source, in.Get(), target, out.Get(), names, &FileTransfer::Move);
    if (end != StepEnd::Done)
        return end;
    if (::unlinkat(source.Folder, source.Name.c_str(), AT_REMOVEDIR) != 0)
        return errno == ENOTEMPTY || errno == EEXIST ? ReportLeftIn(Run, in.Get(), source.Path)
                                                     : Run.Fail(source.Path, errno);
    Run.Result.Journal.Add(StepKind::Merged, target.Path, source.Path, status.st_mode & 07777);
    return StepEnd::Done;
}

StepEnd FileTransfer::EachEntry(const EntryAt& source, int sourceFolder, const EntryAt& target, int targetFolder,
                                const std::vector<std::string>& names, EntryStep step)
{
    StepEnd end = StepEnd::Done;
    for (const std::string& name : names) {
        const EntryAt from = source.Child(sourceFolder, name);
        struct stat status {};
        const int error = StatusAt(from, status);
        if (error != 0)
            end = Worse(end, Run.Fail(from.Path, error));
        else
            end = Worse(end, (this->*step)(from, target.Child(targetFolder, name), status));
        if (end == StepEnd::Stopped)
            break;
    }
    return end;
}

} // namespace platform
