#pragma once
// A file on a ring: its view (colour and picture by extension), its size and its details.
#include <cstdint>

#include "ring/element_main.h"

class QVGeneric;

struct QRFileInfo {
    bool Found = false;
    std::int64_t Created = 0;    // seconds since 1970 (birth time, else status change)
    std::int64_t LastAccess = 0; // seconds since 1970
    std::int64_t Size = -1;
    bool Hidden = false;
    bool ReadOnly = false;
    std::int64_t Allocated = -1; // bytes of the blocks it takes on the disk
};

class QREFile final : public QRElement {
public:
    // `parent` is the folder that keeps the file (never null).
    QREFile(QREFolder* parent, QOXRing* ring, std::string_view name);

    QROutcome Refresh() override;
    QROutcome DeleteFromDisk() override;
    void ApplyVisibility() override;
    void Activate() override;
    std::int64_t ComputeSize() override;

    QRFileInfo Info() const;

    const QVGeneric* View = nullptr; // not owned; the view the extension matched, or none
};
