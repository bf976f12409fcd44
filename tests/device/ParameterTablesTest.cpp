// Compares every row of the unit's parameter tables with an independent transcription of them
// (data/parameter_tables.txt), and checks what must hold of every table as a whole.

#include "device/ChannelParamCallbacks.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamCallbacks.h"
#include "device/GlobalParamTables.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct TableRef
{
    const char* name;
    const XParamDesc* rows;
    int rowCount;
    int32_t endId;
};

const TableRef kTables[] = {
    {"InputChannelParamTable", InputChannelParamTable, ChannelParamTables::kInputRowCount, 0},
    {"OutputChannelParamTable", OutputChannelParamTable, ChannelParamTables::kOutputRowCount, 0},
    {"AppStateParamTable", AppStateParamTable, GlobalParamTables::kAppStateRowCount, -1},
    {"UnitSettingsParamTable", UnitSettingsParamTable, GlobalParamTables::kUnitSettingsRowCount, -1},
    {"GlobalSettingsParamTable", GlobalSettingsParamTable, GlobalParamTables::kGlobalSettingsRowCount, -1},
    {"PresetInfoParamTable", PresetInfoParamTable, GlobalParamTables::kPresetInfoRowCount, -1},
    {"SlaveStatusParamTable", SlaveStatusParamTable, GlobalParamTables::kSlaveStatusRowCount, -1},
};

/** One row of the transcription. */
struct ExpectedRow
{
    int lineNumber = 0;
    int32_t id = 0;
    std::string name;
    int32_t type = 0;
    double min = 0.0;
    double max = 0.0;
    double def = 0.0;
    uint32_t count = 0;
    int32_t flags = 0;
    std::string text;
    std::string change;
    std::string step;
    std::string valueMap;
};

using Transcription = std::map<std::string, std::vector<ExpectedRow>>;

constexpr const char* kNone = "-";

/** A whole number in decimal or hexadecimal; ids above 0x7FFFFFFF wrap to negative as in the tables. */
int64_t ParseInteger(const std::string& text)
{
    return std::strtoll(text.c_str(), nullptr, 0);
}

Transcription ReadTranscription(const std::string& path)
{
    Transcription tables;
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << path;
    std::string line;
    std::vector<ExpectedRow>* current = nullptr;
    int lineNumber = 0;
    while (std::getline(file, line))
    {
        ++lineNumber;
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;)
            fields.push_back(word);
        if (fields.empty() || fields[0][0] == '#')
            continue;
        if (fields[0] == "table" && fields.size() == 2)
        {
            current = &tables[fields[1]];
            continue;
        }
        if (current == nullptr || fields.size() != 12)
        {
            ADD_FAILURE() << "line " << lineNumber << " is not a row: " << line;
            continue;
        }
        ExpectedRow row;
        row.lineNumber = lineNumber;
        row.id = static_cast<int32_t>(static_cast<uint32_t>(ParseInteger(fields[0])));
        row.name = fields[1];
        row.type = static_cast<int32_t>(ParseInteger(fields[2]));
        row.min = std::strtod(fields[3].c_str(), nullptr);
        row.max = std::strtod(fields[4].c_str(), nullptr);
        row.def = std::strtod(fields[5].c_str(), nullptr);
        row.count = static_cast<uint32_t>(ParseInteger(fields[6]));
        row.flags = static_cast<int32_t>(ParseInteger(fields[7]));
        row.text = fields[8];
        row.change = fields[9];
        row.step = fields[10];
        row.valueMap = fields[11];
        current->push_back(row);
    }
    return tables;
}

/** Every callback the tables may name, by name. */
const std::map<std::string, ParamTextCallback>& TextCallbacks()
{
    static const std::map<std::string, ParamTextCallback> callbacks = {
        {"InputFilterTypeText", InputFilterTypeText},
        {"OutputFilterTypeText", OutputFilterTypeText},
        {"CrossoverTypeText", CrossoverTypeText},
        {"SlopeText", SlopeText},
        {"PolarityText", PolarityText},
        {"SourceText", SourceText},
        {"FrequencyText", FrequencyText},
        {"QText", QText},
        {"OutputGainText", OutputGainText},
        {"LimitThresholdText", LimitThresholdText},
        {"AmplifierText", AmplifierText},
        {"DelayTimeText", DelayTimeText},
        {"ConfigurationText", ConfigurationText},
        {"TempUnitsText", TempUnitsText},
        {"DelayUnitsText", DelayUnitsText},
        {"ThresholdUnitsText", ThresholdUnitsText},
        {"MasterSlaveText", MasterSlaveText},
        {"InputModeText", InputModeText},
        {"OneDecimalText", OneDecimalText},
        {"CurrentPresetText", CurrentPresetText},
        {"PresetLocationText", PresetLocationText},
    };
    return callbacks;
}

const std::map<std::string, ParamVetoCallback>& ChangeCallbacks()
{
    static const std::map<std::string, ParamVetoCallback> callbacks = {
        {"ClampToRange", ClampToRange},
        {"CopyToOtherInput", CopyToOtherInput},
        {"GeqBandBypassChanged", GeqBandBypassChanged},
        {"CopyToLinkedOutput", CopyToLinkedOutput},
        {"CopyMuteToLinkedOutput", CopyMuteToLinkedOutput},
        {"CoupleCrossoverNeighbour", CoupleCrossoverNeighbour},
        {"AmplifierChanged", AmplifierChanged},
        {"LimitThresholdChanged", LimitThresholdChanged},
        {"SuspendLinkingDuringEdit", SuspendLinkingDuringEdit},
        {"UsbActiveChanged", UsbActiveChanged},
        {"TemperatureEdited", TemperatureEdited},
        {"CurrentPresetChanged", CurrentPresetChanged},
        {"EditModeChanged", EditModeChanged},
        {"ConfigurationChanged", ConfigurationChanged},
    };
    return callbacks;
}

const std::map<std::string, ParamIndexCallback>& StepCallbacks()
{
    static const std::map<std::string, ParamIndexCallback> callbacks = {
        {"LogFrequencyStep", LogFrequencyStep},
    };
    return callbacks;
}

const std::map<std::string, ParamValueMapCallback>& ValueMapCallbacks()
{
    static const std::map<std::string, ParamValueMapCallback> callbacks = {
        {"RoundToInteger", RoundToInteger},         {"IdentityValue", IdentityValue},
        {"GeqBandBypassBit", GeqBandBypassBit},     {"GuiMeterValue", GuiMeterValue},
        {"GainReductionValue", GainReductionValue}, {"TempFahrenheitValue", TempFahrenheitValue},
        {"TempCelsiusValue", TempCelsiusValue},     {"EditLockValue", EditLockValue},
        {"PresetLockedValue", PresetLockedValue},   {"DisplayLoadingValue", DisplayLoadingValue},
    };
    return callbacks;
}

/** The row's callback against the transcribed name ("-": none). */
template <typename Callback>
void ExpectCallback(const std::map<std::string, Callback>& known, Callback actual,
                    const std::string& expected, const char* column, const std::string& where)
{
    if (expected == kNone)
    {
        EXPECT_EQ(actual, nullptr) << where << ": no " << column << " callback expected";
        return;
    }
    const auto found = known.find(expected);
    ASSERT_NE(found, known.end()) << where << ": unknown " << column << " callback " << expected;
    EXPECT_EQ(actual, found->second) << where << ": " << column << " callback is not " << expected;
}

const Transcription& TheTranscription()
{
    static const Transcription tables =
        ReadTranscription(std::string(KRX_SOURCE_DIR) + "/tests/device/data/parameter_tables.txt");
    return tables;
}
} // namespace

TEST(ParameterTablesTest, EveryRowMatchesTheIndependentTranscription)
{
    const Transcription& transcription = TheTranscription();
    EXPECT_EQ(transcription.size(), std::size(kTables));
    for (const TableRef& table : kTables)
    {
        const auto found = transcription.find(table.name);
        ASSERT_NE(found, transcription.end()) << table.name << " is not transcribed";
        const std::vector<ExpectedRow>& expected = found->second;
        ASSERT_EQ(static_cast<int>(expected.size()), table.rowCount) << table.name;
        for (int index = 0; index < table.rowCount; ++index)
        {
            const XParamDesc& row = table.rows[index];
            const ExpectedRow& want = expected[static_cast<size_t>(index)];
            const std::string where = std::string(table.name) + " row " + std::to_string(index) + " (" +
                                      want.name + ", transcription line " + std::to_string(want.lineNumber) +
                                      ")";
            EXPECT_EQ(row.id, want.id) << where;
            EXPECT_STREQ(row.name, want.name.c_str()) << where;
            EXPECT_EQ(row.type, want.type) << where;
            EXPECT_EQ(row.min, want.min) << where;
            EXPECT_EQ(row.max, want.max) << where;
            EXPECT_EQ(row.def, want.def) << where;
            EXPECT_EQ(row.count, want.count) << where;
            EXPECT_EQ(row.flags, want.flags) << where;

            const XParamDescExt none;
            const XParamDescExt& ext = row.ext != nullptr ? *row.ext : none;
            ExpectCallback(TextCallbacks(), ext.textCallback, want.text, "text", where);
            ExpectCallback(ChangeCallbacks(), ext.vetoCallback, want.change, "change", where);
            ExpectCallback(StepCallbacks(), ext.indexCallback, want.step, "step", where);
            ExpectCallback(ValueMapCallbacks(), ext.valueMapCallback, want.valueMap, "value map", where);
            // The tables set no user words and no event callbacks; groups set user words at run time.
            EXPECT_EQ(ext.textUser, 0) << where;
            EXPECT_EQ(ext.vetoUser, 0) << where;
            EXPECT_EQ(ext.valueMapUser, 0) << where;
            EXPECT_EQ(ext.eventCallback, nullptr) << where;
            EXPECT_EQ(ext.eventUser, 0) << where;
        }
    }
}

TEST(ParameterTablesTest, EveryTableEndsWithItsEndRowAndHoldsUniqueFittingNames)
{
    for (const TableRef& table : kTables)
    {
        const XParamDesc& end = table.rows[table.rowCount];
        EXPECT_STREQ(end.name, "") << table.name;
        EXPECT_EQ(end.id, table.endId) << table.name;
        EXPECT_EQ(end.type, 0) << table.name;
        EXPECT_EQ(end.min, 0.0) << table.name;
        EXPECT_EQ(end.max, 0.0) << table.name;
        EXPECT_EQ(end.def, 0.0) << table.name;
        EXPECT_EQ(end.count, 0u) << table.name;
        EXPECT_EQ(end.flags, 0) << table.name;
        EXPECT_EQ(end.ext, nullptr) << table.name;

        std::set<std::string> names;
        std::set<int32_t> ids;
        for (int index = 0; index < table.rowCount; ++index)
        {
            const XParamDesc& row = table.rows[index];
            const size_t length = strnlen(row.name, XParamDesc::kNameSize);
            EXPECT_GT(length, 0u) << table.name << " row " << index;
            // The field keeps its last two bytes zero.
            EXPECT_LE(length, static_cast<size_t>(XParamDesc::kNameSize - 3))
                << table.name << " row " << index;
            EXPECT_TRUE(names.insert(row.name).second) << table.name << ": name twice: " << row.name;
            EXPECT_TRUE(ids.insert(row.id).second) << table.name << ": id twice: " << row.id;
            EXPECT_LE(row.min, row.def) << table.name << " " << row.name;
            EXPECT_LE(row.def, row.max) << table.name << " " << row.name;
        }
    }
}

TEST(ParameterTablesTest, TheThreeTablesOfTheMainGroupShareNoId)
{
    std::set<int32_t> ids;
    for (const XParamDesc* table : {AppStateParamTable, UnitSettingsParamTable, GlobalSettingsParamTable})
        for (const XParamDesc* row = table; row->name[0] != 0; ++row)
            EXPECT_TRUE(ids.insert(row->id).second)
                << "id twice in the main group: " << row->id << " " << row->name;
}

TEST(ParameterTablesTest, OnlyTheEditorsOwnIdsLieOutsideTheWireRange)
{
    struct Case
    {
        const XParamDesc* table;
        int32_t wireLast;
        std::set<std::string> local;
    };
    const Case cases[] = {
        {InputChannelParamTable,
         ChannelParamTables::kInputWireIdLast,
         {"PEQDrawEnable", "GEQBandBypassFlag"}},
        {OutputChannelParamTable,
         ChannelParamTables::kOutputWireIdLast,
         {"label", "chFilterMode", "chPeak", "outputGuiMeter"}},
    };
    for (const Case& c : cases)
    {
        for (const XParamDesc* row = c.table; row->name[0] != 0; ++row)
        {
            const bool onWire = row->id >= 0 && row->id <= c.wireLast;
            const bool geqView = std::strncmp(row->name, "GEQbypass", 9) == 0;
            EXPECT_EQ(onWire, c.local.count(row->name) == 0 && !geqView) << row->name << " id " << row->id;
        }
    }
}
