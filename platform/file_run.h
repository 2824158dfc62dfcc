#pragma once
// One running file operation: its progress and the window system's events between steps, the
// overwrite answers given so far, cancelling, and the failures and the journal it collects.
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_entry.h"
#include "platform/file_operation.h"

namespace platform {

class InFlightJournal;

// Why an entry was left alone.
inline constexpr const char* kChangedWhileCopied = "It changed while it was copied and was left out";
inline constexpr const char* kChangedWhileMoved = "It changed while it was moved and was left in place";

// How the work on one entry ended. Only Done lets a move delete its source.
enum class StepEnd { Done, Skipped, Failed, Stopped };

// The worse of two ends: Stopped over Failed over Skipped over Done.
StepEnd Worse(StepEnd a, StepEnd b);

// What to do about an entry in the way of a new one.
enum class Conflict { None, Replace, Skip, Stop };

class FileRun {
public:
    using Clock = std::chrono::steady_clock;

    FileRun(OverwritePrompt* prompt, ProgressView* progress, std::chrono::milliseconds showAfter,
            std::chrono::milliseconds eventInterval);
    // Hides the progress window when it was shown.
    ~FileRun();
    FileRun(const FileRun&) = delete;
    FileRun& operator=(const FileRun&) = delete;

    void AddToTotal(std::int64_t units);
    // A step of work between `from` and `to`, `units` more of the total done. Shows the progress
    // window once the operation has run long enough and hands the window system its events; false
    // once the operation is to stop (the user cancelled).
    bool Step(const std::string& from, const std::string& to, std::int64_t units);
    bool Stopped() const { return Cancelled; }
    void Stop() { Cancelled = true; }

    // Asks whether `incoming` replaces the file or link at `existing`; the "to all" answers are
    // kept for the rest of the operation. Without a prompt nothing is replaced.
    Conflict AskReplace(const std::string& existing, const struct stat& existingStatus, const std::string& incoming,
                        const struct stat& incomingStatus);

    // Records a failure with the system's reason for `error`, or with a reason of its own.
    StepEnd Fail(const std::string& path, int error);
    StepEnd Fail(const std::string& path, const std::string& reason);
    // An entry that changed under the operation (swapped, written to, added) and was left alone.
    StepEnd FailChanged(const std::string& path) { return Fail(path, ChangedReason); }

    // Opens a folder found before and reads its names: Done, or the failure reported (one that is no
    // longer the folder found, as changed).
    StepEnd OpenFolder(const EntryAt& entry, const struct stat& status, Descriptor& folder,
                       std::vector<std::string>& names);

    // Before partial files are written into `folder`, and when a folder is made that stays
    // owner-only until filled: the journal that lets the next start clean up after a kill.
    void WritingInto(const std::string& folder);
    void MadeFolder(const std::string& path, const struct stat& made, mode_t finalMode);

    // The result, marked cancelled when the user stopped the operation.
    OperationResult Finish();
    // The result of an operation refused before it touched anything.
    OperationResult Refuse(const Refusal& refusal);

    OperationResult Result;
    // The process's file-creation mask: the permissions it takes from every entry made.
    const mode_t CreationMask = CurrentCreationMask();
    InFlightJournal* InFlight = nullptr; // not owned; none: nothing is written down
    const char* ChangedReason = kChangedWhileCopied; // a move says that it left the entry in place

private:
    static mode_t CurrentCreationMask();
    void HandleEvents(const ProgressReport& report);

    OverwritePrompt* Prompt = nullptr; // not owned
    ProgressView* Progress = nullptr;  // not owned
    std::chrono::milliseconds ShowAfter;
    std::chrono::milliseconds EventInterval;
    Clock::time_point Started = Clock::now();
    Clock::time_point LastEvents = Started;
    bool Shown = false;
    bool Cancelled = false;
    std::int64_t Done = 0;
    std::int64_t Total = 0;
    OverwriteAnswer Remembered = OverwriteAnswer::Cancel; // YesToAll or NoToAll once given
};

enum class TreeMeasure { Entries, EntriesAndBytes };

// The device and inode of folders, to tell whether a folder is met again through another path.
using FolderIdentities = std::set<std::pair<dev_t, ino_t>>;

// The work of an operation on an entry with all it holds: one unit an entry, and the bytes of its
// files when they are to be copied. Links are not followed; every folder met goes into `folders`
// when given.
std::int64_t MeasureTree(FileRun& run, const EntryAt& entry, TreeMeasure measure, FolderIdentities* folders = nullptr);
std::int64_t MeasureTree(FileRun& run, const std::string& path, TreeMeasure measure,
                         FolderIdentities* folders = nullptr);

} // namespace platform
