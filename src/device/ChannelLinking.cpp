#include "device/ChannelLinking.h"

#include "core/ParamEdits.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XString.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"

#include <climits>

namespace
{
constexpr const char* kChannelLinkingPath = "QM7\\enableChannelLinking";
constexpr const char* kEditModePath = "QM7_KOVA\\globalEditMode";
constexpr const char* kCurrentConfigPath = "preset\\CurrentConfig";
constexpr const char* kCurrentPresetPath = "QM7_KOVA\\CurrentPreset";

/** globalEditMode of full edit, in which every channel is edited on its own. */
constexpr double kFullEditMode = 1.0;
/** The configurations whose input pairs are not linked. */
constexpr int kFirstUnlinkedConfig = 2;
constexpr int kLastUnlinkedConfig = 4;

/** "Output" and the output's digit lead the path of an output parameter. */
constexpr const char* kOutputPrefix = "Output";
constexpr int kOutputPrefixLength = 6;

/** The parameter's value truncated; missing when it does not exist. */
int IntValueAtOr(const char* path, int missing)
{
    const XParam* param = ParamRegistry::Find(path);
    return param != nullptr ? TruncatedValue(param->GetValue()) : missing;
}
} // namespace

int TruncatedValue(double value)
{
    return ParamEdits::TruncToInt(value);
}

bool AreChannelPairsLinked()
{
    const XParam* editMode = ParamRegistry::Find(kEditModePath);
    if (editMode != nullptr && editMode->GetValue() == kFullEditMode)
        return false;
    const int config = IntValueAtOr(kCurrentConfigPath, 0);
    return config < kFirstUnlinkedConfig || config > kLastUnlinkedConfig;
}

bool IsChannelLinkingEnabled()
{
    const XParam* linking = ParamRegistry::Find(kChannelLinkingPath);
    return linking == nullptr || linking->GetValue() != 0.0;
}

int OutputNumberOfParam(const XParam* param)
{
    if (param == nullptr)
        return 0;
    const XString path = param->GetFullPath();
    if (path.CompareNoCaseN(kOutputPrefix, kOutputPrefixLength) != 0)
        return 0;
    const char digit = path.CharAt(kOutputPrefixLength);
    if (digit < '1' || digit > '0' + ChannelLinking::kOutputCount ||
        path.CharAt(kOutputPrefixLength + 1) != '\\')
        return 0;
    return digit - '0';
}

int OutputIndexOfParam(const XParam* param)
{
    return OutputNumberOfParam(param) - 1;
}

XParam* LinkedOutputParam(const XParam* param)
{
    const int output = OutputNumberOfParam(param);
    if (output == 0 || !IsChannelLinkingEnabled())
        return nullptr;
    XString path;
    path.Format("Output%d\\linkedChannel", output);
    const int linked = IntValueAtOr(path.CStr(), 0);
    if (linked < 1 || linked > ChannelLinking::kOutputCount || linked == output)
        return nullptr;
    ChannelOutput* group = GetOutputChannel(linked - 1);
    return group != nullptr ? group->GetParam(param->GetId()) : nullptr;
}

int GetChannelFilterMode(int outputNumber)
{
    XString path;
    path.Format("Output%d\\chFilterMode", outputNumber);
    return IntValueAtOr(path.CStr(), 0);
}

int GetCurrentPresetNumber()
{
    return IntValueAtOr(kCurrentPresetPath, 0);
}

int DelayUnitsFor(const XParam* param)
{
    if (param == nullptr)
        return 0;
    switch (param->GetId())
    {
    case ChannelParamTables::kInputDelayId:
        return IntValueAtOr("global\\InDelayUnits", 0);
    case ChannelParamTables::kCrossoverDelayId:
        return IntValueAtOr("global\\XOverDelayUnits", 0);
    case ChannelParamTables::kOutputDelayId:
        return IntValueAtOr("global\\OutDelayUnits", 0);
    default:
        return 0;
    }
}
