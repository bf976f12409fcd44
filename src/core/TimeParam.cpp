#include "core/TimeParam.h"

#include "core/XMessageCodes.h"

#include <cmath>
#include <cstdlib>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
} // namespace

TimeParam::TimeParam(const XParamDesc& desc)
{
    SetDesc(&desc);
    if (std::isfinite(desc.def))
        time.SetSamples(desc.def);
}

TimeParam::~TimeParam()
{
    Retire();
}

XString TimeParam::GetDisplayTextOf(double value) const
{
    return ValueToText(value);
}

XString TimeParam::GetDisplayText() const
{
    return GetText();
}

double TimeParam::IndexToValue(int32_t index) const
{
    return 0.0;
}

int32_t TimeParam::ValueToIndex(double value) const
{
    return 0;
}

double TimeParam::GetValue() const
{
    return GetTime().GetSamples();
}

double TimeParam::GetDefault() const
{
    return 0.0;
}

XString TimeParam::ValueToText(double value) const
{
    return XString("error");
}

XString TimeParam::GetText() const
{
    const XTimeValue current = GetTime();
    return current.ToString(current.GetType());
}

bool TimeParam::ApplyEvent(XParamEvent* event)
{
    return false;
}

bool TimeParam::ChangeText(const char* text, bool notify)
{
    return false;
}

bool TimeParam::ChangeValue(double samples, bool notify)
{
    const bool changed = SetValue(samples, false);
    if (changed && notify)
        Notify(kChangedByUser);
    return changed;
}

bool TimeParam::SetText(const char* text, bool notify)
{
    return false;
}

bool TimeParam::SetValue(double samples, bool notify)
{
    if (!std::isfinite(samples))
        return false;
    XTimeValue given;
    given.SetSamples(samples);
    return SetTime(given, notify);
}

bool TimeParam::SetValueNow(double value, bool notify)
{
    return false;
}

bool TimeParam::ResetToDefault()
{
    return false;
}

bool TimeParam::StepBy(int32_t steps, bool notify)
{
    const auto frames = static_cast<uint32_t>(std::llabs(static_cast<long long>(steps)));
    const auto distance = static_cast<double>(Timecode::FramesToSamples(frames));
    return Update(
        [&](const XTimeValue& current)
        {
            const double now = current.GetSamples();
            XTimeValue moved;
            moved.SetSamples(steps >= 0 ? now + distance : std::fmax(now - distance, 0.0));
            return moved;
        },
        notify);
}

bool TimeParam::SetTime(const XTimeValue& value, bool notify)
{
    return Update([&](const XTimeValue&) { return value; }, notify);
}

XTimeValue TimeParam::GetTime() const
{
    std::lock_guard<std::mutex> hold(timeLock);
    return time;
}

bool TimeParam::Update(const std::function<XTimeValue(const XTimeValue&)>& next, bool notify)
{
    {
        std::lock_guard<std::mutex> hold(timeLock);
        const XTimeValue value = next(time);
        if (time.Equals(value))
            return false;
        time.Assign(value);
    }
    if (notify)
        Notify(kValueSet);
    return true;
}
