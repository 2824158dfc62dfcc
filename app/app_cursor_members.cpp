// The members of a small-items sector, offered in its element menu.
#include <algorithm>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "ring/element_folder.h"
#include "ring/element_summary.h"
#include "ring/ring_layout.h"
#include "ring/size_text.h"

namespace {

constexpr std::size_t kMostOffered = 30;

} // namespace

void QACursor::OfferMembers(const QRElement& smallItems)
{
    OfferedMembers.clear();
    if (!smallItems.IsSummary() || static_cast<const QRESummary&>(smallItems).Kind != QRSummaryKind::SmallItems)
        return;
    smallItems.Parent->ForEachChild([this](QRElement* child) {
        if (QRLayout::IsGathered(*child))
            OfferedMembers.push_back(child);
    });
    const auto larger = [](const QRElement* a, const QRElement* b) { return a->SizeForLayout() > b->SizeForLayout(); };
    const std::size_t offered = std::min(OfferedMembers.size(), kMostOffered);
    std::partial_sort(OfferedMembers.begin(), OfferedMembers.begin() + static_cast<long>(offered),
                      OfferedMembers.end(), larger);
    OfferedMembers.resize(offered);
    std::vector<QAMenuEntry> entries;
    for (std::size_t i = 0; i < OfferedMembers.size(); ++i) {
        const QRElement& member = *OfferedMembers[i];
        std::string caption(member.Name);
        if (member.SizeKnown())
            caption += "  " + ShortSizeText(member.SizeForLayout());
        entries.push_back({caption, QATick::None, [this, i] { ChooseMember(i); }});
    }
    if (App()->MenuBar != nullptr)
        App()->MenuBar->FillMenu(QADataMenu::SmallItems, entries);
}

void QACursor::ChooseMember(std::size_t index)
{
    if (index >= OfferedMembers.size() || OfferedMembers[index] == nullptr)
        return;
    QRElement* member = OfferedMembers[index];
    ClearSelection();
    member->Selected = true;
    SetCurrent(member);
    AnchorElement = member;
}
