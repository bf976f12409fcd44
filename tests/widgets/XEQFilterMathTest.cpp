#include "widgets/XEQFilterMath.h"

#include "FilterResponseReference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace
{
namespace Ref = FilterResponseReference;

constexpr float kSampleRate = 48000.0f;
constexpr float kLevelTolerance = 0.01f;

XEQRowGeometry Geometry(int width, int height, double range, float upperFrequency)
{
    return XEQRowGeometry{width, height, range, kSampleRate, upperFrequency};
}

XEQBandSettings Band(int type, float gain, float frequency, float q)
{
    return XEQBandSettings{type, gain, frequency, q};
}

float LevelAt(const XEQBandSettings& settings, double frequency)
{
    float level = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(XEQFilterMath::BandLevelAt(settings, kSampleRate, frequency, level))
        << "type " << settings.type << " at " << frequency << " Hz";
    return level;
}

template <size_t N, size_t M>
void ExpectMatchesReference(const Ref::ReferenceCase (&cases)[N], const int (&columns)[M],
                            const XEQRowGeometry& geometry)
{
    std::vector<float> levels(XEQFilterMath::kRowLength);
    std::vector<int16_t> row(XEQFilterMath::kRowLength);
    for (const Ref::ReferenceCase& c : cases)
    {
        const XEQBandSettings settings = Band(c.type, c.gain, c.frequency, c.q);
        ASSERT_EQ(XEQFilterMath::ComputeColumnLevels(levels.data(), settings, geometry), geometry.width);
        ASSERT_EQ(XEQFilterMath::ComputeResponseRow(row.data(), settings, geometry), geometry.width);
        for (size_t k = 0; k < M; ++k)
        {
            const int column = columns[k];
            SCOPED_TRACE(testing::Message() << "type " << c.type << " gain " << c.gain << " f " << c.frequency
                                            << " q " << c.q << " column " << column);
            EXPECT_NEAR(levels[static_cast<size_t>(column)], c.levels[k], kLevelTolerance);
            EXPECT_LE(std::abs(row[static_cast<size_t>(column)] - c.rows[k]), 1);
        }
    }
}
} // namespace

TEST(XEQFilterMath, ColumnLevelsAndRowsMatchTheIndependentReferenceForEveryType)
{
    ExpectMatchesReference(Ref::kCases, Ref::kColumns,
                           Geometry(Ref::kWidth, Ref::kHeight, Ref::kRange, Ref::kUpperFrequency));
    ExpectMatchesReference(
        Ref::kWideCases, Ref::kWideColumns,
        Geometry(Ref::kWideWidth, Ref::kWideHeight, Ref::kWideRange, Ref::kWideUpperFrequency));

    // The table covers types 0..30 and an unlisted type.
    std::array<bool, 31> covered = {};
    bool unlisted = false;
    for (const Ref::ReferenceCase& c : Ref::kCases)
    {
        if (c.type >= 0 && c.type <= 30)
            covered[static_cast<size_t>(c.type)] = true;
        else
            unlisted = true;
    }
    for (size_t type = 0; type < covered.size(); ++type)
        EXPECT_TRUE(covered[type]) << "type " << type;
    EXPECT_TRUE(unlisted);
}

TEST(XEQFilterMath, LevelsAtSingleFrequenciesMatchTheIndependentReference)
{
    for (const Ref::ReferencePoint& p : Ref::kPoints)
    {
        SCOPED_TRACE(testing::Message()
                     << "type " << p.type << " gain " << p.gain << " at " << p.at << " Hz");
        EXPECT_NEAR(LevelAt(Band(p.type, p.gain, p.frequency, p.q), p.at), p.level, kLevelTolerance);
    }
}

TEST(XEQFilterMath, CornersShelvesAndBellsHaveTheirTextbookLevels)
{
    // Levels are minus the gain: a -3.01 dB corner is a level of +3.01.
    constexpr float kHalfPower = 3.0103f;
    constexpr float kHalfAmplitude = 6.0206f;
    struct Case
    {
        int type;
        float gain;
        float q;
        float expectedLevel;
    };
    const Case corners[] = {
        {13, 0, 1, kHalfPower},
        {14, 0, 1, kHalfPower},
        {15, 0, 1, kHalfPower},
        {16, 0, 1, kHalfPower},
        {19, 0, 1, kHalfPower},
        {20, 0, 1, kHalfPower},
        {21, 0, 1, kHalfPower},
        {22, 0, 1, kHalfPower},
        {23, 0, 1, kHalfPower},
        {24, 0, 1, kHalfPower},
        {25, 0, 1, kHalfPower},
        {26, 0, 1, kHalfPower},
        {17, 0, 1, kHalfAmplitude},
        {18, 0, 1, kHalfAmplitude},
        {27, 0, 1, kHalfAmplitude},
        {28, 0, 1, kHalfAmplitude},
        {7, 0, 1, kHalfPower},
        {8, 0, 1, kHalfPower},
        {2, 12, 2, -12},
        {2, -7.5f, 0.4f, 7.5f},
        {0, 10, 0.7071f, -5},
        {0, -8, 3, 4},
        {1, 9, 0.5f, -4.5f},
        {1, -15, 1.2f, 7.5f},
        {6, 0, 4, 1000},
    };
    for (const float frequency : {250.0f, 1000.0f, 10000.0f})
    {
        for (const Case& c : corners)
        {
            SCOPED_TRACE(testing::Message()
                         << "type " << c.type << " gain " << c.gain << " at " << frequency);
            const float level = LevelAt(Band(c.type, c.gain, frequency, c.q), frequency);
            if (c.type == 6)
                EXPECT_GT(level, 60.0f); // the notch is deep at its centre
            else
                EXPECT_NEAR(level, c.expectedLevel, kLevelTolerance);
        }
    }

    // Types 9..12: the full gain at one end of the band, 0 dB at the other.
    struct ShelfCase
    {
        int type;
        float gain;
        float levelAtZero;
        float levelAtHalfRate;
    };
    const ShelfCase shelves[] = {
        {9, 6, -6, 0},  {9, -6, 6, 0},    {10, 6, 0, -6}, {10, -9, 0, 9}, {11, 6, -6, 0},
        {11, -9, 9, 0}, {12, 12, 0, -12}, {12, -9, 0, 9}, {11, 0, 0, 0},  {12, 0, 0, 0},
    };
    for (const ShelfCase& c : shelves)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " gain " << c.gain);
        const XEQBandSettings settings = Band(c.type, c.gain, 1000.0f, 1.0f);
        EXPECT_NEAR(LevelAt(settings, 0.0), c.levelAtZero, kLevelTolerance);
        EXPECT_NEAR(LevelAt(settings, kSampleRate * 0.5), c.levelAtHalfRate, kLevelTolerance);
    }
}

TEST(XEQFilterMath, StopBandsFallAtTheSlopeOfTheirOrder)
{
    struct Case
    {
        int type;
        float decibelsPerOctave;
    };
    // High passes far below a 2 kHz corner, low passes far above a 25 Hz corner, where the bilinear transform
    // barely warps the axis.
    const Case highPasses[] = {{8, 6},   {4, 12},  {14, 12}, {16, 12}, {18, 12},
                               {20, 18}, {22, 18}, {24, 24}, {26, 24}, {28, 24}};
    for (const Case& c : highPasses)
    {
        const XEQBandSettings settings = Band(c.type, 0, 2000.0f, 0.7071f);
        EXPECT_NEAR(LevelAt(settings, 31.25) - LevelAt(settings, 62.5), c.decibelsPerOctave, 0.15f)
            << "type " << c.type;
    }
    const Case lowPasses[] = {{7, 6},   {3, 12},  {13, 12}, {15, 12}, {17, 12},
                              {19, 18}, {21, 18}, {23, 24}, {25, 24}, {27, 24}};
    for (const Case& c : lowPasses)
    {
        const XEQBandSettings settings = Band(c.type, 0, 25.0f, 0.7071f);
        EXPECT_NEAR(LevelAt(settings, 800.0) - LevelAt(settings, 400.0), c.decibelsPerOctave, 0.15f)
            << "type " << c.type;
    }
}

TEST(XEQFilterMath, ColumnsRunLogarithmicallyFrom20HzToJustUnderTheTopOfTheAxis)
{
    std::vector<float> frequencies(XEQFilterMath::kRowLength);
    struct Case
    {
        bool bandZeroHasFrequency;
        int width;
        double top;
    };
    const Case cases[] = {
        {true, 600, 20000.0}, {false, 600, 24000.0}, {true, 1024, 20000.0}, {true, 37, 20000.0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " top " << c.top);
        const float upper = XEQFilterMath::UpperFrequency(c.bandZeroHasFrequency, kSampleRate);
        EXPECT_EQ(upper, static_cast<float>(c.top));
        ASSERT_EQ(XEQFilterMath::ComputeColumnFrequencies(frequencies.data(), c.width, upper, kSampleRate),
                  c.width);
        EXPECT_EQ(frequencies[0], 20.0f);
        for (int column = 0; column < c.width; column += 7)
        {
            const double expected = 20.0 * std::pow(c.top / 20.0, static_cast<double>(column) / c.width);
            EXPECT_NEAR(frequencies[static_cast<size_t>(column)], expected, expected * 1e-4) << column;
        }
        const float last = frequencies[static_cast<size_t>(c.width - 1)];
        EXPECT_LT(last, c.top);
        EXPECT_NEAR(last, 20.0 * std::pow(c.top / 20.0, (c.width - 1.0) / c.width), c.top * 1e-4);
    }
}

TEST(XEQFilterMath, AWideViewFillsOnlyTheRowAndKeepsTheTrueColumnFrequencies)
{
    constexpr int kGuard = 8;
    constexpr int16_t kUntouched = 12345;
    std::vector<int16_t> row(XEQFilterMath::kRowLength + kGuard, kUntouched);
    const XEQRowGeometry geometry = Geometry(1500, 300, 20.0, 20000.0f);
    EXPECT_EQ(XEQFilterMath::ComputeResponseRow(row.data(), Band(27, 0, 1000.0f, 1), geometry),
              XEQFilterMath::kRowLength);
    for (int guard = 0; guard < kGuard; ++guard)
        EXPECT_EQ(row[static_cast<size_t>(XEQFilterMath::kRowLength + guard)], kUntouched);

    std::vector<float> frequencies(XEQFilterMath::kRowLength);
    XEQFilterMath::ComputeColumnFrequencies(frequencies.data(), 1500, 20000.0f, kSampleRate);
    const double lastExpected = 20.0 * std::pow(1000.0, (XEQFilterMath::kRowLength - 1) / 1500.0);
    EXPECT_NEAR(frequencies.back(), lastExpected, lastExpected * 1e-4);

    for (const int width : {0, -3})
        EXPECT_EQ(XEQFilterMath::ComputeResponseRow(row.data(), Band(2, 6, 1000, 1),
                                                    Geometry(width, 100, 20, 2e4f)),
                  0);
}

TEST(XEQFilterMath, PixelsPerDbFollowTheHeightAndTheDisplayRange)
{
    EXPECT_FLOAT_EQ(XEQFilterMath::PixelsPerDb(200, 20.0), 5.0f);
    EXPECT_FLOAT_EQ(XEQFilterMath::PixelsPerDb(200, 10.0), 10.0f);
    EXPECT_FLOAT_EQ(XEQFilterMath::PixelsPerDb(63, 24.0), 63.0f / 48.0f);

    // Range 10 doubles every response compared with range 20.
    std::vector<int16_t> range20(600);
    std::vector<int16_t> range10(600);
    const XEQBandSettings bell = Band(2, 9.0f, 700.0f, 1.5f);
    XEQFilterMath::ComputeResponseRow(range20.data(), bell, Geometry(600, 180, 20.0, 20000.0f));
    XEQFilterMath::ComputeResponseRow(range10.data(), bell, Geometry(600, 180, 10.0, 20000.0f));
    for (size_t column = 0; column < range20.size(); ++column)
        EXPECT_LE(std::abs(range10[column] - 2 * range20[column]), 1) << column;
    EXPECT_LT(*std::min_element(range10.begin(), range10.end()), -75); // 9 dB boost at 9 px/dB
}

TEST(XEQFilterMath, FlatAndUnlistedTypes)
{
    std::vector<int16_t> row(600);
    const XEQRowGeometry geometry = Geometry(600, 200, 20.0, 20000.0f);

    // A bell or a Q-form shelf at 0 dB, and the all-passes, draw a flat line.
    for (const XEQBandSettings& flat : {Band(2, 0, 1000, 1), Band(0, 0, 200, 0.7f), Band(1, 0, 5000, 2),
                                        Band(29, 0, 1000, 1), Band(30, 0, 300, 3)})
    {
        XEQFilterMath::ComputeResponseRow(row.data(), flat, geometry);
        for (size_t column = 0; column < row.size(); ++column)
            ASSERT_EQ(row[column], 0) << "type " << flat.type << " column " << column;
    }

    // Types outside the list are drawn as a bell.
    std::vector<int16_t> bell(600);
    XEQFilterMath::ComputeResponseRow(bell.data(), Band(2, 6, 1000, 1), geometry);
    for (const int type : {31, -1, 1000, XEQFilterMath::FilterTypeFromValue(std::nan(""))})
    {
        XEQFilterMath::ComputeResponseRow(row.data(), Band(type, 6, 1000, 1), geometry);
        EXPECT_EQ(row, bell) << "type " << type;
    }

    struct TypeCase
    {
        double value;
        int type;
    };
    const TypeCase types[] = {{2.9, 2},
                              {28.999, 28},
                              {-0.5, 0},
                              {-1.5, -1},
                              {1e12, -1},
                              {-1e12, -1},
                              {std::numeric_limits<double>::infinity(), -1}};
    for (const TypeCase& c : types)
        EXPECT_EQ(XEQFilterMath::FilterTypeFromValue(c.value), c.type) << c.value;
}

TEST(XEQFilterMath, RecordsFollowTheirRules)
{
    // Normalising divides by b0; a zero b0 would change the response, so the record stays as it is.
    XEQBiquad record{2.0f, 1.0f, 0.5f, 4.0f, 2.0f, 1.0f};
    XEQFilterMath::NormaliseBiquad(record);
    EXPECT_FLOAT_EQ(record.a0, 0.5f);
    EXPECT_FLOAT_EQ(record.a2, 0.125f);
    EXPECT_EQ(record.b0, 1.0f);
    EXPECT_FLOAT_EQ(record.b2, 0.25f);
    XEQBiquad zeroLead{1.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.0f};
    XEQFilterMath::NormaliseBiquad(zeroLead);
    EXPECT_EQ(zeroLead.b0, 0.0f);
    EXPECT_EQ(zeroLead.b1, 1.0f);
    EXPECT_EQ(zeroLead.a1, 0.5f);

    // The cascade record is only written for types 19..28, with a0 = 1 in both sections.
    XEQCascade cascade;
    cascade.a[0][0] = 7.0;
    XEQFilterMath::ComputeCascadeBiquads(cascade, 18, 0, 1000, 1, kSampleRate);
    EXPECT_EQ(cascade.a[0][0], 7.0);
    XEQFilterMath::ComputeCascadeBiquads(cascade, 21, 0, 1000, 1, kSampleRate);
    EXPECT_EQ(cascade.a[0][0], 1.0);
    EXPECT_EQ(cascade.a[1][0], 1.0);
    EXPECT_EQ(cascade.a[0][2], 0.0); // first-order section
    EXPECT_EQ(cascade.b[0][2], 0.0);

    // A cascade band leaves the biquad zero.
    XEQBiquad biquad{1, 1, 1, 1, 1, 1};
    XEQFilterMath::ComputeBandCoefficients(Band(25, 0, 1000, 1), kSampleRate, biquad, cascade);
    EXPECT_EQ(biquad.b0, 0.0f);
    EXPECT_EQ(biquad.a0, 0.0f);

    // Pixel offsets truncate toward zero and saturate.
    struct PixelCase
    {
        float pixels;
        int16_t offset;
    };
    const PixelCase pixels[] = {{1.9f, 1},        {-1.9f, -1},       {-0.9f, 0},         {40000.0f, 32767},
                                {-1e30f, -32768}, {32767.5f, 32767}, {std::nanf(""), 0}, {INFINITY, 32767}};
    for (const PixelCase& c : pixels)
        EXPECT_EQ(XEQFilterMath::ToPixelOffset(c.pixels), c.offset) << c.pixels;
}

TEST(XEQFilterMath, DegenerateAndRandomSettingsGiveRowsWithoutFault)
{
    // Settings no parameter should hold: no fault.
    std::vector<int16_t> row(600);
    const XEQRowGeometry geometry = Geometry(600, 200, 20.0, 20000.0f);
    const XEQBandSettings degenerate[] = {
        Band(2, 6, 1000, 0),      Band(0, 6, 1000, 0),      Band(3, 0, 0, 1),       Band(7, 0, 0, 1),
        Band(4, 0, 24000, 1),     Band(25, 0, 30000, 1),    Band(11, 1e6f, 100, 1), Band(2, -1e6f, 100, 1),
        Band(6, 0, 20.0f, 1e-6f), Band(5, 0, 1000, -1),     Band(9, NAN, 1000, 1),  Band(2, 6, NAN, 1),
        Band(12, 6, 1000, NAN),   Band(27, 0, INFINITY, 1),
    };
    for (const XEQBandSettings& settings : degenerate)
        EXPECT_EQ(XEQFilterMath::ComputeResponseRow(row.data(), settings, geometry), 600) << settings.type;

    // A low pass at 0 Hz has no numerator: no column can be taken, each repeats the level before it, 0.
    XEQFilterMath::ComputeResponseRow(row.data(), Band(3, 0, 0, 1), geometry);
    EXPECT_EQ(row, std::vector<int16_t>(600, 0));

    // Random settings and views; rows sized exactly to the clamped width so that the sanitizer build sees any
    // write past the end.
    std::mt19937 random(640);
    std::uniform_int_distribution<int> type(-3, 33);
    std::uniform_real_distribution<float> gain(-60.0f, 60.0f);
    std::uniform_real_distribution<float> frequency(-100.0f, 30000.0f);
    std::uniform_real_distribution<float> q(-0.5f, 40.0f);
    std::uniform_int_distribution<int> width(-10, 1400);
    std::uniform_int_distribution<int> height(-10, 3000);
    std::uniform_real_distribution<double> range(0.01, 100.0);
    std::uniform_int_distribution<int> topOfAxis(0, 1);
    for (int trial = 0; trial < 400; ++trial)
    {
        const XEQBandSettings settings = Band(type(random), gain(random), frequency(random), q(random));
        const XEQRowGeometry view =
            Geometry(width(random), height(random), range(random), topOfAxis(random) ? 20000.0f : 24000.0f);
        std::vector<int16_t> exact(static_cast<size_t>(XEQFilterMath::ClampedWidth(view.width)));
        ASSERT_EQ(XEQFilterMath::ComputeResponseRow(exact.data(), settings, view),
                  static_cast<int>(exact.size()));
        float level = 0.0f;
        XEQFilterMath::BandLevelAt(settings, kSampleRate, frequency(random), level);
    }
}
