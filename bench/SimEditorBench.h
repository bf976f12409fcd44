#pragma once

// What the link's benchmarks share: the simulated unit started beside the benchmark in a device
// folder of its own, and the editor's side (groups, looper, link, connection, device watcher)
// connected to it with its maps built and every value of the unit received.

#include "device/DeviceCommWatcher.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "platform/PlatformClock.h"
#include "support/WatcherTestRig.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <juce_core/juce_core.h>
#include <memory>
#include <thread>
#include <vector>

namespace SimEditorBench
{
constexpr int kWaitMs = 30000;

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
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

/** The value at fraction (0..1) of sorted values; 0 for none. */
inline double Percentile(const std::vector<double>& sorted, double fraction)
{
    if (sorted.empty())
        return 0.0;
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

/** The simulated unit, run from beside the benchmark in a device folder of its own, which the
    editor's link is pointed at. Killed and removed when it goes. */
class Unit final
{
public:
    Unit() : folder(juce::File::createTempFile("krx640-bench"))
    {
        if (folder.createDirectory())
            ::setenv("KRX640_USB_DIR", folder.getFullPathName().toRawUTF8(), 1);
    }
    ~Unit()
    {
        Stop();
        folder.deleteRecursively();
    }
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    bool Start(const juce::StringArray& options)
    {
        const juce::File sim =
            juce::File::getSpecialLocation(juce::File::currentExecutableFile).getSiblingFile("krx640-sim");
        juce::StringArray arguments{sim.getFullPathName(), "--dir", folder.getFullPathName()};
        arguments.addArray(options);
        return folder.isDirectory() && process.start(arguments, 0);
    }
    void Stop()
    {
        if (process.isRunning())
            process.kill();
        process.waitForProcessToFinish(kWaitMs);
    }

private:
    juce::File folder;
    juce::ChildProcess process;
};

/** The editor's side connected to the unit; built and destroyed on one thread. Connection may be
    a subclass of TWRPCUSBConnection taking the link. */
template <typename Connection = TWRPCUSBConnection> class Editor final
{
public:
    Editor() : connection(link), watcher(&connection)
    {
        looper.Run();
        looper.AddHandler(&watcher);
    }
    ~Editor()
    {
        looper.RemoveHandler(&watcher);
        watcher.DetachFromConnection();
        connection.Stop();
    }
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    /** Connects, builds the maps (with the sender's timer) and receives every value of the unit. */
    bool Connect()
    {
        if (connection.Open() != 0)
            return false;
        watcher.SetAwaitingDeviceInfo(true);
        const bool answered = WaitUntil(
            [&]
            {
                watcher.RequestDeviceInfo();
                return WaitUntil([&] { return !watcher.IsAwaitingDeviceInfo(); }, 500);
            },
            kWaitMs);
        if (!answered)
            return false;
        watcher.BuildWireIdMaps(false);
        watcher.RequestAllParams();
        return WaitUntil([&] { return !watcher.IsReceivingAll(); }, kWaitMs);
    }

    WatcherRig::Groups groups;
    XLooper looper{"benchLooper"};
    UsbLinkManager link;
    Connection connection;
    DeviceCommWatcher watcher;
};

inline int Fail(const char* bench, const char* what)
{
    std::fprintf(stderr, "%s: %s\n", bench, what);
    return 1;
}
} // namespace SimEditorBench
