// The system overview: where its blocks sit and what they carry (commands, menus), the copy and paste
// of blocks through the menus, the summed responses that follow routing and bypass, the output
// colours, the limiter light, the input meter, the lights of the title area, and the messages that a
// click on each block posts to open its window.

#include "windows/SystemOverviewWindow.h"

#include "../gui/ControlTestSupport.h"
#include "WindowTestSupport.h"
#include "core/IAppServices.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XMessageCodes.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XMenu.h"
#include "gui/XMenuItem.h"
#include "gui/XPict.h"
#include "gui/XResourceManager.h"
#include "gui/XText.h"
#include "widgets/BlockClipboard.h"
#include "widgets/XEQView.h"
#include "widgets/XLEDMeter.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "windows/CrossOverWindow.h"
#include "windows/EditorWindows.h"
#include "windows/MasterGraphicEqWindow.h"
#include "windows/OutputParamIds.h"
#include "windows/SharedWindowState.h"
#include "windows/SysOvvInputDelayPanel.h"
#include "windows/SysOvvInputPanel.h"
#include "windows/SysOvvMstrGEQPanel.h"
#include "windows/SysOvvMstrPEQPanel.h"
#include "windows/SysOvvOutputLevelsPanel.h"
#include "windows/SysOvvOutputPanel.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
using Kind = SysOvvBlockPanel::Kind;
using WindowTest::Param;

XParam* In(int32_t input, int32_t id)
{
    return GetInputChannel(input)->GetParam(id);
}

class SystemOverviewWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        if (XCommandManager::GetProcessWide() == nullptr)
            commands = std::make_unique<XCommandManager>();
        BlockClipboard::Reset();                         // nothing copied yet
        crossover = std::make_unique<CrossOverWindow>(); // its curve types feed the crossover blocks
        OpenWindow();
    }
    /** A new overview, shown (its blocks are built then). */
    void OpenWindow()
    {
        window.reset();
        window = std::make_unique<SystemOverviewWindow>();
        ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    }
    void TearDown() override
    {
        window.reset();
        crossover.reset();
        commands.reset();
        WindowTest::WindowTestBase::TearDown();
    }

    SysOvvOutputPanel* OutputBlock(int32_t output)
    {
        return window->GetBlock<SysOvvOutputPanel>(Kind::OutputChannel, output);
    }
    /** Runs a block's menu item as a choice in the menu does (the run request through the
        application); item 0 copies, 1 pastes. */
    void Choose(Kind kind, int32_t channel, int32_t item)
    {
        window->GetBlock(kind, channel)->GetBlockMenu()->GetItemAt(item)->Execute(nullptr);
        ViewTest::Pump();
    }
    bool PasteEnabled(Kind kind, int32_t channel)
    {
        return window->GetBlock(kind, channel)->GetBlockMenu()->GetItemAt(1)->IsEnabled(nullptr);
    }

    std::unique_ptr<XCommandManager> commands;
    std::unique_ptr<CrossOverWindow> crossover;
    std::unique_ptr<SystemOverviewWindow> window;
};
} // namespace

TEST_F(SystemOverviewWindowTest, EveryBlockSitsInItsRowAndColumnWithItsCommandsAndMenu)
{
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    struct Column
    {
        Kind kind;
        int32_t x;
        const char* copyName;
        const char* copyLabel;
        const char* pasteLabel;
    };
    const Column outputs[] = {
        {Kind::Routing, 319, "CopyRouting%d", "Copy Routing block", "Paste Routing block"},
        {Kind::Crossover, 395, "CopyXOver%d", "Copy Crossover block", "Paste Crossover block"},
        {Kind::OutputEq, 470, "CopyChanEQ%d", "Copy Output EQ block", "Paste Output EQ block"},
        {Kind::OutputDelay, 548, "CopyOutputDelay%d", "Copy Delay block", "Paste Delay block"},
        {Kind::Limiter, 628, "CopyLimiter%d", "Copy Limiter block", "Paste Limiter block"},
        {Kind::OutputChannel, 703, "CopyChannel%d", "Copy Output channel", "Paste Output channel"},
    };
    const Column inputs[] = {
        {Kind::InputMeter, 9, nullptr, nullptr, nullptr},
        {Kind::InputPeq, 86, "CopyPEQ%d", "Copy Input PEQ block", "Paste Input PEQ block"},
        {Kind::InputGeq, 163, "CopyGEQ%d", "Copy Input GEQ block", "Paste Input GEQ block"},
        {Kind::InputDelay, 240, "CopyInputDelay%d", "Copy Input Delay block", "Paste Input Delay block"},
    };
    const int32_t outputRows[6] = {440, 366, 292, 205, 131, 57}; // output 1 at the bottom
    const int32_t inputRows[2] = {440, 57};                      // input A at the bottom
    auto check = [&](const Column& column, int32_t channel, int32_t y)
    {
        SCOPED_TRACE(testing::Message() << static_cast<int>(column.kind) << " channel " << channel);
        SysOvvBlockPanel* block = window->GetBlock(column.kind, channel);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(block->GetFrame(), XRect(column.x, y, column.x + 72, y + 72));
        if (column.copyName == nullptr)
        {
            EXPECT_EQ(block->GetBlockMenu(), nullptr);
            return;
        }
        XString copyName;
        copyName.Format(column.copyName, channel);
        XCommand* copy = FindCommandByName(copyName.CStr());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetContext(), XString("CopyPaste"));
        XMenu* menu = block->GetBlockMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->GetItemCount(), 2);
        EXPECT_EQ(std::string(menu->GetItemAt(0)->GetLabel().CStr()), column.copyLabel);
        EXPECT_EQ(std::string(menu->GetItemAt(1)->GetLabel().CStr()), column.pasteLabel);
    };
    for (const Column& column : outputs)
        for (int32_t output = 0; output < 6; ++output)
            check(column, output, outputRows[output]);
    for (const Column& column : inputs)
        for (int32_t input = 0; input < 2; ++input)
            check(column, input, inputRows[input]);

    int copyPasteCommands = 0;
    XCommandManager* manager = XCommandManager::GetProcessWide();
    for (int index = 0; index < manager->GetCommandCount(); ++index)
        copyPasteCommands += manager->GetCommandAt(index)->GetContext() == XString("CopyPaste") ? 1 : 0;
    EXPECT_EQ(copyPasteCommands, 84);
    GuiTestSupport::TakeScreenshot(*window, "system_overview");

    // Showing and hiding are told through the window-open parameter.
    XParam* open = GetAppServices().GetParam(EditorWindows::kOverviewParamId);
    EXPECT_EQ(open->GetValue(), 1.0);
    window->Hide();
    EXPECT_EQ(open->GetValue(), 0.0);
}

TEST_F(SystemOverviewWindowTest, APasteIsOfferedOnlyForTheCopiedBlockAndCopiesThatBlocksParameters)
{
    using namespace OutputParamIds;
    constexpr int32_t kDelayTime = ChannelParamTables::kOutputDelayId;
    constexpr int32_t kEqBand1Gain = ChannelParamTables::kOutputGainFirstId;
    // Nothing copied: no paste anywhere.
    for (Kind kind : {Kind::Routing, Kind::Crossover, Kind::OutputEq, Kind::OutputDelay, Kind::Limiter,
                      Kind::OutputChannel})
        for (int32_t output = 0; output < 6; ++output)
            EXPECT_FALSE(PasteEnabled(kind, output));
    for (Kind kind : {Kind::InputPeq, Kind::InputGeq, Kind::InputDelay})
        EXPECT_FALSE(PasteEnabled(kind, 0) || PasteEnabled(kind, 1));

    // The limiter of output 2 onto output 5: its limiter and level parameters, nothing else.
    OutputParam(1, kLimitThreshold)->SetValue(-7, true);
    OutputParam(1, kOutputGain)->SetValue(-12, true);
    OutputParam(1, kEqBand1Gain)->SetValue(4, true);
    Choose(Kind::Limiter, 1, 0);
    EXPECT_EQ(BlockClipboard::Get(4), 2);
    for (int32_t output = 0; output < 6; ++output)
    {
        EXPECT_TRUE(PasteEnabled(Kind::Limiter, output));
        EXPECT_FALSE(PasteEnabled(Kind::Crossover, output) || PasteEnabled(Kind::OutputDelay, output) ||
                     PasteEnabled(Kind::OutputChannel, output));
    }
    Choose(Kind::Limiter, 4, 1);
    EXPECT_EQ(OutputParam(4, kLimitThreshold)->GetValue(), -7);
    EXPECT_EQ(OutputParam(4, kOutputGain)->GetValue(), -12);
    EXPECT_EQ(OutputParam(4, kEqBand1Gain)->GetValue(), 0);

    // The output delay has its own slot: after its copy the crossover's paste is not offered, and a
    // pasted delay leaves the gain; the crossover's paste still carries the gain.
    OutputParam(0, kDelayTime)->SetValue(12.5, true);
    OutputParam(0, kOutputGain)->SetValue(-20, true);
    OutputParam(0, kHipassFreq)->SetValue(180, true);
    Choose(Kind::OutputDelay, 0, 0);
    EXPECT_EQ(BlockClipboard::Get(3), 1);
    EXPECT_EQ(BlockClipboard::Get(1), BlockClipboard::kEmptySlot);
    EXPECT_TRUE(PasteEnabled(Kind::OutputDelay, 3));
    EXPECT_FALSE(PasteEnabled(Kind::Crossover, 3));
    EXPECT_FALSE(PasteEnabled(Kind::Limiter, 3));
    Choose(Kind::OutputDelay, 3, 1);
    EXPECT_EQ(OutputParam(3, kDelayTime)->GetValue(), 12.5);
    EXPECT_NE(OutputParam(3, kOutputGain)->GetValue(), -20);
    Choose(Kind::Crossover, 0, 0);
    EXPECT_FALSE(PasteEnabled(Kind::OutputDelay, 2));
    Choose(Kind::Crossover, 2, 1);
    EXPECT_EQ(OutputParam(2, kHipassFreq)->GetValue(), 180);
    EXPECT_EQ(OutputParam(2, kOutputGain)->GetValue(), -20);
    EXPECT_NE(OutputParam(2, kDelayTime)->GetValue(), 12.5);

    // An input block between the inputs.
    In(1, ChannelParamTables::kGeqGainFirstId)->SetValue(6, true); // input B
    Choose(Kind::InputGeq, 1, 0);
    EXPECT_TRUE(PasteEnabled(Kind::InputGeq, 0));
    EXPECT_FALSE(PasteEnabled(Kind::Limiter, 0));
    Choose(Kind::InputGeq, 0, 1);
    EXPECT_EQ(In(0, ChannelParamTables::kGeqGainFirstId)->GetValue(), 6);
}

TEST_F(SystemOverviewWindowTest, TheSummedResponseDrawsOnlyTheInputsThatFeedTheOutputAndNoBypassedBlock)
{
    constexpr int32_t kSource = ChannelParamTables::kOutputSourceId;
    constexpr int32_t kPeqAllBypass = ChannelParamTables::kPeqAllBypassId;
    constexpr int32_t kHpfBypass = ChannelParamTables::kInputBypassFirstId;
    constexpr int32_t kEqBypass = ChannelParamTables::kChannelEqBypassId;
    constexpr int32_t kOutputBand1Bypass = ChannelParamTables::kOutputBypassFirstId;
    // Every input band active, and the first output band.
    for (int32_t input = 0; input < 2; ++input)
    {
        for (int32_t band = 0; band < 10; ++band)
            In(input, kHpfBypass + band)->SetValue(0, true);
        for (int32_t band = 0; band < 31; ++band)
            In(input, ChannelParamTables::kGeqBypassFirstId + band)->SetValue(0, true);
    }
    OutputParam(2, kOutputBand1Bypass)->SetValue(0, true);
    // Output 3 fed by both inputs when the blocks are built (and output 4 by input B, for the picture).
    OutputParam(2, kSource)->ChangeValue(2, true);
    OutputParam(3, kSource)->ChangeValue(1, true);
    OpenWindow();
    XEQView* view = OutputBlock(2)->GetSummedView();
    ASSERT_NE(view, nullptr);
    auto bandsOn = [&](int32_t first, int32_t count)
    {
        int on = 0;
        for (int32_t band = first; band < first + count; ++band)
            on += view->IsBandOn(band) ? 1 : 0;
        return on;
    };
    // The routing block shows the picture of the source, and only that one.
    auto routingShown = [&]
    {
        std::string shown;
        SysOvvBlockPanel* routing = window->GetBlock(Kind::Routing, 2);
        for (const char* name : {"A", "B", "AB"})
        {
            const std::string image = std::string("block\\blockBlockRoute") + name + ".png";
            for (int index = 0; index < routing->getNumChildComponents(); ++index)
            {
                auto* picture = dynamic_cast<XPict*>(routing->getChildComponent(index));
                if (picture != nullptr && picture->isVisible() &&
                    picture->GetImageAt(0) == GetResourceManager().GetImage(XString(image.c_str())))
                    shown += shown.empty() ? name : std::string(" ") + name;
            }
        }
        return shown;
    };
    EXPECT_EQ(bandsOn(0, 82), 82);
    EXPECT_EQ(routingShown(), "AB");
    GuiTestSupport::TakeScreenshot(*window, "system_overview_routing");
    OutputParam(3, kSource)->ChangeValue(0, true);

    struct Case
    {
        int32_t source;
        int aPeq, bPeq, aGeq, bGeq;
        const char* routing;
    };
    // Input A's bands are 0..9 and 20..50, input B's 10..19 and 51..81.
    const Case cases[] = {{1, 0, 10, 0, 31, "B"}, {2, 10, 10, 31, 31, "AB"}, {0, 10, 0, 31, 0, "A"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.source);
        OutputParam(2, kSource)->ChangeValue(c.source, true);
        ViewTest::Pump();
        EXPECT_EQ(routingShown(), c.routing);
        EXPECT_EQ(bandsOn(0, 10), c.aPeq);
        EXPECT_EQ(bandsOn(10, 10), c.bPeq);
        EXPECT_EQ(bandsOn(20, 31), c.aGeq);
        EXPECT_EQ(bandsOn(51, 31), c.bGeq);
        EXPECT_TRUE(view->IsBandOn(82) && view->IsBandOn(83) && view->IsBandOn(84));
    }
    EXPECT_EQ(view->GetBandParam(XEQView::kBandOn, 10), &window->GetShared().Bypassed());

    // A bypassed input PEQ drops out of every output it feeds, also after a routing change; a
    // bypassed output EQ drops the output's bands only.
    OutputParam(2, kSource)->ChangeValue(2, true);
    In(0, kPeqAllBypass)->ChangeValue(1, true);
    EXPECT_EQ(bandsOn(0, 10), 0);
    EXPECT_EQ(bandsOn(10, 10), 10);
    for (int32_t output = 0; output < 6; ++output)
        EXPECT_EQ(OutputBlock(output)->PeqBandOn(0, 3)->GetValue(), 1.0) << output;
    In(0, kPeqAllBypass)->ChangeValue(0, true);
    EXPECT_EQ(bandsOn(0, 10), 10);
    OutputParam(2, kEqBypass)->ChangeValue(1, true);
    EXPECT_EQ(bandsOn(84, 5), 0);
    EXPECT_EQ(bandsOn(0, 82), 82);
    EXPECT_TRUE(view->IsBandOn(82) && view->IsBandOn(83));
    for (int32_t band = 0; band < 5; ++band)
        EXPECT_EQ(OutputBlock(2)->OutputBandOn(band)->GetValue(), 1.0);
    OutputParam(1, kOutputBand1Bypass)->ChangeValue(0, true);
    EXPECT_EQ(OutputBlock(1)->OutputBandOn(0)->GetValue(), 0.0); // another output's EQ is not bypassed

    // A graphic band's flag reaches input A's graphic block and the outputs' own parameters.
    In(0, ChannelParamTables::kGeqBypassFirstId + 4)->ChangeValue(1, true);
    XEQView* geq = window->GetBlock<SysOvvMstrGEQPanel>(Kind::InputGeq, 0)->GetCurve();
    EXPECT_FALSE(geq->IsBandOn(4));
    EXPECT_TRUE(geq->IsBandOn(5));
    EXPECT_FALSE(view->IsBandOn(20 + 4));
    EXPECT_TRUE(view->IsBandOn(20 + 5));

    // The output bands are drawn with the output EQ window's draw types, the graphic bands at the
    // input graphic EQ window's frequencies.
    EXPECT_EQ(view->GetBandParam(XEQView::kBandType, 84), SharedWindowState::Instance().DrawType(2, 0));
    EXPECT_EQ(view->GetBandParam(XEQView::kBandType, 13), SharedWindowState::Instance().InputDrawType(1, 3));
    EXPECT_EQ(view->GetBandParam(XEQView::kBandFrequency, 51 + 7), MasterGraphicEqWindow::BandFrequency(7));
    EXPECT_EQ(geq->GetBandParam(XEQView::kBandFrequency, 30), MasterGraphicEqWindow::BandFrequency(30));
}

TEST_F(SystemOverviewWindowTest, AnOutputsColourGoesToItsCurvesAndItsDelaySpeaker)
{
    const char* names[] = {"outputColor1", "outputColor2", "outputColor3",
                           "outputColor4", "outputColor5", "outputColor6"};
    const char* speakers[] = {"red", "yellow", "blue", "magenta", "green", "purple"};
    SysOvvShared& shared = window->GetShared();
    for (int32_t colour = 0; colour < 6; ++colour)
    {
        SCOPED_TRACE(colour);
        Param("preset\\ColorChan3")->ChangeValue(colour, true);
        const XRGB rgb = GetColorDictionary().GetColor(names[colour]);
        EXPECT_EQ(shared.crossoverViews[2]->GetCurveColor(), rgb);
        EXPECT_EQ(shared.summedViews[2]->GetCurveColor(), rgb);
        EXPECT_EQ(shared.outputEqViews[2]->GetCurveColor(), rgb);
        const std::string speaker = std::string("block\\blockDelaySpeaker") + speakers[colour] + ".png";
        EXPECT_EQ(shared.delaySliders[2]->GetKnobImage(),
                  GetResourceManager().GetImage(XString(speaker.c_str())));
    }
    // The inputs keep their own colours: A orange, B cyan.
    const struct
    {
        const char* colour;
        const char* speaker;
    } inputs[] = {{"inputA", "block\\blockDelaySpeakerOrange.png"},
                  {"inputB", "block\\blockDelaySpeakerCyan.png"}};
    for (int32_t input = 0; input < 2; ++input)
    {
        SCOPED_TRACE(input);
        const XRGB rgb = GetColorDictionary().GetColor(inputs[input].colour);
        EXPECT_EQ(window->GetBlock<SysOvvMstrPEQPanel>(Kind::InputPeq, input)->GetCurve()->GetCurveColor(),
                  rgb);
        EXPECT_EQ(window->GetBlock<SysOvvMstrGEQPanel>(Kind::InputGeq, input)->GetCurve()->GetCurveColor(),
                  rgb);
        EXPECT_EQ(
            window->GetBlock<SysOvvInputDelayPanel>(Kind::InputDelay, input)->GetSlider()->GetKnobImage(),
            GetResourceManager().GetImage(XString(inputs[input].speaker)));
    }
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(SystemOverviewWindowTest, TheLimiterLightsWhileTheGainIsReducedAndTheInputMeterCountsItsSegments)
{
    constexpr int32_t kGainReduction = ChannelParamTables::kGainReductionId;
    constexpr int32_t kLimitBypass = ChannelParamTables::kLimitBypassId;
    OutputParam(1, kLimitBypass)->SetValue(0, true); // a bypassed limiter reads no reduction
    auto* levels = window->GetBlock<SysOvvOutputLevelsPanel>(Kind::Limiter, 1);
    ASSERT_NE(levels, nullptr);
    const struct
    {
        double reduction;
        double lit;
    } limiterCases[] = {{-0.1, 1}, {0, 0}, {-12, 1}, {0.5, 0}};
    for (const auto& c : limiterCases)
    {
        OutputParam(1, kGainReduction)->SetValue(c.reduction, true);
        ViewTest::Pump();
        EXPECT_EQ(levels->GetLimiterParam().GetValue(), c.lit) << c.reduction;
    }
    // The gain's value text fits its narrow field whole.
    OutputParam(1, ChannelParamTables::kOutputGainId)->SetValue(-14, true);
    ViewTest::Pump();
    XText* gain = nullptr;
    for (int index = 0; index < levels->getNumChildComponents() && gain == nullptr; ++index)
        if (auto* text = dynamic_cast<XText*>(levels->getChildComponent(index)))
            gain = text->GetDisplayText() == XString("-14.0") ? text : nullptr;
    ASSERT_NE(gain, nullptr);
    EXPECT_LE(gain->GetFont()->GetStringWidth(gain->GetDisplayText()), gain->getWidth());

    // The output's level meter, -15..0 dB, with its clip light on the top segment from 0 dB.
    XQM7FrontPanelLEDMeter* level = levels->GetMeter();
    ASSERT_NE(level, nullptr);
    const struct
    {
        float level;
        int32_t lit;
    } levelCases[] = {{-16, 0}, {-15, 1}, {-3.5f, 4}, {-1, 6}, {0, 8}};
    for (const auto& c : levelCases)
        EXPECT_EQ(level->CountLitSegments(c.level), c.lit) << c.level;
    for (double peak : {0.0, -0.5})
    {
        OutputParam(1, ChannelParamTables::kOutputMeterId)->SetValue(peak, true);
        ViewTest::Pump();
        EXPECT_EQ(level->GetHighIndicator().segment, 7);
        EXPECT_EQ(level->GetHighIndicator().lit, peak >= 0.0) << peak;
    }

    // The mute light is the block's one child that takes a click: it mutes and unmutes the output.
    GuiTestSupport::PeerMouse mouse(*window);
    XParam* mute = OutputParam(1, ChannelParamTables::kOutputMuteId);
    mute->SetValue(0, true);
    for (double muted : {1.0, 0.0})
    {
        mouse.Send(*levels, {45, 23}, juce::ModifierKeys::leftButtonModifier);
        mouse.Send(*levels, {45, 23}, juce::ModifierKeys());
        ASSERT_TRUE(ViewTest::PumpUntil([&] { return mute->GetValue() == muted; }, WindowTest::kWaitMs));
    }

    XLEDMeter* meter = window->GetBlock<SysOvvInputPanel>(Kind::InputMeter, 0)->GetMeter();
    ASSERT_NE(meter, nullptr);
    const struct
    {
        float level;
        int32_t lit;
    } meterCases[] = {{-69, 0}, {-52, 1}, {-42.5f, 1}, {-28, 4}, {-16, 7}, {-1.5f, 7}, {-1, 8}, {0, 8}};
    for (const auto& c : meterCases)
        EXPECT_EQ(meter->CountLitSegments(c.level), c.lit) << c.level;
    EXPECT_EQ(meter->GetLitImage(6),
              GetResourceManager().GetImage(XString("block\\blockMeterLedYellow.png")));
    EXPECT_EQ(meter->GetLitImage(7), GetResourceManager().GetImage(XString("block\\blockMeterLedRed.png")));
}

TEST_F(SystemOverviewWindowTest, TheUnitsLightShowsOnlyWhileAUnitIsConnected)
{
    XButton* unit = window->GetUnitIndicator();
    for (double dirty : {0.0, 1.0})
    {
        Param("global\\GlobalDirty")->SetValue(dirty, true);
        Param("QM7\\usbActive")->ChangeValue(0, true);
        ViewTest::Pump();
        EXPECT_FALSE(unit->isVisible());
        Param("QM7\\usbActive")->ChangeValue(1, true);
        ViewTest::Pump();
        EXPECT_TRUE(unit->isVisible());
        EXPECT_EQ(unit->GetPosition(), static_cast<int32_t>(dirty));
    }
    Param("QM7\\documentDirty")->ChangeValue(1, true);
    ViewTest::Pump();
    EXPECT_EQ(window->GetDocumentIndicator()->GetPosition(), 1);
}

TEST_F(SystemOverviewWindowTest, AClickOnABlockAsksForItsWindowAndTheRightChannel)
{
    ControlTest::Recorder recorder("overview clicks");
    for (uint32_t code = 71; code <= 79; ++code)
        recorder.Bind(code);
    SharedWindowState::Instance().CurActiveChannel().SetValue(0, true);
    GuiTestSupport::PeerMouse mouse(*window);
    struct Case
    {
        Kind kind;
        int32_t channel;
        uint32_t code;
        int32_t channelItem; // -1: none
    };
    const Case cases[] = {
        {Kind::Routing, 3, 71, -1},    {Kind::InputMeter, 1, 71, -1},    {Kind::Crossover, 2, 72, -1},
        {Kind::InputPeq, 1, 73, 1},    {Kind::InputPeq, 0, 73, 0},       {Kind::InputGeq, 1, 74, 1},
        {Kind::InputDelay, 0, 75, -1}, {Kind::OutputEq, 4, 76, -1},      {Kind::OutputDelay, 5, 77, -1},
        {Kind::Limiter, 1, 78, -1},    {Kind::OutputChannel, 0, 79, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.code << " channel " << c.channel);
        recorder.messages.clear();
        SysOvvBlockPanel* block = window->GetBlock(c.kind, c.channel);
        // Near the middle, over the block's live picture.
        const juce::Point<int> point(36, 30);
        mouse.Send(*block, point, juce::ModifierKeys::leftButtonModifier);
        mouse.Send(*block, point, juce::ModifierKeys());
        mouse.Wait(500);
        ASSERT_TRUE(ViewTest::PumpUntil([&] { return !recorder.messages.empty(); }, WindowTest::kWaitMs));
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].GetWhat(), c.code);
        int32_t channel = -1;
        recorder.messages[0].FindInt32(SysOvvBlockPanel::kChannelItem, channel);
        EXPECT_EQ(channel, c.channelItem);
    }
    EXPECT_EQ(SharedWindowState::Instance().CurActiveChannel().GetValue(), 4);
}
