#include "resources/resource_font.h"

#include "engine/file_file.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_texture.h"

QRFont::QRFont(const std::string& fileName, int filter, QOXObject* owner)
    : QOXResource(owner, kFontKind), Filter(filter)
{
    Texture = QOXNew<QRTexture>(std::string(), this);
    if (!fileName.empty())
        QRFont::Load(fileName);
    AfterSetup();
}

void QRFont::Load(const std::string& fileName)
{
    BeginLoad(fileName);
    ReleaseTexture();
    CharWidths.fill(0);
    Texture = QOXNew<QRTexture>(fileName, this);
    SetFilter(Filter);
    const std::string widths = Engine()->FileSystem->MakePath(fileName, "txt");
    if (!Engine()->FileSystem->FileExists(widths, QOXFileSystem::ReportMissing))
        return;
    if (ReadWidths(widths))
        FinishLoad();
    else
        CharWidths.fill(0);
}

void QRFont::LoadCopyOf(const QRFont& source)
{
    BeginLoad(source.FileName);
    ReleaseTexture();
    CharWidths = source.CharWidths;
    Texture = QOXNew<QRTexture>(std::string(), this);
    Texture->LoadCopyOf(*source.Texture);
    SetFilter(Filter);
    if (source.IsLoaded())
        FinishLoad();
}

bool QRFont::ReadWidths(const std::string& path)
{
    QOXFile* file = Engine()->FileSystem->OpenRead(path, QOXFile::Text);
    while (!file->Eof() && !QOXFileSystem::IsSection(file->ReadLine(), "FONT_CHARWIDTH")) {
    }
    for (int row = 0; row < kGridSize && !file->Eof(); ++row) {
        const std::string line = file->ReadLine();
        if (line.empty())
            break;
        ReadWidthsRow(line, row);
    }
    const bool read = !file->WasRefused();
    file->Destroy();
    return read;
}

void QRFont::ReadWidthsRow(const std::string& line, int row)
{
    // Every third character starts a two-digit number; a missing number reads as -1 (255).
    for (int column = 0; column < kGridSize; ++column) {
        const std::size_t start = static_cast<std::size_t>(column) * 3;
        const std::string number = start < line.size() ? line.substr(start, 2) : std::string();
        CharWidths[static_cast<std::size_t>(row * kGridSize + column)] =
            static_cast<std::uint8_t>(QOXConvert::StrToInt(number));
    }
}

void QRFont::SetFilter(int mode)
{
    Filter = mode;
    if (Texture != nullptr && Texture->GLName != 0)
        GL()->TextureEngine->ApplyFilter(Texture->GLName, mode);
}

void QRFont::ReleaseTexture()
{
    if (Texture != nullptr)
        Texture->Destroy();
    Texture = nullptr;
}

void QRFont::ReleaseData()
{
    ReleaseTexture();
}
