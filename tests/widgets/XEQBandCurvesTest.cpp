#include "widgets/XEQBandCurves.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
XEQRowGeometry View(int width, int height, double range)
{
    return XEQRowGeometry{width, height, range, 48000.0f, 20000.0f};
}

/** A channel of bands as an EQ view holds them: settings (null = a parameter unbound) and on states. */
struct Channel
{
    std::vector<XEQBandSettings> settings;
    std::vector<bool> on;
    std::vector<bool> bound;

    XEQBandCurves::BandOnQuery OnQuery() const
    {
        return [this](int band) { return on[static_cast<size_t>(band)]; };
    }
    const XEQBandSettings* SettingsOf(int band) const
    {
        return bound[static_cast<size_t>(band)] ? &settings[static_cast<size_t>(band)] : nullptr;
    }
    int Count() const { return static_cast<int>(settings.size()); }
};

Channel MixedChannel()
{
    Channel channel;
    channel.settings = {{26, 0, 80, 1},   {25, 0, 12000, 1}, {2, 6, 300, 1.5f},
                        {2, -9, 2500, 4}, {0, 4, 150, 0.7f}, {12, -6, 6000, 1}};
    channel.on = {true, true, true, false, true, true};
    channel.bound = std::vector<bool>(channel.settings.size(), true);
    return channel;
}

/** Every band computed and summed from scratch. */
std::unique_ptr<XEQBandCurves> FullRecompute(const Channel& channel, const XEQRowGeometry& view)
{
    auto curves = std::make_unique<XEQBandCurves>();
    for (int band = 0; band < channel.Count(); ++band)
        curves->ComputeBandCurve(band, channel.SettingsOf(band), view);
    curves->SumBandCurves(channel.Count(), channel.Count(), view.width, channel.OnQuery());
    return curves;
}

/** One drag step of a band: only its row is recomputed. */
void EditBand(XEQBandCurves& curves, const Channel& channel, int band, const XEQRowGeometry& view)
{
    curves.InvalidateBand(band);
    curves.ComputeBandCurve(band, channel.SettingsOf(band), view);
    curves.SumBandCurves(1, channel.Count(), view.width, channel.OnQuery());
}
} // namespace

TEST(XEQBandCurves, TheSumAddsTheRowsOfTheBandsThatAreOn)
{
    const Channel channel = MixedChannel();
    const XEQRowGeometry view = View(598, 63, 24.0);
    const auto curves = FullRecompute(channel, view);

    for (int column = 0; column < XEQBandCurves::kRowLength; ++column)
    {
        int expected = 0;
        for (int band = 0; band < channel.Count(); ++band)
        {
            if (column < view.width && channel.on[static_cast<size_t>(band)])
                expected += curves->GetBandRow(band)[static_cast<size_t>(column)];
        }
        ASSERT_EQ(curves->GetSummedRow()[static_cast<size_t>(column)], expected) << column;
    }
    EXPECT_EQ(curves->GetEditedBand(), -1);
    for (int band = 0; band < XEQBandCurves::kMaxBands; ++band)
        EXPECT_FALSE(curves->IsBandDirty(band)) << band;
    // The band that is off has a row of its own; it is only left out of the sum.
    EXPECT_NE(curves->GetBandRow(3)[400], 0);
}

TEST(XEQBandCurves, EditingOneBandGivesTheSameRowAsAFullRecompute)
{
    Channel channel = MixedChannel();
    const XEQRowGeometry view = View(598, 63, 24.0);
    const auto curves = FullRecompute(channel, view);

    struct Step
    {
        int band;
        float frequency;
        float gain;
        bool on;
    };
    const Step drag[] = {
        {2, 350, 7, true},   {2, 420, 8, true},   {2, 420, 8, false}, {2, 500, 3, true}, // the same band
        {4, 180, -3, true},  {4, 220, -5, true},                                         // another band
        {3, 2000, -6, true}, {3, 1800, -6, true}, // a band that was off
        {0, 60, 0, true},                         // a cascade band
    };
    for (const Step& step : drag)
    {
        XEQBandSettings& settings = channel.settings[static_cast<size_t>(step.band)];
        settings.frequency = step.frequency;
        settings.gain = step.gain;
        channel.on[static_cast<size_t>(step.band)] = step.on;
        EditBand(*curves, channel, step.band, view);

        EXPECT_EQ(curves->GetEditedBand(), step.band);
        EXPECT_FALSE(curves->IsBandDirty(step.band));
        EXPECT_EQ(curves->GetSummedRow(), FullRecompute(channel, view)->GetSummedRow())
            << "band " << step.band << " at " << step.frequency << " Hz";
    }

    // An unbound band drops out of the curve.
    channel.bound[2] = false;
    EditBand(*curves, channel, 2, view);
    EXPECT_EQ(curves->GetBandRow(2), XEQBandCurves::Row{});
    EXPECT_EQ(curves->GetSummedRow(), FullRecompute(channel, view)->GetSummedRow());
}

TEST(XEQBandCurves, SumsSaturateRatherThanWrapOnEveryPath)
{
    // 1000 pixels per dB: the stop bands of two steep low passes far exceed the 16-bit range.
    Channel channel;
    channel.settings = {{25, 0, 100, 1}, {27, 0, 100, 1}, {2, 12, 60, 1}};
    channel.on = {true, true, true};
    channel.bound = {true, true, true};
    const XEQRowGeometry view = View(600, 2000, 1.0);
    const auto curves = FullRecompute(channel, view);
    EXPECT_EQ(curves->GetBandRow(0)[599], 32767);
    EXPECT_EQ(curves->GetSummedRow()[599], 32767);
    EXPECT_EQ(curves->GetSummedRow()[0],
              XEQFilterMath::SaturateToRow(curves->GetBandRow(0)[0] + curves->GetBandRow(1)[0] +
                                           curves->GetBandRow(2)[0]));

    channel.settings[2].gain = -12;
    EditBand(*curves, channel, 2, view);
    EXPECT_EQ(curves->GetSummedRow(), FullRecompute(channel, view)->GetSummedRow());
    channel.settings[0].frequency = 15000;
    EditBand(*curves, channel, 0, view);
    EXPECT_EQ(curves->GetSummedRow(), FullRecompute(channel, view)->GetSummedRow());
}

TEST(XEQBandCurves, SeveralDirtyBandsAfterAOneBandRecomputeAllStayInTheCurve)
{
    Channel channel = MixedChannel();
    const XEQRowGeometry view = View(400, 100, 20.0);
    const auto curves = FullRecompute(channel, view);

    channel.settings[1].frequency = 9000;
    channel.settings[4].gain = 9;
    for (const int band : {1, 4})
    {
        curves->InvalidateBand(band);
        curves->ComputeBandCurve(band, channel.SettingsOf(band), view);
    }
    curves->SumBandCurves(1, channel.Count(), view.width, channel.OnQuery());
    EXPECT_EQ(curves->GetSummedRow(), FullRecompute(channel, view)->GetSummedRow());
    EXPECT_FALSE(curves->IsBandDirty(1));
    EXPECT_FALSE(curves->IsBandDirty(4));
}

TEST(XEQBandCurves, BandsAndWidthsOutsideTheRowsAreRefused)
{
    XEQBandCurves curves;
    const XEQBandSettings bell{2, 6, 1000, 1};
    const XEQRowGeometry wide = View(2000, 300, 20.0);
    EXPECT_FALSE(curves.ComputeBandCurve(90, &bell, wide));
    EXPECT_FALSE(curves.ComputeBandCurve(-1, &bell, wide));
    curves.InvalidateBand(90);
    EXPECT_FALSE(curves.IsBandDirty(90));
    EXPECT_TRUE(curves.IsBandDirty(89)); // every band starts dirty

    // A view wider than the rows computes and sums 1026 columns.
    EXPECT_TRUE(curves.ComputeBandCurve(89, &bell, wide));
    curves.SumBandCurves(1, 90, wide.width, [](int) { return true; });
    EXPECT_EQ(curves.GetSummedRow(), curves.GetBandRow(89));
    EXPECT_NE(curves.GetSummedRow()[XEQBandCurves::kRowLength - 1], 0); // the bell reaches 690 Hz
}
