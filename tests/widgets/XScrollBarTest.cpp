#include "widgets/XScrollBar.h"

#include "core/XMessage.h"
#include "gui/JUCECanvas.h"
#include "gui/ManualTickClock.h"
#include "gui/XResourceManager.h"
#include "gui/XViewPort.h"
#include "support/TestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
using ViewTest::Application;

/** A scroll bar that records the "final" flag of every message it sends. */
class RecordingBar final : public XScrollBar
{
public:
    RecordingBar() { SetMessage(new XMessage(FourCharCode("scrl"))); }
    int32_t Invoke(XMessage* message) override
    {
        bool final = false;
        if (message != nullptr && message->FindBool("final", final) == 0)
            finals.push_back(final);
        return 0;
    }
    std::vector<bool> finals;
};

/** The program's resource manager pointed at a folder: the built skin, or an empty one. */
class SkinScope
{
public:
    explicit SkinScope(bool withSkin)
    {
        XResourceManager& resources = GetResourceManager();
        resources.ClearCaches();
        if (withSkin)
        {
            resources.SetBaseFolder(SkinTestSupport::BuiltSystemFolder().getFullPathName().toRawUTF8());
            if (resources.CountSkinFolders() == 0)
                resources.AddSkinFolder(SkinTestSupport::kSkinFolder);
        }
        else
            resources.SetBaseFolder(empty.Path().c_str());
    }
    ~SkinScope() { GetResourceManager().ClearCaches(); }

private:
    TestSupport::TempFolder empty;
};

/** A vertical bar 20 x 240 without skin images, attached to the test application: arrows of 20
    at each end and a 200-pixel track. */
struct BarFixture
{
    explicit BarFixture(int32_t max = 100)
    {
        XMessage block;
        block.AddRect("frame", XRect(0, 0, 20, 240));
        block.AddInt32("max", max);
        bar.ReadAttributes(block);
        Application().AddHandler(&bar);
        bar.setVisible(true);
    }
    ~BarFixture() { Application().RemoveHandler(&bar); }

    SkinScope skin{false};
    RecordingBar bar;
};

TEST(XScrollBarTest, TheThumbStandsInTheTrackByThePositionAndDragsBackToAPosition)
{
    BarFixture fixture;
    RecordingBar& bar = fixture.bar;
    EXPECT_EQ(bar.GetTrackRect(), XRect(2, 20, 18, 220));
    bar.SetThumbFraction(0.1f);
    bar.SetPosition(50);
    EXPECT_EQ(bar.GetThumbRect(), XRect(2, 110, 18, 130)) << "90 pixels into the track";
    bar.SetThumbFraction(0.05f);
    EXPECT_EQ(bar.GetThumbRect().Height(), 12) << "a thumb of 11 pixels or less is drawn 12 long";

    bar.SetThumbFraction(0.1f);
    bar.MouseDown(XPoint(10, 115), XView::kButtonLeft);
    bar.MouseMoved(XPoint(10, 115 + 181 / 4), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPosition(), 74);
    bar.MouseMoved(XPoint(10, 900), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPosition(), 100);
    bar.MouseUp(XPoint(10, 900), XView::kButtonLeft);
}

TEST(XScrollBarTest, PositionsAreLimitedAndEachChangeSendsOneMessageEndingWithAFinalOne)
{
    BarFixture fixture;
    RecordingBar& bar = fixture.bar;
    bar.SetPosition(500);
    EXPECT_EQ(bar.GetPosition(), 100);
    bar.SetPosition(100);
    EXPECT_EQ(bar.finals, std::vector<bool>({true})) << "the same value twice sends one message";

    // A click that moves the bar reports during the press and once more, final, at its end.
    bar.finals.clear();
    bar.MouseDown(XPoint(10, 5), XView::kButtonLeft);
    bar.MouseUp(XPoint(10, 5), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPosition(), 99);
    EXPECT_EQ(bar.finals, std::vector<bool>({false, true}));

    struct Case
    {
        int32_t from;
        XPoint at;
        int32_t expected;
        bool decreasePressed;
    };
    const Case cases[] = {
        {1, XPoint(10, 5), 0, true},     // the decrease arrow at 1
        {0, XPoint(10, 5), 0, true},     // at 0 nothing changes, the part is pressed all the same
        {5, XPoint(10, 21), 0, true},    // the track before the thumb: ten steps back, limited to min
        {5, XPoint(10, 210), 15, false}, // the track past the thumb: ten steps on
    };
    for (const Case& c : cases)
    {
        bar.SetPosition(c.from);
        bar.finals.clear();
        bar.MouseDown(c.at, XView::kButtonLeft);
        EXPECT_EQ(bar.GetPosition(), c.expected) << c.from << " at " << c.at.y;
        EXPECT_EQ(bar.IsDecreasePressed(), c.decreasePressed) << c.from << " at " << c.at.y;
        bar.MouseUp(c.at, XView::kButtonLeft);
        EXPECT_EQ(bar.finals.empty(), c.from == c.expected);
    }
}

TEST(XScrollBarTest, AHeldArrowRepeatsAfter200MillisecondsAndSpeedsUpTo20)
{
    ViewTest::ManualTickClock clock;
    BarFixture fixture(1000);
    RecordingBar& bar = fixture.bar;
    bar.MouseDown(XPoint(10, 235), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPosition(), 1);
    std::vector<uint32_t> gaps;
    uint32_t waited = 0;
    int32_t last = bar.GetPosition();
    for (int ms = 0; ms < 1400; ++ms)
    {
        clock.now += 1;
        Application().PumpMessages();
        ++waited;
        if (bar.GetPosition() != last)
        {
            EXPECT_EQ(bar.GetPosition(), last + 1);
            last = bar.GetPosition();
            gaps.push_back(waited);
            waited = 0;
        }
    }
    const std::vector<uint32_t> expected = {200, 180, 160, 140, 120, 100, 80, 60, 40, 20, 20, 20, 20};
    ASSERT_GE(gaps.size(), expected.size());
    EXPECT_EQ(std::vector<uint32_t>(gaps.begin(), gaps.begin() + expected.size()), expected);
    bar.MouseUp(XPoint(10, 235), XView::kButtonLeft);
    const int32_t released = bar.GetPosition();
    clock.Advance(500);
    EXPECT_EQ(bar.GetPosition(), released);

    // From the track at 5 the repeat stops stepping once the position is 0.
    bar.SetPosition(25);
    bar.MouseDown(XPoint(10, 21), XView::kButtonLeft);
    EXPECT_EQ(bar.GetPosition(), 15);
    clock.Advance(200);
    EXPECT_EQ(bar.GetPosition(), 5);
    clock.Advance(180);
    EXPECT_EQ(bar.GetPosition(), 0);
    clock.Advance(500);
    EXPECT_EQ(bar.GetPosition(), 0);
    bar.MouseUp(XPoint(10, 21), XView::kButtonLeft);
}

TEST(XScrollBarTest, ThePositionScrollsEveryViewPortButTheOneThatScrolledItself)
{
    BarFixture fixture;
    RecordingBar& bar = fixture.bar;
    XViewPort first(XRect(0, 0, 50, 50));
    XViewPort second(XRect(0, 0, 50, 50));
    bar.AttachViewPort(&first);
    bar.AttachViewPort(&second);
    bar.AttachViewPort(&first);
    bar.SetPosition(30);
    EXPECT_EQ(first.GetScrollPosition().y, -30);
    EXPECT_EQ(second.GetScrollPosition().y, -30);
    first.ScrollTo(0, -40);
    bar.SyncFrom(40, &first);
    EXPECT_EQ(second.GetScrollPosition().y, -40);
    EXPECT_EQ(first.GetScrollPosition().y, -40);
    bar.DetachViewPort(&second);
    bar.SetPosition(10);
    EXPECT_EQ(second.GetScrollPosition().y, -40);

    // Extreme ranges keep the thumb in the track.
    bar.SetRange(INT32_MIN, INT32_MAX);
    bar.SetPosition(0);
    const XRect track = bar.GetTrackRect();
    EXPECT_GE(bar.GetThumbRect().top, track.top);
    EXPECT_LE(bar.GetThumbRect().bottom, track.bottom);
    bar.SetRange(0, 100);

    XMessage horizontal;
    horizontal.AddBool("horizontal", true);
    horizontal.AddInt32("max", 100);
    bar.ReadAttributes(horizontal);
    EXPECT_TRUE(bar.IsHorizontal());
    bar.SetPosition(20);
    EXPECT_EQ(first.GetScrollPosition().x, -20);
    bar.DetachViewPort(&first);
}

TEST(XScrollBarTest, ArrowsAreBevelledButtonsUnlessPressedOrSkinImagesOnceTheSkinHasAThumb)
{
    BarFixture fixture;
    RecordingBar& bar = fixture.bar;
    bar.SetBackColor(XRGB(100, 100, 100));
    bar.SetForeColor(XRGB(0, 0, 0));
    auto render = [&bar]
    {
        JUCECanvas canvas(bar.GetWidth(), bar.GetHeight());
        bar.Draw(canvas);
        return canvas.GetImage().createCopy();
    };
    const juce::Colour dark(50, 50, 50);
    const juce::Colour back(100, 100, 100);
    EXPECT_EQ(render().getPixelAt(2, 0), dark) << "raised edge of the top arrow";
    bar.MouseDown(XPoint(10, 5), XView::kButtonLeft);
    EXPECT_EQ(render().getPixelAt(2, 0), back) << "a pressed arrow is flat";
    bar.MouseUp(XPoint(10, 5), XView::kButtonLeft);

    SkinScope skin(true);
    RecordingBar skinned;
    skinned.SetFrame(XRect(0, 0, 30, 240));
    skinned.SetOrientation(false);
    EXPECT_EQ(skinned.GetWidth(), 15) << "as thick as the thumb image";
    EXPECT_EQ(skinned.GetThumbRect().Height(), 24) << "as long as the thumb image";
}
} // namespace
