#include "core/XTimeValue.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
constexpr double kSecondsPerDay = 86400.0;
constexpr int64_t kMillisecondsPerSecond = 1000;
constexpr int64_t kMillisecondsPerMinute = 60 * kMillisecondsPerSecond;
constexpr int64_t kMillisecondsPerHour = 60 * kMillisecondsPerMinute;

double LastSampleOfDay()
{
    return static_cast<double>(Timecode::GetSampleRate()) * kSecondsPerDay - 1.0;
}

/** Held to 0..one day; NaN gives 0. */
double ClampSamples(double samples)
{
    if (!(samples > 0.0))
        return 0.0;
    const double last = LastSampleOfDay();
    return samples > last ? last : samples;
}
} // namespace

XTimeValue::XTimeValue(int32_t typeIn) : type(typeIn) {}

void XTimeValue::Clear()
{
    *this = XTimeValue();
}

double XTimeValue::GetSamples() const
{
    switch (type)
    {
    case kSamples:
        return samples;
    case kTimecode:
        return Timecode::TimecodeToSamples(timecode);
    case kSeconds:
        return seconds * Timecode::GetSampleRate();
    default:
        return 0.0;
    }
}

double XTimeValue::GetSeconds() const
{
    if (type == kSeconds)
        return seconds;
    return GetSamples() / Timecode::GetSampleRate();
}

TimecodeFields XTimeValue::GetTimecode() const
{
    if (type == kTimecode)
        return timecode;
    if (type == kThreeNumbers)
        return TimecodeFields();
    return Timecode::SamplesToTimecode(GetSamples());
}

void XTimeValue::SetNumbersToZero()
{
    const XTimeValue fresh(kThreeNumbers);
    std::copy(fresh.numbers, fresh.numbers + 3, numbers);
}

void XTimeValue::GetNumbers(int16_t& first, int16_t& second, int16_t& third) const
{
    const XTimeValue fallback(kThreeNumbers);
    const int16_t* source = type == kThreeNumbers ? numbers : fallback.numbers;
    first = source[0];
    second = source[1];
    third = source[2];
}

void XTimeValue::SetSamples(double value)
{
    const double capped = ClampSamples(value);
    switch (type)
    {
    case kSamples:
        samples = capped;
        break;
    case kTimecode:
        timecode = Timecode::SamplesToTimecode(capped);
        break;
    case kSeconds:
        seconds = capped / Timecode::GetSampleRate();
        break;
    default:
        SetNumbersToZero(); // the three-number form holds no time
        break;
    }
}

void XTimeValue::Assign(const XTimeValue& other)
{
    if (other.type == type)
    {
        const bool ownShowSubFrames = showSubFrames;
        *this = other;
        showSubFrames = ownShowSubFrames;
        return;
    }
    SetSamples(other.GetSamples());
}

void XTimeValue::Add(const XTimeValue& other)
{
    SetSamples(GetSamples() + other.GetSamples());
}

void XTimeValue::Subtract(const XTimeValue& other)
{
    SetSamples(GetSamples() - other.GetSamples());
}

bool XTimeValue::Equals(const XTimeValue& other) const
{
    return GetSamples() == other.GetSamples();
}

bool XTimeValue::FromString(const char* text, int32_t newType)
{
    if (text == nullptr)
        return false;
    const XString typed(text);
    XTimeValue read(newType);
    read.showSubFrames = showSubFrames;
    switch (newType)
    {
    case kSamples:
        if (!typed.IsInteger())
            return false;
        read.SetSamples(std::strtod(text, nullptr));
        break;
    case kTimecode:
    {
        XString mended = typed;
        if (!Timecode::IsValidTimecode(text) && Timecode::NormalizeTimecode(mended, true) != 0)
            return false;
        if (!Timecode::ParseTimecode(mended.CStr(), read.timecode))
            return false;
        break;
    }
    case kSeconds:
        if (!typed.IsInteger() && !typed.IsDecimal())
            return false;
        read.SetSamples(std::strtod(text, nullptr) * Timecode::GetSampleRate());
        break;
    default:
        return false;
    }
    *this = read;
    return true;
}

XString XTimeValue::ToString(int32_t format) const
{
    XString text;
    switch (format)
    {
    case kSamples:
        text.Format("%.0f", GetSamples());
        break;
    case kTimecode:
        text = Timecode::TimecodeToText(GetTimecode(), showSubFrames);
        break;
    case kThreeNumbers:
    {
        int16_t first = 0;
        int16_t second = 0;
        int16_t third = 0;
        GetNumbers(first, second, third);
        text.Format("%d:%d:%d", first, second, third);
        break;
    }
    case kFormatClock:
    {
        const auto ms = static_cast<int64_t>(std::llround(GetSeconds() * kMillisecondsPerSecond));
        text.Format("%02d:%02d:%02d.%03d", static_cast<int>(ms / kMillisecondsPerHour),
                    static_cast<int>(ms % kMillisecondsPerHour / kMillisecondsPerMinute),
                    static_cast<int>(ms % kMillisecondsPerMinute / kMillisecondsPerSecond),
                    static_cast<int>(ms % kMillisecondsPerSecond));
        break;
    }
    default:
        text = "error";
        break;
    }
    return text;
}
