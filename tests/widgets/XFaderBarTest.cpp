#include "widgets/XFaderBar.h"

#include "WidgetTestSupport.h"
#include "core/XMessage.h"
#include "gui/DescriptionTestSupport.h"
#include "gui/XImage.h"
#include "widgets/XMeterStick.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using ControlTest::PathParam;
using DescriptionTest::RectText;
using ViewTest::MakeParam;
using WidgetTest::Pixel;
using WidgetTest::Render;
using WidgetTest::WidgetTree;

const XRGB kFore(200, 40, 40);
const XRGB kBack(230, 230, 230);
const XRGB kHilite(40, 160, 40);

/** Records the rectangles that a move of the drawn position repaints. */
template <typename Base> class RepaintProbe final : public Base
{
public:
    void RepaintRect(const XRect& rect) override
    {
        if (recording)
            repaints.push_back(RectText(rect));
        Base::RepaintRect(rect);
    }

    std::vector<std::string> repaints;
    bool recording = false;

protected:
    void RepaintPositionChange(int32_t oldPosition, int32_t newPosition) override
    {
        recording = true;
        Base::RepaintPositionChange(oldPosition, newPosition);
        recording = false;
    }
};

class FaderBarTest : public WidgetTree
{
protected:
    /** A fader bar read from a description block with these keys. */
    template <typename Bar = XFaderBar>
    Bar* AddBar(int width, int height, const XMessage& block, XParam* param)
    {
        auto* bar = new Bar();
        bar->SetFrame(XRect(10, 10, 10 + width, 10 + height));
        bar->SetForeColor(kFore);
        bar->SetBackColor(kBack);
        XMessage copy(block);
        bar->ReadAttributes(copy);
        root.AddChild(bar);
        bar->SetPot(param);
        // Painted once, so that the drawn position is the shown one.
        bar->createComponentSnapshot(bar->getLocalBounds());
        return bar;
    }

    static XMessage Block(const char* style, bool sunken = false)
    {
        XMessage block;
        if (style != nullptr)
            block.AddString("style", style);
        if (sunken)
        {
            block.AddString("effect", "Sunken");
            block.AddInt32("effectsize", 4);
        }
        return block;
    }
};

TEST_F(FaderBarTest, ThePixelRangeIsTheInnerLength)
{
    struct Case
    {
        int width;
        int height;
        const char* style;
        bool sunken;
        int32_t range;
    };
    const Case cases[] = {{20, 100, nullptr, true, 92},      {20, 100, "simplerender", true, 90},
                          {100, 20, nullptr, false, 100},    {100, 20, "panning", false, 98},
                          {100, 20, "posNegDraw", true, 92}, {6, 6, nullptr, true, 0}};
    for (const Case& c : cases)
    {
        XFaderBar* bar = AddBar(c.width, c.height, Block(c.style, c.sunken), nullptr);
        EXPECT_EQ(bar->GetPixelRange(), c.range)
            << c.width << "x" << c.height << " " << (c.style ? c.style : "");
    }
}

TEST_F(FaderBarTest, TheFillFollowsTheDrawMode)
{
    struct Case
    {
        int width;
        int height;
        const char* style;
        bool sunken;
        int32_t position;
        const char* fill;
    };
    const Case cases[] = {
        {100, 20, nullptr, false, 30, "0,0,30,20"},
        {100, 20, "posNegDraw", false, 30, "30,0,50,20"},
        {100, 20, "posNegDraw", false, 70, "50,0,70,20"},
        {100, 20, "inverted", false, 30, "70,0,100,20"},
        {100, 20, "growFromCenter", false, 40, "20,0,80,20"},
        {100, 20, "inverted,posNegDraw", false, 30, "30,0,50,20"}, // the later word wins
        {20, 100, nullptr, false, 30, "0,70,20,100"},
        {20, 100, "posNegDraw", false, 30, "0,50,20,70"}, // below the centre, as the value is
        {20, 100, "posNegDraw", false, 80, "0,20,20,50"},
        {20, 100, "inverted", false, 30, "0,0,20,30"},
        {20, 100, "growFromCenter", false, 40, "0,20,20,80"},
        {20, 100, nullptr, true, 30, "4,66,16,96"},
        {100, 20, "growFromCenter", true, 40, "24,4,76,16"},
    };
    for (const Case& c : cases)
    {
        XFaderBar* bar = AddBar(c.width, c.height, Block(c.style, c.sunken), nullptr);
        EXPECT_EQ(RectText(bar->GetFillRect(c.position)), c.fill)
            << c.width << "x" << c.height << " " << (c.style ? c.style : "normal") << " at " << c.position;
    }
}

TEST_F(FaderBarTest, PosNegDrawFillsFromTheCentreInTheForeOrTheHiliteColour)
{
    auto param = MakeParam(0, 100);
    XMessage block = Block("posNegDraw");
    block.AddColor("hiliteforecolor", kHilite);
    XFaderBar* bar = AddBar(100, 20, block, param.get());
    param->SetValue(30, true);
    juce::Image picture = Render(*bar);
    EXPECT_EQ(Pixel(picture, 40, 10), WidgetTest::Colour(kFore));
    EXPECT_EQ(Pixel(picture, 20, 10), WidgetTest::Colour(kBack));
    EXPECT_EQ(Pixel(picture, 60, 10), WidgetTest::Colour(kBack));
    EXPECT_EQ(Pixel(picture, 50, 10), juce::Colour(0, 0, 0)) << "the centre line";

    param->SetValue(70, true);
    picture = Render(*bar);
    EXPECT_EQ(Pixel(picture, 60, 10), WidgetTest::Colour(kHilite));
    EXPECT_EQ(Pixel(picture, 40, 10), WidgetTest::Colour(kBack));

    XFaderBar* plain = AddBar(100, 20, Block("posNegDraw"), param.get());
    EXPECT_EQ(plain->GetHiliteColor(), kFore) << "without hiliteforecolor: the fore colour when read";
}

TEST_F(FaderBarTest, AMoveRepaintsTheBandBetweenTheFillEdgesAndTheNubs)
{
    auto param = MakeParam(0, 100);
    auto* bar = AddBar<RepaintProbe<XFaderBar>>(20, 100, Block(nullptr, true), param.get());
    param->SetValue(25, true); // from 0 to 23 of 92 pixels
    EXPECT_EQ(bar->repaints, std::vector<std::string>({"4,73,16,96"}));

    auto* inverted = AddBar<RepaintProbe<XFaderBar>>(100, 20, Block("inverted"), param.get());
    inverted->repaints.clear();
    inverted->SetPosition(40);
    EXPECT_EQ(inverted->repaints, std::vector<std::string>({"60,0,75,20"})) << "drawn at 25";

    auto* centred = AddBar<RepaintProbe<XFaderBar>>(100, 20, Block("posNegDraw"), param.get());
    centred->repaints.clear();
    centred->SetPosition(40);
    EXPECT_EQ(centred->repaints, std::vector<std::string>({"0,0,100,20"})) << "the whole bar";

    auto* panning = AddBar<RepaintProbe<XFaderBar>>(100, 20, Block("panning"), param.get());
    panning->repaints.clear();
    panning->SetPosition(40);
    EXPECT_EQ(panning->repaints, std::vector<std::string>({"24,0,55,20"})) << "the knobs at 24 and 40";
}

TEST_F(FaderBarTest, ImagesAreDrawnOnlyWhenBothExistAndTheNubMarksTheEdge)
{
    if (!WidgetTest::UseBuiltSkin())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    auto param = MakeParam(0, 100);
    param->SetValue(50, false);

    XMessage trackOnly;
    trackOnly.AddString("imagename", "widgets/faderbar/hbartrack.png");
    XFaderBar* colours = AddBar(120, 16, trackOnly, param.get());
    ASSERT_NE(colours->GetTrackImage(), nullptr);
    EXPECT_EQ(Pixel(Render(*colours), 30, 8), WidgetTest::Colour(kFore)) << "no knob image: colours";

    XMessage both;
    both.AddString("imagename", "widgets/faderbar/hbartrack.png");
    both.AddString("imagename", "widgets/faderbar/hbarfill.png");
    both.AddString("nubImage", "widgets/faderbar/hbarnub.png");
    XFaderBar* images = AddBar(120, 16, both, param.get());
    ASSERT_NE(images->GetNubImage(), nullptr);
    EXPECT_EQ(RectText(images->GetNubRect(60)), "57,0,63,16");
    const juce::Image picture = Render(*images);
    const juce::Image* fill = images->GetKnobImage()->GetJuceImage();
    const juce::Image* track = images->GetTrackImage()->GetJuceImage();
    EXPECT_EQ(Pixel(picture, 20, 8), fill->getPixelAt(20, 8).withAlpha(static_cast<juce::uint8>(255)));
    EXPECT_EQ(Pixel(picture, 100, 8), track->getPixelAt(100, 8).withAlpha(static_cast<juce::uint8>(255)));

    XMessage nubWithoutKnob = trackOnly;
    nubWithoutKnob.AddString("nubImage", "widgets/faderbar/hbarnub.png");
    EXPECT_EQ(AddBar(120, 16, nubWithoutKnob, param.get())->GetNubImage(), nullptr)
        << "a nub is read only with both images";
}

class MeterStickTest : public FaderBarTest
{
protected:
    XMeterStick* AddMeter(XParam* param, XParam* peak, const char* peakPath = nullptr)
    {
        XMessage block;
        if (peakPath != nullptr)
            block.AddString("peakparam", peakPath);
        auto* meter = AddBar<RepaintProbe<XMeterStick>>(8, 100, block, param);
        if (peak != nullptr)
            meter->SetPeakParam(peak);
        return meter;
    }
};

TEST_F(MeterStickTest, InverseValueShowsAFullScaleValueAsAnEmptyBar)
{
    auto param = MakeParam(0, 100);
    param->SetValue(100, false);
    XMeterStick* meter = AddMeter(param.get(), nullptr);
    EXPECT_EQ(meter->GetPosition(), 100);
    meter->SetInverseValue(true);
    EXPECT_EQ(meter->ValueToPosition(param.get()), 0);
    param->SetValue(25, true);
    EXPECT_EQ(meter->GetPosition(), 75);
    param->SetValue(100, true);
    const juce::Image picture = Render(*meter);
    for (int y : {2, 50, 97})
        EXPECT_EQ(Pixel(picture, 4, y), WidgetTest::Colour(kBack)) << "row " << y;
    EXPECT_EQ(meter->ValueToPosition(nullptr), 0);
}

TEST_F(MeterStickTest, ThePeakMarkShowsOnlyWithPeakHoldButItsMovesAlwaysRepaint)
{
    auto param = MakeParam(0, 100);
    auto peak = MakeParam(0, 100);
    peak->SetPath("%s", "h34\\peak");
    XMeterStick* meter = AddMeter(param.get(), nullptr, "h34\\peak");
    ASSERT_EQ(meter->GetPeakParam(), peak.get()) << "found by its path";
    EXPECT_EQ(meter->GetPeakColor(), XRGB(180, 180, 40)) << "a description without peakColor";
    auto* probe = static_cast<RepaintProbe<XMeterStick>*>(meter);
    probe->recording = true;
    peak->SetValue(60, true);
    EXPECT_EQ(probe->repaints, std::vector<std::string>({"0,40,8,101"})) << "old mark at 0, new at 60";
    probe->recording = false;
    EXPECT_NE(Pixel(Render(*meter), 4, 40), WidgetTest::Colour(meter->GetPeakColor()))
        << "no Peak Hold parameter";

    PathParam peakHold(XMeterStick::kPeakHoldParamPath, 0, 1, 0);
    EXPECT_NE(Pixel(Render(*meter), 4, 40), WidgetTest::Colour(meter->GetPeakColor())) << "Peak Hold off";
    peakHold.param->SetValue(1, true);
    const juce::Image picture = Render(*meter);
    EXPECT_EQ(Pixel(picture, 4, 40), WidgetTest::Colour(meter->GetPeakColor()));
    XRGB ends = meter->GetPeakColor();
    ends.ScaleBrightness(XMeterStick::kPeakEndPercent);
    EXPECT_EQ(Pixel(picture, 0, 40), WidgetTest::Colour(ends));
    EXPECT_EQ(meter->GetLastPeakPosition(), 60);

    peak.reset();
    EXPECT_EQ(meter->GetPeakParam(), nullptr) << "a destroyed peak parameter is forgotten";
    Render(*meter);
}

TEST_F(MeterStickTest, PressesAndTheWheelDoNotMoveAMeter)
{
    auto param = MakeParam(0, 100);
    param->SetValue(50, false);
    XMeterStick* meter = AddMeter(param.get(), nullptr);
    meter->MouseDown(XPoint(4, 10), XView::kButtonLeft);
    meter->MouseMoved(XPoint(4, 5), XView::kButtonLeft);
    meter->MouseUp(XPoint(4, 5), XView::kButtonNone);
    meter->MouseWheel(XPoint(4, 5), 3);
    EXPECT_EQ(param->GetValue(), 50);
    EXPECT_FALSE(meter->IsDragging());

    XMessage named;
    named.AddString("peakColor", "10,20,30");
    named.AddInt32("inverseValue", 1);
    meter->ReadAttributes(named);
    EXPECT_EQ(meter->GetPeakColor(), XRGB(10, 20, 30)) << "a colour written as text";
    EXPECT_TRUE(meter->IsInverseValue()) << "a flag written as a number";

    XMeterStick coloured(XRect(0, 0, 8, 50), param.get(), XRGB(1, 2, 3), XRGB(4, 5, 6));
    EXPECT_EQ(coloured.GetPot(), param.get());
    EXPECT_EQ(coloured.GetForeColor(), XRGB(1, 2, 3));
    EXPECT_EQ(coloured.GetHeight(), 50);
}
} // namespace
