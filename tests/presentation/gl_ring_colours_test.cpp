#include "presentation/gl_ring_colours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "app/app_main.h"
#include "lists/view_generic.h"
#include "lists/view_main.h"
#include "presentation/gl_scene_legend.h"
#include "ring/element_file.h"
#include "ring/element_folder.h"
#include "ring/element_summary.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/ring_gl_fixture.h"

namespace {

float Lightness(const QXColor& colour)
{
    return 0.299f * colour.X + 0.587f * colour.Y + 0.114f * colour.Z;
}

float Saturation(const QXColor& colour)
{
    const float high = std::max({colour.X, colour.Y, colour.Z});
    const float low = std::min({colour.X, colour.Y, colour.Z});
    return high > 0.0f ? (high - low) / high : 0.0f;
}

// The hue in degrees.
float Hue(const QXColor& colour)
{
    const float alpha = colour.X - 0.5f * (colour.Y + colour.Z);
    const float beta = 0.8660254f * (colour.Y - colour.Z);
    return std::atan2(beta, alpha) * 57.29578f;
}

class GLRingColoursTest : public RingGLTest {
protected:
    // Folders "a/" (with "x/", "y/" and "z/" inside, opened), "b/", "c/" and the hidden ".h/",
    // a big file and two small ones that a view of 20 pixels a unit gathers.
    QOXRing* Neighbours()
    {
        TheApp->Settings.ComputeFileSizeAutomatically = true;
        TheApp->Settings.ComputeFolderSize = true;
        for (const char* folder : {"a/x/", "a/y/", "a/z/", "b/", "c/", ".h/"})
            Tree.File(std::string(folder) + "data", 100u << 20);
        Tree.File("big.zip", 1u << 30);
        Tree.File("t1.txt", 1u << 20);
        Tree.File("t2.txt", 1u << 20);
        QOXRing* ring = Open();
        static_cast<QREFolder*>(ChildNamed(*ring->Root, "a/"))->Expand();
        ring->Root->Size = -1;
        ring->Root->ComputeSize();
        ring->PixelsPerUnit = 20.0f;
        ring->Relayout();
        return ring;
    }
    // Every drawn element's colour, by name (the small items by their caption).
    std::map<std::string, QXColor> Colours(QOXRing* ring, bool sizeTrue)
    {
        GLRingColours colours;
        colours.Begin(sizeTrue, TheApp->FolderColour);
        std::map<std::string, QXColor> named;
        auto visit = [&](QRElement* element) {
            const QXColor colour = colours.Next(*element);
            named[element->IsSummary() ? static_cast<QRESummary*>(element)->Caption() : element->Name] = colour;
        };
        ForEachDrawnElement(ring->Root, visit);
        return named;
    }
};

// Size true, folders keep the folder hue but differ in lightness: lighter the deeper they lie and
// every other sibling darker; hidden entries are greyer, files keep their colour and the small
// items are in their own. As designed every element is drawn in its own colour.
TEST_F(GLRingColoursTest, NeighbouringFoldersDifferInLightnessAndKeepTheirHue)
{
    QOXRing* ring = Neighbours();
    const QXColor folder = TheApp->FolderColour;
    for (const bool sizeTrue : {false, true}) {
        SCOPED_TRACE(sizeTrue);
        TheApp->Settings.SizeTrueRings = sizeTrue;
        ring->Relayout();
        const std::map<std::string, QXColor> colour = Colours(ring, sizeTrue);
        if (!sizeTrue) {
            auto own = [&](QRElement* element) {
                if (!element->IsSummary()) {
                    EXPECT_EQ(colour.at(element->Name), element->Colour) << element->Name;
                }
            };
            ForEachDrawnElement(ring->Root, own);
            continue;
        }
        // Sibling folders in drawing order alternate between two shades of the folder hue, the
        // first lighter; those one band further out are lighter again.
        const auto shades = [&](const QREFolder& parent) {
            std::array<std::optional<QXColor>, 2> seen;
            int index = 0;
            parent.ForEachChild([&](const QRElement* child) {
                if (!child->IsFolder())
                    return;
                auto& shade = seen[static_cast<std::size_t>(index++ % 2)];
                if (child->Hidden)
                    return;
                EXPECT_NEAR(Hue(colour.at(child->Name)), Hue(folder), 1.0f) << child->Name;
                EXPECT_EQ(shade.value_or(colour.at(child->Name)), colour.at(child->Name)) << child->Name;
                shade = colour.at(child->Name);
            });
            EXPECT_TRUE(seen[0] && seen[1]);
            EXPECT_GT(Lightness(seen[0].value_or(folder)) - Lightness(seen[1].value_or(folder)), 0.04f);
            return seen[0].value_or(folder);
        };
        const QXColor top = shades(*ring->Root);
        const QXColor deeper = shades(*static_cast<QREFolder*>(ChildNamed(*ring->Root, "a/")));
        EXPECT_GT(Lightness(deeper) - Lightness(top), 0.04f);
        EXPECT_LT(Saturation(colour.at(".h/")), 0.6f * Saturation(folder)) << "hidden, greyer";
        EXPECT_EQ(colour.at("big.zip"), ChildNamed(*ring->Root, "big.zip")->Colour);
        EXPECT_EQ(colour.at("2 small items"), GLRingColours::kSmallItemsColour);
    }
}

// The legend names the colours the ring shows as it is laid out now: each view of a file with a
// sector of its own, other files, folders and the small items while anything is gathered.
TEST_F(GLRingColoursTest, TheLegendNamesTheColoursInSight)
{
    TheApp->Settings.SizeTrueRings = true;
    const struct {
        bool Views; // the files are shown by the views "Archives" and "Text"
        float PixelsPerUnit;
        std::vector<std::string> Rows;
    } cases[] = {
        {false, 200.0f, {"Other files", "Folders"}},
        {true, 20.0f, {"Archives", "Folders", "Small items"}}, // the small texts gathered
        {true, 200.0f, {"Archives", "Text", "Folders"}},       // and apart
    };
    std::map<std::string, QXColor> colours = {{"Other files", TheApp->FileColour},
                                              {"Folders", TheApp->FolderColour},
                                              {"Small items", GLRingColours::kSmallItemsColour}};
    GLSceneLegend legend;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.PixelsPerUnit);
        if (row.Views && !colours.contains("Text")) {
            for (const auto& [name, extension] : {std::pair{"Archives", "zip"}, std::pair{"Text", "txt"}}) {
                QVGeneric* view = TheApp->Views->AddView(name);
                view->AddExtension(extension);
                view->Colour = {0.9f, 0.1f, name[0] == 'T' ? 0.9f : 0.1f};
                colours[name] = view->Colour;
            }
        }
        QOXRing* ring = Neighbours();
        ring->PixelsPerUnit = row.PixelsPerUnit;
        ring->Relayout();
        std::vector<std::string> names;
        for (const GLLegendRow& shown : legend.RowsOf(*ring)) {
            names.push_back(shown.Name);
            EXPECT_EQ(shown.Colour, colours.at(shown.Name)) << shown.Name;
        }
        EXPECT_EQ(names, row.Rows);
        TheApp->CloseRing(ring);
    }
}

} // namespace
