#pragma once
// The band pictures of the ring sectors. The renderer stretches a band picture over one sector:
// s runs along the sector's angle (0 where it starts, 1 where it ends) and t across the band (0 at
// the inner edge, 1 at the outer); the loader flips PNG files, so the first row of the picture is
// the outer edge. The sector's colour multiplies the picture, so the bands stay light and neutral
// and carry only shading.
#include <QImage>

constexpr int kBandSize = 256;

QImage PaintElementBand();  // one sector: shaded edges on all four sides
QImage PaintRootBand();     // the full ring round the centre: seamless where s wraps at the top
QImage PaintPickedBand();   // overlay for the element under the pointer: a soft white glow
QImage PaintSelectedBand(); // overlay for a selected element: a bright rim round the sector
