#include "ring/small_items.h"

#include "ring/element_folder.h"
#include "ring/element_summary.h"

QRSmallItems::QRSmallItems(QOXRing& ring) : Ring(ring) {}

QRSmallItems::~QRSmallItems()
{
    Clear();
}

QRESummary& QRSmallItems::Of(QREFolder& folder)
{
    std::unique_ptr<QRESummary>& sector = Sectors[&folder];
    if (sector == nullptr)
        sector = std::make_unique<QRESummary>(&folder, &Ring, QRSummaryKind::SmallItems);
    return *sector;
}

QRESummary* QRSmallItems::Shown(const QREFolder& folder) const
{
    const auto found = Sectors.find(&folder);
    return found != Sectors.end() && found->second->Visible ? found->second.get() : nullptr;
}

void QRSmallItems::Hide(const QREFolder& folder)
{
    const auto found = Sectors.find(&folder);
    if (found == Sectors.end())
        return;
    QRESummary& sector = *found->second;
    sector.Visible = false;
    sector.StartAngle = sector.EndAngle = 0.0f;
}

// An element goes with everything below it: the sectors of the folders among them go too.
void QRSmallItems::ElementFreed(const QRElement* element)
{
    if (Sectors.empty() || !element->IsFolder())
        return;
    std::erase_if(Sectors, [element](const auto& entry) { return entry.first->IsWithin(*element); });
}

void QRSmallItems::DeselectAll()
{
    for (auto& [folder, sector] : Sectors)
        sector->Selected = false;
}

void QRSmallItems::Clear()
{
    auto gone = std::move(Sectors);
    Sectors.clear();
}
