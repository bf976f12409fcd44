// Measures the looper: the latency of a message posted from another thread until its handler runs,
// the throughput of posted messages, and how late a 100 ms periodic timer fires on a looper thread.

#include "core/ThreadServices.h"
#include "core/XHandler.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XSemaphore.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace
{
constexpr uint32_t kPingCode = 7001;
constexpr int kLatencyRounds = 2000;
constexpr int kThroughputMessages = 100000;
constexpr int32_t kTimerPeriodMs = 100;
constexpr int kTimerTicks = 30;
constexpr int32_t kTimerId = 1;
constexpr int32_t kWaitMs = 60000;

class BenchHandler final : public XHandler
{
public:
    BenchHandler() : XHandler("bench") {}
    ~BenchHandler() override
    {
        if (XLooper* looper = GetLooper())
            looper->RemoveHandler(this);
    }

    void MessageReceived(XMessage& message) override
    {
        if (received.fetch_add(1) + 1 == expected.load())
            done.Signal();
    }
    void OnTimer(int32_t timerId) override
    {
        if (ticks.size() < static_cast<size_t>(kTimerTicks))
            ticks.push_back(PlatformClock::GetRealMicroseconds());
        if (ticks.size() == static_cast<size_t>(kTimerTicks))
            done.Signal();
    }

    std::atomic<int> received{0};
    std::atomic<int> expected{1};
    XSemaphore done{1};
    std::vector<uint64_t> ticks; // the looper thread's only until done
};

void Report(const char* what, std::vector<double> values, const char* unit)
{
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values)
        sum += v;
    std::printf("%-34s mean %8.1f  median %8.1f  p99 %8.1f  max %8.1f %s\n", what, sum / values.size(),
                values[values.size() / 2], values[values.size() * 99 / 100], values.back(), unit);
}
} // namespace

int main()
{
    auto* looper = new XLooper("bench looper");
    BenchHandler handler;
    looper->AddHandler(&handler);
    looper->Run();

    std::vector<double> latencies;
    XMessage ping(kPingCode, 0);
    for (int i = 0; i < kLatencyRounds; ++i)
    {
        handler.received.store(0);
        handler.expected.store(1);
        const uint64_t start = PlatformClock::GetRealMicroseconds();
        handler.PostMessage(&ping);
        handler.done.Wait(kWaitMs);
        latencies.push_back(static_cast<double>(PlatformClock::GetRealMicroseconds() - start));
    }
    Report("post -> handler, other thread:", latencies, "us");

    handler.received.store(0);
    handler.expected.store(kThroughputMessages);
    const uint64_t start = PlatformClock::GetRealMicroseconds();
    for (int i = 0; i < kThroughputMessages; ++i)
        handler.PostMessage(&ping);
    handler.done.Wait(kWaitMs);
    const double seconds = (PlatformClock::GetRealMicroseconds() - start) / 1e6;
    std::printf("%-34s %.0f messages/s (%d in %.3f s)\n", "posted throughput:", kThroughputMessages / seconds,
                kThroughputMessages, seconds);

    looper->SetTimer(&handler, kTimerId, kTimerPeriodMs, false);
    const uint64_t timerStart = PlatformClock::GetRealMicroseconds();
    handler.done.Wait(kWaitMs);
    looper->RemoveAllTimers(&handler);
    std::vector<double> lateness;
    for (size_t i = 0; i < handler.ticks.size(); ++i)
    {
        const double ideal = static_cast<double>(timerStart) + (i + 1) * kTimerPeriodMs * 1000.0;
        lateness.push_back((static_cast<double>(handler.ticks[i]) - ideal) / 1000.0);
    }
    Report("100 ms timer, drift from start:", lateness, "ms");
    std::vector<double> intervals;
    for (size_t i = 1; i < handler.ticks.size(); ++i)
        intervals.push_back((handler.ticks[i] - handler.ticks[i - 1]) / 1000.0);
    Report("100 ms timer, interval:", intervals, "ms");

    delete looper;
    return 0;
}
