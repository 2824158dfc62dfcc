// Paints the program's pictures, its icon and its default font into a textures folder, or the
// icon in the sizes of the desktop's icon theme into a hicolor folder:
//   orbivane-make-pictures <textures folder> [<font file>]
//   orbivane-make-pictures --icons <hicolor folder>
// tools/make-pictures.sh runs it on data/textures/ and data/icons/hicolor/. The output is the same
// on every run with the same font file, so regenerated pictures only change when this program does.
#include "tools/make-pictures/band_pictures.h"
#include "tools/make-pictures/font_sheet.h"
#include "tools/make-pictures/icon_picture.h"
#include "tools/make-pictures/picture_file.h"
#include "tools/make-pictures/scene_pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

namespace {

constexpr const char* kDefaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kFontSheetSize = 512;
constexpr const char* kIconName = "io.github.orbivane.Orbivane";
constexpr int kThemeSizes[] = {16, 32, 48, 128, 256};

bool SavePictures(const QDir& textures)
{
    struct Picture {
        const char* Name;
        QImage Image;
        PictureAlpha Alpha;
    };
    const Picture pictures[] = {
        {"element", PaintElementBand(), PictureAlpha::Opaque},
        {"root", PaintRootBand(), PictureAlpha::Opaque},
        {"picked", PaintPickedBand(), PictureAlpha::WithAlpha},
        {"selected", PaintSelectedBand(), PictureAlpha::WithAlpha},
        {"bg", PaintBackground(), PictureAlpha::Opaque},
        {"banana", PaintBanana(), PictureAlpha::WithAlpha},
        {"arrow", PaintArrow(), PictureAlpha::WithAlpha},
        {"icon", PaintIcon(), PictureAlpha::WithAlpha},
    };
    bool saved = true;
    for (const Picture& picture : pictures) {
        const QString path = textures.filePath(QString(picture.Name) + ".png");
        saved = SavePicture(picture.Image, picture.Alpha, path) && saved;
    }
    return saved;
}

bool SaveFont(const QDir& fonts, const QString& fontFile)
{
    const FontSheet sheet = PaintFontSheet(fontFile, kFontSheetSize);
    if (sheet.Glyphs.isNull())
        return false;
    std::printf("font %s at %d pixels in %d-pixel cells\n", qPrintable(fontFile), sheet.PixelSize,
                kFontSheetSize / kGlyphGrid);
    return SavePicture(sheet.Glyphs, PictureAlpha::WithAlpha, fonts.filePath("default.png")) &&
           SaveCharWidths(sheet.Widths, fonts.filePath("default.txt"));
}

// <hicolor>/<n>x<n>/apps/<name>.png for each size, and <hicolor>/scalable/apps/<name>.svg.
bool SaveThemeIcons(const QDir& hicolor)
{
    bool saved = true;
    for (int size : kThemeSizes) {
        const QString folder = QString("%1x%1/apps").arg(size);
        QImageWriter writer(hicolor.filePath(folder + "/" + kIconName + ".png"), "png");
        writer.setQuality(0);
        saved = hicolor.mkpath(folder) && writer.write(PaintIcon(size).convertToFormat(QImage::Format_RGBA8888)) && saved;
    }
    QFile svg(hicolor.filePath(QString("scalable/apps/") + kIconName + ".svg"));
    saved = hicolor.mkpath("scalable/apps") && svg.open(QIODevice::WriteOnly) && svg.write(IconSvg().toUtf8()) > 0 && saved;
    if (!saved)
        std::fprintf(stderr, "%s: cannot write the theme's icons\n", qPrintable(hicolor.path()));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc == 3 && QString(argv[1]) == "--icons")
        return SaveThemeIcons(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <textures folder> [<font file>]\n       %s --icons <hicolor folder>\n", argv[0],
                     argv[0]);
        return 2;
    }
    const QDir textures(QString::fromLocal8Bit(argv[1]));
    const QString fontFile = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString(kDefaultFontFile);
    if (!textures.mkpath("fonts")) {
        std::fprintf(stderr, "%s: cannot make the fonts folder\n", argv[1]);
        return 1;
    }
    const bool pictures = SavePictures(textures);
    const bool font = SaveFont(QDir(textures.filePath("fonts")), fontFile);
    return pictures && font ? 0 : 1;
}
