#pragma once
#include <string>

#include "engine/qox_object.h"

// A math sub-object kept for the engine's object tree; it has no operations of its own yet.
class QMCollision3D : public QOXObject {
    QOX_CLASS(QMCollision3D)
public:
    QMCollision3D(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}
};
