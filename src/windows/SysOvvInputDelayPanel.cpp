#include "windows/SysOvvInputDelayPanel.h"

#include "core/XRGB.h"
#include "widgets/XSlider.h"

namespace
{
constexpr int32_t kDelayTimeId = 96;
constexpr int32_t kDelayBypassId = 97;
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
