#pragma once
// Frame time, frames per second and running time. Everything that moves or fades scales its step
// by Delta, so motion does not depend on the frame rate. Time comes from a monotonic clock.
#include <cstdint>
#include <string>

#include "engine/qox_object.h"

namespace platform {
class Clock;
}

class QOXTimer : public QOXObject {
    QOX_CLASS(QOXTimer)
public:
    QOXTimer(QOXObject* parent, const std::string& name);

    void Initialize();
    void Update();

    float GetDelta() const { return Delta; }
    int GetFPS() const { return FPS; }
    float GetRunningTime() const { return RunningTime; }
    void AddDelta(float& number) const { number += Delta; }
    void AddDeltaScaled(float& number, float factor) const { number += Delta * factor; }
    void SubDelta(float& number) const { number -= Delta; }
    void SubDeltaScaled(float& number, float factor) const { number -= Delta * factor; }
    void SetShowFPS(bool show) { ShowFPS = show; }

    void ReadCounter(std::int64_t& value) const;
    float ElapsedSeconds(std::int64_t start) const;

    // Replaces the clock (tests); the next Update measures from the new clock's present.
    void SetClock(platform::Clock* clock);

    float Speed = 1.0f;
    bool ShowFPS = false;
    float TimeScale = 1.0f;
    int FPS = 0;
    int FrameCounter = 0;
    int TotalFrames = 0;
    float Delta = 0.0f;
    std::int64_t LastTime = 0;
    int CurrentSecond = 0;
    float RunningTime = 0.0f;
    int Seconds = 0;
    std::int64_t Frequency = 0;

private:
    platform::Clock* Clock = nullptr; // not owned; the process clock unless a test replaces it
};
