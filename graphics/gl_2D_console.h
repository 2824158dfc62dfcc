#pragma once
// An on-screen overlay with the last lines of the console log, drawn in the 2D pass over a
// translucent band. It listens to the log from its start on, starts hidden and needs a font
// before it shows anything.
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "graphics/gl_2D.h"

class QRFont;

struct GLConsoleLine {
    std::string Text; // at most 255 characters
    QXColor Colour{1.0f, 1.0f, 1.0f};
};

class GLConsole : public QOXObject {
    QOX_CLASS(GLConsole)
public:
    explicit GLConsole(QOXObject* owner);

    void Init();
    void AddLine(const std::string& text);
    void AddColoredLine(const std::string& text, const QXColor& colour);
    void SetLineCount(int count);
    void SetStyle(QRFont* font, const QXColor& textColour, bool showEmptyLines, float marginX, float marginY,
                  float spacing, float size, float scale);
    void SetBackground(const QXColor& colour, float alpha);
    void Show() { GL_2DSystem::StartFadeIn(Fade); }
    void Hide() { GL_2DSystem::StartFadeOut(Fade); }
    void Draw();
    // A fade under way, or lines added since the last Draw while the console is on screen.
    bool Changing() const;

    QRFont* Font = nullptr; // not owned; the font engine owns it
    QXColor TextColor{1.0f, 1.0f, 1.0f};
    float TextScale = 1.0f;
    float TextSize = 1.0f;
    float LineSpacing = 11.0f;
    float MarginX = 10.0f;
    float MarginY = 10.0f;
    bool ShowEmptyLines = false;
    QXColor BackgroundColor{0.3f, 0.2f, 0.1f};
    float BackgroundAlpha = 0.7f;
    std::vector<GLConsoleLine> Lines;
    int LineCount = 15;
    GLFade Fade;
    bool Enabled = true;
    bool LinesAdded = false; // since the last Draw

protected:
    void BeforeDestroy() override;

private:
    std::vector<const GLConsoleLine*> ShownLines() const;
    void DrawBackground(int lineCount, float fade) const;
};
