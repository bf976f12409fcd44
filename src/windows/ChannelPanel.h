#pragma once

#include "gui/XView.h"

#include <array>
#include <cstdint>

class FilterPanel;
class XParamGroup;

/** The strip of one output's five band panels in the output equaliser window: transparent, it
    builds its FilterPanels (150 by 159 pixels, 155 apart) when its style is first applied, that is
    when the window adds it. The draw-type group is not owned. Main thread only. */
class ChannelPanel final : public XView
{
public:
    static constexpr int32_t kBandCount = 5;
    static constexpr int32_t kBandPitch = 155;
    static constexpr int32_t kBandWidth = 150;
    static constexpr int32_t kBandHeight = 159;

    ChannelPanel(int32_t output, XParamGroup* drawTypeGroup);
    ~ChannelPanel() override;

    void ApplyStyle() override;

    int32_t GetOutput() const { return output; }
    XParamGroup* GetDrawTypeGroup() const { return drawTypeGroup; }
    /** The band's panel (0..4); null before the build or outside. */
    FilterPanel* GetBandPanel(int32_t band) const;

private:
    XParamGroup* drawTypeGroup;
    int32_t output;
    std::array<FilterPanel*, kBandCount> bandPanels{}; // child views
};
