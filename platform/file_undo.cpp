// Undoing a file operation from its journal: every step is checked before any is undone, so an
// undo either finds the disk as the operation left it or touches nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>

#include "platform/file_operation.h"
#include "platform/file_run.h"
#include "platform/file_inflight.h"
#include "platform/file_transfer.h"
#include "platform/trash.h"

namespace platform {

namespace {

bool Exists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

bool IsFolder(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The entry a step left must still be there as it was left.
Refusal CheckLeft(const JournalStep& step)
{
    EntryIdentity now;
    if (!IdentityOf(step.Path, now))
        return {RefusalKind::Missing, step.Path};
    if (now != step.Identity)
        return {RefusalKind::Changed, step.Path};
    return {};
}

// The old name must be free again, in a folder that exists or that the undo makes again first.
Refusal CheckOldName(const std::string& from, const std::set<std::string>& remade)
{
    if (Exists(from))
        return {RefusalKind::NameTaken, from};
    const std::string parent = ParentOf(from);
    if (!IsFolder(parent) && !remade.contains(parent))
        return {RefusalKind::Missing, parent};
    return {};
}

// In the order the steps are undone, newest first.
Refusal CheckJournal(const FileJournal& journal)
{
    if (journal.Empty())
        return {RefusalKind::NothingToUndo, ""};
    if (journal.ReplacedEntries)
        return {RefusalKind::ReplacedEntries, ""};
    std::set<std::string> remade;
    for (auto step = journal.Steps.rbegin(); step != journal.Steps.rend(); ++step) {
        Refusal refusal;
        if (step->Kind == StepKind::Merged) {
            if (!IsFolder(step->Path))
                return {RefusalKind::Missing, step->Path};
        } else {
            refusal = CheckLeft(*step);
        }
        if (refusal.Kind == RefusalKind::None && step->Kind != StepKind::Created)
            refusal = CheckOldName(step->From, remade);
        if (refusal.Kind != RefusalKind::None)
            return refusal;
        if (step->Kind == StepKind::Merged)
            remade.insert(step->From);
    }
    return {};
}

void UndoStep(FileRun& run, const JournalStep& step)
{
    switch (step.Kind) {
    case StepKind::Created: {
        const int flags = S_ISDIR(step.Identity.Type) ? AT_REMOVEDIR : 0;
        if (::unlinkat(AT_FDCWD, step.Path.c_str(), flags) != 0)
            run.Fail(step.Path, errno);
        return;
    }
    case StepKind::Merged:
        if (::mkdir(step.From.c_str(), S_IRWXU) != 0 || ::chmod(step.From.c_str(), step.Mode) != 0)
            run.Fail(step.From, errno);
        return;
    case StepKind::Moved:
    case StepKind::Trashed:
        break;
    }
    OpenedEntry entry;
    OpenedEntry back;
    struct stat status {};
    int error = OpenParentOf(step.Path, entry);
    if (error == 0)
        error = StatusAt(entry.At, status);
    if (error == 0)
        error = OpenParentOf(step.From, back);
    if (error != 0) {
        run.Fail(step.Path, error);
        return;
    }
    if (FileTransfer(run).Move(entry.At, back.At, status) == StepEnd::Done && step.Kind == StepKind::Trashed)
        ForgetTrashed(step.Path);
}

} // namespace

OperationResult FileOperation::Undo(const FileJournal& journal) const
{
    FileRun run(Prompt, Progress, ShowProgressAfter, EventInterval);
    InFlightJournal inFlight(InFlightFolder);
    run.InFlight = &inFlight;
    run.ChangedReason = kChangedWhileMoved;
    const Refusal refusal = CheckJournal(journal);
    if (refusal.Kind != RefusalKind::None)
        return run.Refuse(refusal);
    run.AddToTotal(static_cast<std::int64_t>(journal.Steps.size()));
    for (auto step = journal.Steps.rbegin(); step != journal.Steps.rend(); ++step) {
        if (!run.Step(step->Path, step->From, 1))
            break;
        UndoStep(run, *step);
    }
    return run.Finish();
}

} // namespace platform
