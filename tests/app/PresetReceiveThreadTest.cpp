// The preset receive's progress window in a real window: what it shows and its cancel button.

#include "device/ui/PresetReceiveThread.h"

#include "device/FakePresetUnit.h"
#include "device/PresetsManager.h"
#include "gui/SkinLookAndFeel.h"
#include "gui/XColorDictionary.h"
#include "platform/PlatformClock.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
/** Time for the window's bar to catch up with the job (it moves there gradually). */
constexpr juce::uint32 kBarSettleMs = 1500;

/** The receive's window, when it is on the screen. */
juce::TopLevelWindow* FindReceiveWindow()
{
    return GuiTestSupport::FindShowingWindow(PresetReceiveJob::kTitle);
}

juce::Colour SkinColour(const char* name)
{
    return GetColorDictionary().GetColor(name).ToColour();
}

/** While the modal window runs: once the receive stalls at half way, checks that the window is
    drawn in the skin's colours, takes a picture of it and presses its cancel button. */
class CancelAtHalfWay final
{
public:
    explicit CancelAtHalfWay(PresetReceiveJob& job)
        : job(job), driver([this](juce::Component& modal) { return Work(modal); })
    {
    }

    bool pressed = false;
    bool barSeen = false;

private:
    bool Work(juce::Component& modal)
    {
        if (modal.getName() != PresetReceiveJob::kTitle || job.GetProgress() != 50)
            return false;
        const juce::uint32 now = juce::Time::getMillisecondCounter();
        if (halfWaySince == 0)
            halfWaySince = now;
        if (now - halfWaySince < kBarSettleMs)
            return false;
        EXPECT_EQ(modal.findColour(juce::AlertWindow::backgroundColourId),
                  SkinColour(SkinLookAndFeel::kWindowBackground));
        for (juce::Component* child : modal.getChildren())
            if (auto* bar = dynamic_cast<juce::ProgressBar*>(child))
            {
                barSeen = true;
                EXPECT_EQ(bar->findColour(juce::ProgressBar::foregroundColourId),
                          SkinColour(SkinLookAndFeel::kProgressBar));
            }
        GuiTestSupport::TakeScreenshot(modal, "PresetReceiveThread");
        if (juce::Button* cancel = GuiTestSupport::FindButton(modal, "Cancel"))
        {
            pressed = true;
            cancel->triggerClick();
        }
        return true;
    }

    PresetReceiveJob& job;
    juce::uint32 halfWaySince = 0;
    GuiTestSupport::ModalDialogDriver driver; // last: it may call Work once the rest is built
};
} // namespace

TEST(PresetReceiveThread, ShowsTheReceiveAndItsCancelButtonEndsAStalledOne)
{
    PresetsManager presets;
    presets.FillPlaceholders();
    ASSERT_TRUE(SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()));
    FakePresets::FakeUnit unit;
    unit.answerUpTo = 40; // the unit goes silent after preset 40
    {
        PresetReceiveJob job(unit, presets);
        CancelAtHalfWay canceller(job);
        PresetReceiveThread window(job);
        EXPECT_FALSE(window.runThread()) << "a cancelled run reports it";
        EXPECT_TRUE(canceller.pressed);
        EXPECT_TRUE(canceller.barSeen);
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
