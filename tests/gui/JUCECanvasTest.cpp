#include "gui/JUCECanvas.h"

#include "StyleTestViews.h"
#include "core/XString.h"
#include "gui/SkinTestFiles.h"
#include "gui/XFont.h"
#include "gui/XImage.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>

namespace
{
const XRGB kWhite(255, 255, 255);
const XRGB kBlue(0, 0, 255);
const XRGB kRed(255, 0, 0);
const XRGB kGreen(0, 255, 0);
constexpr uint32_t kWhiteArgb = 0xFFFFFFFFu;

/** The ink of an area: its bounding box, or an empty one when nothing but white is there. */
juce::Rectangle<int> InkBounds(const juce::Image& image, const juce::Rectangle<int>& area)
{
    return StyleTestViews::InkBoundsWhere(image, area,
                                          [](juce::Colour pixel) { return pixel.getARGB() != kWhiteArgb; });
}

/** A 4 x 1 picture of four columns: red, green, blue, black. */
const juce::Colour kColumnColours[] = {juce::Colour(0xFFFF0000), juce::Colour(0xFF00FF00),
                                       juce::Colour(0xFF0000FF), juce::Colour(0xFF000000)};
juce::Image FourColumns()
{
    juce::Image columns(juce::Image::ARGB, 4, 1, true, juce::SoftwareImageType());
    for (int x = 0; x < 4; ++x)
        columns.setPixelAt(x, 0, kColumnColours[x]);
    return columns;
}

/** An off-screen canvas on a white surface, drawing in blue. */
class CanvasTest : public ::testing::Test
{
protected:
    JUCECanvas canvas{80, 60};

    void SetUp() override
    {
        canvas.FillRectColour(XRect(0, 0, 80, 60), kWhite);
        canvas.SetForeColor(kBlue);
    }

    uint32_t At(int x, int y) const { return canvas.GetImage().getPixelAt(x, y).getARGB(); }
    bool IsWhite(int x, int y) const { return At(x, y) == kWhiteArgb; }
    /** Mostly fore colour (anti-aliased edges count when more than half covered). */
    bool IsInked(int x, int y) const { return canvas.GetImage().getPixelAt(x, y).getRed() < 128; }
    bool IsUntouched() const { return InkBounds(canvas.GetImage(), canvas.GetImage().getBounds()).isEmpty(); }
    juce::Rectangle<int> Ink() const { return InkBounds(canvas.GetImage(), canvas.GetImage().getBounds()); }
};

/** A juce canvas that draws triangles with the framework's nested outlines instead of a path. */
class OutlineTriangleCanvas final : public JUCECanvas
{
public:
    using JUCECanvas::JUCECanvas;
    void DrawTriangle(int32_t x, int32_t y, int32_t size, int32_t direction) override
    {
        XCanvas::DrawTriangle(x, y, size, direction);
    }
};

XFont* TestFont()
{
    return XFont::GetFont("arial", 20, false, false, false);
}
} // namespace

TEST_F(CanvasTest, RectanglesFollowTheDrawingOffsetAndAbsoluteSizes)
{
    canvas.SetDrawingOffset(10, 10);
    canvas.FillRect(XRect(2, 2, 6, 5));
    EXPECT_TRUE(IsInked(12, 12));
    EXPECT_TRUE(IsInked(15, 14));
    EXPECT_TRUE(IsWhite(16, 12));
    EXPECT_TRUE(IsWhite(12, 15));
    EXPECT_TRUE(IsWhite(2, 2)) << "the offset moves the rectangle";
    EXPECT_EQ(Ink(), juce::Rectangle<int>(12, 12, 4, 3));

    // An inverted rectangle takes its width and height as absolute differences from left and top.
    canvas.SetDrawingOffset(0, 0);
    canvas.SetBackColor(kRed);
    canvas.EraseRect(XRect(40, 40, 36, 37));
    EXPECT_EQ(At(40, 40), 0xFFFF0000u);
    EXPECT_EQ(At(43, 42), 0xFFFF0000u);
    EXPECT_TRUE(IsWhite(39, 40));

    canvas.FrameRect(XRect(50, 5, 60, 13));
    EXPECT_TRUE(IsInked(50, 5));
    EXPECT_TRUE(IsInked(59, 12));
    EXPECT_TRUE(IsWhite(55, 9)) << "an outline leaves the inside";
    EXPECT_TRUE(IsWhite(60, 5));
    EXPECT_TRUE(IsWhite(50, 13));
}

TEST_F(CanvasTest, RoundRectanglesCirclesAndPies)
{
    canvas.FillRoundRect(XRect(2, 2, 22, 12));
    EXPECT_TRUE(IsInked(12, 7));
    EXPECT_TRUE(IsInked(2, 7));
    EXPECT_TRUE(IsWhite(23, 7));

    canvas.FrameRoundRect(XRect(30, 2, 50, 12));
    EXPECT_TRUE(IsWhite(40, 7));
    EXPECT_TRUE(IsInked(40, 2));
    EXPECT_TRUE(IsInked(30, 7));
    EXPECT_TRUE(IsWhite(40, 12));

    canvas.FillCircle(20, 40, 10);
    EXPECT_TRUE(IsInked(20, 40));
    EXPECT_TRUE(IsInked(12, 40));
    EXPECT_TRUE(IsWhite(11, 31)) << "the corner of the circle's box";
    EXPECT_TRUE(IsWhite(32, 40));

    canvas.FrameCircle(55, 40, 10);
    EXPECT_TRUE(IsWhite(55, 40));
    EXPECT_FALSE(IsWhite(55, 30));
    EXPECT_FALSE(IsWhite(65, 40));
}

TEST_F(CanvasTest, PiesAndPathsUseTheForeColourAndOffset)
{
    // Angles run clockwise from twelve o'clock: 0 to a quarter turn is the upper right quarter.
    canvas.FillPieInRect(XRect(0, 0, 40, 40), 0.0f, juce::MathConstants<float>::halfPi);
    EXPECT_TRUE(IsInked(28, 12));
    EXPECT_TRUE(IsWhite(12, 28));
    EXPECT_TRUE(IsWhite(12, 12));

    canvas.FrameArcInRect(XRect(40, 0, 80, 40), 0.0f, juce::MathConstants<float>::twoPi);
    EXPECT_TRUE(InkBounds(canvas.GetImage(), {40, 0, 40, 40}).isEmpty()) << "arcs draw nothing";

    juce::Path square;
    square.addRectangle(0.0f, 0.0f, 4.0f, 4.0f);
    canvas.SetDrawingOffset(50, 50);
    canvas.FillPath(square, nullptr);
    EXPECT_TRUE(IsInked(51, 51));
    const juce::FillType red(juce::Colours::red);
    canvas.SetDrawingOffset(60, 50);
    canvas.FillPath(square, &red);
    EXPECT_EQ(At(61, 51), 0xFFFF0000u);
}

TEST_F(CanvasTest, LinesCoverBothEndsAndFollowThePen)
{
    canvas.DrawLine(5, 5, 15, 5, 1, 1);
    EXPECT_EQ(InkBounds(canvas.GetImage(), {0, 0, 80, 10}), juce::Rectangle<int>(5, 5, 11, 1));

    canvas.MoveTo(20, 10);
    canvas.LineTo(20, 20);
    EXPECT_EQ(canvas.GetPenX(), 20);
    EXPECT_EQ(canvas.GetPenY(), 20);
    EXPECT_EQ(InkBounds(canvas.GetImage(), {18, 8, 5, 15}), juce::Rectangle<int>(20, 10, 1, 11));

    canvas.DrawLine(30, 30, 40, 40, 1, 1);
    EXPECT_TRUE(IsInked(30, 30));
    EXPECT_TRUE(IsInked(35, 35));
    EXPECT_TRUE(IsInked(40, 40));
    EXPECT_TRUE(IsWhite(40, 30));

    canvas.SetPenWidth(3);
    canvas.DrawLine(50, 50, 70, 50, 1, 1);
    EXPECT_TRUE(IsInked(60, 49));
    EXPECT_TRUE(IsInked(60, 51));
    EXPECT_TRUE(IsWhite(60, 53));
}

TEST_F(CanvasTest, TrianglesCoverTheSameAreaOnBothCanvases)
{
    OutlineTriangleCanvas outlines(80, 60);
    outlines.FillRectColour(XRect(0, 0, 80, 60), kWhite);
    outlines.SetForeColor(kBlue);

    struct Probe
    {
        int x;
        int y;
        bool inked;
    };
    // Size 10 pointing up around 20, 20: the triangle (15, 25), (20, 15), (25, 25).
    const Probe probes[] = {{20, 22, true},  {18, 23, true},  {22, 23, true},  {20, 18, true},
                            {20, 12, false}, {13, 24, false}, {27, 24, false}, {20, 27, false},
                            {16, 16, false}, {24, 16, false}};
    for (JUCECanvas* target : {&canvas, static_cast<JUCECanvas*>(&outlines)})
    {
        target->DrawTriangle(20, 20, 10, 0);
        for (const Probe& p : probes)
        {
            const juce::Colour pixel = target->GetImage().getPixelAt(p.x, p.y);
            if (p.inked)
                EXPECT_LT(pixel.getRed(), 128)
                    << p.x << "," << p.y << (target == &canvas ? " path" : " outlines");
            else
                EXPECT_EQ(pixel.getARGB(), kWhiteArgb)
                    << p.x << "," << p.y << (target == &canvas ? " path" : " outlines");
        }
        // Too small, or no known direction: nothing.
        const auto before = InkBounds(target->GetImage(), target->GetImage().getBounds());
        target->DrawTriangle(50, 40, 1, 0);
        target->DrawTriangle(50, 40, -1, 1);
        target->DrawTriangle(50, 40, 10, 4);
        target->DrawTriangle(50, 40, 10, -1);
        EXPECT_EQ(InkBounds(target->GetImage(), target->GetImage().getBounds()), before);
    }

    // The other directions point where they say: the tip lies in that direction from the centre.
    struct Direction
    {
        int direction;
        int tipX;
        int tipY;
        int baseX;
        int baseY;
    };
    for (const Direction& d :
         {Direction{1, 60, 47, 60, 33}, Direction{2, 67, 40, 53, 40}, Direction{3, 53, 40, 67, 40}})
    {
        JUCECanvas fresh(80, 60);
        fresh.FillRectColour(XRect(0, 0, 80, 60), kWhite);
        fresh.SetForeColor(kBlue);
        fresh.DrawTriangle(60, 40, 20, d.direction);
        EXPECT_LT(fresh.GetImage().getPixelAt(d.tipX, d.tipY).getRed(), 128) << d.direction;
        EXPECT_LT(fresh.GetImage().getPixelAt(d.baseX, d.baseY).getRed(), 128) << d.direction;
        // Beside the tip, at the base's distance from the axis, stays empty.
        const bool horizontal = d.direction >= 2;
        const int sideX = horizontal ? d.tipX : d.tipX + 8;
        const int sideY = horizontal ? d.tipY + 8 : d.tipY;
        EXPECT_EQ(fresh.GetImage().getPixelAt(sideX, sideY).getARGB(), kWhiteArgb) << d.direction;
    }
}

TEST_F(CanvasTest, BevelOfEdgeWidthOneDrawsTheInsideThenTheTopRowAndLeftColumn)
{
    canvas.SetForeColor(XRGB(100, 100, 100));
    canvas.DrawBevel(XRect(10, 10, 20, 18), kRed, kGreen, 1);
    const uint32_t green = 0xFF00FF00u;
    const uint32_t grey = 0xFF646464u;
    for (int x = 10; x <= 20; ++x)
        EXPECT_EQ(At(x, 10), green) << x;
    for (int y = 10; y <= 18; ++y)
        EXPECT_EQ(At(10, y), green) << y;
    EXPECT_EQ(At(11, 11), grey);
    EXPECT_EQ(At(19, 17), grey);
    EXPECT_TRUE(IsWhite(20, 11)) << "the right edge is one line less deep";
    EXPECT_TRUE(IsWhite(15, 18)) << "the bottom edge is one line less deep";
    EXPECT_EQ(canvas.GetForeColor(), kGreen);
}

TEST_F(CanvasTest, WiderBevelsMitreTheirCornersAndRunFromOutsideToInside)
{
    canvas.SetForeColor(kWhite);
    canvas.DrawBevel(XRect(10, 10, 30, 30), XRGB(200, 200, 200), XRGB(0, 0, 0), 3);
    EXPECT_EQ(At(20, 10), 0xFF000000u) << "the outer line has colour 2";
    EXPECT_LT(canvas.GetImage().getPixelAt(20, 11).getRed(), canvas.GetImage().getPixelAt(20, 12).getRed());
    EXPECT_EQ(At(12, 10), 0xFF000000u);
    EXPECT_EQ(canvas.GetImage().getPixelAt(12, 12).getRed(), canvas.GetImage().getPixelAt(20, 12).getRed())
        << "the top edge's third line starts at left + 2";
    EXPECT_NE(canvas.GetImage().getPixelAt(12, 12).getRed(), 0);
    // Bottom and right edges: two lines ramping from colour 1 inside towards colour 2 outside, at
    // most up to bottom - 1 and right - 1 (the ramp never reaches colour 2 itself).
    EXPECT_EQ(At(20, 28), 0xFFC8C8C8u);
    EXPECT_EQ(At(20, 29), 0xFF646464u);
    EXPECT_EQ(At(29, 20), 0xFF646464u);
    EXPECT_TRUE(IsWhite(20, 30));
    EXPECT_TRUE(IsWhite(30, 20));
    EXPECT_EQ(At(20, 20), kWhiteArgb) << "the inside";
}

TEST_F(CanvasTest, GradientEdgesStepTowardsButNeverReachTheTargetColour)
{
    canvas.DrawGradientEdge(XRect(0, 0, 10, 4), XRGB(0, 0, 0), XRGB(255, 255, 255), true, 0);
    const int expected[] = {0, 63, 127, 191};
    for (int line = 0; line < 4; ++line)
    {
        EXPECT_EQ(canvas.GetImage().getPixelAt(0, line).getRed(), expected[line]) << line;
        EXPECT_EQ(canvas.GetImage().getPixelAt(10, line).getGreen(), expected[line]) << "far end included";
    }
    EXPECT_TRUE(IsWhite(0, 4));
    EXPECT_EQ(canvas.GetForeColor(), XRGB(191, 191, 191));

    // Shapes: shrinking lines start one further in per line, growing ones one further out.
    canvas.SetDrawingOffset(0, 10);
    canvas.DrawGradientEdge(XRect(0, 0, 10, 3), kBlue, kBlue, true, XCanvas::kEdgeShrinkingHorizontal);
    EXPECT_TRUE(IsInked(0, 10) && IsInked(10, 10));
    EXPECT_TRUE(IsWhite(0, 11) && IsInked(1, 11) && IsInked(9, 11) && IsWhite(10, 11));
    canvas.DrawGradientEdge(XRect(20, 0, 30, 3), kBlue, kBlue, true, XCanvas::kEdgeGrowingHorizontal);
    EXPECT_TRUE(IsWhite(22, 10) && IsInked(23, 10) && IsInked(27, 10) && IsWhite(28, 10));
    EXPECT_TRUE(IsInked(21, 12) && IsWhite(20, 12));
    canvas.DrawGradientEdge(XRect(40, 0, 43, 10), kBlue, kBlue, false, XCanvas::kEdgeGrowingVertical);
    EXPECT_TRUE(IsWhite(40, 12) && IsInked(40, 13) && IsInked(40, 17) && IsWhite(40, 18));
    canvas.DrawGradientEdge(XRect(50, 0, 53, 10), kBlue, kBlue, false, XCanvas::kEdgeShrinkingVertical);
    EXPECT_TRUE(IsInked(50, 10) && IsInked(50, 20) && IsWhite(52, 11) && IsInked(52, 12));

    // Nothing for an edge without lines.
    JUCECanvas untouched(10, 10);
    untouched.DrawGradientEdge(XRect(0, 5, 10, 5), kBlue, kRed, true, 0);
    EXPECT_EQ(untouched.GetImage().getPixelAt(5, 5).getAlpha(), 0);
}

TEST_F(CanvasTest, GradientRectanglesRampFromTheFirstToTheSecondColour)
{
    canvas.FillGradientRect(XRect(0, 0, 10, 11), XRGB(0, 0, 0), XRGB(200, 200, 200), true);
    EXPECT_EQ(canvas.GetImage().getPixelAt(5, 0).getRed(), 0);
    EXPECT_EQ(canvas.GetImage().getPixelAt(5, 5).getRed(), 100);
    EXPECT_EQ(canvas.GetImage().getPixelAt(5, 10).getRed(), 200);
    canvas.FillGradientRect(XRect(20, 0, 31, 5), XRGB(0, 0, 0), XRGB(200, 200, 200), false);
    EXPECT_EQ(canvas.GetImage().getPixelAt(20, 2).getRed(), 0);
    EXPECT_EQ(canvas.GetImage().getPixelAt(30, 2).getRed(), 200);
    EXPECT_EQ(canvas.GetForeColor(), kBlue) << "the fore colour is unchanged";
}

TEST(BlendColour, ClampsTheFractionAndMixesEveryChannel)
{
    struct Case
    {
        double fraction;
        XRGB expected;
    };
    const XRGB from(0, 100, 200, 255);
    const XRGB to(200, 100, 0, 55);
    for (const Case& c : {Case{-1.0, from}, Case{0.0, from}, Case{0.5, XRGB(100, 100, 100, 155)},
                          Case{1.0, to}, Case{7.0, to}})
    {
        XRGB out;
        BlendColour(out, from, to, c.fraction);
        EXPECT_EQ(out, c.expected) << c.fraction;
    }
}

TEST_F(CanvasTest, AlphaFillBlendsTheForeColourAndAtFullAlphaIsAPlainFill)
{
    JUCECanvas plain(80, 60);
    plain.FillRectColour(XRect(0, 0, 80, 60), kWhite);
    plain.SetForeColor(kBlue);
    plain.FillRect(XRect(5, 5, 30, 20));
    canvas.FillRectAlpha(XRect(5, 5, 30, 20), 255);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(At(x, y), plain.GetImage().getPixelAt(x, y).getARGB()) << x << "," << y;

    canvas.SetForeColor(XRGB(0, 0, 0));
    canvas.SetDrawingOffset(40, 30);
    canvas.FillRectAlpha(XRect(0, 0, 20, 10), 128);
    const juce::Colour half = canvas.GetImage().getPixelAt(50, 35);
    EXPECT_NEAR(half.getRed(), 127, 2);
    EXPECT_EQ(half.getAlpha(), 255);
    EXPECT_TRUE(IsWhite(60, 35));
    EXPECT_TRUE(IsWhite(50, 40));
    EXPECT_NEAR(canvas.GetImage().getPixelAt(40, 30).getRed(), 127, 2);
}

TEST(ScratchCanvases, AreHandedOutResetAndTakenBackThreeAtATime)
{
    JUCECanvas* taken[kScratchCanvasCount] = {};
    for (auto& canvas : taken)
    {
        canvas = AcquireScratchCanvas();
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->GetWidth(), kScratchCanvasWidth);
        EXPECT_EQ(canvas->GetHeight(), kScratchCanvasHeight);
    }
    EXPECT_NE(taken[0], taken[1]);
    EXPECT_NE(taken[1], taken[2]);
    EXPECT_EQ(AcquireScratchCanvas(), nullptr) << "all three are taken";

    // The alpha fill still draws while the pool is empty.
    JUCECanvas target(30, 30);
    target.FillRectColour(XRect(0, 0, 30, 30), kWhite);
    target.SetForeColor(XRGB(0, 0, 0));
    target.FillRectAlpha(XRect(0, 0, 30, 30), 128);
    EXPECT_NEAR(target.GetImage().getPixelAt(15, 15).getRed(), 127, 2);

    taken[1]->SetDrawingOffset(5, 5);
    taken[1]->SetOpacity(10);
    ReleaseScratchCanvas(taken[1]);
    ReleaseScratchCanvas(&target); // not from the pool: ignored
    ReleaseScratchCanvas(nullptr);
    JUCECanvas* again = AcquireScratchCanvas();
    EXPECT_EQ(again, taken[1]);
    EXPECT_EQ(again->GetOffsetX(), 0);
    EXPECT_EQ(again->GetOpacity(), XCanvas::kOpaque);
    EXPECT_EQ(AcquireScratchCanvas(), nullptr);
    for (auto* canvas : taken)
        ReleaseScratchCanvas(canvas);
}

TEST(ScratchCanvases, AlphaFillsLargerThanAScratchCanvasAreCopiedPieceByPiece)
{
    JUCECanvas wide(kScratchCanvasWidth + 100, 12);
    wide.FillRectColour(XRect(0, 0, kScratchCanvasWidth + 100, 12), kWhite);
    wide.SetForeColor(XRGB(0, 0, 0));
    wide.FillRectAlpha(XRect(0, 0, kScratchCanvasWidth + 100, 10), 128);
    for (int x : {0, kScratchCanvasWidth - 1, kScratchCanvasWidth, kScratchCanvasWidth + 99})
        EXPECT_NEAR(wide.GetImage().getPixelAt(x, 5).getRed(), 127, 2) << x;
    EXPECT_EQ(wide.GetImage().getPixelAt(50, 10).getARGB(), kWhiteArgb);
}

TEST_F(CanvasTest, ImagesAreDrawnUnscaledAndLimitedByBothRectanglesAndTheImage)
{
    XImage red(SkinTestFiles::SolidImage(8, 6, juce::Colours::red));
    canvas.DrawImage(&red, XRect(0, 0, 20, 20), XRect(2, 2, 30, 30), XCanvas::kRopCopy);
    EXPECT_EQ(Ink(), juce::Rectangle<int>(2, 2, 8, 6)) << "the image's own size";

    canvas.DrawImage(&red, XRect(0, 0, 4, 4), XRect(40, 2, 30, 10), XCanvas::kRopCopy);
    EXPECT_TRUE(InkBounds(canvas.GetImage(), {30, 0, 50, 20}).isEmpty()) << "an inverted destination";
    canvas.DrawImage(nullptr, XRect(0, 0, 4, 4), XRect(40, 2, 44, 6), XCanvas::kRopCopy);
    XImage none;
    canvas.DrawImage(&none, XRect(0, 0, 4, 4), XRect(40, 2, 44, 6), XCanvas::kRopCopy);
    EXPECT_TRUE(InkBounds(canvas.GetImage(), {30, 0, 50, 20}).isEmpty());

    // The source's top-left picks the part; the smaller rectangle limits the size.
    juce::Image halves = SkinTestFiles::SolidImage(8, 4, juce::Colours::red);
    halves.clear({4, 0, 4, 4}, juce::Colours::blue);
    XImage split(halves);
    canvas.DrawImage(&split, XRect(4, 0, 8, 4), XRect(40, 20, 60, 40), XCanvas::kRopTransparent);
    EXPECT_EQ(InkBounds(canvas.GetImage(), {35, 15, 40, 40}), juce::Rectangle<int>(40, 20, 4, 4));
    EXPECT_EQ(At(40, 20), 0xFF0000FFu);

    canvas.DrawImageInRect(&split, XRect(60, 40, 62, 43), XCanvas::kRopCopy);
    EXPECT_EQ(InkBounds(canvas.GetImage(), {55, 35, 25, 25}), juce::Rectangle<int>(60, 40, 2, 3));

    // At the canvas's opacity; the raster operation changes nothing.
    canvas.SetOpacity(128);
    canvas.BlitImage(&red, XRect(0, 0, 8, 6), XRect(2, 40, 10, 46), XCanvas::kRopTransparent);
    const juce::Colour blended = canvas.GetImage().getPixelAt(4, 42);
    EXPECT_EQ(blended.getRed(), 255);
    EXPECT_NEAR(blended.getGreen(), 127, 2);
}

TEST_F(CanvasTest, CanvasesAreCopiedUnscaledWithinTheOtherSurfaceOrScaled)
{
    JUCECanvas other(10, 10);
    other.FillRectColour(XRect(0, 0, 10, 10), kBlue);

    // Equal sizes: nothing beyond the other canvas's surface is read.
    canvas.DrawCanvas(&other, XRect(5, 5, 25, 25), XRect(0, 0, 20, 20), XCanvas::kRopCopy);
    EXPECT_EQ(Ink(), juce::Rectangle<int>(0, 0, 5, 5));

    // Different sizes: scaled into the destination.
    canvas.DrawCanvas(&other, XRect(0, 0, 10, 10), XRect(40, 0, 60, 20), XCanvas::kRopCopy);
    EXPECT_EQ(InkBounds(canvas.GetImage(), {30, 0, 50, 30}), juce::Rectangle<int>(40, 0, 20, 20));

    // At the other canvas's opacity; a destination drawn through the offset.
    other.SetOpacity(128);
    canvas.SetDrawingOffset(0, 30);
    canvas.CopyCanvas(&other, XRect(0, 0, 10, 10), XRect(0, 0, 10, 10), XCanvas::kRopCopy);
    EXPECT_NEAR(canvas.GetImage().getPixelAt(5, 35).getRed(), 127, 2);

    // A canvas without an own surface, or none at all, gives nothing.
    juce::Image target = SkinTestFiles::SolidImage(10, 10, juce::Colours::white);
    juce::Graphics graphics(target);
    JUCECanvas wrapping(graphics, 10, 10);
    const auto before = Ink();
    canvas.DrawCanvas(&wrapping, XRect(0, 0, 10, 10), XRect(60, 40, 70, 50), XCanvas::kRopCopy);
    canvas.DrawCanvas(nullptr, XRect(0, 0, 10, 10), XRect(60, 40, 70, 50), XCanvas::kRopCopy);
    canvas.DrawCanvas(&other, XRect(0, 0, 10, 10), XRect(70, 40, 60, 50), XCanvas::kRopCopy);
    EXPECT_EQ(Ink(), before);
}

TEST_F(CanvasTest, StretchingScalesUpToEightTimesAndTilesBeyond)
{
    const auto& colours = kColumnColours;
    const XImage source(FourColumns());

    // 40 / 4 = 10 > 8: ten copies side by side.
    canvas.StretchImage(&source, XRect(0, 0, 4, 1), XRect(0, 0, 40, 3));
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(canvas.GetImage().getPixelAt(x, 1), colours[x % 4]) << x;

    // The rule (destination / source > 8) is followed: 36 / 4 = 9 also tiles, nine copies, although
    // a listed example of the original design expects scaling there.
    canvas.StretchImage(&source, XRect(0, 0, 4, 1), XRect(0, 10, 36, 12));
    for (int x = 0; x < 36; ++x)
        EXPECT_EQ(canvas.GetImage().getPixelAt(x, 11), colours[x % 4]) << x;
    EXPECT_TRUE(IsWhite(36, 11));

    // 32 / 4 = 8: scaled, each column about eight pixels wide (smoothed where columns meet).
    canvas.StretchImage(&source, XRect(0, 0, 4, 1), XRect(0, 20, 32, 22));
    for (int column = 0; column < 4; ++column)
    {
        const juce::Colour middle = canvas.GetImage().getPixelAt(column * 8 + 4, 21);
        EXPECT_NEAR(middle.getRed(), colours[column].getRed(), 40) << column;
        EXPECT_NEAR(middle.getGreen(), colours[column].getGreen(), 40) << column;
        EXPECT_NEAR(middle.getBlue(), colours[column].getBlue(), 40) << column;
    }

    // The last tile is cut at the destination's end: 38 pixels are nine and a half copies.
    canvas.StretchImage(&source, XRect(0, 0, 4, 1), XRect(0, 30, 38, 31));
    EXPECT_EQ(canvas.GetImage().getPixelAt(37, 30), colours[1]);
    EXPECT_TRUE(IsWhite(38, 30));

    // No image, no picture or an empty source: nothing.
    const auto before = Ink();
    XImage none;
    canvas.StretchImage(&none, XRect(0, 0, 4, 1), XRect(0, 40, 40, 50));
    canvas.StretchImage(nullptr, XRect(0, 0, 4, 1), XRect(0, 40, 40, 50));
    canvas.StretchImage(&source, XRect(0, 0, 0, 1), XRect(0, 40, 40, 50));
    EXPECT_EQ(Ink(), before);
}

TEST_F(CanvasTest, NearestResamplingKeepsEverySourcePixelACrispBlockUntilReset)
{
    const auto& colours = kColumnColours;
    const XImage source(FourColumns());

    // 30 / 4 = 7.5 pixels a column: every pixel, the edges included, is one column's colour, the
    // columns in order, each seven or eight pixels wide.
    canvas.SetResampling(XCanvas::Resampling::kNearest);
    canvas.StretchImage(&source, XRect(0, 0, 4, 1), XRect(0, 0, 30, 3));
    int widths[4] = {};
    int previous = 0;
    for (int x = 0; x < 30; ++x)
    {
        const juce::Colour pixel = canvas.GetImage().getPixelAt(x, 1);
        const auto column =
            static_cast<int>(std::find(std::begin(colours), std::end(colours), pixel) - colours);
        ASSERT_LT(column, 4) << "a blend at " << x;
        EXPECT_GE(column, previous) << x;
        previous = column;
        ++widths[column];
    }
    for (int width : widths)
        EXPECT_TRUE(width == 7 || width == 8) << width;
    EXPECT_TRUE(IsWhite(30, 1));

    // Reset smooths again: where two columns meet, their colours blend.
    canvas.Reset();
    EXPECT_EQ(canvas.GetResampling(), XCanvas::Resampling::kSmooth);
    canvas.StretchImage(&source, XRect(0, 0, 4, 1), XRect(0, 10, 30, 13));
    int blends = 0;
    for (int x = 0; x < 30; ++x)
    {
        const juce::Colour pixel = canvas.GetImage().getPixelAt(x, 11);
        blends += std::find(std::begin(colours), std::end(colours), pixel) == std::end(colours) ? 1 : 0;
    }
    EXPECT_GT(blends, 0);
}

TEST_F(CanvasTest, SingleLineTextIsJustifiedAndVerticallyCentredByDefault)
{
    canvas.DrawText(XRect(0, 0, 80, 60), "Hi", XCanvas::kJustifyLeft);
    EXPECT_TRUE(IsUntouched()) << "no font, no text";

    canvas.SetFont(TestFont());
    canvas.SetJustification(XCanvas::kJustifyLeft);
    canvas.DrawText(XRect(0, 0, 80, 60), "Hi", XCanvas::kUseCanvasJustification);
    const auto centred = Ink();
    ASSERT_FALSE(centred.isEmpty());
    EXPECT_LT(centred.getX(), 6);
    EXPECT_NEAR(centred.getCentreY(), 30, 6);

    struct Case
    {
        int32_t justification;
        std::function<bool(const juce::Rectangle<int>&)> holds;
        const char* what;
    };
    const Case cases[] = {
        {XCanvas::kJustifyLeft | XCanvas::kJustifyTop, [](auto& ink) { return ink.getY() < 10; }, "top"},
        {XCanvas::kJustifyRight,
         [](auto& ink) { return ink.getRight() > 74 && std::abs(ink.getCentreY() - 30) < 7; },
         "right, vertically centred"},
        {XCanvas::kJustifyCentred | XCanvas::kJustifyBottom,
         [](auto& ink) { return std::abs(ink.getCentreX() - 40) < 4 && ink.getBottom() > 50; },
         "centred, bottom"},
    };
    for (const Case& c : cases)
    {
        canvas.FillRectColour(XRect(0, 0, 80, 60), kWhite);
        canvas.DrawText(XRect(0, 0, 80, 60), "Hi", c.justification);
        EXPECT_TRUE(c.holds(Ink())) << c.what << ": " << Ink().toString();
    }

    // The canvas's flags are 8 bits: 0x100 cannot come from them.
    canvas.FillRectColour(XRect(0, 0, 80, 60), kWhite);
    canvas.SetDrawingOffset(5, 0);
    canvas.SetJustification(XCanvas::kJustifyLeft | XCanvas::kJustifyTop);
    canvas.DrawText(XRect(0, 0, 75, 60), "Hi", XCanvas::kUseCanvasJustification);
    EXPECT_LT(Ink().getY(), 10);
    EXPECT_GE(Ink().getX(), 5);
}

TEST_F(CanvasTest, MultiLineTextDropsTheBlankAfterEachBreakAndStartsOneLineDown)
{
    JUCECanvas reference(200, 100);
    reference.FillRectColour(XRect(0, 0, 200, 100), kWhite);
    reference.SetForeColor(kBlue);
    const int lineHeight = static_cast<int>(std::ceil(TestFont()->GetJuceFont().getHeight()));

    JUCECanvas lines(200, 100);
    lines.FillRectColour(XRect(0, 0, 200, 100), kWhite);
    lines.SetForeColor(kBlue);
    lines.SetFont(TestFont());
    lines.DrawText(XRect(4, 0, 200, 100), "AB\r\n CD", XCanvas::kMultiLine | XCanvas::kJustifyRight);

    // The first line lies between the top baseline and one line below it, the second under it.
    const auto first = InkBounds(lines.GetImage(), {0, 0, 200, lineHeight + 2});
    const auto second = InkBounds(lines.GetImage(), {0, lineHeight + 2, 200, 98 - lineHeight});
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_GT(first.getY(), 0);
    EXPECT_GT(second.getY(), first.getBottom() - 2);
    EXPECT_LT(second.getBottom(), 2 * lineHeight + 3);

    // Left-aligned despite the right flag, and "CD" starts where it starts without the blank.
    reference.DrawStringAt(TestFont(), 4, 2 * lineHeight, "CD", -1);
    const auto alone = InkBounds(reference.GetImage(), reference.GetImage().getBounds());
    EXPECT_NEAR(second.getX(), alone.getX(), 1);
    EXPECT_LT(first.getX(), 8);

    // Without the flag the same text is one line.
    JUCECanvas single(200, 100);
    single.FillRectColour(XRect(0, 0, 200, 100), kWhite);
    single.SetForeColor(kBlue);
    single.SetFont(TestFont());
    single.DrawText(XRect(0, 0, 200, 100), "AB\r\n CD", XCanvas::kJustifyLeft);
    const auto oneLine = InkBounds(single.GetImage(), single.GetImage().getBounds());
    EXPECT_LE(oneLine.getHeight(), lineHeight);
    EXPECT_GT(oneLine.getWidth(), second.getRight() - first.getX());
}

TEST_F(CanvasTest, StringsAtABaselineAreCutOrPaddedToTheCount)
{
    canvas.DrawStringAt(nullptr, 0, 30, "Hello", 5);
    canvas.DrawStringAt(TestFont(), 0, 30, "", 5);
    EXPECT_TRUE(IsUntouched());

    canvas.DrawStringAt(TestFont(), 2, 30, "Hello", 2);
    const auto cut = Ink();
    EXPECT_LE(cut.getBottom(), 31) << "the baseline is at y";
    canvas.FillRectColour(XRect(0, 0, 80, 60), kWhite);
    canvas.DrawStringAt(TestFont(), 2, 30, "He", 9);
    EXPECT_EQ(Ink(), cut) << "padding adds only blanks";
    canvas.FillRectColour(XRect(0, 0, 80, 60), kWhite);
    canvas.DrawStringAt(TestFont(), 2, 30, "Hello", -1);
    EXPECT_GT(Ink().getWidth(), cut.getWidth());
}

TEST(JUCECanvas, SetSizeRenewsOnlyAnOwnSurfaceOfAnotherSize)
{
    JUCECanvas own(20, 10);
    own.FillRectColour(XRect(0, 0, 20, 10), kBlue);
    own.SetSize(20, 10);
    EXPECT_EQ(own.GetImage().getPixelAt(5, 5).getARGB(), 0xFF0000FFu) << "the same size keeps the image";
    own.SetSize(30, 15);
    EXPECT_EQ(own.GetWidth(), 30);
    EXPECT_EQ(own.GetImage().getHeight(), 15);
    EXPECT_EQ(own.GetImage().getPixelAt(5, 5).getAlpha(), 0) << "a new, blank image";
    own.SetSize(0, 15);
    EXPECT_EQ(own.GetGraphics(), nullptr);
    own.FillRect(XRect(0, 0, 5, 5)); // draws nothing, safely

    juce::Image target = SkinTestFiles::SolidImage(10, 10, juce::Colours::white);
    juce::Graphics graphics(target);
    JUCECanvas wrapping(graphics, 10, 10);
    wrapping.SetSize(40, 40);
    EXPECT_EQ(wrapping.GetWidth(), 10);
    EXPECT_FALSE(wrapping.OwnsImage());
    wrapping.SetForeColor(kRed);
    wrapping.FillRect(XRect(1, 1, 3, 3));
    EXPECT_EQ(target.getPixelAt(2, 2).getARGB(), 0xFFFF0000u);
}

TEST(XCanvas, ResetAndStateKeepWhatTheySay)
{
    JUCECanvas canvas(10, 10);
    EXPECT_EQ(canvas.GetForeColor(), XRGB(0, 0, 0, 255));
    EXPECT_EQ(canvas.GetJustification(), XCanvas::kJustifyLeft);
    EXPECT_EQ(canvas.GetPenWidth(), 1);
    EXPECT_EQ(canvas.GetOpacity(), XCanvas::kOpaque);
    EXPECT_EQ(canvas.GetBounds(), XRect(0, 0, 10, 10));

    canvas.SetPort(7, 3, 4);
    canvas.SetDrawingOffset(5, 6);
    canvas.SetFont(TestFont());
    const XCanvasState saved = canvas.GetState();
    canvas.SetOpacity(9);
    canvas.Reset();
    EXPECT_EQ(canvas.GetPort(), 0);
    EXPECT_EQ(canvas.GetOffsetX(), 0);
    EXPECT_EQ(canvas.GetOpacity(), XCanvas::kOpaque);
    EXPECT_EQ(canvas.GetFont(), TestFont()) << "the reset keeps the font";

    canvas.SetFont(nullptr);
    canvas.SetState(saved);
    EXPECT_EQ(canvas.GetPort(), 7);
    EXPECT_EQ(canvas.GetOriginX(), 3);
    EXPECT_EQ(canvas.GetOriginY(), 4);
    EXPECT_EQ(canvas.GetOffsetY(), 6);
    EXPECT_EQ(canvas.GetFont(), TestFont());

    // The reserved queries answer nothing.
    EXPECT_FALSE(canvas.ReservedQuery());
    EXPECT_FALSE(canvas.ReservedQuery4(1, 2, 3, 4));
    EXPECT_EQ(canvas.ReservedPointerQuery(), nullptr);
    EXPECT_EQ(canvas.ReservedQuery1(1), 0);
}
