// The global and system tables loaded as the application loads them, and the callbacks their rows
// carry.

#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XParamGroup.h"
#include "device/GlobalParamTables.h"
#include "device/IParamSendingState.h"
#include "device/IPresetEntries.h"
#include "support/AppServicesStandIn.h"

#include <atomic>
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace GlobalParamTables;

namespace
{
/** The presets manager's entries, as a test sets them. */
class PresetEntriesStandIn final : public IPresetEntries
{
public:
    PresetEntriesStandIn() { SetPresetEntries(this); }
    ~PresetEntriesStandIn() override { SetPresetEntries(nullptr); }

    bool GetPresetEntry(int32_t index, XString* name, int32_t* flags) override
    {
        const auto found = entries.find(index);
        if (found == entries.end())
            return false;
        if (name != nullptr)
            *name = found->second.first.c_str();
        if (flags != nullptr)
            *flags = found->second.second;
        return true;
    }

    std::map<int32_t, std::pair<std::string, int32_t>> entries;
};

/** The device watcher's sending state, as a test sets it. */
class SendingStateStandIn final : public IParamSendingState
{
public:
    SendingStateStandIn() { SetParamSendingState(this); }
    ~SendingStateStandIn() override { SetParamSendingState(nullptr); }

    bool IsParamSendingSuspended() override { return suspended.load(); }

    std::atomic<bool> suspended{false};
};

/** The application's groups with the five tables loaded under their prefixes. */
class GlobalTables : public ::testing::Test
{
protected:
    GlobalTables()
        : mainGroup("main"), presetGroup("preset"), comparePresetGroup("presetComapreMode"),
          slaveGroup("slave")
    {
        mainGroup.AddParams(AppStateParamTable, kAppStatePrefix);
        mainGroup.AddParams(UnitSettingsParamTable, kUnitSettingsPrefix);
        mainGroup.AddParams(GlobalSettingsParamTable, kGlobalSettingsPrefix);
        presetGroup.AddParams(PresetInfoParamTable, kPresetInfoPrefix);
        comparePresetGroup.AddParams(PresetInfoParamTable, kComparePresetInfoPrefix);
        slaveGroup.AddParams(SlaveStatusParamTable, kSlaveStatusPrefix);
        services.SetGroups(&mainGroup, &presetGroup, &comparePresetGroup, &slaveGroup);
    }

    static XParam* Param(const char* path)
    {
        XParam* param = FindParam("%s", path);
        EXPECT_NE(param, nullptr) << path;
        return param;
    }
    static double Value(const char* path) { return Param(path)->GetValue(); }
    static std::string Text(const char* path, double value)
    {
        return Param(path)->GetDisplayTextOf(value).CStr();
    }

    AppServicesStandIn services;
    XParamGroup mainGroup;
    XParamGroup presetGroup;
    XParamGroup comparePresetGroup;
    XParamGroup slaveGroup;
};
} // namespace

TEST_F(GlobalTables, LoadUnderTheirPrefixesAndAreReachedById)
{
    EXPECT_EQ(mainGroup.CountParams(), kAppStateRowCount + kUnitSettingsRowCount + kGlobalSettingsRowCount);
    EXPECT_EQ(presetGroup.CountParams(), kPresetInfoRowCount);
    EXPECT_EQ(comparePresetGroup.CountParams(), kPresetInfoRowCount);
    EXPECT_EQ(slaveGroup.CountParams(), kSlaveStatusRowCount);

    EXPECT_EQ(services.GetParam(GlobalParamTables::kCurrentPresetId), Param("QM7_KOVA\\CurrentPreset"));
    EXPECT_EQ(services.GetParam(GlobalParamTables::kDisplayLoadingId), Param("QM7\\displayloading"));
    EXPECT_EQ(services.GetParam(GlobalParamTables::kGlobalDirtyId), Param("global\\GlobalDirty"));
    EXPECT_EQ(services.GetPresetParam(GlobalParamTables::kCurrentConfigId), Param("preset\\CurrentConfig"));
    EXPECT_EQ(services.GetSlaveParam(GlobalParamTables::kSlavedChanConfigId),
              Param("QM7_slave\\slavedChanConfig"));
    EXPECT_NE(Param("presetComapreMode\\CurrentConfig"), Param("preset\\CurrentConfig"));
    // Absent ids give a detached parameter, never null.
    XParam* detached = services.GetParam(9999);
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(detached, services.GetParam(9999));
    EXPECT_TRUE(detached->GetFullPath().IsEmpty());

    // Text rows are text parameters; the misspelt names are the registered ones.
    EXPECT_EQ(Param("QM7\\Status")->GetValueKind(), XParam::kKindText);
    EXPECT_EQ(Param("preset\\programName")->GetValueKind(), XParam::kKindText);
    EXPECT_NE(FindParam("QM7\\TempFarenheit"), nullptr);
    EXPECT_NE(FindParam("QM7\\TempCelcuis"), nullptr);
    EXPECT_EQ(Value("preset\\PresetName3"), 538976288.0);
    EXPECT_EQ(Value("preset\\CurrentConfig"), 4.0);
    EXPECT_EQ(Value("preset\\ColorChan6"), 5.0);
    EXPECT_EQ(Value("global\\ListenMode"), 1.0);
}

TEST_F(GlobalTables, TextsOfTheRows)
{
    struct Case
    {
        const char* path;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"QM7_KOVA\\CurrentPreset", 5, "U05"},
        {"QM7_KOVA\\CurrentPreset", 21, "F01"},
        {"QM7_KOVA\\CurrentPreset", 80, "F60"},
        {"QM7_KOVA\\CurrentPreset", 0, "None"},
        {"QM7_KOVA\\CurrentPreset", 20, "U20"},
        {"QM7_KOVA\\Contact3Preset", 0, "None"},
        {"QM7_KOVA\\Contact3Preset", 22, "F02"},
        {"QM7_KOVA\\MasterSlaveMode", 0, "Master"},
        {"QM7_KOVA\\MasterSlaveMode", 1, "Slave"},
        {"preset\\CurrentConfig", 0, "2-Way Stereo + FR"},
        {"preset\\CurrentConfig", 3, "5-way + FR"},
        {"preset\\CurrentConfig", 4, "Free Configuration"},
        {"preset\\CurrentConfig", 6, "4W Stereo-Mono Sub/LF"},
        {"preset\\CurrentConfig", 7, "---"},
        {"global\\TempUnits", 0, "Fahrenheit"},
        {"global\\TempUnits", 1, "Celsius"},
        {"global\\TempUnits", 2, "---"},
        {"global\\OutDelayUnits", 3, "Inches"},
        {"global\\InDelayUnits", 5, "Centimeters"},
        {"global\\XOverDelayUnits", -1, "---"},
        {"global\\ThresholdUnits", 1, "Volts"},
        {"global\\InputMode", 1, "Digital"},
        {"global\\Temp", 21.25, "21.2"},
        {"QM7\\TempCelcuis", 20, "20.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.path, c.value), c.text) << c.path << " " << c.value;
}

TEST_F(GlobalTables, FahrenheitAndCelsiusAreTwoViewsOfTemp)
{
    XParam* fahrenheit = Param("QM7\\TempFarenheit");
    XParam* celsius = Param("QM7\\TempCelcuis");
    EXPECT_DOUBLE_EQ(fahrenheit->GetValue(), 68.0);
    EXPECT_DOUBLE_EQ(celsius->GetValue(), 20.0);

    Param("global\\TempUnits")->SetValue(0, true);
    Param("global\\Temp")->SetValue(0, true);
    // The view's own stored value is 68 already, so only Temp changes.
    fahrenheit->ChangeValue(68, true);
    EXPECT_DOUBLE_EQ(Value("global\\Temp"), 20.0);
    EXPECT_DOUBLE_EQ(celsius->GetValue(), 20.0);

    Param("global\\TempUnits")->SetValue(1, true);
    EXPECT_TRUE(celsius->ChangeValue(25, true));
    EXPECT_DOUBLE_EQ(Value("global\\Temp"), 25.0);
    EXPECT_DOUBLE_EQ(fahrenheit->GetValue(), 77.0);

    // A value is read in the scale of the view typed into, whatever TempUnits says.
    EXPECT_TRUE(fahrenheit->ChangeValue(50, true));
    EXPECT_DOUBLE_EQ(Value("global\\Temp"), 10.0);
    Param("global\\TempUnits")->SetValue(0, true);
    EXPECT_TRUE(celsius->ChangeValue(30, true));
    EXPECT_DOUBLE_EQ(Value("global\\Temp"), 30.0);
    EXPECT_DOUBLE_EQ(fahrenheit->GetValue(), 86.0);
}

TEST_F(GlobalTables, AConfigurationChangeNeedsANewValueAndTheConfirmation)
{
    XParam* config = Param("preset\\CurrentConfig");
    EXPECT_FALSE(config->ChangeValue(4, true));
    EXPECT_EQ(services.configurationQuestions.load(), 0);

    services.configurationAnswer = false;
    EXPECT_FALSE(config->ChangeValue(2, true));
    EXPECT_EQ(config->GetValue(), 4.0);
    EXPECT_EQ(services.configurationQuestions.load(), 1);

    services.configurationAnswer = true;
    EXPECT_TRUE(config->ChangeValue(2, true));
    EXPECT_EQ(config->GetValue(), 2.0);
    // The program's own writes pass no callback.
    EXPECT_TRUE(config->SetValue(5, true));
    EXPECT_EQ(services.configurationQuestions.load(), 2);
}

TEST_F(GlobalTables, WithoutAUnitTheUiIsLockedAndNothingLoads)
{
    XParam* lock = Param("QM7\\lockUIForEditCompare");
    XParam* loading = Param("QM7\\displayloading");
    loading->SetValue(1, true);
    Param("QM7\\usbActive")->SetValue(0, true);
    EXPECT_EQ(lock->GetValue(), 1.0);
    EXPECT_EQ(loading->GetValue(), 0.0);

    Param("QM7\\usbActive")->SetValue(1, true);
    EXPECT_EQ(loading->GetValue(), 1.0);
    Param("global\\ListenMode")->SetValue(0, true);
    EXPECT_EQ(lock->GetValue(), 0.0);
    Param("global\\ListenMode")->SetValue(1, true);
    EXPECT_EQ(lock->GetValue(), 1.0);

    // A user's change of usbActive to 0 says so in the status bar and clears the loading flag.
    EXPECT_TRUE(Param("QM7\\usbActive")->ChangeValue(0, true));
    ASSERT_EQ(services.StatusTexts().size(), 1u);
    EXPECT_STREQ(services.StatusTexts()[0].CStr(), "no connection...");
    Param("QM7\\usbActive")->SetValue(1, true);
    EXPECT_EQ(loading->GetValue(), 0.0);
    EXPECT_TRUE(Param("QM7\\usbActive")->ChangeValue(0, false));
    EXPECT_TRUE(Param("QM7\\usbActive")->ChangeValue(1, false));
    EXPECT_EQ(services.StatusTexts().size(), 2u);
}

TEST_F(GlobalTables, EditModeDrivesChannelLinkingUnlessSendingIsSuspended)
{
    SendingStateStandIn sending;
    XParam* editMode = Param("QM7_KOVA\\globalEditMode");
    XParam* linking = Param("QM7\\enableChannelLinking");

    EXPECT_TRUE(editMode->ChangeValue(1, true));
    EXPECT_EQ(linking->GetValue(), 0.0);
    EXPECT_EQ(services.editModeQuestions.load(), 0);

    services.editModeAnswer = false;
    EXPECT_FALSE(editMode->ChangeValue(0, true));
    EXPECT_EQ(editMode->GetValue(), 1.0);
    EXPECT_EQ(linking->GetValue(), 0.0);

    services.editModeAnswer = true;
    EXPECT_TRUE(editMode->ChangeValue(0, true));
    EXPECT_EQ(linking->GetValue(), 1.0);
    EXPECT_EQ(services.editModeQuestions.load(), 2);

    // While the watcher's sending is off, the change is taken as it comes.
    sending.suspended = true;
    EXPECT_TRUE(editMode->ChangeValue(1, true));
    services.editModeAnswer = false;
    EXPECT_TRUE(editMode->ChangeValue(0, true));
    EXPECT_EQ(linking->GetValue(), 1.0);
    EXPECT_EQ(services.editModeQuestions.load(), 2);
}

TEST_F(GlobalTables, TheAbSwitchSuspendsLinkingForTheLengthOfAnEdit)
{
    XParam* toolbarAB = Param("QM7\\ToolbarAB");
    XParam* linking = Param("QM7\\enableChannelLinking");
    linking->SetValue(1, true);
    toolbarAB->BeginEdit();
    EXPECT_EQ(linking->GetValue(), 0.0);
    EXPECT_TRUE(toolbarAB->ChangeValue(1, true));
    toolbarAB->EndEdit();
    EXPECT_EQ(linking->GetValue(), 1.0);

    // An end without a begin leaves linking as it is.
    linking->SetValue(0, true);
    toolbarAB->EndEdit();
    EXPECT_EQ(linking->GetValue(), 0.0);
}

TEST_F(GlobalTables, WindowRowsLeaveTheirWindowsToTheApplicationsWatch)
{
    // The application shows and hides the windows on every value change of these rows; the rows
    // themselves ask for nothing, so a window is never shown twice for one edit.
    XParam* crossover = Param("QM7\\WndCrossover");
    crossover->BeginEdit();
    EXPECT_TRUE(crossover->ChangeValue(1, true));
    crossover->EndEdit();
    EXPECT_TRUE(Param("QM7\\WndOutputFreqResp")->SetValue(1, true));
    EXPECT_TRUE(services.WindowRequests().empty());
}

TEST_F(GlobalTables, ANewCurrentPresetIsAnnounced)
{
    XParam* current = Param("QM7_KOVA\\CurrentPreset");
    EXPECT_TRUE(current->ChangeValue(5, true));
    EXPECT_FALSE(current->ChangeValue(5, true));
    EXPECT_TRUE(current->SetValue(7, true));
    const std::vector<int32_t> expected = {5};
    EXPECT_EQ(services.PresetHooks(), expected);
}

TEST_F(GlobalTables, PresetLocationsAndTheLockedStateComeFromThePresets)
{
    XParam* store = Param("QM7\\storeMemLocation");
    XParam* locked = Param("QM7\\currentPresetLockMode");
    XParam* current = Param("QM7_KOVA\\CurrentPreset");
    EXPECT_STREQ(store->GetDisplayTextOf(5).CStr(), "U05");
    current->SetValue(5, true);
    EXPECT_EQ(locked->GetValue(), 0.0);

    PresetEntriesStandIn presets;
    presets.entries[4] = {"Club", 0x4};
    presets.entries[25] = {"Hall", 0x1};
    EXPECT_STREQ(store->GetDisplayTextOf(5).CStr(), "U05 Club");
    EXPECT_STREQ(Param("QM7\\recallMemLocation")->GetDisplayTextOf(26).CStr(), "F06 Hall");
    EXPECT_STREQ(Param("QM7_KOVA\\Contact1Preset")->GetDisplayTextOf(6).CStr(), "U06");
    EXPECT_STREQ(Param("QM7_KOVA\\Contact1Preset")->GetDisplayTextOf(0).CStr(), "None");
    EXPECT_EQ(locked->GetValue(), 1.0);
    current->SetValue(26, true);
    EXPECT_EQ(locked->GetValue(), 0.0);
    current->SetValue(6, true);
    EXPECT_EQ(locked->GetValue(), 0.0);
}
