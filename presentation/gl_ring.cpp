#include "presentation/gl_ring.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/app_cursor.h"
#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_main.h"
#include "graphics/gl_picking.h"
#include "lists/view_generic.h"
#include "presentation/gl_ring_geometry.h"
#include "presentation/gl_ring_pick.h"
#include "resources/gl_materialengine.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_displaylist.h"
#include "resources/resource_font.h"
#include "resources/resource_texture.h"
#include "ring/element_file.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"

namespace {

constexpr float kCameraDistance = 70.0f;
constexpr float kShadowZoom = 0.57f;
constexpr float kIconSize = 3.0f;
constexpr float kHoverFactor = 0.7f;
constexpr float kSelectedFactor = 1.5f;
constexpr float kHoveredSelectedFactor = 1.1f;
constexpr float kLabelStart = 0.9f;
constexpr float kLabelSize = 0.08f;
constexpr float kShadowOffset = 0.1f;
constexpr float kGlyphHalfSize = 6.5f; // the font engine's glyph cell, in units of the text size
constexpr QXColor kLabelShadowColour{0.0f, 0.0f, 0.0f};
const std::string kShadowFont = "Default";
const std::string kLabelFont = "Default Add";

QXColor Times(const QXColor& colour, float factor)
{
    return {colour.X * factor, colour.Y * factor, colour.Z * factor};
}

float OuterRadius(QOXRing* ring, const QRElement* element, float overlap)
{
    return ring->InnerRadius(element->Level + 1) + overlap;
}

float SectorOf(const QRElement* element)
{
    return element->EndAngle - element->StartAngle;
}

int RoundHalfEven(float value)
{
    return static_cast<int>(std::nearbyint(value));
}

// The two fonts the labels are printed with, and their widest character.
struct LabelFonts {
    const QRFont* Shadow = nullptr; // not owned
    const QRFont* Label = nullptr;  // not owned
    float Widest = 0.0f;
};

LabelFonts FindLabelFonts()
{
    const GLFont* fonts = GL()->System2D->Fonts;
    LabelFonts found;
    if (fonts == nullptr)
        return found;
    found.Shadow = fonts->FindFont(kShadowFont);
    found.Label = fonts->FindFont(kLabelFont);
    for (const QRFont* font : {found.Shadow, found.Label}) {
        if (font == nullptr)
            continue;
        for (const auto width : font->CharWidths)
            found.Widest = std::max(found.Widest, std::fabs(static_cast<float>(width)));
    }
    return found;
}

// Label space (x outwards along the middle angle from the band's inner edge, y across it) in ring
// space.
class LabelPlace {
public:
    LabelPlace(const QRElement* element, float inner)
        : Inner(inner), Outwards(RingDirection(element->MidAngle())), Across(RingDirection(element->MidAngle() + 90.0f))
    {
    }
    // Whether the box [left, right] x [bottom, top] of label space can reach a pixel.
    bool MayShow(float left, float right, float bottom, float top, const GLScreenBounds& bounds) const
    {
        const QXVector2 corners[4] = {At(left, bottom), At(right, bottom), At(right, top), At(left, top)};
        return bounds.MayCoverPixel(corners, 4);
    }

private:
    QXVector2 At(float along, float side) const
    {
        return {Outwards.X * (Inner + along) + Across.X * side, Outwards.Y * (Inner + along) + Across.Y * side};
    }

    float Inner = 0.0f;
    QXVector2 Outwards;
    QXVector2 Across;
};

// Whether an element's two label prints can reach a pixel: first the box round both prints, then,
// for a label that might, the box round each glyph's two cells, placed as the font engine places
// them. Tiny labels whose box crosses a pixel centre mostly have no glyph on one.
bool LabelMayShow(const QRElement* element, float inner, const LabelFonts& fonts, const GLScreenBounds& bounds)
{
    const float scale = element->Scale;
    const float size = kLabelSize * scale;
    const float half = kGlyphHalfSize * size;
    const float bottom = -half;
    const float top = kShadowOffset * scale + half;
    const float shadowStart = kLabelStart - kShadowOffset * scale;
    const float length = static_cast<float>(element->Label.size()) * fonts.Widest * 0.5f * size;
    const LabelPlace place(element, inner);
    if (!place.MayShow(shadowStart - half, kLabelStart + length + half, bottom, top, bounds))
        return false;
    if (fonts.Shadow == nullptr || fonts.Label == nullptr)
        return true;
    float shadowPen = shadowStart;
    float labelPen = kLabelStart;
    for (const char c : Latin1Glyphs(element->Label)) {
        const auto code = static_cast<unsigned char>(c);
        const float shadowAdvance = static_cast<float>(fonts.Shadow->CharWidths[code]) * size * 0.5f / 2.0f;
        const float labelAdvance = static_cast<float>(fonts.Label->CharWidths[code]) * size * 0.5f / 2.0f;
        shadowPen += shadowAdvance;
        labelPen += labelAdvance;
        if (place.MayShow(std::min(shadowPen, labelPen) - half, std::max(shadowPen, labelPen) + half, bottom, top,
                          bounds))
            return true;
        shadowPen += shadowAdvance;
        labelPen += labelAdvance;
    }
    return false;
}

} // namespace

int GLRing::SegmentCount(int level, float sector)
{
    return std::max(1, RoundHalfEven(static_cast<float>(level) * (sector / kSegmentDegrees)));
}

int GLRing::IconSegmentCount(int level, float sector)
{
    return std::max(1, RoundHalfEven(static_cast<float>(level) * (sector / kSegmentDegrees) * 0.5f));
}

GLRing::GLRing(QOXObject* owner) : QOXObject(owner, "QOX GL Ring Rendering Class") {}

void GLRing::ChildRemoved(QOXObject* child)
{
    for (QRTexture** texture : {&ElementTexture, &RootTexture, &PickedTexture, &SelectedTexture})
        if (*texture == child)
            *texture = nullptr;
    if (child == Picking)
        Picking = nullptr;
}

void GLRing::Init()
{
    GL()->TextureEngine->SetCompression(false);
    const auto load = [this](const std::string& name) {
        auto* texture = QOXNew<QRTexture>(name, this);
        texture->SetWrap(true, true);
        return texture;
    };
    ElementTexture = load("textures/element");
    RootTexture = load("textures/root");
    PickedTexture = load("textures/picked");
    SelectedTexture = load("textures/selected");
    Picking = QOXNew<GLPicking>(this);
    Picking->Init();
    Engine()->Console->AddLine("QOX GL: Ring Rendering Class initialized!");
}

void GLRing::SetupRingTransform(QOXRing* ring, GLRingPass pass)
{
    QOXGL* device = GL();
    GLCamera* camera = device->Camera;
    camera->SetZoom(pass == GLRingPass::Shadow ? kShadowZoom : 1.0f);
    const QXVector& position = ring->Position;
    camera->SetPositionRotation({position.X, position.Y - 1.0f, (position.Z + kCameraDistance) / ring->Zoom},
                                {0.0f, 0.0f, 0.0f});
    camera->UpdateProjection();
    device->ResetView();
    if (ring->MinimizeAnimation->Running())
        device->Scale(std::max(1.0f - 2.0f * ring->MinimizeAnimation->Value(), 0.0f));
    device->Rotate(ring->Rotation);
    device->Scale(ring->BaseZoom);
    // Mirrored y: angle 0 at the top, angles growing clockwise on screen.
    device->ScaleVector({1.0f, -1.0f, 1.0f});
}

bool GLRing::Hovered(const QRElement* element) const
{
    return element == HoverElement && Cursor != nullptr && Cursor->Enabled() && !Cursor->MenuOpen;
}

bool GLRing::ShownSelected(const QRElement* element) const
{
    if (Cursor == nullptr || !Cursor->RangeActive())
        return element->Selected;
    const QRElement* current = Cursor->CurrentElement;
    if (current == nullptr || element->Parent != current->Parent || !Cursor->InRange(element))
        return element->Selected;
    return Cursor->InvertHeld() ? !element->Selected : true;
}

QXColor GLRing::ShadedColour(const QRElement* element) const
{
    const bool hovered = Hovered(element);
    QXColor colour = hovered ? Times(element->Colour, kHoverFactor) : element->Colour;
    if (ShownSelected(element))
        colour = Times(colour, hovered ? kHoveredSelectedFactor : kSelectedFactor);
    return colour;
}

QRTexture* GLRing::TypePicture(const QRElement* element) const
{
    if (element->IsFolder())
        return nullptr;
    const QVGeneric* view = static_cast<const QREFile*>(element)->View;
    return view != nullptr ? view->TextureResource : nullptr;
}

void GLRing::BindElementTextures(const QRElement* element, QRTexture* typePicture)
{
    GLTextureEngine* textures = GL()->TextureEngine;
    textures->Bind(element->IsRoot() ? RootTexture : ElementTexture, 0);
    if (typePicture != nullptr)
        textures->Bind(typePicture, 1);
    else
        textures->DisableUpperUnits();
}

GLMaterialEngine* GLRing::BeginRingPass(QOXRing* ring, GLRingPass pass)
{
    glPushMatrix();
    SetupRingTransform(ring, pass);
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    return materials;
}

void GLRing::DrawRing(QOXRing* ring)
{
    GLMaterialEngine* materials = BeginRingPass(ring, GLRingPass::Normal);
    materials->AddTexturePass(ElementTexture);
    materials->ApplyMaterial();
    glPushMatrix();
    DrawElements(ring);
    DrawLabels(ring);
    glPopMatrix();
    glPopMatrix();
}

void GLRing::DrawElements(QOXRing* ring)
{
    if (Geometry == GLRingGeometry::Immediate) {
        auto draw = [&](QRElement* element) {
            BindElementTextures(element, TypePicture(element));
            GL()->SetColor(ShadedColour(element));
            DrawBandStrip(element->StartAngle, SectorOf(element), SegmentCount(element->Level, SectorOf(element)),
                          ring->InnerRadius(element->Level), OuterRadius(ring, element, kBandOverlap),
                          GLBandTextures::Units0And1);
        };
        ForEachDrawnElement(ring->Root, draw);
        return;
    }
    const GLScreenBounds bounds;
    GLRingBatch& batch = Bands;
    bool bound = false;
    bool rootBound = false;
    QRTexture* pictureBound = nullptr;
    auto draw = [&](QRElement* element) {
        if (!batch.PrepareBand(element->StartAngle, SectorOf(element), SegmentCount(element->Level, SectorOf(element)),
                               ring->InnerRadius(element->Level), OuterRadius(ring, element, kBandOverlap),
                               ShadedColour(element), &bounds))
            return;
        QRTexture* picture = TypePicture(element);
        if (!bound || rootBound != element->IsRoot() || pictureBound != picture) {
            batch.Flush();
            BindElementTextures(element, picture);
            bound = true;
            rootBound = element->IsRoot();
            pictureBound = picture;
        }
        batch.CommitBand();
    };
    ForEachDrawnElement(ring->Root, draw);
    batch.Flush();
}

void GLRing::DrawLabel(QOXRing* ring, const QRElement* element)
{
    const float middle = element->MidAngle();
    const QXVector2 direction = RingDirection(middle);
    const float inner = ring->InnerRadius(element->Level);
    const float scale = element->Scale;
    glPushMatrix();
    GL()->TranslateRotate({direction.X * inner, direction.Y * inner, 0.0f}, {0.0f, 0.0f, 90.0f - middle});
    GL_2DSystem* system = GL()->System2D;
    system->Print(kShadowFont, AlignLeft, kLabelStart - kShadowOffset * scale, kShadowOffset * scale,
                  kLabelShadowColour, 1.0f, kLabelSize * scale, element->Label);
    system->Print(kLabelFont, AlignLeft, kLabelStart, 0.0f, element->Tint, 1.0f, kLabelSize * scale, element->Label);
    glPopMatrix();
}

void GLRing::DrawLabels(QOXRing* ring)
{
    if (Geometry == GLRingGeometry::Immediate) {
        auto draw = [&](QRElement* element) { DrawLabel(ring, element); };
        ForEachDrawnElement(ring->Root, draw);
        return;
    }
    const GLScreenBounds bounds;
    const LabelFonts fonts = FindLabelFonts();
    auto draw = [&](QRElement* element) {
        if (LabelMayShow(element, ring->InnerRadius(element->Level), fonts, bounds))
            DrawLabel(ring, element);
    };
    ForEachDrawnElement(ring->Root, draw);
}

void GLRing::DrawShadow(QOXRing* ring)
{
    GLMaterialEngine* materials = BeginRingPass(ring, GLRingPass::Shadow);
    materials->SetColor({1.0f, 1.0f, 1.0f});
    materials->ApplyMaterial();
    glPushMatrix();
    DrawSilhouette(ring);
    glPopMatrix();
    glPopMatrix();
}

void GLRing::DrawSilhouette(QOXRing* ring)
{
    const bool batched = Geometry == GLRingGeometry::Batched;
    const GLScreenBounds bounds;
    GLRingBatch& batch = Silhouette;
    auto draw = [&](QRElement* element) {
        const float sector = SectorOf(element);
        const int segments = SegmentCount(element->Level, sector);
        const float inner = ring->InnerRadius(element->Level);
        const float outer = OuterRadius(ring, element, kBandOverlap);
        if (!batched)
            DrawBandStrip(element->StartAngle, sector, segments, inner, outer, GLBandTextures::None);
        else if (batch.PrepareBand(element->StartAngle, sector, segments, inner, outer, {}, &bounds))
            batch.CommitBand();
    };
    ForEachDrawnElement(ring->Root, draw);
    batch.Flush();
}

void GLRing::DrawIcon(QOXRing* ring)
{
    if (ring->DisplayListStale || ring->DisplayList->ListId == 0)
        BuildIcon(ring);
    ring->DisplayList->Call();
}

void GLRing::BuildIcon(QOXRing* ring)
{
    ring->DisplayList->BeginCompile(CompileOnly);
    ring->DisplayListStale = false;
    // The list leaves the caller's matrix as it found it.
    glPushMatrix();
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->AddTexturePass(ElementTexture);
    materials->ApplyMaterial();
    const int depth = std::max(ring->Root->MaxDepth(0), 1);
    GL()->Scale(kIconSize / static_cast<float>(depth));
    const QXVector& rotation = ring->Rotation;
    GL()->Rotate({-rotation.X, -rotation.Y, -rotation.Z});
    GLTextureEngine* textures = GL()->TextureEngine;
    auto draw = [&](QRElement* element) {
        textures->Bind(element->IsRoot() ? RootTexture : ElementTexture, 0);
        GL()->SetColor(element->Colour);
        DrawBandStrip(element->StartAngle, SectorOf(element), IconSegmentCount(element->Level, SectorOf(element)),
                      ring->InnerRadius(element->Level), OuterRadius(ring, element, kBandOverlap),
                      GLBandTextures::Unit0);
    };
    ForEachDrawnElement(ring->Root, draw);
    glPopMatrix();
    ring->DisplayList->EndCompile();
}

QRElement* GLRing::Pick(QOXRing* ring, float x, float y)
{
    glPushMatrix();
    SetupRingTransform(ring, GLRingPass::Normal);
    const GLCamera* camera = GL()->Camera;
    GLRingPickQuery query(ring, x, y, camera->Near, camera->Far);
    glPopMatrix();
    return query.Find();
}

QRElement* GLRing::PickBySelection(QOXRing* ring, float x, float y)
{
    BeginRingPass(ring, GLRingPass::Normal)->ApplyMaterial();
    glPushMatrix();
    Picking->Begin(1, 1, static_cast<int>(x), static_cast<int>(y));
    auto draw = [&](QRElement* element) {
        Picking->AddName(element->Name, element);
        DrawBandStrip(element->StartAngle, SectorOf(element), SegmentCount(element->Level, SectorOf(element)),
                      ring->InnerRadius(element->Level), OuterRadius(ring, element, kPickOverlap),
                      GLBandTextures::Unit0);
        Picking->ClearName();
    };
    ForEachDrawnElement(ring->Root, draw);
    glPopMatrix();
    glPopMatrix();
    Picking->End();
    return static_cast<QRElement*>(Picking->Result());
}
