#include "presentation/gl_scene_app.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "graphics/gl_rendertotexture.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_ring_geometry.h"
#include "resources/gl_materialengine.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_font.h"
#include "resources/resource_material.h"
#include "resources/resource_texture.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"

namespace {

constexpr QXColor kWhite{1.0f, 1.0f, 1.0f};
constexpr QXColor kBlack{0.0f, 0.0f, 0.0f};
constexpr float kBananaHalfSize = 128.0f;
constexpr float kShadowOffset = 8.0f;
constexpr float kShadowScale = 2.0f;
constexpr float kShadowDensity = 0.05f;
constexpr QXVector kShadowPasses[] = {{0.0f, 3.0f, 0.0f}, {3.0f, 0.0f, 0.0f}, {-1.0f, -1.0f, 0.0f}};
constexpr float kTitleStartSize = 4.0f;
constexpr float kTitleSizeStep = 0.1f;
constexpr float kTitleMinimumSize = 1.0f;
constexpr float kTitleMargin = 40.0f;

// One quad from (left, top) to (right, bottom) with the picture upright: its top row at the top.
void UprightQuad(float left, float top, float right, float bottom)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(left, top);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(right, top);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(right, bottom);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(left, bottom);
    glEnd();
}

void ApplyTextured(QRTexture* texture)
{
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->AddTexturePass(texture);
    materials->ApplyMaterial();
}

// The shadow map's side: a power of two the texture engine accepts, whatever the settings say.
int ShadowMapSide(int setting)
{
    return GLTextureEngine::PowerOfTwo(std::max(setting, 1));
}

} // namespace

void LoadSceneFonts()
{
    GLFont* fonts = GL()->System2D->Fonts;
    if (QRFont* font = fonts->CreateFont("textures/fonts/default", "Default"))
        font->SetNegative(1);
    fonts->CreateFont("textures/fonts/default", "Default Add");
}

GLSceneApp::GLSceneApp(QOXObject* owner, QOXApp* application, GLSceneHost* host)
    : GLScene(owner), Application(application), Host(host)
{
    Renderer = QOXNew<GLRing>(this);
    Renderer->Init();
    RenderToTexture = QOXNew<GLRenderToTexture>(this);
    GL()->SetClearColor(kWhite);
    RingListAnimation = QOXNew<QRIteration>(this);
    RingListAnimation->SetCurve(1);
    Application->Scene = this;
    Application->WatchElements(this);
}

void GLSceneApp::Init(const std::string& name)
{
    GLScene::Init(name);
    BackgroundTexture = QOXNew<QRTexture>("textures/bg", this);
    BackgroundTexture->SetWrap(true, true);
    BananaTexture = QOXNew<QRTexture>("textures/banana", this);
    BananaTexture->SetWrap(true, true);
    ArrowTexture = QOXNew<QRTexture>("textures/arrow", this);
    ShadowTexture = QOXNew<QRTexture>(std::string(), this);
    ResizeShadowMap();
    ShadowTexture->SetWrap(false, false);
}

void GLSceneApp::BeforeDestroy()
{
    Application->UnwatchElements(this);
    if (Application->Scene == this)
        Application->Scene = nullptr;
    GLScene::BeforeDestroy();
}

void GLSceneApp::ResizeShadowMap()
{
    const int side = ShadowMapSide(Application->Settings.ShadowMapSize);
    ShadowTexture->CreateEmpty(side, side, kWhite);
    GiveShadowTarget();
}

void GLSceneApp::GiveShadowTarget()
{
    RenderToTexture->SetTexture(GLRenderTarget{ShadowTexture->GLName, ShadowTexture->Width, ShadowTexture->Height});
}

void GLSceneApp::ShowRingTitle(const std::string& title)
{
    if (Application->Settings.RingDisplayDuration <= 0.0f)
        return;
    RingTitle = CutText(title, kStringL);
    TitleTime = 0.0f;
}

// The info box starts for a new element at the next drawing and is on screen until a second after
// its duration.
bool GLSceneApp::Animating() const
{
    const float duration = Application->Settings.DisplayDuration;
    const bool info = HoverElement != nullptr && duration > 0.0f &&
                      (HoverElement != InfoElement || InfoTime <= duration + 1.0f);
    const bool title = TitleTime >= 0.0f && !RingTitle.empty();
    const bool strip = RingListFade > 0.0f || RingListAnimation->Running() || !Host->CursorEnabled();
    return info || title || strip;
}

void GLSceneApp::ElementFreed(const QRElement* element)
{
    const auto going = [&](const QRElement* held) { return held != nullptr && held->IsWithin(*element); };
    if (going(PointedElement))
        PointedElement = nullptr;
    if (going(RowElement))
        RowElement = nullptr;
    if (going(HoverElement)) {
        HoverElement = nullptr;
        HoverRing = nullptr;
    }
    if (going(InfoElement))
        InfoElement = nullptr;
    Renderer->ForgetLabels();
}

void GLSceneApp::Render()
{
    const bool shadow = Application->Settings.DisplayShadow;
    PickHover();
    if (shadow && ShadowMapDue)
        RenderShadowMap();
    DrawBackground();
    if (shadow)
        DrawShadow();
    // The full-view background and shadow passes are the frame's heaviest rasterising; a renderer
    // on the processor (llvmpipe) does it in threads of its own while this thread lays out the
    // bands, instead of all of it after the last draw (a ring of a million files: a frame of
    // 40 ms became one of 33).
    GL()->StartRasterising();
    DrawRings();
    DrawLegend();
    DrawInfoBox();
    DrawTypedText();
    DrawRingList();
    if (TitleTime >= 0.0f)
        DrawTitle();
}

float GLSceneApp::FrameSeconds() const
{
    return Still ? 0.0f : Engine()->Timer->GetDelta();
}

float GLSceneApp::ViewWidth() const
{
    return GL()->System2D->Width;
}

float GLSceneApp::ViewHeight() const
{
    return GL()->System2D->Height;
}

void GLSceneApp::PickHover()
{
    if (Still || !Host->WindowActive())
        return;
    const GLViewPoint mouse = Host->MousePoint();
    PointedElement = PickRings(mouse.X, mouse.Y, HoverRing);
    if (PointedElement == nullptr && RowElement != nullptr) {
        PointedElement = RowElement;
        HoverRing = RowElement->Ring;
    }
    HoverElement = PointedElement;
    QRElement* keyed = Application->Keys != nullptr ? Application->Keys->InfoElement() : nullptr;
    if (keyed != nullptr) {
        HoverElement = keyed;
        HoverRing = keyed->Ring;
    }
}

QRElement* GLSceneApp::PickAt(float x, float y)
{
    QOXRing* ring = nullptr;
    return PickRings(x, y, ring);
}

std::optional<QAPoint> GLSceneApp::ViewPointOf(const QRElement& element)
{
    QOXRing* ring = element.Ring;
    if (!Application->Rings->Contains(ring) || ring->IsFullyMinimized())
        return std::nullopt;
    const float radius = (ring->InnerRadius(element.Level) + ring->InnerRadius(element.Level + 1)) / 2.0f;
    const QXVector2 direction = RingDirection(element.MidAngle());
    glPushMatrix();
    Renderer->SetupRingTransform(ring, GLRingPass::Normal);
    const GLScreenBounds bounds;
    glPopMatrix();
    const std::optional<GLPixelPoint> point = bounds.Project({direction.X * radius, direction.Y * radius});
    if (!point)
        return std::nullopt;
    return QAPoint{static_cast<float>(point->X), ViewHeight() - static_cast<float>(point->Y)};
}

QRElement* GLSceneApp::PickRings(float x, float y, QOXRing*& ring)
{
    QRElement* result = nullptr;
    ring = nullptr;
    for (QOXRing* candidate : *Application->Rings) {
        if (candidate->IsFullyMinimized())
            continue;
        if (QRElement* element = Renderer->Pick(candidate, x, y)) {
            result = element;
            ring = candidate;
        }
    }
    return result;
}

void GLSceneApp::RenderShadowMap()
{
    QOXGL* device = GL();
    RenderToTexture->Begin();
    device->SetClearColor(kBlack);
    device->ClearBuffers();
    QOXRing* current = Application->CurrentRing;
    if (current != nullptr && !current->IsFullyMinimized())
        Renderer->DrawShadow(current);
    device->SetClearColor(kWhite);
    RenderToTexture->CopyToTexture();
    RenderToTexture->End();
}

void GLSceneApp::DrawBackground()
{
    GL_2DSystem* system = GL()->System2D;
    const float width = ViewWidth();
    const float height = ViewHeight();
    system->Begin2D();
    ApplyTextured(BackgroundTexture);
    UprightQuad(0.0f, 0.0f, width, height);
    if (Application->Settings.BananaMode) {
        glTranslatef(width / 2.0f, height / 2.0f, 0.0f);
        GL()->TextureEngine->Bind(BananaTexture, 0);
        UprightQuad(-kBananaHalfSize, -kBananaHalfSize, kBananaHalfSize, kBananaHalfSize);
    }
    system->End2D();
}

void GLSceneApp::DrawShadow()
{
    GL_2DSystem* system = GL()->System2D;
    const float width = ViewWidth();
    const float half = ViewHeight() / 2.0f;
    system->Begin2D();
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->AddTexturePass(ShadowTexture);
    materials->SetBlendColor(static_cast<int>(GLBlendMode::Negative), kBlack, kShadowDensity);
    materials->ApplyMaterial();
    glTranslatef(kShadowOffset, kShadowOffset, 0.0f);
    glTranslatef(width / 2.0f, half, 0.0f);
    glScalef(kShadowScale, kShadowScale, kShadowScale);
    for (const QXVector& offset : kShadowPasses) {
        glPushMatrix();
        glTranslatef(offset.X, offset.Y, offset.Z);
        UprightQuad(-half, -half, half, half);
        glPopMatrix();
    }
    system->End2D();
}

void GLSceneApp::DrawRings()
{
    Renderer->HoverElement = PointedElement;
    Renderer->Labels = Application->Settings.ReadableLabels ? GLRingLabels::Readable : GLRingLabels::Plain;
    for (QOXRing* ring : *Application->Rings)
        if (!ring->IsFullyMinimized())
            Renderer->DrawRing(ring);
}

void GLSceneApp::DrawTitle()
{
    if (RingTitle.empty())
        return;
    GL_2DSystem* system = GL()->System2D;
    const float width = ViewWidth();
    const float height = ViewHeight();
    const float duration = Application->Settings.RingDisplayDuration;
    system->Begin2D();
    TitleTime += FrameSeconds();
    float alpha = 1.0f;
    if (TitleTime > duration)
        alpha = 1.0f - (TitleTime - duration);
    if (alpha <= 0.0f)
        TitleTime = -1.0f;
    const QRFont* font = system->Fonts->FindFont("Default");
    float size = kTitleStartSize;
    float textWidth = 0.0f;
    do {
        textWidth = GLFont::TextWidth(font, RingTitle, size);
        size -= kTitleSizeStep;
    } while (textWidth >= width - kTitleMargin && size >= kTitleMinimumSize);
    const float halfHeight = size / 4.0f * 30.0f;
    DrawFrameBox(width / 2.0f - textWidth - 50.0f, height / 2.0f - halfHeight, width / 2.0f + textWidth + 50.0f,
                 height / 2.0f + halfHeight, alpha);
    system->Print("Default Add", AlignCentre, width / 2.0f, height / 2.0f, kWhite, alpha, size, RingTitle);
    system->End2D();
}

void GLSceneApp::DrawFrameBox(float left, float top, float right, float bottom, float alpha)
{
    const float corners[12][2] = {
        {left, top + 8.0f},     {left + 2.0f, top + 2.0f},       {left + 8.0f, top},
        {right - 8.0f, top},    {right - 2.0f, top + 2.0f},      {right, top + 8.0f},
        {right, bottom - 8.0f}, {right - 2.0f, bottom - 2.0f},   {right - 8.0f, bottom},
        {left + 8.0f, bottom},  {left + 2.0f, bottom - 2.0f},    {left, bottom - 8.0f},
    };
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->SetBlendColor(static_cast<int>(GLBlendMode::Average), QXColor{0.2f, 0.2f, 0.2f}, 0.3f * alpha);
    materials->Material->Data.Geometry.Smooth = true;
    materials->ApplyMaterial();
    glBegin(GL_POLYGON);
    for (const auto& corner : corners)
        glVertex2f(corner[0], corner[1]);
    glEnd();
    GL()->SetBlendMode(static_cast<int>(GLBlendMode::Negative), kBlack, 0.2f * alpha);
    glBegin(GL_LINE_LOOP);
    for (const auto& corner : corners)
        glVertex2f(corner[0], corner[1]);
    glEnd();
}
