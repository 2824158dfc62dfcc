#include "app/app_growth.h"

#include <algorithm>
#include <cmath>

#include "platform/date_text.h"
#include "platform/size_growth.h"

namespace {

constexpr QXColor kUnchanged{0.55f, 0.55f, 0.55f};
constexpr QXColor kGrown{0.95f, 0.08f, 0.05f};
constexpr QXColor kShrunk{0.1f, 0.35f, 0.95f};
constexpr QXColor kNew{1.0f, 0.9f, 0.35f};
// The weakest change still shows its colour clearly against the unchanged grey.
constexpr float kLeastSaturation = 0.3f;

QXColor Mix(const QXColor& from, const QXColor& to, float t)
{
    return {from.X + (to.X - from.X) * t, from.Y + (to.Y - from.Y) * t, from.Z + (to.Z - from.Z) * t};
}

float StrengthOf(std::int64_t change, std::int64_t largest)
{
    if (largest <= 0)
        return 1.0f;
    // The square root keeps a tenth of the largest change well visible.
    return std::sqrt(std::clamp(static_cast<float>(static_cast<double>(change) / static_cast<double>(largest)), 0.0f, 1.0f));
}

} // namespace

const platform::SizeCount* GrowthBase(const platform::SizeHistory& history, const std::string& growthSince,
                                      std::optional<std::int64_t> ownCount)
{
    if (growthSince == "previous" || growthSince.empty()) {
        for (auto count = history.Counts.rbegin(); count != history.Counts.rend(); ++count)
            if (count->Extent == platform::CountExtent::Complete && count->Time != ownCount)
                return &*count;
        return nullptr;
    }
    const std::optional<std::int64_t> date = platform::ParseLocalDate(growthSince);
    return date ? history.CompleteAtOrBefore(*date) : nullptr;
}

QAGrowth GrowthOf(std::optional<std::int64_t> before, std::int64_t after, std::int64_t largestGrowth,
                  std::int64_t largestShrink)
{
    if (!before)
        return {QAGrowthKind::New, 1.0f};
    const std::int64_t change = after - *before;
    if (change > 0)
        return {QAGrowthKind::Grew, StrengthOf(change, largestGrowth)};
    if (change < 0)
        return {QAGrowthKind::Shrank, StrengthOf(-change, largestShrink)};
    return {};
}

QXColor GrowthColour(const QAGrowth& growth)
{
    const float step = std::ceil(growth.Strength * kGrowthSteps) / kGrowthSteps;
    const float saturation = kLeastSaturation + (1.0f - kLeastSaturation) * step;
    switch (growth.Kind) {
    case QAGrowthKind::Grew:
        return Mix(kUnchanged, kGrown, saturation);
    case QAGrowthKind::Shrank:
        return Mix(kUnchanged, kShrunk, saturation);
    case QAGrowthKind::New:
        return kNew;
    case QAGrowthKind::Unchanged:
        break;
    }
    return kUnchanged;
}

QAGrowthReport WhatGrew(const platform::SizeHistory& history, const platform::SizeCount& base,
                        const platform::CountSnapshot& now, std::size_t limit)
{
    platform::SizeHistory both;
    both.Root = history.Root;
    std::vector<platform::SizeEntry> then;
    then.reserve(base.Paths.size());
    for (std::size_t i = 0; i < base.Paths.size(); ++i)
        then.push_back({history.Paths[base.Paths[i]], base.Totals[i]});
    platform::AddCount(both, base.Time, platform::CountExtent::Complete, std::move(then));
    platform::AddCount(both, base.Time + 1, platform::CountExtent::Complete, platform::EntriesOf(now));
    const std::vector<platform::PathChange> changes = platform::ChangesBetween(both.Counts[0], both.Counts[1]);

    QAGrowthReport report;
    report.Folder = history.Root;
    report.Since = base.Time;
    for (const platform::PathChange& change : changes)
        if (both.Paths[change.Path].empty()) {
            report.Before = change.Before.Bytes;
            report.After = change.After.Bytes;
        }
    for (const platform::RankedPath& ranked : platform::MostGrown(both, changes, limit)) {
        const platform::PathChange& change = *std::lower_bound(
            changes.begin(), changes.end(), ranked.Path, [](const platform::PathChange& c, std::uint32_t p) { return c.Path < p; });
        const std::string& path = both.Paths[ranked.Path];
        report.Rows.push_back({path, platform::IsFolderPath(path), !change.InBefore, change.Before.Bytes, change.After.Bytes});
    }
    return report;
}
