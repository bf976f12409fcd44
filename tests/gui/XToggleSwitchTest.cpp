#include "gui/XToggleSwitch.h"

#include "ControlTestSupport.h"
#include "core/XMessage.h"
#include "gui/GuiHelpers.h"

#include <gtest/gtest.h>

namespace
{
using ControlTest::Recorder;
using ViewTest::Application;
using ViewTest::Pump;
using ViewTest::PumpUntil;

constexpr uint32_t kSwitchCode = FourCharCode("tgsw");
constexpr int kWaitMs = 5000;
/** Long enough for several turns of the button's 200 ms repeat timer. */
constexpr int kHoldMs = 800;
const XPoint kInside(5, 5);

/** A toggle switch and a plain repeating button in a shown, attached root; both send kSwitchCode to
    the recorder. */
class ToggleSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        root.SetFrameXYWH(0, 0, 200, 100);
        root.Show();
        root.Attach();
        toggle = new XToggleSwitch(XRect(10, 10, 60, 40), "toggle");
        root.AddChild(toggle);
        Aim(toggle);
    }

    void Aim(XButton* button)
    {
        button->SetMessage(new XMessage(kSwitchCode));
        button->SetTarget(&recorder, nullptr);
    }

    /** Messages of kSwitchCode carrying "isDown" true, and all of kSwitchCode. */
    int Presses() const
    {
        int count = 0;
        for (const XMessage& message : recorder.messages)
        {
            bool isDown = false;
            count +=
                message.GetWhat() == kSwitchCode && message.FindBool("isDown", isDown) == 0 && isDown ? 1 : 0;
        }
        return count;
    }
    int Sent() const
    {
        int count = 0;
        for (const XMessage& message : recorder.messages)
            count += message.GetWhat() == kSwitchCode ? 1 : 0;
        return count;
    }

    XView root;
    XToggleSwitch* toggle = nullptr;
    Recorder recorder{"ToggleRecorder"};
};
} // namespace

TEST_F(ToggleSwitchTest, EachPressReportsItselfOnceWhenItHappensWithPositionSourceAndWindow)
{
    for (int press = 1; press <= 2; ++press)
    {
        toggle->MouseDown(kInside, XView::kButtonLeft);
        ASSERT_TRUE(PumpUntil([&] { return Presses() == press; }, kWaitMs)) << "reported before the release";
        const XMessage& down = recorder.messages.back();
        int32_t value = -1;
        void* source = nullptr;
        void* window = nullptr;
        EXPECT_EQ(down.FindInt32("value", value), 0);
        EXPECT_EQ(value, toggle->GetPosition());
        EXPECT_EQ(down.FindPointer("source", source), 0);
        EXPECT_EQ(source, static_cast<void*>(static_cast<XHandler*>(toggle)));
        EXPECT_EQ(down.FindPointer("pView", window), 0);
        EXPECT_EQ(window, static_cast<void*>(&root));

        toggle->MouseUp(kInside, XView::kButtonLeft);
        Pump();
        EXPECT_EQ(Presses(), press) << "the release reports no press";
    }
}

TEST_F(ToggleSwitchTest, AHeldSwitchDoesNotRepeatWhereAPlainButtonDoes)
{
    // The repeat reads the real pointer: the buttons go on the desktop and the pointer over each.
    XView window;
    window.SetFrameXYWH(40, 40, 200, 100);
    window.Attach();
    auto* plain = new XButton(XRect(10, 10, 60, 40), "plain");
    auto* held = new XToggleSwitch(XRect(100, 10, 150, 40), "held");
    window.AddChild(plain);
    window.AddChild(held);
    window.addToDesktop(0);
    window.Show();
    for (XButton* button : {plain, static_cast<XButton*>(held)})
    {
        Aim(button);
        button->SetRepeatClick(true);
    }
    Pump();
    auto pointAt = [](XButton* button)
    {
        const juce::Point<int> inside = button->localPointToGlobal(juce::Point<int>(kInside.x, kInside.y));
        SetMousePosition(inside.x, inside.y);
        return PumpUntil(
            [&] { return button->getMouseXYRelative() == juce::Point<int>(kInside.x, kInside.y); }, kWaitMs);
    };

    ASSERT_TRUE(pointAt(plain));
    plain->MouseDown(kInside, XView::kButtonLeft);
    ASSERT_TRUE(PumpUntil([&] { return Sent() >= 2; }, kWaitMs)) << "a plain button repeats while held";
    plain->MouseUp(kInside, XView::kButtonLeft);
    Pump();
    recorder.messages.clear();

    ASSERT_TRUE(pointAt(held));
    held->MouseDown(kInside, XView::kButtonLeft);
    GuiTestSupport::RunLoopUntil(
        [&]
        {
            Application().PumpMessages();
            return false;
        },
        kHoldMs);
    EXPECT_EQ(Sent(), 1) << "only the press itself while held";
    EXPECT_EQ(Presses(), 1);
    held->MouseUp(kInside, XView::kButtonLeft);
}

TEST_F(ToggleSwitchTest, PressesTheButtonIgnoresReportNothing)
{
    toggle->MouseDown(kInside, XView::kButtonRight);
    toggle->MouseUp(kInside, XView::kButtonRight);
    toggle->SetControlEnabled(false);
    toggle->MouseDown(kInside, XView::kButtonLeft);
    toggle->MouseUp(kInside, XView::kButtonLeft);
    toggle->SetControlEnabled(true);
    toggle->SetMessage(nullptr);
    toggle->MouseDown(kInside, XView::kButtonLeft);
    toggle->MouseUp(kInside, XView::kButtonLeft);
    Pump();
    EXPECT_EQ(Sent(), 0);
}
