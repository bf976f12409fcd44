#include "windows/DistanceMirrors.h"

#include "core/XMessageCodes.h"

#include <algorithm>

double DistanceMirrors::ToMs(int32_t unit, double value)
{
    switch (unit)
    {
    case kCentimetres:
        return MetersToDelayMs(value / DelayUnits::kCentimetersPerMeter);
    case kMetres:
        return MetersToDelayMs(value);
    case kInches:
        return FeetToDelayMs(value / DelayUnits::kInchesPerFoot);
    case kFeet:
        return FeetToDelayMs(value);
    default:
        return value / DelayUnits::kMicrosecondsPerMs;
    }
}

double DistanceMirrors::FromMs(int32_t unit, double ms)
{
    switch (unit)
    {
    case kCentimetres:
        return DelayMsToMeters(ms) * DelayUnits::kCentimetersPerMeter;
    case kMetres:
        return DelayMsToMeters(ms);
    case kInches:
        return DelayMsToFeet(ms) * DelayUnits::kInchesPerFoot;
    case kFeet:
        return DelayMsToFeet(ms);
    default:
        return ms * DelayUnits::kMicrosecondsPerMs;
    }
}

void DistanceMirrors::SetDelayFromMetres(XParam* delay, const XParam* metres)
{
    if (delay == nullptr || metres == nullptr)
        return;
    const double ms = std::clamp(MetersToDelayMs(metres->GetValue()), delay->GetMin(), delay->GetMax());
    if (!delay->ChangeValue(ms, true))
        delay->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

void DistanceMirrors::TakeFlags(XParam* mirror, const XParam* delay)
{
    if (mirror == nullptr || delay == nullptr)
        return;
    mirror->SetFlags(delay->GetFlags() | (mirror->GetFlags() & XParamDesc::kFlagTransient));
    mirror->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
}
