#pragma once

#include <cstdint>
#include <vector>

class XParam;

/** A spectrum source that an XEQView draws behind its curve, as bars or as a trace: an array of bin
    levels between a minimum and a maximum level, the bins covering 0 Hz to half the sample rate (or
    taken as they are in bin mode), and an optional parameter whose changes make the view repaint.

    The owner fills the spectrum on the GUI thread; the view reads it when it paints. The parameter is not
    owned. */
class XAnalyzer
{
public:
    XAnalyzer() = default;
    virtual ~XAnalyzer() = default;
    XAnalyzer(const XAnalyzer&) = delete;
    XAnalyzer& operator=(const XAnalyzer&) = delete;

    /** The bin levels and the level range they are drawn over (a range of 0 draws every level at 0). */
    void SetSpectrum(const std::vector<float>& levels, float minimumLevel, float maximumLevel);
    const std::vector<float>& GetSpectrum() const { return bins; }
    float GetMinimumLevel() const { return minimum; }
    float GetMaximumLevel() const { return maximum; }
    /** Bin mode: the columns cover the bins evenly instead of the frequency axis. */
    void SetBinMode(bool on) { binMode = on; }
    bool IsBinMode() const { return binMode; }
    /** Frequency mode: logarithmic (true) or linear columns from 20 Hz to half the sample rate. */
    void SetLogarithmic(bool on) { logarithmic = on; }
    bool IsLogarithmic() const { return logarithmic; }
    void SetParam(XParam* param) { watchedParam = param; }
    XParam* GetParam() const { return watchedParam; }

    /** count bar values in 0..1: the spectrum cut into count even spans of bins, each span's level scaled
        to the level range. Empty without spectrum data or for a count below 1. */
    virtual void GetBarValues(int count, std::vector<float>& values) const;

    /** One value per pixel column for a trace height pixels high: the level over each column's span,
        scaled as (level - minimum) / (maximum - minimum) * (height - 1), truncated, at most height - 2 and
        at least 0. Empty without spectrum data. */
    void ResampleToColumns(std::vector<int32_t>& values, int columns, int height, float sampleRate) const;

    /** The level over the span of bins low..high: below one bin, the cubic through the four bins around
        the span's centre; otherwise the bins weighted by their overlap with the span. */
    float GetLevel(double low, double high) const;

    /** The cubic through p0..p3 at 0, 1, 2 and 3, at t. */
    static float CubicInterpolate4(float p0, float p1, float p2, float p3, float t);

private:
    /** (level - minimum) / (maximum - minimum); 0 for an empty range. */
    double Scaled(float level) const;

    std::vector<float> bins;
    float minimum = 0.0f;
    float maximum = 1.0f;
    bool binMode = false;
    bool logarithmic = true;
    XParam* watchedParam = nullptr;
};
