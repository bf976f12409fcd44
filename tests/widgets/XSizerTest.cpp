#include "widgets/XSizer.h"

#include "WidgetTestSupport.h"
#include "WidgetTypeWords.h"
#include "core/XMessage.h"
#include "gui/XColorDictionary.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using GuiTestSupport::RunLoopFor;
using GuiTestSupport::RunLoopUntil;

constexpr int kWaitMs = 5000;

/** The keys of a sizer block: its frame, the views of its groups and, when given, "draw". */
XMessage SizerBlock(const XRect& frame, std::initializer_list<const char*> topLeft,
                    std::initializer_list<const char*> bottomRight)
{
    XMessage block;
    block.AddRect("frame", frame);
    for (const char* name : topLeft)
        block.AddString("addtopleft", name);
    for (const char* name : bottomRight)
        block.AddString("addbottomright", name);
    return block;
}

class SizerTest : public WidgetTest::WidgetTree
{
protected:
    XView* AddPane(const char* name, const XRect& frame)
    {
        auto* pane = new XView();
        pane->SetName(name);
        pane->SetResizeMask(XView::kResizeAll);
        return Add(pane, frame);
    }

    XSizer* AddSizer(XMessage block)
    {
        auto* sizer = new XSizer();
        sizer->ReadAttributes(block);
        root.AddChild(sizer);
        return sizer;
    }

    /** A move of the pointer to a point along the axis, given in the sizer's parent's coordinates
        (the sizer takes its moves in its own, and it moves). */
    static void MoveTo(XSizer& sizer, int32_t along)
    {
        const XRect frame = sizer.GetFrame();
        const XPoint local =
            sizer.IsHorizontal() ? XPoint(2, along - frame.top) : XPoint(along - frame.left, 2);
        sizer.MouseMoved(local, XView::kButtonLeft);
    }
};

TEST_F(SizerTest, TheSizerTakesItsThicknessAndCursorFromItsShape)
{
    struct Case
    {
        XRect frame;
        bool draw;
        XRect expected;
        int32_t cursor;
    };
    const Case cases[] = {
        {XRect(10, 10, 210, 30), true, XRect(10, 10, 210, 15), XSizer::kCursorUpDown},
        {XRect(10, 10, 210, 30), false, XRect(10, 10, 210, 10), XSizer::kCursorUpDown},
        {XRect(10, 10, 30, 210), true, XRect(10, 10, 15, 210), XSizer::kCursorLeftRight},
        {XRect(10, 10, 30, 30), true, XRect(10, 10, 15, 30), XSizer::kCursorLeftRight}, // square: vertical
    };
    for (const Case& c : cases)
    {
        XMessage block = SizerBlock(c.frame, {}, {});
        block.AddBool("draw", c.draw);
        XSizer* sizer = AddSizer(block);
        EXPECT_EQ(sizer->GetFrame(), c.expected)
            << c.frame.right << "x" << c.frame.bottom << " draw " << c.draw;
        EXPECT_EQ(sizer->GetCursorTool(XPoint(1, 1)), c.cursor);
    }
}

TEST_F(SizerTest, AttachedViewsMeetTheSizerAndStopFollowingTheParentAtThatEdge)
{
    XView* top = AddPane("Top", XRect(0, 0, 250, 120));
    XView* bottom = AddPane("Bottom", XRect(-10, 90, 190, 150));
    XView* left = AddPane("Left", XRect(0, 0, 80, 300));
    AddSizer(SizerBlock(XRect(0, 100, 200, 120), {"Top", "nosuchview"}, {"Bottom"}));
    EXPECT_EQ(top->GetFrame(), XRect(0, 0, 200, 100));
    EXPECT_EQ(bottom->GetFrame(), XRect(0, 105, 200, 165)) << "moved right and down, keeping its size";
    EXPECT_EQ(top->GetResizeMask(), XView::kResizeAll & ~XView::kResizeBottom);
    EXPECT_EQ(bottom->GetResizeMask(), XView::kResizeAll & ~XView::kResizeTop);

    XSizer* vertical = AddSizer(SizerBlock(XRect(100, 20, 110, 280), {"Left"}, {}));
    EXPECT_EQ(left->GetFrame(), XRect(0, 20, 100, 280));
    EXPECT_EQ(left->GetResizeMask(), XView::kResizeAll & ~XView::kResizeRight);
    EXPECT_EQ(vertical->CountTopLeftViews(), 1);
    vertical->AttachTopLeft(left);
    EXPECT_EQ(vertical->CountTopLeftViews(), 1) << "once";
}

TEST_F(SizerTest, ADragKeepsEveryViewAtTheMinimumAndSticksUntilThePointerTurns)
{
    XView* top = AddPane("Top", XRect(0, 0, 200, 100));
    XView* bottom = AddPane("Bottom", XRect(0, 105, 200, 155));
    XSizer* sizer = AddSizer(SizerBlock(XRect(0, 100, 200, 105), {"Top"}, {"Bottom"}));

    EXPECT_FALSE(sizer->MouseDown(XPoint(2, 2), XView::kButtonRight));
    EXPECT_FALSE(sizer->IsDragging()) << "only the left button drags";
    ASSERT_TRUE(sizer->MouseDown(XPoint(2, 2), XView::kButtonLeft));
    MoveTo(*sizer, 102 - 95);
    EXPECT_EQ(top->GetHeight(), 10) << "moved 90, not 95";
    EXPECT_EQ(sizer->GetFrame(), XRect(0, 10, 200, 15));
    EXPECT_EQ(bottom->GetFrame(), XRect(0, 15, 200, 155));
    EXPECT_TRUE(sizer->IsStuck());
    MoveTo(*sizer, 0);
    EXPECT_EQ(top->GetHeight(), 10) << "further up does nothing";
    MoveTo(*sizer, 4);
    EXPECT_FALSE(sizer->IsStuck());
    EXPECT_EQ(top->GetHeight(), 14) << "turning down moves it again";

    // Down: the bottom view keeps its minimum too.
    MoveTo(*sizer, 400);
    EXPECT_EQ(bottom->GetFrame(), XRect(0, 145, 200, 155));
    EXPECT_EQ(top->GetFrame(), XRect(0, 0, 200, 140));
    sizer->MouseUp(XPoint(2, 2), XView::kButtonLeft);
    EXPECT_FALSE(sizer->IsDragging());
    EXPECT_FALSE(sizer->IsStuck());

    // Without a bottom/right view, a downward drag is never limited.
    XView* onlyTop = AddPane("OnlyTop", XRect(210, 0, 300, 50));
    XSizer* open = AddSizer(SizerBlock(XRect(210, 50, 300, 55), {"OnlyTop"}, {}));
    open->MouseDown(XPoint(2, 2), XView::kButtonLeft);
    MoveTo(*open, 52 + 500);
    EXPECT_EQ(onlyTop->GetHeight(), 550);
    open->MouseUp(XPoint(2, 2), XView::kButtonLeft);

    EXPECT_EQ(open->LimitMovement(-545), -540);
    root.RemoveChild(onlyTop);
    delete onlyTop;
    EXPECT_EQ(open->CountTopLeftViews(), 0) << "a deleted view leaves its group";
    EXPECT_EQ(open->LimitMovement(-545), -545);
}

TEST_F(SizerTest, WhenTheParentChangesSizeTheGroupsStayAtTheSizer)
{
    XView* top = AddPane("Top", XRect(0, 0, 400, 100));
    XView* bottom = AddPane("Bottom", XRect(0, 105, 400, 300));
    XSizer* sizer = AddSizer(SizerBlock(XRect(0, 100, 400, 105), {"Top"}, {"Bottom"}));
    root.SetFrameXYWH(0, 0, 400, 340);
    ASSERT_TRUE(RunLoopUntil([&] { return bottom->GetFrame().top == 105; }, kWaitMs));
    EXPECT_EQ(sizer->GetFrame(), XRect(0, 100, 400, 105)) << "the sizer's mask keeps it in place";
    EXPECT_EQ(top->GetFrame(), XRect(0, 0, 400, 100));
    EXPECT_EQ(bottom->GetFrame(), XRect(0, 105, 400, 340)) << "the bottom view grows instead of moving";
}

TEST_F(SizerTest, TheBarIsDrawnInsideAnEdgeOfTheBackColour)
{
    XSizer* sizer = AddSizer(SizerBlock(XRect(0, 0, 100, 40), {}, {}));
    sizer->SetBackColor(XRGB(20, 20, 20));
    sizer->SetForeColor(XRGB(200, 100, 0));
    const juce::Image picture = WidgetTest::Render(*sizer);
    EXPECT_EQ(WidgetTest::Pixel(picture, 50, 0), juce::Colour(20, 20, 20));
    EXPECT_EQ(WidgetTest::Pixel(picture, 50, 2), juce::Colour(200, 100, 0));
    EXPECT_EQ(WidgetTest::Pixel(picture, 50, 4), juce::Colour(20, 20, 20));
}

/** A window described with two panes and a sizer, on the screen, dragged through the window's peer. */
TEST_F(SizerTest, ADescribedSizerDragsThroughTheWindowInTheSkin)
{
    if (!WidgetTest::UseBuiltSkinTables())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    const WidgetTest::WidgetTypeWords typeWords;
    const XString description("view:basic\n"
                              "name:Split\n"
                              "framewh:0,0,240,180\n"
                              "backcolor:windowBackground\n"
                              "\n"
                              "view:basic\n"
                              "name:Upper\n"
                              "framewh:10,10,220,100\n"
                              "backcolor:panelBack\n"
                              "\n"
                              "view:basic\n"
                              "name:Lower\n"
                              "framewh:10,115,220,55\n"
                              "backcolor:widgetBack\n"
                              "\n"
                              "view:Sizer\n"
                              "name:Bar\n"
                              "framewh:10,110,220,12\n"
                              "addtopleft:Upper\n"
                              "addbottomright:Lower\n"
                              "backcolor:panelEdge\n"
                              "forecolor:gridLine\n");
    XView window;
    WidgetTest::BuildDescription(window, "SplitProbe.txt", description.CStr());
    auto* sizer = dynamic_cast<XSizer*>(window.FindChild("Bar", false));
    XView* upper = window.FindChild("Upper", false);
    ASSERT_NE(sizer, nullptr);
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(sizer->GetFrame(), XRect(10, 110, 230, 115));
    EXPECT_EQ(sizer->CountTopLeftViews(), 1);
    EXPECT_EQ(sizer->CountBottomRightViews(), 1);

    window.setTopLeftPosition(200, 200);
    ASSERT_TRUE(WidgetTest::ShowOnScreen(window));
    RunLoopFor(50);
    GuiTestSupport::PeerMouse mouse(window);
    const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
    mouse.Send({100, 112}, {});
    mouse.Send({100, 112}, left);
    for (int y = 108; y >= 70; y -= 2)
        mouse.Send({100, y}, left);
    mouse.Send({100, 70}, {});
    EXPECT_EQ(upper->GetFrame(), XRect(10, 10, 230, 68));
    EXPECT_EQ(sizer->GetFrame(), XRect(10, 68, 230, 73));
    EXPECT_FALSE(sizer->IsDragging());

    GuiTestSupport::TakeScreenshot(window, "SizerInSkin");
    window.removeFromDesktop();
}
} // namespace
