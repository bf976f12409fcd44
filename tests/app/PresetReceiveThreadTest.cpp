// The preset receive's progress window in a real window: what it shows and its cancel button.

#include "device/ui/PresetReceiveThread.h"

#include "device/FakePresetUnit.h"
#include "device/PresetsManager.h"
#include "platform/PlatformClock.h"
#include "support/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kWaitMs = 30000;
constexpr int kCheckPeriodMs = 20;
/** Time for the window's bar to catch up with the job (it moves there gradually). */
constexpr juce::uint32 kBarSettleMs = 1500;

/** The receive's window, when it is on the screen. */
juce::TopLevelWindow* FindReceiveWindow()
{
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
    {
        juce::TopLevelWindow* window = juce::TopLevelWindow::getTopLevelWindow(i);
        if (window != nullptr && window->getName() == PresetReceiveJob::kTitle && window->isShowing())
            return window;
    }
    return nullptr;
}

juce::Button* FindButton(juce::Component& root, const juce::String& text)
{
    for (juce::Component* child : root.getChildren())
    {
        if (auto* button = dynamic_cast<juce::Button*>(child);
            button != nullptr && button->getButtonText() == text)
            return button;
        if (juce::Button* found = FindButton(*child, text))
            return found;
    }
    return nullptr;
}

/** While the modal window runs: once the receive stalls at half way, takes a picture of the window
    and presses its cancel button. */
class CancelAtHalfWay final : public juce::Timer
{
public:
    explicit CancelAtHalfWay(PresetReceiveJob& job) : job(job) { startTimer(kCheckPeriodMs); }

    void timerCallback() override
    {
        juce::TopLevelWindow* window = FindReceiveWindow();
        if (window == nullptr || job.GetProgress() != 50)
            return;
        const juce::uint32 now = juce::Time::getMillisecondCounter();
        if (halfWaySince == 0)
            halfWaySince = now;
        if (now - halfWaySince < kBarSettleMs)
            return;
        stopTimer();
        GuiTestSupport::TakeScreenshot(*window, "PresetReceiveThread");
        if (juce::Button* cancel = FindButton(*window, "Cancel"))
        {
            pressed = true;
            cancel->triggerClick();
        }
    }

    bool pressed = false;

private:
    PresetReceiveJob& job;
    juce::uint32 halfWaySince = 0;
};
} // namespace

TEST(PresetReceiveThread, ShowsTheReceiveAndItsCancelButtonEndsAStalledOne)
{
    PresetsManager presets;
    presets.FillPlaceholders();
    FakePresets::FakeUnit unit;
    unit.answerUpTo = 40; // the unit goes silent after preset 40
    {
        PresetReceiveJob job(unit, presets);
        CancelAtHalfWay canceller(job);
        PresetReceiveThread window(job);
        EXPECT_FALSE(window.runThread()) << "a cancelled run reports it";
        EXPECT_TRUE(canceller.pressed);
        EXPECT_EQ(job.GetOutcome(), PresetReceiveJob::Outcome::kCancelled);
        unit.Stop();
    }
    EXPECT_EQ(FindReceiveWindow(), nullptr);
    XString name;
    ASSERT_TRUE(presets.GetPresetEntry(39, &name, nullptr));
    EXPECT_STREQ(name.CStr(), "Preset 40");
}

TEST(PresetReceiveThread, WithoutAWatcherNothingIsReceived)
{
    PresetsManager presets;
    presets.FillPlaceholders();
    EXPECT_EQ(PresetReceiveThread::ReceiveAllPresets(nullptr, &presets),
              PresetReceiveJob::Outcome::kNotConnected);
    EXPECT_EQ(FindReceiveWindow(), nullptr);
    XString name;
    ASSERT_TRUE(presets.GetPresetEntry(0, &name, nullptr));
    EXPECT_STREQ(name.CStr(), "---");
}
