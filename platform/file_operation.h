#pragma once
// Copy, move, rename and delete of a batch of entries into one target folder, with the user's
// overwrite answers, a progress window for long operations and a journal for undoing them.
//
// Nothing is ever lost: every file is written under a partial name in the target folder and
// renamed into place, so a failure or a cancel never leaves a half-written file under the real
// name; a move across file systems deletes a source only after its whole copy succeeded, and only
// what it copied, while it is still as it was copied; entries are compared by identity, never by
// path, so a folder reached through another mount is never copied into itself or moved onto
// itself; links are copied and deleted as links, never followed, and an entry swapped for a link
// or a pipe meanwhile is reported, never followed or waited on. Every failure is reported with the
// path and the system's reason, and what was done before it stays done.
//
// An operation runs on the calling thread (the GUI thread) and hands the window system's events to
// the progress view between its small steps, so the window stays responsive and Cancel works.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_journal.h"

namespace platform {

class Trash;

enum class TransferKind { Copy, Move };
enum class DeleteKind { Trash, Permanent };

// The answers of the overwrite dialog, numbered as its modal results.
enum class OverwriteAnswer { Yes = 1, Cancel = 2, No = 7, NoToAll = 9, YesToAll = 10 };

struct OverwriteQuestion {
    std::string Existing; // the entry in the way
    std::string Incoming; // the entry that would replace it
    std::int64_t ExistingSize = 0;
    std::int64_t IncomingSize = 0;
    std::int64_t ExistingModified = 0; // seconds since 1970
    std::int64_t IncomingModified = 0;
};

// Asked for every existing file or link in the way, unless an earlier answer was "to all".
class OverwritePrompt {
public:
    virtual ~OverwritePrompt() = default;
    virtual OverwriteAnswer Ask(const OverwriteQuestion& question) = 0;
};

// Total is 0 while the operation still counts what it has to do.
struct ProgressReport {
    std::string From;
    std::string To; // empty for a deletion and while counting
    std::int64_t Done = 0;
    std::int64_t Total = 0; // Done never passes it
};

// The progress window and the window system's events while an operation runs. Every call comes
// from the thread that runs the operation.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    // The operation has run for ShowProgressAfter and is not finished.
    virtual void Show() = 0;
    // Only while shown.
    virtual void Report(const ProgressReport& report) = 0;
    // At the end, when it was shown.
    virtual void Hide() = 0;
    // Handles the pending events of the window system; once shown the window is modal, so the
    // user reaches only its Cancel button.
    virtual void ProcessEvents() = 0;
    virtual bool CancelRequested() const = 0;
};

struct FileFailure {
    std::string Path;
    std::string Reason; // the system's reason ("Permission denied") or why the step was refused
    bool operator==(const FileFailure&) const = default;
};

enum class RefusalKind {
    None,
    SourceIsTarget,    // a folder copied or moved into itself
    IntoItself,        // a folder copied or moved below itself
    AlreadyInTarget,   // the entry already lies in the target folder, or is the entry of its name there
    TargetNotFolder,   // the target is missing or not a folder
    FileSystemRoot,    // deleting "/"
    NothingToUndo,
    ReplacedEntries,   // the operation replaced existing entries: it cannot be undone
    Changed,           // Path was changed since the operation
    NameTaken,         // Path is taken again
    Missing,           // Path is gone
};

struct Refusal {
    RefusalKind Kind = RefusalKind::None;
    std::string Path;
};

enum class OperationEnd { Finished, Cancelled, Refused };

struct OperationResult {
    OperationEnd End = OperationEnd::Finished;
    Refusal Refused; // when End is Refused; nothing was touched
    std::vector<FileFailure> Failures;
    FileJournal Journal; // how to undo what was done
};

class FileOperation {
public:
    // None is owned; each may be null. Without a prompt an entry in the way is never replaced;
    // without a progress view nothing is shown and no events are handled; without a trash nothing
    // can go to the trash (each entry fails).
    FileOperation(OverwritePrompt* prompt, ProgressView* progress, Trash* trash);

    // Copies or moves every source (paths without a trailing "/") into the target folder under
    // its own name. Refused, touching nothing, when a source is the target, a folder would land
    // in itself or below itself (also through another mount of it), a source already lies in the
    // target (or the target holds it under its name), or the target is no folder.
    OperationResult Transfer(TransferKind kind, const std::vector<std::string>& sources,
                             const std::string& targetFolder) const;
    // Folders are deleted with all they hold; links are deleted, never what they point to.
    OperationResult Delete(DeleteKind kind, const std::vector<std::string>& sources) const;
    // A new name in place; an entry of the target name is never replaced.
    OperationResult Rename(const std::string& source, const std::string& target) const;
    // Reverses a journal, newest step first, after checking every step: refused, touching
    // nothing, when a step's entry was changed since, is gone, or its old name is taken again.
    OperationResult Undo(const FileJournal& journal) const;

    std::chrono::milliseconds ShowProgressAfter{500};
    // How often the window system's events are handled; 0: at every step.
    std::chrono::milliseconds EventInterval{20};
    // Where a copy or a move writes down, while it runs, what a kill would leave behind
    // (platform/file_inflight); empty: nowhere.
    std::string InFlightFolder;

private:
    OverwritePrompt* Prompt = nullptr; // not owned
    ProgressView* Progress = nullptr;  // not owned
    Trash* TrashCan = nullptr;         // not owned
};

// What a path names, never following a link: a link to a folder is Other.
enum class EntryKind { Missing, Folder, Other };
EntryKind KindOfEntry(const std::string& path);

// An empty file, created only when no entry of that name exists (not even a dangling link, which
// would otherwise create or empty the file it points to). Appends it to the journal.
bool CreateEmptyFile(const std::string& path, FileJournal& journal, FileFailure& failure);
// A folder with the system's default permissions. Appends it to the journal.
bool CreateFolder(const std::string& path, FileJournal& journal, FileFailure& failure);

} // namespace platform
