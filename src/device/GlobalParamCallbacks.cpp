#include "device/GlobalParamCallbacks.h"

#include "core/IAppServices.h"
#include "core/ParamEdits.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/GlobalParamTables.h"
#include "device/IParamSendingState.h"
#include "device/IPresetEntries.h"
#include "device/ParamCallbackCodes.h"
#include "device/ParamListText.h"

#include <atomic>
#include <cstdint>

using ParamListText::Entry;
using ParamListText::Formatted;

namespace
{
constexpr const char* kNoText = "---";

constexpr const char* kConfigurations[] = {
    "2-Way Stereo + FR",  "3-Way Stereo",          "4-Way + FR",           "5-way + FR",
    "Free Configuration", "3W Stereo-Mono Sub+FR", "4W Stereo-Mono Sub/LF"};
constexpr const char* kTempUnits[] = {"Fahrenheit", "Celsius"};
constexpr const char* kDelayUnits[] = {"Milliseconds", "Microseconds", "Feet",
                                       "Inches",       "Meters",       "Centimeters"};
constexpr const char* kThresholdUnits[] = {"dBu", "Volts"};
constexpr const char* kInputModes[] = {"Analog", "Digital"};

/** Presets 1..20 are the user presets U01..U20; above them come the factory presets F01... */
constexpr int kUserPresetCount = 20;
constexpr double kFahrenheitPerCelsius = 1.8;
constexpr double kFahrenheitAtZeroCelsius = 32.0;
constexpr const char* kNoConnectionStatus = "no connection...";

/** The parameters these callbacks read. */
constexpr const char* kChannelLinkingPath = "QM7\\enableChannelLinking";
constexpr const char* kDisplayLoadingPath = "QM7\\displayloading";
constexpr const char* kUsbActivePath = "QM7\\usbActive";
constexpr const char* kTempPath = "global\\Temp";
constexpr const char* kListenModePath = "global\\ListenMode";
constexpr const char* kCurrentPresetPath = "QM7_KOVA\\CurrentPreset";

/** The value of enableChannelLinking when the running edit of ToolbarAB began; valid while
    linkingRemembered is set. */
std::atomic<double> rememberedLinking{0.0};
std::atomic<bool> linkingRemembered{false};

/** The value truncated toward zero, within the int range. */
int Truncated(double value)
{
    return ParamEdits::TruncToInt(value);
}

/** The value of the parameter at path; false when it is missing. */
bool ValueAt(const char* path, double* value)
{
    XParam* param = FindParam("%s", path);
    if (param == nullptr)
        return false;
    *value = param->GetValue();
    return true;
}

bool IsChange(const double* value, int32_t phase)
{
    return phase == ParamCallbackCodes::kChange && value != nullptr;
}
} // namespace

// Texts ------------------------------------------------------------------------------------------------

XString ConfigurationText(XParam*, double value, int32_t)
{
    return Entry(kConfigurations, value, kNoText);
}

XString TempUnitsText(XParam*, double value, int32_t)
{
    return Entry(kTempUnits, value, kNoText);
}

XString DelayUnitsText(XParam*, double value, int32_t)
{
    return Entry(kDelayUnits, value, kNoText);
}

XString ThresholdUnitsText(XParam*, double value, int32_t)
{
    return Entry(kThresholdUnits, value, kNoText);
}

XString MasterSlaveText(XParam*, double value, int32_t)
{
    return Truncated(value) == 0 ? "Master" : "Slave";
}

XString InputModeText(XParam*, double value, int32_t)
{
    return Entry(kInputModes, value, kNoText);
}

XString OneDecimalText(XParam*, double value, int32_t)
{
    return Formatted("%.1f", value);
}

XString CurrentPresetText(XParam*, double value, int32_t)
{
    const int number = Truncated(value);
    XString text;
    if (number <= 0)
        text = "None";
    else if (number > kUserPresetCount)
        text.Format("F%02d", number - kUserPresetCount);
    else
        text.Format("U%02d", number);
    return text;
}

XString PresetLocationText(XParam* param, double value, int32_t user)
{
    const int number = Truncated(value);
    XString text = CurrentPresetText(param, value, user);
    XString name;
    if (number > 0 && GetPresetEntry(number - 1, &name, nullptr))
        text += " " + name;
    return text;
}

// Change callbacks ---------------------------------------------------------------------------------------

bool SuspendLinkingDuringEdit(XParam*, double*, int32_t, int32_t phase)
{
    XParam* linking = FindParam("%s", kChannelLinkingPath);
    if (linking == nullptr)
        return true;
    if (phase == ParamCallbackCodes::kBeginEdit)
    {
        rememberedLinking.store(linking->GetValue());
        linkingRemembered.store(true);
        linking->ChangeValue(0.0, true);
    }
    else if (phase == ParamCallbackCodes::kEndEdit && linkingRemembered.exchange(false))
    {
        // Only an edit whose begin was seen restores: an end alone would switch linking off for good.
        linking->ChangeValue(rememberedLinking.load(), true);
    }
    return true;
}

bool UsbActiveChanged(XParam*, double* value, int32_t, int32_t phase)
{
    if (!IsChange(value, phase) || *value > 0.0)
        return true;
    GetAppServices().SetStatusText(kNoConnectionStatus);
    if (XParam* loading = FindParam("%s", kDisplayLoadingPath))
        loading->SetValue(0.0, true);
    return true;
}

bool TemperatureEdited(XParam* param, double* value, int32_t, int32_t phase)
{
    if (!IsChange(value, phase) || param == nullptr)
        return true;
    XParam* temp = FindParam("%s", kTempPath);
    if (temp == nullptr)
        return true;
    // The scale is that of the view typed into, so a value is never read in the other scale.
    const bool fahrenheit = param->GetId() == GlobalParamTables::kTempFahrenheitId;
    const double celsius = fahrenheit ? (*value - kFahrenheitAtZeroCelsius) / kFahrenheitPerCelsius : *value;
    temp->ChangeValue(celsius, true);
    return true;
}

bool CurrentPresetChanged(XParam* param, double* value, int32_t, int32_t phase)
{
    if (IsChange(value, phase) && param != nullptr && *value != param->GetValue())
        GetAppServices().OnCurrentPresetChanged(Truncated(*value));
    return true;
}

bool EditModeChanged(XParam*, double* value, int32_t, int32_t phase)
{
    XParam* linking = FindParam("%s", kChannelLinkingPath);
    if (linking == nullptr || IsParamSendingSuspended() || !IsChange(value, phase))
        return true;
    if (*value == 0.0 && !GetAppServices().ConfirmEditModeChange())
        return false;
    linking->ChangeValue(*value != 1.0 ? 1.0 : 0.0, true);
    return true;
}

bool ConfigurationChanged(XParam* param, double* value, int32_t, int32_t)
{
    if (param == nullptr || value == nullptr || *value == param->GetValue())
        return false;
    return GetAppServices().ConfirmConfigurationChange();
}

// Value maps ---------------------------------------------------------------------------------------------

double TempFahrenheitValue(XParam*, double stored, int32_t)
{
    double celsius = 0.0;
    if (!ValueAt(kTempPath, &celsius))
        return stored;
    return celsius * kFahrenheitPerCelsius + kFahrenheitAtZeroCelsius;
}

double TempCelsiusValue(XParam*, double stored, int32_t)
{
    double celsius = 0.0;
    return ValueAt(kTempPath, &celsius) ? celsius : stored;
}

double EditLockValue(XParam*, double stored, int32_t)
{
    double usbActive = 0.0;
    double listenMode = 0.0;
    if (!ValueAt(kUsbActivePath, &usbActive) || !ValueAt(kListenModePath, &listenMode))
        return stored;
    return usbActive != 1.0 ? 1.0 : listenMode;
}

double PresetLockedValue(XParam*, double stored, int32_t)
{
    double current = 0.0;
    if (!ValueAt(kCurrentPresetPath, &current))
        return stored;
    const int number = Truncated(current);
    int32_t flags = 0;
    if (number <= 0 || !GetPresetEntry(number - 1, nullptr, &flags))
        return 0.0;
    return (flags & IPresetEntries::kFlagLocked) != 0 ? 1.0 : 0.0;
}

double DisplayLoadingValue(XParam*, double stored, int32_t)
{
    double usbActive = 0.0;
    if (!ValueAt(kUsbActivePath, &usbActive))
        return stored;
    return usbActive != 0.0 ? stored : 0.0;
}
