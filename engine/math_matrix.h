#pragma once
#include <string>

#include "engine/qox_object.h"

// A math sub-object kept for the engine's object tree; it has no operations of its own yet.
class QMMatrix : public QOXObject {
    QOX_CLASS(QMMatrix)
public:
    QMMatrix(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}
};
