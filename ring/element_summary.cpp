#include "ring/element_summary.h"

#include "engine/qox_convert.h"

QRESummary::QRESummary(QREFolder* folder, QOXRing* ring, QRSummaryKind kind) : QRElement(folder, ring, ""), Kind(kind)
{
    Label = Caption();
}

void QRESummary::Place(int level, float end, float start)
{
    Level = level;
    StartAngle = start;
    EndAngle = end;
    UpdateScale();
}

void QRESummary::SetHolding(std::int64_t bytes, std::int64_t count)
{
    Size = bytes;
    if (count == Count && !Label.empty())
        return;
    Count = count;
    Label = Caption();
}

std::string QRESummary::Caption() const
{
    if (Kind == QRSummaryKind::FreeSpace)
        return "Free space";
    return QOXConvert::IntToStr(Count) + (Count == 1 ? " small item" : " small items");
}
