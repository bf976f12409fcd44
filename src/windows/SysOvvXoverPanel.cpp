#include "windows/SysOvvXoverPanel.h"

#include "core/ParamRegistry.h"
#include "widgets/XEQView.h"
#include "windows/OutputParamIds.h"
#include "windows/SysOvvShared.h"

SysOvvXoverPanel::SysOvvXoverPanel(const XPoint& position, int32_t channel, SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::Crossover, position, channel, shared)
{
}

void SysOvvXoverPanel::BuildChildren()
{
    using namespace OutputParamIds;
    const int32_t output = GetChannel();
    XEQView* curve = MakeCurve(XRect(5, 6, 65, 42), 2);
    curve->BindEnableParam(&shared.One());
    const struct
    {
        int32_t frequencyId;
        const char* qPath;
        const char* typePath;
    } sides[2] = {{kHipassFreq, "crossover\\HPFQCh%d", "crossover\\HPFTypeCh%d"},
                  {kLopassFreq, "crossover\\LPFQCh%d", "crossover\\LPFTypeCh%d"}};
    for (int32_t band = 0; band < 2; ++band)
    {
        curve->BindBandParam(XEQView::kBandGain, &shared.ZeroGain(), band);
        curve->BindBandParam(XEQView::kBandFrequency, ChannelParam(sides[band].frequencyId), band);
        curve->BindBandParam(XEQView::kBandQ, FindParam(sides[band].qPath, output + 1), band);
        curve->BindBandParam(XEQView::kBandType, FindParam(sides[band].typePath, output + 1), band);
        curve->BindBandParam(XEQView::kBandOn, &shared.One(), band);
    }
    AddChild(curve);
    shared.crossoverViews[static_cast<size_t>(output)] = curve;
    AddLed(30, 56, ChannelParam(kOutputPolarity), kLedDim, kLedGreen);
}
