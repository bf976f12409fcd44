#include "gui/XMenuBar.h"

#include "MenuTestSupport.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using GuiTestSupport::RunLoopUntil;
using MenuTest::CountingCommand;
using MenuTest::kWaitMs;

constexpr int kBarWidth = 400;
constexpr int kBarHeight = 22;

class XMenuBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        bar.SetFrameXYWH(0, 0, kBarWidth, kBarHeight);
        bar.AddMenu("File", &file);
        bar.AddMenu("Window", &window);
        bar.AddMenu("Empty", nullptr);
    }

    /** The rectangle a title of the bar's font takes: its text and twice three blanks. */
    static int TitleWidth(const char* title, XFont* font)
    {
        return font->GetStringWidth(title) + 2 * font->GetStringWidth("   ");
    }

    XMenu file{"File", false};
    XMenu window{"Window", false};
    XMenuBar bar{"MainMenuBar"};
};

TEST_F(XMenuBarTest, TitlesAreLaidOutLeftToRightWithoutGaps)
{
    bar.Attach();
    XFont* font = bar.GetFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetHeight(), XFont::GetFont("arial", 14, false, false, false)->GetHeight());
    const XMenuBar::MenuInfo* first = bar.GetMenuInfo(0);
    const XMenuBar::MenuInfo* second = bar.GetMenuInfo(1);
    EXPECT_EQ(first->rect, XRect(0, 0, TitleWidth("File", font), kBarHeight));
    EXPECT_EQ(second->rect,
              XRect(first->rect.right, 0, first->rect.right + TitleWidth("Window", font), kBarHeight));

    // Rectangles are inclusive: the shared edge belongs to the first title.
    EXPECT_EQ(bar.FindEntryAt(XPoint(first->rect.right, 5)), 0);
    EXPECT_EQ(bar.FindEntryAt(XPoint(first->rect.right + 1, 5)), 1);
    EXPECT_EQ(bar.FindEntryAt(XPoint(kBarWidth - 1, 5)), -1);
}

TEST_F(XMenuBarTest, AClickMakesATitlePendingAndHighlightsIt)
{
    bar.Attach();
    const XRect fileRect = bar.GetMenuInfo(0)->rect;
    bar.MouseDown(XPoint(fileRect.left + 3, 5), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPendingIndex(), 0);
    EXPECT_TRUE(bar.GetMenuInfo(0)->open);

    // Outside every title nothing is pending and nothing highlighted.
    bar.MouseDown(XPoint(kBarWidth - 2, 5), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPendingIndex(), -1);
    // Pointer moves count only while a menu is open.
    bar.MouseMoved(XPoint(fileRect.left + 3, 5), XView::kNoButton);
    EXPECT_EQ(bar.GetPendingIndex(), -1);
    bar.MenuClosed(&file);
    EXPECT_FALSE(bar.GetMenuInfo(0)->open);
}

/** The bar in a window on the screen (under Xvfb in the test run), clicked through the window's
    peer as a user would. */
class MenuBarWindowTest : public XMenuBarTest
{
protected:
    void SetUp() override
    {
        XMenuBarTest::SetUp();
        if (SkinTestSupport::BuiltSystemFolder().getChildFile("GlobalColors.dat").existsAsFile())
            SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder());
        XStyle::SetCurrentStyle(&style);
        root.SetFrameXYWH(60, 60, kBarWidth, 120);
        root.SetBackColor(XRGB(38, 43, 50));
        root.AddChild(&bar);
        bar.SetBackColor(GetColorDictionary().GetColor("menubarBack"));
        bar.SetTextColor(GetColorDictionary().GetColor("menubarFore"));
        root.addToDesktop(juce::ComponentPeer::windowIsTemporary);
        root.Show();
        root.Attach();
        root.toFront(false);
        ASSERT_TRUE(RunLoopUntil([&] { return root.getPeer() != nullptr && root.isShowing(); }, kWaitMs));
    }

    void TearDown() override
    {
        root.RemoveChild(&bar);
        root.removeFromDesktop();
        XStyle::SetCurrentStyle(nullptr);
    }

    void Click(juce::Point<int> point)
    {
        for (auto mods : {juce::ModifierKeys(), juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier),
                          juce::ModifierKeys()})
            mouse.Send(point, mods);
    }

    XStyle style;
    XView root;
    GuiTestSupport::PeerMouse mouse{root};
};

TEST_F(MenuBarWindowTest, AClickOnFileOpensItsMenuAndAChoiceRunsItsCommand)
{
    XCommandManager commands;
    CountingCommand save("Save");
    ASSERT_TRUE(save.Register("Save", "Global", "ctrl + S"));
    CountingCommand quit("Quit");
    ASSERT_TRUE(quit.Register("QuitTest", "Global", ""));
    file.AddCommandItem("QuitTest");
    file.AddSpacer();
    file.AddCommandItem("Save");

    bool fileHighlighted = false;
    MenuTest::ModalMenuDriver driver(
        [&](juce::Component& menuWindow)
        {
            fileHighlighted = bar.GetMenuInfo(0)->open && bar.GetOpenIndex() == 0;
            GuiTestSupport::TakeScreenshot(root, "menubar-file-open");
            GuiTestSupport::TakeScreenshot(menuWindow, "menubar-file-menu");
            MenuTest::ChooseByKeys(menuWindow, 1); // the second selectable item: Save
        });
    const XRect fileRect = bar.GetMenuInfo(0)->rect;
    Click(root.getLocalPoint(&bar, juce::Point<int>(fileRect.left + 8, kBarHeight / 2)));

    EXPECT_TRUE(ViewTest::PumpUntil([&] { return save.runs == 1; }, kWaitMs))
        << "the menu opened: " << driver.HasActed();
    EXPECT_TRUE(fileHighlighted);
    EXPECT_EQ(quit.runs, 0);
    EXPECT_EQ(bar.GetOpenIndex(), -1);
    EXPECT_FALSE(bar.GetMenuInfo(0)->open);
    commands.RemoveCommand(&save);
    commands.RemoveCommand(&quit);
}
} // namespace
