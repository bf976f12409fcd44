#include "widgets/SurroundPanner.h"

#include "WidgetTestSupport.h"
#include "core/XMessage.h"
#include "gui/DescriptionValues.h"
#include "gui/ViewKeywords.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace
{
using ControlTest::PathParam;
using GuiTestSupport::RunLoopFor;
using ViewTest::MakeParam;
using WidgetTest::Pixel;

const juce::Colour kDimSpeaker(100, 100, 100);
const juce::Colour kLitSpeaker(0, 200, 0);
const juce::Colour kDimSubwoofer(100, 100, 160);
const juce::Colour kLitSubwoofer(0, 200, 160);
const XRGB kBack(30, 30, 30);

std::unique_ptr<XImage> SolidImage(int width, int height, juce::Colour colour)
{
    juce::Image picture(juce::Image::ARGB, width, height, true);
    picture.clear(picture.getBounds(), colour);
    return std::make_unique<XImage>(picture);
}

/** A 200 x 150 surround panner with solid icons (20 x 16 speakers, 30 x 24 subwoofers), a mode
    parameter -1..9 and eight on/off bus-assign parameters, all given by its description. */
class SurroundPannerTest : public WidgetTest::WidgetTree
{
protected:
    void SetUp() override
    {
        WidgetTree::SetUp();
        XMessage block;
        block.AddPointer("modeparam", mode.get());
        for (auto& bus : buses)
        {
            bus = MakeParam(0, 1, "bus");
            block.AddPointer("busassignparam", bus.get());
        }
        panner = new SurroundPanner();
        panner->SetFrame(XRect(0, 0, 200, 150));
        panner->ReadAttributes(block);
        Add(panner, XRect(0, 0, 200, 150));
        panner->SetBackColor(kBack);
        panner->SetIcons(dimSpeaker.get(), litSpeaker.get(), dimSubwoofer.get(), litSubwoofer.get());
    }

    /** The colour drawn inside a position's icon place (speaker-sized unless subwoofer), beside the
        view's centre lines. */
    juce::Colour AtPosition(const juce::Image& picture, int32_t position, bool subwoofer = false) const
    {
        constexpr int kInset = 3;
        const XRect rect = panner->SpeakerIconRect(position, subwoofer);
        return Pixel(picture, rect.left + kInset, rect.top + kInset);
    }

    std::unique_ptr<FloatParam> mode = MakeParam(-1, 9, "mode");
    std::array<std::unique_ptr<FloatParam>, SurroundPanner::kBusCount> buses;
    std::unique_ptr<XImage> dimSpeaker = SolidImage(20, 16, kDimSpeaker);
    std::unique_ptr<XImage> litSpeaker = SolidImage(20, 16, kLitSpeaker);
    std::unique_ptr<XImage> dimSubwoofer = SolidImage(30, 24, kDimSubwoofer);
    std::unique_ptr<XImage> litSubwoofer = SolidImage(30, 24, kLitSubwoofer);
    SurroundPanner* panner = nullptr;
};

TEST_F(SurroundPannerTest, SpeakerIconsSitAtTheirPlacesAlongTheEdges)
{
    struct Case
    {
        int32_t position;
        bool subwoofer;
        XRect expected;
    };
    const Case cases[] = {
        {1, false, XRect(5, 5, 25, 21)},
        {2, false, XRect(42, 5, 62, 21)},
        {3, false, XRect(90, 5, 110, 21)},
        {4, false, XRect(138, 5, 158, 21)},
        {5, false, XRect(175, 5, 195, 21)},
        {6, false, XRect(5, 129, 25, 145)},
        {7, false, XRect(42, 129, 62, 145)},
        {8, false, XRect(90, 129, 110, 145)},
        {9, false, XRect(138, 129, 158, 145)},
        {10, false, XRect(175, 129, 195, 145)},
        {11, false, XRect(5, 65, 25, 81)},
        {12, false, XRect(175, 65, 195, 81)},
        {8, true, XRect(85, 121, 115, 145)},
        {1, true, XRect(5, 5, 35, 29)},
        {0, false, XRect()},
        {13, false, XRect()},
        {-1, true, XRect()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(panner->SpeakerIconRect(c.position, c.subwoofer), c.expected)
            << "position " << c.position << (c.subwoofer ? " (subwoofer)" : "");

    // Without its dim icon a kind has no place.
    panner->SetIcons(dimSpeaker.get(), litSpeaker.get(), nullptr, litSubwoofer.get());
    EXPECT_EQ(panner->SpeakerIconRect(8, true), XRect());
    panner->SetIcons(nullptr, litSpeaker.get(), dimSubwoofer.get(), litSubwoofer.get());
    EXPECT_EQ(panner->SpeakerIconRect(1, false), XRect());
}

TEST_F(SurroundPannerTest, TheModeValueChoosesTheLayout)
{
    struct Case
    {
        double value;
        int32_t layout;
    };
    const Case cases[] = {{0, 1}, {1, 2},    {2, 3}, {2.7, 3}, {3, 4},  {4, 6},
                          {5, 7}, {5.99, 7}, {6, 0}, {9, 0},   {-1, 0}, {-0.5, 1}};
    for (const Case& c : cases)
    {
        mode->SetValue(c.value, true);
        EXPECT_EQ(panner->GetLayout(), c.layout) << "mode " << c.value;
    }
    panner->SetModeParam(nullptr);
    EXPECT_EQ(panner->GetLayout(), 0);
    EXPECT_FALSE(mode->IsWatchedBy(panner, 0)) << "the watcher left the old parameter";
}

TEST_F(SurroundPannerTest, ABusIsAssignedWhileItsParameterIsAboveZero)
{
    buses[2]->SetValue(1, true);
    EXPECT_TRUE(panner->IsBusAssigned(2));
    EXPECT_FALSE(panner->IsBusAssigned(3));
    EXPECT_FALSE(panner->IsBusAssigned(-1));
    EXPECT_FALSE(panner->IsBusAssigned(8));
    panner->SetBusAssignParam(nullptr, 2);
    EXPECT_FALSE(panner->IsBusAssigned(2)) << "unbound";
    EXPECT_FALSE(buses[2]->IsWatchedBy(panner, 0));
    panner->SetBusAssignParam(buses[2].get(), 8);
    EXPECT_EQ(panner->GetBusAssignParam(8), nullptr) << "a bus above 7 is ignored";
    EXPECT_FALSE(buses[2]->IsWatchedBy(panner, 0));
}

TEST_F(SurroundPannerTest, TheSpeakersOfTheLayoutLightForTheirAssignedBuses)
{
    // Layout 2: buses 0, 1, 4 and 5 at positions 1, 5, 6 and 10.
    mode->SetValue(1, true);
    buses[0]->SetValue(1, true);
    buses[5]->SetValue(1, true);
    juce::Image picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 1), kLitSpeaker);
    EXPECT_EQ(AtPosition(picture, 5), kDimSpeaker);
    EXPECT_EQ(AtPosition(picture, 6), kDimSpeaker);
    EXPECT_EQ(AtPosition(picture, 10), kLitSpeaker);
    EXPECT_EQ(AtPosition(picture, 3), WidgetTest::Colour(kBack)) << "not in this layout";

    buses[1]->SetValue(1, true);
    picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 5), kLitSpeaker);

    // Layout 4 has the subwoofer of bus 3 at position 8, and the centre speaker of bus 2 at 3.
    mode->SetValue(3, true);
    picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 8, true), kDimSubwoofer);
    EXPECT_EQ(AtPosition(picture, 3), kDimSpeaker);
    buses[3]->SetValue(1, true);
    picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 8, true), kLitSubwoofer);

    // Layout 7 adds buses 6 and 7 at the middle of the sides.
    mode->SetValue(5, true);
    buses[7]->SetValue(1, true);
    picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 11), kDimSpeaker);
    EXPECT_EQ(AtPosition(picture, 12), kLitSpeaker);
}

TEST_F(SurroundPannerTest, MissingIconsOrAnUnknownModeDrawNoSpeakers)
{
    const juce::Colour back = WidgetTest::Colour(kBack);
    mode->SetValue(3, true);
    buses[3]->SetValue(1, true);

    panner->SetIcons(dimSpeaker.get(), litSpeaker.get(), nullptr, litSubwoofer.get());
    juce::Image picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 1), kDimSpeaker);
    EXPECT_EQ(Pixel(picture, 87, 124), back) << "only the subwoofer is left out";

    panner->SetIcons(dimSpeaker.get(), nullptr, dimSubwoofer.get(), litSubwoofer.get());
    picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 1), back);
    EXPECT_EQ(AtPosition(picture, 8, true), back);

    panner->SetIcons(dimSpeaker.get(), litSpeaker.get(), dimSubwoofer.get(), litSubwoofer.get());
    mode->SetValue(7, true);
    picture = WidgetTest::Render(*panner);
    EXPECT_EQ(AtPosition(picture, 1), back);

    // A destroyed mode parameter is forgotten: no layout, nothing left to point at.
    mode.reset();
    EXPECT_EQ(panner->GetModeParam(), nullptr);
    EXPECT_EQ(panner->GetLayout(), 0);
    buses[3].reset();
    EXPECT_EQ(panner->GetBusAssignParam(3), nullptr);
    WidgetTest::Render(*panner);
}

/** Both panners built from a window description by their type words, on the screen (under Xvfb in
    the test run) in the built skin. */
constexpr const char* kDescription = R"(view:basic
name:Panners
framewh:0,0,470,190

view:surroundpanner
name:surround
framewh:10,20,200,150
imagename:widgets/panner/plane.png
modeparam:h43s\mode
busassignparam:h43s\bus0
busassignparam:h43s\bus1
busassignparam:h43s\bus2
busassignparam:h43s\bus3
busassignparam:h43s\bus4
busassignparam:h43s\bus5
busassignparam:h43s\bus6
busassignparam:h43s\bus7
dimspeakericon:widgets/panner/speakerdim.png
litspeakericon:widgets/panner/speakerlit.png
dimsubwoofericon:widgets/panner/subwooferdim.png
litsubwoofericon:widgets/panner/subwooferlit.png
xparam:h43s\x0
yparam:h43s\y0
xparam:h43s\x1
yparam:h43s\y1
ballimage:widgets/panner/ball.png
ballimage:widgets/panner/ball.png
ballName:1
ballName:2

view:xypanner
name:xy
framewh:230,20,160,120
xparam:h43s\x1
yparam:h43s\y1
ballheight:16
ballName:A
color1:240,170,60
color2:20,23,28
)";

using PannerDescriptionTest = WidgetTest::SkinWindowTest;

TEST_F(PannerDescriptionTest, BothPannersAreBuiltByTheirTypeWordsAndDrawnInTheSkin)
{
    XView::ResetClassFactory();
    XView::ResetAttributeDefaults();
    ViewKeywords::ResetNamedConstants();
    RegisterViewKeywords();
    DescriptionValues::ResetRememberedRect();
    XYPanner::RegisterViewTypes();

    std::vector<std::unique_ptr<PathParam>> params;
    params.push_back(std::make_unique<PathParam>("h43s\\mode", 0, 5, 4));
    const double assigned[] = {1, 0, 1, 1, 0, 0, 1, 0};
    for (int bus = 0; bus < 8; ++bus)
        params.push_back(
            std::make_unique<PathParam>(("h43s\\bus" + std::to_string(bus)).c_str(), 0, 1, assigned[bus]));
    params.push_back(std::make_unique<PathParam>("h43s\\x0", -50, 50, -20));
    params.push_back(std::make_unique<PathParam>("h43s\\y0", 0, 100, 70));
    params.push_back(std::make_unique<PathParam>("h43s\\x1", 0, 100, 70));
    params.push_back(std::make_unique<PathParam>("h43s\\y1", 0, 100, 35));

    WidgetTest::BuildDescription(window, "Panners.txt", kDescription);
    auto* surround = dynamic_cast<SurroundPanner*>(window.FindChild("surround", true));
    auto* xy = dynamic_cast<XYPanner*>(window.FindChild("xy", true));
    ASSERT_NE(surround, nullptr);
    ASSERT_NE(xy, nullptr);
    EXPECT_EQ(surround->GetLayout(), 6);
    ASSERT_EQ(surround->GetBallCount(), 2);
    EXPECT_EQ(surround->GetBall(1)->next.name, "2") << "a name written as a number";
    EXPECT_TRUE(surround->IsBusAssigned(6));
    EXPECT_EQ(surround->SpeakerIconRect(8, true), XRect(85, 121, 115, 145)) << "the skin's icons";
    EXPECT_EQ(xy->GetBallCount(), 1);
    EXPECT_EQ(xy->GetBall(0)->next.colour1, XRGB(240, 170, 60));

    window.SetBackColor(GetColorDictionary().GetColor("windowBack"));
    surround->SetBackColor(GetColorDictionary().GetColor("pannerBack"));
    xy->SetBackColor(GetColorDictionary().GetColor("pannerBack"));
    xy->SetForeColor(GetColorDictionary().GetColor("windowTextDim"));
    window.setTopLeftPosition(40, 40);
    ASSERT_TRUE(WidgetTest::ShowOnScreen(window));
    RunLoopFor(100);
    const juce::Image all = GuiTestSupport::TakeScreenshot(window, "PannersInSkin");
    GuiTestSupport::TakeScreenshot(*surround, "SurroundPannerInSkin");
    GuiTestSupport::TakeScreenshot(*xy, "XYPannerDrawnInSkin");
    ASSERT_TRUE(all.isValid());
    // The lit left speaker (bus 0) and the dim right one (bus 1) differ.
    const juce::Image picture = WidgetTest::Render(*surround);
    EXPECT_NE(Pixel(picture, 15, 13), Pixel(picture, 185, 13));

    XView::ResetClassFactory();
    ViewKeywords::ResetNamedConstants();
}
} // namespace
