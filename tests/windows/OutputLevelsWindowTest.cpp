// The limiters and levels window: each strip's bindings and the compare covers that leave the mutes
// free, the threshold unit that rewrites all six threshold texts, the two meters, the amplifier
// chosen from its drop-down moving the threshold once, and in the real window against the simulated
// unit with its meters running: the meters move, the gain fader and entry reach the unit, and "V"
// chosen from the unit drop-down.

#include "windows/OutputLevelsWindow.h"

#include "WindowTestSupport.h"
#include "device/AmplifierTables.h"
#include "device/ChannelBehaviours.h"
#include "device/DeviceCommand.h"
#include "gui/MenuTestSupport.h"
#include "gui/XButton.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "widgets/XLEDMeter.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"
#include "windows/OutputPanel.h"
#include "windows/OutputParamIds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace
{
using WindowTest::Param;
using namespace OutputParamIds;

XParam* Out(int32_t output, int32_t id)
{
    return OutputParam(output, id);
}

/** The editing lock follows the connection and the listen mode: compare mode (the covers shown)
    while connected and not listening live. */
void SetCompareMode(bool on)
{
    Param("QM7\\usbActive")->SetValue(1, true);
    Param("global\\ListenMode")->SetValue(on ? 0 : 1, true);
    Param("QM7\\lockUIForEditCompare")->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

std::string ThresholdText(const OutputLevelsWindow& window, int32_t output)
{
    auto* field = dynamic_cast<XTextEditView*>(window.GetPanel(output)->GetThresholdBox()->GetTextField());
    return field != nullptr ? std::string(field->GetText().CStr()) : std::string("(no field)");
}

/** The centre of a view in the window's content view. */
juce::Point<int> CentreInContent(OutputLevelsWindow& window, const juce::Component& view)
{
    return window.GetContentView()->getLocalPoint(&view, view.getLocalBounds().getCentre());
}

/** Whether a visible compare cover lies over a point of the content view. */
bool Covered(OutputLevelsWindow& window, juce::Point<int> point)
{
    for (int32_t c = 0; c < OutputLevelsWindow::kCoverCount; ++c)
    {
        const XText* cover = window.GetCompareCover(c);
        if (cover != nullptr && cover->isVisible() && cover->getBoundsInParent().contains(point))
            return true;
    }
    return false;
}

void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& target)
{
    const juce::Point<int> centre = target.getLocalBounds().getCentre();
    mouse.Wait(500); // no double click with the last one
    mouse.Send(target, centre, {});
    mouse.Send(target, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(target, centre, {});
}

/** Chooses the entry at position (0-based) of a drop-down by a click and the keys. */
void Choose(GuiTestSupport::PeerMouse& mouse, XPopupMenu& menu, int position)
{
    MenuTest::ModalMenuDriver choose([position](juce::Component& shown)
                                     { MenuTest::ChooseByKeys(shown, position); });
    Click(mouse, menu);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return choose.HasActed(); }, WindowTest::kWaitMs));
    ViewTest::Pump();
}

class OutputLevelsWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        Param("global\\ThresholdUnits")->SetValue(0, true);
        window = std::make_unique<OutputLevelsWindow>();
        ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    }
    void TearDown() override
    {
        window.reset();
        WindowTest::WindowTestBase::TearDown();
    }

    ChannelBehaviours
        behaviours; // the threshold's texts and the amplifier's coupling, as the application has them
    std::unique_ptr<OutputLevelsWindow> window;
};
} // namespace

TEST_F(OutputLevelsWindowTest, EachStripBindsItsOutputAndTheCoversLeaveOnlyTheMutesFree)
{
    EXPECT_EQ(Param("QM7\\WndOutputLevels")->GetValue(), 1);
    // Each strip shows the colour block of its output's colour index.
    const int colours[] = {3, 0, 5, 1, 4, 2};
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
        Param(XString().Format("preset\\ColorChan%d", o + 1).CStr())->SetValue(colours[o], true);
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
    {
        SCOPED_TRACE(o);
        const OutputPanel& strip = *window->GetPanel(o);
        for (int32_t k = 0; k < OutputPanel::kColourCount; ++k)
            EXPECT_EQ(strip.GetColourBlock(k)->isVisible(), k == colours[o]) << "colour " << k;
        // The widest gain text fits its entry (one pixel of inset and one of margin on each side);
        // gains below -95 dB read "OFF".
        const XTextEditView& field = *strip.GetGainField();
        EXPECT_LE(field.GetFont()->GetStringWidth(XString("-94.5")), field.getWidth() - 4);
        EXPECT_EQ(strip.getBounds(), juce::Rectangle<int>(11 + 130 * o, 11, 127, 430));
        EXPECT_EQ(strip.GetOutputLabel()->GetPot(), Out(o, kLabel));
        EXPECT_EQ(strip.GetGainFader()->GetPot(), Out(o, kOutputGain));
        EXPECT_EQ(strip.GetGainField()->GetPot(), Out(o, kOutputGain));
        EXPECT_EQ(strip.GetLevelMeter()->GetPot(), Out(o, kOutputGuiMeter));
        EXPECT_EQ(strip.GetLevelMeter()->GetHighIndicator().param, Out(o, kOutputMeter));
        EXPECT_EQ(strip.GetReductionMeter()->GetPot(), Out(o, kGainReduction));
        EXPECT_EQ(strip.GetMuteButton()->GetPot(), Out(o, kOutputMute));
        EXPECT_EQ(strip.GetThresholdBox()->GetParam(), Out(o, kLimitThreshold));
        EXPECT_EQ(strip.GetAmplifierMenu()->GetPot(), Out(o, kAmplifierIndex));
        EXPECT_EQ(strip.GetReleaseBox()->GetParam(), Out(o, kLimitRelease));
        EXPECT_EQ(strip.GetLimiterBypassButton()->GetPot(), Out(o, kLimitBypass));
    }

    // Compare mode: every control of every strip lies under a cover but the mute.
    SetCompareMode(true);
    ViewTest::Pump();
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
    {
        SCOPED_TRACE(o);
        const OutputPanel& strip = *window->GetPanel(o);
        const juce::Component* covered[] = {strip.GetGainFader(),    strip.GetGainField(),
                                            strip.GetThresholdBox(), strip.GetAmplifierMenu(),
                                            strip.GetReleaseBox(),   strip.GetLimiterBypassButton()};
        for (const juce::Component* control : covered)
            EXPECT_TRUE(Covered(*window, CentreInContent(*window, *control))) << control->getName();
        EXPECT_FALSE(Covered(*window, CentreInContent(*window, *strip.GetMuteButton())));
    }
    EXPECT_TRUE(Covered(*window, CentreInContent(*window, *window->GetThresholdUnitsMenu())));

    SetCompareMode(false);
    ViewTest::Pump();
    for (int32_t c = 0; c < OutputLevelsWindow::kCoverCount; ++c)
        EXPECT_FALSE(window->GetCompareCover(c)->isVisible()) << c;
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    window->Hide();
    EXPECT_EQ(Param("QM7\\WndOutputLevels")->GetValue(), 0);
}

TEST_F(OutputLevelsWindowTest, TheThresholdUnitRewritesAllSixTextsAndNoValue)
{
    const double thresholds[] = {21, 10, 0, -9, 4.5, 15};
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
        Out(o, kLimitThreshold)->SetValue(thresholds[o], true);
    ViewTest::Pump();
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
        EXPECT_EQ(ThresholdText(*window, o), XString().Format("%.2f dBu", thresholds[o]).CStr()) << o;

    Param("global\\ThresholdUnits")->SetValue(1, true);
    ViewTest::Pump();
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
    {
        SCOPED_TRACE(o);
        // Steps of 0.5 dB from -9 dBu.
        const auto step = static_cast<size_t>((thresholds[o] + 9) * 2);
        EXPECT_EQ(ThresholdText(*window, o),
                  XString().Format("%.3f V", ThresholdVoltsTable[step] / 1000.0).CStr());
        EXPECT_EQ(Out(o, kLimitThreshold)->GetValue(), thresholds[o]);
    }
    EXPECT_EQ(ThresholdText(*window, 0), "8.691 V") << "the top step's voltage";

    Param("global\\ThresholdUnits")->SetValue(0, true);
    ViewTest::Pump();
    EXPECT_EQ(ThresholdText(*window, 3), "-9.00 dBu");
}

TEST_F(OutputLevelsWindowTest, TheReductionGrowsDownFromZeroAndTheOwnMeterLightsOverload)
{
    // Lit segments are dim: the unlit ones are the yellow reduction.
    const struct
    {
        double reduction;
        int32_t yellow;
    } reductions[] = {{0, 0}, {-0.5, 0}, {-1.5, 1}, {-10, 4}, {-12, 4}, {-29, 7}, {-30, 7}};
    XLEDMeter& reduction = *window->GetPanel(2)->GetReductionMeter();
    Out(2, kLimitBypass)->SetValue(0, true); // a bypassed limiter reduces nothing
    for (const auto& c : reductions)
    {
        Out(2, kGainReduction)->SetValue(c.reduction, true);
        ViewTest::Pump();
        EXPECT_EQ(reduction.GetSegmentCount() - reduction.GetPosition(), c.yellow) << c.reduction;
    }

    const struct
    {
        double level;
        bool overload;
    } levels[] = {{-20, false}, {-0.1, false}, {0, true}};
    const XQM7FrontPanelLEDMeter& meter = *window->GetPanel(4)->GetLevelMeter();
    for (const auto& c : levels)
    {
        Out(4, kOutputMeter)->SetValue(c.level, true);
        ViewTest::Pump();
        EXPECT_EQ(meter.GetHighIndicator().lit, c.overload) << c.level;
    }
    EXPECT_EQ(meter.GetLabel(7)->GetDisplayText(), "OL");
}

TEST_F(OutputLevelsWindowTest, AnAmplifierChosenFromItsDropDownMovesTheThresholdOnce)
{
    SetCompareMode(false);
    XParam* threshold = Out(1, kLimitThreshold);
    XParam* amplifier = Out(1, kAmplifierIndex);
    threshold->SetValue(10, true);
    amplifier->SetValue(-1, true);
    constexpr int32_t kChosen = 2;
    const int32_t offset = AmplifierThresholdOffset(kChosen);
    ASSERT_NE(offset, 0);
    ASSERT_LT(std::abs(offset), 1000) << "the move stays inside the threshold's range";

    GuiTestSupport::PeerMouse mouse(*window);
    // Entry 0 is "---" (index -1).
    Choose(mouse, *window->GetPanel(1)->GetAmplifierMenu(), kChosen + 1);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return amplifier->GetValue() == kChosen; }, WindowTest::kWaitMs));
    EXPECT_NEAR(threshold->GetValue(), 10 + offset / 100.0, 1e-4);
    EXPECT_EQ(window->GetPanel(1)->GetAmplifierMenu()->GetPot()->GetText(), amplifier->GetText());
    EXPECT_EQ(Out(0, kLimitThreshold)->GetValue(), 21) << "no other output moved";
}

namespace
{
class OutputLevelsWindowSimTest : public WindowTest::WindowSimTestBase
{
protected:
    ChannelBehaviours behaviours;

    /** The values of param the unit has received, in order. */
    std::vector<float> UnitValues(XParam* param) const
    {
        const int32_t wireId = editor->watcher.FindLiveWireId(param);
        std::vector<float> values;
        for (const FrameBytes::Sent& frame : UnitReceived(kCmdSetParamValue))
        {
            if (frame.payload.size() < 7 || FrameBytes::U16At(frame.payload, 0) != wireId)
                continue;
            const uint32_t bits = frame.payload[3] | (frame.payload[4] << 8) | (frame.payload[5] << 16) |
                                  (static_cast<uint32_t>(frame.payload[6]) << 24);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            values.push_back(value);
        }
        return values;
    }
};
} // namespace

TEST_F(OutputLevelsWindowSimTest, MetersMoveAndTheFaderTheEntryAndTheUnitDropDownWork)
{
    ASSERT_TRUE(ConnectEditor({"--meters"}));
    SetCompareMode(false);
    Param("global\\ThresholdUnits")->SetValue(0, true);
    // Labels as a configuration gives them.
    const char* labels[] = {"Sub Mono", "Lo-Mid L", "Mid-Hi L", "FR", "Lo-Mid R", "Mid-Hi R"};
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
    {
        Out(o, kLabel)->SetText(labels[o], true);
        Out(o, kLimitBypass)->SetValue(0, true);
        Out(o, kOutputGain)->SetValue(-20, true);
    }
    OutputLevelsWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    GuiTestSupport::PeerMouse mouse(window);
    OutputPanel& strip = *window.GetPanel(0);

    // The unit's readings move both meters of output 1.
    std::vector<int32_t> levels;
    std::vector<int32_t> reductions;
    const bool moved = ViewTest::PumpUntil(
        [&]
        {
            for (auto [seen, meter] : {std::pair{&levels, static_cast<XLEDMeter*>(strip.GetLevelMeter())},
                                       std::pair{&reductions, strip.GetReductionMeter()}})
                if (std::find(seen->begin(), seen->end(), meter->GetPosition()) == seen->end())
                    seen->push_back(meter->GetPosition());
            return levels.size() >= 3 && reductions.size() >= 2;
        },
        kSimWaitMs);
    EXPECT_TRUE(moved) << "level counts " << levels.size() << ", reduction counts " << reductions.size();

    // Output 1's fader dragged up.
    XSlider& fader = *strip.GetGainFader();
    XParam* gain = Out(0, kOutputGain);
    const XRect knob = fader.GetKnobRect(fader.GetPosition());
    const juce::Point<int> from((knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2);
    const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
    mouse.Send(fader, from, {});
    for (int step = 1; step <= 5; ++step)
        mouse.Send(fader, from - juce::Point<int>(0, 4 * step), left);
    mouse.Send(fader, from - juce::Point<int>(0, 20), {});
    EXPECT_GT(gain->GetValue(), -20.0);
    const float dragged = static_cast<float>(gain->GetValue());
    EXPECT_TRUE(ViewTest::PumpUntil(
        [&]
        {
            const std::vector<float> sent = UnitValues(gain);
            return !sent.empty() && sent.back() == dragged;
        },
        kSimWaitMs));

    // A gain typed in output 1's entry.
    XTextEditView& field = *strip.GetGainField();
    Click(mouse, field);
    juce::ComponentPeer& keys = *window.getPeer();
    // The old text cleared with End and Backspace, then the new one typed and entered.
    keys.handleKeyPress(juce::KeyPress(juce::KeyPress::endKey));
    for (int i = 0; i < 8; ++i)
        keys.handleKeyPress(juce::KeyPress(juce::KeyPress::backspaceKey));
    for (char c : std::string("-7.5"))
        keys.handleKeyPress(juce::KeyPress(c, {}, static_cast<juce::juce_wchar>(c)));
    keys.handleKeyPress(juce::KeyPress(juce::KeyPress::returnKey));
    ViewTest::Pump();
    EXPECT_EQ(gain->GetValue(), -7.5);
    EXPECT_TRUE(ViewTest::PumpUntil(
        [&]
        {
            const std::vector<float> sent = UnitValues(gain);
            return !sent.empty() && sent.back() == -7.5f;
        },
        kSimWaitMs));

    // "V" from the threshold-unit drop-down: every threshold text in volts.
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
        ASSERT_EQ(ThresholdText(window, o), "21.00 dBu") << o;
    Choose(mouse, *window.GetThresholdUnitsMenu(), 1);
    ASSERT_TRUE(ViewTest::PumpUntil([] { return Param("global\\ThresholdUnits")->GetValue() == 1; },
                                    WindowTest::kWaitMs));
    ViewTest::Pump();
    for (int32_t o = 0; o < OutputLevelsWindow::kOutputCount; ++o)
        EXPECT_EQ(ThresholdText(window, o), "8.691 V") << o;

    GuiTestSupport::TakeScreenshot(window, "LimitersAndLevelsWindow");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
