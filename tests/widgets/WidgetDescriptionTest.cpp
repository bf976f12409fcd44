#include "WidgetTestSupport.h"
#include "gui/DescriptionValues.h"
#include "gui/ViewFactory.h"
#include "gui/ViewKeywords.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XFaderBar.h"
#include "widgets/XMeterStick.h"
#include "widgets/XPot.h"
#include "widgets/XSlider.h"

#include <gtest/gtest.h>

namespace
{
using ControlTest::PathParam;

/** A window description that places one of each widget, as a skin file would. */
constexpr const char* kDescription = R"(view:basic
name:Widgets
framewh:0,0,300,200

view:faderbar
name:bar
framewh:10,10,20,100
param:h34\bar
effect:sunken
effectsize:4
effectcolor:20,20,20
style:posNegDraw
hiliteforecolor:200,10,10

view:meterstick
name:meter
framewh:40,10,8,100
param:h34\meter
peakparam:h34\peak
inverseValue:true

view:pot
name:pot
framewh:60,10,60,40
param:h34\pot
center:18,19
radius:12
style:noline
type:fan

view:Slider
name:slider
framewh:130,10,20,115
param:h34\slider
knoboffset:2
thumbheight:15
style:drawtext, simplerender
textrect:1,2,30,12
)";

class WidgetDescriptionTest : public WidgetTest::WidgetTree
{
protected:
    void SetUp() override
    {
        WidgetTree::SetUp();
        XView::ResetClassFactory();
        XView::ResetAttributeDefaults();
        ViewFactory::ResetSteps();
        WidgetViewTypes::Install();
        RegisterViewTypes();
        ViewKeywords::ResetNamedConstants();
        RegisterViewKeywords();
        DescriptionValues::ResetRememberedRect();
    }

    void TearDown() override
    {
        XView::ResetClassFactory();
        ViewFactory::ResetSteps();
        ViewKeywords::ResetNamedConstants();
        WidgetTree::TearDown();
    }

    template <typename View> View* Find(const char* name)
    {
        return dynamic_cast<View*>(target.FindChild(name, true));
    }

    XView target;
};

TEST_F(WidgetDescriptionTest, TheInterpreterBuildsEachWidgetWithItsKeys)
{
    PathParam bar("h34\\bar", 0, 100, 30);
    PathParam meter("h34\\meter", 0, 100, 100);
    PathParam peak("h34\\peak", 0, 100, 10);
    PathParam pot("h34\\pot", 0, 100, 50);
    PathParam slider("h34\\slider", 0, 100, 0);

    WidgetTest::BuildDescription(target, "Widgets.txt", kDescription);

    auto* faderBar = Find<XFaderBar>("bar");
    ASSERT_NE(faderBar, nullptr);
    EXPECT_EQ(faderBar->GetPot(), bar.param.get());
    EXPECT_TRUE(faderBar->IsSunken());
    EXPECT_EQ(faderBar->GetEffectSize(), 4);
    EXPECT_EQ(faderBar->GetEffectColor(), XRGB(20, 20, 20));
    EXPECT_EQ(faderBar->GetDrawMode(), XFaderBar::kModePosNeg);
    EXPECT_EQ(faderBar->GetHiliteColor(), XRGB(200, 10, 10));
    EXPECT_EQ(faderBar->GetPixelRange(), 92);

    auto* meterStick = Find<XMeterStick>("meter");
    ASSERT_NE(meterStick, nullptr);
    EXPECT_EQ(meterStick->GetPeakParam(), peak.param.get());
    EXPECT_TRUE(meterStick->IsInverseValue());
    EXPECT_EQ(meterStick->GetPeakColor(), XRGB(180, 180, 40));

    auto* knob = Find<XPot>("pot");
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->GetWidth(), 40) << "squared";
    EXPECT_EQ(knob->GetCenter(), XPoint(18, 19));
    EXPECT_EQ(knob->GetRadius(), 12);
    EXPECT_FALSE(knob->DrawsLine());
    EXPECT_EQ(knob->GetPotType(), XPot::kTypeFan);
    EXPECT_EQ(knob->GetPot(), pot.param.get());

    auto* linear = Find<XSlider>("slider");
    ASSERT_NE(linear, nullptr);
    EXPECT_TRUE(linear->IsVertical());
    EXPECT_EQ(linear->GetKnobOffset(), 2);
    EXPECT_EQ(linear->GetThumbHeight(), 15);
    EXPECT_TRUE(linear->DrawsText());
    EXPECT_TRUE(linear->IsSimpleRender());
    EXPECT_EQ(linear->GetPixelRange(), 100);
    EXPECT_EQ(linear->GetKnobRect(0).left, 2);
    EXPECT_EQ(linear->GetPot(), slider.param.get());
}
} // namespace
