#include "ring/resource_iteration.h"

#include "engine/qox_main.h"
#include "engine/qox_math.h"
#include "engine/qox_timer.h"

namespace {

const ResourceKind kIterationKind{"QOX Iteration", "", "", ResourceKind::Naming::FileNameOnly};

} // namespace

QRIteration::QRIteration(QOXObject* owner) : QOXResource(owner, kIterationKind) {}

void QRIteration::SetScalar(float to, float from)
{
    To = to;
    From = from;
}

void QRIteration::SetVector(const QXVector& from, const QXVector& to)
{
    FromVector = from;
    ToVector = to;
}

void QRIteration::SetVector2(const QXVector2& from, const QXVector2& to)
{
    FromVector2 = from;
    ToVector2 = to;
}

void QRIteration::SetVector3b(const QXVector& from, const QXVector& to)
{
    FromVector3b = from;
    ToVector3b = to;
}

void QRIteration::Start(int curve, int direction, float speed)
{
    CurveKind = curve;
    MoveDirection = direction;
    Speed = speed;
    Scale2 = 1.0f;
    Loop = false;
    PingPong = false;
    Progress = direction == Backwards ? 1.0f : 0.0f;
}

void QRIteration::Restart(float speed)
{
    Start(CurveKind, Forwards, speed);
}

void QRIteration::Tick()
{
    QOXEngine* engine = Engine();
    TickBy(engine != nullptr && engine->Timer != nullptr ? engine->Timer->GetDelta() : 0.0f);
}

void QRIteration::TickBy(float seconds)
{
    const float step = Speed * seconds;
    if (MoveDirection == Forwards) {
        Progress += step;
        if (Progress >= 1.0f) {
            Progress = 1.0f;
            if (PingPong)
                MoveDirection = Backwards;
            else if (Loop)
                Progress = 0.0f;
            else
                MoveDirection = Stopped;
        }
    } else if (MoveDirection == Backwards) {
        Progress -= step;
        if (Progress <= 0.0f) {
            Progress = 0.0f;
            if (PingPong)
                MoveDirection = Forwards;
            else if (Loop)
                Progress = 1.0f;
            else
                MoveDirection = Stopped;
        }
    }
}

float QRIteration::CurveValue() const
{
    const float t = Progress;
    switch (CurveKind) {
    case Linear:
        return t;
    case Sine:
        return QOXMath::SinDeg(90.0f * t);
    case EaseInOut:
        if (t <= 0.5f)
            return (1.0f - QOXMath::CosDeg(180.0f * t)) / 2.0f;
        return QOXMath::SinDeg(180.0f * (t - 0.5f)) / 2.0f + 0.5f;
    default:
        return -1.0f;
    }
}

float QRIteration::Value() const
{
    const float c = CurveValue();
    return (1.0f - c) * From + c * To;
}

QXVector QRIteration::VectorValue() const
{
    const float c = CurveValue();
    return {(1.0f - c) * FromVector.X + c * ToVector.X, (1.0f - c) * FromVector.Y + c * ToVector.Y,
            (1.0f - c) * FromVector.Z + c * ToVector.Z};
}

void QRIteration::Load(const std::string& /*fileName*/) {}
