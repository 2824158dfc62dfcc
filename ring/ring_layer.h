#pragma once
// One band of a ring: its width and, computed by the ring, its inner radius.
#include "engine/qox_object.h"

class QRLayer : public QOXObject {
    QOX_CLASS(QRLayer)
public:
    static constexpr float kDefaultWidth = 12.0f;

    QRLayer(QOXObject* owner, int index, float width = kDefaultWidth);

    int Index = 0;
    float Width = kDefaultWidth;
    float InnerRadius = 0.0f; // the sum of the widths of the layers before it
};
