#include "engine/qox_timer.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "platform/clock.h"

QOXTimer::QOXTimer(QOXObject* parent, const std::string& name) : QOXObject(parent, name)
{
    Clock = &platform::ProcessClock();
    Update();
    Update();
    FPS = 0;
    FrameCounter = 0;
    TotalFrames = 0;
    RunningTime = 0.0f;
    Seconds = 0;
}

void QOXTimer::Initialize()
{
    Frequency = Clock->TicksPerSecond();
    Engine()->Console->AddLine("QOX Engine: Timer Class initialized!");
}

void QOXTimer::Update()
{
    std::int64_t now = Clock->NowMilliseconds();
    // Wait until the clock has moved on, so that a frame never lasts zero seconds.
    while (now <= LastTime)
        now = Clock->NowMilliseconds();
    const double seconds = static_cast<double>(now - LastTime) * 0.001;
    LastTime = now;
    Delta = static_cast<float>(seconds) * Speed * TimeScale;
    ++FrameCounter;
    const int second = static_cast<int>(now / 1000);
    if (second != CurrentSecond) {
        FPS = FrameCounter;
        FrameCounter = 0;
        TotalFrames += FPS;
        ++Seconds;
        if (ShowFPS)
            Engine()->Console->AddLine("FPS: " + std::to_string(FPS));
    }
    CurrentSecond = second;
    RunningTime += Delta;
}

void QOXTimer::ReadCounter(std::int64_t& value) const
{
    value = Clock->NowTicks();
}

float QOXTimer::ElapsedSeconds(std::int64_t start) const
{
    const std::int64_t frequency = Frequency > 0 ? Frequency : Clock->TicksPerSecond();
    return static_cast<float>(static_cast<double>(Clock->NowTicks() - start) / static_cast<double>(frequency));
}

void QOXTimer::SetClock(platform::Clock* clock)
{
    Clock = clock != nullptr ? clock : &platform::ProcessClock();
    Frequency = Clock->TicksPerSecond();
    LastTime = Clock->NowMilliseconds();
    CurrentSecond = static_cast<int>(LastTime / 1000);
}
