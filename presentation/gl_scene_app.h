#pragma once
// The application's one scene: every frame it finds the element under the pointer, renders the
// current ring's shadow into a texture, and draws the background, the shadow, the open rings, the
// info box, the strip of minimised rings and the fading ring title.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/app_links.h"
#include "graphics/gl_scene_generic.h"
#include "presentation/gl_scene_legend.h"
#include "ring/element_hooks.h"
#include "ring/ring_main.h"

class GLRing;
class GLRenderToTexture;
class QOXApp;
class QOXRing;
class QRElement;
class QRIteration;
class QRTexture;

// A point in view pixels, y downwards from the top left.
struct GLViewPoint {
    float X = 0.0f;
    float Y = 0.0f;
};

// One text line of the info box, at its left end in view pixels.
struct GLInfoLine {
    float X = 0.0f;
    float Y = 0.0f;
    std::string Text;
};

enum class GLMouseButton { Left, Right };

// What the scene reads of the window, the input and the cursor around it, and the one request it
// makes of the cursor. The application fills it in; the snapshot tool holds a still pointer.
class GLSceneHost {
public:
    virtual ~GLSceneHost() = default;
    // The main window is the active window (it has the keyboard focus).
    virtual bool WindowActive() const = 0;
    // A drag from another program is over the view.
    virtual bool DragOver() const = 0;
    // The input mouse's position, used for the hover pick.
    virtual GLViewPoint MousePoint() const = 0;
    // The cursor's idea of the pointer, used by the ring strip.
    virtual GLViewPoint CursorPoint() const = 0;
    // The cursor works the rings: the "Display Rings" action is neither held nor was it tapped since
    // the last frame (a tap shows the strip, which then fades out).
    virtual bool CursorEnabled() const = 0;
    // No mouse press is in progress for the cursor.
    virtual bool CursorIdle() const = 0;
    virtual bool WasPressed(GLMouseButton button) const = 0;
    virtual void RequestRingMenu(QOXRing* ring) = 0;
};

// The text of a byte count as the info box shows it: "512 Byte", "1.5 KB", "2.25 MB", "1.00 GB" as
// designed; "512 B", "1.5 KiB", "2.25 MiB", "1.00 GiB" with size-true rings (ring/size_text.h).
std::string SizeText(std::int64_t bytes);
// The attribute line of an element: "Hidden", "Read Only", "Hidden, Read Only" or empty.
std::string AttributeText(bool hidden, bool readOnly);

// Loads the scene's two fonts from "textures/fonts/default": "Default" darkens what lies under it
// (the "NEGATIVE" blend), "Default Add" lightens it.
void LoadSceneFonts();

class GLSceneApp : public GLScene, public QASceneLink, public QAPicker, public QRElementWatcher {
    QOX_CLASS(GLSceneApp)
public:
    static constexpr float kInfoWidth = 240.0f;
    static constexpr float kInfoHeight = 150.0f;
    static constexpr float kIconSpacing = 90.0f;
    static constexpr float kTypedWidth = 120.0f;
    static constexpr float kTypedHeight = 30.0f;

    // `application` and `host` are not owned and must outlive the scene.
    GLSceneApp(QOXObject* owner, QOXApp* application, GLSceneHost* host);

    void Init(const std::string& name) override;
    void Render() override;
    void ResizeShadowMap();
    void ShowRingTitle(const std::string& title) override;
    // Whether the scene's own clocks change what it shows: the ring title, the info box while it
    // is shown or fades, the ring strip while it is shown, fades or scrolls.
    bool Animating() const;
    // The element under a view point on the rings on screen: the last ring in the list that has
    // one wins. The cursor picks through this.
    QRElement* PickAt(float x, float y) override;
    std::optional<QAPoint> ViewPointOf(const QRElement& element) override;
    bool OnRingStrip(float x, float y) override;
    // Forgets a freed element wherever the scene still points at it.
    void ElementFreed(const QRElement* element) override;

    // The frame's steps, in the order Render runs them.
    void PickHover();
    void RenderShadowMap();
    void DrawBackground();
    void DrawShadow();
    void DrawRings();
    void DrawInfoBox();
    void DrawTypedText();
    // Size true, the colours of the current ring named in the lower left corner ("ShowLegend").
    void DrawLegend();
    void DrawRingList();
    void DrawTitle();

    // A rectangle with bevelled corners, filled and outlined, at opacity `alpha`.
    static void DrawFrameBox(float left, float top, float right, float bottom, float alpha);

    QRElement* PointedElement = nullptr; // not owned; the element under the pointer, shaded as hovered
    // Not owned; the element of the list row under the pointer, shaded as hovered while the
    // pointer is over no sector.
    QRElement* RowElement = nullptr;
    // Not owned; the element the info box is about: the pointed one, or the keyboard's current
    // element while the pointer is still.
    QRElement* HoverElement = nullptr;
    QOXRing* HoverRing = nullptr;      // not owned; the ring of HoverElement
    QRTexture* BackgroundTexture = nullptr; // owned as a child
    QRTexture* BananaTexture = nullptr;     // owned as a child
    QRTexture* ShadowTexture = nullptr;     // owned as a child
    QRTexture* ArrowTexture = nullptr;      // owned as a child
    std::string RingTitle;
    float TitleTime = -1.0f;
    const QRElement* InfoElement = nullptr; // not owned; compared only, never read
    float InfoTime = -1.0f;
    // Whether InfoElement is the root of a ring on a drive's mount point, and that drive's type and
    // space, read once when the box starts for it.
    bool InfoOnDrive = false;
    QRDriveInfo InfoDrive;
    float RingListFade = 0.0f;
    GLSceneLegend Legend;
    float RingListScroll = 0.0f;
    // Where the pointer of the drag in progress last made a ring current.
    std::optional<GLViewPoint> DragSwitchPoint;
    QRIteration* RingListAnimation = nullptr; // owned as a child
    GLRing* Renderer = nullptr;               // owned as a child
    GLRenderToTexture* RenderToTexture = nullptr; // owned as a child

    QOXApp* Application = nullptr; // not owned
    GLSceneHost* Host = nullptr;   // not owned
    // While set, Render draws the picture of the last frame again: no pick, no input taken, no
    // clock moved (for a view uncovered while a dialog or box waits, between two frames).
    bool Still = false;
    // Cleared for frames whose picture nobody looks at (the snapshot's frames before the last):
    // their shadow map, read back from the frame buffer, would only be replaced by the next one's.
    bool ShadowMapDue = true;

protected:
    void BeforeDestroy() override;

private:
    void GiveShadowTarget();
    QRElement* PickRings(float x, float y, QOXRing*& ring);
    float FrameSeconds() const;
    float ViewWidth() const;
    float ViewHeight() const;
    // Info box parts (gl_scene_info.cpp).
    void StartInfo();
public:
    // The info box's title and lines (below the title) for the hover element, in a box whose
    // right edge and top are given.
    std::string InfoTitle() const;
    std::vector<GLInfoLine> InfoLines(float right, float top) const;

private:
    void AddDriveLines(std::vector<GLInfoLine>& lines, float right, float top) const;
    void AddFileLines(std::vector<GLInfoLine>& lines, float right, float top) const;
    void AddFolderLines(std::vector<GLInfoLine>& lines, float right, float top) const;
    void AddSummaryLines(std::vector<GLInfoLine>& lines, float right, float top) const;
    // Below the other lines, how the element changed since the count growth is shown against.
    void AddGrowthLines(std::vector<GLInfoLine>& lines, float right, float top) const;
    void AddHiddenLine(std::vector<GLInfoLine>& lines, float right, float top) const;
    void AddNoteLines(std::vector<GLInfoLine>& lines, float right, float top, const std::vector<std::string>& texts) const;
    // Ring strip parts (gl_scene_ringlist.cpp).
    struct StripIcon {
        QOXRing* Ring = nullptr; // not owned
        float X = 0.0f;          // from the strip's middle
    };
    // The minimised rings' miniatures that fit in the strip, and where the first and the last
    // minimised ring sit before scrolling.
    std::vector<StripIcon> StripIcons(float& xFirst, float& xLast) const;
    float StripIconScale() const;
    bool UpdateRingListFade();
    void DrawRingIcon(QOXRing* ring, float x, float hw, float height);
    void DrawRingHoverTitle(QOXRing* ring);
    void HandleRingStripInput(QOXRing* ring);
    void SwitchByDrag(QOXRing* ring);
    void DrawScrollArrows(float xFirst, float xLast, float hw, float qw, float height);
    void DrawArrow(float centreX, float mirror) const;
};
