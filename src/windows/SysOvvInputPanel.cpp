#include "windows/SysOvvInputPanel.h"

#include "device/ChannelParamTables.h"
#include "widgets/XLEDMeter.h"

namespace
{
constexpr int32_t kInputMeterId = ChannelParamTables::kInputMeterId;
constexpr int32_t kSegmentCount = 8;
constexpr float kSegmentLevels[kSegmentCount] = {-52, -42, -34, -28, -22, -19, -16, -1};
} // namespace

SysOvvInputPanel::SysOvvInputPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::InputMeter, position, channel, shared)
{
}

void SysOvvInputPanel::BuildChildren()
{
    meter = new XLEDMeter(XRect(8, 8, 17, 70), kSegmentCount, kLedDim, kLedGreen, ChannelParam(kInputMeterId),
                          true);
    meter->SetLevels(kSegmentLevels, kSegmentCount);
    meter->SetSegmentImage("block\\blockMeterLedYellow.png", 6);
    meter->SetSegmentImage("block\\blockMeterLedRed.png", 7);
    meter->SetHilite(false);
    AddChild(meter);
}
