#pragma once
// One view: a named group of file extensions with the colour (and the texture name) that the
// files of those extensions take on the rings. A view that is on hides, together with the other
// views that are on, every file that belongs to none of them.
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QOXViewEngine;
class QRTexture;

// Whether switching a view on leaves the other views as they are.
enum class ViewSelection { Single, Multiple };

class QVGeneric : public QOXObject {
    QOX_CLASS(QVGeneric)
public:
    static constexpr QXColor kDefaultColour{0.0f, 0.5f, 1.0f};

    // `owner` keeps the view in its list and frees it.
    QVGeneric(QOXViewEngine* owner, const std::string& name);

    void SetTexture(const std::string& name);
    void AddExtension(const std::string& text);
    // The edit dialog's lines: blank ones are left out, the others taken in lower case, since the
    // lookup lowers the file's extension before comparing.
    void SetExtensions(const std::vector<std::string>& lines);
    bool HasExtension(const std::string& extension) const;
    void Enable() { Enabled = true; }
    void Disable() { Enabled = false; }
    // The view's menu click: flips the view; with single views the clicked view ends up the only
    // one on. The application then lays the rings out again.
    void Toggle(ViewSelection selection);

    QXColor Colour = kDefaultColour;
    QXScript Extensions; // lower-case extensions without the dot, each at most 32 characters
    std::string Texture; // texture resource name, e.g. "textures/images"; may be empty
    QRTexture* TextureResource = nullptr; // owned; the loaded texture, none while Texture is empty
    bool Enabled = true;

private:
    QOXViewEngine* Owner = nullptr; // not owned; the engine that owns this view
};
