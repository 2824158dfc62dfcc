#pragma once
// The program's icon: a small ring as the program draws one, a root band and its folders and
// files in sectors of their sizes, one folder opened outwards.
#include <QImage>

QImage PaintIcon();
