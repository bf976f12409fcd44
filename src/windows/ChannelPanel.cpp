#include "windows/ChannelPanel.h"

#include "windows/FilterPanel.h"

ChannelPanel::ChannelPanel(int32_t outputIndex, XParamGroup* group)
    : drawTypeGroup(group), output(outputIndex)
{
    SetTransparent(true);
}

ChannelPanel::~ChannelPanel() = default;

FilterPanel* ChannelPanel::GetBandPanel(int32_t band) const
{
    return band >= 0 && band < kBandCount ? bandPanels[band] : nullptr;
}

void ChannelPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (bandPanels[0] != nullptr)
        return;
    for (int32_t band = 0; band < kBandCount; ++band)
    {
        auto* panel = new FilterPanel(band, output);
        panel->SetFrame(XRect(kBandPitch * band, 0, kBandPitch * band + kBandWidth, kBandHeight));
        AddChild(panel);
        bandPanels[band] = panel;
    }
}
