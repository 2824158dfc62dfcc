#include "forms/element_list_model.h"

#include <sys/stat.h>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QMimeData>
#include <QPalette>
#include <QStyle>

#include <algorithm>
#include <functional>
#include <tuple>

#include "engine/qox_file.h"
#include "platform/qt_file_clipboard.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "ring/ring_sizes.h"

namespace {

constexpr const char* kHeaders[kListColumns] = {"Name", "Size", "Share", "Files", "Folders", "Modified"};

std::string_view ShownName(const QRElement& element)
{
    std::string_view name = element.Name.View();
    if (!name.empty() && name.back() == '/')
        name.remove_suffix(1);
    return name;
}

QString NameOf(const QRElement& element)
{
    const std::string_view name = ShownName(element);
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

bool Ascii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c);
}

// Names compared without regard to case, as QString compares them; names in ASCII (nearly all) are
// compared in place, since a sort of 100,000 rows makes millions of comparisons.
int CompareNames(std::string_view first, std::string_view second)
{
    if (!Ascii(first) || !Ascii(second))
        return QString::compare(QFile::decodeName(QByteArray(first.data(), static_cast<qsizetype>(first.size()))),
                                QFile::decodeName(QByteArray(second.data(), static_cast<qsizetype>(second.size()))),
                                Qt::CaseInsensitive);
    const std::size_t common = std::min(first.size(), second.size());
    for (std::size_t at = 0; at < common; ++at) {
        const int a = AsciiLower(first[at]);
        const int b = AsciiLower(second[at]);
        if (a != b)
            return a - b;
    }
    return first.size() < second.size() ? -1 : (first.size() > second.size() ? 1 : 0);
}

// What a row is sorted by, read once a sort: the column's value, then folders before files, then
// the name without regard to case, so that the order is one the user can find things in.
struct RowKey {
    std::int64_t Value = 0;
    bool File = false;
    std::string_view Name;        // the element's own, unchanged during the sort
    QRElement* Element = nullptr; // not owned

    bool operator<(const RowKey& other) const
    {
        if (Value != other.Value || File != other.File)
            return std::tie(Value, File) < std::tie(other.Value, other.File);
        return CompareNames(Name, other.Name) < 0;
    }
};

std::function<std::int64_t(const QRElement&)> KeyOf(TListColumn column)
{
    switch (column) {
    case TListColumn::Files:
        return &TElementListModel::FilesOf;
    case TListColumn::Folders:
        return &TElementListModel::FoldersOf;
    case TListColumn::Modified:
        return &TElementListModel::ModifiedOf;
    default:
        return &TElementListModel::BytesOf;
    }
}

} // namespace

TElementListModel::TElementListModel(QObject* parent) : QAbstractTableModel(parent) {}

const QIcon& TElementListModel::IconOf(const QRElement& element) const
{
    if (FolderIcon.isNull()) {
        FolderIcon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
        FileIcon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    }
    return element.IsFolder() ? FolderIcon : FileIcon;
}

std::int64_t TElementListModel::BytesOf(const QRElement& element)
{
    return element.SizeKnown() ? element.ShownSize() : 0;
}

std::int64_t TElementListModel::ModifiedOf(const QRElement& element)
{
    struct stat status {};
    const std::string path = QOXFileSystem::ExcludeTrailingDelimiter(element.FullPath());
    return ::lstat(path.c_str(), &status) == 0 ? static_cast<std::int64_t>(status.st_mtime) : 0;
}

namespace {

enum class Below { Files, Folders };

// A counted folder gives its totals; otherwise what the ring has read of it so far.
std::int64_t CountBelow(const QRElement& element, Below what)
{
    if (!element.IsFolder())
        return 0;
    const auto& folder = static_cast<const QREFolder&>(element);
    if (element.Ring != nullptr && element.Ring->Sizes != nullptr) {
        const QRFolderCount count = element.Ring->Sizes->CountOf(folder);
        if (count.State == QRCountState::Known)
            return what == Below::Files ? count.Totals.Files : count.Totals.Folders;
    }
    return what == Below::Files ? folder.TotalFileCount() : folder.TotalFolderCount();
}

} // namespace

std::int64_t TElementListModel::FilesOf(const QRElement& element)
{
    return CountBelow(element, Below::Files);
}

std::int64_t TElementListModel::FoldersOf(const QRElement& element)
{
    return CountBelow(element, Below::Folders);
}

std::vector<QRElement*> TElementListModel::ShownChildren() const
{
    std::vector<QRElement*> children;
    if (Shown == nullptr)
        return children;
    children.reserve(static_cast<std::size_t>(Shown->Folders->Count() + Shown->Files->Count()));
    Shown->ForEachChild([&children](QRElement* child) {
        if (child->Visible)
            children.push_back(child);
    });
    return children;
}

std::int64_t TElementListModel::SumBytes() const
{
    std::int64_t total = 0;
    for (const QRElement* element : Rows)
        total += BytesOf(*element);
    return total;
}

void TElementListModel::TakeRows(std::vector<QRElement*> rows)
{
    beginResetModel();
    Rows = std::move(rows);
    Live = std::unordered_set<const QRElement*>(Rows.begin(), Rows.end());
    Stale = false;
    SeenLayout = ShownRing != nullptr ? ShownRing->LayoutCount : 0;
    TotalBytes = SumBytes();
    SortRows();
    endResetModel();
}

void TElementListModel::ShowFolder(QREFolder* folder)
{
    Shown = folder;
    ShownRing = folder != nullptr ? folder->Ring : nullptr;
    TakeRows(ShownChildren());
}

void TElementListModel::Refresh()
{
    if (Shown == nullptr) {
        if (!Rows.empty())
            TakeRows({});
        return;
    }
    if (!Stale && ShownRing->LayoutCount == SeenLayout)
        return;
    SeenLayout = ShownRing->LayoutCount;
    std::vector<QRElement*> now = ShownChildren();
    // Live holds exactly the rows' elements while nothing was freed, so the same count with every
    // child among them is the same set of rows, told without sorting either.
    const auto listed = [this](const QRElement* child) { return Live.contains(child); };
    const bool sameRows = !Stale && now.size() == Rows.size() && std::all_of(now.begin(), now.end(), listed);
    if (!sameRows) {
        // The panel selects the rows of the selected elements again and keeps the scroll.
        TakeRows(std::move(now));
        return;
    }
    TotalBytes = SumBytes();
    if (SortColumn == TListColumn::Name)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kListColumns - 1));
    else
        Resort();
}

void TElementListModel::Resort()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const QRElement*> elements;
    elements.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        elements.push_back(ElementAt(index.row()));
    SortRows();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype at = 0; at < before.size(); ++at) {
        const int row = RowOf(elements[static_cast<std::size_t>(at)]);
        after.push_back(row < 0 ? QModelIndex() : index(row, before[at].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TElementListModel::SortRows()
{
    // Each key is read once: Modified reads the disk, Files and Folders may walk the tree.
    const auto value = SortColumn == TListColumn::Name ? nullptr : KeyOf(SortColumn);
    std::vector<RowKey> keys;
    keys.reserve(Rows.size());
    for (QRElement* element : Rows)
        keys.push_back({value ? value(*element) : 0, !element->IsFolder(), ShownName(*element), element});
    std::stable_sort(keys.begin(), keys.end());
    for (std::size_t row = 0; row < keys.size(); ++row)
        Rows[row] = keys[row].Element;
    if (SortOrder == Qt::DescendingOrder)
        std::reverse(Rows.begin(), Rows.end());
}

void TElementListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kListColumns)
        return;
    // The share is the size's order.
    SortColumn = static_cast<TListColumn>(column == static_cast<int>(TListColumn::Share) ? 1 : column);
    SortOrder = order;
    if (Stale)
        Refresh();
    else
        Resort();
}

// A whole tree may be freed at once, so this only marks: the rows are read again at the next Refresh.
void TElementListModel::ElementFreed(const QRElement* element)
{
    if (element == Hot)
        Hot = nullptr;
    if (element == Shown) {
        Shown = nullptr;
        ShownRing = nullptr;
        Live.clear();
        Stale = true;
        return;
    }
    if (Live.erase(element) > 0)
        Stale = true;
}

std::vector<int> TElementListModel::SelectedRows() const
{
    std::vector<int> rows;
    for (std::size_t row = 0; row < Rows.size(); ++row)
        if ((!Stale || Live.contains(Rows[row])) && Rows[row]->Selected)
            rows.push_back(static_cast<int>(row));
    return rows;
}

QRElement* TElementListModel::ElementAt(int row) const
{
    if (row < 0 || row >= static_cast<int>(Rows.size()))
        return nullptr;
    QRElement* element = Rows[static_cast<std::size_t>(row)];
    return Stale && !Live.contains(element) ? nullptr : element;
}

int TElementListModel::RowOf(const QRElement* element) const
{
    const auto found = std::find(Rows.begin(), Rows.end(), element);
    return found == Rows.end() ? -1 : static_cast<int>(found - Rows.begin());
}

void TElementListModel::SetHot(const QRElement* element)
{
    if (element == Hot)
        return;
    const int before = RowOf(Hot);
    Hot = element;
    const int after = RowOf(Hot);
    for (const int row : {before, after})
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, kListColumns - 1), {Qt::BackgroundRole});
}

int TElementListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TElementListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kListColumns;
}

QVariant TElementListModel::Display(const QRElement& element, TListColumn column) const
{
    switch (column) {
    case TListColumn::Name:
        return NameOf(element);
    case TListColumn::Size:
        return element.SizeKnown() ? QString::fromStdString(SizeText(element.ShownSize())) : QString();
    case TListColumn::Share:
        if (TotalBytes <= 0 || !element.SizeKnown())
            return QString();
        return QString("%1 %").arg(100.0 * static_cast<double>(BytesOf(element)) / static_cast<double>(TotalBytes), 0, 'f', 1);
    case TListColumn::Files:
        return element.IsFolder() ? QVariant(static_cast<qlonglong>(FilesOf(element))) : QVariant();
    case TListColumn::Folders:
        return element.IsFolder() ? QVariant(static_cast<qlonglong>(FoldersOf(element))) : QVariant();
    case TListColumn::Modified: {
        const std::int64_t modified = ModifiedOf(element);
        return modified > 0 ? QDateTime::fromSecsSinceEpoch(modified).toString("yyyy-MM-dd HH:mm") : QString();
    }
    }
    return {};
}

QVariant TElementListModel::data(const QModelIndex& index, int role) const
{
    const QRElement* element = index.isValid() ? ElementAt(index.row()) : nullptr;
    if (element == nullptr)
        return {};
    const auto column = static_cast<TListColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return Display(*element, column);
    case Qt::DecorationRole:
        return column == TListColumn::Name ? QVariant(IconOf(*element)) : QVariant();
    case Qt::TextAlignmentRole:
        return column == TListColumn::Name ? QVariant() : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    case Qt::BackgroundRole:
        return element == Hot ? QVariant(QApplication::palette().alternateBase()) : QVariant();
    case kShareRole:
        return TotalBytes > 0 ? static_cast<double>(BytesOf(*element)) / static_cast<double>(TotalBytes) : 0.0;
    default:
        return {};
    }
}

QVariant TElementListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kListColumns)
        return {};
    return QString(kHeaders[section]);
}

Qt::ItemFlags TElementListModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

Qt::DropActions TElementListModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

QStringList TElementListModel::mimeTypes() const
{
    return {platform::kUriListFormat};
}

// Other programs get the rows' entries as file URLs (text/uri-list), as from the ring.
QMimeData* TElementListModel::mimeData(const QModelIndexList& indexes) const
{
    std::vector<std::string> paths;
    std::vector<const QRElement*> taken;
    for (const QModelIndex& index : indexes) {
        const QRElement* element = ElementAt(index.row());
        if (element == nullptr || std::find(taken.begin(), taken.end(), element) != taken.end())
            continue;
        taken.push_back(element);
        paths.push_back(QOXFileSystem::ExcludeTrailingDelimiter(element->FullPath()));
    }
    return platform::NewMimeData(platform::DragPayloads(paths));
}
