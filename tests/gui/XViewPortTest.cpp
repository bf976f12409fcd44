#include "gui/XViewPort.h"

#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
/** A view that wants the mouse and records what reaches it. */
class MouseRecorder final : public XView
{
public:
    struct Event
    {
        char kind;
        XPoint point;
        int32_t value;
    };

    bool MouseDown(const XPoint& point, int32_t button) override { return Record('d', point, button); }
    bool MouseMoved(const XPoint& point, int32_t button) override { return Record('m', point, button); }
    bool MouseUp(const XPoint& point, int32_t button) override { return Record('u', point, button); }
    bool MouseWheel(const XPoint& point, int32_t steps) override { return Record('w', point, steps); }

    std::vector<Event> events;

private:
    bool Record(char kind, const XPoint& point, int32_t value)
    {
        events.push_back({kind, point, value});
        return true;
    }
};

/** A view port at 10,20 in a recording parent, holding two children. */
struct PortFixture
{
    PortFixture()
    {
        ViewTest::Application();
        parent.SetFrame(XRect(0, 0, 300, 300));
        port = new XViewPort(XRect(10, 20, 110, 120));
        parent.AddChild(port);
        first = new XView(XRect(0, 0, 100, 50));
        second = new XView(XRect(0, 50, 100, 250));
        port->AddChild(first);
        port->AddChild(second);
    }

    MouseRecorder parent;
    XViewPort* port;
    XView* first;
    XView* second;
};
} // namespace

TEST(XViewPortTest, ScrollingMovesEveryChildAndKeepsTheOffsetAtMostZero)
{
    PortFixture f;
    f.port->ScrollTo(0, -40);
    EXPECT_EQ(f.port->GetScrollPosition(), XPoint(0, -40));
    EXPECT_EQ(f.first->GetFrame(), XRect(0, -40, 100, 10));
    EXPECT_EQ(f.second->GetFrame(), XRect(0, 10, 100, 210));

    f.port->ScrollBy(-5, -10);
    EXPECT_EQ(f.port->GetScrollPosition(), XPoint(-5, -50));
    EXPECT_EQ(f.first->GetFrame(), XRect(-5, -50, 95, 0));

    f.port->ScrollTo(-5, -50);
    f.port->ScrollBy(0, 0);
    EXPECT_EQ(f.port->GetScrollPosition(), XPoint(-5, -50));
    EXPECT_EQ(f.first->GetFrame(), XRect(-5, -50, 95, 0));

    // Back to the start; an offset that would become positive is 0 while the children still move
    // by the whole request.
    f.port->ScrollTo(0, 0);
    EXPECT_EQ(f.first->GetFrame(), XRect(0, 0, 100, 50));
    f.port->ScrollBy(0, 10);
    EXPECT_EQ(f.port->GetScrollPosition(), XPoint(0, 0));
    EXPECT_EQ(f.first->GetFrame(), XRect(0, 10, 100, 60));
}

TEST(XViewPortTest, MouseEventsReachTheParentInItsCoordinatesOfTheScrolledContent)
{
    PortFixture f;
    f.port->ScrollTo(0, -40);
    EXPECT_TRUE(f.port->MouseDown(XPoint(5, 5), XView::kButtonLeft));
    EXPECT_TRUE(f.port->MouseMoved(XPoint(6, 7), XView::kNoButton));
    EXPECT_TRUE(f.port->MouseUp(XPoint(1, 2), XView::kButtonLeft));
    EXPECT_TRUE(f.port->MouseWheel(XPoint(0, 0), -2));
    EXPECT_FALSE(f.port->MouseWheel(XPoint(0, 0), 0));
    // Without a context menu anywhere, a context click goes on to the parent as a press.
    EXPECT_TRUE(f.port->MouseDown(XPoint(0, 0), XView::kButtonRight));

    const struct
    {
        char kind;
        XPoint point;
        int32_t value;
    } expected[] = {{'d', {15, 65}, 1},
                    {'m', {16, 67}, 255},
                    {'u', {11, 62}, 1},
                    {'w', {10, 60}, -2},
                    {'d', {10, 60}, 2}};
    ASSERT_EQ(f.parent.events.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < f.parent.events.size(); ++i)
    {
        EXPECT_EQ(f.parent.events[i].kind, expected[i].kind) << i;
        EXPECT_EQ(f.parent.events[i].point, expected[i].point) << i;
        EXPECT_EQ(f.parent.events[i].value, expected[i].value) << i;
    }

    XViewPort alone(XRect(0, 0, 10, 10));
    EXPECT_FALSE(alone.MouseDown(XPoint(1, 1), XView::kButtonLeft));
    EXPECT_FALSE(alone.MouseWheel(XPoint(1, 1), 1));
}
