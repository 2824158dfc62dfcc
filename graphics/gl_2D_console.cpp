#include "graphics/gl_2D_console.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"

namespace {

// Lets the band show the view through it.
constexpr int kBackgroundBlend = 2;

} // namespace

GLConsole::GLConsole(QOXObject* owner) : QOXObject(owner, "QOX GL 2D Console")
{
    Lines.resize(static_cast<std::size_t>(LineCount));
}

void GLConsole::Init()
{
    GL_2DSystem::InitFade(Fade, GLFade::Still);
    GL_2DSystem::StartFadeOut(Fade);
    Engine()->Console->AddCallProc(this, [this](const std::string& text) { AddLine(text); });
    Engine()->Console->AddLine("QOX GL: GL Console initialized!");
}

void GLConsole::BeforeDestroy()
{
    if (Engine() != nullptr && Engine()->Console != nullptr)
        Engine()->Console->RemoveCallProc(this);
}

void GLConsole::AddLine(const std::string& text)
{
    AddColoredLine(text, TextColor);
}

void GLConsole::AddColoredLine(const std::string& text, const QXColor& colour)
{
    if (!Enabled || Lines.empty())
        return;
    Lines.erase(Lines.begin());
    Lines.push_back({CutText(text, kStringL), colour});
    LinesAdded = true;
}

bool GLConsole::Changing() const
{
    if (!Enabled)
        return false;
    return Fade.State != GLFade::Still || (LinesAdded && !GL_2DSystem::IsFadedOut(Fade));
}

void GLConsole::SetLineCount(int count)
{
    LineCount = count > 0 ? count : 0;
    Lines.assign(static_cast<std::size_t>(LineCount), GLConsoleLine{});
}

void GLConsole::SetStyle(QRFont* font, const QXColor& textColour, bool showEmptyLines, float marginX, float marginY,
                         float spacing, float size, float scale)
{
    Font = font;
    TextColor = textColour;
    ShowEmptyLines = showEmptyLines;
    MarginX = marginX;
    MarginY = marginY;
    LineSpacing = spacing;
    TextSize = size;
    TextScale = scale;
}

void GLConsole::SetBackground(const QXColor& colour, float alpha)
{
    BackgroundColor = colour;
    BackgroundAlpha = alpha;
}

std::vector<const GLConsoleLine*> GLConsole::ShownLines() const
{
    std::vector<const GLConsoleLine*> shown;
    for (const GLConsoleLine& line : Lines) {
        if (ShowEmptyLines || !line.Text.empty())
            shown.push_back(&line);
    }
    return shown;
}

void GLConsole::Draw()
{
    LinesAdded = false;
    const float fade = GL_2DSystem::UpdateFade(Fade);
    if (GL_2DSystem::IsFadedOut(Fade))
        return;
    const std::vector<const GLConsoleLine*> shown = ShownLines();
    if (shown.empty() || Font == nullptr)
        return;
    DrawBackground(static_cast<int>(shown.size()), fade);
    const GLFont* fonts = GL()->System2D->Fonts;
    float y = MarginY;
    for (const GLConsoleLine* line : shown) {
        fonts->DrawText(Font, AlignLeft, line->Text, TextSize, TextScale * fade, line->Colour, y, MarginX);
        y += LineSpacing;
    }
}

void GLConsole::DrawBackground(int lineCount, float fade) const
{
    GL_2DSystem* system = GL()->System2D;
    const float left = system->Centred ? -system->Width / 2.0f : 0.0f;
    const float top = system->Centred ? -system->Height / 2.0f : 0.0f;
    const float height = static_cast<float>(lineCount) * LineSpacing + 1.2f * MarginY;
    system->DrawQuad(kBackgroundBlend, BackgroundColor, BackgroundAlpha * fade, left, top, left + system->Width,
                     top + height);
}
