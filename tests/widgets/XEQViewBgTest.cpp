#include "widgets/XEQViewBg.h"

#include "gui/JUCECanvas.h"
#include "gui/XFont.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace
{
class EQViewBgTest : public ::testing::Test
{
protected:
    void SetUp() override { ViewTest::Application(); }
};

TEST_F(EQViewBgTest, TheLabelBandLiesBelowTheGraphInsideTheGrownFrame)
{
    XEQViewBg background(XRect(10, 20, 610, 220));
    EXPECT_TRUE(background.IsTransparent());
    EXPECT_EQ(background.GetWidth(), 600);
    EXPECT_EQ(background.GetHeight(), 224);
    EXPECT_EQ(background.GetGraphFrame(), XRect(0, 0, 600, 200));
    EXPECT_EQ(background.GetLabelBand().top, 204);
    EXPECT_EQ(background.GetLabelBand().bottom, 228);

    background.SetLabelBand(230, 250); // parent coordinates
    EXPECT_EQ(background.GetLabelBand().top, 210);
    EXPECT_EQ(background.GetLabelBand().bottom, 230);
    background.OffsetLabelBand(-5);
    EXPECT_EQ(background.GetLabelBand().top, 205);
    EXPECT_EQ(background.GetLabelBand().bottom, 225);
}

TEST_F(EQViewBgTest, FrequenciesMapToTheEQViewsAxisAndLabelOnlyOnesTwosAndFives)
{
    XEQViewBg background(XRect(0, 0, 600, 100));
    struct Case
    {
        double frequency;
        int32_t x;
        const char* label;
    };
    const Case cases[] = {{20, 2, "20"},       {30, 37, ""},       {50, 81, "50"},    {100, 141, "100"},
                          {300, 236, ""},      {1000, 340, "1k"},  {2000, 399, "2k"}, {5000, 478, "5k"},
                          {10000, 538, "10k"}, {20000, 598, "20k"}};
    for (const Case& c : cases)
    {
        EXPECT_STREQ(XEQViewBg::FrequencyLabel(c.frequency).CStr(), c.label) << c.frequency;
        EXPECT_EQ(background.FrequencyToX(c.frequency), c.x) << c.frequency;
    }
    EXPECT_LT(background.FrequencyToX(0), -1000); // finite far left of the axis, not undefined
    EXPECT_EQ(XEQViewBg::NextGridFrequency(90), 100);
    EXPECT_EQ(XEQViewBg::NextGridFrequency(100), 200);
    EXPECT_EQ(XEQViewBg::NextGridFrequency(9000), 10000);
    EXPECT_EQ(XEQViewBg::NextGridFrequency(10000), 20000);

    // The 20 Hz label is wider than 4 pixels and moves right to start at 0; 20k moves left to end at 600.
    const int32_t width =
        XFont::GetFont(XString("arial"), 9, false, false, false)->GetStringWidth(XString("20"));
    ASSERT_GT(width, 4);
    EXPECT_EQ(background.LabelRect(2, width).left, 0);
    EXPECT_EQ(background.LabelRect(2, width).Width(), width);
    EXPECT_EQ(background.LabelRect(598, 20).right, 600);
    EXPECT_EQ(background.LabelRect(300, 20).left, 290);
}

TEST_F(EQViewBgTest, TheGridIsDrawnAtEveryStepUpTo20kHz)
{
    XEQViewBg background(XRect(0, 0, 600, 100));
    background.setVisible(true);
    juce::Image image(juce::Image::ARGB, background.GetWidth(), background.GetHeight(), true);
    {
        juce::Graphics g(image);
        JUCECanvas canvas(g, image.getWidth(), image.getHeight());
        background.Draw(canvas);
    }
    std::set<int32_t> expected;
    for (double f = 20; f <= 20000; f = XEQViewBg::NextGridFrequency(f))
        expected.insert(background.FrequencyToX(f));
    std::set<int32_t> drawn;
    for (int x = 0; x < image.getWidth(); ++x)
        if (image.getPixelAt(x, 50).getAlpha() > 0)
            drawn.insert(x);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(drawn.count(598), 1u);
    // Decades are bright and opaque; the other lines are faint.
    EXPECT_EQ(image.getPixelAt(background.FrequencyToX(1000), 50).getAlpha(), 255);
    EXPECT_LT(image.getPixelAt(background.FrequencyToX(2000), 50).getAlpha(), 255);
    // Nothing above the grid's top and below the graph but the labels.
    EXPECT_EQ(image.getPixelAt(background.FrequencyToX(1000), 1).getAlpha(), 0);
    bool labelInk = false;
    for (int x = 0; x < 10; ++x)
        for (int y = 104; y < 124; ++y)
            labelInk = labelInk || image.getPixelAt(x, y).getAlpha() > 0;
    EXPECT_TRUE(labelInk) << "the 20 Hz label";
}
} // namespace
