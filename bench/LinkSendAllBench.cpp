// The send-all of the connect hand-shake against the simulated unit, without and with its meter
// readings and display: how long every value takes to leave for the unit, against the pump's pace
// of one frame per 5 ms turn (goal: within 1.1 x frames x 5 ms).
//
// usage: bench_LinkSendAllBench [runs]

#include "SimEditorBench.h"
#include "device/DeviceJobLink.h"
#include "device/SendAllParamsJob.h"
#include "device/WireId.h"

#include <cstdio>
#include <cstdlib>

namespace
{
constexpr const char* kName = "LinkSendAllBench";
constexpr double kGoalFactor = 1.1;

/** One send-all: its time in ms and the values it sent; false when the unit could not be reached. */
bool RunOnce(bool meters, double& elapsedMs, int& values)
{
    SimEditorBench::Unit unit;
    if (!unit.Start(meters ? juce::StringArray{"--meters"} : juce::StringArray{}))
        return false;
    SimEditorBench::Editor<> editor;
    if (!editor.Connect())
        return false;

    DeviceJobLink jobLink(&editor.watcher);
    SendAllParamsJob job(&jobLink);
    const uint64_t start = PlatformClock::GetRealMicroseconds();
    job.SendAllParams();
    elapsedMs = static_cast<double>(PlatformClock::GetRealMicroseconds() - start) / 1000.0;
    values = 0;
    for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
        values += DeviceCommWatcher::ShouldSendParam(editor.watcher.GetLiveParam(wireId), wireId) ? 1 : 0;
    return job.HasFinished();
}
} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    for (const bool meters : {false, true})
    {
        for (int run = 0; run < runs; ++run)
        {
            double elapsedMs = 0.0;
            int values = 0;
            if (!RunOnce(meters, elapsedMs, values) || values == 0)
                return SimEditorBench::Fail(kName, "the simulated unit did not answer");
            const double goalMs = kGoalFactor * values * UsbLinkManager::kPumpTurnMs;
            std::printf("%s: send-all %s meters, run %d: %d values in %.0f ms (%.2f ms a value); "
                        "goal %.0f ms: %s\n",
                        kName, meters ? "with" : "without", run + 1, values, elapsedMs, elapsedMs / values,
                        goalMs, elapsedMs <= goalMs ? "met" : "missed");
        }
    }
    return 0;
}
