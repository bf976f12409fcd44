// A device job's progress window in a real window: it shows while the job waits and closes when the
// job ends.

#include "device/ui/DeviceJobWindow.h"

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "device/DeviceJobFakes.h"
#include "device/ListenModeMananger.h"
#include "support/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kCheckPeriodMs = 20;
/** Time for the window to come up and be drawn before its picture is taken. */
constexpr juce::uint32 kShowSettleMs = 500;

juce::TopLevelWindow* FindJobWindow(const char* title)
{
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
    {
        juce::TopLevelWindow* window = juce::TopLevelWindow::getTopLevelWindow(i);
        if (window != nullptr && window->getName() == title && window->isShowing())
            return window;
    }
    return nullptr;
}

/** While the modal window runs: once it has shown for a moment, takes its picture and plays the
    unit's confirmation of the listen mode. */
class ConfirmWhenShown final : public juce::Timer
{
public:
    ConfirmWhenShown(ListenModeMananger& job, XParam& listenMode) : job(job), listenMode(listenMode)
    {
        startTimer(kCheckPeriodMs);
    }

    void timerCallback() override
    {
        juce::TopLevelWindow* window = FindJobWindow(ListenModeMananger::kTitle);
        if (window == nullptr)
            return;
        const juce::uint32 now = juce::Time::getMillisecondCounter();
        if (shownSince == 0)
            shownSince = now;
        if (now - shownSince < kShowSettleMs)
            return;
        stopTimer();
        GuiTestSupport::TakeScreenshot(*window, "DeviceJobWindow");
        seen = true;
        job.ParamChanged(static_cast<int32_t>(XMsgCode::kParamValueSet), &listenMode,
                         ListenModeMananger::kWatchKey);
    }

    bool seen = false;

private:
    ListenModeMananger& job;
    XParam& listenMode;
    juce::uint32 shownSince = 0;
};
} // namespace

TEST(DeviceJobWindow, ShowsTheJobWhileItWaitsAndClosesWhenItEnds)
{
    DeviceJobFakes::FakeJobLink link;
    FloatParam listenMode;
    ListenModeMananger job(&link);
    ConfirmWhenShown confirmer(job, listenMode);

    EXPECT_TRUE(DeviceJobWindow::RunJob(job));
    EXPECT_TRUE(confirmer.seen);
    EXPECT_TRUE(job.IsDone());
    EXPECT_EQ(FindJobWindow(ListenModeMananger::kTitle), nullptr);
    EXPECT_EQ(link.RequestsOf("id").size(), 1u);
}
