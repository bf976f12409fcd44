#pragma once

#include "device/GlobalParamTables.h"

#include <cstdint>

class SubWindowRegistry;

/** The editor windows of the program by the names the registry knows them under (the labels of
    their menu commands), in the order the application creates them at start-up, with their
    window-open parameters (main group ids 70..79). */
namespace EditorWindows
{
constexpr const char* kConfiguration = "Configuration";
constexpr const char* kCrossover = "Crossover";
constexpr const char* kInputParametricEq = "Input Parametric Eq";
constexpr const char* kInputGraphicEq = "Input Graphic Eq";
constexpr const char* kInputDelay = "Input Delay";
constexpr const char* kOutputDelay = "Output Delay";
constexpr const char* kSystemOverview = "System Overview";
constexpr const char* kOutputParametricEq = "Output Parametric Eq";
constexpr const char* kLimitersAndLevels = "Limiters and Levels";
constexpr const char* kFrequencyResponse = "Frequency Response";
constexpr const char* kFrontPanelAccess = "Front Panel Access";
constexpr const char* kPresets = "Presets";
constexpr const char* kContactClosure = "Contact Closure";

constexpr int32_t kOverviewParamId = GlobalParamTables::kWndOverviewId;
constexpr int32_t kConfigParamId = GlobalParamTables::kWndConfigId;
constexpr int32_t kCrossoverParamId = GlobalParamTables::kWndCrossoverId;
constexpr int32_t kInputPeqParamId = GlobalParamTables::kWndMasterEqId;
constexpr int32_t kInputGeqParamId = GlobalParamTables::kWndGraphicEqId;
constexpr int32_t kInputDelayParamId = GlobalParamTables::kWndInputDelayId;
constexpr int32_t kOutputEqParamId = GlobalParamTables::kWndChanEqId;
constexpr int32_t kOutputDelayParamId = GlobalParamTables::kWndChanDelayId;
constexpr int32_t kLevelsParamId = GlobalParamTables::kWndOutputLevelsId;
constexpr int32_t kFreqResponseParamId = GlobalParamTables::kWndOutputFreqRespId;
constexpr int32_t kFirstWindowParamId = kOverviewParamId;
constexpr int32_t kLastWindowParamId = kFreqResponseParamId;

/** Registers a row for every editor window, in the start-up order above; a window not built yet has
    a row without a function. */
void Register(SubWindowRegistry& registry);
} // namespace EditorWindows
