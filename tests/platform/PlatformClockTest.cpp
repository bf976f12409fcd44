#include "platform/PlatformClock.h"

#include <gtest/gtest.h>

namespace
{
/** Restores the production scale after each test. */
class PlatformClockTest : public ::testing::Test
{
protected:
    void TearDown() override { PlatformClock::SetTimeScale(1.0); }
};
} // namespace

TEST_F(PlatformClockTest, TickComparisonsHoldAcrossTheWrap)
{
    struct Case
    {
        uint32_t a, b;
        bool aBeforeB;
    };
    const Case cases[] = {
        {1, 2, true}, {2, 1, false}, {0xFFFFFFF0u, 5, true}, {5, 0xFFFFFFF0u, false}, {7, 7, false}};
    for (const auto& c : cases)
        EXPECT_EQ(PlatformClock::TickIsBefore(c.a, c.b), c.aBeforeB) << c.a << " vs " << c.b;
    EXPECT_EQ(PlatformClock::TicksSince(0xFFFFFFF0u, 0x10u), 0x20u);
}

TEST_F(PlatformClockTest, ScaledSleepAdvancesTheTickByTheFullAmountInLessRealTime)
{
    PlatformClock::SetTimeScale(100.0);
    const uint32_t startTick = PlatformClock::GetTickCount();
    const uint64_t startReal = PlatformClock::GetRealMicroseconds();
    PlatformClock::Sleep(2000);
    const uint32_t elapsedTicks = PlatformClock::TicksSince(startTick, PlatformClock::GetTickCount());
    const uint64_t elapsedRealMs = (PlatformClock::GetRealMicroseconds() - startReal) / 1000;
    EXPECT_GE(elapsedTicks, 2000u);
    EXPECT_LT(elapsedRealMs, 1000u);
}

TEST_F(PlatformClockTest, ScaleChangesKeepTheTickMonotonicAndNonZero)
{
    uint32_t previous = PlatformClock::GetTickCount();
    for (double scale : {1.0, 50.0, 0.5, -3.0, 0.0, 10.0})
    {
        PlatformClock::SetTimeScale(scale);
        const uint32_t now = PlatformClock::GetTickCount();
        EXPECT_NE(now, 0u);
        EXPECT_FALSE(PlatformClock::TickIsBefore(now, previous));
        previous = now;
    }
    EXPECT_EQ(PlatformClock::GetTimeScale(), 10.0);
}
