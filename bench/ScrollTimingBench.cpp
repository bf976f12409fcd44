// The timing of the self-driven scrolling views, measured on the real clock while the GUI
// application's loop runs: the scroll pane's marquee (one pixel per tick, at least 30 ms apart),
// the scroll bar's auto-repeat (200 ms, then 20 ms sooner each time down to 20 ms) and the scaler's
// arrow repeat (every 50 ms towards the end, every 100 ms towards the start). Needs a display
// (xvfb-run).

#include "core/Log.h"
#include "core/XMessage.h"
#include "gui/IScalerTarget.h"
#include "gui/XGuiApp.h"
#include "gui/XScaler.h"
#include "gui/XScrollPane.h"
#include "platform/DisplayPreparer.h"
#include "platform/PlatformClock.h"
#include "widgets/XScrollBar.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <vector>

namespace
{
constexpr int kRunMs = 1500;

/** The intervals in milliseconds between changes of value() while the loop runs for runMs. */
std::vector<double> Intervals(const std::function<int64_t()>& value, int runMs)
{
    std::vector<double> gaps;
    int64_t last = value();
    uint64_t lastAt = PlatformClock::GetRealMicroseconds();
    const uint64_t end = lastAt + static_cast<uint64_t>(runMs) * 1000;
    while (PlatformClock::GetRealMicroseconds() < end)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil(1);
        const int64_t now = value();
        if (now == last)
            continue;
        const uint64_t at = PlatformClock::GetRealMicroseconds();
        gaps.push_back(static_cast<double>(at - lastAt) / 1000.0);
        last = now;
        lastAt = at;
    }
    return gaps;
}

void Print(const char* what, const std::vector<double>& gaps, size_t shown)
{
    std::printf("%-40s", what);
    for (size_t i = 0; i < gaps.size() && i < shown; ++i)
        std::printf(" %6.1f", gaps[i]);
    std::printf("  ms (%zu changes)\n", gaps.size());
}

/** A scaler target that counts its steps. */
class CountingTarget final : public IScalerTarget
{
public:
    double GetRangeStart(bool) override { return 0; }
    double GetRangeEnd(bool) override { return 10; }
    double GetContentLength(bool) override { return 100; }
    bool HasOverview(bool) override { return false; }
    void DrawOverview(XCanvas&, const XRect&, const XRect&, const XRect&, bool) override {}
    void SetRange(double, double, bool) override {}
    void SetRangeStart(double, bool) override {}
    void Step(int, bool) override { ++steps; }
    bool CanZoom(bool) override { return false; }
    int64_t steps = 0;
};
} // namespace

int main()
{
    const juce::File scratch = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                   .getNonexistentChildFile("scroll-timing-bench", "", false);
    scratch.createDirectory();
    ::setenv("XDG_CONFIG_HOME", scratch.getFullPathName().toRawUTF8(), 1);
    SetAppLogFolder(scratch.getFullPathName().toRawUTF8());
    DisplayPreparer::Prepare();
    juce::ScopedJuceInitialiser_GUI gui;
    auto* app = new XGuiApp("ScrollTimingBench");
    app->initialise("");
    {
        XView root(XRect(0, 0, 400, 400));
        root.Attach();
        root.setVisible(true);

        for (int period : {10, 150})
        {
            auto* pane = new XScrollPane();
            XMessage block;
            block.AddRect("frame", XRect(0, 0, 100, 50));
            block.AddString("style", "marquee");
            block.AddInt32("marquee period", period);
            pane->ReadAttributes(block);
            root.AddChild(pane);
            pane->AddChild(new XView(XRect(0, 0, 90, 2000)));
            char title[64];
            std::snprintf(title, sizeof title, "marquee, \"marquee period\" %d:", period);
            Print(title, Intervals([pane] { return pane->GetScrollPosition(false); }, kRunMs), 8);
            delete root.RemoveChild(pane);
        }

        auto* bar = new XScrollBar();
        XMessage barBlock;
        barBlock.AddRect("frame", XRect(0, 0, 20, 240));
        barBlock.AddInt32("max", 100000);
        bar->ReadAttributes(barBlock);
        root.AddChild(bar);
        bar->MouseDown(XPoint(10, bar->GetHeight() - 2), XView::kButtonLeft);
        Print("scroll bar, increase arrow held:", Intervals([bar] { return bar->GetPosition(); }, kRunMs),
              13);
        bar->MouseUp(XPoint(10, bar->GetHeight() - 2), XView::kButtonLeft);

        CountingTarget target;
        auto* scaler = new XScaler();
        XMessage scalerBlock;
        scalerBlock.AddRect("frame", XRect(0, 0, 20, 140));
        scalerBlock.AddBool("buttons", true);
        scaler->ReadAttributes(scalerBlock);
        root.AddChild(scaler);
        scaler->AddTarget(&target);
        scaler->MouseDown(XPoint(10, 135), XView::kButtonLeft);
        Print("scaler, end arrow held:", Intervals([&target] { return target.steps; }, kRunMs / 3), 8);
        scaler->MouseUp(XPoint(10, 135), XView::kButtonLeft);
        scaler->MouseDown(XPoint(10, 5), XView::kButtonLeft);
        Print("scaler, start arrow held:", Intervals([&target] { return target.steps; }, kRunMs / 3), 8);
        scaler->MouseUp(XPoint(10, 5), XView::kButtonLeft);
        scaler->RemoveTarget(&target);
    }
    PlatformClock::SetTimeScale(100.0);
    app->shutdown();
    delete app;
    scratch.deleteRecursively();
    return 0;
}
