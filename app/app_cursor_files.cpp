// The cursor's commands that change the disk (Delete, Paste, Rename, New File, New Folder, Undo)
// and the file operations they run.
#include "app/app_cursor_files.h"

#include <algorithm>
#include <memory>
#include <set>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "engine/qox_console.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "ring/ring_history.h"
#include "platform/paths.h"
#include "ring/element_folder.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"

namespace {

using platform::DeleteKind;
using platform::RefusalKind;

constexpr std::size_t kNamesShown = 10;
constexpr const char* kForbiddenSymbols = "\\/:*?\"<>|";

void Log(const std::string& line)
{
    Engine()->Console->AddLine(line);
}

void Message(const std::string& text)
{
    Engine()->Message(text);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string Count(std::size_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

bool Exists(const std::string& path)
{
    return platform::KindOfEntry(path) != platform::EntryKind::Missing;
}

std::string AlreadyExists(const std::string& name, bool folder)
{
    return std::string(folder ? "A folder" : "A file") + " with the name " + Quoted(name) +
           " already exists in this folder!";
}

} // namespace

std::string FirstTenLines(const std::vector<std::string>& lines, const std::string& lineBreak)
{
    std::string text;
    for (std::size_t i = 0; i < std::min(lines.size(), kNamesShown); ++i)
        text += lineBreak + lines[i];
    if (lines.size() > kNamesShown)
        text += lineBreak + "and " + std::to_string(lines.size() - kNamesShown) + " more";
    return text;
}

std::string DeleteConfirmation(const std::vector<QADeleteItem>& items, DeleteKind kind)
{
    std::vector<QADeleteItem> ordered = items;
    std::stable_partition(ordered.begin(), ordered.end(), [](const QADeleteItem& item) { return item.RingRoot; });
    std::vector<std::string> lines;
    for (const QADeleteItem& item : ordered)
        lines.push_back(item.RingRoot ? "<b>" + Escaped(item.Path) + "</b> (the whole folder of a ring)"
                                      : Escaped(item.Path));
    const bool trash = kind == DeleteKind::Trash;
    std::string text = "Do you really want to delete these Files?<br><br>" +
                       (trash ? Count(items.size(), "item goes", "items go") + " to the trash:"
                              : Count(items.size(), "item", "items") + " will be deleted permanently:");
    text += FirstTenLines(lines, "<br>");
    if (!trash)
        text += "<br><br>This cannot be undone.";
    return text;
}

template <class Operate>
platform::OperationResult QAFileOperations::Run(Operate operate)
{
    Busy = true;
    QABusy busy(*App());
    platform::FileOperation operation(Overwrite, Progress, Trash);
    operation.InFlightFolder = InFlightFolder();
    platform::OperationResult result = operate(operation);
    Busy = false;
    return result;
}

void QAFileOperations::Transfer(platform::TransferKind kind, const std::vector<std::string>& sources,
                                const std::string& target)
{
    const bool copy = kind == platform::TransferKind::Copy;
    const platform::OperationResult result =
        Run([&](const platform::FileOperation& operation) { return operation.Transfer(kind, sources, target); });
    ReportRefusal(result.Refused, copy ? "copy" : "move");
    ReportFailures(result.Failures, copy ? "Could not copy everything:" : "Could not move everything:");
    Keep(result);
}

void QAFileOperations::Delete(DeleteKind kind, const std::vector<std::string>& sources)
{
    const bool trash = kind == DeleteKind::Trash;
    const platform::OperationResult result =
        Run([&](const platform::FileOperation& operation) { return operation.Delete(kind, sources); });
    ReportRefusal(result.Refused, "delete");
    ReportFailures(result.Failures,
                   trash ? "Could not move everything to the trash:" : "Could not delete everything:");
    if (trash)
        Keep(result);
    else if (result.End != platform::OperationEnd::Refused)
        Journal = {};
}

bool QAFileOperations::Rename(const std::string& source, const std::string& target)
{
    const platform::OperationResult result =
        Run([&](const platform::FileOperation& operation) { return operation.Rename(source, target); });
    ReportFailures(result.Failures, "Could not rename object!");
    Keep(result);
    return result.Failures.empty();
}

bool QAFileOperations::CreateFile(const std::string& path)
{
    return CreateEntry(&platform::CreateEmptyFile, path);
}

bool QAFileOperations::CreateFolder(const std::string& path)
{
    return CreateEntry(&platform::CreateFolder, path);
}

bool QAFileOperations::CreateEntry(bool (*create)(const std::string&, platform::FileJournal&, platform::FileFailure&),
                                   const std::string& path)
{
    platform::FileJournal made;
    platform::FileFailure failure;
    if (!create(path, made, failure)) {
        ReportFailures({failure}, "Could not create file!");
        return false;
    }
    Journal = made;
    return true;
}

void QAFileOperations::Undo()
{
    if (Busy)
        return;
    const platform::OperationResult result =
        Run([&](const platform::FileOperation& operation) { return operation.Undo(Journal); });
    ReportRefusal(result.Refused, "undo");
    ReportFailures(result.Failures, "Could not undo everything:");
    if (result.End != platform::OperationEnd::Refused)
        Journal = {};
}

// The program's folder for state: the program folder of a portable copy, $XDG_STATE_HOME/orbivane
// of an installed one.
std::string QAFileOperations::InFlightFolder()
{
    return Engine()->FileSystem->StatePath;
}

void QAFileOperations::FindLeftovers()
{
    Left = platform::FindLeftovers(InFlightFolder());
    if (Left.NothingLeft()) {
        platform::CleanUp(Left); // the journals alone
        return;
    }
    Log("A copy or move that did not end left behind:");
    for (const platform::LeftEntry& file : Left.PartialFiles)
        Log("  partial file " + Quoted(file.Path));
    for (const platform::LeftEntry& folder : Left.OwnerOnlyFolders)
        Log("  folder left owner-only " + Quoted(folder.Path));
    Message("A copy or move that did not end (the program was stopped) left " +
            Count(Left.PartialFiles.size(), "partial file", "partial files") + " and " +
            Count(Left.OwnerOnlyFolders.size(), "folder", "folders") +
            " without their permissions; the console lists them. Edit > Clean up removes the partial files and "
            "gives the folders their permissions.");
}

void QAFileOperations::CleanUp()
{
    if (Busy || Left.NothingLeft())
        return;
    for (const platform::LeftEntry& file : Left.PartialFiles)
        Log("Removing partial file " + Quoted(file.Path));
    ReportFailures(platform::CleanUp(Left), "Could not clean up everything:");
    Left = platform::FindLeftovers(InFlightFolder());
}

// A change that did something becomes the one to undo; one that did nothing leaves the last.
void QAFileOperations::Keep(const platform::OperationResult& result)
{
    if (!result.Journal.Empty())
        Journal = result.Journal;
}

void QAFileOperations::ReportRefusal(const platform::Refusal& refusal, const std::string& verb)
{
    const std::string path = Quoted(refusal.Path);
    switch (refusal.Kind) {
    case RefusalKind::None:
    case RefusalKind::NothingToUndo:
        return;
    case RefusalKind::SourceIsTarget:
    case RefusalKind::IntoItself:
        return Message("Cannot " + verb + " " + path + " into itself or below itself!");
    case RefusalKind::AlreadyInTarget:
        return Message(path + " is already in this folder!");
    case RefusalKind::TargetNotFolder:
        return Message("The folder " + path + " does not exist!");
    case RefusalKind::FileSystemRoot:
        return Message("The root folder " + path + " cannot be deleted!");
    case RefusalKind::ReplacedEntries:
        return Message("Cannot undo: the last change replaced existing files.");
    case RefusalKind::Changed:
        return Message("Cannot undo: " + path + " was changed since.");
    case RefusalKind::NameTaken:
        return Message("Cannot undo: the name " + path + " is taken again.");
    case RefusalKind::Missing:
        return Message("Cannot undo: " + path + " is gone.");
    }
}

void QAFileOperations::ReportFailures(const std::vector<platform::FileFailure>& failures, const std::string& heading)
{
    if (failures.empty())
        return;
    std::vector<std::string> lines;
    for (const platform::FileFailure& failure : failures) {
        lines.push_back(failure.Path + ": " + failure.Reason);
        Log("File operation failed: " + Quoted(failure.Path) + ": " + failure.Reason);
    }
    Message(heading + FirstTenLines(lines, QOXConvert::LineBreak()));
}

bool QACursor::IsValidFileName(const std::string& name) const
{
    if (name == "." || name == "..") {
        Message("The names \".\" and \"..\" cannot be given to a file or folder!");
        return false;
    }
    if (!name.empty() && name.find_first_of(kForbiddenSymbols) == std::string::npos)
        return true;
    std::string text = "A file name must not contain any of these symbols:" + QOXConvert::LineBreak();
    for (const char* symbol = kForbiddenSymbols; *symbol != '\0'; ++symbol)
        text += std::string(" ") + *symbol;
    Message(text);
    return false;
}

bool QACursor::RefusedOnHistory(const QOXRing* ring)
{
    if (ring == nullptr || ring->History == nullptr)
        return false;
    Engine()->Message(ring->History->RefusalText());
    return true;
}

bool QACursor::ShiftHeld() const
{
    return Modifiers != nullptr && Modifiers->ShiftHeld();
}

void QACursor::Delete()
{
    if (Files.Running() || CurrentElement == nullptr || RefusedOnHistory(CurrentElement->Ring))
        return;
    const DeleteKind kind = ShiftHeld() ? DeleteKind::Permanent : DeleteKind::Trash;
    const std::vector<QADeleteItem> items = SelectedInCurrentRing();
    if (items.empty() || Dialogs == nullptr || Dialogs->ConfirmDelete(DeleteConfirmation(items, kind)) != QAModalResult::Ok)
        return;
    std::set<std::string> batch;
    for (const QADeleteItem& item : items)
        batch.insert(platform::WithoutTrailingSlash(item.Path));
    Files.Delete(kind, {batch.begin(), batch.end()});
    // The ring walk asks the deletion entry points about each element; they answer from the disk.
    DeletionBatch = std::move(batch);
    App()->DeleteSelectedInCurrentRing();
    DeletionBatch.reset();
    App()->RefreshAll();
}

std::vector<QADeleteItem> QACursor::SelectedInCurrentRing() const
{
    const QOXPtr<QRList<QRElement>> selected =
        QOXMake<QRList<QRElement>>(nullptr, QRList<QRElement>::Uniqueness::Unique, QRList<QRElement>::Ownership::References);
    App()->CollectSelectedInCurrentRing(*selected);
    std::vector<QADeleteItem> items;
    for (const QRElement* element : *selected)
        items.push_back({element->FullPath(), element->IsRoot()});
    return items;
}

bool QACursor::DeleteFolderFromDisk(const std::string& path)
{
    return DeleteEntry(platform::WithoutTrailingSlash(path));
}

bool QACursor::DeleteFileFromDisk(const std::string& path)
{
    const bool existed = DeletionBatch ? DeletionBatch->contains(path) : Exists(path);
    const bool gone = DeleteEntry(path);
    if (existed)
        Log("Deleting file " + Quoted(path));
    return gone;
}

// During a deletion of the selection the batch has run already; called on its own, the entry
// goes at once (to the trash unless Shift is held). Either way: gone from the disk or not.
bool QACursor::DeleteEntry(const std::string& path)
{
    if (!DeletionBatch && !Files.Running() && Exists(path))
        Files.Delete(ShiftHeld() ? DeleteKind::Permanent : DeleteKind::Trash, {path});
    return !Exists(path);
}

// Our marks when the desktop's clipboard still holds what our last Cut or Copy put there, or when
// another program put no file on it since.
void QACursor::Paste()
{
    QREFolder* folder = CurrentFolder();
    if (Files.Running() || folder == nullptr || !folder->Selected || RefusedOnHistory(folder->Ring))
        return;
    if (const std::optional<platform::ClipboardFiles> theirs = FilesFromElsewhere()) {
        PasteFiles(*theirs, *folder, true);
        return;
    }
    if (FilesToCopy->Count() == 0)
        return;
    if (MarkedAbove(*folder)) {
        Log("Cannot paste inside the selected structure!");
        return;
    }
    PasteFiles(Marked(), *folder, false);
}

platform::ClipboardFiles QACursor::Marked() const
{
    return {PathsOf(*FilesToCopy), CopyMode == QACopyMode::Cut ? platform::ClipboardKind::Cut : platform::ClipboardKind::Copy};
}

std::vector<std::string> QACursor::PathsOf(const QRList<QRElement>& elements)
{
    std::vector<std::string> paths;
    for (const QRElement* element : elements)
        paths.push_back(platform::WithoutTrailingSlash(element->FullPath()));
    return paths;
}

bool QACursor::MarkedAbove(const QREFolder& folder) const
{
    for (const QRElement* element = &folder; element != nullptr; element = element->Parent) {
        if (FilesToCopy->Contains(element))
            return true;
    }
    return false;
}

std::optional<platform::ClipboardFiles> QACursor::FilesFromElsewhere() const
{
    if (Clipboard == nullptr || Clipboard->HoldsOurs())
        return std::nullopt;
    return Clipboard->Files();
}

// A cut is used up once none of its files is left where the clipboard says: the clipboard is
// emptied then, so that a second paste or another program does not look for them. Our own marks
// stay, as after every paste.
void QACursor::PasteFiles(const platform::ClipboardFiles& files, const QREFolder& folder, bool fromElsewhere)
{
    const bool cut = files.Kind == platform::ClipboardKind::Cut;
    Files.Transfer(cut ? platform::TransferKind::Move : platform::TransferKind::Copy, files.Paths,
                   platform::WithoutTrailingSlash(folder.FullPath()));
    const bool usedUp = cut && std::none_of(files.Paths.begin(), files.Paths.end(), Exists);
    if (usedUp && Clipboard != nullptr && (fromElsewhere || Clipboard->HoldsOurs()))
        Clipboard->Clear();
    App()->RefreshAll();
}

// A sector that stands for no entry (the free space) has nothing to rename: its path is its folder's.
void QACursor::Rename()
{
    if (Files.Running() || CurrentElement == nullptr || CurrentElement->IsSummary() || !CurrentElement->Selected ||
        !QRLayout::IsReachable(*CurrentElement) || Dialogs == nullptr || RefusedOnHistory(CurrentElement->Ring))
        return;
    const std::string source = platform::WithoutTrailingSlash(CurrentElement->FullPath());
    const std::string oldName = QOXFileSystem::ExtractName(source);
    std::string newName = oldName;
    const QANamePart part = CurrentElement->IsFolder() ? QANamePart::Whole : QANamePart::Stem;
    if (Dialogs->AskRename(oldName, part, newName) != QAModalResult::Ok || !IsValidFileName(newName) || newName == oldName)
        return;
    const std::string target = QOXFileSystem::ExtractFolder(source) + newName;
    const platform::EntryKind taken = platform::KindOfEntry(target);
    if (taken != platform::EntryKind::Missing) {
        Message(AlreadyExists(newName, taken == platform::EntryKind::Folder));
        return;
    }
    Files.Rename(source, target);
    App()->RefreshAll();
}

void QACursor::NewFile()
{
    CreateNamedEntry(QAEntryKind::File, PickedFolder());
}

void QACursor::NewFolder()
{
    CreateNamedEntry(QAEntryKind::Folder, PickedFolder());
}

void QACursor::NewFolderHere()
{
    CreateNamedEntry(QAEntryKind::Folder, FolderOfCursor());
}

// The element menu's New works in the picked folder, or in a picked file's folder.
QREFolder* QACursor::PickedFolder() const
{
    if (CurrentElement == nullptr)
        return nullptr;
    return CurrentElement->IsFolder() ? static_cast<QREFolder*>(CurrentElement) : CurrentElement->Parent;
}

// The name is checked before the disk is asked: an empty name would otherwise name the folder
// itself, which exists.
void QACursor::CreateNamedEntry(QAEntryKind kind, QREFolder* folder)
{
    MenuOpen = false;
    if (Files.Running() || folder == nullptr || RefusedOnHistory(folder->Ring))
        return;
    const bool makeFolder = kind == QAEntryKind::Folder;
    std::string name;
    const std::string caption = makeFolder ? "Create new Folder" : "Create new File";
    if (Dialogs != nullptr && Dialogs->AskNewName(caption, name) == QAModalResult::Ok && IsValidFileName(name)) {
        const std::string path = folder->FullPath() + name;
        const platform::EntryKind taken = platform::KindOfEntry(path);
        // A dangling link counts as a file of that name: it is never followed to make its target.
        if (taken == (makeFolder ? platform::EntryKind::Folder : platform::EntryKind::Other)) {
            Message(AlreadyExists(name, makeFolder));
            return;
        }
        Log((makeFolder ? "Creating Directory: " : "Creating File: ") + Quoted(path));
        if (makeFolder)
            Files.CreateFolder(path);
        else
            Files.CreateFile(path);
    }
    App()->RefreshAll();
}

void QACursor::CleanUp()
{
    MenuOpen = false;
    if (Files.Running() || !Files.CanCleanUp())
        return;
    Files.CleanUp();
    App()->RefreshAll();
}

void QACursor::Undo()
{
    MenuOpen = false;
    if (Files.Running() || !Files.CanUndo())
        return;
    Files.Undo();
    App()->RefreshAll();
}
