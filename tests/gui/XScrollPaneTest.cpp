#include "gui/XScrollPane.h"

#include "ManualTickClock.h"
#include "core/XMessage.h"
#include "gui/XScaler.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using ViewTest::Application;

/** A target of range start..end over content length, counting its steps. */
class FakeTarget final : public IScalerTarget
{
public:
    double GetRangeStart(bool) override { return start; }
    double GetRangeEnd(bool) override { return end; }
    double GetContentLength(bool) override { return length; }
    bool HasOverview(bool) override { return false; }
    void DrawOverview(XCanvas&, const XRect&, const XRect&, const XRect&, bool) override {}
    void SetRange(double s, double e, bool) override { start = s, end = e; }
    void SetRangeStart(double s, bool) override { end += s - start, start = s; }
    void Step(int flag, bool) override { ++(flag == kStepTowardsEnd ? endSteps : startSteps); }
    bool CanZoom(bool) override { return zoom; }

    double start = 0;
    double end = 100;
    double length = 1000;
    bool zoom = false;
    int endSteps = 0;
    int startSteps = 0;
};

/** A vertical scaler 20 x 140 with buttons: arrows 20 long, a 100-pixel track from 20 to 120. */
std::unique_ptr<XScaler> MakeScaler(FakeTarget& target)
{
    auto scaler = std::make_unique<XScaler>();
    XMessage block;
    block.AddRect("frame", XRect(0, 0, 20, 140));
    block.AddBool("buttons", true);
    scaler->ReadAttributes(block);
    Application().AddHandler(scaler.get());
    scaler->AddTarget(&target);
    scaler->AddTarget(&target);
    return scaler;
}

TEST(XScalerTest, TheThumbShowsTheRangeAtLeast24PixelsLongAndDragsWithinTheContent)
{
    FakeTarget target;
    auto scaler = MakeScaler(target);
    EXPECT_EQ(scaler->CountTargets(), 1);
    EXPECT_EQ(scaler->GetTrackRect(), XRect(0, 20, 20, 120));
    EXPECT_EQ(scaler->GetThumbRect(), XRect(0, 20, 20, 44)) << "a tenth of 100 pixels is drawn 24 long";
    EXPECT_DOUBLE_EQ(scaler->GetUnitsPerPixel(), 10.0);

    // No zoomable target: the thumb's edge drags the thumb.
    EXPECT_EQ(scaler->HitTest(XPoint(10, 21)), XScaler::kPartThumb);
    scaler->MouseDown(XPoint(10, 30), XView::kButtonLeft);
    scaler->MouseMoved(XPoint(10, 40), XView::kButtonLeft);
    EXPECT_DOUBLE_EQ(target.start, 100.0);
    scaler->MouseMoved(XPoint(10, 500), XView::kButtonLeft);
    EXPECT_DOUBLE_EQ(target.end, 1000.0) << "dragging past the end stops at the content length";
    EXPECT_DOUBLE_EQ(target.start, 900.0);
    scaler->MouseUp(XPoint(10, 500), XView::kButtonLeft);

    target.zoom = true;
    target.start = 0;
    target.end = 500;
    EXPECT_EQ(scaler->HitTest(XPoint(10, 22)), XScaler::kPartStartEdge);
    EXPECT_EQ(scaler->HitTest(XPoint(10, 69)), XScaler::kPartEndEdge);

    FakeTarget none;
    scaler->RemoveTarget(&target);
    EXPECT_DOUBLE_EQ(scaler->GetUnitsPerPixel(), 1.0);
    EXPECT_EQ(scaler->GetThumbRect(), XRect(0, 20, 20, 44));
    Application().RemoveHandler(scaler.get());
}

TEST(XScalerTest, HeldArrowsStepAtOnceThenRepeatEvery50OrEvery100Milliseconds)
{
    ViewTest::ManualTickClock clock;
    FakeTarget target;
    auto scaler = MakeScaler(target);
    scaler->MouseDown(XPoint(10, 130), XView::kButtonLeft);
    EXPECT_EQ(target.endSteps, 1);
    EXPECT_TRUE(scaler->IsEndArrowHeld());
    clock.Advance(49);
    EXPECT_EQ(target.endSteps, 1);
    clock.Advance(1);
    EXPECT_EQ(target.endSteps, 2);
    clock.Advance(50);
    EXPECT_EQ(target.endSteps, 3);
    scaler->MouseUp(XPoint(10, 130), XView::kButtonLeft);
    clock.Advance(200);
    EXPECT_EQ(target.endSteps, 3);

    scaler->MouseDown(XPoint(10, 5), XView::kButtonLeft);
    EXPECT_EQ(target.startSteps, 1);
    clock.Advance(99);
    EXPECT_EQ(target.startSteps, 1);
    clock.Advance(1);
    EXPECT_EQ(target.startSteps, 2);
    scaler->MouseUp(XPoint(10, 5), XView::kButtonLeft);
    Application().RemoveHandler(scaler.get());
}

/** A pane 200 x 100 without skin images (20-pixel bars) holding one child of the size given. */
struct PaneFixture
{
    explicit PaneFixture(int32_t width, int32_t height, const char* style = nullptr)
    {
        XMessage block;
        block.AddRect("frame", XRect(0, 0, 200, 100));
        block.AddBool("useScrollImages", false);
        if (style != nullptr)
            block.AddString("style", style);
        pane.ReadAttributes(block);
        Application().AddHandler(&pane);
        pane.ApplyStyle();
        child = new XView(XRect(0, 0, width, height));
        pane.AddChild(child);
    }
    ~PaneFixture() { Application().RemoveHandler(&pane); }

    XScrollPane pane;
    XView* child = nullptr;
};

TEST(XScrollPaneTest, BarsShowWhereTheContentDoesNotFit)
{
    struct Case
    {
        int32_t width;
        int32_t height;
        bool vertical;
        bool horizontal;
    };
    for (const Case& c : {Case{200, 300, true, false}, Case{150, 100, true, false},
                          Case{150, 99, false, false}, Case{400, 50, false, true}})
    {
        PaneFixture fixture(c.width, c.height);
        EXPECT_EQ(fixture.child->getParentComponent(), fixture.pane.GetContent())
            << "children go into the content";
        EXPECT_EQ(fixture.pane.IsVerticalBarShown(), c.vertical) << c.width << "x" << c.height;
        EXPECT_EQ(fixture.pane.IsHorizontalBarShown(), c.horizontal) << c.width << "x" << c.height;
        if (c.vertical)
        {
            EXPECT_EQ(fixture.pane.GetVerticalBar()->GetFrame(), XRect(180, 0, 200, 100));
        }
        EXPECT_GT(fixture.pane.getIndexOfChildComponent(fixture.pane.GetVerticalBar()),
                  fixture.pane.getIndexOfChildComponent(fixture.pane.GetContent()))
            << "the bars stand over the content";
    }
}

TEST(XScrollPaneTest, PositionsAreLimitedSoTheLastRowEndsAtTheBottomAndStepsStopThere)
{
    PaneFixture fixture(150, 300);
    XScrollPane& pane = fixture.pane;
    pane.SetScrollPosition(1000, false);
    const int32_t visible = pane.GetVisibleSize(false);
    EXPECT_EQ(visible, 98);
    EXPECT_EQ(pane.GetScrollPosition(false), 300 - visible);
    const XRect area = pane.GetContentArea();
    const XPoint bottom = fixture.child->getBounds().getBottomLeft().toInt().x == 0
                              ? XPoint(0, fixture.child->getBottom() + pane.GetContent()->getY())
                              : XPoint();
    EXPECT_EQ(bottom.y, area.bottom) << "the content's last row at the bottom of the visible area";
    pane.SetScrollPosition(-5, false);
    EXPECT_EQ(pane.GetScrollPosition(false), 0);

    pane.StepScroll(false, false);
    EXPECT_EQ(pane.GetScrollPosition(false), 10);
    pane.StepScroll(true, false);
    pane.StepScroll(true, false);
    EXPECT_EQ(pane.GetScrollPosition(false), 0);
    pane.SetScrollPosition(200, false);
    pane.StepScroll(false, false);
    EXPECT_EQ(pane.GetScrollPosition(false), 202) << "the last step only reaches the end";
    pane.StepScroll(false, false);
    EXPECT_EQ(pane.GetScrollPosition(false), 202);

    // The vertical bar drives the content.
    XScaler* bar = pane.GetVerticalBar();
    pane.SetScrollPosition(0, false);
    bar->MouseWheel(XPoint(5, 50), -1);
    EXPECT_EQ(pane.GetScrollPosition(false), 10);
}

TEST(XScrollPaneTest, AMarqueeScrollsUpOnePixelPerTickAtNoLessThan30MillisecondsAndStartsAgain)
{
    ViewTest::ManualTickClock clock;
    XScrollPane pane;
    XMessage block;
    block.AddRect("frame", XRect(0, 0, 100, 50));
    block.AddString("style", "marquee");
    block.AddInt32("marquee period", 10);
    pane.ReadAttributes(block);
    Application().AddHandler(&pane);
    pane.ApplyStyle();
    pane.AddChild(new XView(XRect(0, 0, 90, 51)));
    XScrollPane::SubView* content = pane.GetContent();
    ASSERT_TRUE(content->IsMarquee());
    content->Hide();
    content->Show();
    EXPECT_EQ(content->GetMarqueePeriod(), 30);
    EXPECT_EQ(pane.GetVerticalBar(), nullptr) << "a marquee has no bars";
    clock.Advance(29);
    EXPECT_EQ(pane.GetScrollPosition(false), 0);
    clock.Advance(1);
    EXPECT_EQ(pane.GetScrollPosition(false), 1);
    clock.Advance(30);
    clock.Advance(30);
    EXPECT_EQ(pane.GetScrollPosition(false), 3) << "51 rows in 48: three steps to the end";
    clock.Advance(30);
    EXPECT_EQ(pane.GetScrollPosition(false), 0) << "back to the top";
    content->Hide();
    clock.Advance(100);
    EXPECT_EQ(pane.GetScrollPosition(false), 0);
    Application().RemoveHandler(&pane);
}
} // namespace
