#pragma once
// The 2D system: a pixel-space orthographic projection pushed over the scene and popped again,
// flat and textured quads, fade records, and the overlay pass of every frame (console, screen).
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class GLFont;
class GLConsole;
class GLScreen;
class QRTexture;

// A value that fades between Min and Max at Speed per second of frame time.
struct GLFade {
    enum State { Still = 0, Rising = 1, Falling = 2 };
    float Value = 0.0f;
    int State = Still;
    float Max = 1.0f;
    float Min = 0.0f;
    float Speed = 2.0f;
};

enum class GLSpace { TopLeft, Centred };
enum class GLAspect { Fixed, FollowViewport };

class GL_2DSystem : public QOXObject {
    QOX_CLASS(GL_2DSystem)
public:
    explicit GL_2DSystem(QOXObject* owner);

    void Init();
    void SetSpace(GLSpace space, GLAspect aspect, float width, float height);
    void ViewportChanged();
    void Begin2D();
    void End2D();
    // Prints with the font of that name (nothing when no font has it); alignment 0 left, 1 right,
    // 2 centred on x.
    void Print(const std::string& fontName, int alignment, float x, float y, const QXColor& colour, float alpha,
               float size, const std::string& text);
    void DrawQuad(int blendMode, const QXColor& colour, float alpha, float left, float top, float right,
                  float bottom);
    void DrawCell(float halfSize, float x, float y, float cellWidth, float cellHeight, int column, int row);
    void DrawSprite(QRTexture* texture, int blendMode, float halfSize, float x, float y, float cellWidth,
                    float cellHeight, int column, int row, float alpha, const QXColor& colour);
    void Render();
    // Whether drawing the overlay again would show something new: a fade under way, or console
    // lines added while the console is on screen.
    bool Changing() const;

    static void InitFade(GLFade& fade, int state);
    static void StartFadeIn(GLFade& fade) { fade.State = GLFade::Rising; }
    static void StartFadeOut(GLFade& fade) { fade.State = GLFade::Falling; }
    static float UpdateFade(GLFade& fade);
    static float UpdateFade(GLFade& fade, float frameSeconds);
    static bool IsFadedOut(const GLFade& fade);

    GLFont* Fonts = nullptr;     // owned as a child; created by the text engines' start
    GLConsole* Console = nullptr; // owned as a child; created by the text engines' start
    GLScreen* Screen = nullptr;   // owned as a child
    bool In2D = false;
    bool Centred = false;
    float Width = 640.0f;
    float Height = 480.0f;
    bool FollowAspect = true;

protected:
    void ChildRemoved(QOXObject* child) override;

private:
    // The seam to the material and text engines (gl_2D_resources.cpp).
    void ApplyFlatMaterial(int blendMode, const QXColor& colour, float alpha, QRTexture* texture);
    void InitTextEngines();
    void DrawConsole();
};
