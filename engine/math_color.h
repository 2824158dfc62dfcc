#pragma once
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QMColor : public QOXObject {
    QOX_CLASS(QMColor)
public:
    QMColor(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}

    static float Average(const QXColor& color) { return (color.X + color.Y + color.Z) / 3.0f; }
    static QXColor ScaleColor(const QXColor& color, float f) { return {color.X * f, color.Y * f, color.Z * f}; }
    static QXColor MultiplyColor(const QXColor& a, const QXColor& b) { return {a.X * b.X, a.Y * b.Y, a.Z * b.Z}; }
};
