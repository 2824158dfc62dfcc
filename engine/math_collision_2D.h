#pragma once
#include <string>

#include "engine/qox_object.h"

// A math sub-object kept for the engine's object tree; it has no operations of its own yet.
class QMCollision2D : public QOXObject {
    QOX_CLASS(QMCollision2D)
public:
    QMCollision2D(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}
};
