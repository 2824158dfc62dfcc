#pragma once
// The list beside the rings as a Qt model: the shown children of one folder of a ring, read from
// the elements themselves whenever the view asks. The model keeps only the row order (pointers to
// the folder's children, sorted), so a folder of 100,000 entries costs one pointer a row.
#include <QAbstractTableModel>
#include <QIcon>

#include <cstdint>
#include <unordered_set>
#include <vector>

class QOXRing;
class QREFolder;
class QRElement;

enum class TListColumn { Name, Size, Share, Files, Folders, Modified };
inline constexpr int kListColumns = 6;

// The role a share column answers with its fraction (0..1) of the folder, for the bar.
inline constexpr int kShareRole = Qt::UserRole + 1;

class TElementListModel : public QAbstractTableModel {
public:
    explicit TElementListModel(QObject* parent);

    // Shows the children of `folder` (none: an empty list). Rows come in the current sort order.
    void ShowFolder(QREFolder* folder);
    QREFolder* Folder() const { return Shown; }
    // Reads the folder again: a changed set of children (an entry came or went, one was hidden or
    // shown) gives new rows; changed sizes re-sort them when the order depends on sizes, and
    // repaint them otherwise. Rows that stay keep their place in the selection.
    void Refresh();
    // Forgets an element as it is freed (its row shows nothing); the row goes at the next Refresh.
    void ElementFreed(const QRElement* element);

    QRElement* ElementAt(int row) const;
    // The rows whose elements are selected, in ascending order.
    std::vector<int> SelectedRows() const;
    // The row of an element, or -1.
    int RowOf(const QRElement* element) const;
    // The row drawn as "pointed at" (the sector under the pointer in the view); none with null.
    void SetHot(const QRElement* element);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order) override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    QStringList mimeTypes() const override;
    // A copy, or a move with Shift where the target allows it; the target moves the files, and the
    // rows never go by the drag itself (no row is removable).
    Qt::DropActions supportedDragActions() const override;

    // The bytes an element adds to its folder, 0 while unknown; the folder's sum of them.
    static std::int64_t BytesOf(const QRElement& element);
    std::int64_t FolderBytes() const { return TotalBytes; }
    // The entry's modification time, seconds since 1970 (0 when it cannot be read).
    static std::int64_t ModifiedOf(const QRElement& element);
    static std::int64_t FilesOf(const QRElement& element);
    static std::int64_t FoldersOf(const QRElement& element);

private:
    std::vector<QRElement*> ShownChildren() const;
    void TakeRows(std::vector<QRElement*> rows);
    void SortRows();
    void Resort();
    std::int64_t SumBytes() const;
    QVariant Display(const QRElement& element, TListColumn column) const;
    const QIcon& IconOf(const QRElement& element) const;

    QREFolder* Shown = nullptr;          // not owned; the folder listed
    QOXRing* ShownRing = nullptr;        // not owned; its ring
    std::vector<QRElement*> Rows;        // not owned; the folder's shown children, in row order
    std::unordered_set<const QRElement*> Live; // the rows' elements not freed since they were read
    bool Stale = false;                  // an element of the rows was freed
    std::uint64_t SeenLayout = 0;        // the ring's layout count when the rows were last read
    std::int64_t TotalBytes = 0;
    const QRElement* Hot = nullptr;      // not owned; compared only
    TListColumn SortColumn = TListColumn::Size;
    Qt::SortOrder SortOrder = Qt::DescendingOrder;
    // The style's folder and file icons, looked up when the first row is drawn: the first lookup
    // reads the icon theme, 5 ms that the window's start need not wait for.
    mutable QIcon FolderIcon;
    mutable QIcon FileIcon;
};
