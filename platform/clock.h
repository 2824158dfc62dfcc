#pragma once
// Monotonic time for the frame timer. Monotonic, so that the frame time never goes negative
// (crossing midnight or a change of the wall clock does not stall the frame).
#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMilliseconds() = 0;
    virtual std::int64_t NowTicks() = 0; // high-resolution counter
    virtual std::int64_t TicksPerSecond() = 0;
};

class SteadyClock : public Clock {
public:
    std::int64_t NowMilliseconds() override;
    std::int64_t NowTicks() override;
    std::int64_t TicksPerSecond() override;
};

// A clock that only moves when told to; for tests.
class ManualClock : public Clock {
public:
    std::int64_t NowMilliseconds() override;
    std::int64_t NowTicks() override;
    std::int64_t TicksPerSecond() override;
    void Advance(std::int64_t milliseconds);

    std::int64_t Milliseconds = 0;
};

SteadyClock& ProcessClock();

} // namespace platform
