#pragma once
// The program's icon: a small ring as the program draws one, a root band and its folders and
// files in sectors of their sizes, one folder opened outwards. The same drawing as a picture of any
// size and as SVG, for the desktop's icon theme.
#include <QImage>
#include <QString>

// The icon in `size` x `size` pixels (the program's own texture is 256).
QImage PaintIcon(int size = 256);
// The icon as an SVG document of 256 x 256 units.
QString IconSvg();
