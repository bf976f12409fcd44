#include "windows/EditorWindows.h"

#include "windows/ChannelDelayWindow.h"
#include "windows/ChannelEqWindow.h"
#include "windows/ConfigWindow.h"
#include "windows/ContactClosureWindow.h"
#include "windows/CrossOverWindow.h"
#include "windows/FreqResponseWindow.h"
#include "windows/FrontPanelWindow.h"
#include "windows/InputDelayWindow.h"
#include "windows/InputPEQWindow.h"
#include "windows/MasterGraphicEqWindow.h"
#include "windows/OutputLevelsWindow.h"
#include "windows/PresetsWindow.h"
#include "windows/SharedWindowState.h"
#include "windows/SubWindowRegistry.h"
#include "windows/SystemOverviewWindow.h"

// Each editor window includes its header here and gives its row its function:
// {kConfiguration, kConfigParamId, &MakeWindow<ConfigWindow>}.

void EditorWindows::Register(SubWindowRegistry& registry)
{
    // The display state the windows share (draw types, focus bands) exists before any window, so
    // that a window made early finds the others' parameters by path.
    SharedWindowState::Instance();
    using Row = SubWindowRegistry::Row;
    constexpr int32_t kNone = SubWindowRegistry::kNoWindowParam;
    registry.Register(Row{kConfiguration, kConfigParamId, &MakeWindow<ConfigWindow>});
    registry.Register(Row{kCrossover, kCrossoverParamId, &MakeWindow<CrossOverWindow>});
    registry.Register(Row{kInputParametricEq, kInputPeqParamId, &MakeWindow<InputPEQWindow>});
    registry.Register(Row{kInputGraphicEq, kInputGeqParamId, &MakeWindow<MasterGraphicEqWindow>});
    registry.Register(Row{kInputDelay, kInputDelayParamId, &MakeWindow<InputDelayWindow>});
    registry.Register(Row{kOutputDelay, kOutputDelayParamId, &MakeWindow<ChannelDelayWindow>});
    registry.Register(Row{kSystemOverview, kOverviewParamId, &MakeWindow<SystemOverviewWindow>});
    registry.Register(Row{kOutputParametricEq, kOutputEqParamId, &MakeWindow<ChannelEqWindow>});
    registry.Register(Row{kLimitersAndLevels, kLevelsParamId, &MakeWindow<OutputLevelsWindow>});
    registry.Register(Row{kFrequencyResponse, kFreqResponseParamId, &MakeWindow<FreqResponseWindow>});
    registry.Register(Row{kFrontPanelAccess, kNone, &MakeWindow<FrontPanelWindow>});
    registry.Register(Row{kPresets, kNone, &MakeWindow<PresetsWindow>});
    registry.Register(Row{kContactClosure, kNone, &MakeWindow<ContactClosureWindow>});
}
