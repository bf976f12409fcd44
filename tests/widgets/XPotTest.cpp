#include "widgets/XPot.h"

#include "WidgetTestSupport.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "core/XParamDesc.h"
#include "gui/GuiHelpers.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
using ControlTest::HeldKey;
using ControlTest::Recorder;
using ViewTest::MakeParam;
using ViewTest::PumpUntil;
using WidgetTest::WidgetTree;

constexpr uint32_t kButtonMessage = FourCharCode("potb");

/** An on/off parameter: count 1 stands for its two positions. */
std::unique_ptr<FloatParam> MakeToggle()
{
    XParamDesc desc;
    desc.SetName("Toggle");
    desc.type = XParamDesc::kTypeInteger;
    desc.max = 1;
    desc.count = 1;
    return std::make_unique<FloatParam>(desc);
}

class PotTest : public WidgetTree
{
protected:
    XPot* AddPot(int width, int height, XParam* param, const XMessage& block = XMessage())
    {
        auto* pot = new XPot();
        pot->SetFrame(XRect(10, 10, 10 + width, 10 + height));
        XMessage copy(block);
        pot->ReadAttributes(copy);
        root.AddChild(pot);
        pot->SetPot(param);
        return pot;
    }

    /** A press at from, one move to to, a release there. */
    static void Drag(XPot* pot, const XPoint& from, const XPoint& to)
    {
        pot->MouseDown(from, XView::kButtonLeft);
        pot->MouseMoved(to, XView::kButtonLeft);
        pot->MouseUp(to, XView::kButtonNone);
    }
};

TEST_F(PotTest, ThePositionIsTheAngleOfTheStep)
{
    auto param = MakeParam(0, 100);
    auto toggle = MakeToggle();
    XPot* pot = AddPot(40, 40, param.get());
    struct Case
    {
        XParam* param;
        double value;
        int32_t angle;
    };
    const Case cases[] = {{param.get(), 0, 22},
                          {param.get(), 50, 180},
                          {param.get(), 100, 338},
                          {toggle.get(), 0, 22},
                          {toggle.get(), 1, 338}};
    for (const Case& c : cases)
    {
        c.param->SetValue(c.value, false);
        EXPECT_EQ(pot->ValueToPosition(c.param), c.angle) << c.param->GetName().CStr() << " at " << c.value;
    }
    EXPECT_EQ(pot->ValueToPosition(nullptr), 0);
    EXPECT_EQ(pot->GetPixelRange(), 80) << "twice the height";
}

TEST_F(PotTest, TheFrameIsSquaredOrTakesTheStripSizeAndTheStripFollowsTheValue)
{
    XPot* plain = AddPot(60, 40, nullptr);
    EXPECT_EQ(plain->GetWidth(), 40);
    EXPECT_EQ(plain->GetHeight(), 40);
    EXPECT_EQ(plain->GetCenter(), XPoint(20, 20));
    EXPECT_EQ(plain->GetRadius(), 15);
    EXPECT_EQ(plain->GetStripFrame(), -1);

    XMessage keys;
    keys.AddString("style", "noLine");
    keys.AddPoint("center", XPoint(7, 9));
    keys.AddInt32("radius", 4);
    keys.AddBool("valuetext", true);
    keys.AddString("type", "Pan");
    XPot* described = AddPot(30, 30, nullptr, keys);
    EXPECT_FALSE(described->DrawsLine());
    EXPECT_EQ(described->GetCenter(), XPoint(7, 9));
    EXPECT_EQ(described->GetRadius(), 4);
    EXPECT_TRUE(described->ShowsValueText());
    EXPECT_EQ(described->GetPotType(), XPot::kTypePan);

    if (!WidgetTest::UseBuiltSkin())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    auto param = MakeParam(0, 100);
    param->SetValue(50, false);
    XMessage strip;
    strip.AddString("imageArrayBase", "widgets/pot/smallpot");
    strip.AddInt32("imageCount", 31);
    XPot* pot = AddPot(60, 40, param.get(), strip);
    ASSERT_EQ(pot->GetStrip().GetCount(), 31);
    EXPECT_EQ(pot->GetWidth(), 24);
    EXPECT_EQ(pot->GetHeight(), 24);
    EXPECT_EQ(pot->GetStripFrame(), 15) << "normalised step 0.5 of 31 frames";
    param->SetValue(100, true);
    EXPECT_EQ(pot->GetStripFrame(), 30);

    XPot* unbound = AddPot(40, 40, nullptr, strip);
    unbound->SetPosition(24); // of 48 pixels
    EXPECT_EQ(unbound->GetStripFrame(), 15);
    const juce::Image picture = WidgetTest::Render(*unbound);
    EXPECT_TRUE(picture.isValid());
}

TEST_F(PotTest, ADragTakesTheLargerAxisAndTheFineModifierAQuarterOfIt)
{
    auto param = MakeParam(0, 1000);
    XPot* pot = AddPot(40, 40, param.get());
    struct Case
    {
        XPoint to;
        bool fine;
        double change;
    };
    const Case cases[] = {{{23, 15}, false, 10}, // (+3, -5): 5 up
                          {{26, 15}, false, 12}, // (+6, -5): 6 right
                          {{20, 26}, false, -12},
                          {{26, 15}, true, 3}};
    for (const Case& c : cases)
    {
        param->SetValue(500, false);
        std::unique_ptr<HeldKey> alt(c.fine ? new HeldKey("alt") : nullptr);
        Drag(pot, XPoint(20, 20), c.to);
        EXPECT_EQ(param->GetValue() - 500, c.change) << c.to.x << "," << c.to.y << (c.fine ? " fine" : "");
    }

    // Slow fine moves of one pixel add up instead of vanishing.
    HeldKey alt("alt");
    param->SetValue(500, false);
    pot->MouseDown(XPoint(20, 20), XView::kButtonLeft);
    for (int x = 21; x <= 24; ++x)
        pot->MouseMoved(XPoint(x, 20), XView::kButtonLeft);
    pot->MouseUp(XPoint(24, 20), XView::kButtonNone);
    EXPECT_EQ(param->GetValue(), 502);
    EXPECT_TRUE(IsMousePointerShown());
}

TEST_F(PotTest, KeysStepByTheDragScaleButAlwaysAtLeastOneStep)
{
    auto fine = MakeParam(0, 100);  // 101 steps over 80 pixels
    auto coarse = MakeParam(0, 10); // 11 steps over 80 pixels
    XPot* finePot = AddPot(40, 40, fine.get());
    XPot* coarsePot = AddPot(40, 40, coarse.get());
    struct Case
    {
        XPot* pot;
        XParam* param;
        int32_t key;
        double expected;
    };
    const Case cases[] = {
        {finePot, fine.get(), XKeyCode::kUp, 6},        {finePot, fine.get(), XKeyCode::kPageUp, 17},
        {finePot, fine.get(), XKeyCode::kPageDown, -7}, {coarsePot, coarse.get(), XKeyCode::kUp, 6},
        {coarsePot, coarse.get(), XKeyCode::kDown, 4},  {coarsePot, coarse.get(), XKeyCode::kPageUp, 6}};
    for (const Case& c : cases)
    {
        c.param->SetValue(5, false);
        XKeyInfo modifiers = 0;
        EXPECT_TRUE(c.pot->HandleKeyPress(c.key, modifiers));
        EXPECT_EQ(c.param->GetValue(), c.expected < 0 ? 0 : c.expected) << "key " << c.key;
    }
    XKeyInfo modifiers = 0;
    EXPECT_FALSE(finePot->HandleKeyPress('x', modifiers));
}

TEST_F(PotTest, AClickPostsThePotClickedMessageWithTheParameterAndTheWindow)
{
    Recorder clicks("h34PotClicks");
    clicks.Bind(XPot::kPotClickedMessage);
    auto param = MakeParam(0, 10);
    XPot* pot = AddPot(40, 40, param.get());
    EXPECT_TRUE(pot->Click(XPoint(5, 5)));
    ASSERT_TRUE(PumpUntil([&] { return !clicks.messages.empty(); }, 5000));
    EXPECT_EQ(clicks.messages.front().GetWhat(), 1004005u);
    EXPECT_EQ(clicks.messages.front().GetPointer("param"), param.get());
    EXPECT_EQ(clicks.messages.front().GetPointer("pView"), &root);
    EXPECT_FALSE(pot->IsTracking());

    XMessage noTouch;
    noTouch.AddString("style", "notouch");
    XPot* untouchable = AddPot(40, 40, param.get(), noTouch);
    EXPECT_TRUE(untouchable->Click(XPoint(5, 5))) << "a plain press instead";
    EXPECT_TRUE(untouchable->IsTracking());
    untouchable->MouseUp(XPoint(5, 5), XView::kButtonNone);
    ViewTest::Pump();
    EXPECT_EQ(clicks.messages.size(), 1u);
    EXPECT_TRUE(IsMousePointerShown());
}

TEST_F(PotTest, ASimButtonSendsOnPressAndOnlyOnAReleaseInside)
{
    Recorder recorder("h34SimButton");
    XMessage block;
    block.AddString("style", "simButton");
    XPot* button = AddPot(40, 40, nullptr, block);
    ASSERT_TRUE(button->IsSimButton());
    button->SetMessage(new XMessage(kButtonMessage));
    button->SetTarget(&recorder, nullptr);

    button->MouseDown(XPoint(50, 5), XView::kButtonLeft);
    EXPECT_FALSE(button->IsTracking()) << "a press outside";
    button->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_TRUE(button->IsTracking());
    button->MouseUp(XPoint(60, 60), XView::kButtonNone);
    ASSERT_TRUE(PumpUntil([&] { return !recorder.messages.empty(); }, 5000));
    ViewTest::Pump();
    ASSERT_EQ(recorder.messages.size(), 1u) << "released outside: only the press";
    EXPECT_TRUE(recorder.messages.front().GetBool("isDown"));
    EXPECT_EQ(recorder.messages.front().GetPointer("pView"), &root);

    button->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    button->MouseUp(XPoint(6, 6), XView::kButtonNone);
    ASSERT_TRUE(PumpUntil([&] { return recorder.messages.size() >= 3; }, 5000));
    EXPECT_FALSE(recorder.messages.back().GetBool("isDown"));
    EXPECT_TRUE(IsMousePointerShown()) << "a button never hides the pointer";
}

TEST_F(PotTest, MoveBySignalsTheChangeOfAnUnboundPot)
{
    XPot* pot = AddPot(40, 40, nullptr);
    std::vector<int32_t> changes;
    pot->GetValueSignal().Connect([&](int32_t change) { changes.push_back(change); });
    pot->MoveBy(5);
    pot->MoveBy(-2);
    pot->MoveBy(-10); // stops at 0
    pot->MoveBy(0);
    EXPECT_EQ(changes, std::vector<int32_t>({5, -2, -3}));
    EXPECT_EQ(pot->GetLastChange(), -3);
}
} // namespace
