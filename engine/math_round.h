#pragma once
#include <string>

#include "engine/qox_object.h"

class QMRound : public QOXObject {
    QOX_CLASS(QMRound)
public:
    QMRound(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}

    // Away from zero: x + 0.5 (or x - 0.5) rounded to nearest with halves to even.
    static int RoundAway(float x);
};
