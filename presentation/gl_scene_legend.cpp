#include "presentation/gl_scene_legend.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/app_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "lists/view_generic.h"
#include "presentation/gl_ring_colours.h"
#include "presentation/gl_scene_app.h"
#include "resources/gl_materialengine.h"
#include "ring/element_file.h"
#include "ring/element_summary.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"

namespace {

constexpr QXColor kWhite{1.0f, 1.0f, 1.0f};
constexpr float kTextSize = 1.2f;
constexpr float kLegendRow = 18.0f;
constexpr float kLegendSwatch = 12.0f;
constexpr float kLegendMargin = 8.0f;

// What the ring shows, in the order the legend names it.
struct Shown {
    std::vector<const QVGeneric*> Views; // not owned
    bool PlainFiles = false;
    bool Folders = false;
    bool SmallItems = false;
    bool FreeSpace = false;
};

Shown WhatIsShown(QOXRing& ring)
{
    Shown shown;
    auto visit = [&shown](QRElement* element) {
        if (element->IsRoot() || !QRLayout::HasSector(*element))
            return;
        if (element->IsSummary()) {
            const bool free = static_cast<const QRESummary*>(element)->Kind == QRSummaryKind::FreeSpace;
            (free ? shown.FreeSpace : shown.SmallItems) = true;
        } else if (element->IsFolder()) {
            shown.Folders = true;
        } else if (const QVGeneric* view = static_cast<const QREFile*>(element)->View) {
            if (std::find(shown.Views.begin(), shown.Views.end(), view) == shown.Views.end())
                shown.Views.push_back(view);
        } else {
            shown.PlainFiles = true;
        }
    };
    ForEachDrawnElement(ring.Root, visit);
    return shown;
}

} // namespace

const std::vector<GLLegendRow>& GLSceneLegend::RowsOf(QOXRing& ring)
{
    if (Ring == &ring && LayoutCount == ring.LayoutCount)
        return Rows;
    Ring = &ring;
    LayoutCount = ring.LayoutCount;
    Rows.clear();
    const Shown shown = WhatIsShown(ring);
    for (const QVGeneric* view : shown.Views)
        Rows.push_back({view->Colour, view->GetName()});
    const QOXApp* app = App();
    if (shown.PlainFiles)
        Rows.push_back({app->FileColour, "Other files"});
    if (shown.Folders)
        Rows.push_back({app->FolderColour, "Folders"});
    if (shown.SmallItems)
        Rows.push_back({GLRingColours::kSmallItemsColour, "Small items"});
    if (shown.FreeSpace)
        Rows.push_back({GLRingColours::kFreeSpaceColour, "Free space"});
    return Rows;
}

void GLSceneApp::DrawLegend()
{
    QOXRing* ring = Application->CurrentRing;
    if (!Application->Settings.SizeTrueRings || !Application->Settings.ShowLegend || ring == nullptr ||
        ring->Minimized)
        return;
    const std::vector<GLLegendRow>& rows = Legend.RowsOf(*ring);
    if (rows.empty())
        return;
    GL_2DSystem* system = GL()->System2D;
    system->Begin2D();
    const QRFont* font = system->Fonts->FindFont("Default Add");
    float widest = 0.0f;
    for (const GLLegendRow& row : rows)
        widest = std::max(widest, GLFont::TextWidth(font, row.Name, kTextSize));
    const float left = 10.0f;
    const float bottom = ViewHeight() - 10.0f;
    const float top = bottom - kLegendRow * static_cast<float>(rows.size()) - kLegendMargin;
    DrawFrameBox(left, top, left + widest + kLegendSwatch + 3.0f * kLegendMargin, bottom, 1.0f);
    float y = top + kLegendMargin / 2.0f + kLegendRow / 2.0f;
    for (const GLLegendRow& row : rows) {
        const float x = left + kLegendMargin;
        const float half = kLegendSwatch / 2.0f;
        GLMaterialEngine* materials = GL()->MaterialEngine;
        materials->ResetMaterial();
        materials->SetUnlit();
        materials->ApplyMaterial();
        GL()->SetColor(row.Colour);
        glBegin(GL_QUADS);
        glVertex2f(x, y - half);
        glVertex2f(x + kLegendSwatch, y - half);
        glVertex2f(x + kLegendSwatch, y + half);
        glVertex2f(x, y + half);
        glEnd();
        system->Print("Default Add", AlignLeft, x + kLegendSwatch + kLegendMargin, y, kWhite, 1.0f, kTextSize, row.Name);
        y += kLegendRow;
    }
    system->End2D();
}
