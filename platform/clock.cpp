#include "platform/clock.h"

#include <chrono>

namespace platform {

std::int64_t SteadyClock::NowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t SteadyClock::NowTicks()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t SteadyClock::TicksPerSecond()
{
    return 1'000'000'000;
}

std::int64_t ManualClock::NowMilliseconds()
{
    return Milliseconds;
}

std::int64_t ManualClock::NowTicks()
{
    return Milliseconds;
}

std::int64_t ManualClock::TicksPerSecond()
{
    return 1000;
}

void ManualClock::Advance(std::int64_t milliseconds)
{
    Milliseconds += milliseconds;
}

SteadyClock& ProcessClock()
{
    static SteadyClock clock;
    return clock;
}

} // namespace platform
