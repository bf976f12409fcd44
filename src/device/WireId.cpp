#include "device/WireId.h"

#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"

namespace
{
constexpr int kMainCount = WireIdSpace::kPresetBase - WireIdSpace::kMainBase;
constexpr int kPresetCount = WireIdSpace::kInputBase - WireIdSpace::kPresetBase;
// The program name's pieces, dates, author and revision: texts packed into integers.
constexpr int kFirstPackedIntWireId = WireIdSpace::kPresetBase + GlobalParamTables::kPresetNameFirstId;
constexpr int kLastPackedIntWireId = WireIdSpace::kPresetBase + GlobalParamTables::kRevisionId;

// Offsets that never go out, by block kind.
constexpr int kMainNeverSent[] = {GlobalParamTables::kMSStateId, GlobalParamTables::kCurrentPresetId,
                                  GlobalParamTables::kContactsValueId, GlobalParamTables::kDSPLoadId,
                                  GlobalParamTables::kGlobalDirtyId};
constexpr int kPresetNeverSent[] = {GlobalParamTables::kInputDelayBaseId,
                                    GlobalParamTables::kOutputDelayBaseId};
constexpr int kInputNeverSent[] = {ChannelParamTables::kInputMeterId};
constexpr int kOutputNeverSent[] = {ChannelParamTables::kOutputMeterId, ChannelParamTables::kGainReductionId};

constexpr int32_t kTypeInteger = 1;
constexpr int32_t kTypeSwitch = 2;
constexpr int32_t kTypeTime = 1000;
constexpr int32_t kTypeText = 1001;

constexpr int32_t kParamFlagWire4 = 0x80;
constexpr int32_t kParamFlagWire8 = 0x40;
constexpr uint8_t kWireFlag4 = 0x04;
constexpr uint8_t kWireFlag8 = 0x08;

struct KindLayout
{
    int base;
    int stride; // ids per block
    int blocks;
};

constexpr KindLayout kLayouts[] = {
    {WireIdSpace::kMainBase, kMainCount, 1},
    {WireIdSpace::kPresetBase, kPresetCount, 1},
    {WireIdSpace::kInputBase, WireIdSpace::kInputStride, WireIdSpace::kInputCount},
    {WireIdSpace::kOutputBase, WireIdSpace::kOutputStride, WireIdSpace::kOutputCount},
};

template <int N> bool Contains(const int (&offsets)[N], int offset)
{
    for (int candidate : offsets)
        if (candidate == offset)
            return true;
    return false;
}
} // namespace

bool DecodeWireId(int wireId, int* kind, int* block, int* offset)
{
    if (wireId < 0 || wireId >= WireIdSpace::kCount)
        return false;
    int foundKind = WireIdSpace::kOutput;
    while (wireId < kLayouts[foundKind].base)
        --foundKind;
    const KindLayout& layout = kLayouts[foundKind];
    const int foundBlock = (wireId - layout.base) / layout.stride;
    if (kind != nullptr)
        *kind = foundKind;
    if (block != nullptr)
        *block = foundBlock;
    if (offset != nullptr)
        *offset = wireId - layout.base - layout.stride * foundBlock;
    return true;
}

int EncodeWireId(int kind, int block, int offset)
{
    if (kind < WireIdSpace::kMain || kind > WireIdSpace::kOutput)
        return -1;
    const KindLayout& layout = kLayouts[kind];
    if (block < 0 || block >= layout.blocks || offset < 0 || offset >= layout.stride)
        return -1;
    return layout.base + layout.stride * block + offset;
}

bool IsPackedIntWireId(int wireId)
{
    return wireId >= kFirstPackedIntWireId && wireId <= kLastPackedIntWireId;
}

bool IsFloatParamType(int32_t paramType)
{
    return paramType != kTypeInteger && paramType != kTypeSwitch && paramType != kTypeTime &&
           paramType != kTypeText;
}

bool IsWireIdSent(int wireId)
{
    int kind = 0;
    int block = 0;
    int offset = 0;
    if (!DecodeWireId(wireId, &kind, &block, &offset))
        return false;
    switch (kind)
    {
    case WireIdSpace::kMain:
        return !Contains(kMainNeverSent, offset);
    case WireIdSpace::kPreset:
        return !Contains(kPresetNeverSent, offset);
    case WireIdSpace::kInput:
        return !Contains(kInputNeverSent, offset);
    default:
        return !Contains(kOutputNeverSent, offset);
    }
}

uint8_t WireFlagsFromParamFlags(int32_t paramFlags)
{
    uint8_t wireFlags = 0;
    if ((paramFlags & kParamFlagWire4) != 0)
        wireFlags |= kWireFlag4;
    if ((paramFlags & kParamFlagWire8) != 0)
        wireFlags |= kWireFlag8;
    return wireFlags;
}

int32_t ParamFlagsFromWireFlags(int32_t paramFlags, uint8_t wireFlags)
{
    int32_t flags = paramFlags & ~(kParamFlagWire4 | kParamFlagWire8);
    if ((wireFlags & kWireFlag4) != 0)
        flags |= kParamFlagWire4;
    if ((wireFlags & kWireFlag8) != 0)
        flags |= kParamFlagWire8;
    return flags;
}
