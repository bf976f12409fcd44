// The output delay window: the delay totals, the distance entries and the temperature, the link
// groups of the check boxes, the content per configuration and unit, and, against the simulated
// unit, a slider drag, a linked group and a distance typed in metres through real events.

#include "windows/ChannelDelayWindow.h"

#include "DelayScaleTestSupport.h"
#include "WindowTestSupport.h"
#include "core/XMessageCodes.h"
#include "core/XParamDesc.h"
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
#include "windows/DelayPanel.h"
#include "windows/DelaySliderStyle.h"
#include "windows/DelayTotals.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace
{
using WindowTest::Param;

constexpr int32_t kOutputs = ChannelDelayWindow::kOutputCount;
constexpr double kStepMs = 0.02;

XParam* Delay(int32_t output)
{
    return GetOutputDelayParam(output);
}

XParam* Bypass(int32_t output)
{
    return GetOutputParamById(output, DelayTotals::kDelayBypassId);
}

/** Sets the six delays (ms) unbypassed, as the unit would. */
void SetDelays(const std::vector<double>& ms)
{
    for (int32_t i = 0; i < kOutputs; ++i)
    {
        Delay(i)->SetValue(ms[static_cast<size_t>(i)], true);
        Bypass(i)->SetValue(0, true);
    }
}

/** The members of the non-empty groups as (first, last), in group order. */
std::vector<std::pair<int32_t, int32_t>> Runs(const ChannelDelayWindow& window)
{
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (int32_t g = 0; g < ChannelDelayWindow::kGroupCount; ++g)
        if (!window.GetLinkGroup(g).IsEmpty())
            runs.emplace_back(window.GetLinkGroup(g).First(), window.GetLinkGroup(g).Last());
    return runs;
}

class ChannelDelayWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTestBase::SetUp();
        if (!IsSkipped())
            window = std::make_unique<ChannelDelayWindow>();
    }
    void TearDown() override
    {
        window.reset();
        WindowTestBase::TearDown();
    }

    void Tick(const std::vector<int32_t>& checks)
    {
        for (int32_t k : checks)
            window->GetCheckParam(k)->ChangeValue(1, true);
    }

    std::unique_ptr<ChannelDelayWindow> window;
};

TEST_F(ChannelDelayWindowTest, TotalsCountBypassedDelaysAsZeroAndShiftByTheMostNegativeDelay)
{
    struct Case
    {
        std::vector<double> delays;
        int32_t bypassed; // output whose delay is bypassed, -1 none
        double alignment; // of output 0, unbypassed when above 0
        std::vector<double> totals;
    };
    const Case cases[] = {
        {{5, -3, 0, -7, 2, 1}, -1, 0, {12, 4, 7, 0, 9, 8}},
        {{5, -3, 0, -7, 2, 1}, 3, 0, {8, 0, 3, 3, 5, 4}},
        {{5, 3, 0, 7, 2, 1}, -1, 2, {7, 3, 0, 7, 2, 1}},
        {{-200, 0, 0, 0, 0, 680}, 5, 0, {0, 200, 200, 200, 200, 200}},
    };
    for (const Case& c : cases)
    {
        SetDelays(c.delays);
        if (c.bypassed >= 0)
            Bypass(c.bypassed)->SetValue(1, true);
        XParam* alignment = GetOutputParamById(0, DelayTotals::kAlignmentTimeId);
        XParam* alignmentBypass = GetOutputParamById(0, DelayTotals::kAlignmentBypassId);
        alignment->SetValue(c.alignment > 0 ? c.alignment : 5, true);
        alignmentBypass->SetValue(c.alignment > 0 ? 0 : 1, true);
        for (int32_t i = 0; i < kOutputs; ++i)
        {
            EXPECT_NEAR(GetTotalOutputDelay(i), c.totals[static_cast<size_t>(i)], 1e-9) << "output " << i;
            EXPECT_NEAR(window->GetLocalParam(ChannelDelayWindow::kTotalId + i)->GetValue(),
                        c.totals[static_cast<size_t>(i)], 1e-9);
        }
    }
    EXPECT_STREQ(window->GetLocalParam(ChannelDelayWindow::kTotalId + 5)->GetText().CStr(), "200.00 ms");
    EXPECT_EQ(GetOutputDelayParam(6), nullptr);
}

TEST_F(ChannelDelayWindowTest, ADistanceEntrySetsTheDelayAndTheFieldShowsTheDistanceOfTheDelay)
{
    // 20 degrees: 0.3432 m per ms.
    struct Case
    {
        int32_t firstId;
        double typed;
        double ms;
    };
    const Case cases[] = {
        {ChannelDelayWindow::kMtId, 3.43, 9.994},
        {ChannelDelayWindow::kCmId, 100, 2.914},
        {ChannelDelayWindow::kFtId, 10, 10 / (0.3432 * 3.2808)},
        {ChannelDelayWindow::kInId, 120, 10 / (0.3432 * 3.2808)},
        {ChannelDelayWindow::kMicrosecId, -5000, -5},
        {ChannelDelayWindow::kMtId, 300, 680}, // clamped by the delay's range
    };
    const int32_t output = 2;
    for (const Case& c : cases)
    {
        XParam* field = window->GetLocalParam(c.firstId + output);
        EXPECT_FALSE(field->ChangeValue(c.typed, true));
        const double ms = Delay(output)->GetValue();
        EXPECT_NEAR(ms, c.ms, kStepMs / 2 + 1e-9) << c.typed;
        EXPECT_NEAR(window->GetLocalParam(ChannelDelayWindow::kMtId + output)->GetValue(),
                    DelayMsToMeters(ms), 1e-9);
        EXPECT_NEAR(window->GetLocalParam(ChannelDelayWindow::kCmId + output)->GetValue(),
                    DelayMsToMeters(ms) * 100, 1e-9);
        EXPECT_NEAR(window->GetLocalParam(ChannelDelayWindow::kMicrosecId + output)->GetValue(), ms * 1000,
                    1e-9);
    }
    EXPECT_STREQ(window->GetLocalParam(ChannelDelayWindow::kMtId + output)->GetText().CStr(),
                 "233.38 meters");
    // Each local parameter is found by its path, numbered by output.
    const char* const paths[] = {"OutputDelay\\delayCmCh%d",       "OutputDelay\\delayMtCh%d",
                                 "OutputDelay\\delayInCh%d",       "OutputDelay\\delayFtCh%d",
                                 "OutputDelay\\delayMicrosecCh%d", "OutputDelay\\kTotalDelayOutput%d"};
    for (int32_t row = 0; row < 6; ++row)
        for (int32_t i = 0; i < kOutputs; ++i)
            EXPECT_EQ(FindParam(paths[row], i + 1), window->GetLocalParam(row * kOutputs + i)) << paths[row];
    // Another output is untouched.
    EXPECT_EQ(Delay(1)->GetValue(), 0.0);
}

TEST_F(ChannelDelayWindowTest, OnlyTheUsersTemperatureRecomputesTheDelaysFromTheDistances)
{
    XParam* temperature = Param("global\\temp");
    SetDelays({10, 680, 0, -10, 0, 0});
    const double metres0 = DelayMsToMeters(10);

    // From the unit (1000000): the delays stay, the distances follow them. This holds also for a
    // temperature changed on the unit itself, which then keeps its delays and not its distances: a bulk
    // receive brings the temperature with the delays, and recomputing them would send stale delays back.
    temperature->SetValue(40, true);
    EXPECT_EQ(Delay(0)->GetValue(), 10.0);
    EXPECT_NEAR(window->GetLocalParam(ChannelDelayWindow::kMtId)->GetValue(), DelayMsToMeters(10), 1e-9);

    // The user's (1000001): the distances stay, the delays follow; none beyond 680 ms.
    temperature->SetValue(20, false);
    window->GetLocalParam(ChannelDelayWindow::kMtId)->SetValue(metres0, false);
    window->GetLocalParam(ChannelDelayWindow::kMtId + 1)->SetValue(DelayMsToMeters(680), false);
    window->GetLocalParam(ChannelDelayWindow::kMtId + 3)->SetValue(DelayMsToMeters(-10), false);
    ASSERT_TRUE(temperature->ChangeValue(-20, true));
    EXPECT_NEAR(Delay(0)->GetValue(), metres0 / 0.3188, kStepMs / 2 + 1e-9);
    EXPECT_NEAR(window->GetLocalParam(ChannelDelayWindow::kMtId)->GetValue(), metres0, 0.004);
    EXPECT_EQ(Delay(1)->GetValue(), 680.0);
    EXPECT_NEAR(Delay(3)->GetValue(), -10 * 0.3432 / 0.3188, kStepMs / 2 + 1e-9);

    // A temperature typed into the window's Celsius box reaches global\Temp as the user's change.
    const double metres = window->GetLocalParam(ChannelDelayWindow::kMtId)->GetValue();
    Param("QM7\\TempCelcuis")->ChangeValue(20, true);
    EXPECT_EQ(temperature->GetValue(), 20.0);
    EXPECT_NEAR(Delay(0)->GetValue(), metres / 0.3432, kStepMs / 2 + 1e-9);

    // The user's switch of the temperature's unit only re-formats it: no delay moves, even where the
    // distance would give another delay.
    window->GetLocalParam(ChannelDelayWindow::kMtId)->SetValue(0, false);
    const double delay0 = Delay(0)->GetValue();
    XParam* tempUnits = Param("global\\TempUnits");
    ASSERT_TRUE(tempUnits->ChangeValue(tempUnits->GetValue() == 1 ? 0 : 1, true));
    EXPECT_EQ(Delay(0)->GetValue(), delay0);
}

TEST_F(ChannelDelayWindowTest, TickedRunsFormAtMostThreeGroupsThatTakeTheirHighestOutputsDelay)
{
    struct Case
    {
        std::vector<int32_t> checks;
        int32_t locked; // output whose delay carries the lock flag, -1 none
        std::vector<std::pair<int32_t, int32_t>> runs;
        std::vector<double> delays;
    };
    const Case cases[] = {
        {{4, 3}, -1, {{3, 5}}, {0, 10, 20, 50, 50, 50}},
        {{4, 2, 0}, -1, {{4, 5}, {2, 3}, {0, 1}}, {10, 10, 30, 30, 50, 50}},
        {{1, 0}, -1, {{0, 2}}, {20, 20, 20, 30, 40, 50}},
        {{4, 3, 2, 1, 0}, -1, {{0, 5}}, {50, 50, 50, 50, 50, 50}},
        {{4, 3, 1}, 5, {{3, 4}, {1, 2}}, {0, 20, 20, 40, 40, 50}},
        {{4, 3}, 4, {}, {0, 10, 20, 30, 40, 50}},
    };
    for (const Case& c : cases)
    {
        window->ResetCheckParams();
        for (int32_t k = 0; k < ChannelDelayWindow::kCheckCount; ++k)
            window->GetCheckParam(k)->SetValue(0, true);
        for (int32_t i = 0; i < kOutputs; ++i)
            Delay(i)->SetFlags(0);
        SetDelays({0, 10, 20, 30, 40, 50});
        if (c.locked >= 0)
            Delay(c.locked)->SetFlags(ChannelDelayWindow::kLockFlag);
        Tick(c.checks);
        EXPECT_EQ(Runs(*window), c.runs);
        for (int32_t i = 0; i < kOutputs; ++i)
            EXPECT_EQ(Delay(i)->GetValue(), c.delays[static_cast<size_t>(i)]) << "output " << i;
        for (int32_t k : {c.locked - 1, c.locked})
        {
            if (c.locked >= 0 && k >= 0 && k < ChannelDelayWindow::kCheckCount)
            {
                EXPECT_EQ(window->GetCheckParam(k)->GetValue(), 0.0) << "check " << k;
            }
        }
    }
}

TEST_F(ChannelDelayWindowTest, GroupMembersShareTheirDelayAndBypassAndALockClearsTheAdjacentChecks)
{
    SetDelays({0, 10, 20, 30, 40, 50});
    for (int32_t i = 0; i < kOutputs; ++i)
        Bypass(i)->SetValue(1, true);
    Tick({4, 3});
    ASSERT_EQ(Runs(*window), (std::vector<std::pair<int32_t, int32_t>>{{3, 5}}));

    ASSERT_TRUE(Delay(4)->ChangeValue(25, true));
    for (int32_t i : {3, 4, 5})
        EXPECT_EQ(Delay(i)->GetValue(), 25.0);
    EXPECT_EQ(Delay(2)->GetValue(), 20.0);
    EXPECT_EQ(window->GetLinkParam(0)->GetValue(), 25.0);

    window->GetLinkParam(0)->ChangeValue(-12, true);
    for (int32_t i : {3, 4, 5})
        EXPECT_EQ(Delay(i)->GetValue(), -12.0);

    ASSERT_TRUE(Bypass(5)->ChangeValue(0, true));
    EXPECT_EQ(Bypass(3)->GetValue(), 0.0);
    EXPECT_EQ(Bypass(4)->GetValue(), 0.0);
    EXPECT_EQ(Bypass(2)->GetValue(), 1.0);

    // Flags without the lock stay with the delay; its distances keep theirs.
    Delay(4)->SetFlags(0x100);
    EXPECT_EQ(window->GetLocalParam(ChannelDelayWindow::kMtId + 4)->GetFlags() & 0x100, 0);
    EXPECT_EQ(window->GetCheckParam(4)->GetValue(), 1.0);

    // The unit locks output 5's delay: both checks beside it clear, the group dissolves.
    Delay(4)->SetFlags(ChannelDelayWindow::kLockFlag);
    EXPECT_EQ(window->GetCheckParam(3)->GetValue(), 0.0);
    EXPECT_EQ(window->GetCheckParam(4)->GetValue(), 0.0);
    EXPECT_TRUE(Runs(*window).empty());
    EXPECT_EQ(window->GetLocalParam(ChannelDelayWindow::kMtId + 4)->GetFlags(),
              ChannelDelayWindow::kLockFlag | XParamDesc::kFlagTransient);
}

TEST_F(ChannelDelayWindowTest, ShowsChecksPerConfigurationAndOneDelayFieldPerUnit)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    EXPECT_EQ(window->GetWidth(), 796 + SubWindow::kExtraWidth);
    EXPECT_STREQ(window->GetTitle().CStr(), "Output Delay");
    XParam* windowOpen = Param("QM7\\WndChanDelay");
    EXPECT_EQ(windowOpen->GetValue(), 1.0);

    const bool shown[7][5] = {{0, 0, 0, 0, 0}, {0, 1, 0, 0, 1}, {1, 1, 1, 0, 1}, {1, 1, 1, 1, 0},
                              {1, 1, 1, 1, 1}, {1, 1, 0, 0, 1}, {1, 0, 1, 0, 1}};
    XParam* config = Param("preset\\currentconfig");
    for (int32_t c = 0; c < 7; ++c)
    {
        config->SetValue(c, true);
        for (int32_t k = 0; k < ChannelDelayWindow::kCheckCount; ++k)
        {
            EXPECT_EQ(window->GetCheckBox(k)->IsVisible(), shown[c][k]) << "config " << c << " check " << k;
            EXPECT_EQ(window->GetCheckLine(k)->IsVisible(), shown[c][k]);
        }
    }

    XParam* units = Param("global\\OutDelayUnits");
    for (int32_t unit = 0; unit < DelayPanel::kUnitCount; ++unit)
    {
        units->SetValue(unit, true);
        for (int32_t other = 0; other < DelayPanel::kUnitCount; ++other)
            EXPECT_EQ(window->GetPanel(1)->GetDelayBox(other)->IsVisible(), other == unit);
    }
    // The widest text of each unit fits its field, which reaches the spinner.
    for (double ms : {-200.0, 680.0})
    {
        Delay(1)->SetValue(ms, true);
        for (int32_t unit = 0; unit < DelayPanel::kUnitCount; ++unit)
        {
            const XComboBox& box = *window->GetPanel(1)->GetDelayBox(unit);
            const XControl& field = *box.GetTextField();
            const XString text = field.GetPot()->GetText();
            EXPECT_LE(field.GetFont()->GetStringWidth(text), field.GetWidth() - 4) << text.CStr();
            EXPECT_EQ(box.GetTextFieldPict()->GetFrame().right, box.GetSpinner()->GetFrame().left);
        }
    }

    // Compare mode covers the controls.
    for (bool compareMode : {true, false})
        for (const juce::Component* control : {static_cast<juce::Component*>(window->GetOutputSlider(0)),
                                               static_cast<juce::Component*>(window->GetPanel(5))})
            EXPECT_EQ(DelayScaleTest::CoverLiesOver(*window->GetCompareCover(), *control, compareMode),
                      compareMode);

    DelaySliderStyle style;
    EXPECT_EQ(style.GetFineWheelKeyMode(), 1);
    EXPECT_NE(QM7Style().GetFineWheelKeyMode(), 1);

    // A group of three covers three slider rows and three panels; a reset dissolves it.
    Tick({4, 3});
    const DelayLinkGroup& group = window->GetLinkGroup(0);
    EXPECT_TRUE(group.GetLinkSlider()->IsVisible());
    EXPECT_EQ(group.GetLinkSlider()->GetFrame(), XRect(145, 83, 660, 83 + 3 * 56));
    EXPECT_EQ(group.GetLinkPanel()->GetFrame(), XRect(16 + 3 * 129, 419, 16 + 6 * 129, 556));
    GuiTestSupport::TakeScreenshot(*window, "OutputDelayWindow");
    window->ResetCheckParams();
    EXPECT_TRUE(Runs(*window).empty());
    EXPECT_FALSE(group.GetLinkSlider()->IsVisible());
    window->Hide();
    EXPECT_EQ(windowOpen->GetValue(), 0.0);
}

TEST_F(ChannelDelayWindowTest, EachSpeakerKnobShowsItsOutputsColourAfterAConfigurationChange)
{
    static constexpr const char* kSpeakers[] = {
        "OutputDelay\\Speakerred.png",   "OutputDelay\\Speakeryellow.png",
        "OutputDelay\\Speakerblue.png",  "OutputDelay\\Speakermagenta.png",
        "OutputDelay\\Speakergreen.png", "OutputDelay\\Speakerpurple.png"};
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    for (int32_t shift : {0, 3, 5})
    {
        for (int32_t i = 0; i < kOutputs; ++i)
            FindParam("preset\\ColorChan%d", i + 1)->SetValue((i + shift) % 6, true);
        Param("preset\\currentconfig")->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
        for (int32_t i = 0; i < kOutputs; ++i)
            EXPECT_EQ(window->GetOutputSlider(i)->GetKnobImage(),
                      GetResourceManager().GetImage(XString(kSpeakers[(i + shift) % 6])))
                << "output " << i << " shift " << shift;
    }
}

TEST_F(ChannelDelayWindowTest, TheDelaySlidersStepFinelyOnlyWhileAltIsHeld)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    Tick({4});
    for (XSlider* slider : {window->GetOutputSlider(1), window->GetLinkGroup(0).GetLinkSlider()})
    {
        EXPECT_NEAR(DelayScaleTest::WheelStepMs(*window, *slider, false), XControl::kWheelSteps * kStepMs,
                    1e-4);
        EXPECT_NEAR(DelayScaleTest::WheelStepMs(*window, *slider, true), XControl::kFineWheelSteps * kStepMs,
                    1e-4);
        // A drag follows the pointer unless Alt is held; with Alt it moves the delay by steps.
        const double coarse = DelayScaleTest::DragMs(*window, *slider, 40, false);
        EXPECT_NEAR(coarse, 40 * 880.0 / 469, 880.0 / 469 + 1e-6);
        const double fine = DelayScaleTest::DragMs(*window, *slider, 40, true);
        EXPECT_GT(fine, 0.0);
        EXPECT_LT(fine, coarse / 4);
    }
}

TEST_F(ChannelDelayWindowTest, EachKnobsCentreSitsOnTheScalesMarkOfItsDelay)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    Tick({4});
    XSlider* link = window->GetLinkGroup(0).GetLinkSlider();
    const QM7DelayGraph& graph = *window->GetGraph();
    for (const DelayScaleTest::Case& c : DelayScaleTest::Cases(680))
    {
        Param("global\\OutDelayUnits")->SetValue(c.unit, true);
        SetDelays(std::vector<double>(kOutputs, c.ms));
        const int32_t mark = DelayScaleTest::MarkColumn(graph, c.amount);
        for (int32_t i = 0; i <= kOutputs; ++i)
        {
            const XSlider& slider = i < kOutputs ? *window->GetOutputSlider(i) : *link;
            EXPECT_NEAR(DelayScaleTest::KnobCentre(slider), mark, 1)
                << c.amount << " in unit " << c.unit << ", slider " << i;
        }
    }
}

class ChannelDelayWindowSimTest : public WindowTest::WindowSimTestBase
{
protected:
    /** Whether the last value the unit received for the output's delay is the delay's own value. */
    bool SentDelay(int32_t output)
    {
        const int32_t wireId = editor->watcher.FindLiveWireId(Delay(output));
        bool sent = false;
        float value = 0;
        for (const FrameBytes::Sent& frame : UnitReceived(kCmdSetParamValue))
            if (FrameBytes::U16At(frame.payload, 0) == wireId)
            {
                sent = true;
                value = FloatAt(frame.payload, 3);
            }
        return sent && std::abs(value - Delay(output)->GetValue()) < 1e-3;
    }

    static float FloatAt(const FrameBytes::Bytes& bytes, size_t at)
    {
        const uint32_t bits = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                              (static_cast<uint32_t>(bytes[at + 3]) << 24);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

TEST_F(ChannelDelayWindowSimTest, DragsTicksAndTypedDistancesReachTheUnit)
{
    ASSERT_TRUE(ConnectEditor());
    Param("preset\\currentconfig")->SetValue(4, true);
    const char* const names[kOutputs] = {"Sub L", "Low L", "High L", "Sub R", "Low R", "High R"};
    for (int32_t i = 0; i < kOutputs; ++i)
        GetOutputParamById(i, ChannelParamTables::kOutputLabelId)->SetText(names[i], true);
    ChannelDelayWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    GuiTestSupport::PeerMouse mouse(window);
    using M = juce::ModifierKeys;
    const M left(M::leftButtonModifier);

    // Output 2's knob dragged to the right.
    XSlider& slider = *window.GetOutputSlider(1);
    const XRect knob = slider.GetKnobRect(slider.GetPosition());
    const juce::Point<int> from((knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2);
    mouse.Send(slider, from, {});
    for (int step = 1; step <= 5; ++step)
        mouse.Send(slider, from + juce::Point<int>(step * 20, 0), left);
    mouse.Send(slider, from + juce::Point<int>(100, 0), {});
    EXPECT_GT(Delay(1)->GetValue(), 0.0);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return SentDelay(1); }, WindowTest::kWaitMs));

    // The checks between outputs 1-2 and 2-3: one group whose slider moves the three.
    for (int32_t k : {0, 1})
    {
        XButton& box = *window.GetCheckBox(k);
        const juce::Point<int> centre(box.GetWidth() / 2, box.GetHeight() / 2);
        mouse.Send(box, centre, left);
        mouse.Send(box, centre, {});
        mouse.Wait(1000);
    }
    ASSERT_EQ(Runs(window), (std::vector<std::pair<int32_t, int32_t>>{{0, 2}}));
    XSlider& link = *window.GetLinkGroup(0).GetLinkSlider();
    const double before = Delay(0)->GetValue();
    const XRect linkKnob = link.GetKnobRect(link.GetPosition());
    const juce::Point<int> at((linkKnob.left + linkKnob.right) / 2, (linkKnob.top + linkKnob.bottom) / 2);
    mouse.Send(link, at, {});
    for (int step = 1; step <= 5; ++step)
        mouse.Send(link, at + juce::Point<int>(step * 12, 0), left);
    mouse.Send(link, at + juce::Point<int>(60, 0), {});
    EXPECT_NE(Delay(0)->GetValue(), before);
    EXPECT_EQ(Delay(1)->GetValue(), Delay(0)->GetValue());
    EXPECT_EQ(Delay(2)->GetValue(), Delay(0)->GetValue());
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return SentDelay(0) && SentDelay(1) && SentDelay(2); },
                                    WindowTest::kWaitMs));

    // A distance typed in metres for output 4.
    Param("global\\OutDelayUnits")->SetValue(4, true);
    auto* field = dynamic_cast<XTextEditView*>(window.GetPanel(3)->GetDelayBox(4)->GetTextField());
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
    EXPECT_NEAR(Delay(3)->GetValue(), 9.994, kStepMs);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return SentDelay(3); }, WindowTest::kWaitMs));

    // Output 4's bypass clicked off: its delay counts in its total.
    Bypass(3)->SetValue(1, true);
    XButton& bypass = *window.GetPanel(3)->GetBypassButton();
    const juce::Point<int> onBypass(bypass.GetWidth() / 2, bypass.GetHeight() / 2);
    mouse.Wait(1000);
    mouse.Send(bypass, onBypass, left);
    mouse.Send(bypass, onBypass, {});
    EXPECT_EQ(Bypass(3)->GetValue(), 0.0);
    EXPECT_STREQ(window.GetLocalParam(ChannelDelayWindow::kTotalId + 3)->GetText().CStr(),
                 XString().Format("%.2f ms", Delay(3)->GetValue()).CStr());
    GuiTestSupport::TakeScreenshot(window, "OutputDelayWindowLinked");
}
} // namespace
