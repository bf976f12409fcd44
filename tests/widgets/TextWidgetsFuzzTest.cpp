#include "WidgetTestSupport.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "widgets/MasterTimeView.h"
#include "widgets/XCheckBox.h"
#include "widgets/XSpinner.h"
#include "widgets/XTextEditView.h"
#include "widgets/XTimeView.h"
#include "widgets/XTouchKey.h"

#include <gtest/gtest.h>

namespace
{
using ViewTest::MakeParam;

const char* const kKeys[] = {"text",        "style",           "timeformat", "displaySubframes", "imagename",
                             "buttonwidth", "separatorwidth",  "isRadio",    "hilitebackcolor",  "textcolor",
                             "color1",      "hiliteforecolor", "label",      "textjustify",      "frame"};
const char* const kTexts[] = {"",
                              "noframe,numeric",
                              "readonly",
                              "password, inspinner",
                              "fancyRender",
                              "smpte",
                              "BBT",
                              "samples",
                              "notmomentary",
                              "12:34:56:78",
                              "99:99:99",
                              "widgets\\checkBoxDim.png",
                              "center",
                              "x,y,,,"};

XMessage RandomBlock(juce::Random& random)
{
    XMessage block;
    const int count = random.nextInt(8);
    for (int i = 0; i < count; ++i)
    {
        const char* key = kKeys[random.nextInt(juce::numElementsInArray(kKeys))];
        switch (random.nextInt(4))
        {
        case 0:
            block.AddString(key, kTexts[random.nextInt(juce::numElementsInArray(kTexts))]);
            break;
        case 1:
            block.AddInt32(key, random.nextInt(400) - 100);
            break;
        case 2:
            block.AddBool(key, random.nextBool());
            break;
        default:
            block.AddColor(key, XRGB(static_cast<uint8_t>(random.nextInt(256)), 10, 10));
            break;
        }
    }
    return block;
}

XControl* NewWidget(int kind)
{
    switch (kind)
    {
    case 0:
        return new XTextEditView();
    case 1:
        return new XTimeView();
    case 2:
        return new MasterTimeView();
    case 3:
        return new XSpinner();
    case 4:
        return new XCheckBox();
    default:
        return new XTouchKey();
    }
}

class TextWidgetsFuzz : public WidgetTest::WidgetTree
{
};

TEST_F(TextWidgetsFuzz, RandomDescriptionsKeysAndGesturesNeitherCrashNorHang)
{
    auto param = MakeParam(0, 100);
    juce::Random random(4036);
    constexpr int kSettledRound = 50;
    int32_t viewsSettled = 0;
    const int32_t keys[] = {XKeyCode::kLeft,   XKeyCode::kRight,  XKeyCode::kUp,     XKeyCode::kDown,
                            XKeyCode::kHome,   XKeyCode::kEnd,    XKeyCode::kTab,    XKeyCode::kBackspace,
                            XKeyCode::kDelete, XKeyCode::kReturn, XKeyCode::kEscape, XKeyCode::kPageUp};
    for (int round = 0; round < 300; ++round)
    {
        SCOPED_TRACE(round);
        XControl* view = NewWidget(random.nextInt(6));
        view->SetFrame(XRect(0, 0, random.nextInt(160), random.nextInt(60)));
        XMessage block = RandomBlock(random);
        if (random.nextBool())
            block.AddPointer("param", param.get());
        view->ReadAttributes(block);
        root.AddChild(view);
        WidgetTest::Render(*view);
        view->FocusChanged(true);
        for (int step = 0; step < 20; ++step)
        {
            XKeyInfo modifiers = random.nextInt(4) == 0 ? XKeyMod::kShift : 0;
            const int32_t key = random.nextBool() ? keys[random.nextInt(12)] : 32 + random.nextInt(95);
            view->HandleKeyPress(key, modifiers);
            const XPoint point(random.nextInt(180) - 10, random.nextInt(70) - 10);
            view->MouseDown(point, XView::kButtonLeft);
            view->MouseUp(point, XView::kButtonLeft);
            // The value stays in its parameter's range, and the caret and selection in the text.
            EXPECT_GE(param->GetValue(), 0.0);
            EXPECT_LE(param->GetValue(), 100.0);
            if (auto* text = dynamic_cast<XTextEditView*>(view))
                if (XTextEditView::XTextEdit* editor = text->GetEditor())
                    for (const XPoint& at :
                         {editor->GetCaret(), editor->GetSelectionStart(), editor->GetSelectionEnd()})
                    {
                        EXPECT_GE(at.x, 0);
                        EXPECT_LE(at.x, editor->GetText().Length());
                    }
        }
        if (auto* text = dynamic_cast<XTextEditView*>(view))
            text->CommitText();
        WidgetTest::Render(*view);
        root.RemoveChild(view);
        delete view;
        // Views a widget kind makes once and keeps for all may appear in the first rounds;
        // after them no round leaves a view behind.
        if (round == kSettledRound)
        {
            viewsSettled = XView::CountLiveViews();
        }
        else if (round > kSettledRound)
        {
            EXPECT_LE(XView::CountLiveViews(), viewsSettled) << "a view of the widget stayed behind";
        }
    }
    ViewTest::Pump();
}
} // namespace
