#pragma once
// The second tab of the list beside the rings: the largest files under the current ring, as far as
// the ring has read its folders, with their paths below the ring's folder. The rows are taken from
// the elements when the list is read again, so they never point at an element that may go.
#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

class QOXRing;

struct TLargeFile {
    std::string Path; // below the ring's folder, "docs/report.pdf"
    std::int64_t Size = 0;
};

class TLargestFilesModel : public QAbstractTableModel {
public:
    static constexpr std::size_t kMaxFiles = 100;

    explicit TLargestFilesModel(QObject* parent);

    // The largest files of `ring`'s tree (none without a ring), largest first.
    void Read(QOXRing* ring);
    static std::vector<TLargeFile> LargestFiles(const QOXRing& ring, std::size_t count);
    const std::vector<TLargeFile>& Files() const { return Rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<TLargeFile> Rows;
};
