#include "windows/SysOvvInputDelayPanel.h"

#include "core/XRGB.h"
#include "device/ChannelParamTables.h"
#include "widgets/XSlider.h"

namespace
{
constexpr int32_t kDelayTimeId = ChannelParamTables::kInputDelayId;
constexpr int32_t kDelayBypassId = ChannelParamTables::kInputDelayBypassId;
} // namespace

SysOvvInputDelayPanel::SysOvvInputDelayPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::InputDelay, position, channel, shared)
{
}

void SysOvvInputDelayPanel::BuildChildren()
{
    XParam* delay = ChannelParam(kDelayTimeId);
    slider = AddSlider(7, 8, delay, "block\\blockScreenTransBg.png",
                       GetChannel() == 0 ? "block\\blockDelaySpeakerOrange.png"
                                         : "block\\blockDelaySpeakerCyan.png");
    AddLed(32, 56, ChannelParam(kDelayBypassId), kLedGreen, kLedDim);
    AddValueText(XRect(4, 44, 72, 57), delay, XRGB(36, 38, 39, 255));
}
