#pragma once

#include <cstdint>
#include <vector>

/** Coefficient record of one second-order section, in its stored order: a (poles, denominator), then b
    (zeros, numerator). Transfer function (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2). */
struct XEQBiquad
{
    float a0 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
};

/** Coefficient record of the two cascaded sections of filter types 19..28, in its stored order:
    section-1 a0 a1 a2, section-2 a0 a1 a2, section-1 b0 b1 b2, section-2 b0 b1 b2. The values are computed in
    single precision and held as doubles. */
struct XEQCascade
{
    double a[2][3] = {};
    double b[2][3] = {};
};

/** The values of one band's type, gain (dB), frequency (Hz) and q parameters. The type is the parameter's
    value truncated toward zero (XEQFilterMath::FilterTypeFromValue). */
struct XEQBandSettings
{
    int type = 2;
    float gain = 0.0f;
    float frequency = 1000.0f;
    float q = 1.0f;
};

/** Where a response row is drawn: the size of the view's inner rectangle (the bounds shrunk by 2 pixels on
    every side), the display range and the frequency axis. */
struct XEQRowGeometry
{
    int width = 0;  // one row entry per column; at most XEQFilterMath::kRowLength are written
    int height = 0; // the curve spans -range .. +range dB over this height
    double displayRange = 20.0;
    float sampleRate = 48000.0f;
    float upperFrequency = 20000.0f; // right end of the axis, see XEQFilterMath::UpperFrequency
};

/** The trigonometric terms of one angle w (radians per sample) that a section's response at w is
    evaluated from. */
struct XEQColumnTerm
{
    double cos1 = 1.0; // cos w
    double sin1 = 0.0; // sin w
    double cos2 = 1.0; // cos 2w
    double sin2 = 0.0; // sin 2w
};

/** The columns of a row on one axis (width, right end, sample rate): each column's frequency and the
    terms of its angle, computed once and shared by every band drawn on that axis. */
struct XEQColumnTerms
{
    /** The axis the terms were computed for; a width of -1 until the first computation. */
    int width = -1;
    float upperFrequency = 0.0f;
    float sampleRate = 0.0f;
    /** One entry per column (XEQFilterMath::ClampedWidth(width)); a frequency of 0 marks a column at
        or above half the sample rate, which has no terms. */
    std::vector<float> frequencies;
    std::vector<XEQColumnTerm> terms;

    /** Whether these are the terms of the geometry's axis (height and display range do not matter). */
    bool IsFor(const XEQRowGeometry& geometry) const
    {
        return width == geometry.width && upperFrequency == geometry.upperFrequency &&
               sampleRate == geometry.sampleRate;
    }
};

/** The numeric core of the equaliser/crossover display: the coefficients of every filter type of the unit,
    the band's level at each pixel column of the logarithmic axis from 20 Hz, and the conversion of levels to
    vertical pixel offsets. A level is minus the filter's gain in dB (a boost is negative), so that a row
   value is the downward offset from the centre line. All coefficient arithmetic is single precision in a
   fixed order of operations, so that the drawn curve is reproducible to the pixel. Stateless and reentrant;
   nothing here throws. Degenerate settings (a q of 0, a frequency of 0, values that are not numbers) give
   flat or saturated rows, never undefined behaviour. */
class XEQFilterMath final
{
public:
    /** Entries of a response row: the widest inner width drawn. */
    static constexpr int kRowLength = 1026;
    /** Frequency of column 0. */
    static constexpr float kLowestFrequency = 20.0f;
    /** Right end of the axis when band 0 has a frequency parameter. */
    static constexpr float kHighestFrequency = 20000.0f;
    static constexpr int kFirstCascadeType = 19;
    static constexpr int kLastCascadeType = 28;
    /** Type used in place of a parameter value that is not a number or lies outside the int range: it is
        drawn as a peaking band, like every unlisted type. */
    static constexpr int kUnlistedType = -1;

    /** Maps the prewarped analog pole re + j im through the bilinear transform z = (1 + s) / (1 - s). */
    static void BilinearPoleToZ(float re, float im, float& radius, float& angle);

    /** Fills one coefficient record for every type that is not a cascade type (types 19..28 give the
        peaking section here, as every unlisted type does). The record is zeroed first. */
    static void ComputeBiquad(XEQBiquad& record, int type, float gain, float frequency, float q,
                              float sampleRate);

    /** Fills the two-section record for types 19..28; gain and q are not used; any other type leaves the
        record untouched. */
    static void ComputeCascadeBiquads(XEQCascade& record, int type, float gain, float frequency, float q,
                                      float sampleRate);

    static bool IsCascadeFilterType(int type)
    {
        return type >= kFirstCascadeType && type <= kLastCascadeType;
    }

    /** A type parameter's value truncated toward zero; kUnlistedType for a value that has no int. */
    static int FilterTypeFromValue(double value);

    /** Divides all six values by b0, leaving b0 exactly 1.0. A b0 of exactly 0 leaves the record as it is. */
    static void NormaliseBiquad(XEQBiquad& record);

    /** The band's coefficients: for a cascade type the cascade record (the biquad stays zero), else the
        normalised biquad (the cascade record is left untouched). */
    static void ComputeBandCoefficients(const XEQBandSettings& settings, float sampleRate, XEQBiquad& biquad,
                                        XEQCascade& cascade);

    /** The level d = 20 log10(|A| / |B|) of one section at angle w (radians per sample), evaluated in double
        precision and held in single precision. False, with level unchanged, where the magnitude cannot be
        taken (|B| = 0, |A| = 0, or a value that is not finite). */
    static bool SectionLevel(const double a[3], const double b[3], double w, float& level);
    /** The same from the terms of w computed beforehand (TermsAt). */
    static bool SectionLevel(const double a[3], const double b[3], const XEQColumnTerm& terms, float& level);
    /** cos w, sin w, cos 2w and sin 2w. */
    static XEQColumnTerm TermsAt(double w);

    /** The band's level at any frequency from 0 Hz to half the sample rate (the sum over its sections);
        false when it cannot be taken there. Not rounded like the column levels. */
    static bool BandLevelAt(const XEQBandSettings& settings, float sampleRate, double frequency,
                            float& level);

    /** Pixels per dB of a curve spanning -range .. +range over height pixels: (20 / range) * (height / 40),
        each factor held in single precision. */
    static float PixelsPerDb(int height, double displayRange);

    /** Right end of the axis: 20 kHz when band 0 has a frequency parameter, else half the sample rate. */
    static float UpperFrequency(bool bandZeroHasFrequency, float sampleRate);

    /** Frequency ratio from one column to the next: exp(ln(upper / 20) / width), single precision. */
    static float ColumnRatio(float upperFrequency, int width);

    /** The width a row is computed for: width limited to 0 .. kRowLength. */
    static int ClampedWidth(int width);

    /** Fills frequencies[0 .. ClampedWidth(width)) with the columns' frequencies: 20 Hz, then each the
        previous times ColumnRatio (single precision); columns at or above half the sample rate are 0.
        Returns the number of entries written. */
    static int ComputeColumnFrequencies(float* frequencies, int width, float upperFrequency,
                                        float sampleRate);

    /** Fills terms with the columns and their terms for the geometry's axis. */
    static void ComputeColumnTerms(XEQColumnTerms& terms, const XEQRowGeometry& geometry);

    /** Fills levels[0 .. ClampedWidth(geometry.width)) with the band's level per column as the row uses it:
        per section d' = (d * 1000 + 0.5) / 1000, summed over the sections; a column where d cannot be taken
        repeats the section's previous d (0 before the first); columns at or above half the sample rate are 0.
        Returns the number of entries written. */
    static int ComputeColumnLevels(float* levels, const XEQBandSettings& settings,
                                   const XEQRowGeometry& geometry);
    /** The same on columns computed beforehand for the axis (ComputeColumnTerms). */
    static int ComputeColumnLevels(float* levels, const XEQBandSettings& settings,
                                   const XEQColumnTerms& columns);

    /** Fills row[0 .. ClampedWidth(geometry.width)) with the band's pixel offsets: level * pixels per dB,
        truncated toward zero. Returns the number of entries written. */
    static int ComputeResponseRow(int16_t* row, const XEQBandSettings& settings,
                                  const XEQRowGeometry& geometry);
    /** The same on columns computed beforehand for the geometry's axis (ComputeColumnTerms), so that
        the bands of one response share them. */
    static int ComputeResponseRow(int16_t* row, const XEQBandSettings& settings,
                                  const XEQRowGeometry& geometry, const XEQColumnTerms& columns);

    /** A pixel offset truncated toward zero and limited to the 16-bit range; 0 for a value that is not a
        number. */
    static int16_t ToPixelOffset(float pixels);

    /** A 32-bit sum of pixel offsets limited to the 16-bit range. */
    static int16_t SaturateToRow(int32_t sum);
};
