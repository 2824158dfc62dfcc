#pragma once
// Angle, vector and clamping helpers, and the six math sub-objects.
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QMCollision2D;
class QMCollision3D;
class QMMatrix;
class QMRandom;
class QMRound;
class QMColor;

class QOXMath : public QOXObject {
    QOX_CLASS(QOXMath)
public:
    enum Precision { Single = 0, Double = 1, Extended = 2 };

    QOXMath(QOXObject* parent, const std::string& name);

    void Initialize();
    // x86-64 computes singles in SSE registers; the mode is only recorded.
    void SetPrecision(Precision precision) { FloatPrecision = precision; }
    Precision GetPrecision() const { return FloatPrecision; }

    static float SinDeg(float degrees);
    static float CosDeg(float degrees);
    static float MinF(int a, int b);
    static float MaxF(int a, int b);
    static int MinInt(int a, int b);
    static int MaxInt(int a, int b);
    static float Frac(float x);
    static void Swap(int& a, int& b);
    static void SortPair(int& a, int& b);
    static void Clamp(float& value, float lower, float upper);
    static QXVector ScaleVector(const QXVector& v, float f);
    static QXVector AddVector(const QXVector& a, const QXVector& b);
    static QXVector SubVector(const QXVector& a, const QXVector& b);
    static QXVector2 ScaleVector2(const QXVector2& v, float f);
    static bool Greater2(const QXVector2& a, const QXVector2& b);
    static QXVector RotateVector(const QXVector& v, const QXVector& angles);
    static void MoveAlongX(QXVector& position, const QXVector& angles, float distance);
    static void MoveAlongY(QXVector& position, const QXVector& angles, float distance);

    // Owned as children.
    QMCollision2D* Collision2D = nullptr;
    QMCollision3D* Collision3D = nullptr;
    QMMatrix* Matrix = nullptr;
    QMRandom* Random = nullptr;
    QMRound* Round = nullptr;
    QMColor* Color = nullptr;

private:
    Precision FloatPrecision = Double;
};
