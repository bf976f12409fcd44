#include "gui/JUCECanvas.h"
#include "gui/SkinTestFiles.h"
#include "gui/StyleTestViews.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace StyleTestViews;

namespace
{
const XRGB kWhite(255, 255, 255);
const XRGB kBlack(0, 0, 0);
const XRGB kRed(255, 0, 0);
const XRGB kGreen(0, 160, 0);
const XRGB kBlue(0, 0, 255);
const XRGB kFore(40, 80, 200);
const XRGB kBack(200, 200, 160);

XRGB ScaledBy(const XRGB& c, int percent)
{
    const auto s = [percent](uint8_t v) { return static_cast<uint8_t>(std::min(255, v * percent / 100)); };
    return XRGB(s(c.r), s(c.g), s(c.b), c.a);
}

XRGB MixOf(const XRGB& a, const XRGB& b, double t)
{
    XRGB out;
    BlendColour(out, a, b, t);
    return out;
}

std::unique_ptr<XImage> SolidXImage(int width, int height, const XRGB& colour)
{
    return std::make_unique<XImage>(SkinTestFiles::SolidImage(width, height, ToColour(colour)));
}

/** An off-screen canvas on white with fore kFore, back kBack and a 12-point font, and a style
    without a skin's colours or fonts. */
class StyleDrawing : public ::testing::Test
{
protected:
    XStyle style;
    JUCECanvas canvas{120, 80};

    void SetUp() override
    {
        SkinTestSupport::ForgetSkinTables();
        style.ApplyColours();
        canvas.FillRectColour(XRect(0, 0, 120, 80), kWhite);
        canvas.SetForeColor(kFore);
        canvas.SetBackColor(kBack);
        canvas.SetFont(XFont::GetFont("arial", 12, false, false, false));
    }

    const juce::Image& Image() const { return canvas.GetImage(); }
    juce::Colour At(int x, int y) const { return Image().getPixelAt(x, y); }
    bool Is(int x, int y, const XRGB& colour, int tolerance = 6) const
    {
        return IsNear(At(x, y), colour, tolerance);
    }
    juce::Rectangle<int> Ink(const juce::Rectangle<int>& area, const XRGB& background) const
    {
        return InkBounds(Image(), area, background);
    }
    juce::Image Snapshot() const { return Image().createCopy(); }
    void Clear() { canvas.FillRectColour(XRect(0, 0, 120, 80), kWhite); }
};
} // namespace

TEST_F(StyleDrawing, PotDrawsFiveDiscsAndTurnsItsPointerClockwise)
{
    Pot pot;
    pot.textColor = kRed;
    style.DrawPot(&pot, 0.5, XRect(0, 0, 41, 41), canvas);

    // Rings from the outside in: back colour, black, then ever more of the fore colour; the
    // pointer at 0.5 points straight up in the text colour.
    EXPECT_TRUE(Is(20, 39, kBack, 12));
    EXPECT_TRUE(Is(20, 38, kBlack, 12));
    EXPECT_TRUE(Is(20, 37, MixOf(kBlack, kFore, 0.5), 12));
    EXPECT_TRUE(Is(20, 36, MixOf(kBlack, kFore, 0.8), 12));
    EXPECT_TRUE(Is(20, 30, kFore));
    EXPECT_TRUE(Is(20, 8, kRed) && Is(21, 8, kRed));
    EXPECT_TRUE(Is(20, 32, kFore)) << "nothing points down";
    EXPECT_TRUE(Is(0, 0, kBack)) << "an opaque pot erases its rectangle";

    struct Case
    {
        double value;
        int tipX, tipY; // a pixel near the end of the pointer
    };
    const Case cases[] = {{0.0, 16, 31}, {1.0, 24, 31}, {-3.0, 16, 31}, {7.0, 24, 31}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.value);
        Clear();
        style.DrawPot(&pot, c.value, XRect(0, 0, 41, 41), canvas);
        bool red = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                red = red || At(c.tipX + dx, c.tipY + dy).getRed() > 150;
        EXPECT_TRUE(red);
        EXPECT_TRUE(Is(20, 8, kFore)) << "the pointer does not point up";
    }
}

TEST_F(StyleDrawing, PotPointerFollowsAMovedRectangleAndTinyPotsDrawNoStrayDiscs)
{
    Pot pot;
    pot.textColor = kRed;
    style.DrawPot(&pot, 0.5, XRect(40, 20, 81, 61), canvas);
    EXPECT_TRUE(Is(60, 28, kRed)) << "the pointer starts at the discs' centre";
    EXPECT_TRUE(Is(20, 8, kWhite));

    // Discs inset past the middle of a 3 x 3 pot and a pointer shorter than nothing are left out.
    Clear();
    style.DrawPot(&pot, 0.5, XRect(0, 0, 3, 3), canvas);
    EXPECT_TRUE(Ink({0, 0, 120, 80}, kWhite).getRight() <= 3);
    EXPECT_TRUE(Ink({0, 0, 120, 80}, kWhite).getBottom() <= 3);
}

TEST_F(StyleDrawing, TransparentPotKeepsItsBackgroundAndNoLineDrawsNoPointer)
{
    Pot pot;
    pot.textColor = kRed;
    pot.transparent = true;
    pot.line = false;
    style.DrawPot(&pot, 0.5, XRect(0, 0, 41, 41), canvas);
    EXPECT_TRUE(Is(0, 0, kWhite));
    EXPECT_TRUE(Is(40, 40, kWhite));
    EXPECT_TRUE(Is(20, 8, kFore));
}

TEST_F(StyleDrawing, PopupMenuDrawsTextArrowAndOutline)
{
    PopupMenu menu;
    const XRect rect(0, 0, 100, 24);
    style.DrawPopupMenu(&menu, rect, canvas, false, false);
    const juce::Image empty = Snapshot();
    EXPECT_TRUE(Is(0, 0, kFore) && Is(99, 23, kFore)) << "outline";
    EXPECT_TRUE(Is(2, 12, kBack)) << "erased inside";
    // The arrow box is the square 79..97 at the right; the triangle's middle is at 88, 12.
    EXPECT_TRUE(Is(88, 11, kFore, 40));
    EXPECT_TRUE(Ink({1, 1, 70, 22}, kBack).isEmpty()) << "no text";

    menu.displayText = "48 kHz";
    Clear();
    style.DrawPopupMenu(&menu, rect, canvas, false, false);
    const auto text = Ink({1, 1, 72, 22}, kBack);
    EXPECT_FALSE(text.isEmpty());

    Clear();
    style.DrawPopupMenu(&menu, rect, canvas, true, false);
    EXPECT_EQ(Ink({1, 1, 72, 22}, kBack), text.translated(1, 1)) << "pressed moves the text";

    Clear();
    style.DrawPopupMenu(&menu, rect, canvas, false, true);
    bool dimmedOnly = true;
    for (int y = text.getY(); y < text.getBottom(); ++y)
        for (int x = text.getX(); x < text.getRight(); ++x)
            dimmedOnly = dimmedOnly && At(x, y).getBlue() >= ScaledBy(kFore, 50).b - 4;
    EXPECT_TRUE(dimmedOnly) << "dimmed text is never darker than half the fore colour";

    menu.titleShown = false;
    Clear();
    style.DrawPopupMenu(&menu, rect, canvas, false, false);
    EXPECT_TRUE(SameImages(Image(), empty));
}

TEST_F(StyleDrawing, WindowFrameHasTitleStripLineLabelAndBlackOutline)
{
    View frame;
    frame.textColor = kRed;
    frame.label = "Crossover";
    style.DrawWindowFrame(&frame, XRect(0, 0, 120, 80), canvas);
    const int fontHeight = canvas.GetFont()->GetHeight();
    const int stripBottom = 3 + fontHeight + 5;
    EXPECT_TRUE(Is(2, 30, kBack));
    EXPECT_TRUE(Is(2, 4, ScaledBy(kBack, 85)));
    EXPECT_TRUE(Is(60, stripBottom, ScaledBy(kRed, 80)));
    EXPECT_TRUE(Is(3, stripBottom, kBack)) << "the line starts 5 pixels in";
    EXPECT_TRUE(Is(0, 0, kBlack) && Is(119, 79, kBlack));
    const auto label = Ink({1, 3, 118, stripBottom - 3}, ScaledBy(kBack, 85));
    EXPECT_FALSE(label.isEmpty());
    EXPECT_NEAR(label.getCentreX(), 60, 3) << "centred";

    frame.transparent = true;
    Clear();
    style.DrawWindowFrame(&frame, XRect(0, 0, 120, 80), canvas);
    EXPECT_TRUE(Is(2, 30, kWhite));
    style.DrawWindowFrame(nullptr, XRect(0, 0, 120, 80), canvas);
}

TEST_F(StyleDrawing, TextButtonsAreABlackEdgedFace)
{
    Button button;
    button.dimColor = kGreen;
    button.litColor = kBlue;

    // 20 pixels wide: one black pixel round a face in the colour.
    style.DrawButton(&button, XRect(0, 0, 20, 30), canvas, false, false);
    EXPECT_TRUE(Is(0, 10, kBlack) && Is(19, 10, kBlack) && Is(10, 0, kBlack) && Is(10, 29, kBlack));
    EXPECT_TRUE(Is(1, 1, kGreen) && Is(10, 10, kGreen) && Is(18, 28, kGreen));

    // Larger: a mixed ring between the edge and the face; lit or pressed takes the lit colour.
    Clear();
    style.DrawButton(&button, XRect(0, 0, 40, 30), canvas, true, false);
    EXPECT_TRUE(Is(0, 0, kBlack));
    EXPECT_TRUE(Is(1, 1, MixOf(kBlack, kBlue, 0.6)));
    EXPECT_TRUE(Is(2, 2, kBlue) && Is(20, 15, kBlue));
    Clear();
    style.DrawButton(&button, XRect(0, 0, 40, 30), canvas, false, true);
    EXPECT_TRUE(Is(20, 15, kBlue));
}

TEST_F(StyleDrawing, ButtonLabelsFollowLitStateAndDim)
{
    Button button;
    button.dimColor = kWhite;
    button.litColor = kWhite;
    button.unlitLabel = "Mute";
    button.litLabel = "MUTED";
    button.labelRect = XRect(0, 0, 60, 30);
    button.labelColor = kBlack;
    button.litLabelColor = kRed;

    style.DrawButton(&button, XRect(0, 0, 60, 30), canvas, false, false);
    const juce::Rectangle<int> face(3, 3, 54, 24);
    const auto unlit = Ink(face, kWhite);
    EXPECT_FALSE(unlit.isEmpty());
    EXPECT_NEAR(unlit.getCentreX(), 30, 3);

    Clear();
    style.DrawButton(&button, XRect(0, 0, 60, 30), canvas, true, false);
    const auto lit = Ink(face, kWhite);
    EXPECT_GT(lit.getWidth(), unlit.getWidth()) << "the lit label";
    bool red = false;
    for (int x = lit.getX(); x < lit.getRight(); ++x)
        red = red || (At(x, lit.getCentreY()).getRed() > 200 && At(x, lit.getCentreY()).getGreen() < 60);
    EXPECT_TRUE(red);

    // Disabled: black text becomes 80, 80, 80 (never darker).
    button.disabled = true;
    Clear();
    style.DrawButton(&button, XRect(0, 0, 60, 30), canvas, false, false);
    int darkest = 255;
    for (int y = unlit.getY(); y < unlit.getBottom(); ++y)
        for (int x = unlit.getX(); x < unlit.getRight(); ++x)
            darkest = std::min(darkest, static_cast<int>(At(x, y).getRed()));
    EXPECT_NEAR(darkest, 80, 6);

    button.unlitLabel = "";
    Clear();
    style.DrawButton(&button, XRect(0, 0, 60, 30), canvas, false, false);
    EXPECT_TRUE(Ink(face, kWhite).isEmpty());
}

TEST_F(StyleDrawing, ImageButtonsPickTheImageOfTheirState)
{
    auto main = SolidXImage(30, 20, kRed);
    auto second = SolidXImage(30, 20, kGreen);
    auto third = SolidXImage(30, 20, kBlue);
    struct Case
    {
        bool hasSecond, hasThird, lit, pressed;
        XRGB expected;
    };
    const Case cases[] = {
        {true, true, false, false, kRed}, {true, true, false, true, kGreen}, {true, true, true, false, kBlue},
        {true, true, true, true, kGreen}, {false, true, true, true, kBlue},  {false, true, false, true, kRed},
        {true, false, true, false, kRed},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "lit " << c.lit << " pressed " << c.pressed << " second "
                                          << c.hasSecond << " third " << c.hasThird);
        Button button;
        button.image = main.get();
        button.image2 = c.hasSecond ? second.get() : nullptr;
        button.image3 = c.hasThird ? third.get() : nullptr;
        Clear();
        style.DrawButton(&button, XRect(10, 10, 40, 30), canvas, c.lit, c.pressed);
        EXPECT_TRUE(Is(11, 11, c.expected) && Is(39, 29, c.expected));
        EXPECT_TRUE(Is(9, 9, kWhite) && Is(40, 30, kWhite));
    }

    // Disabled: the rectangle less 3 pixels is shaded with 50, 50, 50 at 100 of 255.
    Button button;
    button.image = main.get();
    button.disabled = true;
    Clear();
    style.DrawButton(&button, XRect(10, 10, 40, 30), canvas, false, false);
    EXPECT_TRUE(Is(12, 12, kRed));
    EXPECT_TRUE(Is(13, 13, MixOf(kRed, XRGB(50, 50, 50), 100.0 / 255.0), 3));
}

TEST_F(StyleDrawing, CheckBoxesWithoutImagesDrawSquaresOrCircles)
{
    CheckBox box;
    box.label = "Link";
    const XRect rect(0, 0, 100, 20);
    style.DrawCheckBox(&box, rect, canvas, false, false);
    // The square runs from 1, 1 to 19, 19 (its side is the rect's height less 2).
    EXPECT_TRUE(Is(1, 1, kFore) && Is(18, 18, kFore) && Is(18, 1, kFore));
    EXPECT_TRUE(Is(9, 9, kWhite)) << "unchecked: no cross";
    const auto label = Ink({19, 0, 81, 20}, kWhite);
    EXPECT_GE(label.getX(), 19 + 8);

    Clear();
    style.DrawCheckBox(&box, rect, canvas, true, false);
    EXPECT_TRUE(Is(9, 9, kFore, 60)) << "checked: a cross";
    Clear();
    style.DrawCheckBox(&box, rect, canvas, false, true);
    EXPECT_TRUE(Is(9, 9, kFore, 60)) << "pressed shows the cross too";

    box.radio = true;
    Clear();
    style.DrawCheckBox(&box, rect, canvas, false, false);
    EXPECT_TRUE(Is(1, 1, kWhite)) << "a circle leaves the corners";
    EXPECT_TRUE(Is(10, 10, kWhite));
    Clear();
    style.DrawCheckBox(&box, rect, canvas, true, false);
    EXPECT_TRUE(Is(10, 10, kFore, 20)) << "checked: a dot";

    // Disabled: black becomes 80, 80, 80.
    box.radio = false;
    box.disabled = true;
    canvas.SetForeColor(kBlack);
    Clear();
    style.DrawCheckBox(&box, rect, canvas, true, false);
    EXPECT_TRUE(Is(1, 1, XRGB(80, 80, 80)));
    EXPECT_TRUE(canvas.GetForeColor() == kBlack) << "the fore colour is restored";
}

TEST_F(StyleDrawing, CheckBoxImagesShowUncheckedCheckedAndPressedPictures)
{
    // Main image unchecked, second checked, third pressed; a missing one falls back.
    auto unchecked = SolidXImage(16, 16, kRed);
    auto checked = SolidXImage(16, 16, kGreen);
    auto pressed = SolidXImage(16, 16, kBlue);
    struct Case
    {
        bool hasPressed, isChecked, isPressed;
        XRGB expected;
    };
    const Case cases[] = {
        {true, false, false, kRed}, {true, true, false, kGreen},  {true, false, true, kBlue},
        {true, true, true, kBlue},  {false, false, true, kGreen}, {false, true, false, kGreen},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "checked " << c.isChecked << " pressed " << c.isPressed);
        CheckBox box;
        box.image = unchecked.get();
        box.image2 = checked.get();
        box.image3 = c.hasPressed ? pressed.get() : nullptr;
        box.label = "Link";
        Clear();
        style.DrawCheckBox(&box, XRect(0, 0, 100, 16), canvas, c.isChecked, c.isPressed);
        EXPECT_TRUE(Is(0, 0, c.expected) && Is(15, 15, c.expected));
        EXPECT_GE(Ink({16, 0, 84, 16}, kWhite).getX(), 16 + 8) << "the label starts 8 right of the image";
    }
}

TEST_F(StyleDrawing, FramesDrawNestedOutlinesBrokenForTheirLabel)
{
    View frame;
    style.DrawFrame(&frame, XRect(0, 0, 100, 60), canvas, 2);
    EXPECT_TRUE(Is(0, 0, kFore) && Is(1, 1, kFore) && Is(98, 58, kFore));
    EXPECT_TRUE(Is(2, 2, kBack));

    // More rings than fit stop at the middle.
    Clear();
    style.DrawFrame(&frame, XRect(0, 0, 10, 6), canvas, 1000);
    EXPECT_TRUE(Is(7, 7, kWhite) && Is(20, 20, kWhite));

    frame.label = "Limiter";
    frame.textColor = kRed;
    Clear();
    style.DrawFrame(&frame, XRect(0, 0, 100, 60), canvas, 2);
    const int middle = canvas.GetFont()->GetHeight() / 2;
    const int labelWidth = canvas.GetFont()->GetStringWidth("Limiter");
    EXPECT_TRUE(Is(5, middle, kFore) && Is(10, middle, kFore)) << "the top edge up to 10 before the label";
    EXPECT_TRUE(Is(12, middle, kBack)) << "the gap";
    EXPECT_TRUE(Is(20 + labelWidth + 12, middle, kFore)) << "the top edge from 10 after the label";
    EXPECT_TRUE(Is(1, middle + 1, kFore) && Is(98, 58, kFore)) << "the second ring";
    EXPECT_TRUE(Is(0, middle - 2, kBack)) << "nothing above the top edge";
    const auto label = Ink({14, 0, labelWidth + 12, middle * 2}, kBack);
    EXPECT_FALSE(label.isEmpty());
    EXPECT_GE(label.getX(), 19);
}

TEST_F(StyleDrawing, PanelsShowTheirDisclosureTriangleAndLabel)
{
    Panel panel;
    panel.bounds = XRect(0, 0, 120, 60);
    style.DrawPanel(&panel, canvas);
    // Box 3..19 square, centre 11, 11, half-size 4: down when open, right when closed.
    EXPECT_TRUE(Is(13, 8, kFore, 60));
    EXPECT_TRUE(Is(8, 13, kWhite, 60));
    panel.open = false;
    panel.label = "Band 1";
    Clear();
    style.DrawPanel(&panel, canvas);
    EXPECT_TRUE(Is(8, 13, kFore, 60));
    EXPECT_TRUE(Is(13, 8, kWhite, 60));
    const auto label = Ink({20, 0, 100, 60}, kWhite);
    EXPECT_GE(label.getX(), 19 + 5);
    EXPECT_GE(label.getY(), 4);
    EXPECT_LT(label.getY(), 4 + canvas.GetFont()->GetHeight()) << "top-aligned";
}

TEST_F(StyleDrawing, ScalersDrawTrackThumbAndRaisedButtons)
{
    Scaler scaler;
    scaler.startArrow = XRect(0, 0, 30, 30);
    scaler.endArrow = XRect(0, 50, 30, 80);
    scaler.track = XRect(0, 30, 30, 50);
    scaler.thumb = XRect(0, 33, 30, 47);
    canvas.SetForeColor(kRed);
    style.DrawScaler(&scaler, XRect(0, 0, 30, 80), canvas);
    EXPECT_TRUE(Is(15, 31, kBack)) << "track";
    EXPECT_TRUE(Is(15, 40, ScaledBy(kBack, 70))) << "thumb";
    EXPECT_TRUE(Is(0, 33, kBlack) && Is(29, 46, kBlack)) << "thumb outline";
    EXPECT_TRUE(Is(0, 0, XRGB(150, 150, 110)) && Is(28, 10, XRGB(150, 150, 110))) << "shadow: back less 50";
    EXPECT_TRUE(Is(1, 10, XRGB(255, 255, 215))) << "light: back plus up to 100";
    // Arrows of half-size 5 round each button's centre: up at the start, down at the end.
    EXPECT_TRUE(Is(11, 19, kRed, 60) && Is(11, 11, kBack));
    EXPECT_TRUE(Is(11, 61, kRed, 60) && Is(11, 69, kBack));

    scaler.startHeld = true;
    Clear();
    style.DrawScaler(&scaler, XRect(0, 0, 30, 80), canvas);
    EXPECT_TRUE(Is(0, 0, kBack) && Is(1, 10, kBack)) << "a held button is flat";
    EXPECT_TRUE(Is(11, 19, kRed, 60));
    EXPECT_TRUE(canvas.GetForeColor() == kRed);

    Scaler horizontal;
    horizontal.vertical = false;
    horizontal.startArrow = XRect(0, 0, 30, 30);
    horizontal.endArrow = XRect(90, 0, 120, 30);
    Clear();
    style.DrawScaler(&horizontal, XRect(0, 0, 120, 30), canvas);
    EXPECT_TRUE(Is(19, 11, kRed, 60) && Is(11, 11, kBack)) << "left arrow";
    EXPECT_TRUE(Is(101, 11, kRed, 60) && Is(109, 11, kBack)) << "right arrow";
}

TEST_F(StyleDrawing, TitleBarBoxGlyphsMoveWhenPressed)
{
    Button box;
    box.dimColor = kWhite;
    box.litColor = kWhite;
    const XRect rect(10, 10, 30, 30);
    using DrawBox = void (XStyle::*)(IStyledButton*, const XRect&, XCanvas&, bool, bool);
    const DrawBox draws[] = {&XStyle::DrawCloseBox, &XStyle::DrawMaximizeBox, &XStyle::DrawMinimizeBox};
    for (DrawBox draw : draws)
    {
        Clear();
        (style.*draw)(&box, rect, canvas, false, false);
        // Inside the button's 1-pixel black edge.
        const auto glyph = Ink({11, 11, 18, 18}, kWhite);
        Clear();
        (style.*draw)(&box, rect, canvas, false, true);
        const auto pressedGlyph = Ink({11, 11, 18, 18}, kWhite);
        EXPECT_FALSE(glyph.isEmpty());
        EXPECT_EQ(pressedGlyph, glyph.translated(1, 1));
        EXPECT_EQ(canvas.GetPenWidth(), 1) << "the pen width is restored";
    }
    // The close box's cross reaches both top corners of the glyph area; the minimise bar lies low.
    Clear();
    style.DrawCloseBox(&box, rect, canvas, false, false);
    EXPECT_TRUE(Is(14, 15, kBlack, 90) && Is(25, 15, kBlack, 90));
    Clear();
    style.DrawMinimizeBox(&box, rect, canvas, false, false);
    EXPECT_TRUE(Is(20, 15, kWhite));
    EXPECT_TRUE(Is(20, 26, kBlack, 90));
}

TEST_F(StyleDrawing, SliderWithoutImagesDrawsGrooveAndKnob)
{
    Slider slider;
    const XRect track(0, 0, 115, 30);
    const XRect knob(50, 0, 65, 30);
    style.DrawSlider(&slider, track, knob, canvas, true, false, false);
    EXPECT_TRUE(Is(10, 5, kBack));
    EXPECT_LT(At(10, 14).getBrightness(), At(10, 12).getBrightness())
        << "the groove is darkest in its middle";
    EXPECT_TRUE(Is(52, 5, kFore));
    EXPECT_TRUE(Is(50, 5, XRGB(0, 40, 160))) << "the knob's frame is the fore colour less 40";

    auto knobImage = SolidXImage(15, 30, kRed);
    auto pressedImage = SolidXImage(15, 30, kGreen);
    slider.knob = knobImage.get();
    slider.pressedKnob = pressedImage.get();
    Clear();
    style.DrawSlider(&slider, track, knob, canvas, true, false, false);
    EXPECT_TRUE(Is(55, 10, kRed));
    Clear();
    style.DrawSlider(&slider, track, knob, canvas, true, false, true);
    EXPECT_TRUE(Is(55, 10, kGreen));
}

TEST_F(StyleDrawing, ListPartsUseTheListColours)
{
    const XRGB listBack(234, 238, 240);
    const XRGB listFore(34, 38, 40);
    style.DrawListBackground(canvas, XRect(0, 0, 50, 30));
    EXPECT_TRUE(Is(0, 0, listFore, 2) && Is(49, 29, listFore, 2));
    EXPECT_TRUE(Is(1, 1, listBack, 2));

    style.DrawListColumn(canvas, XRect(60, 0, 100, 10), false);
    style.DrawListColumn(canvas, XRect(60, 10, 100, 20), true);
    EXPECT_TRUE(Is(70, 5, listBack, 2));
    EXPECT_TRUE(Is(70, 15, ScaledBy(listBack, 95), 2));
}

TEST_F(StyleDrawing, ListHeaderBevelSwapsWhenPressedAndShowsTheSortArrowWhenThereIsRoom)
{
    const XRGB headerBack = ScaledBy(XRGB(234, 238, 240), 70);
    struct Case
    {
        int state;
        XRGB top, bottom;
    };
    const Case cases[] = {{0, ScaledBy(headerBack, 130), ScaledBy(headerBack, 70)},
                          {2, ScaledBy(headerBack, 70), ScaledBy(headerBack, 130)},
                          {3, ScaledBy(headerBack, 90), ScaledBy(headerBack, 90)}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.state);
        Clear();
        style.DrawListHeader(canvas, "", XRect(0, 0, 100, 20), false, c.state, false);
        EXPECT_TRUE(Is(50, 0, c.top, 2));
        EXPECT_TRUE(Is(50, 19, c.bottom, 2));
        EXPECT_TRUE(Is(98, 10, c.top, 2) && Is(99, 10, c.bottom, 2));
        EXPECT_TRUE(Is(50, 10, headerBack, 2));
    }

    // A short title leaves room for the arrow near the right edge; a wide one does not.
    const auto header = [this](const char* title, bool sorted, bool descending)
    {
        Clear();
        style.DrawListHeader(canvas, title, XRect(0, 0, 120, 20), sorted, 0, descending);
        return Snapshot();
    };
    const juce::Image up = header("Name", true, false);
    EXPECT_FALSE(InkBounds(up, {95, 4, 15, 12}, headerBack).isEmpty());
    EXPECT_FALSE(SameImages(up, header("Name", true, true))) << "descending points the other way";
    EXPECT_TRUE(
        SameImages(header("Modification date", true, false), header("Modification date", false, false)));
}

TEST_F(StyleDrawing, ListCellsShadeSelectedRowsAndDrawTheirContent)
{
    const XRGB selected(60, 60, 240);
    ListRow row;
    row.text = "Preset 1";
    style.DrawListCell(&row, XRect(0, 0, 100, 20), canvas, 0, true, false, true, false, false, true);
    EXPECT_TRUE(Is(50, 0, ScaledBy(selected, 120), 10));
    EXPECT_TRUE(Is(99, 10, selected, 10));
    EXPECT_TRUE(Is(99, 19, ScaledBy(selected, 120), 14));
    const juce::Colour focusedTop = At(99, 1);

    Clear();
    style.DrawListCell(&row, XRect(0, 0, 100, 20), canvas, 0, true, false, false, false, false, true);
    EXPECT_LT(At(99, 1).getBrightness(), focusedTop.getBrightness()) << "unfocused selection is dimmer";

    // An unselected row: its background, text in the row text colour, indented.
    Clear();
    style.DrawListCell(&row, XRect(0, 0, 100, 20), canvas, 0, false, false, true, false, false, true);
    EXPECT_TRUE(Is(99, 10, XRGB(234, 238, 240), 2));
    const auto text = Ink({0, 0, 100, 20}, XRGB(234, 238, 240));
    EXPECT_GE(text.getX(), 3);
    EXPECT_FALSE(text.isEmpty());

    row.separator = true;
    Clear();
    style.DrawListCell(&row, XRect(0, 0, 100, 20), canvas, 0, false, false, true, false, true, true);
    EXPECT_TRUE(Is(50, 10, XRGB(60, 60, 60), 2));
    EXPECT_TRUE(Is(50, 5, ScaledBy(XRGB(234, 238, 240), 95), 2));

    row.separator = false;
    row.kind = IStyledListRow::kCellMark;
    row.text = ".renderCircle";
    Clear();
    style.DrawListCell(&row, XRect(0, 0, 100, 20), canvas, 0, false, false, true, false, false, true);
    EXPECT_TRUE(Is(50, 10, kBlack, 20));
    EXPECT_TRUE(Ink({0, 0, 100, 20}, XRGB(234, 238, 240)).getWidth() < 12);
}

TEST_F(StyleDrawing, ListCellOfImageKindDrawsTheSkinImageCentred)
{
    TestSupport::TempFolder skin;
    SkinTestFiles::WritePng(skin.Child("Skins/StyleTest/Images/folder.png"),
                            SkinTestFiles::SolidImage(8, 6, ToColour(kRed)));
    XResourceManager& resources = GetResourceManager();
    const XString savedBaseFolder = resources.GetBaseFolder();
    resources.SetBaseFolder(skin.Path().c_str());
    resources.AddSkinFolder("StyleTest");
    resources.ClearCaches(); // a "folder.png" of another skin may be cached

    ListRow row;
    row.kind = IStyledListRow::kCellImage;
    row.text = "Folder.png";
    style.DrawListCell(&row, XRect(0, 0, 100, 20), canvas, 0, false, false, true, false, false, true);
    EXPECT_EQ(Ink({0, 0, 100, 20}, XRGB(234, 238, 240)), juce::Rectangle<int>(46, 7, 8, 6));
    resources.ClearCaches();
    resources.SetBaseFolder(savedBaseFolder);
}

TEST_F(StyleDrawing, WindowFrameFillsOnlyWhatOpaqueChildrenLeaveUncovered)
{
    juce::Component window;
    window.setSize(200, 120);
    juce::Component child;
    child.setOpaque(true);
    child.setBounds(50, 60, 40, 30);
    window.addAndMakeVisible(child);

    juce::Image image(juce::Image::RGB, 200, 120, true);
    juce::Graphics g(image);
    g.fillAll(juce::Colours::magenta);
    style.DrawWindow(g, window, "Delay");

    const juce::Colour background = style.GetWindowBackgroundColour();
    const juce::Colour title = style.GetTitleBarColour();
    EXPECT_EQ(image.getPixelAt(20, 100), background);
    EXPECT_EQ(image.getPixelAt(60, 70), juce::Colours::magenta) << "an opaque child's area is left alone";
    EXPECT_EQ(image.getPixelAt(0, 60), juce::Colours::black);
    EXPECT_EQ(image.getPixelAt(199, 119), juce::Colours::black);
    // The bottom line lies under the bar's thin black outline.
    const juce::Colour bottom = title.darker(0.6f).interpolatedWith(juce::Colours::black, 0.25f);
    EXPECT_TRUE(
        IsNear(image.getPixelAt(5, 24), XRGB(bottom.getRed(), bottom.getGreen(), bottom.getBlue()), 4));
    EXPECT_EQ(image.getPixelAt(5, 22), title.darker(0.3f));
    EXPECT_EQ(image.getPixelAt(5, 2), title.brighter(0.5f));
    const auto titleInk =
        InkBounds(image, {30, 4, 140, 16}, XRGB(title.getRed(), title.getGreen(), title.getBlue()), 60);
    EXPECT_FALSE(titleInk.isEmpty());
    EXPECT_NEAR(titleInk.getCentreX(), 100, 4) << "the title is centred";
}

TEST_F(StyleDrawing, BackgroundOperationsFillWithForeOrBackColour)
{
    style.FillBackground(XRect(0, 0, 10, 10), canvas);
    style.EraseBackground(XRect(10, 0, 20, 10), canvas);
    EXPECT_TRUE(Is(5, 5, kFore));
    EXPECT_TRUE(Is(15, 5, kBack));
}

/** Draws every operation side by side into one picture for a person to look at. */
TEST_F(StyleDrawing, GalleryOfEveryDrawingOperation)
{
    JUCECanvas gallery(640, 420);
    gallery.FillRectColour(XRect(0, 0, 640, 420), XRGB(236, 236, 236));
    gallery.SetFont(XFont::GetFont("arial", 12, false, false, false));
    const auto prepare = [&gallery](const XRGB& fore, const XRGB& back)
    {
        gallery.SetForeColor(fore);
        gallery.SetBackColor(back);
    };
    const auto at = [&gallery](int x, int y) { gallery.SetDrawingOffset(x, y); };

    Pot pot;
    pot.textColor = XRGB(250, 250, 250);
    for (int i = 0; i < 3; ++i)
    {
        prepare(XRGB(120, 140, 200), XRGB(236, 236, 236));
        at(10 + 50 * i, 10);
        style.DrawPot(&pot, i / 2.0, XRect(0, 0, 41, 41), gallery);
    }

    PopupMenu menu;
    menu.displayText = "Butterworth 24";
    prepare(kBlack, XRGB(223, 224, 225));
    at(170, 15);
    style.DrawPopupMenu(&menu, XRect(0, 0, 130, 22), gallery, false, false);
    at(310, 15);
    style.DrawPopupMenu(&menu, XRect(0, 0, 130, 22), gallery, true, true);

    Button textButton;
    textButton.unlitLabel = "Store";
    textButton.litLabel = "Store";
    textButton.labelRect = XRect(0, 0, 70, 26);
    prepare(kBlack, XRGB(236, 236, 236));
    at(10, 70);
    style.DrawButton(&textButton, XRect(0, 0, 70, 26), gallery, false, false);
    at(90, 70);
    style.DrawButton(&textButton, XRect(0, 0, 70, 26), gallery, true, true);
    textButton.disabled = true;
    at(170, 70);
    style.DrawButton(&textButton, XRect(0, 0, 70, 26), gallery, false, false);

    auto imageFace = SolidXImage(70, 26, XRGB(90, 110, 150));
    Button imageButton;
    imageButton.image = imageFace.get();
    imageButton.unlitLabel = "Recall";
    imageButton.labelRect = XRect(0, 0, 70, 26);
    imageButton.labelColor = kWhite;
    at(250, 70);
    style.DrawButton(&imageButton, XRect(0, 0, 70, 26), gallery, false, false);

    Button boxButton;
    const XRect boxRect(0, 0, 20, 20);
    at(340, 73);
    style.DrawCloseBox(&boxButton, boxRect, gallery, false, false);
    at(365, 73);
    style.DrawMaximizeBox(&boxButton, boxRect, gallery, false, false);
    at(390, 73);
    style.DrawMinimizeBox(&boxButton, boxRect, gallery, false, true);

    CheckBox check;
    check.label = "Link outputs";
    prepare(kBlack, XRGB(236, 236, 236));
    at(10, 110);
    style.DrawCheckBox(&check, XRect(0, 0, 120, 18), gallery, true, false);
    check.radio = true;
    check.label = "Master";
    at(140, 110);
    style.DrawCheckBox(&check, XRect(0, 0, 100, 18), gallery, true, false);
    at(250, 110);
    style.DrawCheckBox(&check, XRect(0, 0, 100, 18), gallery, false, false);

    View frame;
    frame.label = "Limiter";
    frame.textColor = kBlack;
    prepare(XRGB(90, 90, 90), XRGB(236, 236, 236));
    at(10, 140);
    style.DrawFrame(&frame, XRect(0, 0, 150, 70), gallery, 2);
    View windowFrame;
    windowFrame.label = "Output 1";
    windowFrame.textColor = kBlack;
    prepare(kBlack, XRGB(200, 205, 215));
    at(170, 140);
    style.DrawWindowFrame(&windowFrame, XRect(0, 0, 150, 70), gallery);

    Panel panel;
    panel.label = "Band 1";
    panel.bounds = XRect(0, 0, 150, 24);
    prepare(kBlack, XRGB(236, 236, 236));
    at(330, 140);
    style.DrawPanel(&panel, gallery);
    panel.open = false;
    at(330, 170);
    style.DrawPanel(&panel, gallery);

    Scaler scaler;
    scaler.startArrow = XRect(0, 0, 16, 16);
    scaler.endArrow = XRect(0, 104, 16, 120);
    scaler.track = XRect(0, 16, 16, 104);
    scaler.thumb = XRect(0, 40, 16, 70);
    prepare(XRGB(220, 220, 220), XRGB(90, 90, 90));
    at(500, 10);
    style.DrawScaler(&scaler, XRect(0, 0, 16, 120), gallery);
    Scaler horizontal;
    horizontal.vertical = false;
    horizontal.startArrow = XRect(0, 0, 16, 16);
    horizontal.endArrow = XRect(104, 0, 120, 16);
    horizontal.track = XRect(16, 0, 104, 16);
    horizontal.thumb = XRect(30, 0, 60, 16);
    horizontal.endHeld = true;
    at(500, 140);
    style.DrawScaler(&horizontal, XRect(0, 0, 120, 16), gallery);

    Slider slider;
    prepare(XRGB(223, 224, 225), XRGB(80, 80, 80));
    at(10, 230);
    style.DrawSlider(&slider, XRect(0, 0, 115, 30), XRect(50, 0, 65, 30), gallery, true, false, false);
    at(140, 220);
    style.DrawSlider(&slider, XRect(0, 0, 30, 120), XRect(0, 40, 30, 55), gallery, false, false, false);

    ListRow rows[4];
    rows[0].text = "Factory 01";
    rows[1].text = "User 02";
    rows[2].separator = true;
    rows[3].text = ".renderArrow";
    rows[3].kind = IStyledListRow::kCellMark;
    at(200, 230);
    style.DrawListBackground(gallery, XRect(0, 0, 222, 120));
    style.DrawListHeader(gallery, "Name", XRect(1, 1, 121, 21), true, 0, false);
    style.DrawListHeader(gallery, "Kind", XRect(121, 1, 181, 21), false, 2, false);
    style.DrawListHeader(gallery, "", XRect(181, 1, 221, 21), false, 3, false);
    for (int i = 0; i < 4; ++i)
    {
        const int top = 21 + 18 * i;
        style.DrawListCell(&rows[i], XRect(1, top, 121, top + 18), gallery, 0, i == 1, false, true, false,
                           i % 2 == 0, true);
        style.DrawListCell(&rows[i], XRect(121, top, 221, top + 18), gallery, 1, i == 1, false, false, false,
                           i % 2 == 0, true);
    }
    style.DrawListColumn(gallery, XRect(1, 93, 221, 111), true);

    juce::Component window;
    window.setSize(180, 110);
    juce::Image windowImage(juce::Image::ARGB, 180, 110, true);
    {
        juce::Graphics g(windowImage);
        style.DrawWindow(g, window, "Input Delay");
    }
    gallery.SetDrawingOffset(0, 0);
    {
        juce::Graphics* g = gallery.GetGraphics();
        ASSERT_NE(g, nullptr);
        g->drawImageAt(windowImage, 440, 230);
    }

    juce::ImageComponent shown;
    shown.setImage(gallery.GetImage());
    shown.setSize(640, 420);
    const juce::Image picture = GuiTestSupport::TakeScreenshot(shown, "XStyleGallery");
    EXPECT_TRUE(SameImages(picture, gallery.GetImage())) << "the picture shows what was drawn";
    EXPECT_FALSE(InkBounds(picture, {440, 230, 180, 110}, XRGB(236, 236, 236)).isEmpty()) << "the window";
    EXPECT_TRUE(juce::File(KRX_SCREENSHOT_DIR).getChildFile("XStyleGallery.png").existsAsFile());
}
