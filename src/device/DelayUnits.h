#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;

/** Conversions between delays in milliseconds and the distance that sound travels in that time, at
    the speed of sound for the air temperature global\Temp (degrees Celsius; 20 while the parameter
    does not exist), and the texts of the delay windows' distance and time parameters.

    The temperature is read at every call, so a new Temp takes effect at once; the parameter is
    looked up by path each time rather than kept, since the global group may be destroyed and built
    again. Any thread may call them. */
namespace DelayUnits
{
/** Temperature used while global\Temp does not exist. */
constexpr double kDefaultTemperatureC = 20.0;
/** Speed of sound in metres per second: kSoundSpeedAtZeroC + kSoundSpeedPerDegreeC x T. */
constexpr double kSoundSpeedAtZeroC = 331.0;
constexpr double kSoundSpeedPerDegreeC = 0.61;
constexpr double kFeetPerMeter = 3.2808;
constexpr double kCentimetersPerMeter = 100.0;
constexpr double kInchesPerFoot = 12.0;
constexpr double kMicrosecondsPerMs = 1000.0;
constexpr double kMsPerSecond = 1000.0;

/** Metres that sound travels in one millisecond at temperatureC. */
double MetersPerMs(double temperatureC);
} // namespace DelayUnits

/** global\Temp's value, or 20 when it does not exist. */
double CurrentTemperature();

/** ms x c / 1000 at the current temperature. */
double DelayMsToMeters(double ms);
/** metres / (c / 1000). */
double MetersToDelayMs(double metres);
/** ms x (c / 1000 x 3.2808). */
double DelayMsToFeet(double ms);
/** feet / (c / 1000 x 3.2808). */
double FeetToDelayMs(double feet);

// Texts of the delay windows' parameters, whose values are already in the named unit ---------------

/** "%.0f us". */
XString MicrosecondsText(XParam* param, double value, int32_t user);
/** "%.2f meters". */
XString MetersText(XParam* param, double value, int32_t user);
/** "%.1f cm". */
XString CentimetersText(XParam* param, double value, int32_t user);
/** "%.1f inches". */
XString InchesText(XParam* param, double value, int32_t user);
/** "%.2f feet". */
XString FeetText(XParam* param, double value, int32_t user);
