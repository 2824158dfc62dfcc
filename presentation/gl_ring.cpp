#include "presentation/gl_ring.h"
#include "ring/element_summary.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/app_constant.h"
#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_main.h"
#include "lists/view_generic.h"
#include "presentation/gl_ring_geometry.h"
#include "presentation/gl_ring_pick.h"
#include "resources/gl_materialengine.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_material.h"
#include "resources/resource_displaylist.h"
#include "resources/resource_texture.h"
#include "ring/element_file.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"

namespace {

constexpr float kCameraDistance = 70.0f;
// The camera looks at the ring from this far below its centre (SetupRingTransform).
constexpr float kCameraDrop = 1.0f;
// A fitted ring leaves this share of the view's half round it, room for the labels outside it.
constexpr double kFitRoom = 0.72;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr float kShadowZoom = 0.57f;
constexpr float kIconSize = 3.0f;
constexpr float kHoverFactor = 0.7f;
constexpr float kSelectedFactor = 1.5f;
constexpr float kHoveredSelectedFactor = 1.1f;

QXColor Times(const QXColor& colour, float factor)
{
    return {colour.X * factor, colour.Y * factor, colour.Z * factor};
}

float OuterRadius(QOXRing* ring, const QRElement* element)
{
    return ring->InnerRadius(element->Level + 1) + GLRing::kBandOverlap;
}

int RoundHalfEven(float value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Whether a pass draws every element in one colour and picture: then a folder whose files are all
// thin adds them to the run at once, as they would have joined it one by one.
enum class PassLook { PerElement, Uniform };

// The drawing walk of a band pass with level of detail: thin siblings with the same picture
// (`pictureOf`) gather into the run and go to `merged` together once the run ends; every other
// element, and the element of a run of one, goes to `exact` with its colour. Whether a sector is
// thin follows from its angle and its band's scale, worked out once a band. Every element's colour
// is asked once, in drawing order, but for the files a pass of one look takes all at once.
template <class PictureOf, class ColourOf, class Exact, class Merged>
void WalkBands(QOXRing* ring, const GLScreenBounds& bounds, PassLook look, PictureOf pictureOf, ColourOf colourOf,
               Exact exact, Merged merged)
{
    GLBandScale scale(*ring, bounds, 1, GLRing::kBandOverlap);
    GLBandRun run;
    const auto endRun = [&] {
        if (run.Count() == 1)
            exact(run.First(), run.OnlyColour());
        else if (run.Count() > 1)
            merged(run);
        run.Clear();
    };
    const auto take = [&](const auto* element, std::optional<double> width) {
        const QXColor colour = colourOf(element);
        if (!width) {
            endRun();
            exact(element, colour);
            return;
        }
        QRTexture* picture = pictureOf(element);
        if (!run.Continues(element, picture, *width, colour))
            endRun();
        run.Add(element, picture, *width, colour);
    };
    auto visit = [&](QRElement* element) {
        take(element, GLBandRun::NarrowWidth(element, scale.PixelsPerDegree(element->Level)));
    };
    // Files all thin, in a pass of one look: the first joins the run, the others follow at once.
    // False (nothing taken) where that cannot be told from the folder and its first and last files.
    const auto takeAllAtOnce = [&](const QREFolder& folder, double pixelsPerDegree) {
        const QRList<QREFile>& list = *folder.Files;
        if (look != PassLook::Uniform || !(folder.WidestFileSector * pixelsPerDegree < 1.0) ||
            !GLBandRun::NarrowWidth(folder.WidestFileSector, pixelsPerDegree))
            return false;
        int first = 0;
        int last = list.Count() - 1;
        while (first <= last && !list.Get(first)->Visible)
            ++first;
        while (last >= first && !list.Get(last)->Visible)
            --last;
        if (first > last)
            return true;
        const QREFile* head = list.Get(first);
        const QREFile* tail = list.Get(last);
        const auto width = GLBandRun::NarrowWidth(head->EndAngle - head->StartAngle, pixelsPerDegree);
        const double degrees = static_cast<double>(tail->EndAngle) - static_cast<double>(head->EndAngle);
        if (!width || degrees < 0.0)
            return false;
        take(head, width);
        if (const int rest = folder.VisibleFileCount() - 1; rest > 0)
            run.AddSpan(tail, rest, degrees, degrees * pixelsPerDegree, colourOf(tail));
        return true;
    };
    // A folder's files share one band, so its scale is asked once for all of them.
    auto files = [&](const QREFolder& folder) {
        const double pixelsPerDegree = scale.PixelsPerDegree(folder.Level + 1);
        if (takeAllAtOnce(folder, pixelsPerDegree))
            return;
        for (const QREFile* file : *folder.Files)
            if (file->Visible)
                take(file, GLBandRun::NarrowWidth(file->EndAngle - file->StartAngle, pixelsPerDegree));
    };
    ForEachDrawnFolder(ring->Root, visit, files);
    endRun();
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

GLBand GLRing::BandOf(QOXRing* ring, const QRElement* element)
{
    const float sector = element->EndAngle - element->StartAngle;
    return {element->StartAngle, sector, SegmentCount(element->Level, sector), ring->InnerRadius(element->Level),
            OuterRadius(ring, element)};
}

float GLRing::FitZoom(QOXRing& ring, int viewWidth, int viewHeight)
{
    if (viewWidth <= 0 || viewHeight <= 0)
        return ring.Zoom;
    const double fieldOfView = GL() != nullptr && GL()->Camera != nullptr ? GL()->Camera->FieldOfView * 0.5 : 45.0;
    const double reach = ring.InnerRadius(ring.MaxDepth() + 1) * ring.BaseZoom + kCameraDrop;
    const double aspect = static_cast<double>(viewWidth) / static_cast<double>(viewHeight);
    const double halfView = std::tan(fieldOfView * 0.5 * kRadiansPerDegree) * std::min(1.0, aspect) * kFitRoom;
    const double zoom = kCameraDistance * halfView / reach;
    return static_cast<float>(std::min(zoom, static_cast<double>(ring.BaseZoom)));
}

float GLRing::PixelsPerUnit(const QOXRing& ring, int viewHeight)
{
    if (viewHeight <= 0)
        return 0.0f;
    const double fieldOfView = GL() != nullptr && GL()->Camera != nullptr ? GL()->Camera->FieldOfView * 0.5 : 45.0;
    const double halfHeight = std::tan(fieldOfView * 0.5 * kRadiansPerDegree) * kCameraDistance / ring.Zoom;
    return static_cast<float>(0.5 * viewHeight / halfHeight * ring.BaseZoom);
}

GLRing::GLRing(QOXObject* owner) : QOXObject(owner, "QOX GL Ring Rendering Class") {}

void GLRing::ChildRemoved(QOXObject* child)
{
    for (QRTexture** texture : {&ElementTexture, &RootTexture, &PickedTexture, &SelectedTexture})
        if (*texture == child)
            *texture = nullptr;
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
    Engine()->Console->AddLine("QOX GL: Ring Rendering Class initialized!");
}

void GLRing::SetupRingTransform(QOXRing* ring, GLRingPass pass)
{
    QOXGL* device = GL();
    GLCamera* camera = device->Camera;
    camera->SetZoom(pass == GLRingPass::Shadow ? kShadowZoom : 1.0f);
    const QXVector& position = ring->Position;
    camera->SetPositionRotation({position.X, position.Y - kCameraDrop, (position.Z + kCameraDistance) / ring->Zoom},
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

// A gathered element is shown by its folder's small-items sector. Asked for every element drawn, so
// the cursor (which reads the keyboard) is asked only for the element that would show the hover.
bool GLRing::Hovered(const QRElement* element) const
{
    if (HoverElement == nullptr)
        return false;
    const bool shows = element == HoverElement ||
                       (element->IsSummary() && static_cast<const QRESummary*>(element)->Kind == QRSummaryKind::SmallItems &&
                        HoverElement->Parent == element->Parent && QRLayout::IsGathered(*HoverElement));
    return shows && Cursor != nullptr && Cursor->Enabled() && !Cursor->MenuOpen;
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

QXColor GLRing::ShadedColour(const QRElement* element, const QXColor& base) const
{
    const bool hovered = Hovered(element);
    QXColor colour = hovered ? Times(base, kHoverFactor) : base;
    if (ShownSelected(element))
        colour = Times(colour, hovered ? kHoveredSelectedFactor : kSelectedFactor);
    return colour;
}

QRTexture* GLRing::TypePicture(const QRElement* element) const
{
    return element->IsFile() ? TypePicture(static_cast<const QREFile*>(element)) : nullptr;
}

QRTexture* GLRing::TypePicture(const QREFile* file) const
{
    return file->View != nullptr ? file->View->TextureResource : nullptr;
}

void GLRing::BindElementTextures(const QRElement* element, QRTexture* typePicture)
{
    BindBandTextures(element->IsRoot(), typePicture);
}

void GLRing::BindBandTextures(bool root, QRTexture* typePicture)
{
    GLTextureEngine* textures = GL()->TextureEngine;
    textures->Bind(root ? RootTexture : ElementTexture, 0);
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
    DrawMarks(ring);
    glPopMatrix();
    glPopMatrix();
}

void GLRing::BeginColours()
{
    const QOXApp* app = App();
    Colours.Begin(QRLayout::SizeTrue(), app != nullptr ? app->FolderColour : kDefaultFolderColour);
}

void GLRing::DrawElements(QOXRing* ring)
{
    BeginColours();
    if (Geometry == GLRingGeometry::Immediate) {
        auto draw = [&](QRElement* element) {
            ++ElementsDrawn;
            BindElementTextures(element, TypePicture(element));
            GL()->SetColor(ShadedColour(element, Colours.Next(*element)));
            const GLBand band = BandOf(ring, element);
            DrawBandStrip(band.Start, band.Sector, band.Segments, band.Inner, band.Outer, GLBandTextures::Units0And1);
        };
        ForEachDrawnElement(ring->Root, draw);
        return;
    }
    const GLScreenBounds bounds;
    GLRingBatch& batch = Bands;
    bool bound = false;
    bool rootBound = false;
    QRTexture* pictureBound = nullptr;
    // The band goes into the batch, which is drawn first whenever the pictures change.
    const auto write = [&](const GLBand& band, bool root, QRTexture* picture) {
        if (!batch.PrepareBand(band, &bounds))
            return;
        if (!bound || rootBound != root || pictureBound != picture) {
            batch.Flush();
            BindBandTextures(root, picture);
            bound = true;
            rootBound = root;
            pictureBound = picture;
        }
        batch.CommitBand();
    };
    const auto exact = [&](const QRElement* element, const QXColor& colour) {
        ++ElementsDrawn;
        GLBand band = BandOf(ring, element);
        band.Colour = colour;
        write(band, element->IsRoot(), TypePicture(element));
    };
    const auto colourOf = [this](const QRElement* element) { return ShadedColour(element, Colours.Next(*element)); };
    if (Detail == GLRingDetail::Exact) {
        auto draw = [&](const QRElement* element) { exact(element, colourOf(element)); };
        ForEachDrawnElement(ring->Root, draw);
    } else {
        const auto merged = [&](const GLBandRun& thin) {
            ElementsDrawn += thin.Count();
            const QRElement* first = thin.First();
            write(thin.Band(ring->InnerRadius(first->Level), OuterRadius(ring, first)), false, thin.Picture());
        };
        WalkBands(
            ring, bounds, PassLook::PerElement, [this](const auto* element) { return TypePicture(element); },
            colourOf, exact, merged);
    }
    if (QRLayout::SizeTrue())
        for (const GLBand& leader : LeaderBands(ring))
            write(leader, false, nullptr);
    batch.Flush();
}

void GLRing::DrawMarks(QOXRing* ring)
{
    if (Keys == nullptr)
        return;
    for (const QRElement* match : Keys->Matches)
        if (match->Ring == ring && QRLayout::IsReachable(*match))
            DrawOutline(ring, match, kMatchColour, kMatchWidth);
    const QRElement* marked = Keys->MarkedElement();
    if (marked != nullptr && marked->Ring == ring && QRLayout::IsReachable(*marked))
        DrawOutline(ring, marked, kMarkColour, kMarkWidth);
}

void GLRing::DrawOutline(QOXRing* ring, const QRElement* element, const QXColor& colour, float width)
{
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->SetColor(colour);
    materials->Material->Data.Geometry.LineWidth = width;
    materials->ApplyMaterial();
    const GLBand band = BandOf(ring, element);
    DrawBandOutline(band.Start, band.Sector, band.Segments, band.Inner, band.Outer);
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
    if (Geometry == GLRingGeometry::Immediate) {
        auto draw = [&](QRElement* element) {
            const GLBand shape = BandOf(ring, element);
            DrawBandStrip(shape.Start, shape.Sector, shape.Segments, shape.Inner, shape.Outer, GLBandTextures::None);
        };
        ForEachDrawnElement(ring->Root, draw);
        return;
    }
    const GLScreenBounds bounds;
    GLRingBatch& batch = Silhouette;
    const auto write = [&](const GLBand& shape) {
        if (batch.PrepareBand(shape, &bounds))
            batch.CommitBand();
    };
    const auto exact = [&](const QRElement* element, const QXColor&) { write(BandOf(ring, element)); };
    if (Detail == GLRingDetail::Exact) {
        auto draw = [&](const QRElement* element) { write(BandOf(ring, element)); };
        ForEachDrawnElement(ring->Root, draw);
    } else { // all white: a run of thin siblings may be as long as it likes
        const auto merged = [&](const GLBandRun& thin) {
            const QRElement* first = thin.First();
            write(thin.Band(ring->InnerRadius(first->Level), OuterRadius(ring, first)));
        };
        WalkBands(
            ring, bounds, PassLook::Uniform, [](const auto*) { return static_cast<QRTexture*>(nullptr); },
            [](const QRElement*) { return QXColor{1.0f, 1.0f, 1.0f}; }, exact, merged);
    }
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
        const GLBand band = BandOf(ring, element);
        DrawBandStrip(band.Start, band.Sector, IconSegmentCount(element->Level, band.Sector), band.Inner, band.Outer,
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
    GLRingPickQuery query(ring, x, y);
    glPopMatrix();
    return query.Find();
}
