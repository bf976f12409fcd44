#include "windows/SysOvvOutputLevelsPanel.h"

#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XRGB.h"
#include "device/ChannelParamTables.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "windows/LocalParamDesc.h"
#include "windows/OutputParamIds.h"

namespace
{
constexpr int32_t kOutputMeterId = ChannelParamTables::kOutputMeterId;
constexpr int32_t kGainReductionId = ChannelParamTables::kGainReductionId;
constexpr int32_t kGuiMeterId = ChannelParamTables::kGuiMeterId;
constexpr int32_t kSegmentCount = 8;
constexpr int32_t kClipSegment = 7;
constexpr float kSegmentLevels[kSegmentCount] = {-15, -12, -9, -6, -3, -1, 0, 0};

} // namespace

SysOvvOutputLevelsPanel::SysOvvOutputLevelsPanel(const XPoint& position, int32_t channel,
                                                 SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::Limiter, position, channel, shared),
      limiter(LocalParamDesc(nullptr, XParamDesc::kTypeInteger, 0, 1, 0, 2))
{
    if (XParam* reduction = ChannelParam(kGainReductionId))
        reduction->AddWatcher(this, kGainReductionKey, true);
}

SysOvvOutputLevelsPanel::~SysOvvOutputLevelsPanel()
{
    XParam::ForgetWatcher(this);
}

void SysOvvOutputLevelsPanel::BuildChildren()
{
    using namespace OutputParamIds;
    AddSlider(3, 3, ChannelParam(kOutputGain), "block\\blockFaderBg.png", "block\\blockFaderSlider.png");
    AddLed(38, 16, ChannelParam(kOutputMute), "block\\BlockLedLargeDim.png", "block\\blockLedLargeRed.png",
           true);

    meter = new XQM7FrontPanelLEDMeter(XRect(27, 8, 36, 70), kSegmentCount, kLedDim, kLedGreen,
                                       ChannelParam(kGuiMeterId));
    meter->SetLevels(kSegmentLevels, kSegmentCount);
    meter->SetSegmentImage("block\\blockMeterLedYellow.png", 6);
    meter->SetSegmentImage("block\\blockMeterLedRed.png", 7);
    meter->SetIndicator(kClipSegment, ChannelParam(kOutputMeterId), 0.0);
    meter->SetHilite(false);
    AddChild(meter);

    AddValueText(XRect(3, 52, 26, 65), ChannelParam(kOutputGain), XRGB(210, 211, 212, 255));
    AddLed(46, 51, &limiter, kLedDim, "block\\blockMeterLedRed.png");
}

void SysOvvOutputLevelsPanel::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    SysOvvBlockPanel::ParamChanged(code, param, key);
    if (param != nullptr && key == kGainReductionKey && XMsgCode::IsValueChange(code))
        limiter.ChangeValue(param->GetValue() < 0.0 ? 1.0 : 0.0, true);
}
