#include "engine/qox_math.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "engine/math_collision_2D.h"
#include "engine/math_collision_3D.h"
#include "engine/math_color.h"
#include "engine/math_matrix.h"
#include "engine/math_random.h"
#include "engine/math_round.h"
#include "engine/qox_console.h"
#include "engine/qox_main.h"

namespace {

float Radians(float degrees)
{
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

} // namespace

QOXMath::QOXMath(QOXObject* parent, const std::string& name) : QOXObject(parent, name)
{
    Collision2D = QOXNew<QMCollision2D>(this, "QOX Engine Math Collision 2D");
    Collision3D = QOXNew<QMCollision3D>(this, "QOX Engine Math Collision 3D");
    Matrix = QOXNew<QMMatrix>(this, "QOX Engine Math Matrix");
    Random = QOXNew<QMRandom>(this, "QOX Engine Math Random");
    Round = QOXNew<QMRound>(this, "QOX Engine Math Round");
    Color = QOXNew<QMColor>(this, "QOX Engine Math Color");
}

void QOXMath::Initialize()
{
    SetPrecision(Single);
    Engine()->Console->AddLine("QOX Engine: Math Class initialized!");
}

float QOXMath::SinDeg(float degrees)
{
    return std::sin(Radians(degrees));
}

float QOXMath::CosDeg(float degrees)
{
    return std::cos(Radians(degrees));
}

float QOXMath::MinF(int a, int b)
{
    return static_cast<float>(a < b ? a : b);
}

float QOXMath::MaxF(int a, int b)
{
    return static_cast<float>(a > b ? a : b);
}

int QOXMath::MinInt(int a, int b)
{
    return a < b ? a : b;
}

int QOXMath::MaxInt(int a, int b)
{
    return a > b ? a : b;
}

float QOXMath::Frac(float x)
{
    // nearbyint rounds halves to even in the default rounding mode.
    if (x >= 0.0f)
        return x - std::nearbyint(x - 0.5f);
    return -(-x - std::nearbyint(-x - 0.5f));
}

void QOXMath::Swap(int& a, int& b)
{
    std::swap(a, b);
}

void QOXMath::SortPair(int& a, int& b)
{
    if (b < a)
        std::swap(a, b);
}

void QOXMath::Clamp(float& value, float lower, float upper)
{
    if (value < lower)
        value = lower;
    if (value > upper)
        value = upper;
}

QXVector QOXMath::ScaleVector(const QXVector& v, float f)
{
    return {v.X * f, v.Y * f, v.Z * f};
}

QXVector QOXMath::AddVector(const QXVector& a, const QXVector& b)
{
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}

QXVector QOXMath::SubVector(const QXVector& a, const QXVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

QXVector2 QOXMath::ScaleVector2(const QXVector2& v, float f)
{
    return {v.X * f, v.Y * f};
}

bool QOXMath::Greater2(const QXVector2& a, const QXVector2& b)
{
    return a.X > b.X && a.Y > b.Y;
}

QXVector QOXMath::RotateVector(const QXVector& v, const QXVector& angles)
{
    const float sa = SinDeg(angles.X), ca = CosDeg(angles.X);
    const float sb = SinDeg(angles.Y), cb = CosDeg(angles.Y);
    const float sc = SinDeg(angles.Z), cc = CosDeg(angles.Z);
    const float x1 = v.X * cc - v.Y * sc;
    const float y1 = v.X * sc + v.Y * cc;
    const float y2 = y1 * ca - v.Z * sa;
    const float z2 = y1 * sa + v.Z * ca;
    const float x3 = z2 * sb + x1 * cb;
    const float z3 = z2 * cb - x1 * sb;
    return {x3, y2, z3};
}

void QOXMath::MoveAlongX(QXVector& position, const QXVector& angles, float distance)
{
    position = AddVector(position, RotateVector({distance, 0.0f, 0.0f}, angles));
}

void QOXMath::MoveAlongY(QXVector& position, const QXVector& angles, float distance)
{
    position = AddVector(position, RotateVector({0.0f, distance, 0.0f}, angles));
}
