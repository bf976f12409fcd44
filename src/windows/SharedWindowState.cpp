#include "windows/SharedWindowState.h"

#include "core/XParamDesc.h"
#include "core/XString.h"
#include "widgets/BlockClipboard.h"
#include "windows/LocalParamDesc.h"

namespace
{
constexpr int32_t kInteger = XParamDesc::kTypeInteger;
constexpr int32_t kTransient = XParamDesc::kFlagTransient;
constexpr int32_t kDrawTypeMax = 30;
constexpr uint32_t kDrawTypeSteps = 25;

const XParamDesc kDrawTypeTable[] = {
    {6, "DrawTypeBand1", kInteger, 0, kDrawTypeMax, 0, kDrawTypeSteps, kTransient, nullptr},
    {7, "DrawTypeBand2", kInteger, 0, kDrawTypeMax, 0, kDrawTypeSteps, kTransient, nullptr},
    {8, "DrawTypeBand3", kInteger, 0, kDrawTypeMax, 0, kDrawTypeSteps, kTransient, nullptr},
    {9, "DrawTypeBand4", kInteger, 0, kDrawTypeMax, 0, kDrawTypeSteps, kTransient, nullptr},
    {10, "DrawTypeBand5", kInteger, 0, kDrawTypeMax, 0, kDrawTypeSteps, kTransient, nullptr},
    {11, "DrawTypeBand6", kInteger, 0, kDrawTypeMax, 0, kDrawTypeSteps, kTransient, nullptr},
    {0, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

// The input bands only take the types 0..4, whose draw types stay below 25.
const XParamDesc kInputDrawTypeTable[] = {
    {8, "DrawTypeBand[10]", kInteger, 0, 24, 0, 25u, kTransient, nullptr},
    {0, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

bool InRange(int32_t index, int32_t count)
{
    return index >= 0 && index < count;
}

/** Back to the descriptor's default without telling anyone. */
void ResetQuietly(XParam& param)
{
    param.SetValue(param.GetDefault(), false);
}
} // namespace

SharedWindowState& SharedWindowState::Instance()
{
    static SharedWindowState state;
    return state;
}

SharedWindowState::SharedWindowState()
{
    const XParamDesc channel =
        LocalParamDesc("CurActiveChannel", kInteger, 0, kOutputCount - 1, 0, kOutputCount);
    curActiveChannel.SetDesc(&channel);
    const XParamDesc focus = LocalParamDesc(nullptr, kInteger, 0, kBandCount - 1, 0, kBandCount);
    const XParamDesc shown = LocalParamDesc(nullptr, kInteger, 0, 1, 0, 2);
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        focusBands[output].SetDesc(&focus);
        for (FloatParam& band : qShown[output])
            band.SetDesc(&shown);
        XString prefix;
        prefix.Format(kDrawTypeGroupFormat, output + 1);
        drawTypeGroups[output] = std::make_unique<XParamGroup>();
        drawTypeGroups[output]->AddParams(kDrawTypeTable, prefix.CStr());
    }
    const XParamDesc inputFocus[kInputCount] = {
        LocalParamDesc("CurFilterFocusA", kInteger, 0, kInputBandCount - 1, 1, kInputBandCount),
        LocalParamDesc("CurFilterFocusB", kInteger, 0, kInputBandCount - 1, 1, kInputBandCount)};
    for (int32_t input = 0; input < kInputCount; ++input)
    {
        inputFocusBands[input].SetDesc(&inputFocus[input]);
        for (FloatParam& band : inputQShown[input])
            band.SetDesc(&shown);
        XString prefix;
        prefix.Format(kInputDrawTypeGroupFormat, 'A' + input);
        inputDrawTypeGroups[input] = std::make_unique<XParamGroup>();
        inputDrawTypeGroups[input]->AddParams(kInputDrawTypeTable, prefix.CStr());
    }
}

SharedWindowState::~SharedWindowState() = default;

FloatParam* SharedWindowState::ChannelEqFocusBand(int32_t output)
{
    return InRange(output, kOutputCount) ? &focusBands[output] : nullptr;
}

FloatParam* SharedWindowState::ChannelEqQShown(int32_t output, int32_t band)
{
    return InRange(output, kOutputCount) && InRange(band, kBandCount) ? &qShown[output][band] : nullptr;
}

XParamGroup* SharedWindowState::DrawTypeGroup(int32_t output)
{
    return InRange(output, kOutputCount) ? drawTypeGroups[output].get() : nullptr;
}

XParam* SharedWindowState::DrawType(int32_t output, int32_t band)
{
    if (!InRange(output, kOutputCount) || !InRange(band, kBandCount))
        return nullptr;
    return drawTypeGroups[output]->GetParam(kDrawTypeFirstId + band);
}

FloatParam* SharedWindowState::InputPeqFocusBand(int32_t input)
{
    return InRange(input, kInputCount) ? &inputFocusBands[input] : nullptr;
}

FloatParam* SharedWindowState::InputPeqQShown(int32_t input, int32_t band)
{
    return InRange(input, kInputCount) && InRange(band, kInputBandCount) ? &inputQShown[input][band]
                                                                         : nullptr;
}

XParamGroup* SharedWindowState::InputDrawTypeGroup(int32_t input)
{
    return InRange(input, kInputCount) ? inputDrawTypeGroups[input].get() : nullptr;
}

XParam* SharedWindowState::InputDrawType(int32_t input, int32_t band)
{
    if (!InRange(input, kInputCount) || !InRange(band, kInputBandCount))
        return nullptr;
    return inputDrawTypeGroups[input]->GetParam(kInputDrawTypeFirstId + band);
}

void SharedWindowState::Reset()
{
    ResetQuietly(curActiveChannel);
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        ResetQuietly(focusBands[output]);
        for (FloatParam& band : qShown[output])
            ResetQuietly(band);
        for (int32_t index = 0; XParam* drawType = drawTypeGroups[output]->GetParamAt(index); ++index)
            ResetQuietly(*drawType);
    }
    for (int32_t input = 0; input < kInputCount; ++input)
    {
        ResetQuietly(inputFocusBands[input]);
        for (FloatParam& band : inputQShown[input])
            ResetQuietly(band);
    }
    for (const auto& group : inputDrawTypeGroups)
        for (int32_t index = 0; XParam* drawType = group->GetParamAt(index); ++index)
            ResetQuietly(*drawType);
    BlockClipboard::Reset();
}
