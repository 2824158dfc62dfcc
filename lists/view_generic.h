#pragma once
// One view: a named group of file extensions with the colour (and the texture name) that the
// files of those extensions take on the rings. A view that is on hides, together with the other
// views that are on, every file that belongs to none of them.
#include <string>
#include <unordered_set>
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
    // Appends the extension (cut to 32 characters) unless the view holds it already.
    void AddExtension(const std::string& text);
    // Replaces every extension by the lines, as the edit dialog gives them (each cut to 55).
    void SetExtensions(const std::vector<std::string>& lines);
    // Whether the view holds the extension exactly; as fast for a million extensions as for one.
    bool HasExtension(const std::string& extension) const { return ExtensionSet.count(extension) != 0; }
    // The extensions in order: lower-case, without the dot.
    const QXScript& Extensions() const { return ExtensionLines; }
    void Enable() { Enabled = true; }
    void Disable() { Enabled = false; }
    // The view's menu click: flips the view; with single views the clicked view ends up the only
    // one on. The application then lays the rings out again.
    void Toggle(ViewSelection selection);

    QXColor Colour = kDefaultColour;
    std::string Texture; // texture resource name, e.g. "textures/images"; may be empty
    QRTexture* TextureResource = nullptr; // owned; the loaded texture, none while Texture is empty
    bool Enabled = true;

private:
    QOXViewEngine* Owner = nullptr; // not owned; the engine that owns this view
    QXScript ExtensionLines;
    std::unordered_set<std::string> ExtensionSet; // the same texts, to look them up
};
