#include "widgets/XTouchKey.h"

#include "WidgetTestSupport.h"
#include "core/XMessage.h"

#include <gtest/gtest.h>

namespace
{
using ControlTest::Recorder;
using ViewTest::MakeParam;
using WidgetTest::WidgetTree;

constexpr uint32_t kKeyMessage = FourCharCode("keyA");

class TouchKeyTest : public WidgetTree
{
protected:
    XTouchKey* AddKey(XParam* param, bool withMessage, const char* style = nullptr)
    {
        auto* key = new XTouchKey();
        key->SetFrame(XRect(10, 10, 50, 40));
        XMessage block;
        if (style != nullptr)
            block.AddString("style", style);
        if (param != nullptr)
            block.AddPointer("param", param);
        key->ReadAttributes(block);
        root.AddChild(key);
        if (withMessage)
        {
            key->SetMessage(new XMessage(kKeyMessage, 0));
            key->SetTarget(&recorder, &ViewTest::Application());
        }
        return key;
    }

    size_t Sent() const { return recorder.messages.size(); }

    Recorder recorder{"keys"};
};

TEST_F(TouchKeyTest, HoldingAKeySendsAtThePressThenFromTheFifthTick)
{
    XTouchKey* key = AddKey(nullptr, true);
    EXPECT_TRUE(key->IsTransparent());
    EXPECT_TRUE(key->IsMomentary());
    key->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    ASSERT_TRUE(key->IsDown());
    EXPECT_TRUE(XTouchKey::IsAnyKeyHeld());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return Sent() >= 1; }, 5000));
    key->StopTimer(XTouchKey::kRepeatTimerId); // tick by hand from here on
    recorder.messages.clear();

    for (int tick = 1; tick <= XTouchKey::kTicksBeforeRepeat; ++tick)
        key->HandleTimer(XTouchKey::kRepeatTimerId);
    ViewTest::Pump();
    EXPECT_EQ(Sent(), 0u) << "nothing during the first four ticks";
    key->HandleTimer(XTouchKey::kRepeatTimerId);
    key->HandleTimer(XTouchKey::kRepeatTimerId);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return Sent() >= 2; }, 5000));
    EXPECT_EQ(recorder.messages[0].GetWhat(), kKeyMessage);

    key->MouseUp(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_FALSE(key->IsDown());
    EXPECT_FALSE(XTouchKey::IsAnyKeyHeld());
    EXPECT_EQ(key->GetRepeatCount(), 0);
    key->HandleTimer(XTouchKey::kRepeatTimerId);
    ViewTest::Pump();
    EXPECT_EQ(Sent(), 2u) << "no repeat once released";
}

TEST_F(TouchKeyTest, TheRepeatTimerRepeatsAHeldKey)
{
    XTouchKey* key = AddKey(nullptr, true);
    key->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return Sent() >= 3; }, 10000)) << "the press and two repeats";
    key->MouseUp(XPoint(5, 5), XView::kButtonLeft);
}

TEST_F(TouchKeyTest, APressOutsideDoesNothingAndBlocksNothing)
{
    XTouchKey* key = AddKey(nullptr, true);
    key->MouseDown(XPoint(60, 5), XView::kButtonLeft);
    EXPECT_FALSE(key->IsDown());
    EXPECT_FALSE(XTouchKey::IsAnyKeyHeld());
    key->MouseDown(XPoint(40, 30), XView::kButtonLeft); // the edges belong to the key
    EXPECT_TRUE(key->IsDown());
    key->MouseUp(XPoint(40, 30), XView::kButtonLeft);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return Sent() >= 1; }, 5000));
    EXPECT_EQ(Sent(), 1u);
}

TEST_F(TouchKeyTest, KeysWithoutAMessageDriveTheirParameter)
{
    auto held = MakeParam(0, 1, "held");
    auto toggled = MakeParam(0, 1, "toggled");
    XTouchKey* momentary = AddKey(held.get(), false);
    XTouchKey* toggle = AddKey(toggled.get(), false, "NotMomentary");
    EXPECT_FALSE(toggle->IsMomentary());

    momentary->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(held->GetValue(), 1.0);
    momentary->MouseUp(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(held->GetValue(), 0.0);

    toggle->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    toggle->MouseUp(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(toggled->GetValue(), 1.0) << "stays on at the release";
    toggle->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    toggle->MouseUp(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(toggled->GetValue(), 0.0);
}
} // namespace
