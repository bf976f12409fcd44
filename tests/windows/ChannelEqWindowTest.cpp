// The output equaliser window: the type and slope rules over every band (at construction, on user
// changes and on the unit's reports), "EQ Flat", the graph's look per output, the tabs' colours and
// captions, the band panels' rows and focus, and real mouse use against the simulated unit.

#include "windows/ChannelEqWindow.h"

#include "WindowTestSupport.h"
#include "core/XParamDesc.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/DeviceCommand.h"
#include "device/WireId.h"
#include "gui/MenuTestSupport.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/QM7EQView.h"
#include "widgets/TabButton.h"
#include "widgets/XComboBox.h"
#include "widgets/XComboBtn.h"
#include "windows/ChannelPanel.h"
#include "windows/FilterPanel.h"

#include <cstring>
#include <gtest/gtest.h>

namespace
{
using WindowTest::Param;
using Rules = EqBandRules;

XParam* Out(int32_t output, int32_t id)
{
    return GetOutputChannel(output)->GetParam(id);
}

XParam* Type(int32_t output, int32_t band)
{
    return Out(output, ChannelEqWindow::kTypeId + band);
}

XParam* Gain(int32_t output, int32_t band)
{
    return Out(output, ChannelEqWindow::kGainId + band);
}

XParam* Q(int32_t output, int32_t band)
{
    return Out(output, ChannelEqWindow::kQId + band);
}

XParam* Slope(int32_t output, int32_t band)
{
    return Out(output, ChannelEqWindow::kSlopeId + band);
}

XParam* EqBypass(int32_t output)
{
    return Out(output, ChannelEqWindow::kEqBypassId);
}

double DrawType(int32_t output, int32_t band)
{
    return SharedWindowState::Instance().DrawType(output, band)->GetValue();
}

double QShown(int32_t output, int32_t band)
{
    return SharedWindowState::Instance().ChannelEqQShown(output, band)->GetValue();
}

XRGB Scaled(XRGB colour, double percent)
{
    colour.ScaleBrightness(percent);
    return colour;
}

XRGB OutputColour(int index)
{
    XString name;
    name.Format("outputColor%d", index + 1);
    return GetColorDictionary().GetColor(name.CStr());
}

bool WireIdSent(const std::vector<FrameBytes::Sent>& frames, int wireId)
{
    return std::any_of(frames.begin(), frames.end(),
                       [&](const FrameBytes::Sent& frame)
                       { return FrameBytes::U16At(frame.payload, 0) == wireId; });
}

class ChannelEqWindowTest : public WindowTest::WindowTestBase
{
protected:
    /** Makes the current preset a locked one (lock mode 1) or an unlocked one. */
    void SetPresetLocked(bool locked)
    {
        Param("QM7_KOVA\\CurrentPreset")->SetValue(3, true);
        PresetsManager::Instance().SetEntryFlags(2, locked ? 4 : 0);
        ASSERT_EQ(Param(ChannelEqWindow::kLockModePath)->GetValue(), locked ? 1.0 : 0.0);
    }
};
} // namespace

TEST_F(ChannelEqWindowTest, TheTypeAndSlopeRulesSetTheGainAndQRangesTheDrawTypeAndTheQFlag)
{
    ChannelEqWindow window;
    constexpr int32_t kOutput = 1; // output 2, band 3
    constexpr int32_t kBand = 2;
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
        {Rules::kLowShelf, 0, 5.0, 9, true, false, 0.7, 0},
        {Rules::kLowShelf, 1, 1.5, 11, true, false, 1.5, 0},
        {Rules::kHighShelf, 0, 1.5, 10, true, false, 1.5, 0},
        {Rules::kHighShelf, 1, 5.0, 12, true, false, 0.7, 0},
        {Rules::kPeaking, 0, 5.0, 2, true, true, 5.0, 0},
        {Rules::kPeaking, 1, 12.0, 2, true, true, 12.0, 0},
        {Rules::kLowPass, 0, 5.0, 7, false, false, 0.7, 0},
        {Rules::kLowPass, 1, 1.5, 3, false, false, 1.5, 1},
        {Rules::kHighPass, 0, 1.5, 8, false, false, 1.5, 0},
        {Rules::kHighPass, 1, 5.0, 4, false, false, 0.7, 1},
        {Rules::kAllPass1, 1, 1.5, 29, false, false, 1.5, 0},
        {Rules::kAllPass2, 0, 5.0, 30, false, false, 0.7, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " slope " << c.slope);
        // From a peaking band with a gain and a wide Q.
        Type(kOutput, kBand)->ChangeValue(Rules::kPeaking, true);
        Gain(kOutput, kBand)->ChangeValue(6, true);
        Q(kOutput, kBand)->ChangeValue(c.q, true);
        Slope(kOutput, kBand)->ChangeValue(c.slope, true);
        Type(kOutput, kBand)->ChangeValue(c.type, true);

        XParam* gain = Gain(kOutput, kBand);
        EXPECT_EQ(gain->GetValue(), c.gainUsed ? 6.0 : 0.0);
        EXPECT_EQ(gain->GetMin(), c.gainUsed ? -15.0 : 0.0);
        EXPECT_EQ(gain->GetMax(), c.gainUsed ? 15.0 : 0.0);
        if (c.gainUsed)
        {
            EXPECT_EQ(gain->GetCount(), 61u);
        }
        XParam* q = Q(kOutput, kBand);
        EXPECT_EQ(q->GetMin(), 0.4);
        EXPECT_EQ(q->GetMax(), c.wideQ ? 20.0 : 2.0);
        EXPECT_EQ(q->GetCount(), c.wideQ ? 197u : 17u);
        EXPECT_DOUBLE_EQ(q->GetValue(), c.qAfter);
        EXPECT_EQ(DrawType(kOutput, kBand), c.drawType);
        EXPECT_EQ(QShown(kOutput, kBand), c.qShown);
    }

    // Peaking with a Q of 5 becomes a 6 dB/oct low pass: no gain, the narrow Q, then 12 dB/oct.
    Type(kOutput, kBand)->ChangeValue(Rules::kPeaking, true);
    Gain(kOutput, kBand)->ChangeValue(-3, true);
    Q(kOutput, kBand)->ChangeValue(5, true);
    Slope(kOutput, kBand)->ChangeValue(0, true);
    Type(kOutput, kBand)->ChangeValue(Rules::kLowPass, true);
    EXPECT_EQ(Gain(kOutput, kBand)->GetValue(), 0.0);
    EXPECT_EQ(Gain(kOutput, kBand)->GetMax(), 0.0);
    EXPECT_EQ(DrawType(kOutput, kBand), 7.0);
    EXPECT_DOUBLE_EQ(Q(kOutput, kBand)->GetValue(), 0.7);
    EXPECT_EQ(QShown(kOutput, kBand), 0.0);
    Slope(kOutput, kBand)->ChangeValue(1, true);
    EXPECT_EQ(DrawType(kOutput, kBand), 3.0);
    EXPECT_EQ(QShown(kOutput, kBand), 1.0);
    // The other bands and outputs are untouched.
    EXPECT_EQ(DrawType(kOutput, kBand + 1), 2.0);
    EXPECT_EQ(DrawType(kOutput + 1, kBand), 2.0);
}

TEST_F(ChannelEqWindowTest, TheRulesRunForEveryBandAtConstructionAndOnTheUnitsReports)
{
    // Before the window exists nothing applies the rules.
    Type(3, 0)->SetValue(Rules::kLowPass, false);
    Slope(3, 0)->SetValue(0, false);
    Gain(3, 0)->SetValue(5, false);
    Type(5, 4)->SetValue(Rules::kAllPass2, false);
    ChannelEqWindow window;
    EXPECT_EQ(Gain(3, 0)->GetValue(), 0.0);
    EXPECT_EQ(Gain(3, 0)->GetMax(), 0.0);
    EXPECT_EQ(DrawType(3, 0), 7.0);
    EXPECT_EQ(QShown(5, 4), 1.0);
    for (int32_t output = 0; output < 6; ++output)
        for (int32_t band = 0; band < 5; ++band)
        {
            SCOPED_TRACE(testing::Message() << "output " << output << " band " << band);
            const auto type = static_cast<int32_t>(Type(output, band)->GetValue());
            const auto slope = static_cast<int32_t>(Slope(output, band)->GetValue());
            EXPECT_EQ(DrawType(output, band), Rules::DrawType(type, slope));
        }
    SendChanges();
    TakeFrames();

    // The unit reports a high pass for a band with a gain: the gain goes to 0 and back to the unit;
    // the reported type is not echoed.
    XParam* type = Type(1, 4);
    XParam* gain = Gain(1, 4);
    gain->SetValue(3, false);
    int32_t bits = Rules::kHighPass;
    if (IsFloatParamType(type->GetType()))
    {
        const float value = Rules::kHighPass;
        std::memcpy(&bits, &value, sizeof bits);
    }
    watcher->ApplyParamFromDevice(type, bits, 0, 0, static_cast<uint16_t>(watcher->FindLiveWireId(type)));
    EXPECT_EQ(gain->GetValue(), 0.0);
    EXPECT_EQ(DrawType(1, 4),
              Rules::DrawType(Rules::kHighPass, static_cast<int32_t>(Slope(1, 4)->GetValue())));
    SendChanges();
    const std::vector<FrameBytes::Sent> frames = TakeFrames(kCmdSetParamValue);
    EXPECT_TRUE(WireIdSent(frames, watcher->FindLiveWireId(gain)));
    EXPECT_FALSE(WireIdSent(frames, watcher->FindLiveWireId(type)));
}

TEST_F(ChannelEqWindowTest, EqFlatAsksFirstAndZeroesOnlyTheSelectedOutputsGains)
{
    ChannelEqWindow window;
    SharedWindowState::Instance().CurActiveChannel().ChangeValue(2, true);

    // All gains 0: no question.
    for (int32_t band = 0; band < 5; ++band)
        Gain(2, band)->SetValue(0, false);
    window.OnEqFlat();
    EXPECT_TRUE(rig->dialogs.dialogs.empty());

    struct Case
    {
        XDialogResult answer;
        bool flattened;
    };
    for (const Case& c : {Case{XDialog::kCancel, false}, Case{XDialog::kOK, true}})
    {
        SCOPED_TRACE(c.answer);
        rig->dialogs.dialogs.clear();
        Gain(2, 1)->ChangeValue(4.5, true);
        Gain(2, 3)->ChangeValue(-6, true);
        Gain(4, 1)->ChangeValue(2, true);
        Q(2, 1)->ChangeValue(3, true);
        SendChanges();
        TakeFrames();
        rig->dialogs.answers.push_back(c.answer);
        window.OnEqFlat();
        ASSERT_EQ(rig->dialogs.dialogs.size(), 1u);
        EXPECT_EQ(rig->dialogs.dialogs[0].title, "EQ Flat");
        EXPECT_EQ(rig->dialogs.dialogs[0].text, "Are you sure? All EQ settings will be lost.");
        EXPECT_EQ(Gain(2, 1)->GetValue(), c.flattened ? 0.0 : 4.5);
        EXPECT_EQ(Gain(2, 3)->GetValue(), c.flattened ? 0.0 : -6.0);
        EXPECT_EQ(Gain(4, 1)->GetValue(), 2.0);
        EXPECT_EQ(Q(2, 1)->GetValue(), 3.0);
        EXPECT_EQ(Type(2, 1)->GetValue(), Rules::kPeaking);
        SendChanges();
        const std::vector<FrameBytes::Sent> frames = TakeFrames(kCmdSetParamValue);
        EXPECT_EQ(WireIdSent(frames, watcher->FindLiveWireId(Gain(2, 1))), c.flattened);
        EXPECT_EQ(WireIdSent(frames, watcher->FindLiveWireId(Gain(2, 3))), c.flattened);
    }
}

TEST_F(ChannelEqWindowTest, TheGraphFollowsTheSelectedOutputItsColourItsOnOffStateAndTheLockMode)
{
    Param("preset\\ColorChan3")->SetValue(4, true);
    ChannelEqWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    QM7EQView* view = window.GetEqView();
    ASSERT_NE(view, nullptr);
    FloatParam& channel = SharedWindowState::Instance().CurActiveChannel();

    channel.ChangeValue(2, true);
    EXPECT_EQ(view->GetBandParam(XEQView::kBandGain, 3), Gain(2, 3));
    EXPECT_EQ(view->GetBandParam(XEQView::kBandType, 3), SharedWindowState::Instance().DrawType(2, 3));
    EXPECT_EQ(view->GetBandParam(XEQView::kBandOn, 0), Out(2, ChannelEqWindow::kBandBypassId));
    EXPECT_EQ(view->GetSelectedBandParam(), SharedWindowState::Instance().ChannelEqFocusBand(2));
    EXPECT_EQ(window.GetCurActiveColor().GetValue(), 4.0);
    const XRGB green = OutputColour(4);

    struct Look
    {
        XRGB curve;
        uint32_t width;
        uint32_t radius;
        bool mouse;
    };
    const auto expectLook = [&](const Look& look)
    {
        EXPECT_EQ(view->GetCurveColor(), look.curve);
        EXPECT_EQ(view->GetBallColor(), Scaled(green, 80));
        EXPECT_EQ(view->GetDraggedCurveColor(), Scaled(green, 150));
        EXPECT_EQ(view->GetLineWidth(), look.width);
        EXPECT_EQ(view->GetBallRadius(), look.radius);
        EXPECT_EQ(view->IsHilited(), look.mouse);
    };
    const Look on{green, 2, 4, true};
    const Look off{Scaled(green, 60), 1, 0, false};
    expectLook(on);
    EqBypass(2)->ChangeValue(1, true);
    expectLook(off);
    EqBypass(0)->ChangeValue(1, true); // not the selected output: no change
    expectLook(off);
    EqBypass(2)->ChangeValue(0, true);
    expectLook(on);

    // Locked: another output with its EQ on stays unclickable until the selected output's on/off
    // state changes.
    SetPresetLocked(true);
    Param(ChannelEqWindow::kLockModePath)->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
    EXPECT_FALSE(view->IsHilited());
    channel.ChangeValue(0, true);
    EXPECT_FALSE(view->IsHilited());
    EqBypass(0)->ChangeValue(0, true);
    EXPECT_TRUE(view->IsHilited());

    // The dB range toggle.
    EXPECT_EQ(view->GetDisplayRange(), 25.5);
    window.GetRangeParam().ChangeValue(1, true);
    EXPECT_EQ(view->GetDisplayRange(), 12.75);
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(ChannelEqWindowTest, TabsShowTheOutputsLabelsAndTakeTheirColoursWhenTheConfigurationChanges)
{
    Param("preset\\ColorChan2")->SetValue(5, true);
    Out(3, ChannelEqWindow::kLabelId)->SetText("Sub L", true);
    ChannelEqWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    XResourceManager& skin = GetResourceManager();
    const auto litImageOf = [&](int output) { return window.GetTab(output)->GetImage2(); };
    EXPECT_EQ(litImageOf(0), skin.GetImage("ChannelEq\\ChannelEqTabred.png"));
    EXPECT_EQ(litImageOf(1), skin.GetImage("ChannelEq\\ChannelEqTabpurple.png"));
    EXPECT_EQ(window.GetTab(1)->GetImage(), skin.GetImage("ChannelEq\\ChannelEqTabDim.png"));
    EXPECT_EQ(window.GetTab(3)->GetLabel(), "Sub L");

    Out(4, ChannelEqWindow::kLabelId)->SetText("Top R", true);
    EXPECT_EQ(window.GetTab(4)->GetLabel(), "Top R");
    Param("preset\\ColorChan1")->SetValue(3, true);
    EXPECT_EQ(litImageOf(0), skin.GetImage("ChannelEq\\ChannelEqTabred.png"))
        << "until the configuration changes";
    XParam* config = Param(ChannelEqWindow::kConfigPath);
    config->SetValue(config->GetValue() == 0 ? 1 : 0, true);
    EXPECT_EQ(litImageOf(0), skin.GetImage("ChannelEq\\ChannelEqTabmagenta.png"));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(ChannelEqWindowTest, BandPanelsShowTheRowsOfTheBandsTypeAndAnyControlFocusesItsBand)
{
    ChannelEqWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    FilterPanel* panel = window.GetPanel(0)->GetBandPanel(2);
    ASSERT_NE(panel, nullptr);
    struct Case
    {
        const char* what;
        int32_t type;
        int32_t slope;
        bool gain, passSlope, peakingQ, secondQ, shelfSlope;
    };
    const Case cases[] = {
        {"PEQ", Rules::kPeaking, 0, true, false, true, false, false},
        {"LOPASS 12 dB", Rules::kLowPass, 1, false, true, false, true, false},
        {"LOPASS 6 dB", Rules::kLowPass, 0, false, true, false, false, false},
        {"HIPASS 12 dB", Rules::kHighPass, 1, false, true, false, true, false},
        {"LOSLV", Rules::kLowShelf, 1, true, false, false, false, true},
        {"ALLPASS 1", Rules::kAllPass1, 1, false, false, false, false, false},
        {"ALLPASS 2", Rules::kAllPass2, 0, false, false, false, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Slope(0, 2)->ChangeValue(c.slope, true);
        Type(0, 2)->ChangeValue(c.type, true);
        ViewTest::Pump();
        EXPECT_TRUE(panel->GetTypePopup()->isVisible());
        EXPECT_TRUE(panel->GetFrequencyBox()->isVisible());
        EXPECT_EQ(panel->GetGainBox()->isVisible(), c.gain);
        EXPECT_EQ(panel->GetPassSlopePopup()->isVisible(), c.passSlope);
        EXPECT_EQ(panel->GetPeakingQBox()->isVisible(), c.peakingQ);
        EXPECT_EQ(panel->GetSecondQBox()->isVisible(), c.secondQ);
        EXPECT_EQ(panel->GetShelfSlopePopup()->isVisible(), c.shelfSlope);
        std::string shown;
        for (const XText* caption : panel->GetCaptions())
            if (caption->isVisible())
                shown += std::string(caption->GetLabel().CStr()) + ";";
        const std::string row2 = c.gain ? "GAIN;" : (c.passSlope ? "SLOPE;" : "");
        const std::string row4 = (c.peakingQ || c.secondQ) ? "RESP / Q;" : (c.shelfSlope ? "SLOPE;" : "");
        EXPECT_EQ(shown, "TYPE;" + row2 + "FREQUENCY;" + row4);
    }
    // Each caption's line of text, centred in it, ends above the field of its row.
    const std::vector<const juce::Component*> fields = {panel->GetTypePopup(), panel->GetGainBox(),
                                                        panel->GetFrequencyBox(), panel->GetPeakingQBox()};
    for (const XText* caption : panel->GetCaptions())
    {
        const float lineHeight = caption->GetFont()->GetJuceFont().getHeight();
        const float lineBottom = caption->getY() + (caption->getHeight() + lineHeight) / 2.0f;
        const juce::Component* field = nullptr;
        for (const juce::Component* row : fields)
            if (row->getY() > caption->getY() && (field == nullptr || row->getY() < field->getY()))
                field = row;
        ASSERT_NE(field, nullptr) << caption->GetLabel().CStr();
        EXPECT_LE(lineBottom, field->getY()) << caption->GetLabel().CStr();
    }
    // The value boxes' text reads clearly on their light face.
    EXPECT_GE(GuiTestSupport::TextContrast(*panel->GetFrequencyBox()->GetTextField()), 7.0);

    // A value box's spinner, the bypass button's press and the panel's background each focus the band.
    FloatParam* focus = SharedWindowState::Instance().ChannelEqFocusBand(0);
    QM7EQView* view = window.GetEqView();
    const auto focusOn = [&](int32_t band) { focus->ChangeValue(band, true); };
    focusOn(0);
    GuiTestSupport::PeerMouse mouse(window);
    XComboBtn* spinner = panel->GetFrequencyBox()->GetSpinner();
    ASSERT_NE(spinner, nullptr);
    const juce::Point<int> upper(spinner->getWidth() / 2, 2);
    mouse.Send(*spinner, upper, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*spinner, upper, juce::ModifierKeys());
    EXPECT_EQ(focus->GetValue(), 2.0);
    EXPECT_TRUE(panel->GetBandButton()->IsLit(panel->GetBandButton()->GetPosition()));
    EXPECT_EQ(view->GetSelectedBand(), 2);
    XButton* band1Button = window.GetPanel(0)->GetBandPanel(0)->GetBandButton();
    EXPECT_FALSE(band1Button->IsLit(band1Button->GetPosition()));

    FilterPanel* band4 = window.GetPanel(0)->GetBandPanel(3);
    const juce::Point<int> background(140, 150); // beside the bypass button, below the rows
    mouse.Wait(500);                             // no double click with the spinner's press
    mouse.Send(*band4, background, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*band4, background, juce::ModifierKeys());
    EXPECT_EQ(focus->GetValue(), 3.0);
    EXPECT_EQ(view->GetSelectedBand(), 3);

    focusOn(0);
    XButton* bypass = band4->GetBypassButton();
    const juce::Point<int> centre = bypass->getLocalBounds().getCentre();
    mouse.Wait(500);
    mouse.Send(*bypass, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*bypass, centre, juce::ModifierKeys());
    EXPECT_EQ(focus->GetValue(), 3.0);
    EXPECT_EQ(Out(0, ChannelEqWindow::kBandBypassId + 3)->GetValue(), 1.0);
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

namespace
{
class ChannelEqWindowSimTest : public WindowTest::WindowSimTestBase
{
protected:
    /** Presses and releases the left button at a point of a view inside the window. */
    static void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& view, juce::Point<int> point)
    {
        mouse.Wait(500); // no double click with the last one
        mouse.Send(view, point, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
        mouse.Send(view, point, juce::ModifierKeys());
    }

    bool UnitGot(int wireId) const { return WireIdSent(UnitReceived(kCmdSetParamValue), wireId); }
};
} // namespace

TEST_F(ChannelEqWindowSimTest, TabsBallsAndTypeMenusWorkWithTheMouseAndReachTheUnit)
{
    ASSERT_TRUE(ConnectEditor());
    ASSERT_NE(Param(ChannelEqWindow::kCompareLockPath)->GetValue(), 0.0) << "balls can be dragged";
    for (int32_t output = 0; output < 6; ++output)
        Out(output, ChannelEqWindow::kLabelId)->SetText(("Out " + std::to_string(output + 1)).c_str(), true);
    ChannelEqWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    GuiTestSupport::PeerMouse mouse(window);

    // Tab 3 selects output 3.
    TabButton* tab = window.GetTab(2);
    Click(mouse, *tab, tab->getLocalBounds().getCentre());
    ASSERT_EQ(SharedWindowState::Instance().CurActiveChannel().GetValue(), 2.0);
    QM7EQView* view = window.GetEqView();
    ASSERT_EQ(view->GetBandParam(XEQView::kBandGain, 2), Gain(2, 2));

    // Dragging band 3's ball up and to the right changes its gain and frequency on the unit.
    XParam* gain = Gain(2, 2);
    XParam* frequency = Out(2, ChannelEqWindow::kFreqId + 2);
    const double gainBefore = gain->GetValue();
    const double frequencyBefore = frequency->GetValue();
    const XRect ball = view->BallRect(2);
    juce::Point<int> at((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);
    mouse.Wait(500);
    mouse.Send(*view, at, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    for (int step = 0; step < 6; ++step)
    {
        at += juce::Point<int>(10, -8);
        mouse.Send(*view, at, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    }
    mouse.Send(*view, at, juce::ModifierKeys());
    EXPECT_GT(gain->GetValue(), gainBefore);
    EXPECT_GT(frequency->GetValue(), frequencyBefore);
    EXPECT_EQ(SharedWindowState::Instance().ChannelEqFocusBand(2)->GetValue(), 2.0);
    const int gainWire = editor->watcher.FindLiveWireId(gain);
    const int frequencyWire = editor->watcher.FindLiveWireId(frequency);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return UnitGot(gainWire) && UnitGot(frequencyWire); }, kSimWaitMs));

    // Choosing LOPASS in band 1's TYPE menu hides its gain box and reaches the unit.
    FilterPanel* band1 = window.GetPanel(2)->GetBandPanel(0);
    ASSERT_TRUE(band1->GetGainBox()->isVisible());
    XPopupMenu* typeMenu = band1->GetTypePopup();
    MenuTest::ModalMenuDriver choose([](juce::Component& menu)
                                     { MenuTest::ChooseByKeys(menu, Rules::kLowPass); });
    Click(mouse, *typeMenu, typeMenu->getLocalBounds().getCentre());
    EXPECT_TRUE(
        ViewTest::PumpUntil([&] { return choose.HasActed() && !typeMenu->IsMenuOpen(); }, kSimWaitMs));
    EXPECT_EQ(Type(2, 0)->GetValue(), Rules::kLowPass);
    ViewTest::Pump();
    EXPECT_FALSE(band1->GetGainBox()->isVisible());
    EXPECT_TRUE(band1->GetPassSlopePopup()->isVisible());
    const int typeWire = editor->watcher.FindLiveWireId(Type(2, 0));
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return UnitGot(typeWire); }, kSimWaitMs));
    view->RefreshIfChanged();
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "channeleq_on");

    // EQ off: the button shows it, the graph dims.
    XButton* eqOn = window.GetEqOnButton(2);
    Click(mouse, *eqOn, eqOn->getLocalBounds().getCentre());
    EXPECT_EQ(EqBypass(2)->GetValue(), 1.0);
    EXPECT_EQ(view->GetLineWidth(), 1u);
    view->RefreshIfChanged();
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "channeleq_off");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
