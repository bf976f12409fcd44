#include "widgets/TabButton.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using ViewTest::MakeParam;

class TabButtonTest : public WidgetTest::WidgetTree
{
};

TEST_F(TabButtonTest, BehavesAsTheButtonWithTheSameArguments)
{
    // Two tab bars side by side, one of tab buttons and one of plain buttons, on one parameter each.
    auto tabChannel = MakeParam(0, 5, "TabChannel");
    auto buttonChannel = MakeParam(0, 5, "ButtonChannel");
    TabButton* tabs[3] = {};
    XButton* buttons[3] = {};
    for (int32_t index = 0; index < 3; ++index)
    {
        const XRect frame(10 + 60 * index, 10, 60 + 60 * index, 30);
        tabs[index] = Add(new TabButton(frame, tabChannel.get(), nullptr, nullptr, nullptr), frame);
        buttons[index] = Add(new XButton(frame, buttonChannel.get(), nullptr, nullptr, nullptr), frame);
        tabs[index]->SetMatchValue(static_cast<float>(index));
        buttons[index]->SetMatchValue(static_cast<float>(index));
        tabs[index]->SetTooltipText("Output");
        buttons[index]->SetTooltipText("Output");
    }
    for (const int32_t clicked : {2, 0, 1})
    {
        for (XButton* button : {static_cast<XButton*>(tabs[clicked]), buttons[clicked]})
        {
            button->MouseDown(XPoint(3, 3), XView::kButtonLeft);
            button->MouseUp(XPoint(3, 3), XView::kButtonNone);
        }
        ViewTest::Pump();
        EXPECT_EQ(tabChannel->GetValue(), buttonChannel->GetValue());
        EXPECT_EQ(tabChannel->GetValue(), clicked);
        for (int32_t index = 0; index < 3; ++index)
        {
            EXPECT_EQ(tabs[index]->IsLit(tabs[index]->GetPosition()), index == clicked);
            EXPECT_EQ(buttons[index]->IsLit(buttons[index]->GetPosition()), index == clicked);
            EXPECT_EQ(tabs[index]->GetTooltipText(), buttons[index]->GetTooltipText());
        }
    }
}
} // namespace
