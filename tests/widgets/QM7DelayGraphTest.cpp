#include "widgets/QM7DelayGraph.h"

#include "WidgetTestSupport.h"
#include "device/DelayUnits.h"
#include "gui/XColorDictionary.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
using ViewTest::MakeParam;
using WidgetTest::Pixel;

// The output delay window's scale (880 ms over 469 pixels, delay 0 at column 130), moved 13 further
// by an origin offset.
constexpr int32_t kOrigin = 130;
constexpr int32_t kOffset = 13;
constexpr int32_t kDivisor = 469;
constexpr double kValue = 880.0;

class DelayGraphTest : public WidgetTest::WidgetTree
{
protected:
    void SetUp() override
    {
        WidgetTest::WidgetTree::SetUp();
        units = MakeParam(0, 5, "OutDelayUnits");
        temperature = MakeParam(-20, 50, "Temp");
        ASSERT_TRUE(temperature->SetPath("%s", QM7DelayGraph::kTemperaturePath));
        temperature->SetValue(20, false);
        root.SetFrameXYWH(0, 0, 520, 120);
    }

    QM7DelayGraph* AddGraph()
    {
        auto* graph = new QM7DelayGraph(XRect(0, 0, 515, 100), kOrigin, units.get());
        graph->SetOriginOffset(kOffset);
        graph->SetScale(kDivisor, kValue);
        root.AddChild(graph);
        return graph;
    }

    /** What the graph draws on black. */
    static juce::Image Render(QM7DelayGraph& graph)
    {
        JUCECanvas canvas(graph.GetWidth(), graph.GetHeight());
        canvas.FillRectColour(graph.GetBounds(), XRGB(0, 0, 0));
        graph.Draw(canvas);
        return canvas.GetImage().createCopy();
    }

    /** The columns of the bottom row that the scale's lines colour. */
    static std::vector<int> LineColumns(QM7DelayGraph& graph)
    {
        const juce::Image drawn = Render(graph);
        std::vector<int> columns;
        for (int x = 0; x < drawn.getWidth(); ++x)
            if (Pixel(drawn, x, drawn.getHeight() - 1) != juce::Colours::black)
                columns.push_back(x);
        return columns;
    }

    std::unique_ptr<FloatParam> units;
    std::unique_ptr<FloatParam> temperature;
};

TEST_F(DelayGraphTest, EachUnitHasItsNameGridStepAndDistanceInPixels)
{
    QM7DelayGraph* graph = AddGraph();
    const double msPerPixel = kValue / kDivisor;
    struct Case
    {
        int32_t unit;
        const char* name;
        int32_t step;
        double stepMs;
    };
    const Case cases[] = {
        {0, "ms", 100, 100.0},
        {1, "us", 100000, 100.0},
        {2, "ft", 100, FeetToDelayMs(100)},
        {3, "in", 1000, FeetToDelayMs(1000 / 12.0)},
        {4, "m", 25, MetersToDelayMs(25)},
        {5, "cm", 2500, MetersToDelayMs(25)},
    };
    for (const Case& test : cases)
    {
        units->SetValue(test.unit, false);
        EXPECT_EQ(graph->GetUnit(), test.unit);
        EXPECT_STREQ(QM7DelayGraph::GetUnitName(test.unit).CStr(), test.name);
        EXPECT_EQ(graph->GetGridStep(), test.step) << test.name;
        EXPECT_EQ(graph->ToPixels(test.step), static_cast<int32_t>(test.stepMs / msPerPixel)) << test.name;
        EXPECT_EQ(graph->ToPixels(-test.step), -graph->ToPixels(test.step)) << test.name;
    }
    EXPECT_STREQ(QM7DelayGraph::GetUnitName(6).CStr(), "---");
    EXPECT_STREQ(QM7DelayGraph::GetUnitName(-1).CStr(), "---");
}

TEST_F(DelayGraphTest, TheTemperatureMovesTheDistancesButNotTheTimes)
{
    QM7DelayGraph* graph = AddGraph();
    for (int32_t unit = 0; unit <= 5; ++unit)
    {
        units->SetValue(unit, false);
        temperature->SetValue(20, false);
        const std::vector<int> warm = LineColumns(*graph);
        const int32_t warmStep = graph->ToPixels(graph->GetGridStep());
        temperature->SetValue(-10, false);
        const std::vector<int> cold = LineColumns(*graph);
        const bool distance = unit >= QM7DelayGraph::kUnitFeet;
        EXPECT_EQ(warm != cold, distance) << QM7DelayGraph::GetUnitName(unit).CStr();
        // Sound is slower in the cold: the same distance takes longer.
        if (distance)
        {
            EXPECT_GT(graph->ToPixels(graph->GetGridStep()), warmStep);
        }
    }
}

TEST_F(DelayGraphTest, MicrosecondsDrawTheirLinesWhereTheSameTimesInMillisecondsFall)
{
    QM7DelayGraph* graph = AddGraph();
    units->SetValue(QM7DelayGraph::kUnitMs, false);
    const std::vector<int> ms = LineColumns(*graph);
    units->SetValue(QM7DelayGraph::kUnitUs, false);
    EXPECT_EQ(LineColumns(*graph), ms);
    // The zero line, then lines right and left of it every 53 pixels, inside the view.
    ASSERT_FALSE(ms.empty());
    const int32_t x0 = kOrigin + kOffset;
    EXPECT_NE(std::find(ms.begin(), ms.end(), x0), ms.end());
    EXPECT_NE(std::find(ms.begin(), ms.end(), x0 + 53), ms.end());
    EXPECT_NE(std::find(ms.begin(), ms.end(), x0 - 53), ms.end());
    EXPECT_EQ(ms.size(), 9u) << "zero, 6 to the right of it (700 ms is past 515 pixels), 2 to the left";
}

TEST_F(DelayGraphTest, AScaleWithoutDistanceOrAnUnknownUnitDrawsNoGrid)
{
    QM7DelayGraph* graph = AddGraph();
    graph->SetScale(0, kValue);
    EXPECT_EQ(graph->ToPixels(100), 0);
    EXPECT_EQ(LineColumns(*graph), (std::vector<int>{kOrigin + kOffset}))
        << "only the zero line; the runs end";
    graph->SetScale(kDivisor, 0.0);
    EXPECT_EQ(LineColumns(*graph).size(), 1u);

    graph->SetScale(kDivisor, kValue);
    units->SetValue(5, false);
    units->SetMax(9);
    units->SetValue(9, false);
    EXPECT_EQ(graph->ToPixels(100), 0);
    const juce::Image drawn = Render(*graph);
    for (int x = 0; x < drawn.getWidth(); ++x)
        for (int y = 0; y < drawn.getHeight(); ++y)
            ASSERT_EQ(Pixel(drawn, x, y), juce::Colours::black) << "nothing drawn at " << x << "," << y;
}

TEST_F(DelayGraphTest, AGraphWithoutAUnitsParameterShowsMilliseconds)
{
    auto* graph = new QM7DelayGraph(XRect(0, 0, 200, 60), 20, nullptr);
    root.AddChild(graph);
    EXPECT_EQ(graph->GetUnit(), QM7DelayGraph::kUnitMs);
    EXPECT_TRUE(graph->IsTransparent());
    QM7DelayGraph* bound = AddGraph();
    units->SetValue(QM7DelayGraph::kUnitFeet, false);
    units.reset(); // a graph whose parameter goes keeps drawing, in milliseconds
    EXPECT_EQ(bound->GetUnit(), QM7DelayGraph::kUnitMs);
    EXPECT_FALSE(LineColumns(*bound).empty());
}

/** The output delay window's scale in feet on the skin's background, for a person to judge. */
TEST_F(DelayGraphTest, ScreenshotOfTheScaleInFeet)
{
    if (!WidgetTest::UseBuiltSkin() || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    units->SetValue(QM7DelayGraph::kUnitFeet, false);
    AddGraph();
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(root, "DelayGraphFeet");
}
} // namespace
