#pragma once
// Renders into the back buffer at a texture's size and copies the result into that texture.
// A pass: Begin; clear and draw; CopyToTexture; End. The frame's own picture covers it afterwards.
#include <optional>

#include "engine/qox_object.h"

// The texture a pass renders into: its GL texture name and its size in pixels.
struct GLRenderTarget {
    unsigned GLName = 0;
    int Width = 0;
    int Height = 0;
};

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
};
