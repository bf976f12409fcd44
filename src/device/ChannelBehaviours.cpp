#include "device/ChannelBehaviours.h"

#include "core/ModifierKeyState.h"
#include "core/ParamRegistry.h"
#include "core/XABGroup.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/AmplifierTables.h"
#include "device/ChannelInput.h"
#include "device/ChannelLinking.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamCallbacks.h"
#include "device/ChannelParamTables.h"
#include "device/DelayUnits.h"
#include "device/ParamCallbackCodes.h"
#include "device/ParamListText.h"

#include <algorithm>

using ParamListText::Formatted;

namespace
{
/** Crossover modes (chFilterMode): below kFirstCoupledMode nothing is coupled; up to
    kLastHighPassCoupledMode a high-pass follows the previous output's low-pass; from
    kFirstLowPassCoupledMode a low-pass follows the next output's high-pass. */
constexpr int kFirstCoupledMode = 3;
constexpr int kLastHighPassCoupledMode = 5;
constexpr int kFirstLowPassCoupledMode = 5;

/** Amplifier threshold offsets are in hundredths of a dB. */
constexpr float kOffsetUnitsPerDb = 100.0f;
/** ThresholdUnits of volts. */
constexpr int kThresholdInVolts = 1;
constexpr double kMillivoltsPerVolt = 1000.0;
/** Highest index for which AmplifierText names an entry. */
constexpr double kLastAmplifierIndex = AmplifierTables::kAmplifierCount - 1;

/** Delay display units (global\InDelayUnits, XOverDelayUnits, OutDelayUnits). */
enum DelayUnit
{
    kMilliseconds = 0,
    kMicroseconds = 1,
    kFeet = 2,
    kInches = 3,
    kMeters = 4,
    kCentimeters = 5
};

bool IsChange(const XParam* param, const double* value, int32_t phase)
{
    return phase == ParamCallbackCodes::kChange && param != nullptr && value != nullptr;
}

/** A copy to another channel: a program write with notification, which runs none of the target's
    callbacks. */
void CopyValue(XParam* target, double value)
{
    if (target != nullptr)
        target->SetValue(value, true);
}

/** The other input's parameter of the same id: the other of B (path exactly "InputB...") and A
    (any other path). */
XParam* OtherInputParam(const XParam* param)
{
    const bool isInputB = param->GetFullPath().StartsWith("InputB");
    ChannelInput* other = GetInputChannel(isInputB ? 0 : 1);
    XParam* partner = other != nullptr ? other->GetParam(param->GetId()) : nullptr;
    return partner != param ? partner : nullptr;
}

XParam* OutputParam(int outputNumber, const char* name)
{
    return FindParam("Output%d\\%s", outputNumber, name);
}

/** A value from the unit, a sync or a load (change tracking off) is taken as it is, with no effect
    on other parameters; true when it was such a value. */
bool TookUntrackedValue(XParam* param, double value)
{
    if (param->IsChangeTracking())
        return false;
    param->SetValue(value, true);
    return true;
}

/** value within [low, high]; high wins when the range is empty. */
double Clamped(double value, double low, double high)
{
    return std::min(std::max(value, low), high);
}
} // namespace

ChannelBehaviours::ChannelBehaviours()
{
    SetChannelBehaviours(this);
}

ChannelBehaviours::~ChannelBehaviours()
{
    if (&GetChannelBehaviours() == this)
        SetChannelBehaviours(nullptr);
}

// Change callbacks -------------------------------------------------------------------------------------

bool ChannelBehaviours::CopyToOtherInput(XParam* param, double* value, int32_t, int32_t phase)
{
    if (!IsChange(param, value, phase))
        return true;
    const bool alwaysLinked = (param->GetFlags() & XParamDesc::kFlagCopiedToOtherInput) != 0;
    if ((AreChannelPairsLinked() || alwaysLinked) && (IsChannelLinkingEnabled() || alwaysLinked) &&
        !IsShiftKeyDown())
        CopyValue(OtherInputParam(param), *value);
    return true;
}

bool ChannelBehaviours::GeqBandBypassChanged(XParam* param, double* value, int32_t user, int32_t phase)
{
    if (param == nullptr)
        return true;
    const int input = InputIndexOfGeqParam(param);
    if (phase == ParamCallbackCodes::kEndEdit)
    {
        const bool alwaysLinked = (param->GetFlags() & XParamDesc::kFlagCopiedToOtherInput) != 0;
        ChannelInput* other = GetInputChannel(1 - input);
        XParam* partner = other != nullptr ? other->GetParam(param->GetId()) : nullptr;
        // A user change of the partner, so that its own callback sets the bit in its mask.
        if ((AreChannelPairsLinked() || alwaysLinked) && partner != nullptr && partner != param)
            partner->ChangeValue(param->GetValue(), true);
        return true;
    }
    if (!IsChange(param, value, phase))
        return true;
    return SetGeqBandBypassed(input, user, *value == 1.0);
}

bool ChannelBehaviours::CopyToLinkedOutput(XParam* param, double* value, int32_t, int32_t phase)
{
    if (IsChange(param, value, phase) && IsChannelLinkingEnabled() && !IsShiftKeyDown())
        CopyValue(LinkedOutputParam(param), *value);
    return true;
}

bool ChannelBehaviours::CopyMuteToLinkedOutput(XParam* param, double* value, int32_t, int32_t phase)
{
    if (IsChange(param, value, phase) && IsShiftKeyDown() && IsChannelLinkingEnabled())
        CopyValue(LinkedOutputParam(param), *value);
    return true;
}

bool ChannelBehaviours::CoupleCrossoverNeighbour(XParam* param, double* value, int32_t, int32_t phase)
{
    if (!IsChange(param, value, phase) || !IsChannelLinkingEnabled())
        return true;
    const int output = OutputNumberOfParam(param);
    if (output == 0)
        return true;
    const int32_t id = param->GetId();
    const bool isHighPass =
        id == ChannelParamTables::kHipassTypeId || id == ChannelParamTables::kHipassFreqId;
    const char* partnerSuffix =
        (id == ChannelParamTables::kHipassTypeId || id == ChannelParamTables::kLopassTypeId) ? "TypeQ"
                                                                                             : "Freq";
    const int mode = GetChannelFilterMode(output);
    if (mode < kFirstCoupledMode)
        return true;

    int partnerOutput = 0;
    const char* partnerFilter = nullptr;
    if (isHighPass && mode <= kLastHighPassCoupledMode)
    {
        partnerOutput = output - 1;
        partnerFilter = "lopass";
    }
    else if (!isHighPass && mode >= kFirstLowPassCoupledMode)
    {
        partnerOutput = output + 1;
        partnerFilter = "hipass";
    }
    else
    {
        return true;
    }
    if (partnerOutput < 1 || partnerOutput > ChannelLinking::kOutputCount)
        return false;
    XParam* partner = FindParam("Output%d\\%s%s", partnerOutput, partnerFilter, partnerSuffix);
    if (partner == nullptr)
        return false;

    const double high = std::min(param->GetMax(), partner->GetMax());
    const double low = std::max(param->GetMin(), partner->GetMin());
    *value = Clamped(*value, low, high);
    CopyValue(partner, *value);
    return true;
}

bool ChannelBehaviours::AmplifierChanged(XParam* param, double* value, int32_t user, int32_t phase)
{
    if (!IsChange(param, value, phase))
        return true;
    if (XABGroup::IsLoadingSnapshot())
        return true;
    if (TookUntrackedValue(param, *value))
        return true;
    const int output = OutputNumberOfParam(param);
    XParam* threshold = output != 0 ? OutputParam(output, "limitThreshold") : nullptr;
    if (threshold == nullptr)
        return false;

    *value = Clamped(*value, param->GetMin(), param->GetMax());
    const int32_t offsetChange =
        AmplifierThresholdOffset(TruncatedValue(*value)) - CurrentAmplifierOffset(threshold);
    const float moved =
        static_cast<float>(threshold->GetValue()) + static_cast<float>(offsetChange) / kOffsetUnitsPerDb;
    const double newThreshold = Clamped(moved, threshold->GetMin(), threshold->GetMax());
    CopyValue(threshold, newThreshold);
    CopyValue(LinkedOutputParam(threshold), newThreshold);
    return CopyToLinkedOutput(param, value, user, phase);
}

bool ChannelBehaviours::LimitThresholdChanged(XParam* param, double* value, int32_t user, int32_t phase)
{
    if (!IsChange(param, value, phase))
        return true;
    if (XABGroup::IsLoadingSnapshot())
        return true;
    if (TookUntrackedValue(param, *value))
        return true;
    const int output = OutputNumberOfParam(param);
    if (output == 0)
        return false;
    XParam* amplifier = OutputParam(output, "OutChLimAmpIndex");
    CopyValue(amplifier, AmplifierTables::kNoAmplifier);
    CopyValue(LinkedOutputParam(amplifier), AmplifierTables::kNoAmplifier);
    return CopyToLinkedOutput(param, value, user, phase);
}

// Texts ----------------------------------------------------------------------------------------------------

XString ChannelBehaviours::LimitThresholdText(XParam* param, double value, int32_t)
{
    const XParam* units = ParamRegistry::Find("global\\ThresholdUnits");
    if (param == nullptr || units == nullptr || TruncatedValue(units->GetValue()) != kThresholdInVolts)
        return Formatted("%.2f dBu", value);
    const int step =
        std::min(std::max(param->ValueToIndex(value), 0), AmplifierTables::kThresholdStepCount - 1);
    return Formatted("%.3f V", ThresholdVoltsTable[step] / kMillivoltsPerVolt);
}

XString ChannelBehaviours::AmplifierText(XParam*, double value, int32_t)
{
    if (!(value >= 0.0 && value <= kLastAmplifierIndex))
        return "---";
    return AmplifierName(TruncatedValue(value));
}

XString ChannelBehaviours::DelayTimeText(XParam* param, double value, int32_t)
{
    switch (DelayUnitsFor(param))
    {
    case kMicroseconds:
        return Formatted("%.0f us", value * DelayUnits::kMicrosecondsPerMs);
    case kFeet:
        return Formatted("%.0f feet", DelayMsToFeet(value));
    case kInches:
        return Formatted("%.0f inch", DelayMsToFeet(value) * DelayUnits::kInchesPerFoot);
    case kMeters:
        return Formatted("%.1f m", DelayMsToMeters(value));
    case kCentimeters:
        return Formatted("%.0f cm", DelayMsToMeters(value) * DelayUnits::kCentimetersPerMeter);
    case kMilliseconds:
    default:
        return Formatted("%.2f ms", value);
    }
}
