#include "widgets/XPanelContainerView.h"

#include "WidgetTestSupport.h"
#include "WidgetTypeWords.h"
#include "core/XMessage.h"
#include "gui/XColorDictionary.h"
#include "gui/XScaler.h"
#include "widgets/XPanelView.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
using GuiTestSupport::RunLoopFor;
using GuiTestSupport::RunLoopUntil;

constexpr int kWaitMs = 5000;
constexpr int32_t kTitle = XPanelView::kDefaultTitleHeight;

XMessage ContainerBlock(const XRect& frame, bool isHorizontal, bool hideMaxScrollbar)
{
    XMessage block;
    block.AddRect("frame", frame);
    if (isHorizontal)
        block.AddString("style", "horizontal");
    block.AddBool("hideMaxScrollbar", hideMaxScrollbar);
    block.AddBool("useScalerImages", false);
    return block;
}

class PanelContainerTest : public WidgetTest::WidgetTree
{
protected:
    XPanelContainerView* AddContainer(XMessage block)
    {
        auto* container = new XPanelContainerView();
        container->ReadAttributes(block);
        root.AddChild(container);
        return container;
    }

    /** A panel whose open size along the stack is length (its content's length). */
    static XPanelView* AddPanel(XPanelContainerView& container, int32_t length)
    {
        auto* panel = new XPanelView();
        panel->SetFrame(XRect(0, 0, length, length));
        container.AddChild(panel);
        return panel;
    }

    static std::vector<int32_t> Tops(const XPanelContainerView& container)
    {
        std::vector<int32_t> tops;
        for (int32_t index = 0; index < container.CountPanels(); ++index)
            tops.push_back(container.GetPanel(index)->GetFrame().top);
        return tops;
    }

    static std::vector<XPanelView*> Order(const XPanelContainerView& container)
    {
        std::vector<XPanelView*> order;
        for (int32_t index = 0; index < container.CountPanels(); ++index)
            order.push_back(container.GetPanel(index));
        return order;
    }
};

TEST_F(PanelContainerTest, AClosedPanelIsItsTitleAndOpeningPushesTheFollowingPanelsDown)
{
    XPanelContainerView* container = AddContainer(ContainerBlock(XRect(0, 0, 200, 300), false, false));
    XPanelView* first = AddPanel(*container, 40);
    XPanelView* second = AddPanel(*container, 60);
    XPanelView* third = AddPanel(*container, 30);

    EXPECT_EQ(second->GetOpenHeight(), 60);
    EXPECT_EQ(first->GetFrame(), XRect(0, 0, 180, kTitle + 40)) << "as wide as the view port";
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60, 140}));
    EXPECT_EQ(container->GetExtent(), 190);

    second->ToggleOpen();
    EXPECT_FALSE(second->IsOpen());
    EXPECT_EQ(second->GetHeight(), kTitle);
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60, 80}));
    EXPECT_EQ(container->GetExtent(), 130);

    second->ToggleOpen();
    EXPECT_EQ(second->GetHeight(), kTitle + 60);
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60, 140}));
    EXPECT_EQ(third->GetFrame().bottom, 190);

    // The same through the open parameter, as anything bound to it would do.
    first->GetOpenParam().SetValue(0.0, true);
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 20, 100}));
}

TEST_F(PanelContainerTest, AClosedPanelOfAHorizontalStackKeepsItsTitleStripWide)
{
    XPanelContainerView* container = AddContainer(ContainerBlock(XRect(0, 0, 400, 150), true, false));
    XPanelView* first = AddPanel(*container, 100);
    XPanelView* second = AddPanel(*container, 80);
    EXPECT_EQ(first->GetFrame(), XRect(0, 0, 100, 130)) << "as high as the view port above the scaler";
    EXPECT_EQ(second->GetFrame().left, 100);
    EXPECT_EQ(container->GetExtent(), 180);

    first->ToggleOpen();
    EXPECT_EQ(first->GetWidth(), kTitle) << "a closed panel can still be opened by its box";
    EXPECT_EQ(second->GetFrame().left, kTitle);
    EXPECT_TRUE(first->MouseDown(XPoint(10, 10), XView::kButtonLeft));
    EXPECT_TRUE(first->IsOpen());
    EXPECT_EQ(second->GetFrame().left, 100);
}

TEST_F(PanelContainerTest, ViewsInsideAPanelKeepTheirPlaceWhileItClosesAndOpens)
{
    XPanelContainerView* container = AddContainer(ContainerBlock(XRect(0, 0, 200, 300), false, false));
    XPanelView* panel = AddPanel(*container, 80);
    ASSERT_NE(panel->GetContent(), nullptr);
    EXPECT_EQ(panel->GetContent()->GetFrame(), XRect(2, kTitle, 178, kTitle + 78));

    auto* inside = new XView();
    inside->SetResizeMask(XView::kResizeAll);
    inside->SetFrame(XRect(5, 5, 100, 60));
    panel->AddChild(inside);
    EXPECT_EQ(inside->GetParentView(), panel->GetContent());

    panel->ToggleOpen();
    EXPECT_FALSE(panel->GetContent()->IsVisible());
    panel->ToggleOpen();
    EXPECT_TRUE(panel->GetContent()->IsVisible());
    EXPECT_EQ(inside->GetFrame(), XRect(5, 5, 100, 60));

    XView* removed = inside;
    panel->RemoveChild(removed);
    EXPECT_EQ(removed->GetParentView(), nullptr);
    delete removed;
}

TEST_F(PanelContainerTest, HideMaxScrollbarShowsTheScalerOnlyWhileThePanelsDoNotFit)
{
    XPanelContainerView* hiding = AddContainer(ContainerBlock(XRect(0, 0, 200, 150), false, true));
    ASSERT_NE(hiding->GetScaler(), nullptr);
    XPanelView* first = AddPanel(*hiding, 40);
    XPanelView* second = AddPanel(*hiding, 40);
    EXPECT_FALSE(hiding->GetScaler()->IsVisible()) << "120 pixels fit into 150";
    EXPECT_EQ(hiding->GetPanelPort()->GetFrame(), XRect(0, 0, 200, 150));
    EXPECT_EQ(first->GetWidth(), 200);

    AddPanel(*hiding, 40);
    EXPECT_TRUE(hiding->GetScaler()->IsVisible());
    EXPECT_EQ(hiding->GetPanelPort()->GetFrame(), XRect(0, 0, 180, 150));
    EXPECT_EQ(first->GetWidth(), 180) << "the panels follow the view port";

    hiding->SetScrollPosition(1000, false);
    EXPECT_EQ(hiding->GetScrollPosition(), 30);
    second->ToggleOpen();
    EXPECT_FALSE(hiding->GetScaler()->IsVisible());
    EXPECT_EQ(hiding->GetScrollPosition(), 0) << "everything fits again";
    EXPECT_EQ(first->GetFrame().top, 0);

    XPanelContainerView* keeping = AddContainer(ContainerBlock(XRect(200, 0, 400, 150), false, false));
    AddPanel(*keeping, 20);
    EXPECT_TRUE(keeping->GetScaler()->IsVisible());
    EXPECT_EQ(keeping->GetPanelPort()->GetFrame(), XRect(0, 0, 180, 150));
}

TEST_F(PanelContainerTest, TheScalerAndThePanelsFollowTheContainersSize)
{
    XPanelContainerView* hiding = AddContainer(ContainerBlock(XRect(0, 0, 200, 150), false, true));
    XPanelView* first = AddPanel(*hiding, 40);
    AddPanel(*hiding, 40);
    AddPanel(*hiding, 40); // 180 pixels
    ASSERT_TRUE(hiding->GetScaler()->IsVisible());

    struct Case
    {
        XRect frame;
        bool scalerShown;
        XRect scaler;
        XRect port;
    };
    const Case cases[] = {
        {XRect(0, 0, 300, 250), false, XRect(280, 0, 300, 250), XRect(0, 0, 300, 250)},
        {XRect(0, 0, 250, 100), true, XRect(230, 0, 250, 100), XRect(0, 0, 230, 100)},
        {XRect(0, 0, 250, 180), false, XRect(230, 0, 250, 180), XRect(0, 0, 250, 180)},
    };
    for (const Case& c : cases)
    {
        hiding->SetFrame(c.frame);
        EXPECT_EQ(hiding->GetScaler()->IsVisible(), c.scalerShown) << c.frame.right;
        EXPECT_EQ(hiding->GetScaler()->GetFrame(), c.scaler) << c.frame.right;
        EXPECT_EQ(hiding->GetPanelPort()->GetFrame(), c.port) << c.frame.right;
        EXPECT_EQ(first->GetWidth(), c.port.Width()) << c.frame.right;
    }

    XPanelContainerView* keeping = AddContainer(ContainerBlock(XRect(0, 0, 200, 150), true, false));
    keeping->SetFrame(XRect(0, 0, 260, 200));
    EXPECT_EQ(keeping->GetScaler()->GetFrame(), XRect(0, 180, 260, 200));
    EXPECT_EQ(keeping->GetPanelPort()->GetFrame(), XRect(0, 0, 260, 180));
}

TEST_F(PanelContainerTest, TheWheelAndTheScalerScrollWithinTheStack)
{
    XPanelContainerView* container = AddContainer(ContainerBlock(XRect(0, 0, 200, 100), false, false));
    XPanelView* first = AddPanel(*container, 40);
    AddPanel(*container, 40);
    AddPanel(*container, 40); // extent 180 in a view of 100
    EXPECT_EQ(container->GetContentLength(false), 180.0);
    EXPECT_EQ(container->GetRangeEnd(false) - container->GetRangeStart(false), 100.0);

    first->MouseWheel(XPoint(50, 30), -1);
    EXPECT_EQ(container->GetScrollPosition(), XPanelContainerView::kScrollStep);
    EXPECT_EQ(first->GetFrame().top, -XPanelContainerView::kScrollStep);
    first->MouseWheel(XPoint(50, 30), 1);
    first->MouseWheel(XPoint(50, 30), 1);
    EXPECT_EQ(container->GetScrollPosition(), 0);

    struct Case
    {
        double start;
        int32_t expected;
    };
    const Case cases[] = {{50.0, 50}, {500.0, 80}, {-10.0, 0}, {std::nan(""), 0}};
    for (const Case& c : cases)
    {
        container->SetRangeStart(c.start, false);
        EXPECT_EQ(container->GetScrollPosition(), c.expected) << c.start;
    }
    container->Step(IScalerTarget::kStepTowardsEnd, false);
    EXPECT_EQ(container->GetScrollPosition(), XPanelContainerView::kScrollStep);
}

TEST_F(PanelContainerTest, MovePanelReinsertsNextToTheOtherPanelAndPacksTheStack)
{
    XPanelContainerView* container = AddContainer(ContainerBlock(XRect(0, 0, 200, 400), false, false));
    XPanelView* a = AddPanel(*container, 20);
    XPanelView* b = AddPanel(*container, 30);
    XPanelView* c = AddPanel(*container, 40);

    container->MovePanel(a, c); // from an earlier place: after c
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{b, c, a}));
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 50, 110}));
    container->MovePanel(a, b); // from a later place: at b's place
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{a, b, c}));
    container->MovePanel(c, nullptr); // no other panel: first
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{c, a, b}));
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60, 100}));
    EXPECT_EQ(container->GetPanel(3), nullptr);
    EXPECT_EQ(container->GetPanel(-1), nullptr);

    container->GetPanelPort()->RemoveChild(a);
    delete a;
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{c, b}));
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60}));
    EXPECT_EQ(container->GetExtent(), 110);
}

TEST_F(PanelContainerTest, AVerticalStackReordersByDraggingTheTitleStrip)
{
    XPanelContainerView* container = AddContainer(ContainerBlock(XRect(0, 0, 200, 400), false, false));
    XPanelView* a = AddPanel(*container, 40); // 0..60
    XPanelView* b = AddPanel(*container, 40); // 60..120
    XPanelView* c = AddPanel(*container, 40); // 120..180

    ASSERT_TRUE(a->MouseDown(XPoint(50, 10), XView::kButtonLeft));
    EXPECT_TRUE(a->IsPressed());
    EXPECT_EQ(container->GetDraggedPanel(), a);
    a->MouseMoved(XPoint(50, 110), XView::kButtonLeft); // the pointer at 110 + what a moved
    EXPECT_EQ(a->GetFrame().top, 100) << "the panel follows the pointer";
    a->MouseMoved(XPoint(50, 70), XView::kButtonLeft); // at 170, in c's lower half
    a->MouseUp(XPoint(50, 70), XView::kButtonLeft);
    EXPECT_FALSE(a->IsPressed());
    EXPECT_EQ(container->GetDraggedPanel(), nullptr);
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{b, c, a}));
    EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60, 120}));

    // Dropped on itself, on an upper half or outside every panel: nothing changes.
    for (int32_t to : {130, 70, 390})
    {
        ASSERT_TRUE(a->MouseDown(XPoint(50, 10), XView::kButtonLeft));
        a->MouseMoved(XPoint(50, to - a->GetFrame().top), XView::kButtonLeft);
        a->MouseUp(XPoint(50, to - a->GetFrame().top), XView::kButtonLeft);
        EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{b, c, a})) << to;
        EXPECT_EQ(Tops(*container), (std::vector<int32_t>{0, 60, 120})) << to;
    }
}

TEST_F(PanelContainerTest, ThePanelsPropertiesAndClickAreas)
{
    auto* panel = new XPanelView();
    EXPECT_EQ(panel->GetOpenClickRect(), XRect(3, 3, 19, 19));
    EXPECT_EQ(panel->GetSelectedColor(), XRGB(180, 180, 240, 255));
    EXPECT_NE(panel->FindProperty("OpenHeight"), nullptr);
    EXPECT_NE(panel->FindProperty("HeaderTitle"), nullptr);
    EXPECT_NE(panel->FindProperty("SelectedColor"), nullptr);
    EXPECT_NE(panel->FindProperty("OpenClickRect"), nullptr);
    panel->SetOpenClickRect(XRect());
    panel->SetFrame(XRect(10, 10, 210, 70));
    Add(panel, panel->GetFrame());
    EXPECT_EQ(panel->GetOpenClickRect(), XRect(5, 2, 22, 19)) << "a zero box of a description";
    EXPECT_EQ(panel->GetOpenHeight(), 60);
    EXPECT_EQ(panel->GetFrame(), XRect(10, 10, 210, 10 + kTitle + 60));

    panel->SetOpenHeight(-5);
    EXPECT_EQ(panel->GetOpenHeight(), 60) << "a negative height is refused";
    panel->SetOpenHeight(30);
    EXPECT_EQ(panel->GetHeight(), kTitle + 30) << "an open panel takes its new height";

    panel->SetHeaderTitle("Inputs");
    EXPECT_STREQ(panel->GetLabel().CStr(), "Inputs");

    panel->AddClickArea(XRect(150, 0, 170, 20), XPanelView::kToggleSelectedAction);
    EXPECT_TRUE(panel->IsSelected());
    panel->MouseDown(XPoint(160, 10), XView::kButtonLeft);
    EXPECT_FALSE(panel->IsSelected());
    EXPECT_TRUE(panel->IsOpen());

    // Without a container a press on the title strip grabs nothing; the box still toggles.
    panel->MouseDown(XPoint(100, 10), XView::kButtonLeft);
    EXPECT_FALSE(panel->IsPressed());
    panel->MouseDown(XPoint(10, 10), XView::kButtonLeft);
    EXPECT_FALSE(panel->IsOpen());
    EXPECT_EQ(panel->GetHeight(), kTitle);
}

/** A horizontal stack on the screen, reordered through the window's peer as the user would. */
TEST_F(PanelContainerTest, AHorizontalStackReordersByDraggingThroughTheWindow)
{
    XView window;
    window.SetFrameXYWH(0, 0, 420, 170);
    auto* container = new XPanelContainerView();
    XMessage block = ContainerBlock(XRect(10, 10, 410, 160), true, false);
    container->ReadAttributes(block);
    window.AddChild(container);
    XPanelView* a = AddPanel(*container, 100);
    XPanelView* b = AddPanel(*container, 100);
    XPanelView* c = AddPanel(*container, 100);
    a->SetHeaderTitle("A");
    b->SetHeaderTitle("B");
    c->SetHeaderTitle("C");

    window.setTopLeftPosition(200, 200);
    ASSERT_TRUE(WidgetTest::ShowOnScreen(window));
    RunLoopFor(50);
    GuiTestSupport::PeerMouse mouse(window);
    auto send = [&](int x, int y, juce::ModifierKeys mods) { mouse.Send({x, y}, mods); };
    const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
    auto drag = [&](int fromX, int toX)
    {
        send(fromX, 20, {});
        send(fromX, 20, left);
        for (int x = fromX; x != toX; x += (toX > fromX ? 10 : -10))
            send(x, 20, left);
        send(toX, 20, left);
        send(toX, 20, {});
        mouse.Wait(1000); // no double click with the next press
    };

    drag(60, 290); // a onto c's right half (the port starts at window x 10)
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{b, c, a}));
    EXPECT_EQ(a->GetFrame().left, 200);
    drag(160, 140); // c within itself
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{b, c, a}));
    EXPECT_EQ(c->GetFrame().left, 100);
    drag(260, 70); // a onto b's right half, from a later place: before b
    EXPECT_EQ(Order(*container), (std::vector<XPanelView*>{a, b, c}));
    EXPECT_EQ(b->GetFrame().left, 100);
    EXPECT_EQ(container->GetDraggedPanel(), nullptr);

    // A double click on the title strip closes the panel.
    send(160, 20, left);
    send(160, 20, {});
    send(160, 20, left);
    send(160, 20, {});
    EXPECT_TRUE(RunLoopUntil([&] { return !b->IsOpen(); }, kWaitMs));
    EXPECT_EQ(c->GetFrame().left, 100 + kTitle);

    window.removeFromDesktop();
}

TEST_F(PanelContainerTest, TheTypeWordsCreateThePanelClasses)
{
    XView::ResetClassFactory();
    XPanelContainerView::RegisterViewTypes();
    std::unique_ptr<XView> container(XView::CreateViewByName("panelcontainer"));
    std::unique_ptr<XView> panel(XView::CreateViewByName("Panel"));
    EXPECT_NE(dynamic_cast<XPanelContainerView*>(container.get()), nullptr);
    EXPECT_NE(dynamic_cast<XPanelView*>(panel.get()), nullptr);
    XView::ResetClassFactory();
}

/** Random description blocks and gestures never break the stack's packing. */
TEST_F(PanelContainerTest, RandomBlocksAndGesturesKeepTheStackPacked)
{
    juce::Random random(4211);
    const char* const keys[] = {"style", "useScalerImages", "hideMaxScrollbar", "frame"};
    const char* const texts[] = {"", "horizontal", "HORIZONTAL,transparent", ",,", "nonsense"};
    for (int round = 0; round < 40; ++round)
    {
        XMessage block;
        for (int item = random.nextInt(6); item > 0; --item)
        {
            const char* key = keys[random.nextInt(4)];
            switch (random.nextInt(4))
            {
            case 0:
                block.AddString(key, texts[random.nextInt(5)]);
                break;
            case 1:
                block.AddBool(key, random.nextBool());
                break;
            case 2:
                block.AddInt32(key, random.nextInt());
                break;
            default:
                block.AddRect(key, XRect(random.nextInt(50), random.nextInt(50), random.nextInt(400) - 50,
                                         random.nextInt(400) - 50));
                break;
            }
        }
        XPanelContainerView* container = AddContainer(block);
        for (int count = random.nextInt(5); count > 0; --count)
            AddPanel(*container, random.nextInt(120));
        for (int gesture = 0; gesture < 10; ++gesture)
        {
            XPanelView* panel = container->GetPanel(random.nextInt(container->CountPanels() + 1));
            if (panel == nullptr)
                continue;
            const XPoint point(random.nextInt(140) - 20, random.nextInt(140) - 20);
            switch (random.nextInt(4))
            {
            case 0:
                panel->MouseDown(point, XView::kButtonLeft);
                break;
            case 1:
                panel->MouseMoved(point, XView::kButtonLeft);
                break;
            case 2:
                panel->MouseUp(point, XView::kButtonLeft);
                break;
            default:
                panel->MouseWheel(point, random.nextInt(5) - 2);
                break;
            }
        }
        if (XPanelView* dragged = container->GetDraggedPanel())
            dragged->MouseUp(XPoint(0, 0), XView::kButtonLeft);
        int32_t sum = 0;
        for (int32_t index = 0; index < container->CountPanels(); ++index)
        {
            const XRect frame = container->GetPanel(index)->GetFrame();
            if (index > 0)
            {
                const XRect previous = container->GetPanel(index - 1)->GetFrame();
                EXPECT_EQ(container->IsHorizontal() ? frame.left : frame.top,
                          container->IsHorizontal() ? previous.right : previous.bottom);
            }
            sum += container->IsHorizontal() ? frame.Width() : frame.Height();
        }
        EXPECT_EQ(container->GetExtent(), sum);
        root.RemoveChild(container);
        delete container;
    }
}

/** A described stack of open and closed panels drawn in the skin. */
TEST_F(PanelContainerTest, ADescribedStackIsDrawnInTheSkin)
{
    if (!WidgetTest::UseBuiltSkinTables())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    const WidgetTest::WidgetTypeWords typeWords;
    XPanelContainerView::RegisterViewTypes();
    const XString description("view:basic\n"
                              "name:Window\n"
                              "framewh:0,0,260,240\n"
                              "backcolor:windowBackground\n"
                              "\n"
                              "view:PanelContainer\n"
                              "name:Stack\n"
                              "framewh:10,10,240,220\n"
                              "backcolor:panelBack\n"
                              "forecolor:widgetText\n"
                              "\n"
                              "pushparent\n"
                              "\n"
                              "view:panel\n"
                              "name:Inputs\n"
                              "label:Inputs\n"
                              "framewh:0,0,200,60\n"
                              "backcolor:widgetBack\n"
                              "forecolor:widgetText\n"
                              "\n"
                              "pushparent\n"
                              "\n"
                              "view:basic\n"
                              "name:InputsBody\n"
                              "framewh:4,4,150,40\n"
                              "backcolor:panelEdge\n"
                              "\n"
                              "popparent\n"
                              "\n"
                              "view:panel\n"
                              "name:Delays\n"
                              "label:Delays\n"
                              "framewh:0,0,200,50\n"
                              "backcolor:widgetBack\n"
                              "forecolor:widgetText\n"
                              "\n"
                              "view:panel\n"
                              "name:Outputs\n"
                              "label:Outputs\n"
                              "framewh:0,0,200,70\n"
                              "backcolor:widgetBack\n"
                              "forecolor:widgetText\n"
                              "\n"
                              "popparent\n");
    XView window;
    WidgetTest::BuildDescription(window, "PanelProbe.txt", description.CStr());
    auto* stack = dynamic_cast<XPanelContainerView*>(window.FindChild("Stack", false));
    ASSERT_NE(stack, nullptr);
    ASSERT_EQ(stack->CountPanels(), 3);
    XPanelView* inputs = stack->GetPanel(0);
    XPanelView* delays = stack->GetPanel(1);
    XPanelView* outputs = stack->GetPanel(2);
    ASSERT_NE(inputs->FindChild("InputsBody", true), nullptr);
    delays->ToggleOpen();
    EXPECT_EQ(Tops(*stack), (std::vector<int32_t>{0, 80, 100}));
    EXPECT_EQ(outputs->GetHeight(), kTitle + 70);
    EXPECT_TRUE(stack->GetScaler()->IsVisible());

    window.Show();
    const juce::Image picture = GuiTestSupport::TakeScreenshot(window, "PanelContainerInSkin");
    EXPECT_EQ(WidgetTest::Pixel(picture, 10 + 100, 10 + 80 + 15),
              WidgetTest::Colour(GetColorDictionary().GetColor("widgetBack")))
        << "the closed panel's title strip";
    EXPECT_EQ(WidgetTest::Pixel(picture, 10 + 2 + 4 + 20, 10 + kTitle + 4 + 20),
              WidgetTest::Colour(GetColorDictionary().GetColor("panelEdge")))
        << "the open panel's content";
}
} // namespace
