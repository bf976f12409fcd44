#include "core/CpuClock.h"

#include "platform/PlatformCounters.h"

#include <atomic>
#include <limits>

namespace
{
constexpr int kMeasuringPasses = 3;
constexpr uint64_t kSettleCounts = 100;
constexpr uint64_t kPassCounts = 600000;
constexpr uint64_t kMicrosecondsPerSecond = 1000000;

// Written together by CalibrateClock; a reader racing a recalibration may pair a new rate with an
// old base, which is harmless (both come from the same counter).
std::atomic<uint32_t> ticksPerMicrosecond{0}; // 0 until the first calibration
std::atomic<uint64_t> baseMicroseconds{0};

uint32_t CalibratedTicksPerMicrosecond()
{
    uint32_t ticks = ticksPerMicrosecond.load(std::memory_order_acquire);
    if (ticks == 0)
    {
        CalibrateClock();
        ticks = ticksPerMicrosecond.load(std::memory_order_acquire);
    }
    return ticks;
}
} // namespace

uint64_t MeasureCpuFrequency(const CounterSource& source)
{
    if (source.frequency == 0 || !source.readPair)
        return 0;
    uint64_t counterTotal = 0;
    uint64_t stampTotal = 0;
    for (int pass = 0; pass < kMeasuringPasses; ++pass)
    {
        uint64_t start = 0;
        uint64_t ignored = 0;
        source.readPair(start, ignored);
        uint64_t firstCount = 0;
        uint64_t firstStamp = 0;
        do
            source.readPair(firstCount, firstStamp);
        while (firstCount - start < kSettleCounts);
        uint64_t secondCount = 0;
        uint64_t secondStamp = 0;
        do
            source.readPair(secondCount, secondStamp);
        while (secondCount - firstCount < kPassCounts);
        counterTotal += secondCount - firstCount;
        stampTotal += secondStamp - firstStamp;
    }
    const unsigned __int128 ticksPerSecond =
        static_cast<unsigned __int128>(source.frequency) * stampTotal / counterTotal;
    return ticksPerSecond > std::numeric_limits<uint64_t>::max() ? std::numeric_limits<uint64_t>::max()
                                                                 : static_cast<uint64_t>(ticksPerSecond);
}

uint64_t MeasureCpuFrequency()
{
    return MeasureCpuFrequency({PlatformCounters::PerformanceFrequency(), PlatformCounters::ReadPair});
}

uint32_t TicksPerMicrosecondOf(uint64_t ticksPerSecond)
{
    const uint64_t ticks = ticksPerSecond / kMicrosecondsPerSecond;
    if (ticks == 0)
        return 1;
    return ticks > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                        : static_cast<uint32_t>(ticks);
}

void CalibrateClock()
{
    const uint32_t ticks = TicksPerMicrosecondOf(MeasureCpuFrequency());
    baseMicroseconds.store(ReadTimeStampCounter() / ticks, std::memory_order_release);
    ticksPerMicrosecond.store(ticks, std::memory_order_release);
}

double GetElapsedMs()
{
    const uint32_t ticks = CalibratedTicksPerMicrosecond();
    const auto nowMicroseconds = static_cast<int64_t>(ReadTimeStampCounter() / ticks);
    const auto base = static_cast<int64_t>(baseMicroseconds.load(std::memory_order_acquire));
    return static_cast<double>(nowMicroseconds - base) * 0.001;
}

uint32_t GetTicksPerMicrosecond()
{
    return CalibratedTicksPerMicrosecond();
}

uint64_t ReadTimeStampCounter()
{
    return PlatformCounters::ReadTimeStampCounter();
}
