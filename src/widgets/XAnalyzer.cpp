#include "widgets/XAnalyzer.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kLowestFrequency = 20.0;
constexpr int kCubicPoints = 4;
} // namespace

void XAnalyzer::SetSpectrum(const std::vector<float>& levels, float minimumLevel, float maximumLevel)
{
    bins = levels;
    minimum = minimumLevel;
    maximum = maximumLevel;
}

double XAnalyzer::Scaled(float level) const
{
    const double range = static_cast<double>(maximum) - minimum;
    if (!(std::abs(range) > 0.0) || !std::isfinite(level))
        return 0.0;
    return (level - minimum) / range;
}

float XAnalyzer::CubicInterpolate4(float p0, float p1, float p2, float p3, float t)
{
    return p0 + t * (3.0f * p1 - 11.0f * p0 / 6.0f - 3.0f * p2 / 2.0f + p3 / 3.0f) +
           t * t * (p0 - 5.0f * p1 / 2.0f + 2.0f * p2 - p3 / 2.0f) +
           t * t * t * (p1 / 2.0f - p0 / 6.0f - p2 / 2.0f + p3 / 6.0f);
}

float XAnalyzer::GetLevel(double low, double high) const
{
    const int count = static_cast<int>(bins.size());
    if (count == 0)
        return minimum;
    low = std::clamp(low, 0.0, static_cast<double>(count));
    high = std::clamp(high, low, static_cast<double>(count));
    const double span = high - low;
    if (span < 1.0)
    {
        const double centre = (low + high) * 0.5;
        if (count < kCubicPoints)
            return bins[static_cast<size_t>(std::min(count - 1, static_cast<int>(centre)))];
        // Bin k's level lies at the middle of its span, k + 0.5; outside the outer middles the level is held.
        const double position = centre - 0.5;
        const int start = std::clamp(static_cast<int>(std::floor(position)) - 1, 0, count - kCubicPoints);
        const double t = std::clamp(position - start, 0.0, static_cast<double>(kCubicPoints - 1));
        const auto at = [this, start](int k) { return bins[static_cast<size_t>(start + k)]; };
        return CubicInterpolate4(at(0), at(1), at(2), at(3), static_cast<float>(t));
    }
    double sum = 0.0;
    for (int bin = static_cast<int>(std::floor(low)); bin < count && bin < high; ++bin)
    {
        const double overlap = std::min(high, bin + 1.0) - std::max(low, static_cast<double>(bin));
        if (overlap > 0.0)
            sum += bins[static_cast<size_t>(bin)] * overlap;
    }
    return static_cast<float>(sum / span);
}

void XAnalyzer::GetBarValues(int count, std::vector<float>& values) const
{
    values.clear();
    if (bins.empty() || count < 1)
        return;
    const double perBar = static_cast<double>(bins.size()) / count;
    for (int bar = 0; bar < count; ++bar)
    {
        const double level = Scaled(GetLevel(bar * perBar, (bar + 1) * perBar));
        values.push_back(static_cast<float>(std::clamp(level, 0.0, 1.0)));
    }
}

void XAnalyzer::ResampleToColumns(std::vector<int32_t>& values, int columns, int height,
                                  float sampleRate) const
{
    values.clear();
    if (bins.empty() || columns < 1 || height < 2)
        return;
    const double count = static_cast<double>(bins.size());
    const double nyquist = sampleRate * 0.5;
    const double binsPerHz = nyquist > 0.0 ? count / nyquist : 0.0;
    const double logRatio = std::pow(2.0, std::log2(nyquist / kLowestFrequency) / columns);
    const double linearStep = (nyquist - kLowestFrequency) / columns;
    double frequency = kLowestFrequency;
    for (int column = 0; column < columns; ++column)
    {
        double low = 0.0;
        double high = 0.0;
        if (binMode)
        {
            low = column * count / columns;
            high = (column + 1) * count / columns;
        }
        else
        {
            const double next = logarithmic ? frequency * logRatio : frequency + linearStep;
            low = frequency * binsPerHz;
            high = next * binsPerHz;
            frequency = next;
        }
        const double scaled = Scaled(GetLevel(low, high)) * (height - 1);
        const double limited = std::clamp(std::isfinite(scaled) ? scaled : 0.0, 0.0, height - 2.0);
        values.push_back(static_cast<int32_t>(limited));
    }
}
