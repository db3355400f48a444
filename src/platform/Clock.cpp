#include "Clock.h"

#include <ctime>
#include <thread>

namespace platform {

std::uint32_t SystemClock::tickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms = std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void SystemClock::sleepOneMillisecond()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace platform
