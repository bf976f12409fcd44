// The input graphic equaliser window: the graphic bands' frequencies and Qs, the parametric overlay's
// draw flags, the views' look per selected input, the link state, "EQ Flat" with its own paced sending,
// and real mouse use against the simulated unit.

#include "windows/MasterGraphicEqWindow.h"

#include "WindowTestSupport.h"
#include "device/ChannelBehaviours.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/TWMsgBuf.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "widgets/XEQView.h"
#include "windows/GEQFilterPanel.h"
#include "windows/InputPEQWindow.h"
#include "windows/InputParameterLinkWindow.h"
#include "windows/LocalParamDesc.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace
{
using WindowTest::Param;
using W = MasterGraphicEqWindow;

XParam* In(int32_t input, int32_t id)
{
    return GetInputChannel(input)->GetParam(id);
}

XParam* Gain(int32_t input, int32_t band)
{
    return In(input, W::kGeqGainId + band);
}

int GainWireId(int32_t input, int32_t band)
{
    return 64 + 98 * input + W::kGeqGainId + band;
}

XRGB Scaled(XRGB colour, double percent)
{
    colour.ScaleBrightness(percent);
    return colour;
}

XRGB InputColour(int32_t input)
{
    return GetColorDictionary().GetColor(input == 0 ? "inputA" : "inputB");
}

float FloatAt(const FrameBytes::Bytes& bytes, size_t at)
{
    const uint32_t bits = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                          (static_cast<uint32_t>(bytes[at + 3]) << 24);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/** The wire ids of set-parameter frames, in order, checking that each carries the value 0. */
std::vector<int> ZeroedWireIds(const std::vector<FrameBytes::Sent>& frames)
{
    std::vector<int> ids;
    for (const FrameBytes::Sent& frame : frames)
    {
        ids.push_back(FrameBytes::U16At(frame.payload, 0));
        EXPECT_EQ(FloatAt(frame.payload, 3), 0.0f) << "wire id " << ids.back();
    }
    return ids;
}

/** The configuration pairs the inputs (configuration 0, standard edit, linking on), or it does not
    (configuration 4). */
void PairInputs(bool paired)
{
    Param("QM7_KOVA\\globalEditMode")->SetValue(0, true);
    Param("QM7\\enableChannelLinking")->SetValue(paired ? 1 : 0, true);
    Param(W::kConfigPath)->SetValue(paired ? 0 : 4, true);
}

int ChildIndex(juce::Component* view)
{
    return view->getParentComponent()->getIndexOfChildComponent(view);
}

class MasterGraphicEqWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        W::ShowPeq().SetValue(0, false);
        W::GeqLinked().SetValue(0, false);
    }

    ChannelBehaviours behaviours; // edits of a paired input follow to the other
};
} // namespace

TEST_F(MasterGraphicEqWindowTest, GraphicBandsSitOnTheIsoFrequenciesWithAQThatGrowsWithTheGain)
{
    W window;
    const double iso[W::kGraphicBandCount] = {
        20,  25,   31.5, 40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
        800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};
    for (int32_t band = 0; band < W::kGraphicBandCount; ++band)
        EXPECT_EQ(W::BandFrequency(band)->GetValue(), iso[band]) << "band " << band;
    EXPECT_EQ(W::BandQ(0, 4)->GetValue(), 0.234);

    struct Case
    {
        int32_t input;
        int32_t band;
        double gain;
        bool fromUnit;
        double q;
    };
    const Case cases[] = {
        {0, 0, -6, false, 4.566}, {1, 15, 12, false, 8.898}, {1, 30, -15, false, 11.064},
        {0, 7, 0.5, true, 0.595}, {1, 15, 0, true, 0.234},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "input " << c.input << " band " << c.band << " gain " << c.gain);
        const double otherQ = W::BandQ(1 - c.input, c.band)->GetValue();
        if (c.fromUnit)
            Gain(c.input, c.band)->SetValue(c.gain, true);
        else
            Gain(c.input, c.band)->ChangeValue(c.gain, true);
        EXPECT_NEAR(W::BandQ(c.input, c.band)->GetValue(), c.q, 1e-9);
        EXPECT_EQ(W::BandQ(1 - c.input, c.band)->GetValue(), otherQ);
    }

    // Each view draws its input's parametric bands, then the graphic bands as peaking filters.
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    for (int32_t input = 0; input < 2; ++input)
    {
        XEQView* view = window.GetEqView(input);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetNumBands(), 41);
        EXPECT_EQ(view->GetEnableParam(), In(input, W::kGeqAllBypassId));
        EXPECT_EQ(view->GetBandParam(XEQView::kBandGain, 0),
                  In(input, ChannelParamTables::kInputGainFirstId));
        EXPECT_EQ(view->GetBandParam(XEQView::kBandFrequency, 9),
                  In(input, ChannelParamTables::kInputFreqFirstId + 9));
        EXPECT_EQ(view->GetBandParam(XEQView::kBandQ, 4), In(input, ChannelParamTables::kInputQFirstId + 4));
        EXPECT_EQ(view->GetBandParam(XEQView::kBandOn, 2), window.GetDrawFlag(input, 2));
        const std::string drawType = std::string("PEQDrawCh") + (input == 0 ? "A" : "B") + "\\DrawTypeBand4";
        EXPECT_EQ(view->GetBandParam(XEQView::kBandType, 3), Param(drawType.c_str()));
        EXPECT_NE(Param(drawType.c_str()), nullptr);
        for (int32_t band : {0, 12, 30})
        {
            const int32_t slot = 10 + band;
            EXPECT_EQ(view->GetBandParam(XEQView::kBandGain, slot), Gain(input, band));
            EXPECT_EQ(view->GetBandParam(XEQView::kBandFrequency, slot), W::BandFrequency(band));
            EXPECT_EQ(view->GetBandParam(XEQView::kBandQ, slot), W::BandQ(input, band));
            EXPECT_EQ(view->GetBandParam(XEQView::kBandOn, slot), In(input, W::kGeqBypassId + band));
            EXPECT_EQ(view->GetBandParam(XEQView::kBandType, slot)->GetValue(), 2.0);
        }
    }
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(MasterGraphicEqWindowTest, ParametricBandsAreDrawnOnlyWithShowPeqOnAndWhereNothingBypassesThem)
{
    W window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    XEQView* view = window.GetEqView(1);
    struct Case
    {
        double showPeq;
        double allBypass;
        double bandBypass;
        bool drawn;
    };
    const Case cases[] = {
        {0, 0, 0, false}, {0, 0, 1, false}, {0, 1, 0, false}, {1, 0, 0, true},
        {1, 0, 1, false}, {1, 1, 0, false}, {0, 0, 0, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "show " << c.showPeq << " all " << c.allBypass << " band " << c.bandBypass);
        In(1, W::kPeqBypassId + 4)->ChangeValue(c.bandBypass, true);
        In(1, W::kPeqBypassId + 6)->ChangeValue(1 - c.bandBypass, true);
        In(1, W::kPeqAllBypassId)->ChangeValue(c.allBypass, true);
        W::ShowPeq().ChangeValue(c.showPeq, true);
        EXPECT_EQ(window.GetDrawFlag(1, 4)->GetValue(), c.drawn ? 0.0 : 1.0);
        EXPECT_EQ(view->IsBandOn(4), c.drawn);
        const bool otherDrawn = c.showPeq == 1 && c.allBypass == 0 && c.bandBypass == 1;
        EXPECT_EQ(view->IsBandOn(6), otherDrawn);
        // Input A's overlay follows input A's switches only.
        EXPECT_EQ(window.GetEqView(0)->IsBandOn(4), c.showPeq == 1);
    }
}

TEST_F(MasterGraphicEqWindowTest, TheSelectedInputsViewIsInFrontMarkedAndDrawnByItsOnOffState)
{
    W window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    XEQView* views[2] = {window.GetEqView(0), window.GetEqView(1)};

    // The dB range switches both views.
    EXPECT_EQ(views[0]->GetDisplayRange(), 25.5);
    window.GetRangeParam().ChangeValue(1, true);
    EXPECT_EQ(views[0]->GetDisplayRange(), 12.75);
    EXPECT_EQ(views[1]->GetDisplayRange(), 12.75);
    window.GetRangeParam().ChangeValue(0, true);
    EXPECT_EQ(views[1]->GetDisplayRange(), 25.5);

    struct Case
    {
        int32_t active;
        bool activeOn;
        bool otherOn;
        uint32_t activeWidth;
        double activePercent;
        double otherPercent;
    };
    const Case cases[] = {
        {1, true, true, 2, 100, 80},
        {1, false, true, 1, 50, 80},
        {0, true, false, 2, 100, 20},
        {0, false, false, 1, 50, 20},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "active " << c.active << " on " << c.activeOn << " other on " << c.otherOn);
        const int32_t other = 1 - c.active;
        In(c.active, W::kGeqAllBypassId)->ChangeValue(c.activeOn ? 0 : 1, true);
        In(other, W::kGeqAllBypassId)->ChangeValue(c.otherOn ? 0 : 1, true);
        window.SelectChannel(static_cast<unsigned>(other));
        window.SelectChannel(static_cast<unsigned>(c.active));
        window.SelectChannel(2); // ignored
        EXPECT_EQ(window.GetCurActiveChannel().GetValue(), c.active);

        XEQView* active = views[c.active];
        XEQView* passive = views[other];
        EXPECT_GT(ChildIndex(active), ChildIndex(passive));
        EXPECT_EQ(active->GetMarkingColor(), W::kActiveColor);
        EXPECT_EQ(passive->GetMarkingColor(), W::kInactiveColor);
        EXPECT_EQ(active->GetLineWidth(), c.activeWidth);
        EXPECT_EQ(passive->GetLineWidth(), 1u);
        EXPECT_EQ(active->GetCurveColor(), Scaled(InputColour(c.active), c.activePercent));
        EXPECT_EQ(passive->GetCurveColor(), Scaled(InputColour(other), c.otherPercent));
        EXPECT_EQ(active->IsHilited(), c.activeOn);
        EXPECT_EQ(active->IsEQEnabled(), c.activeOn);
        for (int32_t band : {0, 30})
        {
            EXPECT_TRUE(window.GetPanel(c.active, band)->isVisible());
            EXPECT_FALSE(window.GetPanel(other, band)->isVisible());
        }
        EXPECT_TRUE(window.GetEqOnButton(c.active)->isVisible());
        EXPECT_FALSE(window.GetEqOnButton(other)->isVisible());
    }
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(MasterGraphicEqWindowTest, TheLinkStateFollowsTheConfigurationAndTheLinkFlagAndOpensTheLinkWindow)
{
    W window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    struct Case
    {
        bool paired;
        double linkFlag;
        double state;
    };
    for (const Case& c : {Case{true, 0, 2}, Case{true, 1, 2}, Case{false, 1, 1}, Case{false, 0, 0}})
    {
        SCOPED_TRACE(testing::Message() << "paired " << c.paired << " flag " << c.linkFlag);
        PairInputs(c.paired);
        W::GeqLinked().ChangeValue(c.linkFlag, true);
        EXPECT_EQ(W::LinkState().GetValue(), c.state);
    }

    XParam* linkWindowParam = Param("QM7\\WndLinkInputGEQ");
    linkWindowParam->ChangeValue(1, true);
    EXPECT_TRUE(window.GetLinkWindow()->IsShown());
    linkWindowParam->ChangeValue(0, true);
    EXPECT_FALSE(window.GetLinkWindow()->IsShown());
}

TEST_F(MasterGraphicEqWindowTest, EqFlatAsksThenSendsEachBandItselfOncePerInputWithSendingRestored)
{
    W window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));

    // Every gain at 0: no question, nothing changes.
    window.OnEqFlat();
    EXPECT_TRUE(rig->dialogs.dialogs.empty());
    EXPECT_TRUE(watcher->IsSendingEnabled());

    struct Case
    {
        const char* what;
        int32_t input;
        bool paired;
        XDialogResult answer;
        bool sendingBefore;
        bool shiftHeld;
    };
    const Case cases[] = {
        {"No", 1, false, XDialog::kCancel, true, false},
        {"Yes on B", 1, false, XDialog::kOK, true, false},
        {"Yes on A, inputs paired", 0, true, XDialog::kOK, true, false},
        {"Yes on B, inputs paired, sending off", 1, true, XDialog::kOK, false, false},
        // Shift keeps the linking from copying the change: both inputs still end at what the unit got.
        {"Yes on A, inputs paired, Shift held", 0, true, XDialog::kOK, true, true},
    };
    const int32_t setBands[] = {2, 17, 30};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        PairInputs(c.paired);
        window.SelectChannel(static_cast<unsigned>(c.input));
        const int32_t other = 1 - c.input;
        for (int32_t band : setBands)
            Gain(c.input, band)->ChangeValue(band % 2 == 0 ? 4.5 : -6, true);
        Gain(other, 9)->SetValue(3, true);
        SendChanges();
        TakeFrames();
        rig->dialogs.dialogs.clear();
        watcher->SetSendingEnabled(c.sendingBefore);

        std::unique_ptr<FloatParam> shift;
        if (c.shiftHeld)
        {
            shift = std::make_unique<FloatParam>(LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 1, 2));
            shift->SetPath("dca\\shift");
        }
        rig->dialogs.answers.push_back(c.answer);
        window.OnEqFlat();
        shift.reset();
        ASSERT_EQ(rig->dialogs.dialogs.size(), 1u);
        EXPECT_EQ(rig->dialogs.dialogs[0].title, "EQ Flat");
        EXPECT_EQ(rig->dialogs.dialogs[0].text, "Are you sure? All EQ settings will be lost.");
        EXPECT_EQ(watcher->IsSendingEnabled(), c.sendingBefore);

        const bool flattened = c.answer == XDialog::kOK;
        std::vector<int> expected;
        for (int32_t band = 0; band < W::kGraphicBandCount && flattened; ++band)
        {
            if (c.paired)
            {
                expected.push_back(GainWireId(0, band));
                expected.push_back(GainWireId(1, band));
            }
            else
            {
                expected.push_back(GainWireId(c.input, band));
            }
        }
        EXPECT_EQ(ZeroedWireIds(TakeFrames(kCmdSetParamValue)), expected);
        EXPECT_EQ(Gain(c.input, 2)->GetValue(), flattened ? 0.0 : 4.5);
        EXPECT_EQ(Gain(c.input, 17)->GetValue(), flattened ? 0.0 : -6.0);
        EXPECT_EQ(Gain(other, 9)->GetValue(), flattened && c.paired ? 0.0 : 3.0);
        if (c.paired)
        {
            EXPECT_EQ(Gain(other, 17)->GetValue(), 0.0);
            EXPECT_EQ(Gain(other, 30)->GetValue(), 0.0);
        }

        // The periodic sender does not send them again.
        watcher->SetSendingEnabled(true);
        SendChanges();
        EXPECT_EQ(ZeroedWireIds(TakeFrames(kCmdSetParamValue)), std::vector<int>{});
        for (int32_t band : setBands)
            Gain(c.input, band)->SetValue(0, false);
        Gain(other, 9)->SetValue(0, false);
    }
}

TEST_F(MasterGraphicEqWindowTest, CompareModeCoversTheWholeWindow)
{
    W window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    const std::pair<const char*, juce::Component*> controls[] = {
        {"tab B", window.GetTab(1)},
        {"EQ Flat", window.GetEqFlatButton()},
        {"show PEQ", window.GetShowPeqButton()},
        {"graph", window.GetEqView(0)},
        {"fader", window.GetPanel(0, 0)->GetFader()},
        {"bypass LED", window.GetPanel(0, 30)->GetBypassLed()},
    };
    for (const bool compareMode : {true, false})
    {
        WindowTest::SetCompareMode(compareMode);
        for (const auto& [what, control] : controls)
            EXPECT_EQ(WindowTest::IsUnderCompareCover(window, *control), compareMode)
                << what << (compareMode ? " in" : " out of") << " compare mode";
    }
}

namespace
{
/** A graphic-EQ gain as the unit received it: its log's stamp (milliseconds on the unit's clock, which
    runs as scaled as the editor's) and the wire id. */
struct Arrival
{
    long stamp;
    int wireId;
};

class MasterGraphicEqWindowSimTest : public WindowTest::WindowSimTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowSimTestBase::SetUp();
        W::ShowPeq().SetValue(0, false);
        W::GeqLinked().SetValue(0, false);
    }

    static void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& view)
    {
        mouse.Wait(500); // no double click with the last one
        const juce::Point<int> centre = view.getLocalBounds().getCentre();
        mouse.Send(view, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
        mouse.Send(view, centre, juce::ModifierKeys());
    }

    /** How many set-parameter frames the unit received for each wire id, from frame first on. */
    std::map<int, int> UnitCounts(size_t first) const
    {
        std::map<int, int> counts;
        const std::vector<FrameBytes::Sent> frames = UnitReceived(kCmdSetParamValue);
        for (size_t at = first; at < frames.size(); ++at)
            ++counts[FrameBytes::U16At(frames[at].payload, 0)];
        return counts;
    }
    bool UnitGot(int wireId, size_t first = 0) const { return UnitCounts(first).count(wireId) > 0; }

    /** The graphic-EQ gains among the set-parameter frames the unit logged, from frame first on. */
    std::vector<Arrival> GainArrivals(size_t first) const
    {
        std::ifstream file(LogPath(), std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
        std::istringstream log(text);
        std::vector<Arrival> arrivals;
        size_t index = 0;
        for (std::string line; std::getline(log, line);)
        {
            std::istringstream fields(line);
            long stamp = 0;
            std::string direction, hex;
            fields >> stamp >> direction;
            FrameBytes::Bytes bytes;
            while (direction == "received" && fields >> hex && hex.size() == 2)
                bytes.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
            if (bytes.size() < TWMsgBuf::kHeaderSize + 2 || bytes[10] != kCmdSetParamValue || index++ < first)
                continue;
            const int wireId = FrameBytes::U16At(bytes, TWMsgBuf::kHeaderSize);
            if (wireId >= GainWireId(0, 0) && wireId <= GainWireId(1, W::kGraphicBandCount - 1))
                arrivals.push_back({stamp, wireId});
        }
        return arrivals;
    }

    ChannelBehaviours behaviours; // edits of a paired input follow to the other
    // The unit runs on the scaled clock too, so that its log's stamps measure the editor's waits.
    ScopedEnvironment unitClock{"KRX640_TIME_SCALE", std::to_string(WindowTest::kTimeScale)};
};

/** The middle one of the gaps between consecutive arrivals whose index (of the later) passes the
    filter: robust against a frame the transport held back a moment. */
long MedianGap(const std::vector<Arrival>& arrivals, bool (*counted)(size_t))
{
    std::vector<long> gaps;
    for (size_t at = 1; at < arrivals.size(); ++at)
        if (counted(at))
            gaps.push_back(arrivals[at].stamp - arrivals[at - 1].stamp);
    if (gaps.empty())
        return -1;
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return gaps[gaps.size() / 2];
}

/** The centre of the fader's knob when it stands for the gain. */
juce::Point<int> MarkOf(GEQFader& fader, double gain)
{
    const int32_t index = static_cast<int32_t>((gain + 15.0) / 0.5);
    const auto position = static_cast<int32_t>(fader.GetPixelRange() * static_cast<double>(index) / 60.0);
    const XRect knob = fader.GetKnobRect(position);
    return {(knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2};
}
} // namespace

TEST_F(MasterGraphicEqWindowSimTest, TabsFadersEqFlatAndShowPeqWorkWithRealEventsAndReachTheUnitOnce)
{
    ASSERT_TRUE(ConnectEditor());
    ASSERT_NE(Param(W::kCompareLockPath)->GetValue(), 0.0) << "controls take the mouse";
    PairInputs(true);
    InputPEQWindow parametric; // made at start-up, as in the program: it keeps the bands' draw types
    W window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    GuiTestSupport::PeerMouse mouse(window);

    // The tab "INPUT B" brings input B's view to the front and shows its faders.
    Click(mouse, *window.GetTab(1));
    ASSERT_EQ(window.GetCurActiveChannel().GetValue(), 1.0);
    EXPECT_GT(ChildIndex(window.GetEqView(1)), ChildIndex(window.GetEqView(0)));
    GEQFilterPanel* panel = window.GetPanel(1, 17);
    ASSERT_TRUE(panel->isVisible());

    // Dragging the fader's knob to a mark gives that mark's gain exactly, and the unit gets it.
    GEQFader& fader = *panel->GetFader();
    XParam* gain = Gain(1, 17);
    for (double target : {6.0, -7.5, 0.0, 14.5})
    {
        SCOPED_TRACE(target);
        const juce::Point<int> from = MarkOf(fader, gain->GetValue());
        const juce::Point<int> to = MarkOf(fader, target);
        mouse.Wait(500);
        mouse.Send(fader, from, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
        for (int step = 1; step <= 4; ++step)
            mouse.Send(fader, from + (to - from) * step / 4,
                       juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
        mouse.Send(fader, to, juce::ModifierKeys());
        EXPECT_EQ(gain->GetValue(), target);
    }
    EXPECT_EQ(Gain(0, 17)->GetValue(), 14.5) << "the paired input follows";
    Gain(1, 3)->ChangeValue(-4, true);
    Gain(1, 30)->ChangeValue(9, true);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return UnitGot(GainWireId(0, 30)) && UnitGot(GainWireId(1, 30)); },
                                    kSimWaitMs));

    // "EQ Flat", answered Yes: each band reaches the unit once per input, and not again later.
    const size_t mark = UnitReceived(kCmdSetParamValue).size();
    rig->dialogs.answers.push_back(XDialog::kOK);
    Click(mouse, *window.GetEqFlatButton());
    ASSERT_EQ(rig->dialogs.dialogs.size(), 1u);
    for (int32_t input = 0; input < 2; ++input)
        for (int32_t band : {3, 17, 30})
            EXPECT_EQ(Gain(input, band)->GetValue(), 0.0);
    EXPECT_TRUE(editor->watcher.IsSendingEnabled());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return UnitCounts(mark).size() >= 62; }, kSimWaitMs));
    GuiTestSupport::RunLoopFor(500); // many periods of the sender at the fast clock
    const std::map<int, int> counts = UnitCounts(mark);
    for (int32_t input = 0; input < 2; ++input)
        for (int32_t band = 0; band < W::kGraphicBandCount; ++band)
        {
            const auto found = counts.find(GainWireId(input, band));
            EXPECT_TRUE(found != counts.end() && found->second == 1)
                << "input " << input << " band " << band << " sent "
                << (found == counts.end() ? 0 : found->second) << " times";
        }
    // Paced band by band, A then B: 40 ms after A's request, 40 ms plus the next band's 5 ms after B's.
    const std::vector<Arrival> linked = GainArrivals(mark);
    ASSERT_EQ(linked.size(), 62u);
    for (size_t at = 0; at < linked.size(); ++at)
        EXPECT_EQ(linked[at].wireId, GainWireId(static_cast<int32_t>(at % 2), static_cast<int32_t>(at / 2)));
    const long afterA = MedianGap(linked, [](size_t at) { return at % 2 == 1; });
    const long afterB = MedianGap(linked, [](size_t at) { return at % 2 == 0; });
    EXPECT_TRUE(afterA >= 38 && afterA < 70) << afterA << " ms from A's request to B's";
    EXPECT_TRUE(afterB >= 43 && afterB < 80) << afterB << " ms from B's request to the next band's";
    EXPECT_GE(linked.back().stamp - linked.front().stamp, 30 * 85 + 40 - 40);

    // Not linked: input B alone, 5 ms and then 80 ms per band.
    PairInputs(false);
    ASSERT_EQ(W::LinkState().GetValue(), 0.0);
    const size_t beforeEdits = UnitReceived(kCmdSetParamValue).size();
    Gain(1, 4)->ChangeValue(3, true);
    Gain(0, 4)->ChangeValue(2, true);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return GainArrivals(beforeEdits).size() >= 2; }, kSimWaitMs));
    const size_t mark2 = UnitReceived(kCmdSetParamValue).size();
    rig->dialogs.answers.push_back(XDialog::kOK);
    Click(mouse, *window.GetEqFlatButton());
    ASSERT_EQ(rig->dialogs.dialogs.size(), 2u);
    EXPECT_EQ(Gain(1, 4)->GetValue(), 0.0);
    EXPECT_EQ(Gain(0, 4)->GetValue(), 2.0);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return GainArrivals(mark2).size() >= 31; }, kSimWaitMs));
    GuiTestSupport::RunLoopFor(500);
    const std::vector<Arrival> alone = GainArrivals(mark2);
    ASSERT_EQ(alone.size(), 31u);
    for (size_t at = 0; at < alone.size(); ++at)
        EXPECT_EQ(alone[at].wireId, GainWireId(1, static_cast<int32_t>(at)));
    const long perBand = MedianGap(alone, [](size_t) { return true; });
    EXPECT_TRUE(perBand >= 83 && perBand < 140) << perBand << " ms from band to band";
    EXPECT_GE(alone.back().stamp - alone.front().stamp, 30 * 85 - 40);
    EXPECT_TRUE(editor->watcher.IsSendingEnabled());

    // "Show PEQ" adds input B's unbypassed parametric bands to its view.
    XEQView* view = window.GetEqView(1);
    In(1, W::kPeqGainId + 3)->ChangeValue(9, true);
    In(1, W::kPeqBypassId + 3)->ChangeValue(0, true);
    In(1, W::kPeqBypassId + 5)->ChangeValue(1, true);
    view->RefreshIfChanged();
    const auto before = view->GetCurves().GetSummedRow();
    EXPECT_FALSE(view->IsBandOn(3));
    Click(mouse, *window.GetShowPeqButton());
    EXPECT_EQ(W::ShowPeq().GetValue(), 1.0);
    EXPECT_TRUE(view->IsBandOn(3));
    EXPECT_FALSE(view->IsBandOn(5));
    view->RefreshIfChanged();
    // Band 3's +9 dB is drawn by its type, a peak: the curve rises most at the band's own frequency (as
    // a shelf it would lift everything below it as much).
    const auto after = view->GetCurves().GetSummedRow();
    const auto columns =
        static_cast<size_t>(std::min(view->GetInnerRect().Width(), static_cast<int32_t>(after.size())));
    int rise = 0; // in pixels, upwards
    size_t first = 0;
    size_t last = 0;
    for (size_t column = 0; column < columns; ++column)
    {
        const int columnRise = before[column] - after[column];
        if (columnRise > rise)
            first = column;
        if (columnRise >= rise && columnRise > 0)
            last = column;
        rise = std::max(rise, columnRise);
    }
    ASSERT_GT(rise, 20) << "band 3's +9 dB is drawn";
    EXPECT_LT(before[0] - after[0], rise / 4) << "20 Hz is far below the band";
    const double bandColumn =
        view->FrequencyToX(In(1, W::kPeqFreqId + 3)->GetValue()) - view->GetInnerRect().left;
    EXPECT_NEAR(static_cast<double>(first + last) / 2.0, bandColumn, 3.0) << "the top of the rise";

    Gain(1, 10)->ChangeValue(6, true);
    Gain(1, 20)->ChangeValue(-9, true);
    Gain(0, 25)->ChangeValue(5, true); // input A's curve shows behind B's
    for (int32_t input = 0; input < 2; ++input)
        window.GetEqView(input)->RefreshIfChanged();
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "inputgraphiceq");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
