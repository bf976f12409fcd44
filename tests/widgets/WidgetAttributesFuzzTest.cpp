#include "WidgetTestSupport.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "widgets/XFaderBar.h"
#include "widgets/XMeterStick.h"
#include "widgets/XPot.h"
#include "widgets/XSlider.h"

#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace
{
using ViewTest::MakeParam;

const char* const kKeys[] = {
    "knoboffset",   "thumbheight", "style",           "textrect",  "imagename", "effect",
    "effectsize",   "effectcolor", "hiliteforecolor", "color1",    "nubImage",  "peakparam",
    "inverseValue", "peakColor",   "center",          "radius",    "valuetext", "imageArrayBase",
    "imageCount",   "type",        "simButtonImage",  "paramDelta"};
const char* const kTexts[] = {"",
                              "sunken",
                              "posNegDraw,inverted",
                              " growFromCenter , DASHED",
                              "panning",
                              "simButton,noline",
                              "drawtext,simplerender",
                              "pan",
                              "fan",
                              "widgets/pot/smallpot",
                              "widgets/faderbar/hbarnub.png",
                              "widgets/faderbar/hbartrack.png",
                              "widgets/slider/vknob.png",
                              "no\\such\\thing",
                              ",,,",
                              "%s%d%n"};
const int32_t kNumbers[] = {0, -1, 1, 2, 4, 15, 31, 200, 32767, -32768, 65536, INT_MAX, INT_MIN};

int32_t Number(juce::Random& random)
{
    return random.nextInt(4) == 0 ? random.nextInt()
                                  : kNumbers[random.nextInt(juce::numElementsInArray(kNumbers))];
}

/** A description block of random keys with values of random types. */
XMessage RandomBlock(juce::Random& random)
{
    XMessage block;
    const int count = random.nextInt(8);
    for (int item = 0; item < count; ++item)
    {
        const char* key = kKeys[random.nextInt(juce::numElementsInArray(kKeys))];
        switch (random.nextInt(7))
        {
        case 0:
            block.AddInt32(key, Number(random));
            break;
        case 1:
            block.AddString(key, kTexts[random.nextInt(juce::numElementsInArray(kTexts))]);
            break;
        case 2:
            block.AddRect(key, XRect(Number(random), Number(random), Number(random), Number(random)));
            break;
        case 3:
            block.AddPoint(key, XPoint(Number(random), Number(random)));
            break;
        case 4:
            block.AddColor(key, XRGB(static_cast<uint8_t>(random.nextInt(256)), 0, 0));
            break;
        case 5:
            block.AddBool(key, random.nextBool());
            break;
        default:
            block.AddFloat(key, static_cast<float>(Number(random)) / 3.0f);
            break;
        }
    }
    return block;
}

XView* NewWidget(int kind)
{
    switch (kind)
    {
    case 0:
        return new XSlider();
    case 1:
        return new XFaderBar();
    case 2:
        return new XMeterStick();
    default:
        return new XPot();
    }
}

class WidgetAttributesFuzz : public WidgetTest::WidgetTree
{
};

TEST_F(WidgetAttributesFuzz, RandomDescriptionsAndGesturesNeitherCrashNorHang)
{
    WidgetTest::UseBuiltSkin();
    auto param = MakeParam(0, 100);
    auto toggle = MakeParam(0, 1);
    juce::Random random(34034);
    constexpr int kRounds = 1000;
    for (int round = 0; round < kRounds; ++round)
    {
        SCOPED_TRACE(round);
        XView* view = NewWidget(random.nextInt(4));
        const int width = random.nextInt(160);
        const int height = random.nextInt(160);
        view->SetFrame(XRect(0, 0, width, height));
        XMessage block = RandomBlock(random);
        view->ReadAttributes(block);
        root.AddChild(view);
        auto* control = dynamic_cast<XControl*>(view);
        ASSERT_NE(control, nullptr);
        const int binding = random.nextInt(3);
        control->SetPot(binding == 0 ? nullptr : binding == 1 ? param.get() : toggle.get());
        param->SetValue(random.nextInt(101), true);

        WidgetTest::Render(*view);
        for (int gesture = 0; gesture < 6; ++gesture)
        {
            const XPoint point(random.nextInt(200) - 20, random.nextInt(200) - 20);
            const int32_t button = random.nextBool() ? XView::kButtonLeft : XView::kButtonRight;
            view->MouseDown(point, button);
            view->MouseMoved(XPoint(point.x + random.nextInt(41) - 20, point.y + random.nextInt(41) - 20),
                             button);
            view->MouseUp(point, XView::kButtonNone);
            XKeyInfo modifiers = 0;
            view->HandleKeyPress(random.nextBool() ? XKeyCode::kPageUp : XKeyCode::kDown, modifiers);
            view->MouseWheel(point, random.nextInt(5) - 2);
        }
        control->SetPosition(random.nextInt(1000) - 500);
        WidgetTest::Render(*view);
        root.RemoveChild(view);
        delete view;
    }
}
} // namespace
