#include "device/RequestPayloads.h"

#include "core/XResult.h"
#include "device/TWMsgBuf.h"
#include "device/WireId.h"

#include <cmath>
#include <limits>

namespace
{
constexpr int kKindInt32 = 0;
constexpr int kKindFloat32 = 1;
constexpr int kFirstFactoryPreset = RequestPayloads::kLastUserPreset + 1;

bool IsWireIdInRange(int wireId)
{
    return wireId >= 0 && wireId < WireIdSpace::kCount;
}

bool IsPresetNumber(int presetNumber)
{
    return presetNumber >= 0 && presetNumber <= RequestPayloads::kLastPreset;
}

float ToWireFloat(double value)
{
    // Beyond float's range the conversion itself is undefined; the unit gets an infinity.
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}
} // namespace

int32_t RequestPayloads::ToWireInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t RequestPayloads::SetParamValue(TWMsgBuf& out, int wireId, int32_t paramType, double value,
                                       int32_t paramFlags)
{
    if (!IsWireIdInRange(wireId))
        return XResult::kFailed;
    out.WriteInt16(wireId);
    if (IsFloatParamType(paramType))
    {
        out.WriteInt8(kKindFloat32);
        out.WriteFloat(ToWireFloat(value));
    }
    else
    {
        out.WriteInt8(kKindInt32);
        out.WriteInt32(ToWireInt(value));
    }
    out.WriteInt8(WireFlagsFromParamFlags(paramFlags));
    return 0;
}

int32_t RequestPayloads::ParamId(TWMsgBuf& out, int wireId)
{
    if (!IsWireIdInRange(wireId))
        return XResult::kFailed;
    out.WriteInt16(wireId);
    return 0;
}

int32_t RequestPayloads::Int32Value(TWMsgBuf& out, int32_t value)
{
    out.WriteInt32(value);
    return 0;
}

int32_t RequestPayloads::Recall(TWMsgBuf& out, unsigned presetNumber)
{
    if (presetNumber > static_cast<unsigned>(kLastPreset))
        return XResult::kFailed;
    const bool user = presetNumber <= static_cast<unsigned>(kLastUserPreset);
    out.WriteInt8(user ? static_cast<int>(presetNumber)
                       : static_cast<int>(presetNumber) - kFirstFactoryPreset);
    out.WriteInt8(user ? 1 : 0);
    return 0;
}

int32_t RequestPayloads::PresetNumber(TWMsgBuf& out, int presetNumber)
{
    if (!IsPresetNumber(presetNumber))
        return XResult::kFailed;
    out.WriteInt8(presetNumber);
    return 0;
}

int32_t RequestPayloads::PresetFlags(TWMsgBuf& out, int presetNumber, int32_t flags)
{
    if (!IsPresetNumber(presetNumber))
        return XResult::kFailed;
    out.WriteInt8(presetNumber);
    out.WriteInt32(flags);
    return 0;
}

int32_t RequestPayloads::ByteValue(TWMsgBuf& out, uint8_t value)
{
    out.WriteInt8(value);
    return 0;
}
