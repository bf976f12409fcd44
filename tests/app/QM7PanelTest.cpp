// The front panel and the slave panel: their layout on the unit's picture, the bindings of every
// control, the USB indicator, the display mirror, the slaved channels, and the panel on the screen
// with the simulated unit's meters and display.

#include "app/QM7Panel.h"

#include "app/FrontPanelDisplay.h"
#include "app/QM7SlavePanel.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "gui/XButton.h"
#include "gui/XImage.h"
#include "gui/XPict.h"
#include "gui/XStyle.h"
#include "gui/XText.h"
#include "support/SimUnitTest.h"
#include "support/WatcherTestRig.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/XLCDView.h"
#include "widgets/XLEDMeter.h"
#include "widgets/XMeterStick.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int kDisplayWidth = DeviceCommWatcher::kDisplayWidth;
constexpr int kDisplayHeight = DeviceCommWatcher::kDisplayHeight;
const juce::Colour kDisplayDark = FrontPanelDisplay::kDarkColour.ToColour();
const juce::Colour kDisplayLit = FrontPanelDisplay::kLitColour.ToColour();
/** The parts of a view tree of one type, depth first. */
template <typename View> std::vector<View*> FindAll(juce::Component& root)
{
    std::vector<View*> found;
    for (juce::Component* child : root.getChildren())
    {
        if (auto* view = dynamic_cast<View*>(child))
            found.push_back(view);
        const std::vector<View*> deeper = FindAll<View>(*child);
        found.insert(found.end(), deeper.begin(), deeper.end());
    }
    return found;
}

/** The panels on the model's groups (application services, channel groups) in the build's skin;
    skipped when the skin is not built. */
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!WidgetTest::UseBuiltSkin())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
        XStyle::SetCurrentStyle(&style);
        root.SetFrameXYWH(0, 0, 1024, 320);
        root.Show();
        root.Attach();
    }
    void TearDown() override { XStyle::SetCurrentStyle(nullptr); }

    QM7Panel* AddPanel(const XRect& frame = XRect(0, 0, 10, 10))
    {
        auto* panel = new QM7Panel(frame, display.GetImage());
        root.AddChild(panel);
        return panel;
    }

    XParam* Main(int id) { return groups.main.GetParam(id); }
    static XParam* Output(int index, int id) { return GetOutputChannel(index)->GetParam(id); }

    XStyle style;
    WatcherRig::Groups groups;
    FrontPanelDisplay display; // the application's display image
    XView root;                // last: the panels go before the groups they watch
};

TEST_F(PanelTest, ThePanelLaysItsPartsOutOnTheUnitsPictureAndBindsThemToTheChannels)
{
    QM7Panel* panel = AddPanel(XRect(7, 9, 20, 20));
    EXPECT_EQ(panel->GetFrame(), XRect(7, 9, 1017, 159)) << "the unit's picture's size, place kept";
    EXPECT_EQ(panel->GetResizeMask(), 0u);
    ASSERT_NE(panel->GetLCDView(), nullptr);
    EXPECT_EQ(panel->GetLCDView()->getParentComponent(), nullptr) << "made, never placed";

    XPict* mirror = panel->GetDisplayPicture();
    EXPECT_EQ(mirror->GetFrame(), QM7Panel::kDisplayFrame);
    EXPECT_EQ(mirror->GetImageAt(0), display.GetImage());
    EXPECT_EQ(mirror->GetResampling(), XCanvas::Resampling::kNearest);

    for (int index = 0; index < QM7Panel::kChannelCount; ++index)
    {
        SCOPED_TRACE(index);
        QM7Panel::Channel* strip = panel->GetChannel(index);
        EXPECT_EQ(strip->GetIndex(), index);
        EXPECT_EQ(strip->GetFrame(), XRect(494 + 85 * index, 3, 578 + 85 * index, 144));
        EXPECT_EQ(strip->GetNameField()->GetPot(), Output(index, ChannelParamTables::kOutputLabelId));
        EXPECT_EQ(strip->GetFader()->GetPot(), Output(index, ChannelParamTables::kOutputGainId));
        EXPECT_EQ(strip->GetGainField()->GetPot(), Output(index, ChannelParamTables::kOutputGainId));
        EXPECT_EQ(strip->GetMuteButton()->GetPot(), Output(index, ChannelParamTables::kOutputMuteId));
        XQM7FrontPanelLEDMeter* meter = strip->GetMeter();
        EXPECT_EQ(meter->GetPot(), Output(index, ChannelParamTables::kGuiMeterId));
        EXPECT_EQ(meter->GetLowIndicator().param, Output(index, ChannelParamTables::kGainReductionId));
        EXPECT_EQ(meter->GetLowIndicator().segment, 6);
        EXPECT_EQ(meter->GetHighIndicator().param, Output(index, ChannelParamTables::kOutputMeterId));
        EXPECT_EQ(meter->GetHighIndicator().segment, 7);
        EXPECT_STREQ(meter->GetLabel(6)->GetLabel().CStr(), "Lim");
        EXPECT_EQ(meter->GetThreshold(0), -15.0);
    }
    for (int outside : {6, 7, -1})
        EXPECT_EQ(panel->GetChannel(outside), panel->GetChannel(0)) << outside;

    QM7Panel::Channel* strip = panel->GetChannel(3);
    EXPECT_EQ(strip->GetNameField()->GetFrame(), XRect(4, 2, 80, 18));
    EXPECT_EQ(strip->GetFader()->GetFrame(), XRect(44, 24, 78, 111));
    EXPECT_EQ(strip->GetGainField()->GetFrame(), XRect(46, 120, 76, 139));
    EXPECT_EQ(strip->GetMeter()->GetFrame(), XRect(6, 27, 38, 111));
    EXPECT_EQ(strip->GetMuteButton()->GetFrame(), XRect(7, 120, 37, 139));

    // Input A's labels lie left of its LEDs, input B's right of them.
    struct Input
    {
        XRect frame;
        bool labelsLeft;
    };
    const Input inputs[] = {{XRect(60, 28, 94, 142), true}, {XRect(96, 28, 130, 142), false}};
    for (int input = 0; input < 2; ++input)
    {
        XLEDMeter* meter = panel->GetInputMeter(input);
        EXPECT_EQ(meter->GetFrame(), inputs[input].frame);
        EXPECT_EQ(meter->AreLabelsLeft(), inputs[input].labelsLeft);
        EXPECT_EQ(meter->GetPot(), GetInputChannel(input)->GetParam(ChannelParamTables::kInputMeterId));
        EXPECT_EQ(meter->GetThreshold(0), -52.0);
        EXPECT_STREQ(meter->GetLabel(7)->GetLabel().CStr(), "Clip");
    }
    EXPECT_EQ(panel->GetInputMeter(2), nullptr);

    // Added again, it builds nothing twice.
    const int children = panel->getNumChildComponents();
    root.RemoveChild(panel);
    root.AddChild(panel);
    EXPECT_EQ(panel->getNumChildComponents(), children);
    EXPECT_EQ(panel->GetChannel(0)->getNumChildComponents(), 7);
}

TEST(PanelSourceName, EachSourceValueHasItsTextAndAnyOtherReadsInput1)
{
    struct Case
    {
        double value;
        const char* text;
    };
    const Case cases[] = {{0, "Source| Input 1"},     {1, "Source| Input 2"},   {2, "Source| Input 1+2"},
                          {2.9, "Source| Input 1+2"}, {3, "Source| Input 1"},   {-1, "Source| Input 1"},
                          {-0.5, "Source| Input 1"},  {1e12, "Source| Input 1"}};
    for (const Case& c : cases)
        EXPECT_STREQ(GetSourceName(c.value).CStr(), c.text) << c.value;
}

TEST_F(PanelTest, TheUsbIndicatorShowsWhileAUnitIsConnected)
{
    XParam* usbActive = Main(GlobalParamTables::kUsbActiveId);
    usbActive->SetValue(1, false);
    QM7Panel* connectedAtStart = AddPanel();
    EXPECT_TRUE(connectedAtStart->GetUsbIndicator()->isVisible());
    EXPECT_EQ(connectedAtStart->GetUsbIndicator()->GetFrame(), XRect(10, 80, 22, 92));

    for (double value : {0.0, 1.0, 0.0})
    {
        usbActive->SetValue(value, true);
        EXPECT_EQ(connectedAtStart->GetUsbIndicator()->isVisible(), value == 1.0) << value;
    }
    QM7Panel* disconnectedAtStart = AddPanel();
    EXPECT_FALSE(disconnectedAtStart->GetUsbIndicator()->isVisible());
}

TEST_F(PanelTest, TheDisplayMirrorScalesTheApplicationsImageWithCrispPixels)
{
    QM7Panel* panel = AddPanel();
    // Every third column lit.
    for (int row = 0; row < kDisplayHeight; ++row)
        for (int x = 0; x < kDisplayWidth; x += 8)
            display.DrawColumn(row, x, 0x92);
    ASSERT_TRUE(display.Publish());

    const juce::Image mirror = WidgetTest::Render(*panel->GetDisplayPicture());
    ASSERT_EQ(mirror.getWidth(), QM7Panel::kDisplayFrame.Width());
    int lit = 0;
    int blended = 0;
    for (int y = 0; y < mirror.getHeight(); ++y)
        for (int x = 0; x < mirror.getWidth(); ++x)
        {
            const juce::Colour pixel = WidgetTest::Pixel(mirror, x, y);
            lit += pixel == kDisplayLit ? 1 : 0;
            blended += pixel != kDisplayLit && pixel != kDisplayDark ? 1 : 0;
        }
    EXPECT_EQ(blended, 0) << "nearest-neighbour: only the image's own colours";
    const double litShare = static_cast<double>(lit) / (mirror.getWidth() * mirror.getHeight());
    EXPECT_NEAR(litShare, 72.0 / 192.0, 0.03) << "three columns of eight lit";
}

TEST_F(PanelTest, TheSlavePanelShowsEachOutputsControlsWhileItIsSlaved)
{
    auto* slave = new QM7SlavePanel(XRect(0, 160, 10, 170));
    root.AddChild(slave);
    EXPECT_EQ(slave->GetFrame(), XRect(0, 160, 1010, 310));

    struct OutputViews
    {
        XSlider* fader = nullptr;
        XSlider* disabledFader = nullptr;
        XText* gain = nullptr;
        XText* none = nullptr;
    };
    auto viewsOf = [&](int output)
    {
        OutputViews views;
        XParam* flag = slave->GetSlavedFlag(QM7SlavePanel::kFirstOutputFlag + output);
        for (XSlider* slider : FindAll<XSlider>(*slave))
            if (slider->GetShowParam() == flag)
                (slider->GetPot() != nullptr ? views.fader : views.disabledFader) = slider;
        for (XText* text : FindAll<XText>(*slave))
            if (text->GetShowParam() == flag)
                (text->GetPot() != nullptr ? views.gain : views.none) = text;
        return views;
    };
    for (int output = 0; output < QM7SlavePanel::kOutputCount; ++output)
    {
        const OutputViews views = viewsOf(output);
        ASSERT_TRUE(views.fader && views.disabledFader && views.gain && views.none) << output;
        EXPECT_EQ(views.fader->GetPot(), Output(output, ChannelParamTables::kOutputGainId));
        EXPECT_EQ(views.gain->GetPot(), Output(output, ChannelParamTables::kOutputGainId));
        EXPECT_EQ(views.fader->GetFrame(), XRect(538 + 85 * output, 27, 572 + 85 * output, 114));
        EXPECT_STREQ(views.none->GetLabel().CStr(), "---");
    }

    // Bit 3 is output 2; set through the slave channel configuration, as the link sets it.
    XParam* config = groups.slave.GetParam(GlobalParamTables::kSlavedChanConfigId);
    for (int bits : {8, 0, 0xFC, 0x54})
    {
        config->SetValue(bits, true);
        for (int output = 0; output < QM7SlavePanel::kOutputCount; ++output)
        {
            const bool slaved = (bits >> (QM7SlavePanel::kFirstOutputFlag + output) & 1) != 0;
            const OutputViews views = viewsOf(output);
            const std::string trace = std::to_string(bits) + " output " + std::to_string(output + 1);
            EXPECT_EQ(views.fader->isVisible(), slaved) << trace;
            EXPECT_EQ(views.gain->isVisible(), slaved) << trace;
            EXPECT_EQ(views.disabledFader->isVisible(), !slaved) << trace;
            EXPECT_EQ(views.none->isVisible(), !slaved) << trace;
        }
        for (int flag = 0; flag < QM7SlavePanel::kFlagCount; ++flag)
            EXPECT_EQ(slave->GetSlavedFlag(flag)->GetValue(), (bits >> flag & 1) != 0 ? 1.0 : 0.0);
    }
    EXPECT_EQ(slave->GetSlavedFlag(QM7SlavePanel::kFlagCount), nullptr);

    // "SLAVE" on the display while the master/slave state is 0.
    XParam* state = Main(GlobalParamTables::kMSStateId);
    XPict* slaveText = nullptr;
    for (XPict* pict : FindAll<XPict>(*slave))
        if (pict->GetShowParam() == state)
            slaveText = pict;
    ASSERT_NE(slaveText, nullptr);
    EXPECT_EQ(slaveText->GetFrame().left, 169);
    for (double value : {0.0, 1.0, 0.0})
    {
        state->SetValue(value, true);
        EXPECT_EQ(slaveText->isVisible(), value == 0.0) << value;
    }

    std::vector<XMeterStick*> meters = FindAll<XMeterStick>(*slave);
    ASSERT_EQ(meters.size(), 8u);
    EXPECT_EQ(meters[0]->GetPot(), groups.slave.GetParam(GlobalParamTables::kSlaveMeterInAId));
    EXPECT_EQ(meters[0]->GetFrame(), XRect(76, 28, 92, 140));
    EXPECT_EQ(meters[1]->GetFrame().left, 103);
    EXPECT_EQ(meters[7]->GetPot(), groups.slave.GetParam(GlobalParamTables::kSlaveMeterOut1Id + 5));
    EXPECT_EQ(meters[7]->GetFrame(), XRect(933, 30, 945, 105));

    // On the screen, for a person to look at: outputs 1, 3 and 4 follow the master.
    groups.slave.GetParam(GlobalParamTables::kSlaveMeterInAId)->SetValue(-12.0, true);
    groups.slave.GetParam(GlobalParamTables::kSlaveMeterOut1Id)->SetValue(-20.0, true);
    config->SetValue(0x34, true);
    XView window;
    window.SetFrameXYWH(0, 0, 1010, 150);
    root.RemoveChild(slave);
    slave->SetFrame(XRect(0, 0, 1010, 150));
    window.AddChild(slave);
    ASSERT_TRUE(WidgetTest::ShowOnScreen(window));
    GuiTestSupport::RunLoopFor(200);
    EXPECT_TRUE(GuiTestSupport::TakeScreenshot(window, "SlavePanel").isValid());
    window.removeFromDesktop();
}

/** The panel on the screen with the simulated unit sending meters and its display. */
class PanelSimTest : public SimEditorTest<SimEditor>
{
protected:
    void SetUp() override
    {
        SimEditorTest::SetUp();
        ViewTest::Application();
        if (!WidgetTest::UseBuiltSkin())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
        XStyle::SetCurrentStyle(&style);
    }
    void TearDown() override
    {
        window.removeFromDesktop();
        // RemoveChild hands the panel back (it returns the focus view, not the child).
        window.RemoveChild(panel);
        delete panel;
        XStyle::SetCurrentStyle(nullptr);
        SimEditorTest::TearDown();
    }

    /** Draws the display data received so far into the image; true when any arrived. */
    bool TakeDisplayData()
    {
        const auto columns = groups.services.TakeColumns();
        for (const auto& column : columns)
            display.DrawColumn(column.row, column.x, column.bits);
        // As the application does on the unit's display update.
        if (display.Publish())
            panel->GetDisplayPicture()->Invalidate();
        return !columns.empty();
    }

    XStyle style;
    WatcherRig::Groups groups;
    FrontPanelDisplay display; // the application's display image
    XView window;
    QM7Panel* panel = nullptr;
};

TEST_F(PanelSimTest, TheUnitsMetersMoveTheLedsAndItsDisplayReachesTheMirror)
{
    // A three-way stereo set-up with its limiters on, output 5 muted.
    const char* const names[] = {"Low L", "Mid L", "High L", "Low R", "Mid R", "High R"};
    const double gains[] = {0.0, -3.0, -6.0, 0.0, -3.0, -6.0};
    for (int output = 0; output < QM7Panel::kChannelCount; ++output)
    {
        GetOutputChannel(output)->GetParam(ChannelParamTables::kOutputLabelId)->SetText(names[output], false);
        GetOutputChannel(output)->GetParam(ChannelParamTables::kOutputGainId)->SetValue(gains[output], false);
        GetOutputChannel(output)->GetParam(ChannelParamTables::kLimitBypassId)->SetValue(0, false);
    }
    GetOutputChannel(4)->GetParam(ChannelParamTables::kOutputMuteId)->SetValue(1, false);
    groups.main.GetParam(GlobalParamTables::kUsbActiveId)->SetValue(1, false);

    window.SetFrameXYWH(0, 0, 1010, 150);
    panel = new QM7Panel(XRect(0, 0, 1010, 150), display.GetImage());
    window.AddChild(panel);
    ASSERT_TRUE(WidgetTest::ShowOnScreen(window));

    ASSERT_TRUE(StartConnectedEditor({"--meters"}));
    editor->watcher.BuildWireIdMaps(true);

    // The meters move: several different lit counts on the strips and the inputs, and the display
    // picture arrives.
    bool displayArrived = false;
    std::vector<int> seen;
    const bool moved = ViewTest::PumpUntil(
        [&]
        {
            displayArrived = TakeDisplayData() || displayArrived;
            const int lit = panel->GetChannel(0)->GetMeter()->GetPosition();
            if (std::find(seen.begin(), seen.end(), lit) == seen.end())
                seen.push_back(lit);
            return displayArrived && seen.size() >= 3 && panel->GetInputMeter(0)->GetPosition() > 0;
        },
        SimUnitTest::kSimWaitMs);
    EXPECT_TRUE(moved) << "lit counts seen: " << seen.size() << ", display: " << displayArrived;
    EXPECT_TRUE(panel->GetUsbIndicator()->isVisible());

    // The mirror shows what the unit drew: lit pixels, and only the display's two colours.
    const juce::Image mirror = WidgetTest::Render(*panel->GetDisplayPicture());
    int lit = 0;
    for (int y = 0; y < mirror.getHeight(); ++y)
        for (int x = 0; x < mirror.getWidth(); ++x)
            lit += WidgetTest::Pixel(mirror, x, y) == kDisplayLit ? 1 : 0;
    EXPECT_GT(lit, 0);

    // Wait for a moment with "Lim" lit on a strip, so the picture shows it.
    ViewTest::PumpUntil(
        [&]
        {
            TakeDisplayData();
            for (int output = 0; output < QM7Panel::kChannelCount; ++output)
                if (panel->GetChannel(output)->GetMeter()->GetLowIndicator().lit)
                    return true;
            return false;
        },
        SimUnitTest::kSimWaitMs);
    GuiTestSupport::RunLoopFor(100);
    EXPECT_TRUE(GuiTestSupport::TakeScreenshot(window, "FrontPanel").isValid());
}
} // namespace
