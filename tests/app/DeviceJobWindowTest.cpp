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
/** Time for the window to come up and be drawn before its picture is taken. */
constexpr juce::uint32 kShowSettleMs = 500;

/** While the modal window runs: once it has shown for a moment, takes its picture and plays the
    unit's confirmation of the listen mode. */
class ConfirmWhenShown final
{
public:
    ConfirmWhenShown(ListenModeMananger& job, XParam& listenMode)
        : job(job), listenMode(listenMode), driver([this](juce::Component& modal) { return Work(modal); })
    {
    }

    bool seen = false;

private:
    bool Work(juce::Component& modal)
    {
        if (modal.getName() != ListenModeMananger::kTitle)
            return false;
        const juce::uint32 now = juce::Time::getMillisecondCounter();
        if (shownSince == 0)
            shownSince = now;
        if (now - shownSince < kShowSettleMs)
            return false;
        GuiTestSupport::TakeScreenshot(modal, "DeviceJobWindow");
        seen = true;
        job.ParamChanged(static_cast<int32_t>(XMsgCode::kParamValueSet), &listenMode,
                         ListenModeMananger::kWatchKey);
        return true;
    }

    ListenModeMananger& job;
    XParam& listenMode;
    juce::uint32 shownSince = 0;
    GuiTestSupport::ModalDialogDriver driver; // last: it may call Work once the rest is built
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
    EXPECT_EQ(GuiTestSupport::FindShowingWindow(ListenModeMananger::kTitle), nullptr);
    EXPECT_EQ(link.RequestsOf("id").size(), 1u);
}
