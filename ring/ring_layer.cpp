#include "ring/ring_layer.h"

QRLayer::QRLayer(QOXObject* owner, int index, float width)
    : QOXObject(owner, "QOX Ring Layer"), Index(index), Width(width)
{
}
