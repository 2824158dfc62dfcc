#pragma once
// A picture in OpenGL: a texture object with a full mipmap chain, made by the texture engine from
// the first of name.bmp, name.jpg, name.png and name.tga in the program folder. Destroying or
// unloading the texture deletes its GL object.
#include <string>

#include "engine/qox_constant.h"
#include "resources/resource_image.h"
#include "resources/resource_main.h"

enum TextureMapping : int { MappingPlain = 0, MappingSphere = 1, MappingShared2 = 2 };

inline constexpr ResourceKind kTextureKind{"RESOURCE TEXTURE", "Creating Texture: ", "Deleting Texture: ",
                                           ResourceKind::Naming::GivenName};

class QRTexture : public QOXResource {
    QOX_CLASS(QRTexture)
public:
    // A non-empty name is loaded at once.
    explicit QRTexture(const std::string& name = std::string(), QOXObject* owner = nullptr);

    void Load(const std::string& name) override;
    // The picture `source` was loaded with, without reading, decoding or compressing the file
    // again; the file itself when `source` holds no GL object.
    void LoadCopyOf(const QRTexture& source);
    void CreateEmpty(int width, int height, const QXColor& colour);
    void SetWrap(bool clampS, bool clampT);
    void SetMapping(int mapping, int useShared);
    void SetCompression(int value) { Compression = value; }

    unsigned GLName = 0;
    unsigned BoundName = 0;
    int Width = 0;
    int Height = 0;
    int Format = FormatRGB;
    int Compression = -1; // 2 asks for S3TC DXT5 while the engine compresses
    int Mapping = MappingPlain;
    int UseShared = 0;
    bool ClampS = false;
    bool ClampT = false;

protected:
    void ReleaseData() override;
};
