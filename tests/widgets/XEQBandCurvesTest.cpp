#include "widgets/XEQBandCurves.h"

#include <algorithm>
#include <cmath>
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

/** A band's row as each band computed it alone before the columns' terms were shared: every column's angle,
    cosines and sines taken anew for each section of the band. */
XEQBandCurves::Row RowComputedAlone(const XEQBandSettings& settings, const XEQRowGeometry& view)
{
    std::vector<float> frequencies(XEQFilterMath::kRowLength);
    const int columns = XEQFilterMath::ComputeColumnFrequencies(frequencies.data(), view.width,
                                                                view.upperFrequency, view.sampleRate);
    XEQBiquad biquad;
    XEQCascade cascade;
    XEQFilterMath::ComputeBandCoefficients(settings, view.sampleRate, biquad, cascade);
    const bool twoSections = XEQFilterMath::IsCascadeFilterType(settings.type);
    const double single[2][3] = {{biquad.a0, biquad.a1, biquad.a2}, {biquad.b0, biquad.b1, biquad.b2}};
    const auto a = [&](int section) { return twoSections ? cascade.a[section] : single[0]; };
    const auto b = [&](int section) { return twoSections ? cascade.b[section] : single[1]; };
    const float pixelsPerDb = XEQFilterMath::PixelsPerDb(view.height, view.displayRange);

    XEQBandCurves::Row row{};
    float carried[2] = {0.0f, 0.0f};
    for (int column = 0; column < columns; ++column)
    {
        if (frequencies[static_cast<size_t>(column)] == 0.0f)
            continue;
        const double w = 6.28318530717958647692 * frequencies[static_cast<size_t>(column)] / view.sampleRate;
        float total = 0.0f;
        for (int section = 0; section < (twoSections ? 2 : 1); ++section)
        {
            const double aRe = a(section)[0] + a(section)[1] * std::cos(w) + a(section)[2] * std::cos(2 * w);
            const double aIm = -(a(section)[1] * std::sin(w) + a(section)[2] * std::sin(2 * w));
            const double bRe = b(section)[0] + b(section)[1] * std::cos(w) + b(section)[2] * std::cos(2 * w);
            const double bIm = -(b(section)[1] * std::sin(w) + b(section)[2] * std::sin(2 * w));
            const double productRe = bRe * aRe + bIm * aIm;
            const double productIm = bRe * aIm - bIm * aRe;
            const double bNormSquared = bRe * bRe + bIm * bIm;
            const double ratio = bNormSquared != 0.0
                                     ? std::sqrt(productRe * productRe + productIm * productIm) / bNormSquared
                                     : 0.0;
            if (ratio > 0.0 && std::isfinite(ratio))
                carried[section] = static_cast<float>(20.0 * std::log(ratio) / std::log(10.0));
            const float rounded = (carried[section] * 1000 + 0.5f) / 1000;
            total = section == 0 ? rounded : total + rounded;
        }
        row[static_cast<size_t>(column)] = XEQFilterMath::ToPixelOffset(total * pixelsPerDb);
    }
    return row;
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

TEST(XEQBandCurves, BandsSharingTheColumnTermsDrawTheRowsEachBandComputedAlone)
{
    std::vector<XEQBandSettings> filters;
    for (int type = -1; type <= 31; ++type)
    {
        filters.push_back({type, 9, 200, 0.7f});
        filters.push_back({type, -6, 3500, 4.3f});
    }
    const XEQBandSettings degenerate[] = {{2, 6, 1000, 0},    {3, 0, 0, 1},        {25, 0, 30000, 1},
                                          {2, 6, NAN, 1},     {12, 6, 1000, NAN},  {27, 0, INFINITY, 1},
                                          {11, 1e6f, 100, 1}, {6, 0, 20.0f, 1e-6f}};
    filters.insert(filters.end(), std::begin(degenerate), std::end(degenerate));
    // Axes that differ in width, right end and sample rate; height and range only scale the rows.
    const XEQRowGeometry views[] = {
        {600, 200, 20.0, 48000.0f, 20000.0f},   {1024, 300, 24.0, 48000.0f, 20000.0f},
        {1024, 120, 12.75, 48000.0f, 24000.0f}, {598, 63, 24.0, 48000.0f, 20000.0f},
        {1400, 90, 15.0, 48000.0f, 20000.0f},   {700, 200, 20.0, 96000.0f, 20000.0f},
        {600, 80, 20.0, 48000.0f, 20000.0f},    {0, 200, 20.0, 48000.0f, 20000.0f}};

    XEQBandCurves curves;
    const auto check = [&](size_t filter, const XEQRowGeometry& view)
    {
        // A row's entries past the view's width are not part of the curve.
        const auto columns = static_cast<size_t>(XEQFilterMath::ClampedWidth(view.width));
        const int band = static_cast<int>(filter % XEQBandCurves::kMaxBands);
        ASSERT_TRUE(curves.ComputeBandCurve(band, &filters[filter], view));
        const XEQBandCurves::Row& shared = curves.GetBandRow(band);
        const XEQBandCurves::Row alone = RowComputedAlone(filters[filter], view);
        EXPECT_TRUE(std::equal(shared.begin(), shared.begin() + columns, alone.begin()))
            << "type " << filters[filter].type << " at " << filters[filter].frequency << " Hz, width "
            << view.width << ", sample rate " << view.sampleRate;
    };
    // Every band of a response on one axis, then the axis changing from one band to the next.
    for (const XEQRowGeometry& view : views)
        for (size_t filter = 0; filter < filters.size(); ++filter)
            check(filter, view);
    for (size_t filter = 0; filter < filters.size(); ++filter)
        for (const XEQRowGeometry& view : views)
            check(filter, view);
}
