#include "device/DelayUnits.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/ParamListText.h"

using ParamListText::Formatted;

namespace
{
constexpr const char* kTempPath = "global\\Temp";

/** Metres per millisecond at the temperature of this moment. */
double CurrentMetersPerMs()
{
    return DelayUnits::MetersPerMs(CurrentTemperature());
}

double CurrentFeetPerMs()
{
    return CurrentMetersPerMs() * DelayUnits::kFeetPerMeter;
}
} // namespace

double DelayUnits::MetersPerMs(double temperatureC)
{
    return (kSoundSpeedPerDegreeC * temperatureC + kSoundSpeedAtZeroC) / kMsPerSecond;
}

double CurrentTemperature()
{
    const XParam* temp = ParamRegistry::Find(kTempPath);
    return temp != nullptr ? temp->GetValue() : DelayUnits::kDefaultTemperatureC;
}

double DelayMsToMeters(double ms)
{
    return ms * CurrentMetersPerMs();
}

double MetersToDelayMs(double metres)
{
    return metres / CurrentMetersPerMs();
}

double DelayMsToFeet(double ms)
{
    return ms * CurrentFeetPerMs();
}

double FeetToDelayMs(double feet)
{
    return feet / CurrentFeetPerMs();
}

XString MicrosecondsText(XParam*, double value, int32_t)
{
    return Formatted("%.0f us", value);
}

XString MetersText(XParam*, double value, int32_t)
{
    return Formatted("%.2f meters", value);
}

XString CentimetersText(XParam*, double value, int32_t)
{
    return Formatted("%.1f cm", value);
}

XString InchesText(XParam*, double value, int32_t)
{
    return Formatted("%.1f inches", value);
}

XString FeetText(XParam*, double value, int32_t)
{
    return Formatted("%.2f feet", value);
}
