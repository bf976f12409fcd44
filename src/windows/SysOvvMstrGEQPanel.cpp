#include "windows/SysOvvMstrGEQPanel.h"

#include "device/ChannelParamTables.h"
#include "gui/XColorDictionary.h"
#include "widgets/XEQView.h"
#include "windows/SysOvvShared.h"

namespace
{
constexpr int32_t kGainFirstId = ChannelParamTables::kGeqGainFirstId;
constexpr int32_t kAllBypassId = ChannelParamTables::kGeqAllBypassId;
} // namespace

SysOvvMstrGEQPanel::SysOvvMstrGEQPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::InputGeq, position, channel, shared)
{
}

void SysOvvMstrGEQPanel::BuildChildren()
{
    constexpr int32_t kBands = SysOvvShared::kGeqBandCount;
    AddLed(32, 56, ChannelParam(kAllBypassId), kLedGreen, kLedDim);

    curve = MakeCurve(XRect(6, 6, 66, 42), kBands);
    curve->SetBandOnMode(1);
    curve->SetCurveColor(GetColorDictionary().GetColor(GetChannel() == 0 ? "inputA" : "inputB"));
    curve->BindEnableParam(ChannelParam(kAllBypassId));
    curve->SetEnablePolarity(0);
    for (int32_t band = 0; band < kBands; ++band)
    {
        curve->BindBandParam(XEQView::kBandGain, ChannelParam(kGainFirstId + band), band);
        curve->BindBandParam(XEQView::kBandFrequency, shared.GeqFrequency(band), band);
        curve->BindBandParam(XEQView::kBandQ, &shared.GeqQ(), band);
        curve->BindBandParam(XEQView::kBandType, &shared.GeqType(), band);
        curve->BindBandParam(XEQView::kBandOn, ChannelParam(ChannelParamTables::kGeqBypassFirstId + band),
                             band);
    }
    AddChild(curve);
}
