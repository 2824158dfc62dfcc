#include "app/app_growth.h"

#include <gtest/gtest.h>

#include "platform/date_text.h"

namespace {

using platform::CountExtent;

// "GrowthSince" names a count: "previous" the newest complete one this session did not record, a
// date the newest complete one made by the end of that day.
TEST(Growth, TheBaseIsTheCountGrowthSinceNames)
{
    const std::int64_t dec1 = *platform::ParseLocalDate("2026-12-01T12:00");
    const std::int64_t dec3 = *platform::ParseLocalDate("2026-12-03T12:00");
    const std::int64_t dec5 = *platform::ParseLocalDate("2026-12-05T12:00");
    platform::SizeHistory history;
    platform::AddCount(history, dec1, CountExtent::Complete, {{"", {1, 1, 0, 0}}});
    platform::AddCount(history, dec3, CountExtent::Complete, {{"", {3, 3, 0, 0}}});
    platform::AddCount(history, dec5, CountExtent::Partial, {{"", {5, 5, 0, 0}}});
    const struct {
        const char* Since;
        std::optional<std::int64_t> Own;
        std::optional<std::int64_t> Base;
    } cases[] = {
        {"previous", std::nullopt, dec3},
        {"previous", dec3, dec1},
        {"", std::nullopt, dec3},
        {"2026-12-01", std::nullopt, dec1},
        {"2026-12-02", std::nullopt, dec1},
        {"2026-12-04", dec3, dec3}, // a date names its count whoever recorded it
        {"2026-11-30", std::nullopt, std::nullopt},
        {"not a date", std::nullopt, std::nullopt},
    };
    for (const auto& test : cases) {
        const platform::SizeCount* base = GrowthBase(history, test.Since, test.Own);
        EXPECT_EQ(base != nullptr ? std::optional<std::int64_t>(base->Time) : std::nullopt, test.Base) << test.Since;
    }
}

// Grown entries are red and shrunk ones blue, the more saturated the larger their change against
// the ring's largest; unchanged ones grey, new ones bright.
TEST(Growth, ColoursSayHowAndHowMuchAnEntryChanged)
{
    const auto red = [](const QXColor& c) { return c.X - (c.Y + c.Z) / 2; };
    const auto blue = [](const QXColor& c) { return c.Z - (c.X + c.Y) / 2; };
    const QXColor grey = GrowthColour(GrowthOf(100, 100, 1000, 1000));
    EXPECT_EQ(grey.X, grey.Z);
    EXPECT_EQ(GrowthOf(std::nullopt, 5, 1000, 1000).Kind, QAGrowthKind::New);
    const QXColor fresh = GrowthColour(GrowthOf(std::nullopt, 5, 1000, 1000));
    EXPECT_GT(fresh.X + fresh.Y + fresh.Z, grey.X + grey.Y + grey.Z + 0.5f) << "new is bright";

    float lastRed = 0.0f;
    float lastBlue = 0.0f;
    for (const std::int64_t change : {1, 100, 400, 1000}) {
        const QXColor grown = GrowthColour(GrowthOf(100, 100 + change, 1000, 1000));
        const QXColor shrunk = GrowthColour(GrowthOf(2000, 2000 - change, 1000, 1000));
        EXPECT_GT(red(grown), lastRed) << change;
        EXPECT_GT(blue(shrunk), lastBlue) << change;
        EXPECT_GT(red(grown), red(grey)) << change;
        lastRed = red(grown);
        lastBlue = blue(shrunk);
    }
    EXPECT_EQ(GrowthOf(100, 1100, 1000, 1000).Strength, 1.0f) << "the largest growth is the strongest";
}

} // namespace
