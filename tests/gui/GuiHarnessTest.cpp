#include "support/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace
{
/** A window whose content paints a known colour and counts its paints. */
class SolidComponent final : public juce::Component
{
public:
    int paintCount = 0;
    void paint(juce::Graphics& g) override
    {
        ++paintCount;
        g.fillAll(juce::Colour(0xFF2080C0));
    }
};
} // namespace

TEST(GuiHarness, RealWindowOpensPaintsAndIsCaptured)
{
    SolidComponent content;
    content.setSize(320, 200);
    juce::DocumentWindow window("Harness", juce::Colours::black, 0, true);
    window.setUsingNativeTitleBar(false);
    window.setContentNonOwned(&content, true);
    window.setVisible(true);

    ASSERT_TRUE(GuiTestSupport::RunLoopUntil([&] { return window.isOnDesktop() && content.paintCount > 0; }, 5000))
        << "the window never painted";

    const int paintsBefore = content.paintCount;
    const auto picture = GuiTestSupport::TakeScreenshot(content, "gui-harness");
    EXPECT_GT(content.paintCount, paintsBefore);
    EXPECT_EQ(picture.getPixelAt(160, 100).getARGB(), 0xFF2080C0u);
}
