#pragma once
#include <string>

#include "engine/qox_object.h"

// Seeds the runtime's random generator from the clock when it is created.
class QMRandom : public QOXObject {
    QOX_CLASS(QMRandom)
public:
    QMRandom(QOXObject* parent, const std::string& name);
};
