#include "resources/resource_image.h"

#include <algorithm>
#include <cmath>

#include "engine/file_file.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"

namespace {

// No picture file the engine reads comes near this; a larger file is refused unread.
constexpr std::size_t kMaxImageFileBytes = std::size_t{256} << 20;

constexpr ImageFileType kSearchOrder[] = {ImageFileType::Bmp, ImageFileType::Jpg, ImageFileType::Tga,
                                          ImageFileType::Png};

bool ReadBytes(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    QOXFile* file = Engine()->FileSystem->OpenRead(path, QOXFile::Raw);
    std::uint8_t block[65536];
    std::size_t read = 0;
    while (file->IsOpen() && bytes.size() <= kMaxImageFileBytes && (read = file->ReadBytes(block, sizeof block)) > 0)
        bytes.insert(bytes.end(), block, block + read);
    const bool opened = file->IsOpen();
    file->Destroy();
    return opened;
}

std::uint8_t ColourByte(float component)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
}

int FormatOfComponents(int components)
{
    switch (components) {
    case 1:
        return FormatLuminance;
    case 4:
        return FormatRGBA;
    default:
        return FormatRGB;
    }
}

} // namespace

int BytesPerPixel(int format)
{
    switch (format) {
    case FormatRGBA:
        return 4;
    case FormatAlpha:
    case FormatLuminance:
        return 1;
    default:
        return 3;
    }
}

const char* ImageExtension(ImageFileType type)
{
    switch (type) {
    case ImageFileType::Bmp:
        return "bmp";
    case ImageFileType::Jpg:
        return "jpg";
    case ImageFileType::Tga:
        return "tga";
    case ImageFileType::Png:
        return "png";
    }
    return "";
}

DecodedImage DecodeImage(const std::vector<std::uint8_t>& bytes, ImageFileType type)
{
    switch (type) {
    case ImageFileType::Bmp:
        return DecodeBmp(bytes);
    case ImageFileType::Jpg:
        return DecodeJpeg(bytes);
    case ImageFileType::Tga:
        return DecodeTga(bytes);
    case ImageFileType::Png:
        return DecodePng(bytes);
    }
    return FailedImage("unknown picture type");
}

DecodedImage ReadImageFile(const std::string& path, ImageFileType type)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadBytes(path, bytes))
        return FailedImage("the file could not be opened");
    if (bytes.size() > kMaxImageFileBytes)
        return FailedImage("the file is too large");
    return DecodeImage(bytes, type);
}

QRImage::QRImage(QOXObject* owner, const std::string& name) : QOXResource(owner, kImageKind)
{
    if (!name.empty())
        QRImage::Load(name);
    AfterSetup();
}

void QRImage::Load(const std::string& name)
{
    BeginLoad(name);
    for (const ImageFileType type : kSearchOrder) {
        if (Engine()->FileSystem->FileExists(Engine()->FileSystem->MakePath(name, ImageExtension(type)),
                                             QOXFileSystem::Silent)) {
            ReadFile(name, type);
            return;
        }
    }
    Engine()->Error("QX_FILE", "File \"" + name + "\" not found!");
}

void QRImage::LoadType(const std::string& name, ImageFileType type)
{
    BeginLoad(name);
    if (Engine()->FileSystem->FileExists(Engine()->FileSystem->MakePath(name, ImageExtension(type)),
                                         QOXFileSystem::ReportMissing))
        ReadFile(name, type);
}

void QRImage::ReadFile(const std::string& name, ImageFileType type)
{
    const std::string path = Engine()->FileSystem->MakePath(name, ImageExtension(type));
    DecodedImage decoded = ReadImageFile(path, type);
    if (!decoded.Ok()) {
        Engine()->Error("QR_IMAGE", "Image \"" + path + "\" could not be read: " + decoded.Error);
        return;
    }
    Accept(std::move(decoded), type);
}

void QRImage::LoadDecoded(const std::string& name, ImageFileType type, DecodedImage decoded)
{
    BeginLoad(name);
    Accept(std::move(decoded), type);
}

void QRImage::Accept(DecodedImage decoded, ImageFileType type)
{
    if (type == ImageFileType::Bmp || type == ImageFileType::Jpg)
        TakeBitmap(std::move(decoded));
    else
        TakeRaw(std::move(decoded), type);
    FinishLoad();
}

void QRImage::TakeBitmap(DecodedImage rgb)
{
    SwapRedBlue(rgb.Pixels, rgb.Components);
    Bitmap = std::move(rgb.Pixels);
    Width = rgb.Width;
    Height = rgb.Height;
    BitsPerPixel = 24;
}

void QRImage::TakeRaw(DecodedImage decoded, ImageFileType type)
{
    // TGA stores colour as blue, green, red; the raw form is red first.
    if (type == ImageFileType::Tga)
        SwapRedBlue(decoded.Pixels, decoded.Components);
    Format = FormatOfComponents(decoded.Components);
    RawWidth = decoded.Width;
    RawHeight = decoded.Height;
    Data = std::move(decoded.Pixels);
}

void QRImage::CreateFilled(int width, int height, const QXColor& colour)
{
    Unload();
    const std::string refused = CheckImageSize(width, height, 3);
    if (!refused.empty()) {
        Engine()->Error("QR_IMAGE", "Cannot fill an image: " + refused);
        return;
    }
    const std::uint8_t pixel[3] = {ColourByte(colour.Z), ColourByte(colour.Y), ColourByte(colour.X)};
    Bitmap.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (std::size_t i = 0; i < Bitmap.size(); i += 3)
        std::copy(pixel, pixel + 3, Bitmap.begin() + static_cast<std::ptrdiff_t>(i));
    Width = width;
    Height = height;
    BitsPerPixel = 24;
    FinishLoad();
}

void QRImage::FlipVertical()
{
    FlipRows(Data, static_cast<std::size_t>(RawWidth) * static_cast<std::size_t>(BytesPerPixel(Format)), RawHeight);
}

void QRImage::ReleaseData()
{
    Bitmap.clear();
    Bitmap.shrink_to_fit();
    Data.clear();
    Data.shrink_to_fit();
    Width = Height = BitsPerPixel = 0;
    RawWidth = RawHeight = 0;
}
