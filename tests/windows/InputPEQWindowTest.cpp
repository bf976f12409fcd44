// The input equaliser window: the type and slope rules over the twenty bands (at construction, on
// user changes and on the unit's reports), "EQ Flat", the link state and its indicators, the graphs'
// look and order per selected input, the band panels' rows and focus, and real mouse use.

#include "windows/InputPEQWindow.h"

#include "WindowTestSupport.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/DeviceCommand.h"
#include "device/WireId.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/QM7EQView.h"
#include "widgets/XComboBox.h"
#include "widgets/XComboBtn.h"
#include "windows/InputParameterLinkWindow.h"
#include "windows/PEQFilterPanel.h"

#include <cstring>
#include <gtest/gtest.h>

namespace
{
using WindowTest::Param;
using Rules = EqBandRules;

XParam* In(int32_t input, int32_t id)
{
    return GetInputChannel(input)->GetParam(id);
}

XParam* Type(int32_t input, int32_t band)
{
    return In(input, InputPEQWindow::kTypeId + band);
}

XParam* Gain(int32_t input, int32_t band)
{
    return In(input, InputPEQWindow::kGainId + band);
}

XParam* Q(int32_t input, int32_t band)
{
    return In(input, InputPEQWindow::kQId + band);
}

XParam* Slope(int32_t input, int32_t band)
{
    return In(input, InputPEQWindow::kSlopeId + band);
}

XParam* EqBypass(int32_t input)
{
    return In(input, InputPEQWindow::kEqBypassId);
}

double DrawType(int32_t input, int32_t band)
{
    return SharedWindowState::Instance().InputDrawType(input, band)->GetValue();
}

double QShown(int32_t input, int32_t band)
{
    return SharedWindowState::Instance().InputPeqQShown(input, band)->GetValue();
}

XRGB Scaled(XRGB colour, double percent)
{
    colour.ScaleBrightness(percent);
    return colour;
}

bool WireIdSent(const std::vector<FrameBytes::Sent>& frames, int wireId)
{
    return std::any_of(frames.begin(), frames.end(),
                       [&](const FrameBytes::Sent& frame)
                       { return FrameBytes::U16At(frame.payload, 0) == wireId; });
}

/** The names of the panel's visible captions, each followed by ';'. */
std::string ShownCaptions(const PEQFilterPanel& panel)
{
    std::string shown;
    for (const XText* caption : panel.GetCaptions())
        if (caption->isVisible())
            shown += std::string(caption->GetLabel().CStr()) + ";";
    return shown;
}

/** Whether a lies over b among their parent's children. */
bool IsInFrontOf(const juce::Component& a, const juce::Component& b)
{
    const juce::Component* parent = a.getParentComponent();
    return parent != nullptr && parent == b.getParentComponent() &&
           parent->getIndexOfChildComponent(&a) > parent->getIndexOfChildComponent(&b);
}

class InputPEQWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        // Inputs not paired by the configuration unless a test says so.
        Param("QM7_KOVA\\globalEditMode")->SetValue(1, true);
    }
};
} // namespace

TEST_F(InputPEQWindowTest, TheTypeAndSlopeRulesGiveTheWideQToEverythingButLowAndHighPass)
{
    InputPEQWindow window;
    constexpr int32_t kInput = 1; // input B, band 3
    constexpr int32_t kBand = 3;
    struct Case
    {
        int32_t type;
        int32_t slope;
        double q;
        double drawType;
        bool gainUsed;
        bool wideQ;
        double qAfter;
        double qShown;
    };
    const Case cases[] = {
        {Rules::kLowShelf, 0, 12.0, 9, true, true, 12.0, 0},
        {Rules::kLowShelf, 1, 5.0, 11, true, true, 5.0, 0},
        {Rules::kHighShelf, 0, 5.0, 10, true, true, 5.0, 0},
        {Rules::kHighShelf, 1, 12.0, 12, true, true, 12.0, 0},
        {Rules::kPeaking, 1, 12.0, 2, true, true, 12.0, 0},
        {Rules::kLowPass, 0, 12.0, 7, false, false, 0.7, 0},
        {Rules::kLowPass, 1, 1.5, 3, false, false, 1.5, 1},
        {Rules::kHighPass, 0, 1.5, 8, false, false, 1.5, 0},
        {Rules::kHighPass, 1, 5.0, 4, false, false, 0.7, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " slope " << c.slope);
        // From a peaking band with a gain and the given Q.
        Type(kInput, kBand)->ChangeValue(Rules::kPeaking, true);
        Gain(kInput, kBand)->ChangeValue(6, true);
        Q(kInput, kBand)->ChangeValue(c.q, true);
        Slope(kInput, kBand)->ChangeValue(c.slope, true);
        Type(kInput, kBand)->ChangeValue(c.type, true);

        XParam* gain = Gain(kInput, kBand);
        EXPECT_EQ(gain->GetValue(), c.gainUsed ? 6.0 : 0.0);
        EXPECT_EQ(gain->GetMax(), c.gainUsed ? 15.0 : 0.0);
        XParam* q = Q(kInput, kBand);
        EXPECT_EQ(q->GetMax(), c.wideQ ? 20.0 : 2.0);
        EXPECT_EQ(q->GetCount(), c.wideQ ? 197u : 17u);
        EXPECT_DOUBLE_EQ(q->GetValue(), c.qAfter);
        EXPECT_EQ(DrawType(kInput, kBand), c.drawType);
        EXPECT_EQ(QShown(kInput, kBand), c.qShown);
    }
    // The same band of the other input is untouched.
    EXPECT_EQ(DrawType(0, kBand), Rules::DrawType(static_cast<int32_t>(Type(0, kBand)->GetValue()),
                                                  static_cast<int32_t>(Slope(0, kBand)->GetValue())));
    EXPECT_EQ(Q(0, kBand)->GetMax(), Type(0, kBand)->GetValue() >= Rules::kLowPass ? 2.0 : 20.0);

    // The high-pass filter: its slope alone changes its drawing and whether its Q shows.
    for (const int32_t slope : {1, 0, 1})
    {
        Slope(0, 0)->ChangeValue(slope, true);
        EXPECT_EQ(DrawType(0, 0), slope == 1 ? 4.0 : 8.0);
        EXPECT_EQ(QShown(0, 0), slope);
        EXPECT_EQ(Q(0, 0)->GetMax(), 2.0);
    }
}

TEST_F(InputPEQWindowTest, TheRulesRunForAllTwentyBandsAtConstructionAndOnTheUnitsReports)
{
    // Before the window exists nothing applies the rules.
    Slope(0, 0)->SetValue(1, false);
    Slope(1, 0)->SetValue(0, false);
    Type(1, 5)->SetValue(Rules::kLowPass, false);
    Gain(1, 5)->SetValue(5, false);
    Q(1, 5)->SetValue(9, false);
    InputPEQWindow window;
    EXPECT_FALSE(window.IsContentBuilt());
    EXPECT_EQ(DrawType(0, 0), 4.0) << "the high-pass filter at 12 dB/oct";
    EXPECT_EQ(QShown(0, 0), 1.0);
    EXPECT_EQ(DrawType(1, 0), 8.0) << "the high-pass filter at 6 dB/oct";
    EXPECT_EQ(Gain(1, 5)->GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(Q(1, 5)->GetValue(), 0.7);
    for (int32_t input = 0; input < 2; ++input)
        for (int32_t band = 0; band < 10; ++band)
        {
            SCOPED_TRACE(testing::Message() << "input " << input << " band " << band);
            const auto type = static_cast<int32_t>(Type(input, band)->GetValue());
            const auto slope = static_cast<int32_t>(Slope(input, band)->GetValue());
            EXPECT_EQ(DrawType(input, band), Rules::DrawType(type, slope));
            EXPECT_EQ(WindowTest::Param((std::string("PEQDrawCh") + char('A' + input) + "\\DrawTypeBand" +
                                         std::to_string(band + 1))
                                            .c_str()),
                      SharedWindowState::Instance().InputDrawType(input, band));
        }
    SendChanges();
    TakeFrames();

    // The unit reports a low pass for input B's band 2 with a gain: the gain goes to 0 and back to the
    // unit; the reported type is not echoed.
    XParam* type = Type(1, 2);
    XParam* gain = Gain(1, 2);
    gain->SetValue(3, false);
    int32_t bits = Rules::kLowPass;
    if (IsFloatParamType(type->GetType()))
    {
        const float value = Rules::kLowPass;
        std::memcpy(&bits, &value, sizeof bits);
    }
    watcher->ApplyParamFromDevice(type, bits, 0, 0, static_cast<uint16_t>(watcher->FindLiveWireId(type)));
    EXPECT_EQ(gain->GetValue(), 0.0);
    EXPECT_EQ(Q(1, 2)->GetMax(), 2.0);
    EXPECT_EQ(DrawType(1, 2),
              Rules::DrawType(Rules::kLowPass, static_cast<int32_t>(Slope(1, 2)->GetValue())));
    SendChanges();
    const std::vector<FrameBytes::Sent> frames = TakeFrames(kCmdSetParamValue);
    EXPECT_TRUE(WireIdSent(frames, watcher->FindLiveWireId(gain)));
    EXPECT_FALSE(WireIdSent(frames, watcher->FindLiveWireId(type)));
}

TEST_F(InputPEQWindowTest, EqFlatAsksFirstThenZeroesTheSelectedInputsGainsAndBypassesItsHighPass)
{
    InputPEQWindow window;
    window.SelectChannel(1);
    XParam* hpfBypass = In(1, InputPEQWindow::kHpfBypassId);

    // All ten gains 0: no question, the high-pass filter untouched.
    for (int32_t band = 0; band < 10; ++band)
        Gain(1, band)->SetValue(0, false);
    hpfBypass->SetValue(0, false);
    window.OnEqFlat();
    EXPECT_TRUE(rig->dialogs.dialogs.empty());
    EXPECT_EQ(hpfBypass->GetValue(), 0.0);

    struct Case
    {
        XDialogResult answer;
        bool flattened;
    };
    for (const Case& c : {Case{XDialog::kCancel, false}, Case{XDialog::kOK, true}})
    {
        SCOPED_TRACE(c.answer);
        rig->dialogs.dialogs.clear();
        Gain(1, 1)->ChangeValue(4.5, true);
        Gain(1, 9)->ChangeValue(-6, true);
        Gain(0, 1)->ChangeValue(2, true);
        hpfBypass->ChangeValue(0, true);
        SendChanges();
        TakeFrames();
        rig->dialogs.answers.push_back(c.answer);
        window.OnEqFlat();
        ASSERT_EQ(rig->dialogs.dialogs.size(), 1u);
        EXPECT_EQ(rig->dialogs.dialogs[0].title, "EQ Flat");
        EXPECT_EQ(rig->dialogs.dialogs[0].text, "Are you sure? All EQ settings will be lost.");
        EXPECT_EQ(Gain(1, 1)->GetValue(), c.flattened ? 0.0 : 4.5);
        EXPECT_EQ(Gain(1, 9)->GetValue(), c.flattened ? 0.0 : -6.0);
        EXPECT_EQ(hpfBypass->GetValue(), c.flattened ? 1.0 : 0.0);
        EXPECT_EQ(Gain(0, 1)->GetValue(), 2.0);
        EXPECT_EQ(In(0, InputPEQWindow::kHpfBypassId)->GetValue(), 1.0) << "input A keeps its default";
        SendChanges();
        const std::vector<FrameBytes::Sent> frames = TakeFrames(kCmdSetParamValue);
        EXPECT_EQ(WireIdSent(frames, watcher->FindLiveWireId(Gain(1, 9))), c.flattened);
        EXPECT_EQ(WireIdSent(frames, watcher->FindLiveWireId(hpfBypass)), c.flattened);
    }
}

TEST_F(InputPEQWindowTest, TheLinkStateFollowsTheConfigurationFirstThenTheUsersLinkAndShowsOneIndicator)
{
    InputPEQWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    XParam* editMode = Param("QM7_KOVA\\globalEditMode");
    XParam* config = Param("preset\\CurrentConfig");
    struct Case
    {
        bool paired; // by the configuration and edit mode
        bool userLinked;
        int32_t state;
    };
    for (const Case& c :
         {Case{true, false, 2}, Case{true, true, 2}, Case{false, true, 1}, Case{false, false, 0}})
    {
        SCOPED_TRACE(testing::Message() << "paired " << c.paired << " user " << c.userLinked);
        editMode->SetValue(c.paired ? 0 : 1, true);
        config->SetValue(c.paired ? 0 : 2, true);
        window.GetUserLinked().ChangeValue(c.userLinked ? 1 : 0, true);
        EXPECT_EQ(Param(InputPEQWindow::kInputsLinkedPath)->GetValue(), c.paired ? 1.0 : 0.0);
        EXPECT_EQ(window.GetLinkState().GetValue(), c.state);
        for (int32_t state = 0; state < 3; ++state)
            EXPECT_EQ(window.GetLinkIndicator(state)->isVisible(), state == c.state) << "indicator " << state;
    }
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(InputPEQWindowTest, TheSelectedInputsGraphLiesInFrontAndEachGraphShowsWhetherItsEqIsOn)
{
    InputPEQWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    QM7EQView* a = window.GetEqView(0);
    QM7EQView* b = window.GetEqView(1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    const XRGB colourA = GetColorDictionary().GetColor("inputA");
    const XRGB colourB = GetColorDictionary().GetColor("inputB");
    EXPECT_TRUE(IsInFrontOf(*a, *b));
    EXPECT_EQ(a->GetBandParam(XEQView::kBandType, 0), SharedWindowState::Instance().InputDrawType(0, 0));
    EXPECT_EQ(b->GetBandParam(XEQView::kBandOn, 9), In(1, InputPEQWindow::kBypassId + 9));
    EXPECT_EQ(b->GetEnableParam(), EqBypass(1));

    struct Look
    {
        XRGB curve;
        uint32_t width;
        uint32_t radius;
    };
    const auto expectLook = [](const QM7EQView& view, const Look& look)
    {
        EXPECT_EQ(view.GetCurveColor(), look.curve);
        EXPECT_EQ(view.GetLineWidth(), look.width);
        EXPECT_EQ(view.GetBallRadius(), look.radius);
    };
    window.SelectChannel(1);
    EXPECT_EQ(window.GetSelectedInput().GetValue(), 1.0);
    EXPECT_TRUE(IsInFrontOf(*b, *a));
    expectLook(*b, {colourB, 2, 4});
    expectLook(*a, {Scaled(colourA, 80), 1, 0});
    EXPECT_EQ(window.GetTab(1)->GetLabelColor(true), (XRGB{42, 43, 45, 255}));
    EXPECT_EQ(window.GetTab(0)->GetLabelColor(true), (XRGB{227, 227, 228, 255}));

    window.SelectChannel(2); // ignored
    EXPECT_EQ(window.GetSelectedInput().GetValue(), 1.0);
    EXPECT_TRUE(IsInFrontOf(*b, *a));

    // Input A's EQ goes off and on while B is selected: A's own look follows, balls included.
    EqBypass(0)->ChangeValue(1, true);
    expectLook(*a, {Scaled(colourA, 20), 1, 0});
    EXPECT_FALSE(a->IsHilited());
    EqBypass(0)->ChangeValue(0, true);
    expectLook(*a, {colourA, 2, 4});
    EXPECT_TRUE(a->IsHilited());

    // B's EQ off, then B selected again: in front at half colour without balls; A behind at 80 %.
    EqBypass(1)->ChangeValue(1, true);
    window.SelectChannel(0);
    window.SelectChannel(1);
    expectLook(*b, {Scaled(colourB, 50), 1, 0});
    expectLook(*a, {Scaled(colourA, 80), 1, 0});
    EXPECT_TRUE(IsInFrontOf(*b, *a));

    window.GetRangeParam().ChangeValue(1, true);
    EXPECT_EQ(a->GetDisplayRange(), 12.75);
    EXPECT_EQ(b->GetDisplayRange(), 12.75);

    // While the current preset is locked neither graph takes the mouse.
    XParam* lockMode = Param(InputPEQWindow::kLockModePath);
    ASSERT_NE(lockMode, nullptr);
    Param("QM7_KOVA\\CurrentPreset")->SetValue(3, false);
    for (const bool locked : {true, false})
    {
        PresetsManager::Instance().SetEntryFlags(2, locked ? IPresetEntries::kFlagLocked : 0);
        lockMode->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
        EXPECT_EQ(a->IsHilited(), !locked);
        EXPECT_EQ(b->IsHilited(), !locked);
    }
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(InputPEQWindowTest, BandPanelsShowTheRowsOfTheBandsTypeAndAnyControlFocusesItsBand)
{
    InputPEQWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    FloatParam* focus = SharedWindowState::Instance().InputPeqFocusBand(0);
    EXPECT_EQ(focus->GetValue(), 1.0) << "band 1 has the focus at first";
    struct Case
    {
        const char* what;
        int32_t band;
        int32_t type; // -1: the high-pass filter's own
        int32_t slope;
        const char* captions;
        bool secondQ;
    };
    const Case cases[] = {
        {"HPF 6 dB", 0, -1, 0, "TYPE;SLOPE;FREQ;", false},
        {"HPF 12 dB", 0, -1, 1, "TYPE;SLOPE;FREQ;RESP / Q;", true},
        {"LOSLV", 4, Rules::kLowShelf, 1, "TYPE;GAIN;FREQ;SLOPE;", false},
        {"PEQ", 4, Rules::kPeaking, 0, "TYPE;GAIN;FREQ;RESP / Q;", false},
        {"HIPASS 12 dB", 4, Rules::kHighPass, 1, "TYPE;SLOPE;FREQ;RESP / Q;", true},
        {"LOPASS 6 dB", 4, Rules::kLowPass, 0, "TYPE;SLOPE;FREQ;", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Slope(0, c.band)->ChangeValue(c.slope, true);
        if (c.type >= 0)
            Type(0, c.band)->ChangeValue(c.type, true);
        ViewTest::Pump();
        PEQFilterPanel* panel = window.GetPanel(0, c.band);
        EXPECT_EQ(ShownCaptions(*panel), c.captions);
        EXPECT_TRUE(panel->GetTypePopup()->isVisible());
        EXPECT_TRUE(panel->GetFrequencyBox()->isVisible());
        EXPECT_EQ(panel->GetSecondQBox()->isVisible(), c.secondQ);
        EXPECT_EQ(panel->GetShelfSlopePopup()->isVisible(), c.type == Rules::kLowShelf);
    }
    // Input B's panels are hidden while A is selected.
    EXPECT_FALSE(window.GetPanel(1, 4)->isVisible());
    EXPECT_TRUE(window.GetPanel(0, 4)->isVisible());
    // The value boxes' text reads clearly on their light face.
    EXPECT_GE(GuiTestSupport::TextContrast(*window.GetPanel(0, 4)->GetFrequencyBox()->GetTextField()), 7.0);

    // A value set elsewhere (the unit, "EQ Flat") leaves the focus where it is.
    QM7EQView* view = window.GetEqView(0);
    PEQFilterPanel* band4 = window.GetPanel(0, 4);
    focus->ChangeValue(0, true);
    In(0, InputPEQWindow::kFreqId + 4)->ChangeValue(1000, true);
    Gain(0, 4)->SetValue(3, true);
    ViewTest::Pump();
    EXPECT_EQ(focus->GetValue(), 0.0);

    // A value box's spinner, the bypass button's press and the panel's background each focus the band.
    GuiTestSupport::PeerMouse mouse(window);
    XComboBtn* spinner = band4->GetFrequencyBox()->GetSpinner();
    ASSERT_NE(spinner, nullptr);
    const juce::Point<int> upper(spinner->getWidth() / 2, 2);
    mouse.Send(*spinner, upper, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*spinner, upper, juce::ModifierKeys());
    EXPECT_EQ(focus->GetValue(), 4.0);
    EXPECT_GT(In(0, InputPEQWindow::kFreqId + 4)->GetValue(), 1000.0);

    focus->ChangeValue(0, true);
    const juce::Point<int> background(37, 132); // between the last row and the bypass button
    mouse.Wait(500);                            // no double click with the spinner's press
    mouse.Send(*band4, background, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*band4, background, juce::ModifierKeys());
    EXPECT_EQ(focus->GetValue(), 4.0);
    EXPECT_TRUE(band4->GetBandButton()->IsLit(band4->GetBandButton()->GetPosition()));
    EXPECT_FALSE(
        window.GetPanel(0, 0)->GetBandButton()->IsLit(window.GetPanel(0, 0)->GetBandButton()->GetPosition()));
    EXPECT_EQ(view->GetSelectedBand(), 4);

    focus->ChangeValue(0, true);
    XButton* bypass = band4->GetBypassButton();
    const juce::Point<int> centre = bypass->getLocalBounds().getCentre();
    mouse.Wait(500);
    mouse.Send(*bypass, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*bypass, centre, juce::ModifierKeys());
    EXPECT_EQ(focus->GetValue(), 4.0);
    EXPECT_EQ(In(0, InputPEQWindow::kBypassId + 4)->GetValue(), 1.0);
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(InputPEQWindowTest, ATabClickBringsItsInputsGraphToTheFrontEqFlatFlattensAndTheLinkButtonOpensLinking)
{
    InputPEQWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    GuiTestSupport::PeerMouse mouse(window);
    const auto click = [&](juce::Component& view)
    {
        const juce::Point<int> centre = view.getLocalBounds().getCentre();
        mouse.Wait(500); // no double click with the last one
        mouse.Send(view, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
        mouse.Send(view, centre, juce::ModifierKeys());
    };
    Gain(1, 2)->ChangeValue(9, true);
    Gain(0, 5)->ChangeValue(-6, true);

    XButton* tabB = window.GetTab(1);
    EXPECT_EQ(tabB->GetLabel(), "INPUT B");
    click(*tabB);
    EXPECT_EQ(window.GetSelectedInput().GetValue(), 1.0);
    EXPECT_TRUE(IsInFrontOf(*window.GetEqView(1), *window.GetEqView(0)));
    EXPECT_TRUE(window.GetPanel(1, 2)->isVisible());
    EXPECT_FALSE(window.GetPanel(0, 2)->isVisible());
    for (QM7EQView* view : {window.GetEqView(0), window.GetEqView(1)})
        view->RefreshIfChanged();
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "inputpeq_b");

    // "EQ Flat", answered Yes, flattens input B and bypasses its high-pass filter; input A keeps its gains.
    In(1, InputPEQWindow::kHpfBypassId)->ChangeValue(0, true);
    rig->dialogs.answers.push_back(XDialog::kOK);
    click(*window.GetEqFlatButton());
    ASSERT_EQ(rig->dialogs.dialogs.size(), 1u);
    EXPECT_EQ(Gain(1, 2)->GetValue(), 0.0);
    EXPECT_EQ(In(1, InputPEQWindow::kHpfBypassId)->GetValue(), 1.0);
    EXPECT_EQ(Gain(0, 5)->GetValue(), -6.0);

    // Not paired by the configuration: the "unlink" indicator opens the linking window.
    ASSERT_EQ(window.GetLinkState().GetValue(), 0.0);
    XButton* unlinked = window.GetLinkIndicator(InputPEQWindow::kNotLinked);
    ASSERT_TRUE(unlinked->isVisible());
    click(*unlinked);
    EXPECT_EQ(GetAppServices().GetParam(InputPEQWindow::kLinkWindowParamId)->GetValue(), 1.0);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return window.GetLinkWindow()->IsShown(); }, WindowTest::kWaitMs));
    GetAppServices().GetParam(InputPEQWindow::kLinkWindowParamId)->ChangeValue(0, true);
    EXPECT_FALSE(window.GetLinkWindow()->IsShown());

    click(*window.GetTab(0));
    EXPECT_EQ(window.GetSelectedInput().GetValue(), 0.0);
    EXPECT_TRUE(IsInFrontOf(*window.GetEqView(0), *window.GetEqView(1)));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(InputPEQWindowTest, CompareModeCoversTheButtonsAndTheBandControlsButNotTheTabsOrGraphs)
{
    InputPEQWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    Gain(0, 3)->ChangeValue(6, true);
    PEQFilterPanel* panel = window.GetPanel(0, 3);
    struct Case
    {
        const char* what;
        juce::Component* control;
        bool covered;
    };
    const Case cases[] = {
        {"EQ Flat", window.GetEqFlatButton(), true}, {"EQ on", window.GetEqOnButton(0), true},
        {"type", panel->GetTypePopup(), true},       {"gain", panel->GetGainBox(), true},
        {"bypass", panel->GetBypassButton(), true},  {"tab B", window.GetTab(1), false},
        {"graph", window.GetEqView(0), false},
    };
    for (const bool compareMode : {true, false})
    {
        WindowTest::SetCompareMode(compareMode);
        for (const Case& c : cases)
            EXPECT_EQ(WindowTest::IsUnderCompareCover(window, *c.control), compareMode && c.covered)
                << c.what << (compareMode ? " in" : " out of") << " compare mode";
    }

    // A click on "EQ Flat" in compare mode reaches the cover, not the button.
    WindowTest::SetCompareMode(true);
    GuiTestSupport::PeerMouse mouse(window);
    XButton* eqFlat = window.GetEqFlatButton();
    const juce::Point<int> centre = eqFlat->getLocalBounds().getCentre();
    mouse.Send(*eqFlat, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*eqFlat, centre, juce::ModifierKeys());
    EXPECT_TRUE(rig->dialogs.dialogs.empty());
    EXPECT_EQ(Gain(0, 3)->GetValue(), 6.0);
}
