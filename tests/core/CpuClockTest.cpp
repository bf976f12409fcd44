#include "core/CpuClock.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace
{
/** Counters that move by fixed steps on every reading: a performance counter at 10 MHz and a
    time-stamp counter at stampHz. */
CounterSource SteppingSource(uint64_t stampHz)
{
    constexpr uint64_t kFrequency = 10000000;
    constexpr uint64_t kCountsPerRead = 50;
    auto count = std::make_shared<uint64_t>(12345);
    CounterSource source;
    source.frequency = kFrequency;
    source.readPair = [count, stampHz](uint64_t& performance, uint64_t& stamp)
    {
        *count += kCountsPerRead;
        performance = *count;
        stamp = static_cast<uint64_t>(static_cast<unsigned __int128>(*count) * stampHz / kFrequency);
    };
    return source;
}
} // namespace

TEST(CpuClockTest, MeasuredRateAndTicksPerMicrosecondHoldAbove4Point3GHz)
{
    struct Case
    {
        uint64_t stampHz;
        uint32_t ticksPerMicrosecond;
    };
    const Case cases[] = {
        {1000000000u, 1000}, {3600000000u, 3600}, {5000000000u, 5000}, {12000000000u, 12000}};
    for (const auto& c : cases)
    {
        const uint64_t measured = MeasureCpuFrequency(SteppingSource(c.stampHz));
        EXPECT_NEAR(static_cast<double>(measured), static_cast<double>(c.stampHz), c.stampHz * 1e-6)
            << c.stampHz;
        EXPECT_EQ(TicksPerMicrosecondOf(measured + 10), c.ticksPerMicrosecond) << c.stampHz;
    }
}

TEST(CpuClockTest, NoCounterMeansNoRateAndAtLeastOneTickPerMicrosecond)
{
    EXPECT_EQ(MeasureCpuFrequency(CounterSource{}), 0u);
    EXPECT_EQ(TicksPerMicrosecondOf(0), 1u);
    EXPECT_EQ(TicksPerMicrosecondOf(999999), 1u);
}

TEST(CpuClockTest, ElapsedMillisecondsFollowWallTime)
{
    CalibrateClock();
    EXPECT_GE(GetTicksPerMicrosecond(), 1u);
    const double startMs = GetElapsedMs();
    const auto wallStart = std::chrono::steady_clock::now();
    EXPECT_GE(startMs, 0.0);
    EXPECT_LT(startMs, 1000.0) << "a calibration starts the count again";

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double endMs = GetElapsedMs();
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
    // Both measure the same interval; allow for being descheduled between the paired readings.
    EXPECT_NEAR(endMs - startMs, wallMs, 0.02 * wallMs + 20.0);
}

TEST(CpuClockTest, ReadersRaceARecalibrationSafely)
{
    std::atomic<bool> stop{false};
    std::thread reader(
        [&stop]
        {
            while (!stop.load())
                EXPECT_GT(GetElapsedMs(), -1000.0);
        });
    for (int i = 0; i < 5; ++i)
        CalibrateClock();
    stop = true;
    reader.join();
}
