#include "windows/DistanceMirrors.h"

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
