#pragma once
// The file operations as the cursor runs them: the platform's operations with the window's
// overwrite dialog and progress window, every failure and refusal reported as a message and on the
// console, the busy pointer, and the journal of the last change for Undo.
#include <string>
#include <vector>

#include "platform/file_inflight.h"
#include "platform/file_operation.h"
#include "platform/trash.h"

// One entry a deletion takes, as the confirmation names it.
struct QADeleteItem {
    std::string Path;      // the element's full path (a folder's ends in "/")
    bool RingRoot = false; // the whole folder of a ring
};

// The first ten lines, each after a `lineBreak`, then "and N more" when there are more.
std::string FirstTenLines(const std::vector<std::string>& lines, const std::string& lineBreak);

// The delete confirmation in rich text: the question, how many items go and where, the first ten
// of them (ring roots first, in bold) and how many more, and for a permanent deletion that it
// cannot be undone.
std::string DeleteConfirmation(const std::vector<QADeleteItem>& items, platform::DeleteKind kind);

class QAFileOperations {
public:
    // Each runs one operation (never while another runs) and reports what went wrong itself.
    // What an operation did becomes the change Undo reverses; a permanent deletion leaves nothing
    // to undo.
    void Transfer(platform::TransferKind kind, const std::vector<std::string>& sources, const std::string& target);
    void Delete(platform::DeleteKind kind, const std::vector<std::string>& sources);
    // False, with "Could not rename object!", when the entry keeps its name.
    bool Rename(const std::string& source, const std::string& target);
    // False, with "Could not create file!", when nothing was made.
    bool CreateFile(const std::string& path);
    bool CreateFolder(const std::string& path);
    // Reverses the last change when the disk still holds what it left; otherwise says why not.
    void Undo();
    bool CanUndo() const { return !Journal.Empty(); }
    bool Running() const { return Busy; }

    // At start-up: what copies or moves that did not end (the program was killed) left behind, on
    // the console, with a message when there is something to clean up.
    void FindLeftovers();
    // Removes the partial files found and gives the folders found their permissions.
    void CleanUp();
    bool CanCleanUp() const { return !Left.NothingLeft(); }
    // The folder of the journals of running operations: the program's folder for its state.
    static std::string InFlightFolder();

    platform::OverwritePrompt* Overwrite = nullptr; // not owned; the overwrite dialog
    platform::ProgressView* Progress = nullptr;     // not owned; the progress window
    platform::Trash* Trash = &Desktop;              // not owned; the desktop's trash unless replaced

private:
    template <class Operate>
    platform::OperationResult Run(Operate operate);
    void Keep(const platform::OperationResult& result);
    static void ReportRefusal(const platform::Refusal& refusal, const std::string& verb);
    static void ReportFailures(const std::vector<platform::FileFailure>& failures, const std::string& heading);
    bool CreateEntry(bool (*create)(const std::string&, platform::FileJournal&, platform::FileFailure&),
                     const std::string& path);

    platform::DesktopTrash Desktop;
    platform::FileJournal Journal;
    platform::Leftovers Left; // found at start-up, until cleaned up
    bool Busy = false;
};
