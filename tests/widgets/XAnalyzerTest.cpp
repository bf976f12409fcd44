#include "widgets/XAnalyzer.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
TEST(XAnalyzerTest, TheCubicPassesThroughItsFourPoints)
{
    const float p[4] = {1.0f, -2.0f, 5.0f, 0.5f};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(XAnalyzer::CubicInterpolate4(p[0], p[1], p[2], p[3], static_cast<float>(k)), p[k], 1e-4f)
            << k;
    // A straight line stays straight between the points.
    EXPECT_NEAR(XAnalyzer::CubicInterpolate4(0, 1, 2, 3, 1.5f), 1.5f, 1e-5f);
}

TEST(XAnalyzerTest, LevelsAreWeightedByOverlapOrInterpolatedBelowOneBin)
{
    XAnalyzer analyzer;
    EXPECT_EQ(analyzer.GetLevel(0, 4), 0.0f); // no data: the minimum level
    analyzer.SetSpectrum({0, 10, 20, 30, 40, 50, 60, 70}, 0, 70);
    EXPECT_FLOAT_EQ(analyzer.GetLevel(0, 2), 5.0f);
    EXPECT_FLOAT_EQ(analyzer.GetLevel(1.5, 3.5), 20.0f);
    EXPECT_NEAR(analyzer.GetLevel(3.25, 3.75), 30.0f, 1e-3f); // bin 3's middle
    EXPECT_NEAR(analyzer.GetLevel(3.75, 4.25), 35.0f, 1e-3f); // a ramp is linear between the middles
    EXPECT_NEAR(analyzer.GetLevel(7.5, 7.9), 70.0f, 1e-3f);   // held beyond the last middle
    EXPECT_FLOAT_EQ(analyzer.GetLevel(-5, 100), 35.0f);       // held to the bins

    std::vector<float> bars;
    analyzer.GetBarValues(4, bars);
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_FLOAT_EQ(bars[0], 5.0f / 70.0f);
    EXPECT_FLOAT_EQ(bars[3], 65.0f / 70.0f);
}

TEST(XAnalyzerTest, ColumnsCoverTheBinsOrTheAxisAndStayInsideTheHeight)
{
    XAnalyzer analyzer;
    std::vector<int32_t> columns{1, 2, 3};
    analyzer.ResampleToColumns(columns, 100, 50, 48000);
    EXPECT_TRUE(columns.empty());

    analyzer.SetSpectrum(std::vector<float>(256, -20.0f), -60.0f, 0.0f);
    analyzer.ResampleToColumns(columns, 100, 51, 48000);
    ASSERT_EQ(columns.size(), 100u);
    for (int32_t value : columns)
        EXPECT_EQ(value, 33); // (40 / 60) * 50
    analyzer.SetLogarithmic(false);
    analyzer.SetBinMode(true);
    analyzer.SetSpectrum(std::vector<float>(256, 10.0f), -60.0f, 0.0f); // above the maximum
    analyzer.ResampleToColumns(columns, 300, 51, 48000);
    ASSERT_EQ(columns.size(), 300u);
    EXPECT_EQ(columns.front(), 49);
    EXPECT_EQ(columns.back(), 49);
    analyzer.SetSpectrum(std::vector<float>(16, 1.0f), 1.0f, 1.0f); // an empty level range
    analyzer.ResampleToColumns(columns, 10, 20, 48000);
    EXPECT_EQ(columns, std::vector<int32_t>(10, 0));
}
} // namespace
