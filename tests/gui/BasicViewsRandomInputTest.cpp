#include "core/XMessage.h"
#include "gui/JUCECanvas.h"
#include "gui/XCircle.h"
#include "gui/XFill.h"
#include "gui/XFrame.h"
#include "gui/XLine.h"
#include "gui/XPict.h"
#include "gui/XScaler.h"
#include "gui/XScrollPane.h"
#include "gui/XStyle.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace
{
/** Numbers a mistyped description may hold: small, negative and extreme. */
int32_t RandomNumber(std::mt19937& random)
{
    static const int32_t kEdges[] = {0, 1, -1, 2, 3, 16, 100, -100, 100000, -100000, INT32_MAX, INT32_MIN};
    if (random() % 2 == 0)
        return kEdges[random() % (sizeof kEdges / sizeof kEdges[0])];
    return static_cast<int32_t>(random() % 400) - 100;
}

/** A coordinate: RandomNumber kept to what a window can hold, since frames past the coordinate
    range are the base view's business. */
int32_t RandomCoordinate(std::mt19937& random)
{
    constexpr int32_t kLimit = 100000;
    return std::max(-kLimit, std::min(RandomNumber(random), kLimit));
}

/** A description block of the keys the basic views read, each of a random type and value. */
XMessage RandomBlock(std::mt19937& random)
{
    static const char* const kKeys[] = {"frame",          "imagename",       "currentArrayIndex",
                                        "imageArrayBase", "imageCount",      "tilecount",
                                        "tileDirection",  "param",           "stretch",
                                        "effect",         "effectsize",      "linewidth",
                                        "location",       "framewidth",      "style",
                                        "drawFrame",      "useScrollImages", "stepsize",
                                        "marquee period", "horizontal",      "buttons",
                                        "hasOverview",    "scrollForecolor"};
    static const char* const kTexts[] = {"",
                                         "%d",
                                         "%D%d%s",
                                         "widgets/tile.png",
                                         "widgets/pot/pot",
                                         "vertical",
                                         "sunken",
                                         "marquee",
                                         "showVScroll,showHScroll",
                                         "useImages",
                                         "nonsense",
                                         "255,0,0",
                                         "widgets/leds/redon.png"};
    XMessage block;
    const int items = static_cast<int>(random() % 10);
    for (int item = 0; item < items; ++item)
    {
        const char* key = kKeys[random() % (sizeof kKeys / sizeof kKeys[0])];
        switch (random() % 6)
        {
        case 0:
            block.AddInt32(key, RandomNumber(random));
            break;
        case 1:
            block.AddBool(key, random() % 2 == 0);
            break;
        case 2:
            block.AddString(key, kTexts[random() % (sizeof kTexts / sizeof kTexts[0])]);
            break;
        case 3:
            block.AddRect(key, XRect(RandomCoordinate(random), RandomCoordinate(random),
                                     RandomCoordinate(random), RandomCoordinate(random)));
            break;
        case 4:
            block.AddPoint(key, XPoint(RandomCoordinate(random), RandomCoordinate(random)));
            break;
        default:
            block.AddColor(key, XRGB(static_cast<uint8_t>(random()), 0, 0));
            break;
        }
    }
    return block;
}

/** Reads the block, styles, draws on a small canvas and clicks, drags and wheels at random. */
void Exercise(XView& view, XMessage& block, std::mt19937& random)
{
    view.ReadAttributes(block);
    view.ApplyStyle();
    view.setVisible(true);
    JUCECanvas canvas(64, 64);
    view.Draw(canvas);
    for (int event = 0; event < 4; ++event)
    {
        const XPoint point(RandomNumber(random) % 300, RandomNumber(random) % 300);
        view.MouseDown(point, XView::kButtonLeft);
        view.MouseMoved(XPoint(point.x + RandomNumber(random) % 50, point.y + RandomNumber(random) % 50),
                        XView::kButtonLeft);
        view.MouseUp(point, XView::kButtonLeft);
        view.MouseWheel(point, RandomNumber(random) % 3);
    }
    view.Draw(canvas);
}

/** The view tree stays whole: every view below view names its parent, and no bounds are inverted. */
void ExpectTreeWhole(XView& view)
{
    const XRect bounds = view.GetBounds();
    EXPECT_LE(bounds.left, bounds.right);
    EXPECT_LE(bounds.top, bounds.bottom);
    for (int i = 0; i < view.getNumChildComponents(); ++i)
        if (auto* child = dynamic_cast<XView*>(view.getChildComponent(i)))
        {
            EXPECT_EQ(child->GetParentView(), &view);
            ExpectTreeWhole(*child);
        }
}
} // namespace

TEST(BasicViewsRandomInput, RandomDescriptionBlocksNeitherCrashNorHang)
{
    const juce::File system = SkinTestSupport::BuiltSystemFolder();
    SkinTestSupport::LoadSkinTables(system);
    GetResourceManager().SetBaseFolder(system.getFullPathName().toRawUTF8());
    if (GetResourceManager().CountSkinFolders() == 0)
        GetResourceManager().AddSkinFolder(SkinTestSupport::kSkinFolder);
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    ViewTest::Application();

    const std::vector<std::function<std::unique_ptr<XView>()>> makers = {
        [] { return std::make_unique<XPict>(); },
        [] { return std::unique_ptr<XView>(new XFill()); },
        [] { return std::unique_ptr<XView>(new XCircle()); },
        [] { return std::make_unique<XLine>(); },
        [] { return std::make_unique<XFrame>(); },
        [] { return std::make_unique<XScaler>(); },
        [] { return std::make_unique<XScrollPane>(); },
    };
    const int32_t viewsBefore = XView::CountLiveViews();
    std::mt19937 random(20261210);
    for (int round = 0; round < 150; ++round)
    {
        for (const auto& make : makers)
        {
            std::unique_ptr<XView> view = make();
            XMessage block = RandomBlock(random);
            Exercise(*view, block, random);
            if (auto* pane = dynamic_cast<XScrollPane*>(view.get()))
            {
                pane->AddChild(
                    new XView(XRect(0, 0, RandomNumber(random) % 500, RandomNumber(random) % 500)));
                pane->StepScroll(random() % 2 == 0, random() % 2 == 0);
                pane->SetScrollPosition(RandomNumber(random), random() % 2 == 0);
                for (const bool horizontal : {false, true})
                {
                    const int32_t position = pane->GetScrollPosition(horizontal);
                    EXPECT_GE(position, 0);
                    EXPECT_LE(position, std::max(0, pane->GetScrollRange(horizontal) -
                                                        pane->GetVisibleSize(horizontal)));
                }
            }
            ExpectTreeWhole(*view);
            view.reset();
            // Every view made for the round, the bars and children too, is gone with its owner.
            ASSERT_EQ(XView::CountLiveViews(), viewsBefore) << "round " << round;
        }
    }
    XStyle::SetCurrentStyle(nullptr);
}

TEST(BasicViewsRandomInput, HugeTileCountsAndLineWidthsAreCutToWhatCanBeDrawn)
{
    const juce::File system = SkinTestSupport::BuiltSystemFolder();
    GetResourceManager().SetBaseFolder(system.getFullPathName().toRawUTF8());
    if (GetResourceManager().CountSkinFolders() == 0)
        GetResourceManager().AddSkinFolder(SkinTestSupport::kSkinFolder);

    XPict tiles;
    XMessage block;
    block.AddString("imagename", "widgets/tile.png");
    block.AddInt32("tilecount", INT32_MAX);
    tiles.ReadAttributes(block);
    EXPECT_EQ(tiles.GetTileCount(), XPict::kMaxTiledLength / 16);
    EXPECT_EQ(tiles.GetWidth(), XPict::kMaxTiledLength);

    std::unique_ptr<XCircle> circle(new XCircle());
    XMessage wide;
    wide.AddRect("frame", XRect(0, 0, 20, 20));
    wide.AddInt32("linewidth", INT32_MAX);
    circle->ReadAttributes(wide);
    JUCECanvas canvas(20, 20);
    circle->Draw(canvas); // returns once the rings reach the centre
    EXPECT_EQ(circle->GetLineWidth(), INT32_MAX);
}
