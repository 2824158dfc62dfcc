#pragma once
// The GL device's texture engine: makes GL texture objects with mipmaps from files, images and
// pixel data, chooses their (optionally compressed) internal format, sets filtering and wrapping,
// binds textures to up to four texture units and remembers what each unit holds, so that binding
// the same texture again costs no GL call. Nothing may bind textures behind its back; whatever
// does (creation, filter and wrap changes, display lists) forgets the record.
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/qox_object.h"
#include "resources/resource_image.h"
#include "resources/texture_cache.h"

class QRTexture;
class QRPicturePrefetch;

// Whether the current context offers the extension: a plain search of the extension string.
bool HasExtension(const std::string& name);
// An extension's entry point in the current context, or null.
void* ExtensionEntryPoint(const char* name);

template <class EntryPoint>
void LookUpEntryPoint(EntryPoint& entry, const char* name)
{
    entry = reinterpret_cast<EntryPoint>(ExtensionEntryPoint(name));
}

class GLTextureEngine : public QOXObject {
    QOX_CLASS(GLTextureEngine)
public:
    static constexpr int kUnits = 4;

    explicit GLTextureEngine(QOXObject* owner);

    void Init();
    void SetCompression(bool on);
    static int PowerOfTwo(int n);

    void Bind(QRTexture* texture, int unit);
    void MultiTexCoord(int unit, float s, float t);
    // Texture-coordinate arrays (two floats a vertex) for a unit, set and cleared; a unit the
    // context cannot address is left alone. Clearing unit 0 last leaves unit 0 the client unit.
    void SetTexCoordArray(int unit, int stride, const float* coordinates);
    void ClearTexCoordArray(int unit);
    void DisableUnit(int unit);
    void DisableUpperUnits();
    void DisableAll();
    void BindOnly(QRTexture* texture);
    void ResetBindings();
    // Called when a texture's GL object goes: no unit may still claim to hold it.
    void Forget(const QRTexture* texture);
    void SetAlphaFunc(bool on, float reference);

    void ApplyFilter(GLuint name, int mode);
    void ApplyWrap(QRTexture* texture, bool clampS, bool clampT);
    static void QueryLevelSize(GLuint name, int& width, int& height);
    void DeleteName(GLuint name);

    void CreateFromFile(const std::string& path, QRTexture* texture);
    void CreateFromImage(QRImage* image, QRTexture* texture);
    void CreateFromData(const std::uint8_t* data, QRTexture* texture, int format, int width, int height);
    // A GL object of its own holding what `source`'s holds, level by level in the same internal
    // format; compressed levels are copied as they are, never compressed again.
    void CreateCopy(const QRTexture& source, QRTexture* texture);
    // What builds this context's levels, as the texture cache tells drivers apart.
    const std::string& DriverName() const { return Driver; }

    // The multitexture entry points; null without GL_ARB_multitexture.
    PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
    PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
    PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB = nullptr;
    PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB = nullptr;
    PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
    // The compressed-texture entry points; null without GL_ARB_texture_compression.
    PFNGLCOMPRESSEDTEXIMAGE2DARBPROC glCompressedTexImage2DARB = nullptr;
    PFNGLGETCOMPRESSEDTEXIMAGEARBPROC glGetCompressedTexImageARB = nullptr;

    int LastUnit = 0;
    bool CompressionSupported = false;
    bool UseCompression = false;
    int FilterMode = 3;
    QRTexture* SharedTexture1 = nullptr; // not owned; none in this program
    QRTexture* SharedTexture2 = nullptr; // not owned; none in this program
    bool AlphaTestForAlpha = true;
    bool AlphaTestUnlessBlended = true;
    float AlphaReference = 0.5f;
    std::array<QRTexture*, kUnits> Bound{}; // not owned; the binding record per unit
    bool TexturingEnabled = true;
    // glBindTexture calls made by Bind (what the binding record saves is measured by it).
    int BindCalls = 0;
    // Not owned; while set (during start-up), pictures are taken from it before they are read.
    QRPicturePrefetch* Prefetched = nullptr;
    // Owned; made by Init in the program's cache folder. Compressed textures are built once and
    // their levels kept here for later starts; without it every start compresses again.
    std::unique_ptr<QRTextureCache> Cache;

private:
    void InitMultitexture();
    void SelectUnit(int unit);
    // Makes `unit` the unit that texture-coordinate arrays go to; false when it cannot be.
    bool SelectClientUnit(int unit);
    void ApplyAlphaTest(const QRTexture& texture);
    static void ApplySphereMapping(bool on);
    bool Compresses(const QRTexture& texture) const;
    GLint InternalFormat(const QRTexture& texture) const;
    GLuint NewTextureObject();
    void BuildMipmaps(QRTexture* texture, GLenum layout, int width, int height, const void* pixels);
    // The compressed levels kept for these pixels, else built and then kept.
    void BuildThroughCache(GLint format, GLenum layout, int width, int height, const void* pixels);
    void CreateFromBmp(const std::string& path, QRTexture* texture);
    // `file` is base + the extension of `type`, in the program folder.
    void CreateThroughImage(const std::string& base, const std::string& file, ImageFileType type, QRTexture* texture);
    // The levels of the texture bound to the selected unit, as GL holds them.
    std::vector<QRTextureLevel> ReadLevels() const;
    void WriteLevels(const std::vector<QRTextureLevel>& levels) const;
    // Whether the texture bound to the selected unit holds these compressed levels as they were.
    bool HoldsLevels(const std::vector<QRTextureLevel>& levels) const;

    std::string Driver; // what builds the levels: GL's vendor, renderer and version, and GLU's
};
