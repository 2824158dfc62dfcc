#pragma once
// Renders into the back buffer at a texture's size and copies the result into that texture.
// A pass: Begin; clear and draw; CopyToTexture; End. The frame's own picture covers it afterwards.
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/qox_object.h"

// The texture a pass renders into: its GL texture name and its size in pixels.
struct GLRenderTarget {
    unsigned GLName = 0;
    int Width = 0;
    int Height = 0;
};

// How the back buffer's pixels reach the texture. A renderer that draws on the processor holds them
// in memory already, and its GL copy compiles a blit on first use (30-40 ms on Mesa's llvmpipe)
// where reading them back and uploading them takes about one millisecond; a graphics card keeps
// them on the card. Chosen from the renderer at the first copy unless set.
enum class GLCopyPath { Unchosen, OnCard, ThroughMemory };

class GLRenderToTexture : public QOXObject {
    QOX_CLASS(GLRenderToTexture)
public:
    explicit GLRenderToTexture(QOXObject* owner);

    void SetTexture(const GLRenderTarget& texture) { Texture = texture; }
    void Begin();
    void BeginSized(int width, int height);
    void CopyToTexture();
    void End();

    int SavedX = 0;
    int SavedY = 0;
    int SavedWidth = 0;
    int SavedHeight = 0;
    std::optional<GLRenderTarget> Texture; // the target; none until SetTexture
    int Width = 0;
    int Height = 0;
    GLCopyPath CopyPath = GLCopyPath::Unchosen;

private:
    static GLCopyPath PathForRenderer();
    void CopyThroughMemory();

    std::vector<std::uint8_t> Staging; // the pixels on their way; kept between passes
};
