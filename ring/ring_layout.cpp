#include "ring/ring_layout.h"

#include <algorithm>
#include <cstdint>

#include "app/app_main.h"
#include "ring/element_summary.h"
#include "ring/small_items.h"
#include "ring/ring_main.h"
#include "ring/ring_sizes.h"

namespace {

// What each visible child's part of its folder's sector is made of before the parts are scaled to
// fill the sector: as designed, its weight times a share with a least share for small sizes; size
// true, its share of the children's bytes alone.
class ChildShares {
public:
    explicit ChildShares(const QREFolder& folder) : SizeTrue(QRLayout::SizeTrue())
    {
        int unset = 0;
        std::int64_t knownBytes = 0;
        folder.ForEachChild([&](const QRElement* child) {
            if (!child->Visible)
                return;
            ++Visible;
            if (!child->SizeKnown()) {
                ++unset;
                return;
            }
            Lowest = std::min(Lowest, child->SizeForLayout());
            Highest = std::max(Highest, child->SizeForLayout());
            knownBytes += child->SizeForLayout();
        });
        const int visible = Visible;
        const int known = visible - unset;
        if (SizeTrue) {
            // A child still being counted stands in at the mean of those known (all alike while
            // none is), and eases to its own share when its size comes.
            UnsetBytes = known > 0 ? static_cast<double>(knownBytes) / known : 1.0;
            Bytes = static_cast<double>(knownBytes) + UnsetBytes * unset;
        } else {
            UnsetShare = unset >= 1 ? 1.0f / static_cast<float>(visible) : 0.0f;
            if (known > 0) {
                float ratios = 0.0f;
                folder.ForEachChild([&](const QRElement* child) {
                    if (child->Visible && child->SizeKnown())
                        ratios += child->SizeRatio(Lowest, Highest);
                });
                SizeNorm =
                    ratios != 0.0f ? (static_cast<float>(known) / static_cast<float>(visible)) / ratios : 0.0f;
            }
        }
        // New sizes counted in the background ease in rather than jump.
        Blend = folder.Ring->Sizes != nullptr ? folder.Ring->Sizes->BlendOf(folder) : nullptr;
    }

    // The child's part; never below zero. Size true, the parts are shares of the children's bytes
    // and sum to 1.
    double Part(const QRElement& child) const
    {
        if (SizeTrue) {
            const double bytes = child.SizeKnown() ? static_cast<double>(child.SizeForLayout()) : UnsetBytes;
            float share = static_cast<float>(bytes / Bytes);
            if (Blend != nullptr)
                share = Blend->Shown(child, share);
            return std::max(0.0, static_cast<double>(share));
        }
        float share = child.SizeKnown() ? child.SizeRatio(Lowest, Highest) * SizeNorm : UnsetShare;
        if (Blend != nullptr)
            share = Blend->Shown(child, share);
        return std::max(0.0, static_cast<double>(child.Weight()) * static_cast<double>(share));
    }

    // The part of `bytes` beside the children (the free space of the volume), in the same measure.
    // With no children it takes the whole sector.
    double PartBeside(std::int64_t bytes) const
    {
        if (bytes <= 0)
            return 0.0;
        return Bytes > 0.0 ? static_cast<double>(bytes) / Bytes : 1.0;
    }

    int Visible = 0;

private:
    bool SizeTrue = false;
    std::int64_t Lowest = 0; // both start at 0, so the smallest is 0 for ordinary sizes
    std::int64_t Highest = 0;
    float UnsetShare = 0.0f;
    float SizeNorm = 0.0f;
    double Bytes = 0.0;      // size true: the children's bytes, those of unset size at UnsetBytes
    double UnsetBytes = 1.0;
    const QRShareBlend* Blend = nullptr; // not owned; the ring's sizes keep it
};

// The width on screen below which children are gathered.
constexpr double kLeastPixels = 2.0;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// What a folder's gathered children hold together.
struct Gathered {
    double Part = 0.0;
    std::int64_t Count = 0;
    std::int64_t Bytes = 0;
};

// The part below which a child on `level` is narrower than kLeastPixels in the middle of its
// band, size true and once the view has shown the ring; 0 (nothing gathered) otherwise.
double LeastPart(const QREFolder& folder, int level, double sector, double total)
{
    QOXRing& ring = *folder.Ring;
    if (!QRLayout::SizeTrue() || ring.PixelsPerUnit <= 0.0f || sector <= 0.0 || total <= 0.0)
        return 0.0;
    const double middle = 0.5 * (ring.InnerRadius(level) + ring.InnerRadius(level + 1));
    const double degrees = kLeastPixels / (ring.PixelsPerUnit * middle * kRadiansPerDegree);
    return total * degrees / sector;
}

} // namespace

bool QRLayout::SizeTrue()
{
    const QOXApp* app = App();
    return app != nullptr && app->Settings.SizeTrueRings;
}

bool QRLayout::SizesOnDisk()
{
    const QOXApp* app = App();
    return app != nullptr && app->Settings.SizeOnDisk;
}

float QRLayout::LayoutWeight(const QRElement& element)
{
    return SizeTrue() ? 1.0f : element.Weight();
}

std::array<QRElement*, 2> QRLayout::BesideOf(const QREFolder& folder)
{
    return {folder.Ring->SmallItems->Shown(folder), folder.IsRoot() ? folder.Ring->FreeSpace : nullptr};
}

// Size true, the children narrower than the least width on screen are gathered, even one alone
// (a sliver of a sector can be neither seen nor clicked): they keep no sector of their own (they
// lie, without width, where their sector starts) and their folder's small-items sector takes their
// parts together, but never less than the least width, after the children that keep theirs; the
// free space comes last. Every other child keeps its exact share.
void QRLayout::PlaceChildren(QREFolder& folder, int level, float start, float end)
{
    const ChildShares shares(folder);
    QRESummary* freeSpace = folder.IsRoot() ? folder.Ring->FreeSpace : nullptr;
    if (shares.Visible == 0 && freeSpace == nullptr) {
        folder.Ring->SmallItems->Hide(folder);
        return;
    }
    // The parts are worked out again on the way through rather than kept: a folder of a million
    // files would otherwise hold on to megabytes between layouts. The same sums in the same order
    // give the same total to the last bit.
    double total = 0.0;
    folder.ForEachChild([&](const QRElement* child) {
        if (child->Visible)
            total += shares.Part(*child);
    });
    const double freePart = freeSpace != nullptr ? shares.PartBeside(freeSpace->Size) : 0.0;
    total += freePart;
    const double sector = static_cast<double>(end) - static_cast<double>(start);
    const double least = LeastPart(folder, level + 1, sector, total);
    Gathered gathered;
    if (least > 0.0)
        folder.ForEachChild([&](const QRElement* child) {
            const double part = child->Visible ? shares.Part(*child) : least;
            if (part < least) {
                gathered.Part += part;
                ++gathered.Count;
            }
        });
    const bool gathering = gathered.Count > 0;
    const double smallPart = gathering ? std::max(gathered.Part, least) : 0.0;
    total += smallPart - gathered.Part;
    // Every edge is worked out from the running sum, so the last child ends on the sector's end
    // and each child starts exactly where the one before it ended.
    const auto edge = [&](double before) {
        if (total <= 0.0 || before >= total)
            return total <= 0.0 ? start : end;
        return static_cast<float>(static_cast<double>(start) + sector * (before / total));
    };
    const double gatheredFrom = total - freePart - smallPart;
    double before = 0.0;
    float largestFileScale = 0.0f;
    float widestFileSector = 0.0f;
    folder.ForEachChild([&](QRElement* child) {
        if (!child->Visible)
            return;
        const double part = shares.Part(*child);
        if (gathering && part < least) {
            gathered.Bytes += child->SizeKnown() ? child->SizeForLayout() : 0;
            child->Place(level + 1, edge(gatheredFrom), edge(gatheredFrom));
            return;
        }
        const float childStart = edge(before);
        before += part;
        child->Place(level + 1, edge(before), childStart);
        if (!child->IsFolder()) {
            largestFileScale = std::max(largestFileScale, child->Scale);
            widestFileSector = std::max(widestFileSector, child->EndAngle - child->StartAngle);
        }
    });
    folder.LargestFileScale = largestFileScale;
    folder.WidestFileSector = widestFileSector;
    if (gathering) {
        QRESummary& small = folder.Ring->SmallItems->Of(folder);
        small.Visible = true;
        small.SetHolding(gathered.Bytes, gathered.Count);
        small.Place(level + 1, edge(gatheredFrom + smallPart), edge(gatheredFrom));
    } else {
        folder.Ring->SmallItems->Hide(folder);
    }
    if (freeSpace != nullptr)
        freeSpace->Place(level + 1, end, edge(total - freePart));
}

bool QRLayout::IsGathered(const QRElement& element)
{
    return element.Visible && !HasSector(element) && element.Parent != nullptr && !element.IsSummary() &&
           element.Ring->SmallItems->Shown(*element.Parent) != nullptr;
}

void QRLayout::CollectShownSelected(QRElement& element, QRList<QRElement>& marked)
{
    if (!element.Visible || !HasSector(element))
        return;
    if (element.Selected) {
        marked.Add(&element);
        return;
    }
    if (!element.IsFolder() || !static_cast<const QREFolder&>(element).Expanded)
        return;
    static_cast<const QREFolder&>(element).ForEachChild(
        [&marked](QRElement* child) { CollectShownSelected(*child, marked); });
}

bool QRLayout::IsShown(const QRElement& element)
{
    if (!element.Visible)
        return false;
    for (const QREFolder* folder = element.Parent; folder != nullptr; folder = folder->Parent)
        if (!folder->Visible || !folder->Expanded)
            return false;
    return true;
}
