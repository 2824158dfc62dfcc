#pragma once
// The legend of a size-true ring: the colours its drawn elements are in, named, for a small box in
// a corner of the view ("ShowLegend"): each view's colour by its name, then plain files, folders,
// small items and free space, as far as the ring shows them.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/qox_constant.h"

class QOXRing;

struct GLLegendRow {
    QXColor Colour;
    std::string Name;
    bool operator==(const GLLegendRow&) const = default;
};

class GLSceneLegend {
public:
    // The rows for the ring, worked out again only when it was laid out since.
    const std::vector<GLLegendRow>& RowsOf(QOXRing& ring);

private:
    const QOXRing* Ring = nullptr; // not owned; the ring the rows are for
    std::uint64_t LayoutCount = 0;
    std::vector<GLLegendRow> Rows;
};
