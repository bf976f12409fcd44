#include "widgets/XEQView.h"

#include "EQViewTestSupport.h"
#include "core/XMessage.h"
#include "gui/ControlTestSupport.h"
#include "gui/JUCECanvas.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using EQViewTest::Bands;
using EQViewTest::kBands;

namespace
{
constexpr const char* kLockPath = "QM7\\lockUIForEditCompare";

int BallCentreY(const XEQView& eq, int band)
{
    const XRect ball = eq.BallRect(band);
    return (ball.top + ball.bottom) / 2;
}

/** A shown view of the given size under a root view of the test application; the root owns it. */
class EQViewFixture : public ::testing::Test
{
protected:
    void SetUp() override { ViewTest::Application(); }

    XEQView& MakeView(int width, int height)
    {
        root = std::make_unique<XView>(XRect(0, 0, width + 20, height + 20));
        view = new XEQView(XRect(0, 0, width, height));
        root->AddChild(view);
        return *view;
    }

    /** A drag from a band's ball to a point, released there. */
    void Drag(int band, const XPoint& to)
    {
        const XRect ball = view->BallRect(band);
        const XPoint from((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);
        ASSERT_TRUE(view->MouseDown(from, XView::kButtonLeft));
        ASSERT_EQ(view->GetFocusBand(), band);
        view->MouseMoved(to, XView::kButtonLeft);
        view->MouseUp(to, XView::kButtonNone);
    }

    std::unique_ptr<XView> root;
    XEQView* view = nullptr;
};

TEST_F(EQViewFixture, BandCountIsLimitedTo90AndTheDisplayRangeTo1Through48)
{
    XEQView& eq = MakeView(300, 100);
    EXPECT_EQ(eq.SetNumBands(120), 90);
    EXPECT_EQ(eq.GetNumBands(), 90);
    EXPECT_EQ(eq.SetNumBands(-3), 0);

    // Unlike the stored 120 that arrays of 90 cannot hold, a description's count is limited too.
    XMessage block;
    block.AddInt32("numbands", 120);
    eq.ReadAttributes(block);
    EXPECT_EQ(eq.GetNumBands(), 90);

    struct Case
    {
        double range;
        double stored;
    };
    const Case cases[] = {{0.5, 20}, {48, 48}, {1, 1}, {10, 10}, {48.5, 20}, {-12, 20}, {NAN, 20}};
    for (const Case& c : cases)
    {
        eq.SetDisplayRange(c.range);
        EXPECT_EQ(eq.GetDisplayRange(), c.stored) << c.range;
    }
}

TEST_F(EQViewFixture, BallsSitOnTheLogarithmicAxisAndAThumbnailIsHitByStrips)
{
    XEQView& eq = MakeView(604, 104);
    Bands bands;
    bands.BindTo(eq);
    // x = 2 + log2(f / 20) * W / log2(1000) with W the inner width, 600.
    EXPECT_DOUBLE_EQ(eq.FrequencyToX(20), 2.0);
    EXPECT_DOUBLE_EQ(eq.FrequencyToX(20000), 602.0);
    EXPECT_NEAR(eq.FrequencyToX(632.456), 302.0, 0.01);

    bands[1].Set(2, 0, 20000, 1);
    bands[2].Set(2, 0, 20, 1);
    const XRect top = eq.BallRect(1);
    EXPECT_EQ((top.left + top.right) / 2, 603); // inner left + the whole 600-pixel span + 1
    EXPECT_EQ((eq.BallRect(2).left + eq.BallRect(2).right) / 2, 3);
    EXPECT_EQ(BallCentreY(eq, 1), 52); // 0 dB on the centre line
    EXPECT_EQ(top.Width(), 14);        // BallRadius 7

    // Hit zones grow by 5 pixels.
    const XRect ball = eq.BallRect(0);
    EXPECT_EQ(eq.HitTestBand(XPoint(ball.right + 4, ball.top)), 0);
    EXPECT_EQ(eq.HitTestBand(XPoint(ball.right + 5, ball.top)), -1);
    EXPECT_TRUE(eq.IsLargeView());

    // 180 pixels and less: a thumbnail, hit by even vertical strips, drawn without balls.
    XEQView& thumb = MakeView(180, 40);
    Bands more;
    more.BindTo(thumb);
    EXPECT_FALSE(thumb.IsLargeView());
    EXPECT_EQ(thumb.HitTestBand(XPoint(170, 20)), 3);
    EXPECT_EQ(thumb.HitTestBand(XPoint(10, 20)), 0);
    EXPECT_EQ(thumb.HitTestBand(XPoint(100, 20)), 2);
    EXPECT_EQ(thumb.HitTestBand(XPoint(100, 40)), -1);
}

TEST_F(EQViewFixture, OnlyDirtyBandsAreRecomputedAndADraggedBandIsAddedToTheCachedSum)
{
    XEQView& eq = MakeView(404, 204);
    Bands bands;
    bands.BindTo(eq);
    bands[0].Set(2, 6, 100, 1);
    bands[1].Set(2, -6, 1000, 2);
    bands[2].Set(0, 3, 200, 0.7);
    bands[3].Set(1, -3, 5000, 0.7);
    const int64_t shown = eq.GetComputedRowCount();
    EXPECT_TRUE(eq.UpdateCurves());
    EXPECT_EQ(eq.GetComputedRowCount(), shown + kBands);
    EXPECT_FALSE(eq.UpdateCurves()); // nothing dirty

    // One band changes: only its row is computed, and it becomes the edited band.
    bands[2].gain->SetValue(9, true);
    EXPECT_TRUE(eq.UpdateCurves());
    EXPECT_EQ(eq.GetComputedRowCount(), shown + kBands + 1);
    EXPECT_EQ(eq.GetCurves().GetEditedBand(), 2);

    // The summed row is the sum of the rows of the bands that are on.
    bands[3].on->SetValue(0, true);
    eq.UpdateCurves();
    const XEQBandCurves& curves = eq.GetCurves();
    for (int column : {0, 50, 200, 399})
    {
        int expected = 0;
        for (int band = 0; band < 3; ++band)
            expected += curves.GetBandRow(band)[static_cast<size_t>(column)];
        EXPECT_EQ(curves.GetSummedRow()[static_cast<size_t>(column)], expected) << column;
    }
    EXPECT_LT(curves.GetSummedRow()[0], 0); // the +6 dB band at 100 Hz lifts 20 Hz above the centre

    // A peaking band at 0 dB is flat at any range and is not recomputed for a new range.
    bands[0].gain->SetValue(0, true);
    eq.UpdateCurves();
    const int64_t before = eq.GetComputedRowCount();
    eq.SetDisplayRange(10);
    EXPECT_EQ(eq.GetComputedRowCount(), before + 3);
}

TEST_F(EQViewFixture, BandOnModeOneTreatsOneAsOffAndAClickSwitchesTheBandOn)
{
    XEQView& eq = MakeView(404, 204);
    Bands bands;
    bands.BindTo(eq);
    eq.SetBandOnMode(1);
    bands[1].on->SetValue(1, true);
    bands[2].on->SetValue(0, true);
    EXPECT_FALSE(eq.IsBandOn(1));
    EXPECT_TRUE(eq.IsBandOn(2));

    eq.SetClickEnablesBands(true);
    const XRect ball = eq.BallRect(1);
    eq.MouseDown(XPoint(ball.left + 7, ball.top + 7), XView::kButtonLeft);
    eq.MouseUp(XPoint(ball.left + 7, ball.top + 7), XView::kButtonNone);
    EXPECT_EQ(bands[1].on->GetValue(), 0.0);
    EXPECT_TRUE(eq.IsBandOn(1));
}

TEST_F(EQViewFixture, ADragChangesParametersOnlyWhenTheEditLockAndTheFlagsAllowIt)
{
    XEQView& eq = MakeView(504, 164);
    Bands bands;
    bands.BindTo(eq);
    const XPoint target(100, 40);
    const double startHz = bands[0].frequency->GetValue();

    // No lock parameter: nothing changes.
    Drag(0, target);
    EXPECT_EQ(bands[0].gain->GetValue(), 0.0);

    ControlTest::PathParam lock(kLockPath, 0, 1, 0);
    Drag(0, target);
    EXPECT_EQ(bands[0].gain->GetValue(), 0.0);

    lock.param->SetValue(1, false);
    bands[0].gain->SetFlags(0x200);
    bands[0].frequency->SetFlags(0x80);
    Drag(0, target);
    EXPECT_EQ(bands[0].gain->GetValue(), 0.0);
    EXPECT_EQ(bands[0].frequency->GetValue(), startHz);

    bands[0].gain->SetFlags(0);
    bands[0].frequency->SetFlags(0);
    Drag(0, target);
    EXPECT_GT(bands[0].gain->GetValue(), 0.0);
    EXPECT_GT(bands[0].frequency->GetValue(), startHz);
    EXPECT_FALSE(eq.IsDragging());
    EXPECT_EQ(eq.GetFocusBand(), -1);
}

TEST_F(EQViewFixture, ADraggedDecibelGainSitsUnderThePointerAndNeverPassesTheAxisEnds)
{
    // Inner height 160: at a 20 dB range one pixel is 0.25 dB, so even pixels fall on 0.5 dB steps.
    XEQView& eq = MakeView(504, 164);
    Bands bands;
    bands.BindTo(eq);
    ControlTest::PathParam lock(kLockPath, 0, 1, 1);
    const XRect inner = eq.GetInnerRect();

    // +15 dB lies 20 pixels below the inner top, -15 dB 20 pixels above the inner bottom.
    for (int y = inner.top + 20; y <= inner.bottom - 20; y += 2)
    {
        const XRect ball = eq.BallRect(0);
        Drag(0, XPoint((ball.left + ball.right) / 2, y));
        EXPECT_EQ(BallCentreY(eq, 0), y) << "gain " << bands[0].gain->GetValue();
    }
    Drag(0, XPoint(200, inner.top - 30));
    EXPECT_EQ(bands[0].gain->GetValue(), 15.0);
    EXPECT_EQ(bands[0].gain->GetNormalised(), 1.0);
    Drag(0, XPoint(200, inner.bottom + 30));
    EXPECT_EQ(bands[0].gain->GetValue(), -15.0);
}

TEST_F(EQViewFixture, CtrlDragStepsTheQByItsStepsPerAxisPixel)
{
    // Inner width 500: the 20 kHz end of the axis lies 500 pixels right of the inner left.
    XEQView& eq = MakeView(504, 164);
    Bands bands;
    bands.BindTo(eq);
    ControlTest::PathParam lock(kLockPath, 0, 1, 1);
    ControlTest::HeldKey control("control");
    const int32_t startIndex = bands[0].q->GetStepIndex();
    const double startHz = bands[0].frequency->GetValue();
    const XRect ball = eq.BallRect(0);
    const XPoint centre((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);
    Drag(0, XPoint(centre.x + 10, centre.y + 30));
    // trunc(100 steps / 500 pixels * 10 pixels) = 2; gain and frequency stay.
    EXPECT_EQ(bands[0].q->GetStepIndex(), startIndex + 2);
    EXPECT_EQ(bands[0].gain->GetValue(), 0.0);
    EXPECT_EQ(bands[0].frequency->GetValue(), startHz);
}

TEST_F(EQViewFixture, ABandWithoutFrequencyParameterDragsItsGainAlone)
{
    XEQView& eq = MakeView(504, 164);
    Bands bands;
    bands.BindTo(eq);
    eq.BindBandParam(XEQView::kBandFrequency, nullptr, 0);
    ControlTest::PathParam lock(kLockPath, 0, 1, 1);
    Drag(0, XPoint(300, 40));
    EXPECT_GT(bands[0].gain->GetValue(), 0.0);
    eq.UpdateCurves();
    EXPECT_EQ(eq.GetCurves().GetBandRow(0)[10], 0); // unbound frequency: a flat row
}

TEST_F(EQViewFixture, AParameterThatGoesIsForgotten)
{
    XEQView& eq = MakeView(404, 204);
    Bands bands;
    bands.BindTo(eq);
    bands[1].gain.reset();
    bands[1].on.reset();
    EXPECT_EQ(eq.GetBandParam(XEQView::kBandGain, 1), nullptr);
    EXPECT_EQ(eq.GetBandParam(XEQView::kBandOn, 1), nullptr);
    eq.UpdateCurves();
    EXPECT_FALSE(eq.IsBandOn(1));
    juce::Image image(juce::Image::ARGB, eq.getWidth(), eq.getHeight(), true);
    juce::Graphics g(image);
    JUCECanvas canvas(g, eq.getWidth(), eq.getHeight());
    eq.Draw(canvas);
}

TEST_F(EQViewFixture, TheEnableParameterSwitchesTheCurveToItsShadowAndAThumbnailControlsIt)
{
    XEQView& eq = MakeView(170, 60);
    Bands bands;
    bands.BindTo(eq);
    auto enable = EQViewTest::MakeParam("enable", XParamDesc::kTypeOnOff, 0, 1, 1, 2);
    eq.BindEnableParam(enable.get());
    EXPECT_TRUE(eq.IsEQEnabled());
    EXPECT_EQ(eq.GetPot(), enable.get());
    eq.SetEnablePolarity(0);
    EXPECT_FALSE(eq.IsEQEnabled());
    eq.SetEnablePolarity(1);

    eq.SetClickEnables(true);
    eq.MouseDown(XPoint(20, 20), XView::kButtonLeft);
    eq.MouseUp(XPoint(20, 20), XView::kButtonNone);
    EXPECT_EQ(enable->GetValue(), 0.0); // an on/off parameter steps round
    EXPECT_FALSE(eq.IsEQEnabled());
    EXPECT_FALSE(eq.IsDragging());
}

TEST_F(EQViewFixture, AnalyzersAreDrawnBehindTheCurveInTheirColour)
{
    XEQView& eq = MakeView(404, 104);
    Bands bands;
    bands.BindTo(eq);
    auto analyzer = std::make_unique<XAnalyzer>();
    analyzer->SetSpectrum(std::vector<float>(64, -30.0f), -60.0f, 0.0f);
    const XRGB green(0, 255, 0);
    eq.AddAnalyzer(std::move(analyzer), &green);
    EXPECT_EQ(eq.CountAnalyzers(), 1);
    struct Case
    {
        int mode;
        int bottomY; // a row that the analyzer covers
        int topY;    // a row above it
    };
    const Case cases[] = {{XEQView::kAnalyzerBars, 100, 20}, {XEQView::kAnalyzerCentred, 60, 10}};
    eq.SetAnalyzerBarCount(10);
    for (const Case& c : cases)
    {
        eq.SetAnalyzerDrawMode(c.mode);
        juce::Image image(juce::Image::ARGB, eq.getWidth(), eq.getHeight(), true);
        juce::Graphics g(image);
        JUCECanvas canvas(g, eq.getWidth(), eq.getHeight());
        eq.Draw(canvas);
        EXPECT_EQ(image.getPixelAt(5, c.bottomY), juce::Colours::lime) << c.mode;
        EXPECT_NE(image.getPixelAt(5, c.topY), juce::Colours::lime) << c.mode;
    }
}

TEST_F(EQViewFixture, ABandChangedOnAnotherThreadIsRecomputedOnTheGuiThread)
{
    XEQView& eq = MakeView(404, 104);
    Bands bands;
    bands.BindTo(eq);
    eq.UpdateCurves();
    std::thread worker(
        [&]
        {
            for (int step = 0; step < 20; ++step)
                bands[1].gain->SetValue(step % 2 == 0 ? 6.0 : -6.0, true);
            bands[1].gain->SetValue(12.0, true);
        });
    worker.join();
    EXPECT_TRUE(ViewTest::PumpUntil(
        [&]
        {
            eq.RefreshIfChanged();
            return eq.GetCurves().GetBandRow(1)[static_cast<size_t>(eq.FrequencyToX(120) - 2)] < -20;
        },
        5000));
}

/** Puts the view in a window of its own and presses, moves and releases the mouse through the window's
    peer, as the desktop would. */
TEST(EQViewDesktopTest, ARealMouseDragMovesABand)
{
    ViewTest::Application();
    ControlTest::PathParam lock(kLockPath, 0, 1, 1);
    XView window(XRect(0, 0, 504, 204));
    auto* eq = new XEQView(XRect(0, 0, 504, 204));
    window.AddChild(eq);
    Bands bands;
    bands.BindTo(*eq);
    bands[1].Set(2, 0, 1000, 1);
    window.setTopLeftPosition(40, 40);
    window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    window.setVisible(true);
    ASSERT_NE(window.getPeer(), nullptr);

    const XRect ball = eq->BallRect(1);
    const juce::Point<int> from((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);
    const juce::Point<int> to(from.x + 80, from.y - 40);
    const auto left = juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier);
    const auto none = juce::ModifierKeys();
    // The display's own pointer stays out of the window, so that only these events reach it, and a press
    // soon after another test's press would count as a double click.
    juce::Desktop::setMousePosition({1270, 1010});
    GuiTestSupport::RunLoopFor(juce::MouseEvent::getDoubleClickTimeout() + 100);
    GuiTestSupport::PeerMouse mouse(window);
    mouse.Send(from, none);
    mouse.Send(from, left);
    EXPECT_TRUE(eq->IsDragging());
    eq->UpdateCurves();
    const int64_t rowsBefore = eq->GetComputedRowCount();
    constexpr int kSteps = 4;
    for (int step = 1; step <= kSteps; ++step)
        mouse.Send(from + (to - from) * step / kSteps, left);
    // Each move recomputed the dragged band's row alone and added it to the cached sum of the others.
    EXPECT_EQ(eq->GetComputedRowCount() - rowsBefore, 4);
    EXPECT_EQ(eq->GetCurves().GetEditedBand(), 1);
    mouse.Send(to, none);
    EXPECT_FALSE(eq->IsDragging());

    // Inner 500 by 200 pixels: 80 pixels are 0.48 decades, 40 pixels 8 dB at the 20 dB range.
    EXPECT_NEAR(bands[1].frequency->GetValue(), 1000.0 * std::pow(10.0, 0.48), 60.0);
    EXPECT_EQ(bands[1].gain->GetValue(), 8.0);
    EXPECT_EQ(BallCentreY(*eq, 1), to.y);
    window.removeFromDesktop();
}
} // namespace

namespace
{
/** An EQ view that counts its repaints. */
class CountingEQView final : public XEQView
{
public:
    using XEQView::XEQView;
    void RepaintRect(const XRect& rect) override
    {
        ++repaints;
        XEQView::RepaintRect(rect);
    }
    int repaints = 0;
};
} // namespace

TEST_F(EQViewFixture, LookSettersStoreTheirValueAndRepaintOnlyOnAChange)
{
    root = std::make_unique<XView>(XRect(0, 0, 420, 220));
    auto* eq = new CountingEQView(XRect(0, 0, 400, 200));
    root->AddChild(eq);
    const XRGB colour{10, 20, 30, 255};
    struct Case
    {
        const char* what;
        std::function<void()> set;
        std::function<bool()> stored;
    };
    const Case cases[] = {
        {"ball colour", [&] { eq->SetBallColor(colour); }, [&] { return eq->GetBallColor() == colour; }},
        {"focus ball colour", [&] { eq->SetFocusBallColor(colour); },
         [&] { return eq->GetFocusBallColor() == colour; }},
        {"ball radius", [&] { eq->SetBallRadius(3); }, [&] { return eq->GetBallRadius() == 3u; }},
        {"curve colour", [&] { eq->SetCurveColor(colour); }, [&] { return eq->GetCurveColor() == colour; }},
        {"dragged curve colour", [&] { eq->SetDraggedCurveColor(colour); },
         [&] { return eq->GetDraggedCurveColor() == colour; }},
        {"centre line colour", [&] { eq->SetCenterLineColor(colour); },
         [&] { return eq->GetCenterLineColor() == colour; }},
        {"line width", [&] { eq->SetLineWidth(3); }, [&] { return eq->GetLineWidth() == 3u; }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        eq->repaints = 0;
        c.set();
        EXPECT_TRUE(c.stored());
        EXPECT_EQ(eq->repaints, 1);
        c.set(); // the same value again
        EXPECT_EQ(eq->repaints, 1);
    }
}
