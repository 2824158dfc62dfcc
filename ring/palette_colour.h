#pragma once
// An element's colour as its place in the palette of every colour elements have used: two bytes in
// the element instead of twelve. The program's elements share a handful of colours (the default
// folder and file colours, one per view, the hidden tint), so the palette stays small; it keeps
// every colour it was given for the rest of the run. GUI thread only, as the elements are.
#include <cstdint>

#include "engine/qox_constant.h"

class QRPaletteColour {
public:
    // The palette holds at most this many colours; past it a new colour takes the nearest one kept.
    static constexpr std::size_t kMostColours = 65536;

    QRPaletteColour() = default; // black
    explicit QRPaletteColour(const QXColor& colour) : Index(Place(colour)) {}
    QRPaletteColour& operator=(const QXColor& colour)
    {
        if (!(Colour() == colour))
            Index = Place(colour);
        return *this;
    }

    const QXColor& Colour() const;
    operator QXColor() const { return Colour(); }
    bool operator==(const QXColor& colour) const { return Colour() == colour; }
    // One place per colour: equal places are equal colours.
    bool operator==(const QRPaletteColour&) const = default;

    // The colours kept so far (black among them).
    static std::size_t PaletteSize();

private:
    static std::uint16_t Place(const QXColor& colour);

    std::uint16_t Index = 0;
};
