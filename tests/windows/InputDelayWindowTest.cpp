// The input delay window: distances typed in each unit, refused entries, the temperature, the link
// state's buttons, the fields per unit and the flags of the distances, and, against the simulated
// unit, a slider drag, a distance typed in metres and the link buttons through real events.

#include "windows/InputDelayWindow.h"

#include "DelayScaleTestSupport.h"
#include "WindowTestSupport.h"
#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XParamDesc.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/DelayUnits.h"
#include "device/DeviceCommand.h"
#include "gui/XButton.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/QM7DelayGraph.h"
#include "widgets/XComboBox.h"
#include "widgets/XComboBtn.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"
#include "windows/DistanceMirrors.h"
#include "windows/InputParameterLinkWindow.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using WindowTest::Param;

constexpr double kStepMs = 0.02;
constexpr int32_t kLinkWindowParamId = InputDelayWindow::kLinkWindowParamId;

XParam* Delay(int32_t input)
{
    return GetInputChannel(input)->GetParam(InputDelayWindow::kDelayTimeId);
}

/** Sets what decides whether the inputs are linked as a whole: the edit mode and configuration. */
void SetInputsLinked(bool linked)
{
    Param("QM7_KOVA\\globalEditMode")->SetValue(0, true);
    Param("preset\\CurrentConfig")->SetValue(linked ? 0 : 4, true);
}

class InputDelayWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        Param("global\\temp")->SetValue(20, true);
        InputDelayWindow::GetDelayLinkFlag().SetValue(0, true);
        window = std::make_unique<InputDelayWindow>();
    }
    void TearDown() override
    {
        window.reset();
        WindowTestBase::TearDown();
    }

    XParam* Local(int32_t firstId, int32_t input) const { return window->GetLocalParam(firstId + input); }

    std::unique_ptr<InputDelayWindow> window;
};

TEST_F(InputDelayWindowTest, ADistanceEntrySetsTheDelayKeepsWhatWasTypedAndConvertsTheOthers)
{
    // 20 degrees: 0.3432 m per ms.
    struct Case
    {
        int32_t input;
        int32_t firstId;
        double typed;
        double ms;
        double shown; // what the field shows afterwards
    };
    const double tenFeetMs = 10 / (0.3432 * 3.2808);
    const Case cases[] = {
        {0, InputDelayWindow::kCmId, 100, 2.914, 100},
        {0, InputDelayWindow::kMtrId, 3.43, 9.994, 3.43},
        {1, InputDelayWindow::kFtId, 10, tenFeetMs, 10},
        {1, InputDelayWindow::kInchId, 120.5, 120.5 / 12 / (0.3432 * 3.2808), 120.5},
        {1, InputDelayWindow::kMicroSecId, -5000, -5, -5000},
        // Beyond the delay's range: the delay stops at 700 ms and the field shows its distance.
        {0, InputDelayWindow::kMtrId, 280, 700, 700 * 0.3432},
        {1, InputDelayWindow::kCmId, -9000, -200, -200 * 34.32},
    };
    for (const Case& c : cases)
    {
        XParam* field = Local(c.firstId, c.input);
        EXPECT_TRUE(field->ChangeValue(c.typed, true)) << c.typed;
        const double ms = Delay(c.input)->GetValue();
        EXPECT_NEAR(ms, c.ms, 1e-3) << c.typed;
        EXPECT_NEAR(field->GetValue(), c.shown, 1e-6) << c.typed;
        for (int32_t unit = 0; unit < DistanceMirrors::kUnitCount; ++unit)
        {
            const int32_t firstId = unit * InputDelayWindow::kInputCount;
            if (firstId == c.firstId)
                continue;
            EXPECT_NEAR(Local(firstId, c.input)->GetValue(), DistanceMirrors::FromMs(unit, ms), 1e-6)
                << "unit " << unit << " after " << c.typed;
        }
    }
    // The Part's own example, through the texts the fields show.
    ASSERT_TRUE(Local(InputDelayWindow::kCmId, 0)->ChangeValue(100, true));
    EXPECT_STREQ(Local(InputDelayWindow::kCmId, 0)->GetText().CStr(), "100.0 cm");
    EXPECT_STREQ(Local(InputDelayWindow::kMtrId, 0)->GetText().CStr(), "1.00 meters");
    EXPECT_NEAR(Delay(0)->GetValue(), 2.914, 1e-3);

    // Each distance is found by its path, numbered by input.
    const char* const paths[] = {"InputDelay\\delayCmIn%d", "InputDelay\\delayMtrIn%d",
                                 "InputDelay\\delayInchIn%d", "InputDelay\\delayFtIn%d",
                                 "InputDelay\\delayMicroSecIn%d"};
    for (int32_t unit = 0; unit < DistanceMirrors::kUnitCount; ++unit)
        for (int32_t input = 0; input < InputDelayWindow::kInputCount; ++input)
            EXPECT_EQ(FindParam(paths[unit], input + 1), Local(unit * InputDelayWindow::kInputCount, input))
                << paths[unit];
}

TEST_F(InputDelayWindowTest, AnEntryThatLeavesTheDelayAsItIsIsRefusedAndEveryFieldStays)
{
    struct Case
    {
        double delay;
        int32_t firstId;
        double typed;
    };
    const Case cases[] = {
        {700, InputDelayWindow::kMtrId, 290},           // clamps to the delay already set
        {-200, InputDelayWindow::kMicroSecId, -300000}, // the same at the bottom
        {12.5, InputDelayWindow::kMicroSecId, 12500},   // converts to the delay itself
    };
    for (const Case& c : cases)
    {
        Delay(1)->SetValue(c.delay, true);
        std::vector<double> before;
        for (int32_t id = 0; id < InputDelayWindow::kLocalCount; ++id)
            before.push_back(window->GetLocalParam(id)->GetValue());
        EXPECT_FALSE(Local(c.firstId, 1)->ChangeValue(c.typed, true)) << c.typed;
        EXPECT_EQ(Delay(1)->GetValue(), c.delay);
        for (int32_t id = 0; id < InputDelayWindow::kLocalCount; ++id)
            EXPECT_EQ(window->GetLocalParam(id)->GetValue(), before[static_cast<size_t>(id)]) << "id " << id;
    }
}

TEST_F(InputDelayWindowTest, OnlyTheUsersTemperatureRecomputesTheDelaysFromTheMetres)
{
    XParam* temperature = Param("global\\temp");
    ASSERT_TRUE(Local(InputDelayWindow::kMtrId, 0)->ChangeValue(3.432, true));
    ASSERT_TRUE(Local(InputDelayWindow::kMtrId, 1)->ChangeValue(240, true));
    EXPECT_NEAR(Delay(0)->GetValue(), 10, 1e-9);
    EXPECT_NEAR(Delay(1)->GetValue(), 240 / 0.3432, 1e-9);

    // From the unit (1000000): the delays stay, the distances follow them. This holds also for a
    // temperature changed on the unit itself, which then keeps its delays and not its distances: a bulk
    // receive brings the temperature with the delays, and recomputing them would send stale delays back.
    temperature->SetValue(40, true);
    EXPECT_NEAR(Delay(0)->GetValue(), 10, 1e-9);
    EXPECT_NEAR(Local(InputDelayWindow::kMtrId, 0)->GetValue(), 10 * 0.3554, 1e-9);

    // The user's (1000001): the metres stay, the delays follow, none beyond 700 ms.
    ASSERT_TRUE(temperature->ChangeValue(-20, true));
    EXPECT_NEAR(Delay(0)->GetValue(), 10 * 0.3554 / 0.3188, 1e-9);
    EXPECT_NEAR(Local(InputDelayWindow::kMtrId, 0)->GetValue(), 10 * 0.3554, 1e-9);
    EXPECT_EQ(Delay(1)->GetValue(), 700.0);

    // A temperature typed into the window's Fahrenheit box reaches global\Temp as the user's change.
    Param("QM7\\TempFarenheit")->ChangeValue(68, true);
    EXPECT_NEAR(temperature->GetValue(), 20, 1e-9);
    EXPECT_NEAR(Delay(0)->GetValue(), 10 * 0.3554 / 0.3432, kStepMs / 2 + 1e-9);
}

TEST_F(InputDelayWindowTest, TheDelaySlidersStepFinelyOnlyWhileAltIsHeld)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    for (int32_t input = 0; input < InputDelayWindow::kInputCount; ++input)
    {
        XSlider& slider = *window->GetSlider(input);
        EXPECT_NEAR(DelayScaleTest::WheelStepMs(*window, slider, false), XControl::kWheelSteps * kStepMs,
                    1e-4);
        EXPECT_NEAR(DelayScaleTest::WheelStepMs(*window, slider, true), XControl::kFineWheelSteps * kStepMs,
                    1e-4);
        // A drag follows the pointer unless Alt is held; with Alt it moves the delay by steps.
        const double coarse = DelayScaleTest::DragMs(*window, slider, 40, false);
        EXPECT_NEAR(coarse, 40 * 900.0 / 597, 900.0 / 597 + 1e-6);
        const double fine = DelayScaleTest::DragMs(*window, slider, 40, true);
        EXPECT_GT(fine, 0.0);
        EXPECT_LT(fine, coarse / 4);
    }
}

TEST_F(InputDelayWindowTest, TheLinkStatePicksOneOfThreeButtonsAndTheLinkParameterShowsTheLinkingWindow)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    struct Case
    {
        bool inputsLinked;
        double flag;
        int32_t state;
    };
    const Case cases[] = {{false, 0, 0}, {false, 1, 1}, {true, 0, 2}, {true, 1, 2}, {false, 0, 0}};
    for (const Case& c : cases)
    {
        SetInputsLinked(c.inputsLinked);
        InputDelayWindow::GetDelayLinkFlag().SetValue(c.flag, true);
        EXPECT_EQ(InputDelayWindow::GetLinkState().GetValue(), c.state);
        for (int32_t state = 0; state < 3; ++state)
            EXPECT_EQ(window->GetLinkButton(state)->IsVisible(), state == c.state)
                << "button " << state << " for linked " << c.inputsLinked << " flag " << c.flag;
    }

    XParam* linkWindowParam = rig->groups->services.GetParam(kLinkWindowParamId);
    linkWindowParam->ChangeValue(1, true);
    ASSERT_NE(window->GetLinkWindow(), nullptr);
    EXPECT_TRUE(window->GetLinkWindow()->IsShown());
    linkWindowParam->ChangeValue(0, true);
    EXPECT_FALSE(window->GetLinkWindow()->IsShown());
}

TEST_F(InputDelayWindowTest, OneFieldPerUnitShowsAndTheDistancesAlwaysTakeTheDelaysFlags)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    EXPECT_EQ(window->GetWidth(), 796 + SubWindow::kExtraWidth);
    EXPECT_STREQ(window->GetTitle().CStr(), "Input Delay");
    XParam* windowOpen = Param("QM7\\WndInputDelay");
    EXPECT_EQ(windowOpen->GetValue(), 1.0);
    XParam* units = Param("global\\InDelayUnits");
    for (int32_t unit = 0; unit < InputDelayWindow::kUnitCount; ++unit)
    {
        units->SetValue(unit, true);
        for (int32_t input = 0; input < InputDelayWindow::kInputCount; ++input)
            for (int32_t other = 0; other < InputDelayWindow::kUnitCount; ++other)
                EXPECT_EQ(window->GetDelayBox(input, other)->IsVisible(), other == unit)
                    << "unit " << unit << " input " << input << " box " << other;
    }
    // The widest text of each unit fits its field, which reaches the spinner.
    for (double ms : {-200.0, 700.0})
    {
        Delay(1)->SetValue(ms, true);
        for (int32_t unit = 0; unit < InputDelayWindow::kUnitCount; ++unit)
        {
            const XComboBox& box = *window->GetDelayBox(1, unit);
            const XControl& field = *box.GetTextField();
            const XString text = field.GetPot()->GetText();
            EXPECT_LE(field.GetFont()->GetStringWidth(text), field.GetWidth() - 4) << text.CStr();
            EXPECT_EQ(box.GetTextFieldPict()->GetFrame().right, box.GetSpinner()->GetFrame().left);
        }
    }
    EXPECT_EQ(window->GetDelayBox(1, 0)->GetParam(), Delay(1));
    EXPECT_EQ(window->GetSlider(0)->GetPot(), Delay(0));
    EXPECT_EQ(window->GetBypassButton(1)->GetPot(),
              GetInputChannel(1)->GetParam(InputDelayWindow::kDelayBypassId));

    // Compare mode covers the controls.
    for (bool compareMode : {true, false})
        for (const juce::Component* control : {static_cast<juce::Component*>(window->GetSlider(1)),
                                               static_cast<juce::Component*>(window->GetBypassButton(0))})
            EXPECT_EQ(DelayScaleTest::CoverLiesOver(*window->GetCompareCover(), *control, compareMode),
                      compareMode);

    // Every flag, locked or not, reaches the input's five distances and no other; the distances stay
    // transient, so that a temperature from the unit never marks the document as modified.
    constexpr int32_t kTransient = XParamDesc::kFlagTransient;
    for (int32_t flags : {0x80, 0x100, 0})
    {
        Delay(0)->SetFlags(flags);
        for (int32_t unit = 0; unit < DistanceMirrors::kUnitCount; ++unit)
            EXPECT_EQ(Local(unit * InputDelayWindow::kInputCount, 0)->GetFlags(), flags | kTransient) << unit;
    }
    Delay(1)->SetFlags(0x100);
    EXPECT_EQ(Local(InputDelayWindow::kCmId, 0)->GetFlags(), kTransient);
    EXPECT_EQ(Local(InputDelayWindow::kCmId, 1)->GetFlags(), 0x100 | kTransient);
    Delay(1)->SetFlags(0);
    window->Hide();
    EXPECT_EQ(windowOpen->GetValue(), 0.0);
}

TEST_F(InputDelayWindowTest, EachKnobsCentreSitsOnTheScalesMarkOfItsDelay)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    const QM7DelayGraph& graph = *window->GetGraph();
    for (const DelayScaleTest::Case& c : DelayScaleTest::Cases(700))
    {
        Param("global\\InDelayUnits")->SetValue(c.unit, true);
        const int32_t mark = DelayScaleTest::MarkColumn(graph, c.amount);
        for (int32_t input = 0; input < InputDelayWindow::kInputCount; ++input)
        {
            Delay(input)->SetValue(c.ms, true);
            const XSlider& slider = *window->GetSlider(input);
            EXPECT_NEAR(DelayScaleTest::KnobCentre(slider), mark, 1)
                << c.amount << " in unit " << c.unit << ", input " << input;
        }
    }
}

class InputDelayWindowSimTest : public WindowTest::WindowSimTestBase
{
protected:
    /** Whether the last value the unit received for the input's delay is the delay's own value. */
    bool SentDelay(int32_t input)
    {
        const int32_t wireId = editor->watcher.FindLiveWireId(Delay(input));
        bool sent = false;
        float value = 0;
        for (const FrameBytes::Sent& frame : UnitReceived(kCmdSetParamValue))
            if (FrameBytes::U16At(frame.payload, 0) == wireId)
            {
                sent = true;
                const uint32_t bits = frame.payload[3] | (frame.payload[4] << 8) | (frame.payload[5] << 16) |
                                      (static_cast<uint32_t>(frame.payload[6]) << 24);
                std::memcpy(&value, &bits, sizeof value);
            }
        return sent && std::abs(value - Delay(input)->GetValue()) < 1e-3;
    }
};

TEST_F(InputDelayWindowSimTest, ADragATypedDistanceAndTheLinkButtonsThroughRealEvents)
{
    ASSERT_TRUE(ConnectEditor());
    Param("global\\temp")->SetValue(20, true);
    SetInputsLinked(false);
    InputDelayWindow::GetDelayLinkFlag().SetValue(0, true);
    InputDelayWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    GuiTestSupport::PeerMouse mouse(window);
    using M = juce::ModifierKeys;
    const M left(M::leftButtonModifier);

    // Input A's knob dragged to the right.
    XSlider& slider = *window.GetSlider(0);
    const XRect knob = slider.GetKnobRect(slider.GetPosition());
    const juce::Point<int> from((knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2);
    mouse.Send(slider, from, {});
    for (int step = 1; step <= 5; ++step)
        mouse.Send(slider, from + juce::Point<int>(step * 20, 0), left);
    mouse.Send(slider, from + juce::Point<int>(100, 0), {});
    EXPECT_GT(Delay(0)->GetValue(), 0.0);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return SentDelay(0); }, WindowTest::kWaitMs));

    // A distance typed in metres for input B.
    Param("global\\InDelayUnits")->SetValue(4, true);
    auto* field = dynamic_cast<XTextEditView*>(window.GetDelayBox(1, 4)->GetTextField());
    ASSERT_NE(field, nullptr);
    const juce::Point<int> inField(field->GetWidth() / 2, field->GetHeight() / 2);
    mouse.Wait(1000);
    // A double click selects the field's text, which the typed distance replaces.
    for (int click = 0; click < 2; ++click)
    {
        mouse.Send(*field, inField, left);
        mouse.Send(*field, inField, {});
    }
    for (char c : std::string("3.43"))
        window.getPeer()->handleKeyPress(juce::KeyPress(c, {}, static_cast<juce::juce_wchar>(c)));
    window.getPeer()->handleKeyPress(juce::KeyPress(juce::KeyPress::returnKey));
    ViewTest::Pump();
    EXPECT_NEAR(Delay(1)->GetValue(), 9.994, kStepMs);
    EXPECT_NEAR(window.GetLocalParam(InputDelayWindow::kMtrId + 1)->GetValue(), 3.43, 1e-9);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return SentDelay(1); }, WindowTest::kWaitMs));

    // The unlink button opens the linking window; linking the delay there swaps in the link button.
    XButton& unlink = *window.GetLinkButton(InputDelayWindow::kLinkStateUnlinked);
    ASSERT_TRUE(unlink.IsVisible());
    const juce::Point<int> centre(unlink.GetWidth() / 2, unlink.GetHeight() / 2);
    mouse.Send(unlink, centre, left);
    mouse.Send(unlink, centre, {});
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return window.GetLinkWindow()->IsShown(); }, WindowTest::kWaitMs));
    window.GetLinkWindow()->GetRegionModel().SetCellFlag(0, FPModel::kColumnLink, true);
    EXPECT_EQ(InputDelayWindow::GetDelayLinkFlag().GetValue(), 1.0);
    EXPECT_TRUE(window.GetLinkButton(InputDelayWindow::kLinkStateDelayLinked)->IsVisible());
    EXPECT_FALSE(unlink.IsVisible());
    window.GetLinkWindow()->Hide();
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "InputDelayWindow");

    // Inputs linked as a whole: only the inputs-linked button, and the linking window stays shut.
    SetInputsLinked(true);
    EXPECT_TRUE(window.GetLinkButton(InputDelayWindow::kLinkStateInputsLinked)->IsVisible());
    EXPECT_FALSE(window.GetLinkButton(InputDelayWindow::kLinkStateDelayLinked)->IsVisible());
    window.GetLinkWindow()->GetRegionModel().SetCellFlag(0, FPModel::kColumnLink, false);
}
} // namespace
