#include "widgets/QM7Style.h"

#include "ScopedSkinBase.h"
#include "WidgetTestSupport.h"
#include "core/StringParam.h"
#include "gui/StyleTestViews.h"
#include "gui/XButton.h"
#include "gui/XCloseBox.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XMinimizeButton.h"
#include "gui/XPopupWindow.h"
#include "widgets/XCheckBox.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using WidgetTest::Pixel;

/** A framework window whose minimised state the test sets (minimising needs a window manager). */
class SeamWindow final : public XPopupWindow
{
public:
    SeamWindow(const XRect& frame, const char* title) : XPopupWindow(frame, title, nullptr) {}
    bool minimised = false;

protected:
    bool IsPeerMinimised() const override { return minimised; }
    void SetPeerMinimised(bool on) override { minimised = on; }
};

/** What the style draws of a window on a picture of the window's size. */
juce::Image DrawnWindow(QM7Style& style, juce::Component& window, const XString& title)
{
    juce::Image picture(juce::Image::ARGB, window.getWidth(), window.getHeight(), true);
    juce::Graphics g(picture);
    style.DrawWindow(g, window, title);
    return picture;
}

/** The picture's colour at a point, drawn over white as the canvases of these tests are. */
juce::Colour OverWhite(const XImage* image, int x, int y)
{
    return juce::Colours::white.overlaidWith(image->GetJuceImage()->getPixelAt(x, y));
}

/** An opaque picture's colour at a point. */
juce::Colour ImagePixel(const XImage* image, int x, int y)
{
    return image->GetJuceImage()->getPixelAt(x, y).withAlpha(static_cast<juce::uint8>(255));
}

bool Near(juce::Colour a, juce::Colour b, int tolerance = 6)
{
    return std::abs(a.getRed() - b.getRed()) <= tolerance &&
           std::abs(a.getGreen() - b.getGreen()) <= tolerance &&
           std::abs(a.getBlue() - b.getBlue()) <= tolerance;
}

/** The program's style made current over the build's skin; the style's caches start empty. */
class QM7StyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!WidgetTest::UseBuiltSkin())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
        QM7Style::ResetSkinCaches();
        XStyle::SetCurrentStyle(&style);
    }

    void TearDown() override
    {
        XStyle::SetCurrentStyle(nullptr);
        QM7Style::ResetSkinCaches();
    }

    static XImage* Image(const char* name) { return GetResourceManager().GetImage(XString(name)); }

    QM7Style style;
};

TEST_F(QM7StyleTest, MetricsAndKeyModesAreTheProgramsOwn)
{
    EXPECT_EQ(style.GetTitleBarHeight(), 30);
    EXPECT_EQ(style.GetFrameInset(), 2);
    EXPECT_EQ(style.GetFineWheelKeyMode(), XStyle::kKeyModeSpecial);
    EXPECT_EQ(style.GetFineDragKeyMode(), XStyle::kKeyModeSpecial);
    EXPECT_EQ(style.GetResetKeyMode(), XStyle::kKeyModeCtrl) << "as the framework's";
}

TEST_F(QM7StyleTest, WithoutSkinImagesTheMetricsFallBackAndWindowsShowOnlyTheFill)
{
    ScopedSkinBase emptySkin;
    QM7Style::ResetSkinCaches();
    int32_t width = 0;
    int32_t height = 0;
    style.GetCloseBoxSize(width, height);
    EXPECT_EQ(XRect(0, 0, width, height), XRect(0, 0, 20, 20));
    style.GetMinimizeBoxSize(width, height);
    EXPECT_EQ(XRect(0, 0, width, height), XRect(0, 0, 20, 20));
    EXPECT_EQ(style.getDefaultScrollbarWidth(), 15);
    juce::ScrollBar bar(true);
    bar.setLookAndFeel(&style);
    bar.setBounds(0, 0, 15, 200);
    EXPECT_EQ(style.getScrollbarButtonSize(bar), 15);
    EXPECT_EQ(style.getMinimumScrollbarThumbSize(bar), 15);
    bar.setLookAndFeel(nullptr);

    SeamWindow window(XRect(0, 0, 240, 120), "Plain");
    const juce::Image drawn = DrawnWindow(style, window, "Plain");
    const juce::Colour fill(64, 64, 65);
    for (const juce::Point<int> at :
         {juce::Point<int>(0, 0), juce::Point<int>(120, 10), juce::Point<int>(239, 119),
          juce::Point<int>(0, 60), juce::Point<int>(120, 60)})
        EXPECT_EQ(Pixel(drawn, at.x, at.y), fill) << at.toString();
}

TEST_F(QM7StyleTest, PicturesTheSkinDeletedAreLookedUpAgainInsteadOfUsedFreed)
{
    // The order that once drew from freed pictures: a window drawn in the style, the skin's images
    // deleted (the application's exit, a change of skin) while the style's caches stay, then the
    // next window or dialog drawn in the style.
    SeamWindow window(XRect(0, 0, 240, 120), "First");
    DrawnWindow(style, window, "First");
    int32_t width = 0;
    int32_t height = 0;
    style.GetCloseBoxSize(width, height);
    ASSERT_EQ(XRect(0, 0, width, height), XRect(0, 0, 18, 18)) << "the skin's picture";

    {
        ScopedSkinBase emptySkin; // deletes the images; the skin has none from now on
        style.GetCloseBoxSize(width, height);
        EXPECT_EQ(XRect(0, 0, width, height), XRect(0, 0, 20, 20)) << "the fallback, not the deleted picture";
        const juce::Image drawn = DrawnWindow(style, window, "Second");
        EXPECT_EQ(Pixel(drawn, 120, 10), juce::Colour(64, 64, 65)) << "only the fill where the title bar was";
    }

    // The built skin again, its images deleted once more on the way: its pictures come back.
    DrawnWindow(style, window, "Third");
    style.GetCloseBoxSize(width, height);
    EXPECT_EQ(XRect(0, 0, width, height), XRect(0, 0, 18, 18));
}

TEST_F(QM7StyleTest, TitleBarBoxesTakeTheirPicturesSizeAndSitAtTheRightOfTheTitleBar)
{
    int32_t width = 0;
    int32_t height = 0;
    style.GetCloseBoxSize(width, height);
    ASSERT_EQ(XRect(0, 0, width, height), XRect(0, 0, 18, 18)) << "the skin's picture";

    StyleTestViews::Window window;
    window.bounds = XRect(0, 0, 400, 300);
    XRect close;
    XRect minimise;
    style.GetCloseBoxRect(window, close);
    style.GetMinimizeBoxRect(window, minimise);
    EXPECT_EQ(close, XRect(377, 6, 395, 24)) << "3 inside the inset at the right, 4 below it";
    EXPECT_EQ(minimise, XRect(356, 6, 374, 24)) << "3 left of the close box";
    EXPECT_LE(style.GetTitleTextRight(window), 356);

    window.closeBox = false;
    style.GetCloseBoxRect(window, close);
    style.GetMinimizeBoxRect(window, minimise);
    EXPECT_TRUE(close.IsEmpty());
    EXPECT_EQ(minimise, XRect(377, 6, 395, 24)) << "in the close box's place";
    window.minimizeBox = false;
    style.GetMinimizeBoxRect(window, minimise);
    EXPECT_TRUE(minimise.IsEmpty());
}

TEST_F(QM7StyleTest, PresetNumbersReadAsUserOrFactoryPresets)
{
    const std::pair<int, const char*> cases[] = {{1, "U01"},  {5, "U05"},  {20, "U20"},
                                                 {21, "F01"}, {23, "F03"}, {80, "F60"}};
    for (const auto& [number, text] : cases)
        EXPECT_STREQ(QM7Style::FormatPresetNumber(number).CStr(), text) << number;
}

TEST_F(QM7StyleTest, TitlesAddThePresetProgramAndConfigurationExceptForDialogs)
{
    EXPECT_STREQ(QM7Style::ComposeTitle("Output Delay", false).CStr(), "Output Delay: U01 ")
        << "no parameters";
    EXPECT_STREQ(QM7Style::ComposeTitle("Store", true).CStr(), "Store");

    auto preset = ViewTest::MakeParam(1, 80, "CurrentPreset");
    ASSERT_TRUE(preset->SetPath("%s", QM7Style::kCurrentPresetPath));
    StringParam programName;
    ASSERT_TRUE(programName.SetPath("%s", QM7Style::kProgramNamePath));
    StringParam config;
    ASSERT_TRUE(config.SetPath("%s", QM7Style::kCurrentConfigPath));
    config.SetText("2x3 Way", false);

    struct Case
    {
        double preset;
        const char* name;
        const char* expected;
    };
    for (const Case& test :
         {Case{23, "Club", "Output Delay: F03 Club - 2x3 Way"}, Case{20, "", "Output Delay: U20 - 2x3 Way"}})
    {
        preset->SetValue(test.preset, false);
        programName.SetText(test.name, false);
        EXPECT_STREQ(QM7Style::ComposeTitle("Output Delay", false).CStr(), test.expected);
        EXPECT_STREQ(QM7Style::ComposeTitle("Store", true).CStr(), "Store")
            << "a dialog shows its title only";
    }
}

TEST_F(QM7StyleTest, WindowsAreFramedFromTheSkinsPiecesWithTheTitleLeftOfTheBoxes)
{
    SeamWindow window(XRect(0, 0, 300, 120), "Output Delay");
    window.Attach();
    XImage* activeMiddle = Image(QM7Style::kTitleMidActive);
    XImage* inactiveMiddle = Image(QM7Style::kTitleMidDisabled);
    XImage* side = Image(QM7Style::kContentLeft);
    XImage* bottom = Image(QM7Style::kContentBottomMid);
    ASSERT_TRUE(activeMiddle != nullptr && inactiveMiddle != nullptr && side != nullptr && bottom != nullptr);

    const juce::Image inactive = DrawnWindow(style, window, "");
    EXPECT_EQ(Pixel(inactive, 150, 1), ImagePixel(inactiveMiddle, 0, 1));
    EXPECT_EQ(Pixel(inactive, 0, 60), ImagePixel(side, 0, 0));
    EXPECT_EQ(Pixel(inactive, 150, 119), ImagePixel(bottom, 0, 1));
    EXPECT_EQ(Pixel(inactive, 150, 60), juce::Colour(64, 64, 65)) << "the content area keeps the fill";

    window.SetActiveWindow(&window);
    const juce::Image active = DrawnWindow(style, window, "");
    EXPECT_EQ(Pixel(active, 150, 1), ImagePixel(activeMiddle, 0, 1));
    EXPECT_NE(Pixel(active, 150, 1), Pixel(inactive, 150, 1));

    // The title: left-aligned from the inset + 8, inside the title bar, left of the close box.
    const juce::Image titled = DrawnWindow(style, window, "Output Delay");
    juce::Rectangle<int> text;
    for (int y = 0; y < titled.getHeight(); ++y)
        for (int x = 0; x < titled.getWidth(); ++x)
            if (titled.getPixelAt(x, y) != active.getPixelAt(x, y))
                text = text.isEmpty() ? juce::Rectangle<int>(x, y, 1, 1) : text.getUnion({x, y, 1, 1});
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.getX(), 10);
    EXPECT_LE(text.getBottom(), 30);
    XRect close;
    style.GetCloseBoxRect(window, close);
    EXPECT_LE(text.getRight(), close.left - 5);
    window.SetActiveWindow(nullptr);
}

TEST_F(QM7StyleTest, TitleBoxesTurnSeeThroughThenShowThePictureOfTheirState)
{
    SeamWindow window(XRect(0, 0, 300, 120), "Boxes");
    window.GetOptions().hasMinimizeButton = 1;
    window.Attach();
    window.Show();
    XCloseBox* close = window.GetCloseBox();
    XMinimizeButton* minimise = window.GetMinimizeButton();
    ASSERT_TRUE(close != nullptr && minimise != nullptr);
    close->SetTransparent(false);

    const XRect rect(0, 0, 18, 18);
    auto draw = [&](IStyledButton* box, bool minimiseBox, bool pressed)
    {
        JUCECanvas canvas(18, 18);
        canvas.FillRectColour(rect, XRGB(255, 255, 255));
        if (minimiseBox)
            style.DrawMinimizeBox(box, rect, canvas, false, pressed);
        else
            style.DrawCloseBox(box, rect, canvas, false, pressed);
        return Pixel(canvas.GetImage(), 9, 9);
    };
    EXPECT_EQ(draw(close, false, false), juce::Colours::white) << "the first pass only makes it see-through";
    EXPECT_TRUE(close->IsTransparent());

    struct Case
    {
        bool active;
        bool minimised;
        bool minimiseBox;
        bool pressed;
        const char* image;
    };
    const Case cases[] = {
        {false, false, false, false, QM7Style::kCloseDim},
        {true, false, false, false, QM7Style::kCloseActive},
        {true, false, false, true, QM7Style::kClosePressed},
        {false, false, true, false, QM7Style::kMinimizeDim},
        {true, false, true, true, QM7Style::kMinimizePressed},
        {true, true, true, false, QM7Style::kRestoreActive},
        {false, true, true, false, QM7Style::kRestoreDim},
    };
    for (const Case& test : cases)
    {
        window.SetActiveWindow(test.active ? &window : nullptr);
        window.minimised = test.minimised;
        XImage* expected = Image(test.image);
        ASSERT_NE(expected, nullptr) << test.image;
        IStyledButton* box = test.minimiseBox ? static_cast<IStyledButton*>(minimise) : close;
        draw(box, test.minimiseBox, test.pressed); // a minimise box's first pass
        EXPECT_TRUE(Near(draw(box, test.minimiseBox, test.pressed), OverWhite(expected, 9, 9))) << test.image;
    }
    EXPECT_EQ(close->GetFrame().Width(), 18) << "sized to its picture";
    window.SetActiveWindow(nullptr);
}

TEST_F(QM7StyleTest, PlainButtonsGetAGradientFaceLightAtTheBottomUnlessPressed)
{
    XView root(XRect(0, 0, 100, 40));
    auto* button = new XButton(XRect(0, 0, 80, 24), "Go");
    root.AddChild(button);
    button->SetTransparent(false);
    auto draw = [&](bool pressed)
    {
        JUCECanvas canvas(80, 24);
        canvas.FillRectColour(XRect(0, 0, 80, 24), XRGB(0, 0, 0));
        style.DrawButton(button, XRect(0, 0, 80, 24), canvas, false, pressed);
        return canvas.GetImage().createCopy();
    };
    EXPECT_EQ(Pixel(draw(false), 10, 12), juce::Colours::black) << "the first pass only makes it see-through";
    ASSERT_TRUE(button->IsTransparent());

    const juce::Image up = draw(false);
    const juce::Image down = draw(true);
    EXPECT_LT(Pixel(up, 10, 5).getBrightness(), Pixel(up, 10, 16).getBrightness());
    EXPECT_GT(Pixel(down, 11, 6).getBrightness(), Pixel(down, 11, 17).getBrightness());
    // The label: antique white on the raised face, near black when pressed.
    bool light = false;
    bool dark = false;
    for (int x = 30; x < 50; ++x)
        for (int y = 6; y < 18; ++y)
        {
            light = light || Near(Pixel(up, x, y), juce::Colours::antiquewhite, 20);
            dark = dark || Pixel(down, x, y).getBrightness() < 0.15f;
        }
    EXPECT_TRUE(light);
    EXPECT_TRUE(dark);
}

TEST_F(QM7StyleTest, SlidersWithoutATrackImageDrawNoGroove)
{
    StyleTestViews::Slider slider;
    JUCECanvas canvas(40, 120);
    canvas.SetBackColor(XRGB(30, 40, 50));
    canvas.SetForeColor(XRGB(200, 200, 200));
    style.DrawSlider(&slider, XRect(0, 0, 40, 120), XRect(5, 50, 35, 62), canvas, false, false, false);
    const juce::Image drawn = canvas.GetImage();
    EXPECT_EQ(Pixel(drawn, 20, 20), juce::Colour(30, 40, 50)) << "erased, no groove";
    EXPECT_EQ(Pixel(drawn, 10, 53), juce::Colour(200, 200, 200)) << "the thumb in the fore colour";

    slider.transparent = true;
    JUCECanvas over(40, 120);
    over.FillRectColour(XRect(0, 0, 40, 120), XRGB(1, 2, 3));
    style.DrawSlider(&slider, XRect(0, 0, 40, 120), XRect(5, 50, 35, 62), over, false, false, false);
    EXPECT_EQ(Pixel(over.GetImage(), 20, 20), juce::Colour(1, 2, 3)) << "a transparent track is left alone";
}

TEST_F(QM7StyleTest, AlertAndProgressColoursComeFromTheDictionary)
{
    const XColorDictionary& colours = GetColorDictionary();
    EXPECT_EQ(style.findColour(QM7Style::kAlertBackgroundColourId),
              colours.GetColor("windowBackground").ToColour());
    EXPECT_EQ(style.findColour(QM7Style::kAlertTextColourId), colours.GetColor("windowText").ToColour());
    EXPECT_EQ(style.findColour(QM7Style::kAlertOutlineColourId), juce::Colours::black);
    EXPECT_EQ(style.findColour(QM7Style::kProgressBackgroundColourId),
              colours.GetColor("progressBarBack").ToColour());
    EXPECT_EQ(style.findColour(QM7Style::kProgressForegroundColourId),
              colours.GetColor("progressBarFore").ToColour());
    EXPECT_EQ(style.GetTitleTextColour(), colours.GetColor("windowTitlebarText").ToColour());
    EXPECT_EQ(style.GetTitleTextColourFor(false), colours.GetColor("windowTitlebarTextDim").ToColour());
}

TEST_F(QM7StyleTest, VerticalScrollBarsAreDrawnFromTheSkinsPieces)
{
    XImage* top = Image(QM7Style::kScrollThumbTop);
    XImage* middle = Image(QM7Style::kScrollThumbMiddle);
    XImage* bottom = Image(QM7Style::kScrollThumbBottom);
    ASSERT_TRUE(top != nullptr && middle != nullptr && bottom != nullptr);
    EXPECT_EQ(style.getDefaultScrollbarWidth(), top->GetWidth());
    juce::ScrollBar bar(true);
    bar.setLookAndFeel(&style);
    bar.setBounds(0, 0, 15, 200);
    EXPECT_EQ(style.getScrollbarButtonSize(bar), Image(QM7Style::kScrollButtonTop)->GetHeight());
    EXPECT_EQ(style.getMinimumScrollbarThumbSize(bar),
              top->GetHeight() + middle->GetHeight() + bottom->GetHeight());

    juce::Image drawn(juce::Image::ARGB, 15, 200, true);
    {
        juce::Graphics g(drawn);
        style.drawScrollbar(g, bar, 0, 15, 15, 170, true, 40, 60, false, false);
    }
    EXPECT_EQ(Pixel(drawn, 7, 30), GetColorDictionary().GetColor("scrollbarBack").ToColour()) << "the track";
    EXPECT_EQ(Pixel(drawn, 7, 40), ImagePixel(top, 7, 0)) << "the thumb's top piece";
    EXPECT_EQ(Pixel(drawn, 7, 99), ImagePixel(bottom, 7, 5)) << "its bottom piece";
    EXPECT_TRUE(Near(Pixel(drawn, 7, 70), ImagePixel(middle, 7, 2), 2)) << "the middle stretched";
    bar.setLookAndFeel(nullptr);
}

/** A framed window, its title with the current preset, boxes, a plain button, a check box and a
    list with a scroll bar, drawn in the program's style for a person to judge. */
TEST_F(QM7StyleTest, ScreenshotOfAWindowInTheProgramsStyle)
{
    auto preset = ViewTest::MakeParam(1, 80, "CurrentPreset");
    ASSERT_TRUE(preset->SetPath("%s", QM7Style::kCurrentPresetPath));
    preset->SetValue(23, false);
    SeamWindow window(XRect(40, 40, 400, 260), "Output Delay");
    window.GetOptions().hasMinimizeButton = 1;
    window.SetTitle("Output Delay");
    window.AddChild(new XButton(XRect(20, 20, 110, 44), "Plain"));
    auto* check = new XCheckBox();
    check->SetFrame(XRect(20, 60, 160, 80));
    check->SetLabel(XString("Link outputs"), false);
    window.AddChild(check);
    check->SetPosition(1);

    juce::ListBox list;
    juce::StringArray rows;
    for (int row = 0; row < 40; ++row)
        rows.add("Row " + juce::String(row));
    struct Rows final : juce::ListBoxModel
    {
        juce::StringArray* rows = nullptr;
        int getNumRows() override { return rows->size(); }
        void paintListBoxItem(int row, juce::Graphics& g, int width, int height, bool) override
        {
            g.setColour(juce::Colours::lightgrey);
            g.drawText((*rows)[row], 4, 0, width - 8, height, juce::Justification::centredLeft);
        }
    } model;
    model.rows = &rows;
    list.setModel(&model);
    list.setColour(juce::ListBox::backgroundColourId, juce::Colour(27, 31, 37));
    list.setBounds(200, 10, 140, 160);
    window.GetContentView()->AddComponent(&list);
    list.setVisible(true);

    window.Attach();
    window.Show();
    window.SetActiveWindow(&window);
    ASSERT_TRUE(GuiTestSupport::RunLoopUntil([&] { return window.isShowing(); }, 5000));
    GuiTestSupport::RunLoopFor(100);
    const juce::Image shot = GuiTestSupport::TakeScreenshot(window, "QM7StyleWindow");
    EXPECT_NE(Pixel(shot, 150, 2), juce::Colour(64, 64, 65)) << "the title bar is drawn";
    window.GetContentView()->RemoveComponent(&list);
    window.SetActiveWindow(nullptr);
}

/** A warning in the program's alert colours, for a person to judge. */
TEST_F(QM7StyleTest, ScreenshotOfAnAlert)
{
    juce::AlertWindow alert("Firmware update", "The unit's firmware is older than this editor's.",
                            juce::MessageBoxIconType::WarningIcon);
    alert.addButton("OK", 1);
    alert.addButton("Cancel", 0);
    alert.setVisible(true);
    const juce::Image shot = GuiTestSupport::TakeScreenshot(alert, "QM7StyleAlert");
    EXPECT_EQ(Pixel(shot, 0, shot.getHeight() / 2), juce::Colours::black) << "the outline";
    EXPECT_EQ(Pixel(shot, shot.getWidth() - 3, 3),
              GetColorDictionary().GetColor("windowBackground").ToColour());
}
} // namespace
