#include "device/ChannelParamCallbacks.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/IChannelBehaviours.h"
#include "device/ParamCallbackCodes.h"
#include "device/ParamListText.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr const char* kNotAvailable = "N/A";
/** Number of output channels; GuiMeterValue and GainReductionValue take an index below it. */
constexpr int32_t kOutputCount = 6;
/** outputGain below this reads "OFF". */
constexpr double kGainOffBelow = -95.0;
/** The limiter threshold at which the GUI meter needs no offset. */
constexpr double kThresholdTopDbu = 21.0;

constexpr const char* kInputFilterTypes[] = {"LOSLV", "HISLV", "PEQ", "LOPASS", "HIPASS"};
constexpr const char* kOutputFilterTypes[] = {"LOSLV",  "HISLV",     "PEQ",      "LOPASS",
                                              "HIPASS", "ALLPASS 1", "ALLPASS 2"};
constexpr const char* kCrossoverTypes[] = {
    "THRU",        "6 dB",         "12 dB Q=0.5",  "12 dB Q=0.6",  "12 dB Q=0.7",  "12 dB Q=0.8",
    "12 dB Q=1.0", "12 dB Q=1.2",  "12 dB Q=1.5",  "12 dB Q=2.0",  "Bessel 12 dB", "Butter 12 dB",
    "Linkw 12 dB", "Bessel 18 dB", "Butter 18 dB", "Bessel 24 dB", "Butter 24 dB", "Linkw 24 dB"};
constexpr const char* kSlopes[] = {"6 dB/oct", "12 dB/oct"};
constexpr const char* kPolarities[] = {"NORMAL", "INVERTED"};
constexpr const char* kSources[] = {"Input A", "Input B", "Input A+B"};

using ParamListText::Entry;
using ParamListText::Formatted;

/** The value of a parameter of output index (0-based); false when it is missing. */
bool OutputValue(int32_t outputIndex, const char* name, double* value)
{
    XParam* param = FindParam("Output%d\\%s", static_cast<int>(outputIndex) + 1, name);
    if (param == nullptr)
        return false;
    *value = param->GetValue();
    return true;
}

XParam* GeqMaskOf(int input)
{
    if (input == 0)
        return FindParam("InputA\\GEQBandBypass");
    if (input == 1)
        return FindParam("InputB\\GEQBandBypass");
    return nullptr;
}

bool IsGeqBand(int band)
{
    return band >= 0 && band < ChannelParamCallbacks::kGeqBandCount;
}

/** The mask's bits: its value as a non-negative 32-bit pattern. */
uint32_t MaskBits(double maskValue)
{
    if (!(maskValue >= 0.0 && maskValue <= static_cast<double>(UINT32_MAX)))
        return 0;
    return static_cast<uint32_t>(maskValue);
}
} // namespace

// Texts ------------------------------------------------------------------------------------------------

XString InputFilterTypeText(XParam*, double value, int32_t)
{
    return Entry(kInputFilterTypes, value, kNotAvailable);
}

XString OutputFilterTypeText(XParam*, double value, int32_t)
{
    return Entry(kOutputFilterTypes, value, kNotAvailable);
}

XString CrossoverTypeText(XParam*, double value, int32_t)
{
    return Entry(kCrossoverTypes, value, kNotAvailable);
}

XString SlopeText(XParam*, double value, int32_t)
{
    return Entry(kSlopes, value, kNotAvailable);
}

XString PolarityText(XParam*, double value, int32_t)
{
    return Entry(kPolarities, value, "----");
}

XString SourceText(XParam*, double value, int32_t)
{
    return Entry(kSources, value, kNotAvailable);
}

XString FrequencyText(XParam*, double value, int32_t)
{
    return Formatted("%.0f Hz", value);
}

XString QText(XParam*, double value, int32_t)
{
    return Formatted("%.2f", value);
}

XString OutputGainText(XParam*, double value, int32_t)
{
    if (value < kGainOffBelow)
        return "OFF";
    return Formatted("%.1f", value);
}

XString LimitThresholdText(XParam* param, double value, int32_t user)
{
    return GetChannelBehaviours().LimitThresholdText(param, value, user);
}

XString AmplifierText(XParam* param, double value, int32_t user)
{
    return GetChannelBehaviours().AmplifierText(param, value, user);
}

XString DelayTimeText(XParam* param, double value, int32_t user)
{
    return GetChannelBehaviours().DelayTimeText(param, value, user);
}

// Change callbacks ---------------------------------------------------------------------------------------

bool ClampToRange(XParam* param, double* value, int32_t, int32_t phase)
{
    if (phase != ParamCallbackCodes::kChange || param == nullptr || value == nullptr)
        return true;
    if (*value > param->GetMax())
        *value = param->GetMax();
    else if (*value < param->GetMin())
        *value = param->GetMin();
    return true;
}

bool CopyToOtherInput(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().CopyToOtherInput(param, value, user, phase);
}

bool GeqBandBypassChanged(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().GeqBandBypassChanged(param, value, user, phase);
}

bool CopyToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().CopyToLinkedOutput(param, value, user, phase);
}

bool CopyMuteToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().CopyMuteToLinkedOutput(param, value, user, phase);
}

bool CoupleCrossoverNeighbour(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().CoupleCrossoverNeighbour(param, value, user, phase);
}

bool AmplifierChanged(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().AmplifierChanged(param, value, user, phase);
}

bool LimitThresholdChanged(XParam* param, double* value, int32_t user, int32_t phase)
{
    return GetChannelBehaviours().LimitThresholdChanged(param, value, user, phase);
}

// Step callback ------------------------------------------------------------------------------------------

void LogFrequencyStep(XParam* param, double* value, int32_t* index, int32_t direction)
{
    using ChannelParamCallbacks::kLogScaleBaseHz;
    if (param == nullptr || value == nullptr || index == nullptr)
        return;
    const uint32_t count = param->GetCount();
    const double max = param->GetMax();
    const double lastIndex = count > 1 ? static_cast<double>(count - 1) : 0.0;
    // A scale needs two steps and a maximum above its base; without them everything is the start.
    const bool hasScale = lastIndex > 0.0 && max > kLogScaleBaseHz;
    if (direction == ParamCallbackCodes::kValueToIndex)
    {
        if (!hasScale || !(*value > kLogScaleBaseHz))
        {
            *index = 0;
            return;
        }
        const double position =
            lastIndex * std::log2(*value / kLogScaleBaseHz) / std::log2(max / kLogScaleBaseHz);
        *index = static_cast<int32_t>(std::fmin(std::round(position), lastIndex));
        return;
    }
    if (!hasScale)
    {
        *value = param->GetMin();
        return;
    }
    const double step = std::fmin(static_cast<double>(static_cast<uint32_t>(*index)), lastIndex);
    const double frequency = kLogScaleBaseHz * std::pow(max / kLogScaleBaseHz, step / lastIndex);
    *value = std::fmax(param->GetMin(), std::fmin(frequency, max));
}

// Value maps ---------------------------------------------------------------------------------------------

double RoundToInteger(XParam*, double stored, int32_t)
{
    return std::round(stored);
}

double IdentityValue(XParam*, double stored, int32_t)
{
    return stored;
}

double GeqBandBypassBit(XParam* param, double, int32_t user)
{
    return IsGeqBandBypassed(InputIndexOfGeqParam(param), user) ? 1.0 : 0.0;
}

double GuiMeterValue(XParam*, double stored, int32_t user)
{
    if (user < 0 || user >= kOutputCount)
        return stored;
    double bypass = 0.0;
    double threshold = 0.0;
    double meter = 0.0;
    if (!OutputValue(user, "limitBypass", &bypass) || !OutputValue(user, "limitThreshold", &threshold) ||
        !OutputValue(user, "outputMeter", &meter))
        return stored;
    return meter + (bypass == 0.0 ? kThresholdTopDbu - threshold : 0.0);
}

double GainReductionValue(XParam*, double stored, int32_t user)
{
    if (user < 0 || user >= kOutputCount)
        return stored;
    double mute = 0.0;
    if (!OutputValue(user, "outputMute", &mute))
        return stored;
    double bypass = 0.0;
    const bool limiterOff = OutputValue(user, "limitBypass", &bypass) && bypass > 0.0;
    return (mute > 0.0 || limiterOff) ? 0.0 : stored;
}

// Helpers ------------------------------------------------------------------------------------------------

int InputIndexOfGeqParam(const XParam* param)
{
    if (param == nullptr)
        return 1;
    return param->GetFullPath().CompareNoCaseN("InputA", 6) == 0 ? 0 : 1;
}

bool IsGeqBandBypassed(int input, int band)
{
    XParam* mask = GeqMaskOf(input);
    if (mask == nullptr || !IsGeqBand(band))
        return false;
    return (MaskBits(mask->GetValue()) >> band & 1u) != 0;
}

bool SetGeqBandBypassed(int input, int band, bool on)
{
    XParam* mask = GeqMaskOf(input);
    if (mask == nullptr || !IsGeqBand(band))
        return false;
    const uint32_t bit = 1u << band;
    const uint32_t bits = MaskBits(mask->GetValue());
    return mask->ChangeValue(static_cast<double>(on ? bits | bit : bits & ~bit), true);
}
