#include "widgets/XTitleBar.h"

#include "WidgetTestSupport.h"
#include "WidgetTypeWords.h"
#include "core/XMessage.h"
#include "gui/IStyledView.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "support/TestSupport.h"
#include "widgets/XWindowFrame.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using WidgetTest::Pixel;

/** A style that records the window frames it is asked to draw. */
class FrameRecordingStyle final : public XStyle
{
public:
    void DrawWindowFrame(IStyledView* frame, const XRect& rect, XCanvas& canvas) override
    {
        framed = frame;
        framedRect = rect;
        XStyle::DrawWindowFrame(frame, rect, canvas);
    }
    IStyledView* framed = nullptr;
    XRect framedRect;
};

/** The bounding box of the pixels where two pictures of the same size differ and the first comes
    near the colour; empty when there are none. */
juce::Rectangle<int> ChangedBox(const juce::Image& picture, const juce::Image& without, const XRGB& colour)
{
    constexpr int kTolerance = 12;
    juce::Rectangle<int> box;
    for (int y = 0; y < picture.getHeight(); ++y)
    {
        for (int x = 0; x < picture.getWidth(); ++x)
        {
            const juce::Colour pixel = Pixel(picture, x, y);
            if (pixel == Pixel(without, x, y) || std::abs(pixel.getRed() - colour.r) > kTolerance ||
                std::abs(pixel.getGreen() - colour.g) > kTolerance ||
                std::abs(pixel.getBlue() - colour.b) > kTolerance)
                continue;
            const juce::Rectangle<int> one(x, y, 1, 1);
            box = box.isEmpty() ? one : box.getUnion(one);
        }
    }
    return box;
}

class TitleBarTest : public WidgetTest::WidgetTree
{
protected:
    void SetUp() override
    {
        WidgetTest::WidgetTree::SetUp();
        GetResourceManager().ClearCaches();
        if (!WidgetTest::UseBuiltSkin() ||
            !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    }
    void TearDown() override
    {
        GetResourceManager().ClearCaches();
        WidgetTest::WidgetTree::TearDown();
    }

    XTitleBar* AddTitleBar(const char* name, int32_t textVOffset)
    {
        auto* bar = new XTitleBar();
        XMessage block;
        block.AddRect("frame", XRect(0, 0, 240, 10));
        block.AddString("name", name);
        block.AddString("font", "smallbold");
        block.AddInt32("textvoffset", textVOffset);
        bar->ReadAttributes(block);
        root.AddChild(bar);
        return bar;
    }
};

TEST_F(TitleBarTest, TheFrameStartsInTheWindowColoursAndIsDrawnByTheStyle)
{
    FrameRecordingStyle recording;
    XStyle::SetCurrentStyle(&recording);
    auto* frame = new XWindowFrame();
    EXPECT_EQ(frame->GetBackColor(), GetColorDictionary().GetColor("windowBack"));
    EXPECT_EQ(frame->GetForeColor(), GetColorDictionary().GetColor("windowTitleText"));
    EXPECT_EQ(frame->GetTextVOffset(), 1);
    XMessage block;
    block.AddRect("frame", XRect(20, 20, 220, 120));
    block.AddInt32("textvoffset", 4);
    frame->ReadAttributes(block);
    EXPECT_EQ(frame->GetTextVOffset(), 4);
    root.AddChild(frame);

    frame->SetFrameImage(nullptr, 0);
    frame->SetFrameImage("widgets/windowbg/nosuchimage.png", 1);
    frame->SetFrameImage("widgets/windowbg/closebox.png", 8);
    for (int32_t slot = 0; slot < XWindowFrame::kImageSlotCount; ++slot)
        EXPECT_EQ(frame->GetFrameImage(slot), nullptr) << slot;
    frame->SetFrameImage("Widgets\\windowBg\\CloseBox.png", 7);
    EXPECT_NE(frame->GetFrameImage(7), nullptr) << "skin names regardless of case and separator";

    WidgetTest::Render(*frame);
    EXPECT_EQ(recording.framed, static_cast<IStyledView*>(frame));
    EXPECT_EQ(recording.framedRect, XRect(0, 0, 200, 100));
    recording.framed = nullptr;
    frame->Hide();
    WidgetTest::Render(*frame);
    EXPECT_EQ(recording.framed, nullptr) << "nothing while hidden";
    XStyle::SetCurrentStyle(&style);
}

TEST_F(TitleBarTest, TheTitleStandsInCapitalsOverItsShadowBetweenTheSkinImages)
{
    XTitleBar* bar = AddTitleBar("Crossover", 1);
    XTitleBar* capitals = AddTitleBar("CROSSOVER", 1);
    XTitleBar* untitled = AddTitleBar("", 1);
    XTitleBar* lower = AddTitleBar("Crossover", 3);
    const XImage* left = bar->GetFrameImage(XTitleBar::kLeftSlot);
    const XImage* right = bar->GetFrameImage(XTitleBar::kRightSlot);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    ASSERT_NE(bar->GetFrameImage(XTitleBar::kMiddleSlot), nullptr);
    EXPECT_EQ(bar->GetFrame(), XRect(0, 0, 240, left->GetHeight())) << "as high as the left image";
    const XRect middle = bar->GetMiddleRect();
    EXPECT_EQ(middle, XRect(left->GetWidth(), 0, 240 - right->GetWidth(), left->GetHeight()));

    const juce::Image plain = WidgetTest::Render(*untitled);
    EXPECT_EQ(Pixel(plain, 2, 5), Pixel(juce::Image(*left->GetJuceImage()), 2, 5)) << "the left end 1:1";
    EXPECT_EQ(Pixel(plain, 238, 5), Pixel(juce::Image(*right->GetJuceImage()), right->GetWidth() - 2, 5))
        << "the right end against the right edge";

    // The title text over a black ground in white: the shadow is 40 % grey, one pixel right and down.
    const XRGB white(255, 255, 255);
    const XRGB shadow(102, 102, 102);
    auto titleText = [&](XTitleBar& view)
    {
        view.SetForeColor(white);
        JUCECanvas canvas(view.GetWidth(), view.GetHeight());
        canvas.FillRectColour(view.GetBounds(), XRGB(0, 0, 0));
        view.DrawTitleText(canvas, middle);
        return canvas.GetImage().createCopy();
    };
    const juce::Image black = juce::Image(juce::Image::ARGB, 240, left->GetHeight(), true);
    const juce::Image picture = titleText(*bar);
    const juce::Rectangle<int> text = ChangedBox(picture, black, white);
    const juce::Rectangle<int> shade = ChangedBox(picture, black, shadow);
    ASSERT_FALSE(text.isEmpty());
    ASSERT_FALSE(shade.isEmpty());
    EXPECT_LE(text.getX() - middle.left, 2) << "left-aligned in the middle area";
    EXPECT_EQ(shade.getRight(), text.getRight() + 1) << "the shadow one pixel to the right";
    EXPECT_EQ(shade.getBottom(), text.getBottom() + 1) << "and one pixel down";
    EXPECT_EQ(ChangedBox(titleText(*capitals), black, white), text) << "the name is drawn in capitals";
    EXPECT_EQ(ChangedBox(titleText(*lower), black, white).getY(), text.getY() + 2)
        << "textvoffset 3 lies two pixels below offset 1";

    // Drawn in the bar: the title colour between the images.
    const juce::Rectangle<int> inBar = ChangedBox(WidgetTest::Render(*bar), plain, white);
    EXPECT_EQ(inBar, text);
}

TEST_F(TitleBarTest, ASkinWithoutOneOfTheImagesShowsOnlyTheBackColour)
{
    TestSupport::TempFolder folder;
    const juce::File images(folder.Child("System/Skins/QM7/Images/widgets/windowbg"));
    ASSERT_TRUE(images.createDirectory());
    const juce::File built =
        SkinTestSupport::BuiltSystemFolder().getChildFile("Skins/QM7/Images/widgets/windowbg");
    ASSERT_TRUE(built.getChildFile("titlebarleft.png").copyFileTo(images.getChildFile("titlebarleft.png")));
    ASSERT_TRUE(built.getChildFile("titlebarright.png").copyFileTo(images.getChildFile("titlebarright.png")));
    GetResourceManager().ClearCaches();
    GetResourceManager().SetBaseFolder(folder.Child("System").c_str());

    XTitleBar* bar = AddTitleBar("Delay", 1);
    EXPECT_EQ(bar->GetFrameImage(XTitleBar::kMiddleSlot), nullptr);
    EXPECT_TRUE(bar->GetMiddleRect().IsEmpty());
    const juce::Image picture = WidgetTest::Render(*bar);
    const juce::Colour back = WidgetTest::Colour(bar->GetBackColor());
    for (int y = 0; y < picture.getHeight(); ++y)
        for (int x = 0; x < picture.getWidth(); ++x)
            ASSERT_EQ(Pixel(picture, x, y), back) << x << "," << y;
}

TEST_F(TitleBarTest, TheTypeWordsMakeFramesAndTitleBarsDrawnInTheSkin)
{
    const WidgetTest::WidgetTypeWords typeWords;
    std::unique_ptr<XView> frame(XView::CreateViewByName("WindowFrame"));
    std::unique_ptr<XView> title(XView::CreateViewByName("TitleBar"));
    EXPECT_NE(dynamic_cast<XWindowFrame*>(frame.get()), nullptr);
    EXPECT_NE(dynamic_cast<XTitleBar*>(title.get()), nullptr);

    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    root.SetFrameXYWH(0, 0, 300, 140);
    auto* frameView = new XWindowFrame();
    frameView->SetFrame(XRect(10, 10, 290, 130));
    frameView->SetLabel("Frame", false);
    root.AddChild(frameView);
    XTitleBar* bar = AddTitleBar("Crossover", 2);
    bar->SetFrame(XRect(20, 40, 280, 40 + bar->GetHeight()));
    root.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return root.isShowing(); }, 5000));
    GuiTestSupport::TakeScreenshot(root, "WindowFrameInSkin");
    const juce::Image picture = GuiTestSupport::TakeScreenshot(*bar, "TitleBarInSkin");
    EXPECT_EQ(picture.getHeight(), bar->GetFrameImage(XTitleBar::kLeftSlot)->GetHeight());
    root.removeFromDesktop();
}
} // namespace
