// How long a message posted from a worker thread waits before the GUI application handles it on the
// message thread: through the handler's post (which wakes the pump at once) and through a messenger
// (which writes to the port directly and waits for the pump's timer). Needs a display (xvfb-run).

#include "core/Log.h"
#include "core/XHandler.h"
#include "core/XMessage.h"
#include "core/XMessenger.h"
#include "gui/XGuiApp.h"
#include "platform/DisplayPreparer.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <juce_gui_basics/juce_gui_basics.h>
#include <thread>
#include <vector>

namespace
{
constexpr int kSamples = 300;
constexpr uint32_t kProbeCode = 7201;
constexpr int kPauseBetweenPostsMs = 3;

class Probe final : public XHandler
{
public:
    Probe() : XHandler("bench-probe") {}
    void MessageReceived(XMessage& message) override
    {
        if (message.GetWhat() == kProbeCode)
            handledAt.store(PlatformClock::GetRealMicroseconds());
        else
            XHandler::MessageReceived(message);
    }
    std::atomic<uint64_t> handledAt{0};
};

/** Latencies in microseconds of kSamples posts made by post on a worker thread, while the message
    loop runs here. */
template <typename Post> std::vector<double> Measure(Probe& probe, Post post)
{
    std::vector<double> latencies;
    std::atomic<bool> done{false};
    std::thread worker(
        [&]
        {
            for (int i = 0; i < kSamples; ++i)
            {
                probe.handledAt.store(0);
                const uint64_t sent = PlatformClock::GetRealMicroseconds();
                post();
                while (probe.handledAt.load() == 0)
                    std::this_thread::yield();
                latencies.push_back(static_cast<double>(probe.handledAt.load() - sent));
                std::this_thread::sleep_for(std::chrono::milliseconds(kPauseBetweenPostsMs + i % 3));
            }
            done.store(true);
        });
    while (!done.load())
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    worker.join();
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

void Print(const char* what, const std::vector<double>& sorted)
{
    const auto at = [&](double fraction)
    { return sorted[static_cast<size_t>(fraction * (sorted.size() - 1))]; };
    std::printf("%-34s median %8.1f us   p99 %8.1f us   max %8.1f us\n", what, at(0.5), at(0.99),
                sorted.back());
}
} // namespace

int main()
{
    const juce::File scratch = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                   .getNonexistentChildFile("gui-pump-bench", "", false);
    scratch.createDirectory();
    ::setenv("XDG_CONFIG_HOME", scratch.getFullPathName().toRawUTF8(), 1);
    SetAppLogFolder(scratch.getFullPathName().toRawUTF8());
    DisplayPreparer::Prepare();
    juce::ScopedJuceInitialiser_GUI gui;
    auto* app = new XGuiApp("GuiPumpBench");
    app->initialise("");
    Probe probe;
    app->AddHandler(&probe);

    std::printf("GUI application pump: %d posts from a worker thread each\n", kSamples);
    Print("handler post (wake-up)", Measure(probe, [&] { probe.PostCode(kProbeCode); }));
    XMessenger messenger(&probe);
    Print("messenger send (timer, 10 ms)", Measure(probe,
                                                   [&]
                                                   {
                                                       XMessage message(kProbeCode, 0);
                                                       messenger.SendMessage(&message);
                                                   }));

    app->RemoveHandler(&probe);
    PlatformClock::SetTimeScale(100.0);
    app->shutdown();
    delete app;
    scratch.deleteRecursively();
    return 0;
}
