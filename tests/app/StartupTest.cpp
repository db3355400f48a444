// The splash wait: up to the second whole-second boundary of the tick count, never over 2 s.
#include "app/Startup.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t waitFrom(std::uint32_t start)
{
    platform::FakeClock clock(start);
    return app::waitOutSplash(clock);
}

TEST(SplashWait, EndsAtTheSecondWholeSecondBoundary)
{
    EXPECT_EQ(waitFrom(5000), 2000u);   // just on a boundary: nearly two seconds
    EXPECT_EQ(waitFrom(5001), 1999u);
    EXPECT_EQ(waitFrom(5999), 1001u);   // just before one: a little over one second
    EXPECT_EQ(waitFrom(0), 2000u);
}

TEST(SplashWait, NeverLastsLongerThanTwoSecondsAcrossTheCountersWrap)
{
    for (std::uint32_t before = 1; before <= 3000; before += 7) {
        const std::uint32_t start = std::uint32_t(0) - before;
        const std::uint32_t waited = waitFrom(start);
        EXPECT_GT(waited, 1000u) << before;
        EXPECT_LE(waited, 2000u) << before;
    }
}

TEST(SplashWait, CopesWithAClockThatJumps)
{
    platform::FakeClock clock(4294967000u, 700);  // coarse ticks that step over the wrap
    EXPECT_LE(app::waitOutSplash(clock), 2100u);
    EXPECT_LE(clock.sleeps(), 3u);
}

} // namespace
