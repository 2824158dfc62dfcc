#pragma once
// A small animated value: a progress t in [0, 1] advanced by Speed x the frame time, shaped by an
// easing curve, blending between a start and an end value.
#include <string>

#include "engine/qox_constant.h"
#include "resources/resource_main.h"

class QRIteration : public QOXResource {
    QOX_CLASS(QRIteration)
public:
    enum Curve { Linear = 0, Sine = 1, EaseInOut = 2 };
    enum Direction { Stopped = -1, Forwards = 0, Backwards = 1 };

    explicit QRIteration(QOXObject* owner);

    void SetScalar(float to, float from);
    void SetVector(const QXVector& from, const QXVector& to);
    void SetVector2(const QXVector2& from, const QXVector2& to);
    void SetVector3b(const QXVector& from, const QXVector& to);
    void SetCurve(int curve) { CurveKind = curve; }

    void Start(int curve, int direction, float speed);
    void Restart(float speed);
    void Tick();
    // Advances by the given frame time in seconds (Tick uses the engine timer's).
    void TickBy(float seconds);
    bool Running() const { return MoveDirection != Stopped; }

    float CurveValue() const;
    float Value() const;
    QXVector VectorValue() const;

    void Load(const std::string& fileName) override;

    float Progress = 0.0f;
    int CurveKind = Linear;
    int MoveDirection = Stopped;
    float Speed = 1.0f;
    float Scale2 = 1.0f;
    bool Loop = false;
    bool PingPong = false;
    float From = 0.0f;
    float To = 1.0f;
    QXVector FromVector{0.0f, 0.0f, 0.0f};
    QXVector ToVector{1.0f, 1.0f, 1.0f};
    QXVector2 FromVector2{0.0f, 0.0f};
    QXVector2 ToVector2{1.0f, 1.0f};
    QXVector FromVector3b{0.0f, 0.0f, 0.0f};
    QXVector ToVector3b{1.0f, 1.0f, 1.0f};
};
