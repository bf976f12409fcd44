#include "windows/SysOvvMstrPEQPanel.h"

#include "device/ChannelParamTables.h"
#include "gui/XColorDictionary.h"
#include "widgets/XEQView.h"
#include "windows/SharedWindowState.h"

namespace
{
constexpr int32_t kViewBandCount = 11;
constexpr int32_t kBoundBandCount = 10; // the high-pass filter and nine bands
constexpr int32_t kTypeFirstId = ChannelParamTables::kInputTypeFirstId;
constexpr int32_t kGainFirstId = ChannelParamTables::kInputGainFirstId;
constexpr int32_t kFreqFirstId = ChannelParamTables::kInputFreqFirstId;
constexpr int32_t kQFirstId = ChannelParamTables::kInputQFirstId;
constexpr int32_t kBypassFirstId =
    ChannelParamTables::kInputBypassFirstId; // HPFBypass, then Band1Bypass..Band9Bypass
constexpr int32_t kAllBypassId = ChannelParamTables::kPeqAllBypassId;
} // namespace

XParam* SysOvvMstrPEQPanel::DrawTypeOf(int32_t input, int32_t band, XParam* unitType)
{
    XParam* drawType = SharedWindowState::Instance().InputDrawType(input, band);
    return drawType != nullptr ? drawType : unitType;
}

SysOvvMstrPEQPanel::SysOvvMstrPEQPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::InputPeq, position, channel, shared)
{
}

void SysOvvMstrPEQPanel::BuildChildren()
{
    const int32_t input = GetChannel();
    AddLed(17, 56, ChannelParam(kBypassFirstId), kLedGreen, kLedDim);
    AddLed(47, 56, ChannelParam(kAllBypassId), kLedGreen, kLedDim);

    curve = MakeCurve(XRect(6, 6, 66, 42), kViewBandCount);
    curve->SetBandOnMode(1);
    curve->SetCurveColor(GetColorDictionary().GetColor(input == 0 ? "inputA" : "inputB"));
    curve->BindEnableParam(ChannelParam(kAllBypassId));
    curve->SetEnablePolarity(0);
    for (int32_t band = 0; band < kBoundBandCount; ++band)
    {
        curve->BindBandParam(XEQView::kBandGain, ChannelParam(kGainFirstId + band), band);
        curve->BindBandParam(XEQView::kBandFrequency, ChannelParam(kFreqFirstId + band), band);
        curve->BindBandParam(XEQView::kBandQ, ChannelParam(kQFirstId + band), band);
        curve->BindBandParam(XEQView::kBandType, DrawTypeOf(input, band, ChannelParam(kTypeFirstId + band)),
                             band);
        curve->BindBandParam(XEQView::kBandOn, ChannelParam(kBypassFirstId + band), band);
    }
    AddChild(curve);
}
