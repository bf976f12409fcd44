// The channel behaviours on the eight live channel groups and the global settings, built as the
// application builds them: linking of inputs and outputs, crossover coupling, the amplifier table
// against the limiter threshold, and the texts of thresholds, amplifiers and delays.

#include "device/ChannelBehaviours.h"

#include "core/FloatParam.h"
#include "core/IAsyncKeyState.h"
#include "core/ParamRegistry.h"
#include "core/XParamGroup.h"
#include "device/AmplifierTables.h"
#include "device/ChannelInput.h"
#include "device/ChannelLinking.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kOutputs = 6;
constexpr int32_t kAlwaysLinked = XParamDesc::kFlagCopiedToOtherInput;

/** A keyboard whose Shift key the test holds. */
class FakeKeyboard final : public IAsyncKeyState
{
public:
    FakeKeyboard() { InstallAsyncKeyState(this); }
    ~FakeKeyboard() override { InstallAsyncKeyState(nullptr); }
    bool IsDown(Key key) override { return key == Key::Shift && shift.load(); }

    std::atomic<bool> shift{false};
};

XParam* Param(const char* path)
{
    XParam* param = FindParam("%s", path);
    EXPECT_NE(param, nullptr) << path;
    return param;
}

double Value(const char* path)
{
    return Param(path)->GetValue();
}

void Set(const char* path, double value)
{
    Param(path)->SetValue(value, false);
}

std::string TextOf(const char* path, double value)
{
    return Param(path)->GetDisplayTextOf(value).CStr();
}

/** The global settings, both inputs and the six outputs, with the behaviours registered; inputs and
    outputs linked (configuration 0, standard edit mode, linking on), Shift up. */
class ChannelBehavioursTest : public ::testing::Test
{
protected:
    ChannelBehavioursTest() : mainGroup("main"), presetGroup("preset")
    {
        mainGroup.AddParams(AppStateParamTable, GlobalParamTables::kAppStatePrefix);
        mainGroup.AddParams(UnitSettingsParamTable, GlobalParamTables::kUnitSettingsPrefix);
        mainGroup.AddParams(GlobalSettingsParamTable, GlobalParamTables::kGlobalSettingsPrefix);
        presetGroup.AddParams(PresetInfoParamTable, GlobalParamTables::kPresetInfoPrefix);
        inputA = std::make_unique<ChannelInput>("InputA");
        inputB = std::make_unique<ChannelInput>("InputB");
        for (int n = 1; n <= kOutputs; ++n)
        {
            XString name;
            name.Format("Output%d", n);
            outputs.push_back(std::make_unique<ChannelOutput>(name));
        }
        Linking(0, 0, 1);
    }

    /** CurrentConfig, globalEditMode and enableChannelLinking, set as the program sets them. */
    static void Linking(double config, double editMode, double enabled)
    {
        Set("preset\\CurrentConfig", config);
        Set("QM7_KOVA\\globalEditMode", editMode);
        Set("QM7\\enableChannelLinking", enabled);
    }

    ChannelBehaviours behaviours;
    FakeKeyboard keyboard;
    XParamGroup mainGroup;
    XParamGroup presetGroup;
    std::unique_ptr<ChannelInput> inputA;
    std::unique_ptr<ChannelInput> inputB;
    std::vector<std::unique_ptr<ChannelOutput>> outputs;
};
} // namespace

TEST(ChannelBehavioursRegistration, RegisteredForItsLifetime)
{
    IChannelBehaviours* defaults = &GetChannelBehaviours();
    {
        ChannelBehaviours behaviours;
        EXPECT_EQ(&GetChannelBehaviours(), &behaviours);
    }
    EXPECT_EQ(&GetChannelBehaviours(), defaults);
}

TEST_F(ChannelBehavioursTest, InputEditsFollowToTheOtherInputByConfigurationModeShiftAndFlag)
{
    struct Case
    {
        double config;
        double editMode;
        double linkingOn;
        bool shift;
        bool alwaysLinked;
        bool copied;
    };
    const Case cases[] = {
        {0, 0, 1, false, false, true},  {0, 0, 1, true, false, false},  {3, 0, 1, false, false, false},
        {3, 0, 1, false, true, true},   {3, 0, 1, true, true, false},   {2, 0, 1, false, false, false},
        {4, 0, 1, false, false, false}, {5, 0, 1, false, false, true},  {0, 1, 1, false, false, false},
        {0, 1, 1, false, true, true},   {0, 0, 0, false, false, false}, {0, 0, 0, false, true, true},
    };
    XParam* gainA = Param("InputA\\Band2Gain");
    XParam* gainB = Param("InputB\\Band2Gain");
    const int32_t rowFlags = gainA->GetFlags();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "config " << c.config << " mode " << c.editMode << " linking "
                                        << c.linkingOn << " shift " << c.shift << " flag " << c.alwaysLinked);
        Linking(c.config, c.editMode, c.linkingOn);
        keyboard.shift = c.shift;
        gainA->SetFlags(c.alwaysLinked ? rowFlags | kAlwaysLinked : rowFlags);
        gainA->SetValue(0, false);
        gainB->SetValue(0, false);

        EXPECT_TRUE(gainA->ChangeValue(6.5, true));
        EXPECT_EQ(gainA->GetValue(), 6.5);
        EXPECT_EQ(gainB->GetValue(), c.copied ? 6.5 : 0.0);
    }

    // Input B's edits reach input A the same way; program writes reach nobody.
    Linking(0, 0, 1);
    keyboard.shift = false;
    EXPECT_TRUE(Param("InputB\\delayTime")->ChangeValue(12.5, true));
    EXPECT_EQ(Value("InputA\\delayTime"), 12.5);
    Param("InputB\\delayTime")->SetValue(3, true);
    EXPECT_EQ(Value("InputA\\delayTime"), 12.5);
}

TEST_F(ChannelBehavioursTest, AGeqBandBypassSetsItsBitAndTheOtherInputsAtTheEndOfTheEdit)
{
    XParam* bandB = Param("InputB\\GEQbypass07");
    XParam* bandA = Param("InputA\\GEQbypass07");
    bandB->BeginEdit();
    EXPECT_TRUE(bandB->ChangeValue(1, true));
    EXPECT_EQ(Value("InputB\\GEQBandBypass"), 64.0);
    EXPECT_EQ(bandB->GetValue(), 1.0);
    EXPECT_EQ(Value("InputA\\GEQBandBypass"), 0.0) << "the other input follows at the end of the edit";
    bandB->EndEdit();
    EXPECT_EQ(Value("InputA\\GEQBandBypass"), 64.0);
    EXPECT_EQ(bandA->GetValue(), 1.0);

    // Unlinked inputs keep their own masks, unless the band is always linked.
    Linking(3, 0, 1);
    Param("InputA\\GEQbypass01")->ChangeValue(1, true);
    Param("InputA\\GEQbypass01")->EndEdit();
    EXPECT_EQ(Value("InputA\\GEQBandBypass"), 65.0);
    EXPECT_EQ(Value("InputB\\GEQBandBypass"), 64.0);
    bandA->SetFlags(bandA->GetFlags() | kAlwaysLinked);
    bandA->ChangeValue(0, true);
    bandA->EndEdit();
    EXPECT_EQ(Value("InputA\\GEQBandBypass"), 1.0);
    EXPECT_EQ(Value("InputB\\GEQBandBypass"), 0.0);
}

TEST_F(ChannelBehavioursTest, OutputEditsFollowToTheLinkedOutputAndMuteOnlyWithShift)
{
    Set("Output2\\linkedChannel", 3);
    Set("Output3\\linkedChannel", 4);
    EXPECT_TRUE(Param("Output2\\band1Gain")->ChangeValue(4, true));
    EXPECT_EQ(Value("Output3\\band1Gain"), 4.0);
    EXPECT_EQ(Value("Output4\\band1Gain"), 0.0) << "a copy does not cascade";
    EXPECT_TRUE(Param("Output3\\outputPolarity")->ChangeValue(1, true));
    EXPECT_EQ(Value("Output4\\outputPolarity"), 1.0);
    EXPECT_EQ(Value("Output2\\outputPolarity"), 0.0) << "links go one way";

    keyboard.shift = true;
    Param("Output2\\band1Gain")->ChangeValue(5, true);
    EXPECT_EQ(Value("Output3\\band1Gain"), 4.0);
    keyboard.shift = false;
    Set("QM7\\enableChannelLinking", 0);
    Param("Output2\\band1Gain")->ChangeValue(6, true);
    EXPECT_EQ(Value("Output3\\band1Gain"), 4.0);
    Set("QM7\\enableChannelLinking", 1);

    // Mute is the one output row that follows only while Shift is held.
    Param("Output2\\outputMute")->ChangeValue(1, true);
    EXPECT_EQ(Value("Output3\\outputMute"), 0.0);
    keyboard.shift = true;
    Param("Output2\\outputMute")->ChangeValue(0, true);
    Param("Output2\\outputMute")->ChangeValue(1, true);
    EXPECT_EQ(Value("Output3\\outputMute"), 1.0);
    Set("QM7\\enableChannelLinking", 0);
    Param("Output2\\outputMute")->ChangeValue(0, true);
    EXPECT_EQ(Value("Output3\\outputMute"), 1.0);
}

TEST_F(ChannelBehavioursTest, AnOutputLinkedToItselfStillReportsItsOwnEdit)
{
    Set("Output4\\linkedChannel", 4);
    EXPECT_TRUE(Param("Output4\\band1Gain")->ChangeValue(3, true));
    EXPECT_EQ(Value("Output4\\band1Gain"), 3.0);
    EXPECT_EQ(LinkedOutputParam(Param("Output4\\band1Gain")), nullptr);
}

TEST_F(ChannelBehavioursTest, CrossoverFiltersAreCoupledToTheNeighbourByTheFilterMode)
{
    struct Case
    {
        int output;
        double mode;
        const char* name;
        double proposed;
        bool accepted;
        double expected;
        const char* partner; // null: no partner may change
        double partnerExpected;
    };
    const Case cases[] = {
        {3, 5, "hipassFreq", 25000, true, 20000, "Output2\\lopassFreq", 20000},
        {3, 5, "hipassFreq", 5, true, 20, "Output2\\lopassFreq", 20},
        {3, 5, "lopassFreq", 5000, true, 5000, "Output4\\hipassFreq", 5000},
        {3, 4, "hipassFreq", 300, true, 300, "Output2\\lopassFreq", 300},
        {3, 4, "lopassFreq", 5000, true, 5000, nullptr, 0},
        {3, 6, "hipassFreq", 300, true, 300, nullptr, 0},
        {3, 6, "lopassTypeQ", 9, true, 9, "Output4\\hipassTypeQ", 9},
        {3, 3, "hipassTypeQ", 11, true, 11, "Output2\\lopassTypeQ", 11},
        {3, 2, "hipassFreq", 300, true, 300, nullptr, 0},
        {1, 4, "hipassFreq", 300, false, 120, nullptr, 0},
        {6, 7, "lopassFreq", 300, false, 1000, nullptr, 0},
    };
    const char* crossoverRows[] = {"hipassTypeQ", "hipassFreq", "lopassTypeQ", "lopassFreq"};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "output " << c.output << " mode " << c.mode << " " << c.name);
        for (auto& output : outputs)
            for (const char* row : crossoverRows)
                output->FindParamByName(row)->ResetToDefault();
        XString path;
        path.Format("Output%d\\chFilterMode", c.output);
        Set(path.CStr(), c.mode);
        path.Format("Output%d\\%s", c.output, c.name);
        XParam* param = Param(path.CStr());

        EXPECT_EQ(param->ChangeValue(c.proposed, true), c.accepted);
        EXPECT_EQ(param->GetValue(), c.expected);
        for (int n = 1; n <= kOutputs; ++n)
            for (const char* row : crossoverRows)
            {
                XString other;
                other.Format("Output%d\\%s", n, row);
                if (other.EqualsNoCase(path))
                    continue;
                const bool isPartner = c.partner != nullptr && other.EqualsNoCase(c.partner);
                EXPECT_EQ(Value(other.CStr()),
                          isPartner ? c.partnerExpected : Param(other.CStr())->GetDefault())
                    << other.CStr();
            }
        Set(path.CStr(), 0);
        path.Format("Output%d\\chFilterMode", c.output);
        Set(path.CStr(), 0);
    }

    // Without channel linking nothing is coupled or refused.
    Set("QM7\\enableChannelLinking", 0);
    Set("Output1\\chFilterMode", 4);
    EXPECT_TRUE(Param("Output1\\hipassFreq")->ChangeValue(300, true));
}

TEST_F(ChannelBehavioursTest, AnAmplifierMovesTheThresholdAndAManualThresholdDropsIt)
{
    Set("Output2\\linkedChannel", 3);
    XParam* amplifier = Param("Output2\\OutChLimAmpIndex");
    XParam* threshold = Param("Output2\\limitThreshold");

    // Entry 0 (offset 500) to entry 10 (offset 1000): +5 dB, here and on the linked output.
    threshold->SetValue(12, false);
    amplifier->SetValue(0, false);
    EXPECT_TRUE(amplifier->ChangeValue(10, true));
    EXPECT_EQ(amplifier->GetValue(), 10.0);
    EXPECT_EQ(threshold->GetValue(), 17.0);
    EXPECT_EQ(Value("Output3\\limitThreshold"), 17.0);
    EXPECT_EQ(Value("Output3\\OutChLimAmpIndex"), 10.0);

    // Capped at the threshold's maximum.
    threshold->SetValue(18, false);
    amplifier->SetValue(0, false);
    EXPECT_TRUE(amplifier->ChangeValue(10, true));
    EXPECT_EQ(threshold->GetValue(), 21.0);

    // Entry 21 has a negative offset: 10 (offset 1000) to 21 (-300) is -13 dB.
    EXPECT_TRUE(amplifier->ChangeValue(21, true));
    EXPECT_EQ(threshold->GetValue(), 8.0);

    // A threshold typed by hand drops the amplifier choice on both outputs.
    EXPECT_TRUE(threshold->ChangeValue(15, true));
    EXPECT_EQ(amplifier->GetValue(), -1.0);
    EXPECT_EQ(Value("Output3\\OutChLimAmpIndex"), -1.0);
    EXPECT_EQ(Value("Output3\\limitThreshold"), 15.0);

    // An index beyond the table is stored as the last model, and the threshold moves by its offset.
    threshold->SetValue(10, false);
    EXPECT_TRUE(amplifier->ChangeValue(40, true));
    EXPECT_EQ(amplifier->GetValue(), 31.0);
    EXPECT_EQ(threshold->GetValue(), 17.0);

    // Values from the unit (tracking off) are taken as they are.
    amplifier->SetChangeTracking(false);
    amplifier->ChangeValue(10, true);
    amplifier->SetChangeTracking(true);
    EXPECT_EQ(amplifier->GetValue(), 10.0);
    EXPECT_EQ(threshold->GetValue(), 17.0);
    threshold->SetChangeTracking(false);
    threshold->ChangeValue(5, true);
    threshold->SetChangeTracking(true);
    EXPECT_EQ(threshold->GetValue(), 5.0);
    EXPECT_EQ(amplifier->GetValue(), 10.0);

    // Outside an output group there is no threshold to move: refused.
    const XParamDesc* row = Param("Output1\\OutChLimAmpIndex")->GetDesc();
    FloatParam lone(*row);
    EXPECT_FALSE(lone.ChangeValue(3, true));
    EXPECT_EQ(lone.GetValue(), -1.0);
}

TEST_F(ChannelBehavioursTest, AnABSwitchKeepsEachSidesAmplifierAndThreshold)
{
    Set("QM7\\enableChannelLinking", 0);
    auto* selector = dynamic_cast<FloatParam*>(Param("QM7\\ToolbarAB"));
    ASSERT_NE(selector, nullptr);
    ChannelOutput& output = *outputs[1];
    output.SetSelector(selector); // side A, at the defaults
    XParam* amplifier = Param("Output2\\OutChLimAmpIndex");
    XParam* threshold = Param("Output2\\limitThreshold");

    threshold->SetValue(12, false);
    amplifier->SetValue(0, false);
    ASSERT_TRUE(amplifier->ChangeValue(10, true)); // side A: amplifier 10, threshold 17
    ASSERT_EQ(threshold->GetValue(), 17.0);

    selector->ChangeValue(1, true); // to B: the defaults
    EXPECT_EQ(amplifier->GetValue(), -1.0);
    threshold->ChangeValue(9, true); // side B: a threshold by hand

    selector->ChangeValue(0, true); // back to A: both values as they were
    EXPECT_EQ(amplifier->GetValue(), 10.0);
    EXPECT_EQ(threshold->GetValue(), 17.0);
    selector->ChangeValue(1, true);
    EXPECT_EQ(amplifier->GetValue(), -1.0);
    EXPECT_EQ(threshold->GetValue(), 9.0);
}

TEST_F(ChannelBehavioursTest, ThresholdAndAmplifierTexts)
{
    EXPECT_EQ(TextOf("Output1\\limitThreshold", 21), "21.00 dBu");
    EXPECT_EQ(TextOf("Output1\\limitThreshold", -8.5), "-8.50 dBu");
    Set("global\\ThresholdUnits", 1);
    EXPECT_EQ(TextOf("Output1\\limitThreshold", 21), "8.691 V");
    EXPECT_EQ(TextOf("Output1\\limitThreshold", -9), "0.275 V");
    EXPECT_EQ(TextOf("Output1\\limitThreshold", 0), "0.775 V");

    EXPECT_EQ(TextOf("Output1\\OutChLimAmpIndex", -1), "---");
    EXPECT_EQ(TextOf("Output1\\OutChLimAmpIndex", 33), "---");
    EXPECT_EQ(TextOf("Output1\\OutChLimAmpIndex", 10), AmplifierLimitTable[10].name);
    EXPECT_EQ(Param("Output1\\OutChLimAmpIndex")->GetDisplayText(), "---");
    EXPECT_STREQ(AmplifierName(32).CStr(), "");
    EXPECT_STREQ(AmplifierName(-1).CStr(), "Other");
    EXPECT_STREQ(AmplifierName(33).CStr(), "Other");
    EXPECT_EQ(AmplifierThresholdOffset(21), -300);
    EXPECT_EQ(AmplifierThresholdOffset(33), 0);
    for (int index = 0; index < 32; ++index)
    {
        EXPECT_GT(std::strlen(AmplifierLimitTable[index].name), 0u) << index;
        for (int other = 0; other < index; ++other)
            EXPECT_STRNE(AmplifierLimitTable[index].name, AmplifierLimitTable[other].name);
    }
}

TEST_F(ChannelBehavioursTest, DelaysReadInTheirRowsUnitAtTheAirTemperature)
{
    struct Case
    {
        double unit;
        const char* text;
    };
    const Case cases[] = {{0, "10.00 ms"}, {1, "10000 us"}, {2, "11 feet"},
                          {3, "135 inch"}, {4, "3.4 m"},    {5, "343 cm"}};
    for (const Case& c : cases)
    {
        Set("global\\OutDelayUnits", c.unit);
        EXPECT_EQ(TextOf("Output1\\delayTime", 10), c.text) << c.unit;
    }
    Set("global\\OutDelayUnits", 0);
    Set("global\\InDelayUnits", 4);
    Set("global\\XOverDelayUnits", 2);
    EXPECT_EQ(TextOf("InputB\\delayTime", 10), "3.4 m");
    EXPECT_EQ(TextOf("Output6\\xoverDelayTime", 10), "11 feet");
    EXPECT_EQ(TextOf("Output6\\delayTime", 10), "10.00 ms");
    Set("global\\Temp", 60);
    EXPECT_EQ(TextOf("InputB\\delayTime", 10), "3.7 m");
}

TEST_F(ChannelBehavioursTest, HelpersFindOutputsLinksModesAndThePreset)
{
    struct Case
    {
        const char* path;
        int number;
    };
    const Case cases[] = {{"Output3\\x", 3},
                          {"output5\\x", 5},
                          {"Output7\\x", 0},
                          {"Output0\\x", 0},
                          {"Output12\\x", 0},
                          {"Output\\x", 0},
                          {"CompreOutputChannel3\\x", 0},
                          {"InputA\\y", 0}};
    const XParamDesc* row = Param("Output1\\band1Gain")->GetDesc();
    for (const Case& c : cases)
    {
        FloatParam lone(*row);
        ASSERT_TRUE(lone.SetPath("%s", c.path));
        EXPECT_EQ(OutputNumberOfParam(&lone), c.number) << c.path;
        EXPECT_EQ(OutputIndexOfParam(&lone), c.number - 1) << c.path;
    }
    EXPECT_EQ(OutputNumberOfParam(Param("Output6\\label")), 6);
    EXPECT_EQ(OutputNumberOfParam(nullptr), 0);

    XParam* gain = Param("Output2\\band1Gain");
    EXPECT_EQ(LinkedOutputParam(gain), nullptr);
    Set("Output2\\linkedChannel", 5);
    EXPECT_EQ(LinkedOutputParam(gain), Param("Output5\\band1Gain"));
    Set("QM7\\enableChannelLinking", 0);
    EXPECT_EQ(LinkedOutputParam(gain), nullptr);

    Set("Output4\\chFilterMode", 6);
    EXPECT_EQ(GetChannelFilterMode(4), 6);
    EXPECT_EQ(GetChannelFilterMode(7), 0);
    Set("QM7_KOVA\\CurrentPreset", 23);
    EXPECT_EQ(GetCurrentPresetNumber(), 23);
    EXPECT_EQ(DelayUnitsFor(Param("InputA\\Band7Type")), 0) << "id 8 of an input is no delay";
    Set("global\\OutDelayUnits", 3);
    EXPECT_EQ(DelayUnitsFor(Param("Output1\\delayTime")), 3);
}

TEST(ChannelLinkingWithoutGlobals, MissingSwitchesLeaveEverythingLinked)
{
    EXPECT_TRUE(AreChannelPairsLinked());
    EXPECT_TRUE(IsChannelLinkingEnabled());
    EXPECT_EQ(GetCurrentPresetNumber(), 0);
    EXPECT_EQ(GetChannelFilterMode(1), 0);
}

TEST_F(ChannelBehavioursTest, EditsOnSeveralThreadsKeepLinkedChannelsEqual)
{
    constexpr int kRounds = 400;
    Set("Output2\\linkedChannel", 3);
    std::thread outputEdits(
        []
        {
            XParam* gain = FindParam("Output2\\band1Gain");
            for (int round = 0; round < kRounds; ++round)
                gain->ChangeValue(round % 2 == 0 ? 3.0 : -3.0, true);
        });
    std::thread inputEdits(
        []
        {
            XParam* delay = FindParam("InputA\\delayTime");
            for (int round = 0; round < kRounds; ++round)
            {
                delay->ChangeValue(round % 50, true);
                FindParam("global\\Temp")->SetValue(round % 2 == 0 ? 20.0 : 30.0, false);
                EXPECT_FALSE(FindParam("Output1\\delayTime")->GetDisplayTextOf(10).IsEmpty());
            }
        });
    outputEdits.join();
    inputEdits.join();
    EXPECT_EQ(Value("Output3\\band1Gain"), Value("Output2\\band1Gain"));
    EXPECT_EQ(Value("InputB\\delayTime"), Value("InputA\\delayTime"));
}
