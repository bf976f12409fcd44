#include "WidgetTestSupport.h"
#include "core/XMessage.h"
#include "gui/GuiHelpers.h"
#include "widgets/XFaderBar.h"
#include "widgets/XMeterStick.h"
#include "widgets/XPot.h"
#include "widgets/XSlider.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
using ControlTest::PathParam;
using GuiTestSupport::RunLoopFor;
using GuiTestSupport::RunLoopUntil;
using ViewTest::MakeParam;

constexpr int kWaitMs = 5000;
constexpr int kWindowWidth = 420;
constexpr int kWindowHeight = 200;
constexpr int kScreenMargin = 40;

/** A slider that records the clip of every paint. */
class PaintProbeSlider final : public XSlider
{
public:
    void paint(juce::Graphics& g) override
    {
        clips.push_back(g.getClipBounds());
        XSlider::paint(g);
    }

    std::vector<juce::Rectangle<int>> clips;
};

XMessage ImageBlock(std::initializer_list<const char*> images)
{
    XMessage block;
    for (const char* image : images)
        block.AddString("imagename", image);
    return block;
}

/** A window on the screen (under Xvfb in the test run) holding the widgets drawn in the built skin,
    driven by mouse events that go through the window's peer as a user's would. */
class WidgetWindowTest : public WidgetTest::SkinWindowTest
{
protected:
    void SetUp() override
    {
        SkinWindowTest::SetUp();
        if (IsSkipped())
            return;
        for (auto* param : {&sliderValue, &faderValue, &potValue, &meterValue, &peakValue})
            *param = MakeParam(0, 100);

        // In the lower right of the screen, away from the places where other tests' views (and the
        // pointer their drags put back) lie, since the test programs may share one display.
        const juce::Rectangle<int> screen =
            juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
        // The dragging test on the right, the others on the left, so that their windows do not
        // cover each other when the test programs run side by side.
        const bool drags =
            juce::String(::testing::UnitTest::GetInstance()->current_test_info()->name()).startsWith("Drags");
        window.SetFrameXYWH(drags ? screen.getRight() - kWindowWidth - kScreenMargin
                                  : screen.getX() + kScreenMargin,
                            screen.getBottom() - kWindowHeight - kScreenMargin, kWindowWidth, kWindowHeight);
        parkPoint = screen.getTopRight().translated(-kScreenMargin, kScreenMargin);
        window.SetBackColor(XRGB(38, 43, 50));

        slider = Build(new PaintProbeSlider(), XRect(20, 20, 44, 160), sliderValue.get(),
                       ImageBlock({"widgets/slider/vtrack.png", "widgets/slider/vknob.png",
                                   "widgets/slider/vknobpressed.png"}));
        XMessage faderKeys = ImageBlock({"widgets/faderbar/hbartrack.png", "widgets/faderbar/hbarfill.png"});
        faderKeys.AddString("nubImage", "widgets/faderbar/hbarnub.png");
        fader = Build(new XFaderBar(), XRect(70, 30, 190, 46), faderValue.get(), faderKeys);
        XMessage potKeys;
        potKeys.AddString("imageArrayBase", "widgets/pot/smallpot");
        potKeys.AddInt32("imageCount", 31);
        pot = Build(new XPot(), XRect(220, 30, 244, 54), potValue.get(), potKeys);
        XMessage meterKeys = ImageBlock({"widgets/meters/stickoff.png", "widgets/meters/stickon.png"});
        meterKeys.AddPointer("peakparam", peakValue.get());
        meter = Build(new XMeterStick(), XRect(280, 20, 288, 120), meterValue.get(), meterKeys);

        // The same kinds drawn by the style and in colours, for the screenshot.
        Build(new XSlider(), XRect(70, 80, 190, 100), faderValue.get(), XMessage());
        XMessage barKeys;
        barKeys.AddString("style", "posNegDraw");
        barKeys.AddString("effect", "sunken");
        barKeys.AddInt32("effectsize", 2);
        barKeys.AddColor("effectcolor", XRGB(20, 23, 28));
        barKeys.AddColor("hiliteforecolor", XRGB(232, 62, 52));
        XFaderBar* bar = Build(new XFaderBar(), XRect(70, 120, 190, 136), faderValue.get(), barKeys);
        bar->SetForeColor(XRGB(72, 206, 92));
        bar->SetBackColor(XRGB(27, 31, 37));
        Build(new XPot(), XRect(220, 80, 260, 120), potValue.get(), XMessage());

        ASSERT_TRUE(WidgetTest::ShowOnScreen(window));
        RunLoopFor(100);
    }

    template <typename View> View* Build(View* view, const XRect& frame, XParam* param, XMessage block)
    {
        view->SetFrame(frame);
        view->ReadAttributes(block);
        window.AddChild(view);
        view->SetPot(param);
        return view;
    }

    /** Drags as Drag until done() holds, from reset() each time; whether it did. A drag is tried
        again when a window of another test program, opening or closing on the same display, breaks
        it off with an event of the display's own. */
    bool DragUntil(XView& view, juce::Point<int> from, juce::Point<int> to,
                   const std::function<void()>& reset, const std::function<bool()>& done)
    {
        constexpr int kAttempts = 3;
        constexpr int kSettleMs = 1000;
        for (int attempt = 0; attempt < kAttempts; ++attempt)
        {
            reset();
            Drag(view, from, to);
            if (RunLoopUntil(done, kSettleMs))
                return true;
        }
        return false;
    }

    /** Moves to from, presses the left button, drags in steps to to and releases there. The real
        pointer waits outside the window first, so that no motion of its own comes in between. */
    void Drag(XView& view, juce::Point<int> from, juce::Point<int> to)
    {
        juce::Desktop::setMousePosition(parkPoint);
        RunLoopUntil([&] { return juce::Desktop::getMousePosition() == parkPoint; }, kWaitMs);
        RunLoopFor(20);
        const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
        mouse.Send(view, from, {});
        mouse.Send(view, from, left);
        constexpr int kSteps = 6;
        for (int step = 1; step <= kSteps; ++step)
            mouse.Send(view, from + (to - from) * step / kSteps, left);
        mouse.Send(view, to, {});
    }

    std::unique_ptr<FloatParam> sliderValue, faderValue, potValue, meterValue, peakValue;
    PaintProbeSlider* slider = nullptr;
    XFaderBar* fader = nullptr;
    XPot* pot = nullptr;
    XMeterStick* meter = nullptr;
    GuiTestSupport::PeerMouse mouse{window};
    juce::Point<int> parkPoint;
};

TEST_F(WidgetWindowTest, DragsWithTheMouseChangeTheParametersOfSliderFaderAndPot)
{
    // The slider: 140 high with a 14-pixel knob, 126 pixels for 101 steps; the knob starts at the bottom,
    // and 63 pixels up are the middle. The pointer comes back over the knob's centre, not where the
    // release was.
    ASSERT_EQ(slider->GetPixelRange(), 126);
    const XRect knob = slider->GetKnobRect(0);
    const juce::Point<int> onKnob(knob.left + knob.Width() / 2, knob.top + knob.Height() / 2);
    const XRect middle = slider->GetKnobRect(63);
    const juce::Point<int> knobCentre = slider->localPointToGlobal(
        juce::Point<int>(middle.left + middle.Width() / 2, middle.top + middle.Height() / 2));
    EXPECT_TRUE(DragUntil(
        *slider, onKnob, onKnob.translated(0, -63), [&] { sliderValue->SetValue(0, true); },
        [&] { return sliderValue->GetValue() == 50 && juce::Desktop::getMousePosition() == knobCentre; }))
        << "value " << sliderValue->GetValue() << ", pointer at "
        << juce::Desktop::getMousePosition().toString() << ", knob centre at " << knobCentre.toString();
    EXPECT_TRUE(IsMousePointerShown());

    // The fader bar follows the pointer along its 120 pixels.
    EXPECT_TRUE(DragUntil(
        *fader, {10, 8}, {90, 8}, [&] { faderValue->SetValue(0, true); },
        [&] { return faderValue->GetValue() == 75; }))
        << "value " << faderValue->GetValue();

    // The pot: 10 pixels up are 20 steps, and the pointer goes back where the press was.
    const juce::Point<int> pressPoint = pot->localPointToGlobal(juce::Point<int>(12, 12));
    EXPECT_TRUE(DragUntil(
        *pot, {12, 12}, {12, 2}, [&] { potValue->SetValue(50, true); },
        [&] { return potValue->GetValue() == 70 && juce::Desktop::getMousePosition() == pressPoint; }))
        << "value " << potValue->GetValue() << ", pointer at "
        << juce::Desktop::getMousePosition().toString();

    // A meter is not dragged.
    meterValue->SetValue(30, true);
    Drag(*meter, {4, 60}, {4, 10});
    EXPECT_EQ(meterValue->GetValue(), 30);
}

TEST_F(WidgetWindowTest, AValueChangeRepaintsOnlyTheKnobsOfTheSlider)
{
    ASSERT_TRUE(RunLoopUntil([&] { return !slider->clips.empty(); }, kWaitMs)) << "the first paint";
    const juce::Rectangle<int> whole = slider->getLocalBounds();
    // The knob moves between 126..140 and 63..77. A window of another test program that opens or
    // closes over this one makes the display repaint all of it: such a round is tried again.
    constexpr int kRounds = 3;
    juce::Rectangle<int> painted;
    for (int round = 0; round < kRounds; ++round)
    {
        RunLoopFor(100);
        slider->clips.clear();
        sliderValue->SetValue(round % 2 == 0 ? 50 : 0, true);
        ASSERT_TRUE(RunLoopUntil([&] { return !slider->clips.empty(); }, kWaitMs));
        painted = {};
        for (const auto& clip : slider->clips)
            painted = painted.getUnion(clip);
        if (painted.getHeight() < whole.getHeight())
            break;
    }
    EXPECT_LT(painted.getHeight(), whole.getHeight()) << painted.toString();
    EXPECT_TRUE(painted.contains(juce::Rectangle<int>(0, 63, 24, 77 - 63))) << painted.toString();
    EXPECT_TRUE(painted.contains(juce::Rectangle<int>(0, 126, 24, 14))) << painted.toString();
}

TEST_F(WidgetWindowTest, TheWidgetsAreDrawnInTheSkin)
{
    PathParam peakHold(XMeterStick::kPeakHoldParamPath, 0, 1, 1);
    sliderValue->SetValue(70, true);
    faderValue->SetValue(35, true);
    potValue->SetValue(80, true);
    meterValue->SetValue(60, true);
    peakValue->SetValue(85, true);
    RunLoopFor(100);
    const juce::Image all = GuiTestSupport::TakeScreenshot(window, "WidgetsInSkin");
    GuiTestSupport::TakeScreenshot(*slider, "SliderInSkin");
    GuiTestSupport::TakeScreenshot(*fader, "FaderBarInSkin");
    GuiTestSupport::TakeScreenshot(*pot, "PotInSkin");
    const juce::Image meterPicture = GuiTestSupport::TakeScreenshot(*meter, "MeterStickInSkin");
    ASSERT_TRUE(all.isValid());
    EXPECT_EQ(meterPicture.getPixelAt(4, 100 - 85), WidgetTest::Colour(meter->GetPeakColor()).withAlpha(1.0f))
        << "the peak mark over the meter's picture";
    EXPECT_EQ(pot->GetStripFrame(), 24);
}
} // namespace
