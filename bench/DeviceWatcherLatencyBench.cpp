// Time from a parameter change to its frame leaving for the unit: the device watcher on a looper of
// its own sends to the simulated unit, and every edit is timed until the link has written the frame
// it caused. Prints the median and the 99th percentile over a few hundred edits.
//
// usage: bench_DeviceWatcherLatencyBench [edits]

#include "../tests/device/WatcherTestRig.h"
#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/DeviceCommWatcher.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "device/WireId.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <juce_core/juce_core.h>
#include <random>
#include <thread>
#include <vector>

namespace
{
constexpr int kDefaultEdits = 300;
constexpr int kWaitMs = 30000;
/** The longest pause between edits: spreads the edits over the sender's 100 ms period. */
constexpr int kMaxPauseMs = 100;
/** An edit that has not left after this long never will. */
constexpr uint64_t kGiveUpUs = 10000000;

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

int Fail(const char* what)
{
    std::fprintf(stderr, "DeviceWatcherLatencyBench: %s\n", what);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    const int edits = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultEdits;
    const juce::File folder = juce::File::createTempFile("krx640-bench");
    if (!folder.createDirectory())
        return Fail("cannot make a device folder");
    ::setenv("KRX640_USB_DIR", folder.getFullPathName().toRawUTF8(), 1);

    juce::ChildProcess unit;
    const juce::File sim =
        juce::File::getSpecialLocation(juce::File::currentExecutableFile).getSiblingFile("krx640-sim");
    if (!unit.start(juce::StringArray{sim.getFullPathName(), "--dir", folder.getFullPathName()}, 0))
        return Fail("cannot start krx640-sim beside the benchmark");

    int result = 0;
    {
        WatcherRig::Groups groups;
        XLooper looper("benchLooper");
        looper.Run();
        UsbLinkManager link;
        TWRPCUSBConnection connection(link);
        DeviceCommWatcher watcher(&connection);
        looper.AddHandler(&watcher);

        connection.Open();
        watcher.SetAwaitingDeviceInfo(true);
        const bool answered = WaitUntil(
            [&]
            {
                watcher.RequestDeviceInfo();
                return WaitUntil([&] { return !watcher.IsAwaitingDeviceInfo(); }, 500);
            },
            kWaitMs);
        watcher.BuildWireIdMaps(false);
        watcher.RequestAllParams();
        if (!answered || !WaitUntil([&] { return !watcher.IsReceivingAll(); }, kWaitMs))
        {
            result = Fail("the simulated unit did not answer");
        }
        else
        {
            std::mt19937 random(640);
            std::uniform_int_distribution<int> pause(0, kMaxPauseMs);
            std::vector<double> latenciesMs;
            for (int edit = 0; edit < edits; ++edit)
            {
                XParam* delay = GetOutputChannel(edit % WireIdSpace::kOutputCount)->GetParam(43);
                const int32_t queuedBefore = link.GetQueuedTotal();
                const uint64_t start = PlatformClock::GetRealMicroseconds();
                delay->ChangeValue((edit / WireIdSpace::kOutputCount) % 2 == 0 ? 1.5 : 2.5, true);
                // Written to the pipe: queued by the sender's tick, then taken by the link's pump.
                bool written = false;
                while (!written && PlatformClock::GetRealMicroseconds() - start < kGiveUpUs)
                {
                    written = link.GetQueuedTotal() > queuedBefore && link.GetPendingFrames() == 0;
                    std::this_thread::yield();
                }
                if (!written)
                {
                    result = Fail("an edit never left");
                    break;
                }
                latenciesMs.push_back(static_cast<double>(PlatformClock::GetRealMicroseconds() - start) /
                                      1000.0);
                std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
            }
            if (!latenciesMs.empty())
            {
                std::sort(latenciesMs.begin(), latenciesMs.end());
                double sum = 0.0;
                for (double latency : latenciesMs)
                    sum += latency;
                std::printf("DeviceWatcherLatencyBench: %d edits, change to frame written (ms): median %.1f, "
                            "99th percentile %.1f, mean %.1f, min %.1f, max %.1f\n",
                            edits, Percentile(latenciesMs, 0.5), Percentile(latenciesMs, 0.99),
                            sum / static_cast<double>(latenciesMs.size()), latenciesMs.front(),
                            latenciesMs.back());
            }
        }
        looper.RemoveHandler(&watcher);
        connection.Stop();
    }
    unit.kill();
    folder.deleteRecursively();
    return result;
}
