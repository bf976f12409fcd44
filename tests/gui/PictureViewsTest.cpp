#include "core/XMessage.h"
#include "gui/JUCECanvas.h"
#include "gui/XCircle.h"
#include "gui/XFill.h"
#include "gui/XFrame.h"
#include "gui/XImage.h"
#include "gui/XLine.h"
#include "gui/XPict.h"
#include "gui/XStyle.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using ViewTest::MakeParam;

/** The program's resource manager on the build's skin, and a current style. */
class PictureViewsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const juce::File system = SkinTestSupport::BuiltSystemFolder();
        ASSERT_TRUE(system.isDirectory());
        SkinTestSupport::LoadSkinTables(system);
        GetResourceManager().SetBaseFolder(system.getFullPathName().toRawUTF8());
        if (GetResourceManager().CountSkinFolders() == 0)
            GetResourceManager().AddSkinFolder(SkinTestSupport::kSkinFolder);
        XStyle::SetCurrentStyle(&style);
    }
    void TearDown() override { XStyle::SetCurrentStyle(nullptr); }

    static XImage* Skin(const char* name) { return GetResourceManager().GetImage(name); }

    /** The view drawn on a cleared ARGB image of its size. */
    static juce::Image Render(XView& view)
    {
        JUCECanvas canvas(view.GetWidth(), view.GetHeight());
        view.Draw(canvas);
        juce::Image picture(juce::Image::ARGB, view.GetWidth(), view.GetHeight(), true);
        juce::Graphics g(picture);
        JUCECanvas target(g, view.GetWidth(), view.GetHeight());
        view.Draw(target);
        return picture;
    }

    XStyle style;
};

TEST_F(PictureViewsTest, APictureBoundToAParameterShowsTheImageOfTheTruncatedValueAndKeepsItOutOfRange)
{
    auto param = MakeParam(-5, 5);
    XPict pict;
    XMessage block;
    for (const char* name :
         {"widgets\\leds\\greenon.png", "widgets\\leds\\amberon.png", "widgets\\leds\\redon.png"})
        block.AddString("imagename", name);
    block.AddPointer("param", param.get());
    block.AddRect("frame", XRect(5, 6, 100, 100));
    pict.ReadAttributes(block);
    ASSERT_EQ(pict.CountImages(), 3);
    EXPECT_EQ(pict.GetFrame(), XRect(5, 6, 15, 16)) << "not stretched: the first image's size";
    EXPECT_EQ(pict.GetBoundParam(), param.get());

    struct Case
    {
        double value;
        int32_t index;
    };
    for (const Case& c : {Case{1.7, 1}, Case{3, 1}, Case{-1, 1}, Case{2, 2}, Case{0, 0}})
    {
        param->SetValue(c.value, false);
        pict.ParamChanged(static_cast<int32_t>(XMsgCode::kParamValueSet), param.get(), 0);
        EXPECT_EQ(pict.GetCurrentIndex(), c.index) << c.value;
    }
    param.reset();
    EXPECT_EQ(pict.GetBoundParam(), nullptr) << "a destroyed parameter is forgotten";
}

TEST_F(PictureViewsTest, ASingleImageTilesAcrossOrDownAndNamesAreNumberedOrSequenced)
{
    struct Case
    {
        const char* direction;
        XRect frame;
    };
    for (const Case& c : {Case{nullptr, XRect(0, 0, 80, 16)}, Case{"vertical", XRect(0, 0, 16, 80)},
                          Case{"vert", XRect(0, 0, 16, 80)}, Case{"Vertical", XRect(0, 0, 80, 16)}})
    {
        XPict pict;
        XMessage block;
        block.AddString("imagename", "widgets/tile.png");
        block.AddInt32("tilecount", 5);
        if (c.direction != nullptr)
            block.AddString("tileDirection", c.direction);
        pict.ReadAttributes(block);
        EXPECT_EQ(pict.GetFrame(), c.frame) << (c.direction ? c.direction : "none");
        const juce::Image picture = Render(pict);
        const juce::Image tile = *Skin("widgets/tile.png")->GetJuceImage();
        const int lastX = pict.GetWidth() - 16 + 3;
        const int lastY = pict.GetHeight() - 16 + 3;
        EXPECT_EQ(picture.getPixelAt(lastX, lastY), tile.getPixelAt(3, 3)) << "the last copy is drawn";
    }

    XPict numbered;
    XMessage block;
    block.AddString("imagename", "widgets/channels/tab%D.png");
    block.AddInt32("currentArrayIndex", 3);
    numbered.ReadAttributes(block);
    ASSERT_EQ(numbered.CountImages(), 1);
    EXPECT_EQ(numbered.GetImageAt(0), Skin("widgets/channels/tab3.png"));

    XPict unformatted;
    XMessage literal;
    literal.AddString("imagename", "widgets/channels/tab%d.png");
    unformatted.ReadAttributes(literal);
    EXPECT_EQ(unformatted.CountImages(), 0) << "without an index the name is used as written";

    XPict sequence;
    XMessage sequenced;
    sequenced.AddString("imageArrayBase", "widgets/pot/pot");
    sequenced.AddInt32("imageCount", 64);
    sequence.ReadAttributes(sequenced);
    EXPECT_EQ(sequence.CountImages(), 64);
}

TEST_F(PictureViewsTest, RgbImagesMakeAnOpaquePictureArgbImagesATransparentOneAndStretchScales)
{
    XPict opaque(XRect(0, 0, 10, 10), "opaque", "backgrounds/window.png", true);
    opaque.ApplyStyle();
    EXPECT_EQ(opaque.GetFrame(), XRect(0, 0, 400, 300));
    EXPECT_FALSE(opaque.IsTransparent());

    XPict transparent(XRect(0, 0, 10, 10), "alpha", "widgets/leds/redon.png", false);
    transparent.ApplyStyle();
    EXPECT_TRUE(transparent.IsTransparent());

    XPict stretched;
    XMessage block;
    block.AddString("imagename", "widgets/tile.png");
    block.AddBool("stretch", true);
    block.AddRect("frame", XRect(0, 0, 64, 64));
    stretched.ReadAttributes(block);
    EXPECT_EQ(stretched.GetFrame(), XRect(0, 0, 64, 64));
    const juce::Image picture = Render(stretched);
    EXPECT_EQ(picture.getPixelAt(62, 62).getAlpha(), 255) << "the image covers the whole frame";

    XPict empty;
    empty.SetFrame(XRect(0, 0, 8, 8));
    EXPECT_EQ(Render(empty).getPixelAt(4, 4), juce::Colours::white) << "no image: opaque white";

    XPict owned;
    owned.SetImage(std::make_unique<XImage>(juce::Image(juce::Image::RGB, 7, 9, true)), true);
    EXPECT_EQ(owned.GetFrame(), XRect(0, 0, 7, 9));
    owned.SetImageByName("widgets/tile.png", false);
    EXPECT_EQ(owned.GetImageAt(0), Skin("widgets/tile.png"));
}

TEST_F(PictureViewsTest, ABorrowedImageIsShownAsItChangesAndOutlivesThePicture)
{
    juce::Image pixels(juce::Image::RGB, 2, 1, true);
    pixels.setPixelAt(0, 0, juce::Colours::red);
    auto lent = std::make_unique<XImage>(pixels);
    {
        XPict pict;
        pict.SetImage(std::make_unique<XImage>(juce::Image(juce::Image::RGB, 7, 9, true)), true);
        pict.SetFrame(XRect(0, 0, 12, 10));
        pict.SetBorrowedImage(lent.get(), false);
        EXPECT_EQ(pict.GetFrame(), XRect(0, 0, 12, 10)) << "no resize";
        EXPECT_EQ(pict.CountImages(), 1);
        EXPECT_EQ(pict.GetImageAt(0), lent.get());

        // Stretched without smoothing, and drawn as the lender changes it.
        pict.SetResampling(XCanvas::Resampling::kNearest);
        EXPECT_EQ(Render(pict).getPixelAt(5, 5), juce::Colours::red);
        EXPECT_EQ(Render(pict).getPixelAt(6, 5), juce::Colours::black);
        juce::Image shared = *lent->GetJuceImage();
        shared.setPixelAt(1, 0, juce::Colours::blue);
        EXPECT_EQ(Render(pict).getPixelAt(6, 5), juce::Colours::blue);

        pict.SetBorrowedImage(nullptr, true);
        EXPECT_EQ(pict.GetImageAt(0), lent.get()) << "null changes nothing";
    }
    EXPECT_EQ(lent->GetWidth(), 2) << "the picture left the lender's image alone";
}

TEST_F(PictureViewsTest, CirclesComeFromTheirPoolAreSquareAndGrowInwards)
{
    const int32_t before = XCircle::CountPooledBlocks();
    std::unique_ptr<XView> view(XView::CreateViewByName("circle"));
    auto* circle = dynamic_cast<XCircle*>(view.get());
    if (circle == nullptr)
    {
        view.reset(new XCircle());
        circle = static_cast<XCircle*>(view.get());
    }
    EXPECT_EQ(XCircle::CountPooledBlocks(), before + 1);
    EXPECT_TRUE(circle->IsTransparent());

    XMessage block;
    block.AddRect("frame", XRect(0, 0, 40, 30));
    block.AddInt32("linewidth", 3);
    block.AddColor("forecolor", XRGB(255, 0, 0));
    circle->ReadAttributes(block);
    EXPECT_EQ(circle->GetFrame(), XRect(0, 0, 30, 30));
    EXPECT_EQ(circle->GetLineWidth(), 3);
    XMessage ignored;
    ignored.AddInt32("linewidth", 0);
    circle->ReadAttributes(ignored);
    EXPECT_EQ(circle->GetLineWidth(), 3);

    const juce::Image picture = Render(*circle);
    EXPECT_GT(picture.getPixelAt(15, 1).getRed(), 200) << "the ring";
    EXPECT_GT(picture.getPixelAt(15, 2).getRed(), 200) << "three pixels thick";
    EXPECT_EQ(picture.getPixelAt(15, 15).getAlpha(), 0) << "the inside stays clear";
    view.reset();
    EXPECT_EQ(XCircle::CountPooledBlocks(), before);

    const int32_t fills = XFill::CountPooledBlocks();
    {
        std::unique_ptr<XFill> fill(new XFill());
        EXPECT_EQ(XFill::CountPooledBlocks(), fills + 1);
        XMessage sunken;
        sunken.AddString("effect", "sunken");
        sunken.AddInt32("effectsize", 2);
        sunken.AddRect("frame", XRect(0, 0, 10, 10));
        sunken.AddColor("forecolor", XRGB(0, 255, 0));
        fill->ReadAttributes(sunken);
        EXPECT_EQ(fill->GetEffect(), XFill::kEffectSunken);
        EXPECT_EQ(fill->GetEffectSize(), 2);
        fill->setVisible(true);
        EXPECT_EQ(Render(*fill).getPixelAt(5, 5), juce::Colour(0, 255, 0)) << "filled in the fore colour";
    }
    EXPECT_EQ(XFill::CountPooledBlocks(), fills);
}

TEST_F(PictureViewsTest, LinesGetAFrameThatHoldsBothPointsWhateverTheirOrder)
{
    struct Case
    {
        XPoint from;
        XPoint to;
        XRect frame;
        XPoint start;
        XPoint end;
        bool transparent;
    };
    const Case cases[] = {
        {{10, 20}, {60, 20}, XRect(10, 20, 60, 21), {0, 0}, {50, 0}, false},
        {{60, 10}, {10, 40}, XRect(10, 10, 60, 40), {50, 0}, {0, 30}, true},
        {{5, 40}, {5, 10}, XRect(5, 10, 6, 40), {0, 30}, {0, 0}, false},
    };
    for (const Case& c : cases)
    {
        XLine line;
        XMessage block;
        block.AddPoint("location", c.from);
        block.AddPoint("location", c.to);
        line.ReadAttributes(block);
        EXPECT_EQ(line.GetFrame(), c.frame);
        EXPECT_EQ(line.GetStart().x, c.start.x);
        EXPECT_EQ(line.GetStart().y, c.start.y);
        EXPECT_EQ(line.GetEnd().x, c.end.x);
        EXPECT_EQ(line.GetEnd().y, c.end.y);
        EXPECT_EQ(line.IsTransparent(), c.transparent);
    }

    XLine diagonal;
    XMessage block;
    block.AddRect("frame", XRect(0, 0, 20, 20));
    block.AddColor("forecolor", XRGB(0, 0, 255));
    diagonal.ReadAttributes(block);
    EXPECT_EQ(diagonal.GetEnd().x, 20);
    EXPECT_GT(Render(diagonal).getPixelAt(10, 10).getBlue(), 200);
}

TEST_F(PictureViewsTest, FrameWidthIsAPropertyThatDescriptionsSetOnlyToPositiveValues)
{
    XFrame frame;
    const XProperty* property = frame.FindProperty("FrameWidth");
    ASSERT_NE(property, nullptr);
    EXPECT_EQ(property->GetInfo().typeName, XString("int32"));
    EXPECT_EQ(frame.GetFrameWidth(), 1);
    for (int32_t width : {3, 0, -2})
    {
        XMessage block;
        block.AddInt32("framewidth", width);
        frame.ReadAttributes(block);
        EXPECT_EQ(frame.GetFrameWidth(), 3) << width;
    }
    frame.FindProperty("FrameWidth")->FromString("2");
    EXPECT_EQ(frame.GetFrameWidth(), 2);

    XMessage block;
    block.AddRect("frame", XRect(0, 0, 30, 20));
    block.AddColor("forecolor", XRGB(255, 255, 0));
    block.AddColor("backcolor", XRGB(0, 0, 0));
    frame.ReadAttributes(block);
    frame.setVisible(true);
    const juce::Image picture = Render(frame);
    EXPECT_EQ(picture.getPixelAt(0, 10), juce::Colour(255, 255, 0));
    EXPECT_EQ(picture.getPixelAt(1, 10), juce::Colour(255, 255, 0)) << "two outlines";
    EXPECT_EQ(picture.getPixelAt(2, 10), juce::Colour(0, 0, 0));
}
} // namespace
