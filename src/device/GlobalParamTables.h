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

/** Ids the code names. AppStateParamTable, UnitSettingsParamTable and GlobalSettingsParamTable share
    the main group; the unit's ids (below 60) are also their wire ids. */
constexpr int32_t kMSStateId = 0;                    // MSState
constexpr int32_t kTempId = 1;                       // Temp
constexpr int32_t kTempUnitsId = 2;                  // TempUnits
constexpr int32_t kListenModeId = 6;                 // ListenMode
constexpr int32_t kGlobalEditModeId = 8;             // globalEditMode
constexpr int32_t kCurrentPresetId = 14;             // CurrentPreset
constexpr int32_t kRS232OrContactsId = 15;           // RS232OrContacts
constexpr int32_t kContactsValueId = 16;             // ContactsValue
constexpr int32_t kContactPresetFirstId = 17;        // Contact1Preset; contact i + 1 has this id + i
constexpr int32_t kMasterSlaveModeId = 25;           // MasterSlaveMode
constexpr int32_t kMSChanConfigId = 26;              // MSChanConfig
constexpr int32_t kDSPLoadId = 28;                   // DSPLoad
constexpr int32_t kGlobalDirtyId = 49;               // GlobalDirty
constexpr int32_t kStatusId = 61;                    // Status
constexpr int32_t kToolbarABId = 62;                 // ToolbarAB
constexpr int32_t kWndOverviewId = 70;               // WndOverview
constexpr int32_t kWndConfigId = 71;                 // WndConfig
constexpr int32_t kWndCrossoverId = 72;              // WndCrossover
constexpr int32_t kWndMasterEqId = 73;               // WndMasterEQ
constexpr int32_t kWndGraphicEqId = 74;              // WndGraphicEQ
constexpr int32_t kWndInputDelayId = 75;             // WndInputDelay
constexpr int32_t kWndChanEqId = 76;                 // WndChanEQ
constexpr int32_t kWndChanDelayId = 77;              // WndChanDelay
constexpr int32_t kWndOutputLevelsId = 78;           // WndOutputLevels
constexpr int32_t kWndOutputFreqRespId = 79;         // WndOutputFreqResp
constexpr int32_t kDocumentDirtyId = 87;             // documentDirty
constexpr int32_t kPresetDirtyId = 88;               // presetDirty
constexpr int32_t kChannelLinkingId = 89;            // enableChannelLinking
constexpr int32_t kStoreMemLocationId = 91;          // storeMemLocation
constexpr int32_t kRecallMemLocationId = 92;         // recallMemLocation
constexpr int32_t kUsbActiveId = 110;                // usbActive
constexpr int32_t kRs232ActiveId = 111;              // rs232Active
constexpr int32_t kTempFahrenheitId = 113;           // TempFarenheit
constexpr int32_t kWndLinkInputDelayId = 116;        // WndLinkInputDelay
constexpr int32_t kWndLinkInputPeqId = 117;          // WndLinkInputPEQ
constexpr int32_t kWndLinkInputGeqId = 118;          // WndLinkInputGEQ
constexpr int32_t kEditCompareLockId = 119;          // lockUIForEditCompare
constexpr int32_t kCompareEditDisplayButtonId = 122; // compareeditdisplaybutton
constexpr int32_t kConfirmChangeListenModeId = 123;  // confirmchangelistenmode
constexpr int32_t kGetAllFromRecallId = 124;         // CheckSendGetAllIsFromRecall
constexpr int32_t kSaveUserPresetId = 125;           // SaveUserPreset
constexpr int32_t kSaveUserPresetPathId = 126;       // SaveUserPresetPath
constexpr int32_t kDisplayLoadingId = 127;           // displayloading
/** Ids of PresetInfoParamTable the code names. */
constexpr int32_t kPresetNameFirstId = 0;  // PresetName1; piece i + 1 of the name has this id + i
constexpr int32_t kProgramDate1Id = 5;     // programDate1
constexpr int32_t kProgramDate2Id = 6;     // programDate2
constexpr int32_t kAuthorId = 7;           // author
constexpr int32_t kRevisionId = 8;         // revision
constexpr int32_t kCurrentConfigId = 9;    // CurrentConfig
constexpr int32_t kInputDelayBaseId = 10;  // inputDelayBase
constexpr int32_t kOutputDelayBaseId = 11; // outputDelayBase
constexpr int32_t kConfigLedsId = 12;      // ConfigLEDio
constexpr int32_t kProgramNameId = 64;     // programName
constexpr int32_t kColorChanFirstId = 81;  // ColorChan1; output i + 1 has this id + i
/** Ids of SlaveStatusParamTable the code names. */
constexpr int32_t kSlaveMeterInAId = 93;
constexpr int32_t kSlaveMeterInBId = 94;
constexpr int32_t kSlaveMeterOut1Id = 95;   // output i + 1 has this id + i
constexpr int32_t kSlavedChanFirstId = 101; // slavedChanInA, slavedChanInB, slavedChanOut1..6
constexpr int32_t kSlavedChanConfigId = 109;
} // namespace GlobalParamTables

extern const XParamDesc AppStateParamTable[GlobalParamTables::kAppStateRowCount + 1];
extern const XParamDesc UnitSettingsParamTable[GlobalParamTables::kUnitSettingsRowCount + 1];
extern const XParamDesc GlobalSettingsParamTable[GlobalParamTables::kGlobalSettingsRowCount + 1];
extern const XParamDesc PresetInfoParamTable[GlobalParamTables::kPresetInfoRowCount + 1];
extern const XParamDesc SlaveStatusParamTable[GlobalParamTables::kSlaveStatusRowCount + 1];
