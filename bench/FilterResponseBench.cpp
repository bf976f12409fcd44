// Time to compute EQ response curves: one output's full response (crossover and parametric bands) and the
// 89 bands that the output frequency-response window sums, each band evaluated at every pixel column and
// summed; and one drag step or changed band (one band recomputed, added to the cached sum of the others).

#include "platform/PlatformClock.h"
#include "widgets/XEQBandCurves.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace
{
constexpr float kSampleRate = 48000.0f;
constexpr float kGraphicBandFrequencies[31] = {
    20,  25,   31.5f, 40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
    800, 1000, 1250,  1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

/** The bands of one output: crossover high and low pass (24 dB Butterworth), five parametric bands. */
std::vector<XEQBandSettings> OutputBands()
{
    return {{26, 0, 80, 1},     {25, 0, 12000, 1},  {2, 4, 120, 1.2f},    {2, -6, 450, 3},
            {2, 3, 1800, 0.8f}, {0, -2, 250, 0.7f}, {1, 2.5f, 8000, 0.7f}};
}

/** The 89 bands of the frequency-response window: two inputs' high-pass and nine parametric bands, two
   inputs' 31 graphic bands, the output's crossover and its five parametric bands. */
std::vector<XEQBandSettings> ResponseWindowBands()
{
    std::vector<XEQBandSettings> bands;
    for (int input = 0; input < 2; ++input)
    {
        bands.push_back({22, 0, 40.0f + 10 * input, 1});
        for (int k = 1; k < 10; ++k)
            bands.push_back({2, static_cast<float>(k % 5) - 2.0f, 60.0f * static_cast<float>(k * k), 1.5f});
    }
    for (int input = 0; input < 2; ++input)
    {
        for (const float frequency : kGraphicBandFrequencies)
            bands.push_back({2, static_cast<float>(static_cast<int>(frequency) % 7) - 3.0f, frequency, 4.3f});
    }
    const std::vector<XEQBandSettings> output = OutputBands();
    bands.insert(bands.end(), output.begin(), output.end());
    return bands;
}

XEQRowGeometry View(int width, int height)
{
    constexpr double kDisplayRange = 24.0;
    return XEQRowGeometry{width, height, kDisplayRange, kSampleRate,
                          XEQFilterMath::UpperFrequency(true, kSampleRate)};
}

/** Runs work until about half a second has passed; returns microseconds per run. */
double MicrosecondsPerRun(const std::function<void()>& work)
{
    constexpr uint64_t kMinimumMicroseconds = 500000;
    work(); // warm-up
    uint64_t runs = 0;
    const uint64_t start = PlatformClock::GetRealMicroseconds();
    uint64_t elapsed = 0;
    do
    {
        work();
        ++runs;
        elapsed = PlatformClock::GetRealMicroseconds() - start;
    } while (elapsed < kMinimumMicroseconds);
    return static_cast<double>(elapsed) / static_cast<double>(runs);
}

volatile int16_t sink;

void MeasureFullResponse(const char* name, const std::vector<XEQBandSettings>& bands,
                         const XEQRowGeometry& view)
{
    XEQBandCurves curves;
    const int count = static_cast<int>(bands.size());
    const auto allOn = [](int) { return true; };
    const double perRun = MicrosecondsPerRun(
        [&]
        {
            for (int band = 0; band < count; ++band)
                curves.ComputeBandCurve(band, &bands[static_cast<size_t>(band)], view);
            curves.SumBandCurves(count, count, view.width, allOn);
            sink = curves.GetSummedRow()[0];
        });
    std::printf("%-52s %3d bands x %4d px: %9.1f us per computation (%.2f us per band)\n", name, count,
                view.width, perRun, perRun / count);
}

void MeasureDragStep(const char* name, std::vector<XEQBandSettings> bands, int draggedBand,
                     const XEQRowGeometry& view)
{
    XEQBandCurves curves;
    const int count = static_cast<int>(bands.size());
    const auto allOn = [](int) { return true; };
    for (int band = 0; band < count; ++band)
        curves.ComputeBandCurve(band, &bands[static_cast<size_t>(band)], view);
    curves.SumBandCurves(count, count, view.width, allOn);
    XEQBandSettings& dragged = bands[static_cast<size_t>(draggedBand)];
    int step = 0;
    const double perRun = MicrosecondsPerRun(
        [&]
        {
            dragged.frequency = 500.0f + static_cast<float>(step++ % 100);
            curves.InvalidateBand(draggedBand);
            curves.ComputeBandCurve(draggedBand, &dragged, view);
            curves.SumBandCurves(1, count, view.width, allOn);
            sink = curves.GetSummedRow()[0];
        });
    std::printf("%-52s %3d bands x %4d px: %9.1f us per step\n", name, count, view.width, perRun);
}
} // namespace

int main()
{
    const XEQRowGeometry wide = View(1024, 300);
    const XEQRowGeometry responseWindow = View(598, 63);
    MeasureFullResponse("one output, full response", OutputBands(), wide);
    MeasureFullResponse("frequency-response window, full response", ResponseWindowBands(), wide);
    MeasureFullResponse("frequency-response window at its own size", ResponseWindowBands(), responseWindow);
    MeasureDragStep("drag step, one output", OutputBands(), 3, wide);
    MeasureDragStep("drag step, frequency-response window", ResponseWindowBands(), 86, wide);
    // A refresh after one band's bypass or gain changed: only that band is recomputed.
    MeasureDragStep("one band changed, frequency-response window", ResponseWindowBands(), 30, responseWindow);
    return 0;
}
