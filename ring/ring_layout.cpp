#include "ring/ring_layout.h"

#include <algorithm>
#include <cstdint>

#include "ring/ring_main.h"
#include "ring/ring_sizes.h"

namespace {

// What each visible child's part of its folder's sector is made of before the parts are scaled to
// fill the sector.
class ChildShares {
public:
    explicit ChildShares(const QREFolder& folder)
    {
        int unset = 0;
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
        });
        const int visible = Visible;
        const int known = visible - unset;
        UnsetShare = unset >= 1 ? 1.0f / static_cast<float>(visible) : 0.0f;
        if (known > 0) {
            float ratios = 0.0f;
            folder.ForEachChild([&](const QRElement* child) {
                if (child->Visible && child->SizeKnown())
                    ratios += child->SizeRatio(Lowest, Highest);
            });
            SizeNorm = ratios != 0.0f ? (static_cast<float>(known) / static_cast<float>(visible)) / ratios : 0.0f;
        }
        // New sizes counted in the background ease in rather than jump.
        Blend = folder.Ring->Sizes != nullptr ? folder.Ring->Sizes->BlendOf(folder) : nullptr;
    }

    // The child's weight times its share; never below zero.
    double Part(const QRElement& child) const
    {
        float share = child.SizeKnown() ? child.SizeRatio(Lowest, Highest) * SizeNorm : UnsetShare;
        if (Blend != nullptr)
            share = Blend->Shown(child, share);
        return std::max(0.0, static_cast<double>(child.Weight) * static_cast<double>(share));
    }

    int Visible = 0;

private:
    std::int64_t Lowest = 0; // both start at 0, so the smallest is 0 for ordinary sizes
    std::int64_t Highest = 0;
    float UnsetShare = 0.0f;
    float SizeNorm = 0.0f;
    const QRShareBlend* Blend = nullptr; // not owned; the ring's sizes keep it
};

} // namespace

void QRLayout::PlaceChildren(QREFolder& folder, int level, float start, float end)
{
    const ChildShares shares(folder);
    if (shares.Visible == 0)
        return;
    // The parts are worked out again on the way through rather than kept: a folder of a million
    // files would otherwise hold on to megabytes between layouts. The same sums in the same order
    // give the same total to the last bit.
    double total = 0.0;
    folder.ForEachChild([&](const QRElement* child) {
        if (child->Visible)
            total += shares.Part(*child);
    });
    const double sector = static_cast<double>(end) - static_cast<double>(start);
    // Every edge is worked out from the running sum, so the last child ends on the sector's end
    // and each child starts exactly where the one before it ended.
    const auto edge = [&](double before) {
        if (total <= 0.0 || before >= total)
            return total <= 0.0 ? start : end;
        return static_cast<float>(static_cast<double>(start) + sector * (before / total));
    };
    double before = 0.0;
    float largestFileScale = 0.0f;
    float widestFileSector = 0.0f;
    folder.ForEachChild([&](QRElement* child) {
        if (!child->Visible)
            return;
        const float childStart = edge(before);
        before += shares.Part(*child);
        child->Place(level + 1, edge(before), childStart);
        if (!child->IsFolder()) {
            largestFileScale = std::max(largestFileScale, child->Scale);
            widestFileSector = std::max(widestFileSector, child->EndAngle - child->StartAngle);
        }
    });
    folder.LargestFileScale = largestFileScale;
    folder.WidestFileSector = widestFileSector;
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
