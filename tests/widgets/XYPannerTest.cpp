#include "widgets/XYPanner.h"

#include "WidgetTestSupport.h"
#include "core/XMessage.h"
#include "gui/GuiHelpers.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "widgets/SurroundPanner.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace
{
using ControlTest::HeldKey;
using ControlTest::PathParam;
using GuiTestSupport::RunLoopFor;
using GuiTestSupport::RunLoopUntil;
using ViewTest::MakeParam;
using WidgetTest::Pixel;

constexpr int kWaitMs = 5000;

/** Values a drag sets may lie a rounding error off the exact share. */
constexpr double kValueTolerance = 1e-9;

XPoint Centre(const XRect& rect)
{
    return XPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

/** A ball placed back from values that a drag set lies on the point up to the truncation of a
    value a rounding error below the exact one. */
::testing::AssertionResult NearPoint(const XPoint& actual, const XPoint& expected)
{
    if (std::abs(actual.x - expected.x) <= 1 && std::abs(actual.y - expected.y) <= 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual.x << "," << actual.y << " is not near " << expected.x << "," << expected.y;
}

/** A 200 x 100 panner in the test tree with balls on parameters 0..100 (x) and 0..100 (y). */
class XYPannerTest : public WidgetTest::WidgetTree
{
protected:
    /** Reads the block into a new panner of that frame, adds it to the tree (which styles it). */
    XYPanner* Build(XMessage& block, const XRect& frame = XRect(10, 10, 210, 110))
    {
        auto* panner = new XYPanner();
        panner->SetFrame(frame);
        panner->ReadAttributes(block);
        return Add(panner, frame);
    }

    /** A block with one ball per parameter pair. */
    static XMessage Balls(std::initializer_list<std::pair<XParam*, XParam*>> pairs)
    {
        XMessage block;
        for (const auto& [x, y] : pairs)
        {
            block.AddPointer("xparam", x);
            block.AddPointer("yparam", y);
        }
        return block;
    }

    std::unique_ptr<FloatParam> x1 = MakeParam(0, 100, "x1");
    std::unique_ptr<FloatParam> y1 = MakeParam(0, 100, "y1");
    std::unique_ptr<FloatParam> x2 = MakeParam(0, 100, "x2");
    std::unique_ptr<FloatParam> y2 = MakeParam(0, 100, "y2");
};

TEST(XYPannerColourTest, TheCentreLineColourIsTheBackColourDarkenedBy50OrByItsDarkestByte)
{
    struct Case
    {
        XRGB back;
        XRGB expected;
    };
    const Case cases[] = {
        {XRGB(200, 100, 60, 255), XRGB(150, 50, 10, 255)},
        {XRGB(49, 255, 255, 255), XRGB(0, 206, 206, 255)},
        {XRGB(50, 50, 50, 128), XRGB(0, 0, 0, 128)},
        {XRGB(0, 255, 255, 7), XRGB(0, 255, 255, 7)},
        {XRGB(255, 255, 255, 255), XRGB(205, 205, 205, 255)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XYPanner::DarkenedColour(c.back), c.expected)
            << int(c.back.r) << "," << int(c.back.g) << "," << int(c.back.b);
}

TEST_F(XYPannerTest, WithoutABackgroundImageTheCentreLinesAreDrawnDarkerThanTheBackColour)
{
    XMessage none;
    XYPanner* panner = Build(none, XRect(0, 0, 101, 77));
    panner->SetBackColor(XRGB(200, 100, 60, 255));
    const juce::Image picture = WidgetTest::Render(*panner);
    const juce::Colour line(150, 50, 10);
    const juce::Colour back(200, 100, 60);
    for (const auto& [x, y] : {std::pair{0, 38}, {100, 38}, {50, 0}, {50, 76}, {25, 38}, {50, 20}})
        EXPECT_EQ(Pixel(picture, x, y), line) << x << "," << y;
    for (const auto& [x, y] : {std::pair{0, 0}, {49, 37}, {51, 39}, {100, 76}})
        EXPECT_EQ(Pixel(picture, x, y), back) << x << "," << y;
}

TEST_F(XYPannerTest, BallsSitWhereTheirValuesPutThemWithYGrowingUpwards)
{
    // 200 x 100, ball size 7 (half 3): x grows from the left edge, y from the bottom edge, and the
    // ends of a range put the ball's centre on the edge.
    struct Case
    {
        double min, max, x, y;
        XRect expected;
    };
    const Case cases[] = {
        {0, 100, 50, 25, XRect(97, 72, 103, 78)},   {0, 100, 0, 0, XRect(-3, 97, 3, 103)},
        {0, 100, 100, 100, XRect(197, -3, 203, 3)}, {-50, 50, 0, 25, XRect(97, 22, 103, 28)},
        {-50, 50, -50, 50, XRect(-3, -3, 3, 3)},    {0, 100, 75, 75, XRect(147, 22, 153, 28)},
    };
    for (const Case& c : cases)
    {
        auto x = MakeParam(c.min, c.max, "x");
        auto y = MakeParam(c.min, c.max, "y");
        x->SetValue(c.x, false);
        y->SetValue(c.y, false);
        XMessage block = Balls({{x.get(), y.get()}});
        block.AddInt32("ballheight", 7);
        XYPanner* panner = Build(block);
        EXPECT_EQ(panner->GetBall(0)->next.rect, c.expected)
            << c.min << ".." << c.max << " at " << c.x << "," << c.y;
        root.RemoveChild(panner);
        delete panner;
    }
}

TEST_F(XYPannerTest, AParameterWithMaximumZeroOrAnEmptyRangeLeavesItsBallStill)
{
    auto maxZero = MakeParam(-10, 0, "maxZero");
    auto empty = MakeParam(5, 5, "empty");
    XMessage block = Balls({{maxZero.get(), y1.get()}, {x1.get(), empty.get()}, {x2.get(), y2.get()}});
    XYPanner* panner = Build(block);
    EXPECT_EQ(panner->GetBall(0)->next.rect, XRect()) << "never placed";
    EXPECT_EQ(panner->GetBall(1)->next.rect, XRect());
    EXPECT_NE(panner->GetBall(2)->next.rect, XRect());

    maxZero->SetValue(-5, true);
    y1->SetValue(40, true);
    x1->SetValue(70, true);
    panner->UpdateBall(1);
    EXPECT_EQ(panner->GetBall(0)->next.rect, XRect());
    EXPECT_EQ(panner->GetBall(1)->next.rect, XRect());
    EXPECT_EQ(panner->GetCurrentBall(), 1) << "the change still makes the ball current";

    // Drawing such balls, and a lone one jumping to a click and dragged, divide by nothing either.
    WidgetTest::Render(*panner);
    XMessage lone = Balls({{maxZero.get(), empty.get()}});
    XYPanner* single = Build(lone);
    EXPECT_TRUE(single->MouseDown(XPoint(150, 50), XView::kButtonLeft));
    single->MouseMoved(XPoint(20, 90), XView::kButtonLeft);
    single->MouseUp(XPoint(20, 90), XView::kButtonNone);
    WidgetTest::Render(*single);
    EXPECT_EQ(empty->GetValue(), 5);
    EXPECT_NEAR(maxZero->GetValue(), -9.0, kValueTolerance);
    EXPECT_EQ(single->GetBall(0)->next.rect, XRect());
}

TEST_F(XYPannerTest, AValueChangeMakesItsBallCurrentAndTheCurrentBallAnswersTheParameterQuery)
{
    XMessage none;
    XYPanner* empty = Build(none);
    EXPECT_EQ(empty->GetParam(), nullptr);
    EXPECT_EQ(empty->GetPot(), nullptr);

    XMessage block = Balls({{x1.get(), y1.get()}, {x2.get(), y2.get()}});
    XYPanner* panner = Build(block);
    EXPECT_EQ(panner->GetCurrentBall(), 1) << "styling makes the last ball current";
    EXPECT_EQ(panner->GetPot(), x2.get());
    y1->SetValue(80, true);
    EXPECT_EQ(panner->GetCurrentBall(), 0);
    EXPECT_EQ(panner->GetPot(), x1.get());
    EXPECT_EQ(Centre(panner->GetBall(0)->next.rect), XPoint(0, 20));
    x2->SetValue(50, true);
    EXPECT_EQ(panner->GetCurrentBall(), 1);
    EXPECT_EQ(Centre(panner->GetBall(1)->next.rect), XPoint(100, 100));
}

TEST_F(XYPannerTest, ValuesSetOnAnotherThreadMoveTheBallOnTheGuiThread)
{
    XMessage block = Balls({{x1.get(), y1.get()}});
    XYPanner* panner = Build(block);
    std::atomic<bool> done{false};
    std::thread worker(
        [&]
        {
            for (int value = 0; value <= 100; ++value)
            {
                x1->SetValue(value, true);
                y1->SetValue(100 - value, true);
            }
            x1->SetValue(75, true);
            y1->SetValue(25, true);
            done = true;
        });
    // The GUI thread takes the posted changes while the worker still sets values.
    const bool placed = ViewTest::PumpUntil(
        [&] { return done && Centre(panner->GetBall(0)->next.rect) == XPoint(150, 75); }, kWaitMs);
    worker.join();
    EXPECT_TRUE(placed);
    EXPECT_EQ(panner->GetCurrentBall(), 0);
}

TEST_F(XYPannerTest, TheDescriptionGivesBallsByParameterPathsWithTheirLooks)
{
    PathParam px("h43\\x", 0, 10, 5);
    PathParam py("h43\\y", 0, 10, 5);
    PathParam py2("h43\\y2", 0, 10, 5);
    XMessage block;
    block.AddString("xparam", "h43\\x");
    block.AddString("yparam", "h43\\y");
    block.AddString("xparam", "h43\\x");
    block.AddString("yparam", "h43\\y2");
    block.AddString("xparam", "h43\\x"); // a third ball lacks its y parameter: reading stops
    block.AddInt32("ballheight", -4);
    block.AddString("ballName", "Left");
    block.AddColor("color1", XRGB(1, 2, 3));
    block.AddColor("color1", XRGB(4, 5, 6));
    block.AddColor("color2", XRGB(7, 8, 9));
    block.AddString("style", "NoCrosshairs");
    block.AddString("style", "other, NOLABELS");
    XYPanner* panner = Build(block);

    ASSERT_EQ(panner->GetBallCount(), 2);
    const PannerBall& first = *panner->GetBall(0);
    const PannerBall& second = *panner->GetBall(1);
    EXPECT_EQ(first.xParam, px.param.get());
    EXPECT_EQ(first.yParam, py.param.get());
    EXPECT_EQ(second.xParam, px.param.get());
    EXPECT_EQ(second.yParam, py2.param.get());
    EXPECT_EQ(first.size, XYPanner::kDefaultBallSize);
    EXPECT_EQ(first.next.name, "Left");
    EXPECT_EQ(second.next.name, "1") << "the index by default";
    EXPECT_EQ(first.next.colour1, XRGB(1, 2, 3));
    EXPECT_EQ(second.next.colour1, XRGB(4, 5, 6));
    EXPECT_EQ(first.colour2, XRGB(7, 8, 9));
    EXPECT_EQ(second.colour2, XRGB(0, 0, 0, 255));
    EXPECT_FALSE(panner->HasCrosshairs());
    EXPECT_FALSE(panner->HasLabels());
    EXPECT_TRUE(px.param->IsWatchedBy(panner, 1));
    EXPECT_TRUE(py2.param->IsWatchedBy(panner, 2));

    // Destroyed, a ball's parameter leaves nothing behind: the ball stops drawing, the panner stops
    // watching, and going away later touches nothing.
    px.param.reset();
    EXPECT_EQ(first.xParam, nullptr);
    EXPECT_EQ(second.xParam, nullptr);
    WidgetTest::Render(*panner);
    root.RemoveChild(panner);
    delete panner;
    EXPECT_EQ(py2.param->GetWatcherCount(), 0);
    EXPECT_EQ(py.param->GetWatcherCount(), 0);
}

TEST_F(XYPannerTest, PressingAndMovingSetsTheGrabbedBallsPairAndTheResetKeyRestoresTheDefaults)
{
    x1->SetValue(50, false);
    y1->SetValue(50, false);
    x2->SetValue(10, false);
    y2->SetValue(10, false);
    XMessage block = Balls({{x1.get(), y1.get()}, {x2.get(), y2.get()}});
    block.AddInt32("ballheight", 10);
    XYPanner* panner = Build(block);

    // Beside both balls: nothing is grabbed and nothing moves.
    panner->MouseDown(XPoint(150, 20), XView::kButtonLeft);
    EXPECT_EQ(panner->GetGrabbedBall(), -1);
    panner->MouseMoved(XPoint(160, 30), XView::kButtonLeft);
    panner->MouseUp(XPoint(160, 30), XView::kButtonNone);
    EXPECT_EQ(x1->GetValue(), 50);

    // On the first ball (centre 100, 50): the pointer's place sets x and y; out of the view the
    // point is held at the edge.
    panner->MouseDown(XPoint(101, 51), XView::kButtonLeft);
    EXPECT_EQ(panner->GetGrabbedBall(), 0);
    EXPECT_TRUE(x1->IsEditing());
    panner->MouseMoved(XPoint(150, 25), XView::kButtonLeft);
    EXPECT_EQ(x1->GetValue(), 75);
    EXPECT_EQ(y1->GetValue(), 75);
    panner->MouseMoved(XPoint(150, -40), XView::kButtonLeft);
    EXPECT_EQ(x1->GetValue(), 75) << "x did not move";
    EXPECT_EQ(y1->GetValue(), 100);
    panner->MouseMoved(XPoint(400, 400), XView::kButtonLeft);
    EXPECT_EQ(x1->GetValue(), 100);
    EXPECT_EQ(y1->GetValue(), 0);
    panner->MouseUp(XPoint(400, 400), XView::kButtonNone);
    EXPECT_EQ(panner->GetGrabbedBall(), -1);
    EXPECT_FALSE(x1->IsEditing());
    EXPECT_TRUE(IsMousePointerShown());

    // The reset key on a ball puts both its parameters back to their defaults.
    x2->SetValue(30, true);
    const XPoint onSecond = Centre(panner->GetBall(1)->next.rect);
    {
        HeldKey control("control");
        panner->MouseDown(onSecond, XView::kButtonLeft);
    }
    panner->MouseUp(onSecond, XView::kButtonNone);
    EXPECT_EQ(x2->GetValue(), x2->GetDefault());
    EXPECT_EQ(y2->GetValue(), y2->GetDefault());
}

TEST_F(XYPannerTest, ALoneBallJumpsToAClickBesideItAndFollowsTheDrag)
{
    XMessage block = Balls({{x1.get(), y1.get()}});
    XYPanner* panner = Build(block);
    panner->MouseDown(XPoint(50, 20), XView::kButtonLeft);
    EXPECT_EQ(x1->GetValue(), 25);
    EXPECT_NEAR(y1->GetValue(), 80, kValueTolerance);
    EXPECT_TRUE(NearPoint(Centre(panner->GetBall(0)->next.rect), XPoint(50, 20)));
    panner->MouseMoved(XPoint(60, 20), XView::kButtonLeft);
    EXPECT_EQ(x1->GetValue(), 30);
    panner->MouseUp(XPoint(60, 20), XView::kButtonNone);
}

TEST_F(XYPannerTest, APressMakesThePannerItsWindowsCurrentControlUntilTheRelease)
{
    /** A window that keeps whatever current control it is given. */
    class Window final : public XView
    {
    public:
        bool SetCurrentControl(XView* view) override
        {
            currentControl = view;
            return true;
        }
        XView* GetCurrentControl() override { return currentControl; }
    };
    // The window is the outermost view, so it stands alone.
    auto window = std::make_unique<Window>();
    window->SetFrameXYWH(0, 0, 300, 200);
    XMessage block = Balls({{x1.get(), y1.get()}, {x2.get(), y2.get()}});
    auto* panner = new XYPanner();
    panner->SetFrame(XRect(10, 10, 210, 110));
    panner->ReadAttributes(block);
    window->AddChild(panner);

    panner->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(window->GetCurrentControl(), panner);
    panner->MouseUp(XPoint(5, 5), XView::kButtonNone);
    EXPECT_EQ(window->GetCurrentControl(), nullptr);

    // A hover with the button held takes the slot; the hover without it gives it back.
    panner->MouseMoved(XPoint(6, 6), XView::kButtonLeft);
    EXPECT_EQ(window->GetCurrentControl(), panner);
    panner->MouseMoved(XPoint(7, 7), XView::kNoButton);
    EXPECT_EQ(window->GetCurrentControl(), nullptr);
}

TEST_F(XYPannerTest, ChangedBallsAndTheirCrosshairsAreDrawnAtTheirPlaces)
{
    x1->SetValue(25, false);
    y1->SetValue(50, false);
    x2->SetValue(75, false);
    y2->SetValue(25, false);
    XMessage block = Balls({{x1.get(), y1.get()}, {x2.get(), y2.get()}});
    block.AddInt32("ballheight", 12);
    block.AddString("style", "nolabels");
    block.AddColor("color1", XRGB(250, 0, 0));
    block.AddColor("color1", XRGB(0, 0, 250));
    XYPanner* panner = Build(block);
    panner->SetBackColor(XRGB(200, 200, 200));
    panner->SetForeColor(XRGB(0, 120, 0));
    EXPECT_TRUE(panner->GetBall(0)->HasChanged());

    const juce::Image picture = WidgetTest::Render(*panner);
    EXPECT_FALSE(panner->GetBall(0)->HasChanged()) << "drawing commits the new state";
    EXPECT_EQ(Pixel(picture, 50, 50), juce::Colour(250, 0, 0));
    EXPECT_EQ(Pixel(picture, 150, 75), juce::Colour(0, 0, 250));
    // The current (last) ball's crosshairs in the fore colour, across the whole view.
    EXPECT_EQ(Pixel(picture, 5, 75), juce::Colour(0, 120, 0));
    EXPECT_EQ(Pixel(picture, 150, 5), juce::Colour(0, 120, 0));
    EXPECT_EQ(Pixel(picture, 199, 75), juce::Colour(0, 120, 0));
    EXPECT_EQ(Pixel(picture, 150, 99), juce::Colour(0, 120, 0));

    x1->SetValue(50, true);
    EXPECT_TRUE(panner->GetBall(0)->HasChanged());
    const juce::Image moved = WidgetTest::Render(*panner);
    EXPECT_EQ(Pixel(moved, 100, 50), juce::Colour(250, 0, 0));
    EXPECT_EQ(Pixel(moved, 5, 50), juce::Colour(0, 120, 0)) << "the crosshairs follow the current ball";
}

TEST_F(XYPannerTest, BallsWiderThanNinePixelsCarryTheirNameInColourTwo)
{
    struct Case
    {
        int32_t size;
        const char* style;
        bool labelled;
    };
    for (const Case& c : {Case{30, "", true}, Case{30, "nolabels", false}, Case{9, "", false}})
    {
        x1->SetValue(50, false);
        y1->SetValue(50, false);
        XMessage block = Balls({{x1.get(), y1.get()}});
        block.AddInt32("ballheight", c.size);
        block.AddString("style", c.style);
        block.AddString("ballName", "WW");
        block.AddColor("color1", XRGB(250, 0, 0));
        block.AddColor("color2", XRGB(0, 250, 0));
        XYPanner* panner = Build(block);
        const juce::Image picture = WidgetTest::Render(*panner);
        const XRect rect = panner->GetBall(0)->next.rect;
        int labelPixels = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                labelPixels += Pixel(picture, x, y) == juce::Colour(0, 250, 0) ? 1 : 0;
        EXPECT_EQ(labelPixels > 0, c.labelled) << "size " << c.size << " style '" << c.style << "'";
        root.RemoveChild(panner);
        delete panner;
    }
}

TEST(XYPannerRegistrationTest, TheTypeWordsMakeBothPanners)
{
    XView::ResetClassFactory();
    XYPanner::RegisterViewTypes();
    std::unique_ptr<XView> plain(XView::CreateViewByName("XYPanner"));
    std::unique_ptr<XView> surround(XView::CreateViewByName("surroundpanner"));
    EXPECT_NE(dynamic_cast<XYPanner*>(plain.get()), nullptr);
    EXPECT_EQ(dynamic_cast<SurroundPanner*>(plain.get()), nullptr);
    EXPECT_NE(dynamic_cast<SurroundPanner*>(surround.get()), nullptr);
    XView::ResetClassFactory();
}

TEST_F(XYPannerTest, RandomDescriptionsAndClicksLeaveThePannerWhole)
{
    const char* const keys[] = {
        "xparam",    "yparam",     "ballimage", "ballName",       "color1",         "color2",        "style",
        "imagename", "ballheight", "modeparam", "busassignparam", "dimspeakericon", "litspeakericon"};
    const char* const texts[] = {"",
                                 "h43r\\x",
                                 "h43r\\y",
                                 "no\\such\\param",
                                 "nocrosshairs,nolabels",
                                 "%s%d%n",
                                 ",,,",
                                 "widgets/panner/ball.png",
                                 "red",
                                 "1,2,3"};
    const int32_t numbers[] = {0, -1, 1, 7, 65536, INT_MAX, INT_MIN};
    PathParam px("h43r\\x", 0, 100, 30);
    PathParam py("h43r\\y", -100, 0, -30);
    juce::Random random(4310);
    for (int round = 0; round < 200; ++round)
    {
        XMessage block;
        for (int item = random.nextInt(10); item > 0; --item)
        {
            const char* key = keys[random.nextInt(juce::numElementsInArray(keys))];
            if (random.nextBool())
                block.AddString(key, texts[random.nextInt(juce::numElementsInArray(texts))]);
            else
                block.AddInt32(key, numbers[random.nextInt(juce::numElementsInArray(numbers))]);
        }
        auto* panner = random.nextBool() ? new SurroundPanner() : new XYPanner();
        panner->SetFrame(XRect(0, 0, random.nextInt(300), random.nextInt(200)));
        panner->ReadAttributes(block);
        Add(panner, panner->GetFrame());
        for (int click = 0; click < 4; ++click)
        {
            const XPoint point(random.nextInt({-50, 350}), random.nextInt({-50, 250}));
            panner->MouseDown(point, XView::kButtonLeft);
            panner->MouseMoved(XPoint(point.x + random.nextInt({-60, 60}), point.y), XView::kButtonLeft);
            panner->MouseUp(point, XView::kButtonNone);
        }
        px.param->SetValue(random.nextInt(101), true);
        WidgetTest::Render(*panner);
        root.RemoveChild(panner);
        delete panner;
    }
    EXPECT_EQ(px.param->GetWatcherCount(), 0);
}

/** A panner in a window on the screen (under Xvfb in the test run), driven by mouse events that go
    through the window's peer as the display would send them, and drawn in the built skin. */
class XYPannerWindowTest : public WidgetTest::SkinWindowTest
{
protected:
    void SetUp() override
    {
        SkinWindowTest::SetUp();
        if (IsSkipped())
            return;
        x->SetValue(25, false);
        y->SetValue(50, false);
        other->SetValue(70, false);
        XMessage block;
        block.AddString("imagename", "widgets/panner/plane.png");
        block.AddPointer("xparam", x.get());
        block.AddPointer("yparam", y.get());
        block.AddPointer("xparam", other.get());
        block.AddPointer("yparam", other.get());
        block.AddString("ballimage", "widgets/panner/ball.png");
        block.AddString("ballName", "A");
        block.AddInt32("ballheight", 18);
        block.AddColor("color1", XRGB(240, 170, 60));
        block.AddColor("color1", XRGB(98, 194, 112));
        block.AddColor("color2", XRGB(20, 23, 28));
        block.AddColor("color2", XRGB(20, 23, 28));
        window.SetFrameXYWH(40, 40, 240, 190);
        window.SetBackColor(GetColorDictionary().GetColor("windowBack"));
        panner = new XYPanner();
        panner->SetFrame(XRect(20, 20, 60, 60));
        panner->ReadAttributes(block);
        panner->SetBackColor(GetColorDictionary().GetColor("pannerBack"));
        panner->SetForeColor(GetColorDictionary().GetColor("windowTextDim"));
        window.AddChild(panner);
        ASSERT_TRUE(WidgetTest::ShowOnScreen(window));
    }

    void Send(juce::Point<int> inPanner, juce::ModifierKeys mods) { mouse.Send(*panner, inPanner, mods); }

    std::unique_ptr<FloatParam> x = MakeParam(0, 100, "x");
    std::unique_ptr<FloatParam> y = MakeParam(0, 100, "y");
    std::unique_ptr<FloatParam> other = MakeParam(0, 100, "other");
    XYPanner* panner = nullptr;
    GuiTestSupport::PeerMouse mouse{window};
};

TEST_F(XYPannerWindowTest, DraggingABallWithTheMouseMovesItsParameterPair)
{
    ASSERT_EQ(panner->GetWidth(), 200) << "sized to its background image";
    ASSERT_EQ(panner->GetHeight(), 150);
    EXPECT_EQ(panner->GetBall(0)->size, 14) << "the ball image's size";
    const XPoint start = Centre(panner->GetBall(0)->next.rect);
    ASSERT_EQ(start, XPoint(50, 75));

    // The display's own pointer waits outside the window, so that only these events reach it.
    juce::Desktop::setMousePosition({1270, 1010});
    RunLoopFor(juce::MouseEvent::getDoubleClickTimeout() + 100);
    const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
    const juce::Point<int> from(start.x, start.y);
    const juce::Point<int> to(150, 30);
    Send(from, {});
    Send(from, left);
    EXPECT_EQ(panner->GetGrabbedBall(), 0);
    constexpr int kSteps = 5;
    for (int step = 1; step <= kSteps; ++step)
        Send(from + (to - from) * step / kSteps, left);
    Send(to, {});
    EXPECT_EQ(panner->GetGrabbedBall(), -1);
    EXPECT_EQ(x->GetValue(), 75);
    EXPECT_NEAR(y->GetValue(), 80, kValueTolerance);
    EXPECT_EQ(other->GetValue(), 70) << "the other ball stays";
    EXPECT_TRUE(NearPoint(Centre(panner->GetBall(0)->next.rect), XPoint(150, 30)));

    RunLoopFor(100);
    const juce::Image picture = GuiTestSupport::TakeScreenshot(*panner, "XYPannerInSkin");
    ASSERT_TRUE(picture.isValid());
}
} // namespace
