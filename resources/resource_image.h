#pragma once
// A picture loaded from a BMP, JPEG, TGA or PNG file. The picture is held in one of two forms: the
// bitmap form (24-bit blue-green-red rows, top row first) for BMP and JPEG files and filled
// pictures, and the raw form (pixel format code, rows in file order) for TGA and PNG files.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "resources/image_decoders.h"
#include "resources/resource_main.h"

// Pixel format codes shared by images and textures. Grey pictures are luminance (code 3): drawn
// as grey, where alpha-only pixels would only tint.
enum PixelFormat : int { FormatRGB = 0, FormatRGBA = 1, FormatAlpha = 2, FormatLuminance = 3 };
int BytesPerPixel(int format);

enum class ImageFileType { Bmp, Jpg, Tga, Png };
const char* ImageExtension(ImageFileType type);

// Decodes a whole picture file held in memory; a file that cannot be decoded yields the reason.
DecodedImage DecodeImage(const std::vector<std::uint8_t>& bytes, ImageFileType type);
// Reads and decodes one picture file. A file that cannot be read or decoded yields the reason.
DecodedImage ReadImageFile(const std::string& path, ImageFileType type);

inline constexpr ResourceKind kImageKind{"RESOURCE IMAGE", "Creating Image: ", "Deleting Image: ",
                                         ResourceKind::Naming::FileNameOnly};

class QRImage : public QOXResource {
    QOX_CLASS(QRImage)
public:
    // A non-empty name is loaded at once.
    explicit QRImage(QOXObject* owner, const std::string& name = std::string());

    // Loads name + ".bmp", ".jpg", ".tga" or ".png" from the program folder, the first that exists.
    void Load(const std::string& name) override;
    // Loads name + the extension of that one type (a caller that has already chosen the file).
    void LoadType(const std::string& name, ImageFileType type);
    // Takes the picture of name + the extension of `type`, decoded already.
    void LoadDecoded(const std::string& name, ImageFileType type, DecodedImage decoded);
    void CreateFilled(int width, int height, const QXColor& colour);
    void FlipVertical();

    // Bitmap form.
    std::vector<std::uint8_t> Bitmap; // Width x Height x 3 bytes, blue-green-red, top row first
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;

    // Raw form.
    int Format = FormatRGB;
    int RawWidth = 0;
    int RawHeight = 0;
    std::vector<std::uint8_t> Data; // RawWidth x RawHeight x BytesPerPixel(Format), rows in file order

protected:
    void ReleaseData() override;

private:
    void ReadFile(const std::string& name, ImageFileType type);
    void Accept(DecodedImage decoded, ImageFileType type);
    void TakeBitmap(DecodedImage rgb);
    void TakeRaw(DecodedImage decoded, ImageFileType type);
};
