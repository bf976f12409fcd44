#include "windows/SysOvvChanDelayPanel.h"

#include "core/XRGB.h"
#include "device/ChannelParamTables.h"
#include "widgets/XSlider.h"
#include "windows/SysOvvShared.h"

namespace
{
constexpr int32_t kDelayTimeId = ChannelParamTables::kOutputDelayId;
constexpr int32_t kDelayBypassId = ChannelParamTables::kOutputDelayBypassId;
} // namespace

SysOvvChanDelayPanel::SysOvvChanDelayPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::OutputDelay, position, channel, shared)
{
}

void SysOvvChanDelayPanel::BuildChildren()
{
    XParam* delay = ChannelParam(kDelayTimeId);
    // The knob takes the output's colour from the window (SystemOverviewWindow::ApplyChannelColours).
    XSlider* slider =
        AddSlider(7, 8, delay, "block\\blockScreenTransBg.png", "block\\blockDelaySpeakerRed.png");
    shared.delaySliders[static_cast<size_t>(GetChannel())] = slider;
    AddLed(32, 56, ChannelParam(kDelayBypassId), kLedGreen, kLedDim);
    AddValueText(XRect(4, 44, 72, 57), delay, XRGB(36, 38, 39, 255));
}
