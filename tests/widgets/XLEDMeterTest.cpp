// The LED meters: segments lit by thresholds, the held peak, the labels beside the column, the front
// panel's indicator LEDs, what a change repaints, and levels set on other threads.

#include "widgets/XLEDMeter.h"

#include "WidgetTestSupport.h"
#include "core/ThreadServices.h"
#include "core/XMessageCodes.h"
#include "core/XParamDesc.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/XImage.h"
#include "gui/XText.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
using ControlTest::PathParam;
using WidgetTest::Pixel;
using WidgetTest::Render;

constexpr const char* kDim = "Device\\deviceLedDim.png";
constexpr const char* kGreen = "Device\\deviceLedGreen.png";
constexpr const char* kRed = "Device\\deviceLedRed.png";
constexpr int kSegments = 8;
/** The front panel's channel scale: the top two thresholds repeat. */
constexpr float kChannelLevels[kSegments] = {-15, -12, -9, -6, -3, -1, 0, 0};
/** 34 x 114 with 12 x 12 LEDs: slots of 14 pixels. */
const XRect kMeterFrame(10, 10, 44, 124);
constexpr int kWaitMs = 10000;

/** A level in dB, -96..0, as the unit's meters are. */
std::unique_ptr<FloatParam> LevelParam()
{
    XParamDesc desc;
    desc.id = 573;
    desc.SetName("Level");
    desc.type = XParamDesc::kTypeGain;
    desc.min = -96;
    desc.max = 0;
    desc.def = -96;
    desc.count = 1024;
    return std::make_unique<FloatParam>(desc);
}

/** A meter that records what it repaints and on which threads its lit count is set. */
template <typename Meter> class ProbedMeter final : public Meter
{
public:
    using Meter::Meter;

    void RepaintRect(const XRect& rect) override
    {
        repaints.push_back(rect);
        Meter::RepaintRect(rect);
    }
    void SetPosition(int32_t litCount) override
    {
        threads.push_back(CurrentThreadId());
        Meter::SetPosition(litCount);
    }

    std::vector<XRect> repaints;
    std::vector<int32_t> threads;
};

/** Meters on a shown root in the build's skin (skipped when the skin is not built). */
class LEDMeterTest : public WidgetTest::WidgetTree
{
protected:
    void SetUp() override
    {
        WidgetTree::SetUp();
        if (!WidgetTest::UseBuiltSkin())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    }

    template <typename Meter = XLEDMeter>
    ProbedMeter<Meter>* AddMeter(XParam* level, bool labelsLeft = true, int count = kSegments)
    {
        auto* meter = new ProbedMeter<Meter>(kMeterFrame, count, kDim, kGreen, level, labelsLeft);
        meter->SetLevels(kChannelLevels, kSegments);
        root.AddChild(meter);
        return meter;
    }

    /** The level set as the link sets it: changed, with the notification that views get. */
    static void Set(XParam& level, double value) { level.SetValue(value, true); }

    /** The colour at the middle of a segment's LED as the meter draws itself. */
    static juce::Colour LedColour(XLEDMeter& meter, int segment)
    {
        const XRect led = meter.GetSegmentRect(segment);
        return Pixel(Render(meter), (led.left + led.right) / 2, (led.top + led.bottom) / 2);
    }
    static juce::Colour ImageColour(const char* name)
    {
        const XImage* image = GetResourceManager().GetImage(name);
        return image->GetJuceImage()
            ->getPixelAt(image->GetWidth() / 2, image->GetHeight() / 2)
            .withAlpha(static_cast<juce::uint8>(255));
    }
};

TEST_F(LEDMeterTest, ASegmentLightsWhenTheLevelReachesItsThreshold)
{
    auto level = LevelParam();
    XLEDMeter* meter = AddMeter(level.get());
    struct Case
    {
        float level;
        int lit;
    };
    const Case cases[] = {
        {-96.0f, 0}, {-15.01f, 0},
        {-15.0f, 1}, {-14.9f, 1},
        {-12.0f, 2}, {-1.0f, 6},
        {-0.01f, 6}, {0.0f, 8}, // the repeated threshold lights both segments at once
        {6.0f, 8},   {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(meter->CountLitSegments(c.level), c.lit) << c.level;
    EXPECT_EQ(meter->ValueToPosition(nullptr), 0);

    Set(*level, -5.0);
    EXPECT_EQ(meter->GetPosition(), 4);
    EXPECT_EQ(LedColour(*meter, 3), ImageColour(kGreen));
    EXPECT_EQ(LedColour(*meter, 4), ImageColour(kDim));
}

TEST_F(LEDMeterTest, CountsImagesAndLabelsStayWithinTheSegments)
{
    struct Case
    {
        int asked;
        int made;
    };
    for (const Case c : {Case{0, 1}, Case{-3, 1}, Case{8, 8}, Case{16, 16}, Case{17, 16}})
    {
        XLEDMeter meter(kMeterFrame, c.asked, kDim, kGreen, nullptr, true);
        EXPECT_EQ(meter.GetSegmentCount(), c.made) << c.asked;
        EXPECT_EQ(meter.getNumChildComponents(), c.made) << "one label per segment";
        EXPECT_EQ(meter.GetLabel(c.made), nullptr);
    }

    XLEDMeter* meter = AddMeter(nullptr);
    // More values than slots: the first sixteen are taken, nothing beyond.
    std::vector<float> many(20);
    for (size_t i = 0; i < many.size(); ++i)
        many[i] = -20.0f + static_cast<float>(i);
    meter->SetLevels(many.data(), static_cast<int32_t>(many.size()));
    EXPECT_EQ(meter->GetThreshold(7), -13.0);
    meter->SetLevels(nullptr, 4);
    EXPECT_EQ(meter->GetThreshold(0), -20.0);

    XImage* red = GetResourceManager().GetImage(kRed);
    meter->SetSegmentImage(kRed, 7);
    meter->SetSegmentImage(kRed, 8);
    meter->SetSegmentImage(kRed, -1);
    EXPECT_EQ(meter->GetLitImage(7), red);
    EXPECT_EQ(meter->GetLitImage(6), GetResourceManager().GetImage(kGreen));
    EXPECT_EQ(meter->GetUnlitImage(7), GetResourceManager().GetImage(kDim));

    // A short list leaves the rest "---"; a label beyond the count is ignored.
    meter->SetSegmentLabels("-30,-20,,x");
    meter->SetSegmentLabel("beyond", 8);
    const char* expected[kSegments] = {"-30", "-20", "", "x", "---", "---", "---", "---"};
    for (int segment = 0; segment < kSegments; ++segment)
        EXPECT_STREQ(meter->GetLabel(segment)->GetLabel().CStr(), expected[segment]) << segment;
}

TEST_F(LEDMeterTest, LabelsLieBesideTheColumnOnTheChosenSideAndFollowTheSpacing)
{
    XLEDMeter* left = AddMeter(nullptr, true);
    XLEDMeter* right = AddMeter(nullptr, false);
    // Slots of 114 / 8 = 14 pixels from the top; segment 0 is the bottom one.
    EXPECT_EQ(left->GetSegmentRect(0), XRect(22, 98, 34, 110));
    EXPECT_EQ(left->GetSegmentRect(7), XRect(22, 0, 34, 12));
    EXPECT_EQ(left->GetLabelRect(0), XRect(0, 98, 21, 110));
    EXPECT_EQ(right->GetSegmentRect(0), XRect(0, 98, 12, 110));
    EXPECT_EQ(right->GetLabelRect(0), XRect(13, 98, 34, 110));
    EXPECT_EQ(left->GetLabel(0)->GetJustification(), XView::kJustifyRight);
    EXPECT_EQ(right->GetLabel(0)->GetJustification(), XView::kJustifyLeft);
    EXPECT_EQ(left->GetLabel(3)->GetFrame(), left->GetLabelRect(3));

    left->SetSegmentSpacing(3);
    right->SetSegmentSpacing(3);
    EXPECT_EQ(left->GetLabel(3)->GetFrame(), XRect(0, 56, 19, 68));
    EXPECT_EQ(right->GetLabel(3)->GetFrame(), XRect(15, 56, 34, 68));

    left->SetLabelColour(200, 201, 202);
    EXPECT_EQ(left->GetTextColor(), XRGB(200, 201, 202, 255));
    EXPECT_EQ(left->GetLabel(5)->GetForeColor(), XRGB(200, 201, 202, 255));
    EXPECT_EQ(right->GetLabel(5)->GetForeColor(), XLEDMeter::kDefaultLabelColour);
}

TEST_F(LEDMeterTest, InPeakModeTheHighestSegmentStaysLitForThirtyUpdatesThenFallsToTheFloor)
{
    auto level = LevelParam();
    PathParam vuMode(XLEDMeter::kVuModeParamPath, 0, 2, 1);
    XLEDMeter* meter = AddMeter(level.get());
    Set(*level, -3.0); // five lit
    EXPECT_EQ(meter->GetPeak(), 5u);
    // Two lit: the fifth is held. Alternate values, since an unchanged value notifies nobody.
    for (int update = 1; update < XLEDMeter::kHoldTicks; ++update)
        Set(*level, update % 2 == 0 ? -11.5 : -12.0);
    EXPECT_EQ(meter->GetPeak(), 5u) << "29 updates below the peak keep it";
    EXPECT_EQ(LedColour(*meter, 4), ImageColour(kGreen)) << "the held LED";
    EXPECT_EQ(LedColour(*meter, 3), ImageColour(kDim));

    // Without the peak mode the held LED is not drawn.
    for (double mode : {0.0, 2.0})
    {
        vuMode.param->SetValue(mode, false);
        EXPECT_EQ(LedColour(*meter, 4), ImageColour(kDim)) << mode;
    }
    vuMode.param->SetValue(1.0, false);

    Set(*level, -11.0); // the thirtieth
    EXPECT_EQ(meter->GetPeak(), XLEDMeter::kPeakFloor);
    EXPECT_EQ(LedColour(*meter, 4), ImageColour(kDim));

    // Nothing lit: no peak LED either, though the floor holds segment 0's place.
    Set(*level, -96.0);
    EXPECT_EQ(LedColour(*meter, 0), ImageColour(kDim));
}

TEST_F(LEDMeterTest, ALevelChangeRepaintsOnlyTheColumnAndAnUnchangedLitCountNothing)
{
    auto level = LevelParam();
    auto* meter = AddMeter(level.get());
    meter->repaints.clear();
    Set(*level, -9.0);
    ASSERT_EQ(meter->repaints.size(), 1u);
    EXPECT_EQ(meter->repaints[0], meter->GetColumnRect());
    EXPECT_EQ(meter->GetColumnRect(), XRect(22, 0, 34, 110)) << "the LEDs, not the labels";

    meter->createComponentSnapshot(meter->getLocalBounds()); // drawn: the lit count is shown
    meter->repaints.clear();
    Set(*level, -8.5);
    EXPECT_TRUE(meter->repaints.empty()) << "same lit count";

    // A held peak that falls back repaints although the lit count stays.
    Set(*level, -1.0);
    meter->createComponentSnapshot(meter->getLocalBounds());
    for (int update = 1; update < XLEDMeter::kHoldTicks; ++update)
    {
        Set(*level, update % 2 == 0 ? -17.0 : -16.0);
        meter->createComponentSnapshot(meter->getLocalBounds());
    }
    meter->repaints.clear();
    Set(*level, -16.5); // the thirtieth update below the peak
    EXPECT_EQ(meter->GetPeak(), XLEDMeter::kPeakFloor);
    EXPECT_EQ(meter->repaints.size(), 1u);
}

TEST_F(LEDMeterTest, LevelsSetOnOtherThreadsReachTheMeterOnTheGuiThread)
{
    auto level = LevelParam();
    auto* meter = AddMeter(level.get());
    const int32_t guiThread = CurrentThreadId();
    meter->threads.clear();

    // Set as the link sets values: the notification is posted to the view's looper.
    std::thread posted([&] { level->SetValue(-5.0, true); });
    posted.join();
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return meter->GetPosition() == 4; }, kWaitMs));

    // Set at once: the control waits in the refresh queue for the GUI thread's pass.
    std::thread atOnce([&] { level->SetValueNow(-1.0, true); });
    atOnce.join();
    EXPECT_EQ(meter->GetPosition(), 4) << "nothing before the pass";
    ControlRefreshQueue::Get().RefreshQueuedControls();
    EXPECT_EQ(meter->GetPosition(), 6);

    ASSERT_FALSE(meter->threads.empty());
    for (int32_t thread : meter->threads)
        EXPECT_EQ(thread, guiThread);
}

TEST_F(LEDMeterTest, TheFrontPanelMetersIndicatorsLightBySegmentAgainstTheirThresholds)
{
    auto level = LevelParam();
    auto reduction = LevelParam();
    auto clip = LevelParam();
    auto* meter = AddMeter<XQM7FrontPanelLEDMeter>(level.get());
    meter->SetSegmentImage(kRed, 7);
    meter->SetLowIndicator(6, reduction.get(), 0.0);
    meter->SetIndicator(7, clip.get(), 0.0);

    struct Case
    {
        double level, reduction, clip;
        bool lim, clipLit;
    };
    const Case cases[] = {
        {-96, 0, -96, false, false}, {-96, -0.5, -96, true, false}, // "Lim" while the level is low
        {-96, 0, 0, false, true},    {-96, 0, -0.1, false, false},
        {0, 0, -20, false, false}, // the level alone lights neither
        {-96, -6, 0, true, true},
    };
    for (const Case& c : cases)
    {
        Set(*level, c.level);
        Set(*reduction, c.reduction);
        Set(*clip, c.clip);
        const std::string trace =
            std::to_string(c.level) + " " + std::to_string(c.reduction) + " " + std::to_string(c.clip);
        EXPECT_EQ(meter->GetLowIndicator().lit, c.lim) << trace;
        EXPECT_EQ(meter->GetHighIndicator().lit, c.clipLit) << trace;
        EXPECT_EQ(LedColour(*meter, 6), ImageColour(c.lim ? kGreen : kDim)) << trace;
        EXPECT_EQ(LedColour(*meter, 7), ImageColour(c.clipLit ? kRed : kDim)) << trace;
        EXPECT_EQ(meter->ValueToPosition(reduction.get()), c.lim ? 1 : 0);
    }

    // An indicator change repaints its segment only.
    meter->repaints.clear();
    Set(*clip, -50);
    ASSERT_EQ(meter->repaints.size(), 1u);
    EXPECT_EQ(meter->repaints[0], meter->GetSegmentRect(7));
}

TEST_F(LEDMeterTest, IndicatorsWatchOnlyTheirCurrentParametersAndForgetOnesThatGo)
{
    auto level = LevelParam();
    auto first = LevelParam();
    auto second = LevelParam();
    auto* meter = AddMeter<XQM7FrontPanelLEDMeter>(level.get());

    meter->SetIndicator(7, first.get(), 0.0);
    EXPECT_TRUE(first->IsWatchedBy(meter, 0));
    meter->SetIndicator(7, second.get(), 0.0);
    EXPECT_FALSE(first->IsWatchedBy(meter, 0));
    EXPECT_TRUE(second->IsWatchedBy(meter, 0));

    // The level itself as the high indicator: watched once, as the level.
    meter->SetIndicator(7, level.get(), -10.0);
    EXPECT_FALSE(second->IsWatchedBy(meter, 0));
    Set(*level, -5.0);
    EXPECT_TRUE(meter->GetHighIndicator().lit);
    EXPECT_EQ(meter->GetPosition(), 4);
    meter->SetIndicator(7, second.get(), 0.0);
    EXPECT_TRUE(level->IsWatchedBy(meter, 0)) << "still the level";

    // A low indicator parameter that is destroyed is forgotten; drawing goes on.
    auto doomed = LevelParam();
    doomed->SetValue(-3.0, false);
    meter->SetLowIndicator(6, doomed.get(), 0.0);
    EXPECT_TRUE(meter->GetLowIndicator().lit);
    doomed.reset();
    EXPECT_EQ(meter->GetLowIndicator().param, nullptr);
    Render(*meter);
    EXPECT_EQ(meter->GetHighIndicator().param, second.get());
}
} // namespace
