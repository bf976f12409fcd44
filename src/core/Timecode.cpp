#include "core/Timecode.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XResult.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace Timecode
{
namespace
{
constexpr float kSampleRate = 48000.0f;
constexpr int32_t kSecondsPerMinute = 60;
constexpr int32_t kMinutesPerHour = 60;
constexpr int32_t kLastHour = 23;
constexpr int32_t kLastMinuteOrSecond = 59;
constexpr int32_t kLastFrameOfText = 29;
/** Frames and texts of the drop-frame count at 30 frames per second: frames per hour, per ten
    minutes, in the first minute of ten and in each later minute. */
constexpr uint32_t kDropFramesPerHour = 107892;
constexpr uint32_t kDropFramesPerTenMinutes = 17982;
constexpr uint32_t kDropFramesFirstMinute = 1800;
constexpr uint32_t kDropFramesOtherMinute = 1798;
constexpr int32_t kDroppedPerMinute = 2;
constexpr int32_t kMinutesPerDropCycle = 10;
/** NTSC rates run 1000/1001 of their nominal rate. */
constexpr double kNtscNumerator = 1001.0;
/** SamplesToFrames adds this much of a frame before rounding down, so a sample count that stands
    for a whole frame but came out a hair short still reaches it. */
constexpr double kFrameSlack = 0.01;
constexpr int kShortTextLength = 11;
constexpr int kLongTextLength = 14;
constexpr int kFieldCount = 4;
/** More digits than any field of a 14-character text can hold. */
constexpr int kMaxFieldDigits = 14;

uint32_t ClampToFrames(double frames)
{
    if (!(frames > 0.0))
        return 0;
    if (frames >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(frames);
}

int64_t FramesToSamplesOf(int32_t kind, uint32_t n)
{
    const double rate = kSampleRate;
    const auto wholeRate = static_cast<int64_t>(rate);
    const auto frames = static_cast<double>(n);
    switch (kind)
    {
    case k2997NonDrop:
    case k2997Drop:
        return static_cast<int64_t>(std::floor(rate * kNtscNumerator * frames / 30000.0 + 0.5));
    case k25:
        return wholeRate * n / 25;
    case k24:
        return static_cast<int64_t>(std::floor(rate * frames / 24.0 + 0.5));
    case k24975:
        return static_cast<int64_t>(std::floor(rate * kNtscNumerator * frames / 25000.0 + 0.5));
    case k23976:
        return static_cast<int64_t>(std::floor(rate * kNtscNumerator * frames / 24000.0 + 0.5));
    default:
        return wholeRate * n / 30;
    }
}

uint32_t SamplesToFramesOf(int32_t kind, double s)
{
    const double rate = kSampleRate;
    switch (kind)
    {
    case k2997NonDrop:
    case k2997Drop:
        return ClampToFrames(std::floor(s * 30000.0 / (rate * kNtscNumerator) + kFrameSlack));
    case k25:
        return ClampToFrames(std::floor(s * 25.0 / rate + kFrameSlack));
    case k24:
        return ClampToFrames(std::floor(s * 24.0 / rate + kFrameSlack));
    case k24975:
        return ClampToFrames(std::floor(s * 25000.0 / (rate * kNtscNumerator) + kFrameSlack));
    case k23976:
        return ClampToFrames(std::floor(s * 24000.0 / (rate * kNtscNumerator) + kFrameSlack));
    default:
        return ClampToFrames(std::trunc(s * 30.0 / rate));
    }
}

uint32_t TimecodeToFramesOf(int32_t kind, const TimecodeFields& fields)
{
    const uint32_t fps = static_cast<uint32_t>(FramesPerSecond(kind));
    const uint32_t hours = fields.hours > kLastHour ? kLastHour : fields.hours;
    const uint32_t frames = fields.frames >= fps ? fps - 1 : fields.frames;
    const uint32_t minutes = fields.minutes + kMinutesPerHour * hours;
    uint32_t n = frames + fps * (fields.seconds + kSecondsPerMinute * minutes);
    if (IsDropFrame(kind))
        n -= kDroppedPerMinute * (minutes - minutes / kMinutesPerDropCycle);
    return n;
}

uint8_t ToField(uint32_t value)
{
    return static_cast<uint8_t>(value > UINT8_MAX ? UINT8_MAX : value);
}

TimecodeFields FramesToTimecodeOf(int32_t kind, uint32_t n)
{
    TimecodeFields fields;
    const uint32_t fps = static_cast<uint32_t>(FramesPerSecond(kind));
    if (IsDropFrame(kind))
    {
        const uint32_t inHour = n % kDropFramesPerHour;
        uint32_t inTenMinutes = inHour % kDropFramesPerTenMinutes;
        uint32_t laterMinutes = 0;
        if (inTenMinutes >= kDropFramesFirstMinute)
        {
            laterMinutes = (inTenMinutes - kDropFramesFirstMinute) / kDropFramesOtherMinute + 1;
            inTenMinutes -= kDropFramesOtherMinute * laterMinutes;
        }
        fields.hours = ToField(n / kDropFramesPerHour);
        fields.minutes = ToField((inHour / kDropFramesPerTenMinutes) * kMinutesPerDropCycle + laterMinutes);
        fields.seconds = ToField(inTenMinutes / fps);
        fields.frames = ToField(inTenMinutes % fps);
    }
    else
    {
        const uint32_t perMinute = fps * kSecondsPerMinute;
        const uint32_t perHour = perMinute * kMinutesPerHour;
        fields.hours = ToField(n / perHour);
        fields.minutes = ToField(n % perHour / perMinute);
        fields.seconds = ToField(n % perMinute / fps);
        fields.frames = ToField(n % fps);
    }
    if (fields.frames > fps - 1)
        fields.frames = ToField(fps - 1);
    return fields;
}

/** Reads up to maxFields numbers separated by ":", "." or ","; false for any other character, an
    empty field or more digits than a field can hold. count is the number of fields read. */
bool ReadFields(const char* text, int64_t* values, int maxFields, int& count)
{
    count = 0;
    int64_t value = 0;
    int digits = 0;
    for (const char* p = text;; ++p)
    {
        const char c = *p;
        if (c >= '0' && c <= '9')
        {
            if (++digits > kMaxFieldDigits)
                return false;
            value = value * 10 + (c - '0');
            continue;
        }
        if (c != 0 && c != ':' && c != '.' && c != ',')
            return false;
        if (digits == 0)
            return false;
        if (count < maxFields)
            values[count] = value;
        ++count;
        value = 0;
        digits = 0;
        if (c == 0)
            return true;
    }
}
} // namespace

float GetSampleRate()
{
    return kSampleRate;
}

int32_t GetSampleRateInt()
{
    return static_cast<int32_t>(kSampleRate);
}

int32_t GetFrameRateKind()
{
    const XParam* param = FindParam("%s", kFrameRatePath);
    if (param == nullptr)
        return k30NonDrop;
    const double value = param->GetValue();
    if (!(std::fabs(value) < static_cast<double>(std::numeric_limits<int32_t>::max())))
        return -1; // no kind: treated as the unknown kinds are
    return static_cast<int32_t>(value);
}

int32_t FramesPerSecond(int32_t kind)
{
    switch (kind)
    {
    case k25:
    case k24975:
        return 25;
    case k24:
    case k23976:
        return 24;
    default:
        return 30;
    }
}

bool IsDropFrame(int32_t kind)
{
    return kind == k30Drop || kind == k2997Drop;
}

int64_t FramesToSamples(uint32_t frames)
{
    return FramesToSamplesOf(GetFrameRateKind(), frames);
}

uint32_t SamplesToFrames(double samples)
{
    return SamplesToFramesOf(GetFrameRateKind(), samples);
}

uint32_t TimecodeToFrames(const TimecodeFields& fields)
{
    return TimecodeToFramesOf(GetFrameRateKind(), fields);
}

TimecodeFields FramesToTimecode(uint32_t frames)
{
    return FramesToTimecodeOf(GetFrameRateKind(), frames);
}

TimecodeFields SamplesToTimecode(double samples)
{
    const int32_t kind = GetFrameRateKind();
    const uint32_t frames = SamplesToFramesOf(kind, samples);
    TimecodeFields fields = FramesToTimecodeOf(kind, frames);
    const auto oneFrame = static_cast<double>(FramesToSamplesOf(kind, 1));
    const double rest = (samples - static_cast<double>(FramesToSamplesOf(kind, frames))) * 100.0 / oneFrame;
    // The slack of SamplesToFrames may leave the rest a hair below zero.
    fields.subFrames = static_cast<uint16_t>(rest > 0.0 ? std::fmin(std::trunc(rest), 99.0) : 0.0);
    return fields;
}

double TimecodeToSamples(const TimecodeFields& fields)
{
    const int32_t kind = GetFrameRateKind();
    return static_cast<double>(FramesToSamplesOf(kind, TimecodeToFramesOf(kind, fields))) +
           static_cast<double>(FramesToSamplesOf(kind, 1)) * fields.subFrames * 0.01;
}

XString TimecodeToText(const TimecodeFields& fields, bool showSubFrames)
{
    const char frameSeparator = IsDropFrame(GetFrameRateKind()) ? ',' : ':';
    XString text;
    text.Format("%02u:%02u:%02u%c%02u", unsigned{fields.hours}, unsigned{fields.minutes},
                unsigned{fields.seconds}, frameSeparator, unsigned{fields.frames});
    if (showSubFrames || fields.subFrames != 0)
    {
        XString sub;
        sub.Format(".%02u", unsigned{fields.subFrames});
        text += sub;
    }
    return text;
}

bool IsValidTimecode(const char* text)
{
    if (text == nullptr)
        return false;
    const int length = XString(text).Length();
    if (length != kShortTextLength && length != kLongTextLength)
        return false;
    int64_t values[kFieldCount] = {};
    int count = 0;
    if (!ReadFields(text, values, kFieldCount, count) || count < kFieldCount)
        return false;
    return values[0] <= kLastHour && values[1] <= kLastMinuteOrSecond && values[2] <= kLastMinuteOrSecond &&
           values[3] <= kLastFrameOfText;
}

bool ParseTimecode(const char* text, TimecodeFields& fields)
{
    constexpr int kWithSubFrames = kFieldCount + 1;
    int64_t values[kWithSubFrames] = {};
    int count = 0;
    if (text == nullptr || !ReadFields(text, values, kWithSubFrames, count) || count < kFieldCount ||
        count > kWithSubFrames)
        return false;
    int64_t& hours = values[0];
    int64_t& minutes = values[1];
    int64_t& seconds = values[2];
    int64_t& frames = values[3];
    int64_t& subFrames = values[4];
    const auto carry = [](int64_t& field, int64_t base, int64_t& next)
    {
        next += field / base;
        field %= base;
    };
    carry(subFrames, 100, frames);
    carry(frames, kLastFrameOfText + 1, seconds);
    carry(seconds, kSecondsPerMinute, minutes);
    carry(minutes, kMinutesPerHour, hours);
    fields.hours = static_cast<uint8_t>(hours > kLastHour ? kLastHour : hours);
    fields.minutes = static_cast<uint8_t>(minutes);
    fields.seconds = static_cast<uint8_t>(seconds);
    fields.frames = static_cast<uint8_t>(frames);
    fields.subFrames = static_cast<uint16_t>(subFrames);
    return true;
}

int32_t NormalizeTimecode(XString& text, bool carry)
{
    XString typed = text;
    typed.ReplaceChar('.', ':');
    typed.ReplaceChar(',', ':');
    typed.ReplaceChar(';', ':');
    if (typed.Length() > kShortTextLength)
        typed = typed.Left(kShortTextLength);

    // Right to left: every two digits, and every separator, close a field.
    int32_t fields[kFieldCount] = {}; // frames, seconds, minutes, hours
    int fieldCount = 0;
    int32_t pending = 0;
    int pendingDigits = 0;
    const auto closeField = [&]()
    {
        if (fieldCount == kFieldCount)
            return false;
        fields[fieldCount++] = pending;
        pending = 0;
        pendingDigits = 0;
        return true;
    };
    for (int i = typed.Length() - 1; i >= 0; --i)
    {
        const char c = typed.CharAt(static_cast<unsigned>(i));
        if (c == ':')
        {
            if (!closeField())
                return XResult::kFailed;
        }
        else if (c >= '0' && c <= '9')
        {
            if (pendingDigits == 2 && !closeField())
                return XResult::kFailed;
            pending += (c - '0') * (pendingDigits == 0 ? 1 : 10);
            ++pendingDigits;
        }
        else
        {
            return XResult::kFailed;
        }
    }
    if (pendingDigits > 0 && !closeField())
        return XResult::kFailed;

    int32_t& frames = fields[0];
    int32_t& seconds = fields[1];
    int32_t& minutes = fields[2];
    int32_t& hours = fields[3];
    const auto limit = [carry](int32_t& field, int32_t last, int32_t& next)
    {
        if (field <= last)
            return;
        field = carry ? 0 : last;
        if (carry)
            ++next;
    };
    limit(frames, kLastFrameOfText, seconds);
    limit(seconds, kLastMinuteOrSecond, minutes);
    limit(minutes, kLastMinuteOrSecond, hours);
    if (hours > kLastHour)
        hours = kLastHour;

    TimecodeFields rebuilt;
    rebuilt.hours = static_cast<uint8_t>(hours);
    rebuilt.minutes = static_cast<uint8_t>(minutes);
    rebuilt.seconds = static_cast<uint8_t>(seconds);
    rebuilt.frames = static_cast<uint8_t>(frames);
    const XString result = TimecodeToText(rebuilt, false);
    if (!IsValidTimecode(result.CStr()))
        return XResult::kFailed;
    text = result;
    return 0;
}
} // namespace Timecode
