#pragma once

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

constexpr int32_t kOverviewParamId = 70;
constexpr int32_t kConfigParamId = 71;
constexpr int32_t kCrossoverParamId = 72;
constexpr int32_t kInputPeqParamId = 73;
constexpr int32_t kInputGeqParamId = 74;
constexpr int32_t kInputDelayParamId = 75;
constexpr int32_t kOutputEqParamId = 76;
constexpr int32_t kOutputDelayParamId = 77;
constexpr int32_t kLevelsParamId = 78;
constexpr int32_t kFreqResponseParamId = 79;
constexpr int32_t kFirstWindowParamId = kOverviewParamId;
constexpr int32_t kLastWindowParamId = kFreqResponseParamId;

/** Registers a row for every editor window, in the start-up order above; a window not built yet has
    a row without a function. */
void Register(SubWindowRegistry& registry);
} // namespace EditorWindows
