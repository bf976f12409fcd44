#include "widgets/XEQFilterMath.h"

#include "core/XMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

// The coefficient formulas below are written in the exact order of operations of the unit's display, in
// single precision (float functions from <math.h>), so that the curve matches the reference to the pixel.
// Do not regroup the arithmetic.

namespace
{
constexpr float kPi = XMath::kPiFloat;
constexpr float kTwoPi = XMath::kTwoPiFloat;
constexpr double kTwoPiDouble = XMath::kTwoPi;
/** The second-order shelves apply sqrt(2) as a division by this value. */
constexpr float kShelfSqrtHalf = 0.7071067812f;

enum FilterType
{
    kLowShelf = 0,
    kHighShelf = 1,
    kPeaking = 2,
    kLowPass = 3,
    kHighPass = 4,
    kBandPass = 5,
    kBandStop = 6,
    kFirstOrderLowPass = 7,
    kFirstOrderHighPass = 8,
    kFirstOrderLowShelf = 9,
    kFirstOrderHighShelf = 10,
    kButterworthLowShelf = 11,
    kButterworthHighShelf = 12,
    kButterworthLowPass12 = 13,
    kButterworthHighPass12 = 14,
    kBesselLowPass12 = 15,
    kBesselHighPass12 = 16,
    kLinkwitzRileyLowPass12 = 17,
    kLinkwitzRileyHighPass12 = 18,
    kBesselLowPass18 = 19,
    kBesselHighPass18 = 20,
    kButterworthLowPass18 = 21,
    kButterworthHighPass18 = 22,
    kBesselLowPass24 = 23,
    kBesselHighPass24 = 24,
    kButterworthLowPass24 = 25,
    kButterworthHighPass24 = 26,
    kLinkwitzRileyLowPass24 = 27,
    kLinkwitzRileyHighPass24 = 28,
    kAllPass = 29,
    kAllPassAlias = 30,
};

// Normalised analog poles (cut-off 1 rad/s), scaled by the prewarped frequency t.
constexpr float kButterworth2Re = -0.7071067811865475f;
constexpr float kBessel2LowPassRe = -1.10160133059216f;
constexpr float kBessel2LowPassIm = 0.63600982475703f;
constexpr float kBessel2HighPassRe = -0.68082706435806f;
constexpr float kBessel2HighPassIm = 0.39307568887871f;

/** A pole of a cascade section: first order when im is 0 and the section is marked so. */
struct CascadePole
{
    bool firstOrder;
    float re;
    float im;
};

struct CascadeDesign
{
    bool highPass;
    CascadePole sections[2];
};

/** Sections of the cascade types 19..28, indexed by type - 19. */
constexpr CascadeDesign kCascadeDesigns[] = {
    {false, {{true, -1.32267579991045f, 0.0f}, {false, -1.04740916100893f, 0.99926443628064f}}},
    {true, {{true, -0.75604316648699f, 0.0f}, {false, -0.49981460109711f, 0.47684035446953f}}},
    {false, {{true, -1.0f, 0.0f}, {false, -0.5f, 0.86602540378444f}}},
    {true, {{true, -1.0f, 0.0f}, {false, -0.5f, 0.86602540378444f}}},
    {false, {{false, -0.99520876435027f, 1.25710573945467f}, {false, -1.37006783055144f, 0.41024971749375f}}},
    {true, {{false, -0.38712698744445f, 0.48900248394811f}, {false, -0.66983185000766f, 0.20067278997884f}}},
    {false, {{false, -0.92387953251129f, 0.38268343236509f}, {false, -0.38268343236509f, 0.92387953251129f}}},
    {true, {{false, -0.92387953251129f, 0.38268343236509f}, {false, -0.38268343236509f, 0.92387953251129f}}},
    {false,
     {{false, -0.7071067811865475f, 0.7071067811865475f},
      {false, -0.7071067811865475f, 0.7071067811865475f}}},
    {true,
     {{false, -0.7071067811865475f, 0.7071067811865475f},
      {false, -0.7071067811865475f, 0.7071067811865475f}}},
};

/** Prewarped analog frequency tan(pi f / fs). */
float Prewarp(float frequency, float sampleRate)
{
    return tanf(kPi * frequency / sampleRate);
}

/** The real z-plane pole of the first-order analog pole s = re. */
float FirstOrderPole(float re)
{
    float radius = 0.0f;
    float angle = 0.0f;
    XEQFilterMath::BilinearPoleToZ(re, 0.0f, radius, angle);
    return radius * cosf(angle);
}

/** First-order section with a0 = 1 and a2 = b2 = 0, from its real z-plane pole k. */
void FirstOrderSection(float k, bool highPass, float& a1, float& b0, float& b1)
{
    a1 = -k;
    if (highPass)
    {
        b0 = (1 + k) * 0.5f;
        b1 = -b0;
    }
    else
    {
        b0 = (1 - k) * 0.5f;
        b1 = b0;
    }
}

/** Second-order section with a0 = 1 from the analog pole re + j im; unity gain at 0 Hz (low pass) or at half
    the sample rate (high pass). */
void PolePlacedSection(float re, float im, bool highPass, float& a1, float& a2, float& b0, float& b1,
                       float& b2)
{
    float radius = 0.0f;
    float angle = 0.0f;
    XEQFilterMath::BilinearPoleToZ(re, im, radius, angle);
    a1 = -2 * radius * cosf(angle);
    a2 = radius * radius;
    if (highPass)
    {
        b0 = (a2 + (1 - a1)) * 0.25f;
        b1 = -2 * b0;
    }
    else
    {
        b0 = (a1 + 1 + a2) * 0.25f;
        b1 = 2 * b0;
    }
    b2 = b0;
}

/** The rounding of a column level: it adds 0.0005 dB, which can move a truncated pixel. Intended. */
float RoundColumnLevel(float level)
{
    return (level * 1000 + 0.5f) / 1000;
}

/** The sections a band is evaluated with: one for a biquad, two for a cascade. */
struct BandSections
{
    int count = 0;
    double a[2][3] = {};
    double b[2][3] = {};
};

BandSections ComputeBandSections(const XEQBandSettings& settings, float sampleRate)
{
    XEQBiquad biquad;
    XEQCascade cascade;
    XEQFilterMath::ComputeBandCoefficients(settings, sampleRate, biquad, cascade);
    BandSections sections;
    if (XEQFilterMath::IsCascadeFilterType(settings.type))
    {
        sections.count = 2;
        std::copy(&cascade.a[0][0], &cascade.a[0][0] + 6, &sections.a[0][0]);
        std::copy(&cascade.b[0][0], &cascade.b[0][0] + 6, &sections.b[0][0]);
    }
    else
    {
        sections.count = 1;
        sections.a[0][0] = biquad.a0;
        sections.a[0][1] = biquad.a1;
        sections.a[0][2] = biquad.a2;
        sections.b[0][0] = biquad.b0;
        sections.b[0][1] = biquad.b1;
        sections.b[0][2] = biquad.b2;
    }
    return sections;
}
} // namespace

void XEQFilterMath::BilinearPoleToZ(float re, float im, float& radius, float& angle)
{
    radius = sqrtf(((1 + re) * (1 + re) + im * im) / ((1 - re) * (1 - re) + im * im));
    angle = atan2f(im, 1 + re) - atan2f(-im, 1 - re);
}

// One case per filter type, each the closed form of its coefficients: kept together so that the
// types read side by side, which is why this runs long.
void XEQFilterMath::ComputeBiquad(XEQBiquad& record, int type, float gain, float frequency, float q,
                                  float sampleRate)
{
    record = XEQBiquad();
    float& a0 = record.a0;
    float& a1 = record.a1;
    float& a2 = record.a2;
    float& b0 = record.b0;
    float& b1 = record.b1;
    float& b2 = record.b2;

    switch (type)
    {
    case kLowShelf:
    case kHighShelf:
    {
        const float A = powf(10.0f, gain / 40.0f);
        const float w0 = kTwoPi * frequency / sampleRate;
        const float c = cosf(w0);
        const float s = sinf(w0);
        const float beta = sqrtf(A) * s / q;
        if (type == kLowShelf)
        {
            a0 = (A + 1) + (A - 1) * c + beta;
            a1 = -2 * ((A - 1) + (A + 1) * c);
            a2 = (A + 1) + (A - 1) * c - beta;
            b0 = A * ((A + 1) - (A - 1) * c + beta);
            b1 = 2 * A * ((A - 1) - (A + 1) * c);
            b2 = A * ((A + 1) - (A - 1) * c - beta);
        }
        else
        {
            a0 = (A + 1) - (A - 1) * c + beta;
            a1 = 2 * ((A - 1) - (A + 1) * c);
            a2 = (A + 1) - (A - 1) * c - beta;
            b0 = A * ((A + 1) + (A - 1) * c + beta);
            b1 = -2 * A * ((A - 1) + (A + 1) * c);
            b2 = A * ((A + 1) + (A - 1) * c - beta);
        }
        break;
    }
    case kLowPass:
    case kHighPass:
    case kBandPass:
    case kBandStop:
    case kAllPass:
    case kAllPassAlias:
    {
        const float w0 = kTwoPi * frequency / sampleRate;
        const float c = cosf(w0);
        const float alpha = sinf(w0) / (2 * q);
        a0 = 1 + alpha;
        a1 = -2 * c;
        a2 = 1 - alpha;
        if (type == kLowPass)
        {
            b0 = (1 - c) * 0.5f;
            b1 = 1 - c;
            b2 = b0;
        }
        else if (type == kHighPass)
        {
            b0 = (c + 1) * 0.5f;
            b1 = -(c + 1);
            b2 = b0;
        }
        else if (type == kBandPass)
        {
            b0 = alpha;
            b1 = 0;
            b2 = -alpha;
        }
        else if (type == kBandStop)
        {
            b0 = 1;
            b1 = -2 * c;
            b2 = 1;
        }
        else
        {
            b0 = 1 - alpha;
            b1 = -2 * c;
            b2 = 1 + alpha;
        }
        break;
    }
    case kFirstOrderLowPass:
    case kFirstOrderHighPass:
    {
        const float k = FirstOrderPole(-Prewarp(frequency, sampleRate));
        a0 = 1;
        FirstOrderSection(k, type == kFirstOrderHighPass, a1, b0, b1);
        break;
    }
    case kFirstOrderLowShelf:
    case kFirstOrderHighShelf:
    {
        const float g = powf(10.0f, gain / 20.0f);
        const float t = Prewarp(frequency, sampleRate);
        float p = t;
        float z = t;
        if (type == kFirstOrderLowShelf)
        {
            if (g >= 1)
                p = t / g;
            else
                z = t * g;
            a0 = p + 1;
            a1 = p - 1;
            b0 = z + 1;
            b1 = z - 1;
        }
        else
        {
            if (g >= 1)
                p = t * g;
            else
                z = t / g;
            a0 = p + 1;
            a1 = p - 1;
            b0 = g * (z + 1);
            b1 = g * (z - 1);
        }
        break;
    }
    case kButterworthLowShelf:
    case kButterworthHighShelf:
    {
        const double w = kTwoPiDouble * frequency / sampleRate;
        const float c = static_cast<float>(std::cos(w));
        const float s = static_cast<float>(std::sin(w));
        const float g = powf(10.0f, -fabsf(gain) / 20.0f);
        const float D = gain > 0 ? 1.0f : g;
        const float E = gain > 0 ? 1.0f : sqrtf(g);
        const float F = gain < 0 ? 1.0f : g;
        const float H = gain < 0 ? 1.0f : sqrtf(g);
        if (type == kButterworthLowShelf)
        {
            a0 = (F + 1) + (1 - F) * c + (H / kShelfSqrtHalf) * s;
            a1 = -2 * (1 - F) - 2 * (F + 1) * c;
            a2 = (F + 1) + (1 - F) * c - (H / kShelfSqrtHalf) * s;
            b0 = (D + 1) + (1 - D) * c + (E / kShelfSqrtHalf) * s;
            b1 = -2 * (1 - D) - 2 * (D + 1) * c;
            b2 = (D + 1) + (1 - D) * c - (E / kShelfSqrtHalf) * s;
        }
        else
        {
            a0 = (F + 1) + (F - 1) * c + (H / kShelfSqrtHalf) * s;
            a1 = -2 * (F - 1) - 2 * (F + 1) * c;
            a2 = (F + 1) + (F - 1) * c - (H / kShelfSqrtHalf) * s;
            b0 = (D + 1) + (D - 1) * c + (E / kShelfSqrtHalf) * s;
            b1 = -2 * (D - 1) - 2 * (D + 1) * c;
            b2 = (D + 1) + (D - 1) * c - (E / kShelfSqrtHalf) * s;
        }
        break;
    }
    case kButterworthLowPass12:
    case kButterworthHighPass12:
    case kBesselLowPass12:
    case kBesselHighPass12:
    {
        const float t = Prewarp(frequency, sampleRate);
        float re = 0.0f;
        float im = 0.0f;
        if (type == kBesselLowPass12)
        {
            re = t * kBessel2LowPassRe;
            im = t * kBessel2LowPassIm;
        }
        else if (type == kBesselHighPass12)
        {
            re = t * kBessel2HighPassRe;
            im = t * kBessel2HighPassIm;
        }
        else
        {
            re = t * kButterworth2Re;
            im = -re;
        }
        a0 = 1;
        PolePlacedSection(re, im, type == kButterworthHighPass12 || type == kBesselHighPass12, a1, a2, b0, b1,
                          b2);
        break;
    }
    case kLinkwitzRileyLowPass12:
    case kLinkwitzRileyHighPass12:
    {
        // The square of the first-order section.
        const float k = FirstOrderPole(-Prewarp(frequency, sampleRate));
        a0 = 1;
        a1 = -2 * k;
        a2 = k * k;
        if (type == kLinkwitzRileyLowPass12)
        {
            const float m = (1 - k) * 0.5f;
            b0 = m * m;
            b1 = 2 * m * m;
            b2 = m * m;
        }
        else
        {
            const float n = (1 + k) * 0.5f;
            b0 = n * n;
            b1 = -2 * n * n;
            b2 = n * n;
        }
        break;
    }
    default:
    {
        // Peaking, also for every unlisted type. The bandwidth term is x = w0 / Q (through q' = Q sin(w0) /
        // w0), not sin(w0) / (2Q): intended, it is the unit's own bell shape.
        const float A = powf(10.0f, gain / 40.0f);
        const float w0 = kTwoPi * frequency / sampleRate;
        const float c = cosf(w0);
        const float s = sinf(w0);
        const float qPrime = q * s / w0;
        const float x = s / qPrime;
        a0 = 1 + x / A;
        a1 = -2 * c;
        a2 = 1 - x / A;
        b0 = 1 + x * A;
        b1 = -2 * c;
        b2 = 1 - x * A;
        break;
    }
    }
}

void XEQFilterMath::ComputeCascadeBiquads(XEQCascade& record, int type, float gain, float frequency, float q,
                                          float sampleRate)
{
    if (!IsCascadeFilterType(type))
        return;
    const CascadeDesign& design = kCascadeDesigns[type - kFirstCascadeType];
    const float t = Prewarp(frequency, sampleRate);
    for (int section = 0; section < 2; ++section)
    {
        const CascadePole& pole = design.sections[section];
        float a1 = 0.0f;
        float a2 = 0.0f;
        float b0 = 0.0f;
        float b1 = 0.0f;
        float b2 = 0.0f;
        if (pole.firstOrder)
            FirstOrderSection(FirstOrderPole(t * pole.re), design.highPass, a1, b0, b1);
        else
            PolePlacedSection(t * pole.re, t * pole.im, design.highPass, a1, a2, b0, b1, b2);
        record.a[section][0] = 1.0;
        record.a[section][1] = a1;
        record.a[section][2] = a2;
        record.b[section][0] = b0;
        record.b[section][1] = b1;
        record.b[section][2] = b2;
    }
}

int XEQFilterMath::FilterTypeFromValue(double value)
{
    if (!(value > static_cast<double>(std::numeric_limits<int>::min()) - 1.0 &&
          value < static_cast<double>(std::numeric_limits<int>::max()) + 1.0))
        return kUnlistedType;
    return static_cast<int>(value);
}

void XEQFilterMath::NormaliseBiquad(XEQBiquad& record)
{
    // A zero b0 cannot be made 1 without changing the response; the record is then kept as it is.
    if (record.b0 == 0.0f)
        return;
    const float divisor = record.b0;
    record.a0 /= divisor;
    record.a1 /= divisor;
    record.a2 /= divisor;
    record.b1 /= divisor;
    record.b2 /= divisor;
    record.b0 = 1.0f;
}

void XEQFilterMath::ComputeBandCoefficients(const XEQBandSettings& settings, float sampleRate,
                                            XEQBiquad& biquad, XEQCascade& cascade)
{
    biquad = XEQBiquad();
    if (IsCascadeFilterType(settings.type))
    {
        ComputeCascadeBiquads(cascade, settings.type, settings.gain, settings.frequency, settings.q,
                              sampleRate);
        return;
    }
    ComputeBiquad(biquad, settings.type, settings.gain, settings.frequency, settings.q, sampleRate);
    NormaliseBiquad(biquad);
}

XEQColumnTerm XEQFilterMath::TermsAt(double w)
{
    XEQColumnTerm terms;
    terms.cos1 = std::cos(w);
    terms.sin1 = std::sin(w);
    terms.cos2 = std::cos(2 * w);
    terms.sin2 = std::sin(2 * w);
    return terms;
}

bool XEQFilterMath::SectionLevel(const double a[3], const double b[3], double w, float& level)
{
    return SectionLevel(a, b, TermsAt(w), level);
}

bool XEQFilterMath::SectionLevel(const double a[3], const double b[3], const XEQColumnTerm& terms,
                                 float& level)
{
    const double aRe = a[0] + a[1] * terms.cos1 + a[2] * terms.cos2;
    const double aIm = -(a[1] * terms.sin1 + a[2] * terms.sin2);
    const double bRe = b[0] + b[1] * terms.cos1 + b[2] * terms.cos2;
    const double bIm = -(b[1] * terms.sin1 + b[2] * terms.sin2);

    // |conj(B) * A| / |B|^2, that is |A| / |B|.
    const double productRe = bRe * aRe + bIm * aIm;
    const double productIm = bRe * aIm - bIm * aRe;
    const double bNormSquared = bRe * bRe + bIm * bIm;
    if (!(bNormSquared != 0.0))
        return false;
    const double ratio = std::sqrt(productRe * productRe + productIm * productIm) / bNormSquared;
    if (!(ratio > 0.0) || !std::isfinite(ratio))
        return false;
    level = static_cast<float>(20.0 * std::log(ratio) / std::log(10.0));
    return true;
}

bool XEQFilterMath::BandLevelAt(const XEQBandSettings& settings, float sampleRate, double frequency,
                                float& level)
{
    const BandSections sections = ComputeBandSections(settings, sampleRate);
    const XEQColumnTerm terms = TermsAt(kTwoPiDouble * frequency / sampleRate);
    float total = 0.0f;
    for (int section = 0; section < sections.count; ++section)
    {
        float sectionLevel = 0.0f;
        if (!SectionLevel(sections.a[section], sections.b[section], terms, sectionLevel))
            return false;
        total += sectionLevel;
    }
    level = total;
    return true;
}

float XEQFilterMath::PixelsPerDb(int height, double displayRange)
{
    const float rangeFactor = static_cast<float>(20.0 / displayRange);
    const float heightFactor = static_cast<float>(height) / 40.0f;
    return rangeFactor * heightFactor;
}

float XEQFilterMath::UpperFrequency(bool bandZeroHasFrequency, float sampleRate)
{
    return bandZeroHasFrequency ? kHighestFrequency : sampleRate * 0.5f;
}

float XEQFilterMath::ColumnRatio(float upperFrequency, int width)
{
    if (width <= 0)
        return 1.0f;
    return expf(logf(upperFrequency / kLowestFrequency) / static_cast<float>(width));
}

int XEQFilterMath::ClampedWidth(int width)
{
    return std::clamp(width, 0, kRowLength);
}

int XEQFilterMath::ComputeColumnFrequencies(float* frequencies, int width, float upperFrequency,
                                            float sampleRate)
{
    const int columns = ClampedWidth(width);
    // The ratio follows the requested width, so that a clamped row still covers its columns' true
    // frequencies.
    const float ratio = ColumnRatio(upperFrequency, width);
    const float nyquist = sampleRate * 0.5f;
    float frequency = kLowestFrequency;
    for (int column = 0; column < columns; ++column)
    {
        if (frequency < nyquist)
        {
            frequencies[column] = frequency;
            frequency = frequency * ratio;
        }
        else
        {
            frequencies[column] = 0.0f;
        }
    }
    return columns;
}

void XEQFilterMath::ComputeColumnTerms(XEQColumnTerms& columns, const XEQRowGeometry& geometry)
{
    columns.width = geometry.width;
    columns.upperFrequency = geometry.upperFrequency;
    columns.sampleRate = geometry.sampleRate;
    const auto count = static_cast<size_t>(ClampedWidth(geometry.width));
    columns.frequencies.resize(count);
    columns.terms.resize(count);
    ComputeColumnFrequencies(columns.frequencies.data(), geometry.width, geometry.upperFrequency,
                             geometry.sampleRate);
    for (size_t column = 0; column < count; ++column)
    {
        const float frequency = columns.frequencies[column];
        columns.terms[column] =
            frequency == 0.0f ? XEQColumnTerm() : TermsAt(kTwoPiDouble * frequency / geometry.sampleRate);
    }
}

int XEQFilterMath::ComputeColumnLevels(float* levels, const XEQBandSettings& settings,
                                       const XEQRowGeometry& geometry)
{
    XEQColumnTerms columns;
    ComputeColumnTerms(columns, geometry);
    return ComputeColumnLevels(levels, settings, columns);
}

int XEQFilterMath::ComputeColumnLevels(float* levels, const XEQBandSettings& settings,
                                       const XEQColumnTerms& columns)
{
    const int count = static_cast<int>(columns.frequencies.size());
    const BandSections sections = ComputeBandSections(settings, columns.sampleRate);
    float carried[2] = {0.0f, 0.0f};
    for (int column = 0; column < count; ++column)
    {
        if (columns.frequencies[static_cast<size_t>(column)] == 0.0f)
        {
            levels[column] = 0.0f;
            continue;
        }
        const XEQColumnTerm& terms = columns.terms[static_cast<size_t>(column)];
        float total = 0.0f;
        for (int section = 0; section < sections.count; ++section)
        {
            SectionLevel(sections.a[section], sections.b[section], terms, carried[section]);
            const float rounded = RoundColumnLevel(carried[section]);
            total = section == 0 ? rounded : total + rounded;
        }
        levels[column] = total;
    }
    return count;
}

int XEQFilterMath::ComputeResponseRow(int16_t* row, const XEQBandSettings& settings,
                                      const XEQRowGeometry& geometry)
{
    XEQColumnTerms columns;
    ComputeColumnTerms(columns, geometry);
    return ComputeResponseRow(row, settings, geometry, columns);
}

int XEQFilterMath::ComputeResponseRow(int16_t* row, const XEQBandSettings& settings,
                                      const XEQRowGeometry& geometry, const XEQColumnTerms& columnTerms)
{
    std::array<float, kRowLength> levels;
    const int columns = ComputeColumnLevels(levels.data(), settings, columnTerms);
    const float pixelsPerDb = PixelsPerDb(geometry.height, geometry.displayRange);
    for (int column = 0; column < columns; ++column)
        row[column] = ToPixelOffset(levels[column] * pixelsPerDb);
    return columns;
}

int16_t XEQFilterMath::ToPixelOffset(float pixels)
{
    if (std::isnan(pixels))
        return 0;
    if (pixels >= static_cast<float>(std::numeric_limits<int16_t>::max()))
        return std::numeric_limits<int16_t>::max();
    if (pixels <= static_cast<float>(std::numeric_limits<int16_t>::min()))
        return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(pixels);
}

int16_t XEQFilterMath::SaturateToRow(int32_t sum)
{
    return static_cast<int16_t>(
        std::clamp<int32_t>(sum, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}
