#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;

/** The callbacks that the rows of the global and system tables carry, by the names the tables use.
    They find the parameters they read by path ("QM7\usbActive", "global\Temp", ...) and act
    through the application services (IAppServices), the device watcher's sending state
    (IParamSendingState) and the presets (IPresetEntries); a parameter that is missing gives the
    neutral answer stated. Any thread may call them. */

// Texts -----------------------------------------------------------------------------------------------

/** The seven channel configurations by number, other "---". */
XString ConfigurationText(XParam* param, double value, int32_t user);
/** 0 "Fahrenheit", 1 "Celsius", other "---". */
XString TempUnitsText(XParam* param, double value, int32_t user);
/** 0 "Milliseconds", 1 "Microseconds", 2 "Feet", 3 "Inches", 4 "Meters", 5 "Centimeters", other
    "---". */
XString DelayUnitsText(XParam* param, double value, int32_t user);
/** 0 "dBu", 1 "Volts", other "---". */
XString ThresholdUnitsText(XParam* param, double value, int32_t user);
/** 0 "Master", any other value "Slave". */
XString MasterSlaveText(XParam* param, double value, int32_t user);
/** 0 "Analog", 1 "Digital", other "---". */
XString InputModeText(XParam* param, double value, int32_t user);
/** "%.1f". */
XString OneDecimalText(XParam* param, double value, int32_t user);
/** Up to 0 "None", 1..20 "U01".."U20", above 20 "F01".. (the value less 20). */
XString CurrentPresetText(XParam* param, double value, int32_t user);
/** CurrentPresetText, then a blank and the name of that preset when the presets have it. */
XString PresetLocationText(XParam* param, double value, int32_t user);

// Change callbacks (phase 0 begin edit, 1 change, 2 end edit; false refuses the change) ---------------

/** ToolbarAB: switches channel linking off for the length of an edit and back on at its end. */
bool SuspendLinkingDuringEdit(XParam* param, double* value, int32_t user, int32_t phase);
/** usbActive: a change to 0 or less shows "no connection..." and clears displayloading. */
bool UsbActiveChanged(XParam* param, double* value, int32_t user, int32_t phase);
/** TempFarenheit, TempCelcuis: sets global\Temp, in degrees Celsius, from the value typed into
    either view (TempFarenheit in degrees Fahrenheit, TempCelcuis in degrees Celsius). */
bool TemperatureEdited(XParam* param, double* value, int32_t user, int32_t phase);
/** CurrentPreset: tells the application of a new preset number. */
bool CurrentPresetChanged(XParam* param, double* value, int32_t user, int32_t phase);
/** globalEditMode: unless the watcher's sending is off, a change to standard edit mode (0) needs
    the application's confirmation; channel linking follows the mode (on unless full edit, 1). */
bool EditModeChanged(XParam* param, double* value, int32_t user, int32_t phase);
/** CurrentConfig: refuses the current value; else the application's confirmation decides. */
bool ConfigurationChanged(XParam* param, double* value, int32_t user, int32_t phase);

// Value maps (stored value -> value that GetValue reports) ---------------------------------------------

/** global\Temp x 1.8 + 32; the stored value without Temp. */
double TempFahrenheitValue(XParam* param, double stored, int32_t user);
/** global\Temp; the stored value without it. */
double TempCelsiusValue(XParam* param, double stored, int32_t user);
/** 1 while no unit is connected (usbActive not 1), else global\ListenMode; the stored value when
    either is missing. */
double EditLockValue(XParam* param, double stored, int32_t user);
/** 1 when the current preset is locked in the presets, else 0; the stored value without
    CurrentPreset. */
double PresetLockedValue(XParam* param, double stored, int32_t user);
/** The stored value while usbActive is non-zero, else 0; the stored value without usbActive. */
double DisplayLoadingValue(XParam* param, double stored, int32_t user);
