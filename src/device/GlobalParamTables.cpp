#include "device/GlobalParamTables.h"

#include "device/GlobalParamCallbacks.h"

using namespace GlobalParamTables;

namespace
{
/** A callback block of the rows; the tables set no user words. */
constexpr XParamDescExt MakeExt(ParamTextCallback text, ParamVetoCallback change,
                                ParamValueMapCallback valueMap)
{
    XParamDescExt ext;
    ext.textCallback = text;
    ext.vetoCallback = change;
    ext.valueMapCallback = valueMap;
    return ext;
}

/** A table's end row. */
constexpr int32_t kEndId = -1;
/** Four blanks as one integer: an empty piece of a program name. */
constexpr double kFourBlanks = 538976288.0;
/** The largest bit mask and the largest integer form of a text. */
constexpr double kMaxInt = 2147483647.0;

constexpr XParamDescExt kSuspendLinkingExt = MakeExt(nullptr, SuspendLinkingDuringEdit, nullptr);
constexpr XParamDescExt kPresetLocationExt = MakeExt(PresetLocationText, nullptr, nullptr);
constexpr XParamDescExt kUsbActiveExt = MakeExt(nullptr, UsbActiveChanged, nullptr);
constexpr XParamDescExt kTempFahrenheitExt = MakeExt(OneDecimalText, TemperatureEdited, TempFahrenheitValue);
constexpr XParamDescExt kTempCelsiusExt = MakeExt(OneDecimalText, TemperatureEdited, TempCelsiusValue);
constexpr XParamDescExt kEditLockExt = MakeExt(nullptr, nullptr, EditLockValue);
constexpr XParamDescExt kPresetLockedExt = MakeExt(nullptr, nullptr, PresetLockedValue);
constexpr XParamDescExt kDisplayLoadingExt = MakeExt(nullptr, nullptr, DisplayLoadingValue);
constexpr XParamDescExt kCurrentPresetExt = MakeExt(CurrentPresetText, CurrentPresetChanged, nullptr);
constexpr XParamDescExt kMasterSlaveExt = MakeExt(MasterSlaveText, nullptr, nullptr);
constexpr XParamDescExt kEditModeExt = MakeExt(nullptr, EditModeChanged, nullptr);
constexpr XParamDescExt kOneDecimalExt = MakeExt(OneDecimalText, nullptr, nullptr);
constexpr XParamDescExt kTempUnitsExt = MakeExt(TempUnitsText, nullptr, nullptr);
constexpr XParamDescExt kDelayUnitsExt = MakeExt(DelayUnitsText, nullptr, nullptr);
constexpr XParamDescExt kThresholdUnitsExt = MakeExt(ThresholdUnitsText, nullptr, nullptr);
constexpr XParamDescExt kInputModeExt = MakeExt(InputModeText, nullptr, nullptr);
constexpr XParamDescExt kConfigurationExt = MakeExt(ConfigurationText, ConfigurationChanged, nullptr);
} // namespace

// Rows: id, name, unit code, min, max, default, steps, flags, callbacks. A parameter of unit code 1 or 2
// replaces the step count of its row (max - min + 1, and 1), so only the other codes' counts matter.
// clang-format off
const XParamDesc AppStateParamTable[kAppStateRowCount + 1] = {
    {61, "Status", 1001, 0, 2, 1, 1u, kTransient, nullptr},
    {62, "ToolbarAB", 2, 0, 1, 0, 2u, kTransient, &kSuspendLinkingExt},
    {70, "WndOverview", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {72, "WndCrossover", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {73, "WndMasterEQ", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {74, "WndGraphicEQ", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {71, "WndConfig", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {78, "WndOutputLevels", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {75, "WndInputDelay", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {77, "WndChanDelay", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {76, "WndChanEQ", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {79, "WndOutputFreqResp", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {116, "WndLinkInputDelay", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {117, "WndLinkInputPEQ", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {118, "WndLinkInputGEQ", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {87, "documentDirty", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {88, "presetDirty", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {89, "enableChannelLinking", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {91, "storeMemLocation", 1, 1, 20, 1, 20u, kTransient, &kPresetLocationExt},
    {92, "recallMemLocation", 1, 1, 80, 1, 80u, kTransient, &kPresetLocationExt},
    {110, "usbActive", 2, 0, 1, 0, 2u, kTransient, &kUsbActiveExt},
    {111, "rs232Active", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {112, "inputChansLinked", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {113, "TempFarenheit", 0, -4, 140, 68, 145u, kTransient, &kTempFahrenheitExt},
    {114, "TempCelcuis", 0, -20, 60, 20, 81u, kTransient, &kTempCelsiusExt},
    {119, "lockUIForEditCompare", 2, 0, 1, 0, 2u, kTransient, &kEditLockExt},
    {120, "currentPresetLockMode", 2, 0, 1, 0, 2u, kTransient, &kPresetLockedExt},
    {121, "clearUserPreset", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {122, "compareeditdisplaybutton", 2, 0, 1, 1, 2u, kTransient, nullptr},
    {123, "confirmchangelistenmode", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {124, "CheckSendGetAllIsFromRecall", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {125, "SaveUserPreset", 2, 0, 1, 0, 2u, kTransient, nullptr},
    {126, "SaveUserPresetPath", 1001, 0, 1, 0, 1u, kTransient, nullptr},
    {127, "displayloading", 2, 0, 1, 0, 2u, kTransient, &kDisplayLoadingExt},
    {kEndId, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

const XParamDesc UnitSettingsParamTable[kUnitSettingsRowCount + 1] = {
    {0, "MSState", 1, 0, 5, 1, 6u, kTransient, nullptr},
    {28, "DSPLoad", 3, 0, 1, 0, 101u, kTransient, nullptr},
    {14, "CurrentPreset", 1, 1, 80, 1, 80u, kTransient, &kCurrentPresetExt},
    {15, "RS232OrContacts", 1, 0, 1, 0, 2u, kTransient, nullptr},
    {16, "ContactsValue", 1, 0, kMaxInt, 0, 2u, kTransient, nullptr},
    {17, "Contact1Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {18, "Contact2Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {19, "Contact3Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {20, "Contact4Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {21, "Contact5Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {22, "Contact6Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {23, "Contact7Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {24, "Contact8Preset", 1, 0, 80, 0, 81u, kTransient, &kPresetLocationExt},
    {25, "MasterSlaveMode", 1, 0, 1, 0, 2u, kTransient, &kMasterSlaveExt},
    {26, "MSChanConfig", 1, 0, kMaxInt, 0, 2u, kTransient, nullptr},
    {8, "globalEditMode", 2, 0, 1, 0, 2u, kTransient, &kEditModeExt},
    {11, "globalLockCode", 1, 0, 2, 0, 3u, kTransient, nullptr},
    {10, "globalVuMode", 1, 0, 2, 0, 3u, kTransient, nullptr},
    {kEndId, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

const XParamDesc GlobalSettingsParamTable[kGlobalSettingsRowCount + 1] = {
    {1, "Temp", 0, -20, 60, 20, 145u, kPreference, &kOneDecimalExt},
    {2, "TempUnits", 1, 0, 1, 0, 1u, kPreference, &kTempUnitsExt},
    {3, "InDelayUnits", 1, 0, 5, 0, 6u, kPreference, &kDelayUnitsExt},
    {4, "XOverDelayUnits", 1, 0, 5, 0, 6u, kPreference, &kDelayUnitsExt},
    {5, "OutDelayUnits", 1, 0, 5, 0, 6u, kPreference, &kDelayUnitsExt},
    {7, "ThresholdUnits", 1, 0, 1, 0, 2u, kPreference, &kThresholdUnitsExt},
    {12, "InputMode", 1, 0, 1, 0, 2u, kPreference, &kInputModeExt},
    {6, "ListenMode", 2, 0, 1, 1, 2u, kTransient, nullptr},
    {49, "GlobalDirty", 1, 0, 1, 0, 2u, 0, nullptr},
    {kEndId, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

const XParamDesc PresetInfoParamTable[kPresetInfoRowCount + 1] = {
    {60, "CurrentSessionName", 1001, 0, 2, 1, 1u, 0, nullptr},
    {64, "programName", 1001, 0, 2, 1, 1u, 0, nullptr},
    {65, "authorStr", 1001, 0, 2, 1, 1u, 0, nullptr},
    {66, "revisionStr", 1001, 0, 2, 1, 1u, 0, nullptr},
    {67, "programDateStr", 1001, 0, 2, 1, 1u, 0, nullptr},
    {0, "PresetName1", 1, 0, kMaxInt, kFourBlanks, 1u, 0, nullptr},
    {1, "PresetName2", 1, 0, kMaxInt, kFourBlanks, 1u, 0, nullptr},
    {2, "PresetName3", 1, 0, kMaxInt, kFourBlanks, 1u, 0, nullptr},
    {3, "PresetName4", 1, 0, kMaxInt, kFourBlanks, 1u, 0, nullptr},
    {4, "PresetName5", 1, 0, kMaxInt, kFourBlanks, 1u, 0, nullptr},
    {7, "author", 1, 0, kMaxInt, 0, 1u, 0, nullptr},
    {8, "revision", 1, 0, kMaxInt, 0, 1u, 0, nullptr},
    {5, "programDate1", 1, 0, kMaxInt, 0, 1u, 0, nullptr},
    {6, "programDate2", 1, 0, kMaxInt, 0, 1u, 0, nullptr},
    {9, "CurrentConfig", 1, 0, 6, 4, 7u, 0, &kConfigurationExt},
    {12, "ConfigLEDio", 1, 0, 16777215, 0, 0u, 0, nullptr},
    {81, "ColorChan1", 1, 0, 5, 0, 6u, 0, nullptr},
    {82, "ColorChan2", 1, 0, 5, 1, 6u, 0, nullptr},
    {83, "ColorChan3", 1, 0, 5, 2, 6u, 0, nullptr},
    {84, "ColorChan4", 1, 0, 5, 3, 6u, 0, nullptr},
    {85, "ColorChan5", 1, 0, 5, 4, 6u, 0, nullptr},
    {86, "ColorChan6", 1, 0, 5, 5, 6u, 0, nullptr},
    {10, "inputDelayBase", 5, -200, 0, 0, 201u, 0, nullptr},
    {11, "outputDelayBase", 5, -200, 0, 0, 201u, 0, nullptr},
    {kEndId, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

const XParamDesc SlaveStatusParamTable[kSlaveStatusRowCount + 1] = {
    {93, "slaveMeterInA", 14, -100, 0, -100, 256u, 0, nullptr},
    {94, "slaveMeterInB", 14, -100, 0, -100, 256u, 0, nullptr},
    {95, "slaveMeterOut1", 14, -100, 0, -100, 256u, 0, nullptr},
    {96, "slaveMeterOut2", 14, -100, 0, -100, 256u, 0, nullptr},
    {97, "slaveMeterOut3", 14, -100, 0, -100, 256u, 0, nullptr},
    {98, "slaveMeterOut4", 14, -100, 0, -100, 256u, 0, nullptr},
    {99, "slaveMeterOut5", 14, -100, 0, -100, 256u, 0, nullptr},
    {100, "slaveMeterOut6", 14, -100, 0, -100, 256u, 0, nullptr},
    {101, "slavedChanInA", 2, 0, 1, 0, 2u, 0, nullptr},
    {102, "slavedChanInB", 2, 0, 1, 0, 2u, 0, nullptr},
    {103, "slavedChanOut1", 2, 0, 1, 0, 2u, 0, nullptr},
    {104, "slavedChanOut2", 2, 0, 1, 0, 2u, 0, nullptr},
    {105, "slavedChanOut3", 2, 0, 1, 0, 2u, 0, nullptr},
    {106, "slavedChanOut4", 2, 0, 1, 0, 2u, 0, nullptr},
    {107, "slavedChanOut5", 2, 0, 1, 0, 2u, 0, nullptr},
    {108, "slavedChanOut6", 2, 0, 1, 0, 2u, 0, nullptr},
    {109, "slavedChanConfig", 1, 0, kMaxInt, 0, 2u, 0, nullptr},
    {kEndId, "", 0, 0, 0, 0, 0u, 0, nullptr},
};
// clang-format on
