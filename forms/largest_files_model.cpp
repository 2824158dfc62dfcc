#include "forms/largest_files_model.h"

#include <QFile>

#include <algorithm>

#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"

namespace {

struct Found {
    std::int64_t Size;
    const QRElement* Element;
};

// Every file with a known size below `folder`, the tree as the ring has read it.
void CollectFiles(const QREFolder& folder, std::vector<Found>& found)
{
    for (const QREFile* file : *folder.Files)
        if (file->SizeKnown())
            found.push_back({file->Size, file});
    for (const QREFolder* child : *folder.Folders)
        CollectFiles(*child, found);
}

} // namespace

TLargestFilesModel::TLargestFilesModel(QObject* parent) : QAbstractTableModel(parent) {}

std::vector<TLargeFile> TLargestFilesModel::LargestFiles(const QOXRing& ring, std::size_t count)
{
    std::vector<Found> found;
    if (ring.Root != nullptr)
        CollectFiles(*ring.Root, found);
    const auto larger = [](const Found& first, const Found& second) { return first.Size > second.Size; };
    const std::size_t kept = std::min(count, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(), larger);
    std::vector<TLargeFile> files;
    for (std::size_t at = 0; at < kept; ++at)
        files.push_back({found[at].Element->FullPath().substr(ring.Folder.size()), found[at].Size});
    return files;
}

void TLargestFilesModel::Read(QOXRing* ring)
{
    std::vector<TLargeFile> files = ring != nullptr ? LargestFiles(*ring, kMaxFiles) : std::vector<TLargeFile>();
    const bool same = files.size() == Rows.size() &&
                      std::equal(files.begin(), files.end(), Rows.begin(), [](const TLargeFile& a, const TLargeFile& b) {
                          return a.Path == b.Path && a.Size == b.Size;
                      });
    if (same)
        return;
    beginResetModel();
    Rows = std::move(files);
    endResetModel();
}

int TLargestFilesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TLargestFilesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TLargestFilesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TLargeFile& file = Rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return index.column() == 0 ? QFile::decodeName(QByteArray::fromStdString(file.Path))
                               : QString::fromStdString(SizeText(file.Size));
}

QVariant TLargestFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QString("Path") : QString("Size");
}
