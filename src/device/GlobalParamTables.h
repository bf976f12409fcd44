#pragma once

#include "core/XParamDesc.h"

#include <cstdint>

/** The parameters that are not per channel, in five constant tables, each ended by a row of id -1
    and an empty name: the editor's own state (AppStateParamTable, prefix "QM7"), the unit's system
    settings (UnitSettingsParamTable, "QM7_KOVA"), the editor's global settings
    (GlobalSettingsParamTable, "global"), the descriptive data of the current program
    (PresetInfoParamTable, "preset", and a second time "presetComapreMode" for the compare twin)
    and the meters and states of a slaved unit (SlaveStatusParamTable, "QM7_slave"). The first
    three share the application's main group, so their ids are distinct across the three.

    Their callbacks are those of GlobalParamCallbacks. */
namespace GlobalParamTables
{
/** Rows before the end row. */
constexpr int kAppStateRowCount = 34;
constexpr int kUnitSettingsRowCount = 18;
constexpr int kGlobalSettingsRowCount = 9;
constexpr int kPresetInfoRowCount = 24;
constexpr int kSlaveStatusRowCount = 17;

/** Path prefixes under which the application loads the tables. */
constexpr const char* kAppStatePrefix = "QM7";
constexpr const char* kUnitSettingsPrefix = "QM7_KOVA";
constexpr const char* kGlobalSettingsPrefix = "global";
constexpr const char* kPresetInfoPrefix = "preset";
constexpr const char* kComparePresetInfoPrefix = "presetComapreMode";
constexpr const char* kSlaveStatusPrefix = "QM7_slave";

/** Flag bits of the rows. */
constexpr int32_t kTransient = XParamDesc::kFlagTransient;
constexpr int32_t kPreference = XParamDesc::kFlagPreference;
} // namespace GlobalParamTables

extern const XParamDesc AppStateParamTable[GlobalParamTables::kAppStateRowCount + 1];
extern const XParamDesc UnitSettingsParamTable[GlobalParamTables::kUnitSettingsRowCount + 1];
extern const XParamDesc GlobalSettingsParamTable[GlobalParamTables::kGlobalSettingsRowCount + 1];
extern const XParamDesc PresetInfoParamTable[GlobalParamTables::kPresetInfoRowCount + 1];
extern const XParamDesc SlaveStatusParamTable[GlobalParamTables::kSlaveStatusRowCount + 1];
