#include "ring/palette_colour.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

bool SameBits(const QXColor& a, const QXColor& b)
{
    return std::bit_cast<std::uint32_t>(a.X) == std::bit_cast<std::uint32_t>(b.X) &&
           std::bit_cast<std::uint32_t>(a.Y) == std::bit_cast<std::uint32_t>(b.Y) &&
           std::bit_cast<std::uint32_t>(a.Z) == std::bit_cast<std::uint32_t>(b.Z);
}

// Whatever colour an element is given reads back bit for bit (views' colours, the shading's
// factors past 1, the tiniest steps and a negative zero), equal colours share one place, and
// giving the same colour again adds nothing to the palette.
TEST(PaletteColour, ColoursReadBackBitForBitAndShareTheirPlaces)
{
    const QXColor colours[] = {{0.0f, 0.8f, 0.0f},
                               {0.8f, 0.8f, 0.0f},
                               {1.5f, 1.2f, 0.75f},
                               {1e-7f, 0.33333334f, 0.99999994f},
                               {-0.0f, 0.5f, 0.5f},
                               {0.0f, 0.5f, 0.5f},
                               {0.25f, 0.5f, 0.75f}};
    for (const QXColor& colour : colours) {
        const QRPaletteColour given{colour};
        EXPECT_TRUE(SameBits(given.Colour(), colour)) << colour.X << " " << colour.Y << " " << colour.Z;
        const std::size_t kept = QRPaletteColour::PaletteSize();
        QRPaletteColour again;
        again = colour;
        EXPECT_EQ(again, given);
        EXPECT_EQ(QRPaletteColour::PaletteSize(), kept);
        EXPECT_TRUE(SameBits(static_cast<QXColor>(again), colour));
    }
    QRPaletteColour changing{colours[0]};
    changing = colours[1];
    EXPECT_TRUE(changing == colours[1]);
    EXPECT_FALSE(changing == QRPaletteColour{colours[2]});
    EXPECT_TRUE(SameBits(QRPaletteColour().Colour(), {0.0f, 0.0f, 0.0f}));
}

} // namespace
