#include "resources/gl_textureengine.h"

#include <GL/glu.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_materialengine.h"
#include "resources/picture_prefetch.h"
#include "resources/resource_texture.h"

namespace {

constexpr ImageFileType kTextureSearchOrder[] = {ImageFileType::Bmp, ImageFileType::Jpg, ImageFileType::Png,
                                                 ImageFileType::Tga};

int ComponentsOf(GLenum layout)
{
    switch (layout) {
    case GL_RGBA:
        return 4;
    case GL_ALPHA:
    case GL_LUMINANCE:
        return 1;
    default:
        return 3;
    }
}

std::string TextOf(const GLubyte* text)
{
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

std::string DriverOfCurrentContext()
{
    return TextOf(glGetString(GL_VENDOR)) + "\n" + TextOf(glGetString(GL_RENDERER)) + "\n" +
           TextOf(glGetString(GL_VERSION)) + "\nGLU " + TextOf(gluGetString(GLU_VERSION));
}

// The bytes of a tightly packed picture of `layout`.
std::size_t PixelBytes(GLenum layout, int width, int height)
{
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
           static_cast<std::size_t>(ComponentsOf(layout));
}

void LogExtension(const char* name)
{
    Engine()->Console->AddLine(std::string("QOX GL: Extension \"") + name + "\" initialized!");
}

} // namespace

bool HasExtension(const std::string& name)
{
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string text = " " + std::string(extensions != nullptr ? extensions : "");
    return text.find(name) != std::string::npos;
}

void* ExtensionEntryPoint(const char* name)
{
    return GL()->GetProcAddress(name);
}

GLTextureEngine::GLTextureEngine(QOXObject* owner) : QOXObject(owner, "QOX GL Texture Engine") {}

void GLTextureEngine::Init()
{
    InitMultitexture();
    CompressionSupported = HasExtension("GL_ARB_texture_compression");
    if (CompressionSupported) {
        LookUpEntryPoint(glCompressedTexImage2DARB, "glCompressedTexImage2DARB");
        LookUpEntryPoint(glGetCompressedTexImageARB, "glGetCompressedTexImageARB");
        LogExtension("GL_ARB_texture_compression");
    }
    FilterMode = 3;
    SetCompression(true);
    Driver = DriverOfCurrentContext();
    Cache = std::make_unique<QRTextureCache>(Engine()->FileSystem->CachePath + kTextureCacheName + "/");
    SharedTexture1 = SharedTexture2 = nullptr;
    Engine()->Console->AddLine("QOX GL: Texture Engine initialized!");
}

void GLTextureEngine::InitMultitexture()
{
    if (!HasExtension("GL_ARB_multitexture")) {
        // Without unit selection only unit 0 can be used.
        LastUnit = 0;
        Engine()->Error("QOX_GL", "Multitexturing not supported!");
        return;
    }
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    LookUpEntryPoint(glMultiTexCoord1fARB, "glMultiTexCoord1fARB");
    LookUpEntryPoint(glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
    LookUpEntryPoint(glMultiTexCoord3fARB, "glMultiTexCoord3fARB");
    LookUpEntryPoint(glMultiTexCoord4fARB, "glMultiTexCoord4fARB");
    LookUpEntryPoint(glMultiTexCoord2fvARB, "glMultiTexCoord2fvARB");
    LookUpEntryPoint(glActiveTextureARB, "glActiveTextureARB");
    LookUpEntryPoint(glClientActiveTextureARB, "glClientActiveTextureARB");
    LastUnit = std::clamp(units - 1, 0, kUnits - 1);
    LogExtension("GL_ARB_multitexture");
    Engine()->Console->AddLine("QOX GL: Supporting " + std::to_string(LastUnit + 1) + " Texel Units");
}

void GLTextureEngine::SetCompression(bool on)
{
    UseCompression = on && CompressionSupported;
}

int GLTextureEngine::PowerOfTwo(int n)
{
    int value = 2;
    do {
        value *= 2;
    } while (n > value && value < 2049);
    return value;
}

void GLTextureEngine::SelectUnit(int unit)
{
    if (glActiveTextureARB != nullptr)
        glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
}

void GLTextureEngine::Bind(QRTexture* texture, int unit)
{
    if (!TexturingEnabled || texture == nullptr || unit < 0 || unit > LastUnit)
        return;
    SelectUnit(unit);
    GL()->SetTexturing(true);
    if (Bound[static_cast<std::size_t>(unit)] == texture)
        return;
    glBindTexture(GL_TEXTURE_2D, texture->BoundName);
    ++BindCalls;
    ApplySphereMapping(texture->Mapping == MappingSphere);
    if (AlphaTestForAlpha)
        ApplyAlphaTest(*texture);
    Bound[static_cast<std::size_t>(unit)] = texture;
}

void GLTextureEngine::ApplySphereMapping(bool on)
{
    if (on) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

void GLTextureEngine::ApplyAlphaTest(const QRTexture& texture)
{
    const bool blended = GL()->MaterialEngine != nullptr && GL()->MaterialEngine->WorkingBlends();
    if (texture.Format == FormatRGBA && !(blended && AlphaTestUnlessBlended))
        SetAlphaFunc(true, 0.5f);
    else
        GL()->SetAlphaTest(false);
}

void GLTextureEngine::MultiTexCoord(int unit, float s, float t)
{
    if (glMultiTexCoord2fARB != nullptr)
        glMultiTexCoord2fARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit), s, t);
    else if (unit == 0)
        glTexCoord2f(s, t);
}

bool GLTextureEngine::SelectClientUnit(int unit)
{
    if (glClientActiveTextureARB != nullptr)
        glClientActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
    return glClientActiveTextureARB != nullptr || unit == 0;
}

void GLTextureEngine::SetTexCoordArray(int unit, int stride, const float* coordinates)
{
    if (!SelectClientUnit(unit))
        return;
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, coordinates);
}

void GLTextureEngine::ClearTexCoordArray(int unit)
{
    if (SelectClientUnit(unit))
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void GLTextureEngine::DisableUnit(int unit)
{
    SelectUnit(unit);
    glDisable(GL_TEXTURE_2D);
}

void GLTextureEngine::DisableUpperUnits()
{
    for (int unit = LastUnit; unit >= 1; --unit)
        DisableUnit(unit);
    SelectUnit(0);
}

void GLTextureEngine::DisableAll()
{
    for (int unit = LastUnit; unit >= 0; --unit)
        DisableUnit(unit);
    SetAlphaFunc(false, AlphaReference);
}

void GLTextureEngine::BindOnly(QRTexture* texture)
{
    for (int unit = LastUnit; unit >= 1; --unit)
        DisableUnit(unit);
    Bind(texture, 0);
}

void GLTextureEngine::ResetBindings()
{
    Bound.fill(nullptr);
}

void GLTextureEngine::Forget(const QRTexture* texture)
{
    for (QRTexture*& bound : Bound) {
        if (bound == texture)
            bound = nullptr;
    }
}

void GLTextureEngine::SetAlphaFunc(bool on, float reference)
{
    GL()->SetAlphaTest(on);
    glAlphaFunc(GL_GREATER, reference);
}

void GLTextureEngine::ApplyFilter(GLuint name, int mode)
{
    static constexpr GLint kMinification[] = {GL_NEAREST, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST,
                                              GL_LINEAR_MIPMAP_LINEAR};
    if (mode < 0 || mode > 3)
        return;
    glBindTexture(GL_TEXTURE_2D, name);
    ResetBindings();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mode == 0 ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinification[mode]);
}

void GLTextureEngine::ApplyWrap(QRTexture* texture, bool clampS, bool clampT)
{
    glBindTexture(GL_TEXTURE_2D, texture->GLName);
    ResetBindings();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, clampS ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, clampT ? GL_CLAMP_TO_EDGE : GL_REPEAT);
}

void GLTextureEngine::QueryLevelSize(GLuint name, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
}

void GLTextureEngine::DeleteName(GLuint name)
{
    if (name != 0 && glIsTexture(name))
        glDeleteTextures(1, &name);
}

bool GLTextureEngine::Compresses(const QRTexture& texture) const
{
    return UseCompression && texture.Compression != 0;
}

GLint GLTextureEngine::InternalFormat(const QRTexture& texture) const
{
    const bool compressed = Compresses(texture);
    if (compressed && texture.Compression == 2)
        return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    switch (texture.Format) {
    case FormatRGBA:
        return compressed ? GL_COMPRESSED_RGBA_ARB : GL_RGBA;
    case FormatAlpha:
        return compressed ? GL_COMPRESSED_ALPHA_ARB : GL_ALPHA;
    case FormatLuminance:
        return compressed ? GL_COMPRESSED_LUMINANCE_ARB : GL_LUMINANCE;
    default:
        return compressed ? GL_COMPRESSED_RGB_ARB : GL_RGB;
    }
}

GLuint GLTextureEngine::NewTextureObject()
{
    ResetBindings();
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    return name;
}

void GLTextureEngine::BuildMipmaps(QRTexture* texture, GLenum layout, int width, int height, const void* pixels)
{
    // GLU rounds the sides to powers of two; a picture larger than GL takes is first brought within
    // GL's largest side here, averaging as it goes, since GLU's own fallback blurs it wrongly.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    std::vector<std::uint8_t> fitted;
    if (largest > 0 && (width > largest || height > largest)) {
        const int components = ComponentsOf(layout);
        const auto* bytes = static_cast<const std::uint8_t*>(pixels);
        fitted.assign(bytes, bytes + PixelBytes(layout, width, height));
        HalveUntilWithin(fitted, width, height, components, largest);
        pixels = fitted.data();
    }
    texture->GLName = NewTextureObject();
    // Rows are tightly packed, whatever their length.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (Compresses(*texture) && Cache != nullptr)
        BuildThroughCache(InternalFormat(*texture), layout, width, height, pixels);
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, InternalFormat(*texture), width, height, layout, GL_UNSIGNED_BYTE, pixels);
    QueryLevelSize(texture->GLName, texture->Width, texture->Height);
    ApplyFilter(texture->GLName, FilterMode);
}

void GLTextureEngine::BuildThroughCache(GLint format, GLenum layout, int width, int height, const void* pixels)
{
    const QRTextureSource source{QRTextureCache::HashBytes(pixels, PixelBytes(layout, width, height)), width,
                                 height, layout, static_cast<std::uint32_t>(format), Driver};
    if (const std::optional<std::vector<QRTextureLevel>> kept = Cache->Find(source)) {
        WriteLevels(*kept);
        if (HoldsLevels(*kept))
            return;
        Engine()->Console->AddLine("QOX GL: Kept texture refused by GL, compressing again");
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, width, height, layout, GL_UNSIGNED_BYTE, pixels);
    const std::vector<QRTextureLevel> levels = ReadLevels();
    // A driver may store a generic compressed format uncompressed; such levels are quick to build.
    const auto compressed = [](const QRTextureLevel& level) { return level.Compressed; };
    if (levels.empty() || !std::all_of(levels.begin(), levels.end(), compressed))
        return;
    if (const std::optional<std::string> problem = Cache->Keep(source, levels))
        Engine()->Console->AddLine("QOX GL: Compressed texture not kept: " + *problem);
}

void GLTextureEngine::CreateFromFile(const std::string& path, QRTexture* texture)
{
    ResetBindings();
    QOXFileSystem* files = Engine()->FileSystem;
    const std::string base = files->RelativeName(path, false);
    for (const ImageFileType type : kTextureSearchOrder) {
        const std::string file = files->MakePath(base, ImageExtension(type));
        if (!files->FileExists(file, QOXFileSystem::Silent))
            continue;
        if (type == ImageFileType::Bmp)
            CreateFromBmp(file, texture);
        else
            CreateThroughImage(base, file, type, texture);
        return;
    }
    Engine()->Error("QX_FILE", "File \"" + base + "\" not found!");
}

void GLTextureEngine::CreateFromBmp(const std::string& path, QRTexture* texture)
{
    DecodedImage picture = ReadImageFile(path, ImageFileType::Bmp);
    if (!picture.Ok()) {
        Engine()->Error("QR_IMAGE", "Image \"" + path + "\" could not be read: " + picture.Error);
        return;
    }
    // GL's first row is the bottom of the picture.
    FlipRows(picture.Pixels, picture.RowSize(), picture.Height);
    texture->Format = FormatRGB;
    BuildMipmaps(texture, GL_RGB, picture.Width, picture.Height, picture.Pixels.data());
}

void GLTextureEngine::CreateThroughImage(const std::string& base, const std::string& file, ImageFileType type,
                                         QRTexture* texture)
{
    QRImage* image = QOXNew<QRImage>(texture);
    std::optional<DecodedImage> ahead;
    if (Prefetched != nullptr)
        ahead = Prefetched->Take(file, type);
    if (ahead)
        image->LoadDecoded(base, type, std::move(*ahead));
    else
        image->LoadType(base, type);
    if (image->IsLoaded() && type == ImageFileType::Jpg) {
        CreateFromImage(image, texture);
    } else if (image->IsLoaded()) {
        if (type == ImageFileType::Png)
            image->FlipVertical();
        CreateFromData(image->Data.data(), texture, image->Format, image->RawWidth, image->RawHeight);
    }
    image->Destroy();
}

void GLTextureEngine::CreateFromImage(QRImage* image, QRTexture* texture)
{
    // The bitmap form keeps its top row first; GL's first row is the bottom of the picture.
    std::vector<std::uint8_t> rows = image->Bitmap;
    FlipRows(rows, static_cast<std::size_t>(image->Width) * 3, image->Height);
    texture->Format = FormatRGB;
    BuildMipmaps(texture, GL_BGR_EXT, image->Width, image->Height, rows.data());
}

void GLTextureEngine::CreateFromData(const std::uint8_t* data, QRTexture* texture, int format, int width, int height)
{
    GLenum layout = GL_RGB;
    if (format == FormatRGBA)
        layout = GL_RGBA;
    else if (format == FormatAlpha)
        layout = GL_ALPHA;
    else if (format == FormatLuminance)
        layout = GL_LUMINANCE;
    else if (format != FormatRGB)
        Engine()->Error("QOX_GL", "Undefined texture format (6407) !");
    texture->Format = format;
    BuildMipmaps(texture, layout, width, height, data);
}

void GLTextureEngine::CreateCopy(const QRTexture& source, QRTexture* texture)
{
    ResetBindings();
    glBindTexture(GL_TEXTURE_2D, source.GLName);
    const std::vector<QRTextureLevel> levels = ReadLevels();
    texture->GLName = NewTextureObject();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    WriteLevels(levels);
    texture->Format = source.Format;
    texture->Compression = source.Compression;
    QueryLevelSize(texture->GLName, texture->Width, texture->Height);
    ApplyFilter(texture->GLName, FilterMode);
}

std::vector<QRTextureLevel> GLTextureEngine::ReadLevels() const
{
    // A chain ends at 1 x 1; no GL texture has more levels than this.
    constexpr GLint kMostLevels = 16;
    std::vector<QRTextureLevel> levels;
    for (GLint index = 0; index < kMostLevels; ++index) {
        QRTextureLevel level;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_WIDTH, &level.Width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_HEIGHT, &level.Height);
        if (level.Width <= 0 || level.Height <= 0)
            break;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_INTERNAL_FORMAT, &level.InternalFormat);
        GLint compressed = GL_FALSE;
        if (glGetCompressedTexImageARB != nullptr && glCompressedTexImage2DARB != nullptr)
            glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_COMPRESSED_ARB, &compressed);
        level.Compressed = compressed == GL_TRUE;
        if (level.Compressed) {
            GLint size = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_COMPRESSED_IMAGE_SIZE_ARB, &size);
            level.Bytes.resize(static_cast<std::size_t>(std::max(size, 0)));
            glGetCompressedTexImageARB(GL_TEXTURE_2D, index, level.Bytes.data());
        } else {
            // Four bytes a pixel keep every row aligned, whatever the pack alignment.
            level.Bytes.resize(static_cast<std::size_t>(level.Width) * static_cast<std::size_t>(level.Height) * 4);
            glGetTexImage(GL_TEXTURE_2D, index, GL_RGBA, GL_UNSIGNED_BYTE, level.Bytes.data());
        }
        levels.push_back(std::move(level));
    }
    return levels;
}

// GL refuses a level whose bytes do not fit its size and format, leaving it empty.
bool GLTextureEngine::HoldsLevels(const std::vector<QRTextureLevel>& levels) const
{
    for (std::size_t at = 0; at < levels.size(); ++at) {
        const auto index = static_cast<GLint>(at);
        GLint width = 0;
        GLint height = 0;
        GLint size = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_COMPRESSED_IMAGE_SIZE_ARB, &size);
        if (width != levels[at].Width || height != levels[at].Height ||
            static_cast<std::size_t>(size) != levels[at].Bytes.size())
            return false;
    }
    return true;
}

void GLTextureEngine::WriteLevels(const std::vector<QRTextureLevel>& levels) const
{
    for (std::size_t at = 0; at < levels.size(); ++at) {
        const QRTextureLevel& level = levels[at];
        const auto index = static_cast<GLint>(at);
        if (level.Compressed)
            glCompressedTexImage2DARB(GL_TEXTURE_2D, index, static_cast<GLenum>(level.InternalFormat), level.Width,
                                      level.Height, 0, static_cast<GLsizei>(level.Bytes.size()), level.Bytes.data());
        else
            glTexImage2D(GL_TEXTURE_2D, index, level.InternalFormat, level.Width, level.Height, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, level.Bytes.data());
    }
}
