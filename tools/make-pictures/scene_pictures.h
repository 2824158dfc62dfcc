#pragma once
// The pictures of the application scene.
#include <QImage>

// The background, stretched over the whole view: a soft slate gradient, mid-dark so that white
// text added onto it and the subtractive ring shadow both show.
QImage PaintBackground();

// The picture shown 256 x 256 in the middle of the background in "BananaMode": a banana cut out
// by its alpha channel (the background is drawn unblended, so alpha testing cuts at one half).
QImage PaintBanana();

// The ring list's scroll arrow, pointing right (the left one is the same picture mirrored): white
// with a soft dark edge, drawn blended at half opacity over the ring list's box.
QImage PaintArrow();
