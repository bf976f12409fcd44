#include "widgets/TabButton.h"

#include "WidgetTestSupport.h"
#include "gui/XColorDictionary.h"

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
/** A tab bar of three outputs in the skin's tab pictures, the second lit, for a person to judge. */
TEST_F(TabButtonTest, ScreenshotOfATabBar)
{
    if (!WidgetTest::UseBuiltSkin() || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    auto channel = MakeParam(0, 5, "CurActiveChannel");
    channel->SetValue(1, false);
    const char* litImages[] = {"widgets\\channels\\tab1.png", "widgets\\channels\\tab2.png",
                               "widgets\\channels\\tab3.png"};
    for (int32_t index = 0; index < 3; ++index)
    {
        const XRect frame(10 + 60 * index, 10, 66 + 60 * index, 32);
        auto* tab = Add(
            new TabButton(frame, channel.get(), "widgets\\channels\\tabDim.png", litImages[index], nullptr),
            frame);
        tab->SetMatchValue(static_cast<float>(index));
        ASSERT_NE(tab->GetImage(), nullptr);
        EXPECT_EQ(tab->IsLit(tab->GetPosition()), index == 1);
    }
    ViewTest::Pump();
    root.setSize(200, 42);
    const juce::Image shot = GuiTestSupport::TakeScreenshot(root, "TabButtons");
    // Only the tab of the current channel shows its lit picture: the others show the same dim one.
    EXPECT_EQ(shot.getPixelAt(30, 12), shot.getPixelAt(150, 12));
    EXPECT_NE(shot.getPixelAt(90, 12), shot.getPixelAt(30, 12));
}
} // namespace
