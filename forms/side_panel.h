#pragma once
// The panel beside the rings (a dock on the right of the main window): the list of the folder the
// cursor is in, with sizes, shares, counts and dates, sortable and one more view of the same
// elements: the row under the pointer shades its sector, the sector under the pointer marks its
// row, and selecting rows selects the elements (the cursor's one selection).
#include <QDockWidget>
#include <QElapsedTimer>

#include <functional>
#include <string>
#include <vector>

#include "forms/element_list_model.h"
#include "forms/largest_files_model.h"
#include "ring/element_hooks.h"

class QTabWidget;
class QTreeView;
class QOXRing;
class QREFolder;
class QRElement;

// What the panel shows and how it is laid out, kept in the settings.
struct TSidePanelState {
    bool Shown = true;
    int SortColumn = static_cast<int>(TListColumn::Size);
    bool Ascending = false;
    std::vector<int> ColumnWidths; // pixels, by column; empty: the defaults
};

class TSidePanel : public QDockWidget, public QRElementWatcher {
public:
    explicit TSidePanel(QWidget* parent);

    // Once a frame: lists `folder` (a change of folder starts at the top), reads the rows again
    // where the ring changed, selects the rows of the selected elements and marks the row of
    // `pointed` (the element under the pointer in the view).
    void Sync(QREFolder* folder, const QRElement* pointed);
    // A read of the selection marks was put off (a folder of many rows): Sync is wanted again even
    // when no frame was drawn since.
    bool SelectionOwed() const { return Owed; }
    void ElementFreed(const QRElement* element) override;

    TSidePanelState State() const;
    void Apply(const TSidePanelState& state);

    TElementListModel& Model() { return *ListModel; }
    QTreeView* List() const { return ListView; }
    TLargestFilesModel& Largest() { return *LargestModel; }
    QTreeView* LargestList() const { return LargestView; }
    QTabWidget* Tabs() const { return TabPages; }

    // The user selected rows: the elements now selected, and the current row's (or null).
    std::function<void(const std::vector<QRElement*>& selected, QRElement* current)> OnSelect;
    // A double click or Enter on a row.
    std::function<void(QRElement* element)> OnActivate;
    // The pointer went onto a row (its element) or off the rows (null).
    std::function<void(QRElement* element)> OnHover;
    // A click on a largest file: its path below the ring's folder.
    std::function<void(const std::string& path)> OnReveal;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool SelectionDue() const;
    void SelectFromElements();
    // The largest files, read again while their tab shows, at most once a second.
    void SyncLargest(QOXRing* ring);
    void TakeSelection();

    TElementListModel* ListModel = nullptr; // owned as a child
    QTreeView* ListView = nullptr;          // owned as a child
    TLargestFilesModel* LargestModel = nullptr; // owned as a child
    QTreeView* LargestView = nullptr;           // owned as a child
    QTabWidget* TabPages = nullptr;             // owned as a child
    QOXRing* LargestRing = nullptr;             // not owned; compared only
    std::uint64_t LargestLayout = 0;            // that ring's layout count when last read
    QElapsedTimer SinceLargest;
    QElapsedTimer SinceSelectionRead;
    bool Owed = false;
    bool Syncing = false; // the panel, not the user, changes the selection
};
