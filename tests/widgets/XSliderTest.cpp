#include "widgets/XSlider.h"

#include "WidgetTestSupport.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "gui/DescriptionTestSupport.h"
#include "gui/GuiHelpers.h"
#include "gui/ViewFactory.h"
#include "widgets/WidgetViewTypes.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{
using ControlTest::HeldKey;
using ControlTest::Recorder;
using DescriptionTest::RectText;
using ViewTest::MakeParam;
using ViewTest::PumpUntil;
using WidgetTest::WidgetTree;

constexpr uint32_t kSliderMessage = FourCharCode("sldr");

class SliderTest : public WidgetTree
{
protected:
    XSlider* AddSlider(int width, int height, XParam* param = nullptr)
    {
        auto* slider = Add(new XSlider(), XRect(10, 10, 10 + width, 10 + height));
        slider->SetPot(param);
        return slider;
    }

    /** Sends the slider's message to the recorder. */
    void Aim(XSlider* slider)
    {
        slider->SetMessage(new XMessage(kSliderMessage));
        slider->SetTarget(&recorder, nullptr);
    }

    Recorder recorder{"h34SliderRecorder"};
};

TEST_F(SliderTest, OrientationKnobAndPixelRangeFollowTheFrame)
{
    struct Case
    {
        int width;
        int height;
        int32_t thumbHeight;
        int32_t knobOffset;
        bool vertical;
        const char* knobAtZero;
        int32_t range;
    };
    const Case cases[] = {
        {40, 40, 0, 0, false, "0,0,15,40", 25},     // equal sides: horizontal
        {39, 40, 0, 0, true, "0,30,39,40", 30},     // a quarter of the height
        {115, 20, 0, 0, false, "0,0,15,20", 100},   // no knob image: 15 wide
        {20, 200, 0, 0, true, "0,150,20,200", 150}, // 200 high: knob 50
        {20, 200, 20, 0, true, "0,180,20,200", 180}, {20, 200, 20, 3, true, "3,180,23,200", 180},
        {12, 10, 0, 0, false, "-3,0,12,10", 0}, // a knob longer than the track leaves no range
    };
    for (const Case& c : cases)
    {
        XSlider* slider = AddSlider(c.width, c.height);
        XMessage block;
        block.AddInt32("thumbheight", c.thumbHeight);
        block.AddInt32("knoboffset", c.knobOffset);
        slider->ReadAttributes(block);
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(slider->IsVertical(), c.vertical);
        EXPECT_EQ(RectText(slider->GetKnobRect(0)), c.knobAtZero);
        EXPECT_EQ(slider->GetPixelRange(), c.range);
    }
    XSlider* slider = AddSlider(115, 20);
    EXPECT_EQ(RectText(slider->GetKnobRect(105)), "100,0,115,20") << "moved back at the right end";
    XSlider* vertical = AddSlider(20, 200);
    EXPECT_EQ(RectText(vertical->GetKnobRect(170)), "0,0,20,50") << "moved down at the top";
}

TEST_F(SliderTest, PointsMapToValuesAndPositionsAlongTheTrack)
{
    auto param = MakeParam(0, 100);
    XSlider* horizontal = AddSlider(115, 20, param.get()); // half knob 7, range 100
    XSlider* vertical = AddSlider(20, 200, param.get());   // half knob 25, range 150
    struct Case
    {
        XSlider* slider;
        XPoint point;
        float normalised;
    };
    const Case cases[] = {{horizontal, {3, 5}, 0.0f},  {horizontal, {7, 5}, 0.0f},
                          {horizontal, {57, 5}, 0.5f}, {horizontal, {110, 5}, 1.0f},
                          {vertical, {5, 10}, 1.0f},   {vertical, {5, 25}, 1.0f},
                          {vertical, {5, 100}, 0.5f},  {vertical, {5, 190}, 0.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(c.slider->PointToNormalised(c.point), c.normalised)
            << (c.slider == vertical ? "vertical " : "horizontal ") << c.point.x << "," << c.point.y;

    param->SetValue(0, true);
    EXPECT_EQ(horizontal->PointToPosition(XPoint(5, 5)), 0) << "on the knob: the shown position";
    EXPECT_EQ(horizontal->PointToPosition(XPoint(57, 5)), 50);
    EXPECT_EQ(horizontal->PointToPosition(XPoint(200, 5)), 0) << "outside the bounds";
    EXPECT_EQ(vertical->PointToPosition(XPoint(5, 100)), 75);
    XSlider* unbound = AddSlider(115, 20);
    EXPECT_EQ(unbound->PointToPosition(XPoint(57, 5)), 0);

    XSlider* noRange = AddSlider(12, 10);
    EXPECT_FLOAT_EQ(noRange->PointToNormalised(XPoint(6, 5)), 0.5f) << "no division by a zero range";
}

TEST_F(SliderTest, APressJumpsOnTheTrackButNotOnTheKnobUnlessOnlyTheKnobTakesInput)
{
    auto param = MakeParam(0, 100);
    XSlider* slider = AddSlider(115, 20, param.get());
    int begins = 0;
    int ends = 0;
    slider->GetBeginEditSignal().Connect([&] { ++begins; });
    slider->GetEndEditSignal().Connect([&] { ++ends; });

    slider->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(param->GetValue(), 0) << "on the knob";
    EXPECT_TRUE(slider->IsDragging());
    EXPECT_FALSE(IsMousePointerShown()) << "hidden while dragging";
    slider->MouseUp(XPoint(5, 5), XView::kButtonNone);
    EXPECT_TRUE(IsMousePointerShown());
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);

    slider->MouseDown(XPoint(57, 5), XView::kButtonLeft);
    EXPECT_EQ(param->GetValue(), 50) << "on the track: jumps to the point";
    slider->MouseUp(XPoint(57, 5), XView::kButtonNone);

    slider->SetOnlyHandleKnobInput(true);
    slider->MouseDown(XPoint(100, 5), XView::kButtonLeft);
    EXPECT_EQ(param->GetValue(), 50);
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(begins, 2) << "a refused press begins no edit";
    slider->MouseUp(XPoint(100, 5), XView::kButtonNone);
    EXPECT_EQ(ends, 2) << "and its release ends none";
    EXPECT_TRUE(IsMousePointerShown());
    const XPropertyInfo* info = XSlider::GetClassPropertyTable()->FindProperty("OnlyHandleKnobInput");
    ASSERT_NE(info, nullptr);
}

TEST_F(SliderTest, ADragSendsItsMessagePerMoveAndAtTheReleaseButAStillReleaseSendsNothing)
{
    auto param = MakeParam(0, 100);
    XSlider* slider = AddSlider(115, 20, param.get());
    Aim(slider);

    slider->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    param->SetValue(20, true);
    slider->MouseUp(XPoint(5, 5), XView::kButtonNone);
    ViewTest::Pump();
    EXPECT_TRUE(recorder.messages.empty()) << "no movement: no message";
    EXPECT_EQ(param->GetValue(), 20) << "and the value is not set again from the point";

    slider->MouseDown(XPoint(27, 5), XView::kButtonLeft); // on the knob at 20
    slider->MouseMoved(XPoint(37, 5), XView::kButtonLeft);
    EXPECT_EQ(param->GetValue(), 30);
    slider->MouseMoved(XPoint(47, 5), XView::kButtonRight);
    EXPECT_EQ(param->GetValue(), 30) << "other buttons do not drag";
    slider->MouseMoved(XPoint(67, 5), XView::kButtonLeft);
    slider->MouseUp(XPoint(87, 5), XView::kButtonNone);
    EXPECT_EQ(param->GetValue(), 80) << "the release sets the value from its point";
    ASSERT_TRUE(PumpUntil([&] { return recorder.messages.size() >= 3; }, 5000));
    ViewTest::Pump();
    EXPECT_EQ(recorder.messages.size(), 3u) << "two moves and the release";
    EXPECT_EQ(recorder.messages.back().GetWhat(), kSliderMessage);

    slider->MouseMoved(XPoint(100, 5), XView::kButtonLeft);
    EXPECT_EQ(param->GetValue(), 80) << "no drag after the release";
}

TEST_F(SliderTest, TheFineWheelModifierDragsRelativelyAndAnUnboundSliderMovesItsPosition)
{
    auto param = MakeParam(0, 100);
    param->SetValue(50, false);
    XSlider* vertical = AddSlider(20, 200, param.get());
    {
        HeldKey alt("alt");
        vertical->MouseDown(XPoint(10, 80), XView::kButtonLeft); // on the knob (50 -> 75 pixels)
        vertical->MouseMoved(XPoint(10, 74), XView::kButtonLeft);
        EXPECT_EQ(param->GetValue(), 56) << "6 pixels up, one step each";
        vertical->MouseMoved(XPoint(10, 76), XView::kButtonLeft);
        EXPECT_EQ(param->GetValue(), 54);
        vertical->MouseUp(XPoint(10, 76), XView::kButtonNone);
    }

    XSlider* unbound = AddSlider(115, 20);
    unbound->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    unbound->MouseMoved(XPoint(57, 5), XView::kButtonLeft);
    EXPECT_EQ(unbound->GetPosition(), 57) << "the share of the whole track length";
    unbound->MouseUp(XPoint(57, 5), XView::kButtonNone);
    EXPECT_TRUE(IsMousePointerShown());
}

TEST_F(SliderTest, KeysStepTheParameterAndPageKeysReachTheEnds)
{
    auto param = MakeParam(0, 100);
    XSlider* slider = AddSlider(115, 20, param.get());
    int begins = 0;
    slider->GetBeginEditSignal().Connect([&] { ++begins; });
    struct Case
    {
        double start;
        int32_t key;
        double expected;
    };
    const Case cases[] = {{50, XKeyCode::kUp, 51},       {50, XKeyCode::kDown, 49},
                          {50, XKeyCode::kPageUp, 60},   {95, XKeyCode::kPageUp, 100},
                          {100, XKeyCode::kPageUp, 100}, {4, XKeyCode::kPageDown, 0},
                          {50, XKeyCode::kPageDown, 40}, {0, XKeyCode::kDown, 0}};
    for (const Case& c : cases)
    {
        param->SetValue(c.start, false);
        XKeyInfo modifiers = 0;
        EXPECT_TRUE(slider->HandleKeyPress(c.key, modifiers));
        EXPECT_EQ(param->GetValue(), c.expected) << "from " << c.start << " key " << c.key;
    }
    EXPECT_EQ(begins, 8);
    XKeyInfo modifiers = 0;
    EXPECT_FALSE(slider->HandleKeyPress('a', modifiers)) << "other keys are not the slider's";
    XSlider* unbound = AddSlider(115, 20);
    EXPECT_FALSE(unbound->HandleKeyPress(XKeyCode::kUp, modifiers));
}

TEST_F(SliderTest, TheValueMovesTheKnobAndTheDrawingShowsIt)
{
    auto param = MakeParam(0, 100);
    XSlider* slider = AddSlider(115, 20, param.get());
    param->SetValue(100, true);
    EXPECT_EQ(slider->GetPosition(), 100);
    slider->SetForeColor(XRGB(200, 40, 40));
    const juce::Image picture = WidgetTest::Render(*slider);
    EXPECT_EQ(WidgetTest::Pixel(picture, 101, 3), juce::Colour(200, 40, 40)) << "the knob at 100..115";
    EXPECT_NE(WidgetTest::Pixel(picture, 5, 3), juce::Colour(200, 40, 40));
    EXPECT_TRUE(slider->IsTransparent()) << "no track image: transparent";
}

TEST_F(SliderTest, TheTypeWordsCreateTheWidgetsAndDescriptionsSetTheirKeys)
{
    XView::ResetClassFactory();
    ViewFactory::ResetSteps();
    WidgetViewTypes::Install();
    RegisterViewTypes();
    struct Case
    {
        const char* word;
        const char* className;
    };
    const Case cases[] = {
        {"Slider", "XSlider"}, {"FADERBAR", "XFaderBar"}, {"meterStick", "XMeterStick"}, {"pot", "XPot"}};
    for (const Case& c : cases)
    {
        std::unique_ptr<XView> view(XView::CreateViewByName(c.word));
        const XView& created = *view;
        const std::string name = typeid(created).name();
        EXPECT_NE(name.find(c.className), std::string::npos) << c.word << " made " << name;
    }

    XSlider* slider = AddSlider(20, 100);
    XMessage block;
    block.AddString("style", "DrawText, simplerender");
    block.AddRect("textrect", XRect(1, 2, 3, 4));
    slider->ReadAttributes(block);
    EXPECT_TRUE(slider->DrawsText());
    EXPECT_TRUE(slider->IsSimpleRender());
    EXPECT_EQ(RectText(slider->GetTextRect()), "1,2,3,4");
    XView::ResetClassFactory();
    ViewFactory::ResetSteps();
}
} // namespace
