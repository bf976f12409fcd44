#include "windows/SysOvvOutputPanel.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XRGB.h"
#include "device/ChannelInput.h"
#include "device/ChannelLinking.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "gui/XPict.h"
#include "widgets/XEQView.h"
#include "windows/LocalParamDesc.h"
#include "windows/OutputParamIds.h"
#include "windows/SharedWindowState.h"
#include "windows/SysOvvMstrPEQPanel.h"
#include "windows/SysOvvShared.h"

namespace
{
using namespace OutputParamIds;

constexpr int32_t kSourceId = ChannelParamTables::kOutputSourceId;
constexpr int32_t kOutputEqBypassId = ChannelParamTables::kChannelEqBypassId;
constexpr int32_t kOutputBandGainId = ChannelParamTables::kOutputGainFirstId;
constexpr int32_t kOutputBandFreqId = ChannelParamTables::kOutputFreqFirstId;
constexpr int32_t kOutputBandQId = ChannelParamTables::kOutputQFirstId;
constexpr int32_t kOutputBandBypassId = ChannelParamTables::kOutputBypassFirstId;
constexpr int32_t kInputTypeId = ChannelParamTables::kInputTypeFirstId;
constexpr int32_t kInputGainId = ChannelParamTables::kInputGainFirstId;
constexpr int32_t kInputFreqId = ChannelParamTables::kInputFreqFirstId;
constexpr int32_t kInputQId = ChannelParamTables::kInputQFirstId;
constexpr int32_t kInputBypassId = ChannelParamTables::kInputBypassFirstId;
constexpr int32_t kPeqAllBypassId = ChannelParamTables::kPeqAllBypassId;
constexpr int32_t kGeqGainId = ChannelParamTables::kGeqGainFirstId;
constexpr int32_t kGeqAllBypassId = ChannelParamTables::kGeqAllBypassId;
constexpr int32_t kInputCount = 2;
constexpr int32_t kGeqBands = SysOvvShared::kGeqBandCount;
constexpr int32_t kPeqKeyStride = 11;

XParam* InputParam(int32_t input, int32_t id)
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

bool IsOn(XParam* param)
{
    return param != nullptr && param->GetValue() == 1.0;
}

// Value maps of the own band-on parameters: bypassed (1) while the whole equaliser is.
double OutputBandMap(XParam* /*param*/, double stored, int32_t output)
{
    return IsOn(OutputParam(output, kOutputEqBypassId)) ? 1.0 : stored;
}
double GeqBandMap(XParam* /*param*/, double stored, int32_t input)
{
    return IsOn(InputParam(input, kGeqAllBypassId)) ? 1.0 : stored;
}
double PeqBandMap(XParam* /*param*/, double stored, int32_t input)
{
    return IsOn(InputParam(input, kPeqAllBypassId)) ? 1.0 : stored;
}

/** A two-step band-on parameter (0 on, 1 bypassed) that reads through map. */
void SetupOn(FloatParam& param, const char* name, ParamValueMapCallback map, int32_t user)
{
    XParamDescExt ext;
    ext.valueMapCallback = map;
    ext.valueMapUser = user;
    XParamDesc desc = LocalParamDesc(name, XParamDesc::kTypeInteger, 0, 1, 0, 2);
    desc.ext = &ext; // copied by SetDesc
    param.SetDesc(&desc);
}

bool Feeds(int32_t source, int32_t input)
{
    constexpr int32_t kBothInputs = 2;
    return source == input || source == kBothInputs;
}
} // namespace

SysOvvOutputPanel::SysOvvOutputPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::OutputChannel, position, channel, shared)
{
    for (FloatParam& on : outputBandOn)
        SetupOn(on, nullptr, &OutputBandMap, channel);
    for (int32_t input = 0; input < kInputCount; ++input)
    {
        for (int32_t band = 0; band < kGeqBands; ++band)
        {
            XString name;
            name.Format("outCh%d_inCh%d_GEQband%d", channel, input, band);
            SetupOn(*GeqBandOn(input, band), name.CStr(), &GeqBandMap, input);
        }
        for (int32_t band = 0; band < kPeqBandCount; ++band)
        {
            XString name;
            name.Format("outCh%d_inCh%d_PEQband%d", channel, input, band);
            SetupOn(*PeqBandOn(input, band), name.CStr(), &PeqBandMap, input);
        }
    }
    WatchSources();
}

SysOvvOutputPanel::~SysOvvOutputPanel()
{
    XParam::ForgetWatcher(this);
    if (shared.outputPanels[static_cast<size_t>(GetChannel())] == this)
    {
        shared.outputPanels[static_cast<size_t>(GetChannel())] = nullptr;
        shared.summedViews[static_cast<size_t>(GetChannel())] = nullptr;
    }
}

void SysOvvOutputPanel::WatchSources()
{
    if (XParam* eqBypass = ChannelParam(kOutputEqBypassId))
        eqBypass->AddWatcher(this, kEqBypassKey, true);
    for (int32_t band = 0; band < kOutputBandCount; ++band)
        if (XParam* bypass = ChannelParam(kOutputBandBypassId + band))
            bypass->AddWatcher(this, kOutputBandKey + band, true);
    for (int32_t input = 0; input < kInputCount; ++input)
    {
        if (XParam* all = InputParam(input, kGeqAllBypassId))
            all->AddWatcher(this, kGeqAllKey + input, true);
        for (int32_t band = 0; band < kGeqBands; ++band)
            if (XParam* bypass = InputParam(input, ChannelParamTables::kGeqBypassFirstId + band))
                bypass->AddWatcher(this, kGeqBandKey + kGeqBands * input + band, true);
        if (XParam* all = InputParam(input, kPeqAllBypassId))
            all->AddWatcher(this, kPeqAllKey + input, true);
        for (int32_t band = 0; band < kPeqBandCount; ++band)
            if (XParam* bypass = InputParam(input, kInputBypassId + band))
                bypass->AddWatcher(this, kPeqBandKey + kPeqKeyStride * input + band, true);
    }
}

FloatParam* SysOvvOutputPanel::OutputBandOn(int32_t band)
{
    return band >= 0 && band < kOutputBandCount ? &outputBandOn[static_cast<size_t>(band)] : nullptr;
}

FloatParam* SysOvvOutputPanel::GeqBandOn(int32_t input, int32_t band)
{
    if (input < 0 || input >= kInputCount || band < 0 || band >= kGeqBands)
        return nullptr;
    return &geqBandOn[static_cast<size_t>(input)][static_cast<size_t>(band)];
}

FloatParam* SysOvvOutputPanel::PeqBandOn(int32_t input, int32_t band)
{
    if (input < 0 || input >= kInputCount || band < 0 || band >= kPeqBandCount)
        return nullptr;
    return &peqBandOn[static_cast<size_t>(input)][static_cast<size_t>(band)];
}

void SysOvvOutputPanel::BuildChildren()
{
    const int32_t output = GetChannel();
    const XRGB text(210, 211, 212, 255);
    AddChild(new XPict(XRect(6, 47, 66, 64), nullptr, "block\\blockTextField.png", false));
    AddValueText(XRect(6, 47, 66, 64), ChannelParam(kLabel), text);

    summedView = MakeCurve(XRect(6, 6, 66, 42), kBandCount);
    summedView->BindOffsetParam(ChannelParam(kOutputGain));
    summedView->SetBandOnMode(1);
    summedView->BindEnableParam(ChannelParam(kOutputMute));
    summedView->SetEnablePolarity(0);

    for (int32_t input = 0; input < kInputCount; ++input)
    {
        for (int32_t band = 0; band < kPeqBandCount; ++band)
        {
            const int32_t slot = kPeqBandCount * input + band;
            summedView->BindBandParam(XEQView::kBandGain, InputParam(input, kInputGainId + band), slot);
            summedView->BindBandParam(XEQView::kBandFrequency, InputParam(input, kInputFreqId + band), slot);
            summedView->BindBandParam(XEQView::kBandQ, InputParam(input, kInputQId + band), slot);
            summedView->BindBandParam(
                XEQView::kBandType,
                SysOvvMstrPEQPanel::DrawTypeOf(input, band, InputParam(input, kInputTypeId + band)), slot);
        }
        for (int32_t band = 0; band < kGeqBands; ++band)
        {
            const int32_t slot = kFirstGeqBand + kGeqBands * input + band;
            summedView->BindBandParam(XEQView::kBandGain, InputParam(input, kGeqGainId + band), slot);
            summedView->BindBandParam(XEQView::kBandFrequency, shared.GeqFrequency(band), slot);
            summedView->BindBandParam(XEQView::kBandQ, &shared.GeqQ(), slot);
            summedView->BindBandParam(XEQView::kBandType, &shared.GeqType(), slot);
        }
    }

    const struct
    {
        int32_t slot;
        int32_t frequencyId;
        const char* qPath;
        const char* typePath;
    } crossover[2] = {{kHighPassBand, kHipassFreq, "crossover\\HPFQCh%d", "crossover\\HPFTypeCh%d"},
                      {kLowPassBand, kLopassFreq, "crossover\\LPFQCh%d", "crossover\\LPFTypeCh%d"}};
    for (const auto& side : crossover)
    {
        summedView->BindBandParam(XEQView::kBandGain, &shared.ZeroGain(), side.slot);
        summedView->BindBandParam(XEQView::kBandFrequency, ChannelParam(side.frequencyId), side.slot);
        summedView->BindBandParam(XEQView::kBandQ, FindParam(side.qPath, output + 1), side.slot);
        summedView->BindBandParam(XEQView::kBandType, FindParam(side.typePath, output + 1), side.slot);
        summedView->BindBandParam(XEQView::kBandOn, &shared.Zero(), side.slot);
    }

    for (int32_t band = 0; band < kOutputBandCount; ++band)
    {
        const int32_t slot = kFirstOutputBand + band;
        summedView->BindBandParam(XEQView::kBandGain, ChannelParam(kOutputBandGainId + band), slot);
        summedView->BindBandParam(XEQView::kBandFrequency, ChannelParam(kOutputBandFreqId + band), slot);
        summedView->BindBandParam(XEQView::kBandQ, ChannelParam(kOutputBandQId + band), slot);
        summedView->BindBandParam(XEQView::kBandType, SharedWindowState::Instance().DrawType(output, band),
                                  slot);
        summedView->BindBandParam(XEQView::kBandOn, OutputBandOn(band), slot);
    }

    XParam* source = ChannelParam(kSourceId);
    AddChild(summedView);
    shared.summedViews[static_cast<size_t>(output)] = summedView;
    shared.outputPanels[static_cast<size_t>(output)] = this;
    BindInputBands(source != nullptr ? TruncatedValue(source->GetValue()) : 0);
}

void SysOvvOutputPanel::BindInputBands(int32_t source)
{
    if (summedView == nullptr)
        return;
    for (int32_t input = 0; input < kInputCount; ++input)
    {
        const bool fed = Feeds(source, input);
        for (int32_t band = 0; band < kPeqBandCount; ++band)
            summedView->BindBandParam(XEQView::kBandOn,
                                      fed ? static_cast<XParam*>(PeqBandOn(input, band)) : &shared.Bypassed(),
                                      kPeqBandCount * input + band);
        for (int32_t band = 0; band < kGeqBands; ++band)
            summedView->BindBandParam(XEQView::kBandOn,
                                      fed ? static_cast<XParam*>(GeqBandOn(input, band)) : &shared.Bypassed(),
                                      kFirstGeqBand + kGeqBands * input + band);
    }
}

void SysOvvOutputPanel::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    SysOvvBlockPanel::ParamChanged(code, param, key);
    if (param == nullptr || !XMsgCode::IsValueChange(code))
        return;
    const double value = param->GetValue();
    auto invalidateAll = [this]
    {
        for (XEQView* view : shared.summedViews)
            if (view != nullptr)
                view->InvalidateAllBands();
    };
    if (key == kEqBypassKey)
    {
        if (summedView != nullptr)
            summedView->InvalidateAllBands();
    }
    else if (FloatParam* band = OutputBandOn(key - kOutputBandKey))
    {
        band->ChangeValue(value, true);
    }
    else if (key == kGeqAllKey || key == kGeqAllKey + 1 || key == kPeqAllKey || key == kPeqAllKey + 1)
    {
        invalidateAll();
    }
    else if (const int32_t n = key - kGeqBandKey; n >= 0 && n < kInputCount * kGeqBands)
    {
        GeqBandOn(n / kGeqBands, n % kGeqBands)->ChangeValue(value, true);
    }
    else if (const int32_t m = key - kPeqBandKey; m >= 0 && m / kPeqKeyStride < kInputCount)
    {
        if (FloatParam* band = PeqBandOn(m / kPeqKeyStride, m % kPeqKeyStride))
            band->ChangeValue(value, true);
    }
}
