// Time from the editor's start to the unit connected and to the main window painted, against the
// simulated unit: the program's whole start-up (GUI, link, parameter model, main window, connection,
// the connect hand-shake with its fixed waits) as JUCE's runner runs it, the connect dialog answered
// at once with "take the unit's data". Needs a display (run it under xvfb-run). Real time, at the
// platform clock's scale (1 unless KRX640_TIME_SCALE says otherwise).

#include "SimEditorBench.h"
#include "app/QM7App.h"
#include "core/Log.h"
#include "gui/XDialog.h"
#include "gui/XMainWindow.h"
#include "gui/XOKDialog.h"

#include <cstdio>
#include <cstdlib>
#include <juce_gui_basics/juce_gui_basics.h>
#include <string>

namespace
{
uint64_t start = 0;
uint64_t connectedAt = 0;
uint64_t paintedAt = 0;

double MsSinceStart(uint64_t at)
{
    return at == 0 ? -1.0 : static_cast<double>(at - start) / 1000.0;
}

/** Looks, whenever the message loop runs, for the main window on the screen and paints it. */
class PaintProbe final : public juce::Timer
{
public:
    void timerCallback() override
    {
        for (int i = 0; i < juce::Desktop::getInstance().getNumComponents(); ++i)
        {
            auto* window = dynamic_cast<XMainWindow*>(juce::Desktop::getInstance().getComponent(i));
            if (window == nullptr || !window->isShowing() || window->getPeer() == nullptr)
                continue;
            window->getPeer()->performAnyPendingRepaintsNow();
            paintedAt = PlatformClock::GetRealMicroseconds();
            stopTimer();
            return;
        }
    }
};
} // namespace

int main()
{
    std::string scratch = "/tmp/krx-startup-bench-XXXXXX";
    if (mkdtemp(&scratch[0]) == nullptr)
        return 1;
    setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    SetAppLogFolder(scratch.c_str());

    SimEditorBench::Unit unit;
    if (!unit.Start({}))
    {
        std::printf("the simulated unit could not be started\n");
        return 1;
    }
    // The editor scans once at start: the unit's pipes are there first.
    const juce::File unitFolder = juce::File(std::getenv("KRX640_USB_DIR")).getChildFile("unit0");
    if (!SimEditorBench::WaitUntil(
            [&] {
                return unitFolder.getChildFile("PIPE00").exists() &&
                       unitFolder.getChildFile("PIPE01").exists();
            },
            SimEditorBench::kWaitMs))
    {
        std::printf("the simulated unit's pipes did not appear\n");
        return 1;
    }
    juce::ScopedJuceInitialiser_GUI gui;
    XDialog::SetAnswerHook(
        [](XDialog& dialog)
        {
            auto* box = dynamic_cast<XOKDialog*>(&dialog);
            if (box != nullptr && box->GetDialogTitle() == XString(QM7App::kConnectTitle) && connectedAt == 0)
                connectedAt = PlatformClock::GetRealMicroseconds();
            return XDialog::kOK;
        });
    PaintProbe probe;
    probe.startTimer(1);

    start = PlatformClock::GetRealMicroseconds();
    auto* app = new QM7App();
    app->initialise("");
    const uint64_t startedAt = PlatformClock::GetRealMicroseconds();
    SimEditorBench::WaitUntil(
        [&]
        {
            juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
            return paintedAt != 0;
        },
        SimEditorBench::kWaitMs);
    std::printf("time scale                                 %9.1f\n", PlatformClock::GetTimeScale());
    std::printf("start to unit connected (device info in)   %9.1f ms\n", MsSinceStart(connectedAt));
    std::printf("start to main window painted               %9.1f ms\n", MsSinceStart(paintedAt));
    std::printf("start to start-up complete (hand-shake)    %9.1f ms\n", MsSinceStart(startedAt));
    XDialog::SetAnswerHook({});
    app->shutdown();
    delete app;
    return connectedAt != 0 && paintedAt != 0 ? 0 : 1;
}
