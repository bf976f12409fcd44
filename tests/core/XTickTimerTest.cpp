#include "core/XTickTimer.h"

#include <gtest/gtest.h>

TEST(XTickTimerTest, MicrosOfTheCounterDifference)
{
    struct Case
    {
        uint64_t difference;
        uint32_t ticksPerMicrosecond;
        uint32_t micros;
    };
    const Case cases[] = {
        {0, 3, 0},
        {3000, 3, 1000},
        {2999, 3, 999},
        {uint64_t{2} << 32, 3, 2863311530u},
        {uint64_t{3} << 32, 3, XTickTimer::kOverflow},
        {~uint64_t{0}, 3000, XTickTimer::kOverflow},
        {1000, 0, XTickTimer::kOverflow},
    };
    for (const auto& c : cases)
        EXPECT_EQ(XTickTimer::MicrosOf(c.difference, c.ticksPerMicrosecond), c.micros) << c.difference;
}

TEST(XTickTimerTest, SmallRightAfterStart)
{
    XTickTimer timer;
    timer.Start();
    EXPECT_LT(timer.ElapsedMicros(), 5000000u);
}
