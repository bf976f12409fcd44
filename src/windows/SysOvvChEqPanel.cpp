#include "windows/SysOvvChEqPanel.h"

#include "device/ChannelParamTables.h"
#include "widgets/XEQView.h"
#include "windows/SharedWindowState.h"
#include "windows/SysOvvShared.h"

namespace
{
constexpr int32_t kBandCount = 5;
constexpr int32_t kBandGainFirstId = ChannelParamTables::kOutputGainFirstId;
constexpr int32_t kBandFreqFirstId = ChannelParamTables::kOutputFreqFirstId;
constexpr int32_t kBandQFirstId = ChannelParamTables::kOutputQFirstId;
constexpr int32_t kBandBypassFirstId = ChannelParamTables::kOutputBypassFirstId;
constexpr int32_t kEqBypassId = ChannelParamTables::kChannelEqBypassId;
} // namespace

SysOvvChEqPanel::SysOvvChEqPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::OutputEq, position, channel, shared)
{
}

void SysOvvChEqPanel::BuildChildren()
{
    const int32_t output = GetChannel();
    for (int32_t band = 0; band < kBandCount; ++band)
        AddLed(7 + 12 * band, 56, ChannelParam(kBandBypassFirstId + band), kLedGreen, kLedDim);

    XEQView* curve = MakeCurve(XRect(6, 6, 66, 42), kBandCount);
    curve->BindEnableParam(ChannelParam(kEqBypassId));
    curve->SetEnablePolarity(0);
    curve->SetBandOnMode(1);
    for (int32_t band = 0; band < kBandCount; ++band)
    {
        curve->BindBandParam(XEQView::kBandGain, ChannelParam(kBandGainFirstId + band), band);
        curve->BindBandParam(XEQView::kBandFrequency, ChannelParam(kBandFreqFirstId + band), band);
        curve->BindBandParam(XEQView::kBandQ, ChannelParam(kBandQFirstId + band), band);
        curve->BindBandParam(XEQView::kBandType, SharedWindowState::Instance().DrawType(output, band), band);
        curve->BindBandParam(XEQView::kBandOn, ChannelParam(kBandBypassFirstId + band), band);
    }
    AddChild(curve);
    shared.outputEqViews[static_cast<size_t>(output)] = curve;
}
