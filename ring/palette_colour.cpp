#include "ring/palette_colour.h"

#include <array>
#include <bit>
#include <deque>
#include <unordered_map>

namespace {

struct Palette {
    // A colour's three floats, bit for bit.
    struct Key {
        std::uint32_t R = 0;
        std::uint32_t G = 0;
        std::uint32_t B = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const { return (key.R * 73856093u) ^ (key.G * 19349663u) ^ (key.B * 83492791u); }
    };
    // The places most recently asked for, by a few bits of their hash: a scan asks for the same few
    // colours once per element, and this answers without the map.
    struct Recent {
        Key Colour;
        std::uint16_t Place = 0;
        bool Used = false;
    };

    Palette() { Add({}); }

    static Key KeyOf(const QXColor& colour)
    {
        return {std::bit_cast<std::uint32_t>(colour.X), std::bit_cast<std::uint32_t>(colour.Y),
                std::bit_cast<std::uint32_t>(colour.Z)};
    }

    std::uint16_t Add(const QXColor& colour)
    {
        const auto place = static_cast<std::uint16_t>(Colours.size());
        Colours.push_back(colour);
        Places.emplace(KeyOf(colour), place);
        return place;
    }

    std::uint16_t Nearest(const QXColor& colour) const
    {
        std::size_t best = 0;
        float bestDistance = -1.0f;
        for (std::size_t place = 0; place < Colours.size(); ++place) {
            const QXColor& kept = Colours[place];
            const float dx = kept.X - colour.X, dy = kept.Y - colour.Y, dz = kept.Z - colour.Z;
            const float distance = dx * dx + dy * dy + dz * dz;
            if (bestDistance < 0.0f || distance < bestDistance) {
                best = place;
                bestDistance = distance;
            }
        }
        return static_cast<std::uint16_t>(best);
    }

    std::uint16_t PlaceOf(const QXColor& colour)
    {
        const Key key = KeyOf(colour);
        Recent& recent = Recents[KeyHash{}(key) % Recents.size()];
        if (recent.Used && recent.Colour == key)
            return recent.Place;
        const auto found = Places.find(key);
        const std::uint16_t place = found != Places.end() ? found->second
                                    : Colours.size() < QRPaletteColour::kMostColours ? Add(colour)
                                                                                      : Nearest(colour);
        recent = {key, place, true};
        return place;
    }

    std::deque<QXColor> Colours; // a colour's place never moves
    std::unordered_map<Key, std::uint16_t, KeyHash> Places;
    std::array<Recent, 16> Recents{};
};

Palette& ThePalette()
{
    static Palette palette;
    return palette;
}

} // namespace

const QXColor& QRPaletteColour::Colour() const
{
    return ThePalette().Colours[Index];
}

std::size_t QRPaletteColour::PaletteSize()
{
    return ThePalette().Colours.size();
}

std::uint16_t QRPaletteColour::Place(const QXColor& colour)
{
    return ThePalette().PlaceOf(colour);
}
