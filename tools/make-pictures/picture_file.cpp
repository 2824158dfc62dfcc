#include "tools/make-pictures/picture_file.h"

#include <QImageWriter>

#include <cstdio>

bool IsPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

bool SavePicture(const QImage& picture, PictureAlpha alpha, const QString& path)
{
    if (!IsPowerOfTwo(picture.width()) || !IsPowerOfTwo(picture.height())) {
        std::fprintf(stderr, "%s: %d x %d is not a power of two\n", qPrintable(path), picture.width(),
                     picture.height());
        return false;
    }
    const QImage::Format format =
        alpha == PictureAlpha::WithAlpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    QImageWriter writer(path, "png");
    writer.setQuality(0); // smallest file: the strongest compression
    if (!writer.write(picture.convertToFormat(format))) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}
