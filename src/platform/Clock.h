// The system tick count and a short sleep, behind an interface so that waits can be tested with
// a clock that the test drives.
#pragma once

#include <cstdint>

namespace platform {

class TickClock {
public:
    virtual ~TickClock() = default;
    // Milliseconds since an arbitrary start, unsigned 32 bits: it wraps after about 49.7 days.
    virtual std::uint32_t tickCount() = 0;
    virtual void sleepOneMillisecond() = 0;
};

// The monotonic clock of the system.
class SystemClock : public TickClock {
public:
    std::uint32_t tickCount() override;
    void sleepOneMillisecond() override;
};

// A clock that moves on only when told to, or by a fixed step at each sleep.
class FakeClock : public TickClock {
public:
    explicit FakeClock(std::uint32_t start, std::uint32_t stepPerSleep = 1)
        : now_(start), step_(stepPerSleep) {}
    std::uint32_t tickCount() override { return now_; }
    void sleepOneMillisecond() override { now_ += step_; ++sleeps_; }
    std::uint64_t sleeps() const { return sleeps_; }

private:
    std::uint32_t now_;
    std::uint32_t step_;
    std::uint64_t sleeps_ = 0;
};

} // namespace platform
