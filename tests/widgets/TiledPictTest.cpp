#include "widgets/TiledPict.h"

#include "WidgetTestSupport.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using WidgetTest::Pixel;

/** A 4 x 3 tile whose first column is red and the rest blue, so each tile's left edge shows. */
std::unique_ptr<XImage> MarkedTile()
{
    juce::Image tile(juce::Image::RGB, 4, 3, true);
    juce::Graphics g(tile);
    g.fillAll(juce::Colours::blue);
    g.setColour(juce::Colours::red);
    g.fillRect(0, 0, 1, 3);
    return std::make_unique<XImage>(tile);
}

class TiledPictTest : public WidgetTest::WidgetTree
{
};

TEST_F(TiledPictTest, TilesStartAtTheCornerAndAPartlyCoveredColumnOrRowIsDrawnClipped)
{
    struct Case
    {
        int32_t width;
        int32_t height;
        std::vector<int> redColumns;
    };
    for (const Case& test : {Case{8, 6, {0, 4}}, Case{9, 7, {0, 4, 8}}})
    {
        auto* picture = new TiledPict(XRect(0, 0, test.width, test.height), nullptr, XView::kResizeAll);
        picture->SetImage(MarkedTile(), false);
        root.AddChild(picture);
        EXPECT_EQ(picture->GetFrame(), XRect(0, 0, test.width, test.height)) << "the frame keeps its size";
        EXPECT_EQ(picture->GetResizeMask(), XView::kResizeAll);
        const juce::Image drawn = WidgetTest::Render(*picture);
        std::vector<int> red;
        for (int x = 0; x < test.width; ++x)
        {
            if (Pixel(drawn, x, 0) == juce::Colours::red)
                red.push_back(x);
            EXPECT_NE(Pixel(drawn, x, test.height - 1), juce::Colours::white) << "every row covered, x " << x;
        }
        EXPECT_EQ(red, test.redColumns) << test.width << " wide";
    }
}

TEST_F(TiledPictTest, APictureWithoutAnImageDrawsNothing)
{
    auto* picture = new TiledPict(XRect(0, 0, 20, 10), "noSuchTile.png", XView::kResizeAll);
    root.AddChild(picture);
    EXPECT_EQ(picture->CountImages(), 0);
    const juce::Image drawn = WidgetTest::Render(*picture);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y)
            ASSERT_EQ(Pixel(drawn, x, y), juce::Colours::white);
}

/** The main window's background tile over a window-sized area, for a person to judge. */
TEST_F(TiledPictTest, ScreenshotOfTheMainWindowBackground)
{
    if (!WidgetTest::UseBuiltSkin() || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    auto* background = new TiledPict(XRect(0, 0, 400, 300), "kstBackgroundTile.png", XView::kResizeAll);
    root.AddChild(background);
    ASSERT_EQ(background->CountImages(), 1);
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(root, "MainWindowBackground");
    // The view follows its parent's size on every edge.
    root.SetFrameXYWH(0, 0, 500, 350);
    EXPECT_EQ(background->GetFrame(), XRect(0, 0, 500, 350));
}
} // namespace
