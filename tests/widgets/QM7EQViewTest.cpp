#include "widgets/QM7EQView.h"

#include "gui/ControlTestSupport.h"
#include "widgets/EQViewTestSupport.h"
#include "widgets/XEQViewBg.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using EQViewTest::Bands;

class QM7EQViewTest : public ::testing::Test
{
protected:
    void SetUp() override { ViewTest::Application(); }
};

TEST_F(QM7EQViewTest, AClickReportsTheBandItHitAndABlankClickClearsOnlyWhatCanBeCleared)
{
    struct Case
    {
        const char* what;
        double min;       // the selected-band parameter's minimum
        double afterMiss; // its value after a click beside every ball
        int selectedAfterMiss;
    };
    const Case cases[] = {
        {"a parameter that holds -1 is cleared", -1, -1.0, -1},
        {"a parameter of bands only keeps its band (-1 would clamp to band 0)", 0, 2.0, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        XView root(XRect(0, 0, 520, 220));
        auto* eq = new QM7EQView(XRect(0, 0, 504, 204));
        root.AddChild(eq);
        Bands bands;
        bands.BindTo(*eq);
        auto selected = EQViewTest::MakeParam("selected", XParamDesc::kTypeInteger, c.min, 89, 0,
                                              static_cast<uint32_t>(90 - c.min));
        eq->SetSelectedBandParam(selected.get());
        EXPECT_EQ(eq->GetSelectedBand(), -1);

        const XRect ball = eq->BallRect(2);
        const XPoint onBall((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);
        eq->MouseDown(onBall, XView::kButtonLeft);
        eq->MouseUp(onBall, XView::kButtonNone);
        EXPECT_EQ(selected->GetValue(), 2.0);
        EXPECT_EQ(eq->GetSelectedBand(), 2);

        eq->MouseDown(XPoint(500, 10), XView::kButtonLeft);
        eq->MouseUp(XPoint(500, 10), XView::kButtonNone);
        EXPECT_EQ(selected->GetValue(), c.afterMiss);
        EXPECT_EQ(eq->GetSelectedBand(), c.selectedAfterMiss);
    }
}

TEST_F(QM7EQViewTest, TheHighlightedSelectedBandIsHitFirstWhereBallsOverlap)
{
    XView root(XRect(0, 0, 520, 220));
    auto* eq = new QM7EQView(XRect(0, 0, 504, 204));
    root.AddChild(eq);
    Bands bands;
    bands.BindTo(*eq);
    const XRect ball = eq->BallRect(2);
    const XPoint onBall((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);

    bands[1].Set(2, 0, bands[2].frequency->GetValue(), 1);
    eq->SetHighlightSelectedBand(true);
    eq->SetSelectedBand(1);
    EXPECT_EQ(eq->HitTestBand(onBall), 1);
    eq->SetSelectedBand(-1);
    EXPECT_EQ(eq->HitTestBand(onBall), 3 - 1); // the last band on that spot
}

/** An EQ with a crossover over its grid, for a person to judge the curves. */
TEST_F(QM7EQViewTest, ScreenshotOfAFourBandEQWithCrossover)
{
    const XRect graph(10, 10, 610, 210);
    XView root(XRect(0, 0, 620, 250));
    root.SetBackColor(XRGB(28, 30, 36));
    auto* background = new XEQViewBg(graph);
    root.AddChild(background);
    auto* eq = new QM7EQView(graph);
    eq->SetTransparent(true);
    eq->SetCenterLine(false);
    eq->SetTextColor(XRGB(255, 255, 255));
    root.AddChild(eq);
    Bands bands(6);
    bands.BindTo(*eq);
    bands[0].Set(28, 0, 60, 0.7);    // Linkwitz-Riley high pass 24 dB/oct
    bands[1].Set(2, 6, 250, 1.4);    // peaking
    bands[2].Set(0, -4, 120, 0.7);   // low shelf
    bands[3].Set(2, -6, 2000, 4);    // narrow cut
    bands[4].Set(1, 3, 8000, 0.7);   // high shelf
    bands[5].Set(27, 0, 15000, 0.7); // Linkwitz-Riley low pass 24 dB/oct
    eq->UpdateCurves();
    root.setVisible(true);

    const juce::Image shot = GuiTestSupport::TakeScreenshot(root, "eq-view-crossover");
    const XEQBandCurves::Row& summed = eq->GetCurves().GetSummedRow();
    // The curve: the high pass pulls 20 Hz far down, the 250 Hz boost lies above the centre line.
    EXPECT_GT(summed[0], 40);
    const int boostColumn = static_cast<int>(eq->FrequencyToX(250)) - 2;
    EXPECT_LT(summed[static_cast<size_t>(boostColumn)], 0);
    // Curve, balls and grid are all on the picture.
    int curvePixels = 0;
    int ballPixels = 0;
    for (int y = 0; y < shot.getHeight(); ++y)
        for (int x = 0; x < shot.getWidth(); ++x)
        {
            const juce::Colour c = shot.getPixelAt(x, y);
            curvePixels += c.getBlue() > 200 && c.getRed() < 60 ? 1 : 0;
            ballPixels += c.getRed() > 200 && c.getGreen() < 60 ? 1 : 0;
        }
    EXPECT_GT(curvePixels, 500);
    EXPECT_GT(ballPixels, 6 * 50);
    const juce::Colour decade = shot.getPixelAt(graph.left + background->FrequencyToX(1000), graph.top + 20);
    EXPECT_EQ(decade.getRed(), 140);
}
} // namespace
