#pragma once
// Glyphs of one font gathered from many texts and drawn together: one application of the font's
// material and one vertex array, however many texts. Each text lies in a frame of its own (a point
// and two directions of the space being drawn in), placed as the font engine would print it after
// the model-view had been moved and turned there.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/qox_constant.h"

class QRFont;

// Text-space point (x, y) lies at Origin + x Along + y Down.
struct GLTextFrame {
    QXVector2 Origin;
    QXVector2 Along{1.0f, 0.0f};
    QXVector2 Down{0.0f, 1.0f};
};

class GLGlyphBatch {
public:
    // Adds the text as the font engine's DrawText places it at (x, y) of the frame, coloured as
    // the font's blend mode colours the given colour and alpha.
    void Add(const QRFont* font, int alignment, const std::string& text, float size, float alpha,
             const QXColor& colour, float x, float y, const GLTextFrame& frame);
    // Applies the font's material once and draws every glyph added since the last draw, then
    // empties the batch. An empty batch draws nothing and changes no state.
    void Draw(QRFont* font);
    std::size_t GlyphCount() const { return Vertices.size() / 4; }

private:
    struct Vertex {
        float X = 0.0f;
        float Y = 0.0f;
        float S = 0.0f;
        float T = 0.0f;
        QXVector4 Colour;
    };

    std::vector<Vertex> Vertices; // four corners a glyph, kept from draw to draw for their room
};
