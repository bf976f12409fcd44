#include "SimWireTable.h"

#include <cmath>
#include <cstring>

namespace
{
/** Value kinds of the rows, by the unit code of the parameter: codes 1 (integer), 2 (on/off), 1000
    and 1001 travel as int32, every other code as float32. */
enum class Kind
{
    integer,
    real
};

struct Row
{
    int offset;
    Kind kind;
    float defaultValue;
    double minimum;
    double maximum;
};

constexpr Kind I = Kind::integer;
constexpr Kind F = Kind::real;

constexpr double kLargestMask = 2147483647;

// System settings, wire id = parameter id.
constexpr Row kSystemRows[] = {
    {0, I, 1, 0, 5},             // MSState
    {1, F, 20, -20, 60},         // Temp (degrees Celsius)
    {2, I, 0, 0, 1},             // TempUnits
    {3, I, 0, 0, 5},             // InDelayUnits
    {4, I, 0, 0, 5},             // XOverDelayUnits
    {5, I, 0, 0, 5},             // OutDelayUnits
    {6, I, 1, 0, 1},             // ListenMode
    {7, I, 0, 0, 1},             // ThresholdUnits
    {8, I, 0, 0, 1},             // globalEditMode
    {10, I, 0, 0, 2},            // globalVuMode
    {11, I, 0, 0, 2},            // globalLockCode
    {12, I, 0, 0, 1},            // InputMode
    {14, I, 1, 1, 80},           // CurrentPreset
    {15, I, 0, 0, 1},            // RS232OrContacts
    {16, I, 0, 0, kLargestMask}, // ContactsValue
    {25, I, 0, 0, 1},            // MasterSlaveMode
    {26, I, 0, 0, kLargestMask}, // MSChanConfig
    {28, F, 0, 0, 1},            // DSPLoad
    {49, I, 0, 0, 1},            // GlobalDirty
};
constexpr int kContact1Preset = 17, kContact8Preset = 24; // presets 0..80, 0 at power-up

// Preset data, wire id = 51 + parameter id. PresetName1..5 (0..4) hold four blanks each.
constexpr int32_t kFourBlanks = 0x20202020;
constexpr Row kPresetRows[] = {
    {5, I, 0, 0, kLargestMask}, // programDate1
    {6, I, 0, 0, kLargestMask}, // programDate2
    {7, I, 0, 0, kLargestMask}, // author
    {8, I, 0, 0, kLargestMask}, // revision
    {9, I, 4, 0, 6},            // CurrentConfig: "Free Configuration"
    {10, F, 0, -200, 0},        // inputDelayBase
    {11, F, 0, -200, 0},        // outputDelayBase
    {12, I, 0, 0, 16777215},    // ConfigLEDio
};

constexpr float kDefaultQ = 0.7f;
constexpr double kLowestQ = 0.4, kHighestQ = 20;
constexpr double kLowestGain = -15, kHighestGain = 15;
constexpr double kLowestFrequency = 20;

/** The order of the band properties' runs of ids. */
enum BandProperty
{
    type,
    gain,
    frequency,
    q,
    slope,
    bypass
};

/** Filter bands of a channel. Band b of n has six properties, each a run of n ids from firstOffset:
    Type (integer), Gain, Freq, Q (float), Slope, Bypass (integer). Gains start at 0 dB (-15..15),
    Q at 0.7 (0.4..20), frequencies lie in 20..20000 Hz. */
struct BandLayout
{
    int firstOffset;
    int count;
    int types[10];
    int lowestType[10];
    int highestType[10];
    float frequencies[10];
    float highestFrequency[10];
    int slopes[10];
    int bypasses[10];
};

// Input: band 0 is the high-pass filter (type 4 only, 20..200 Hz, bypassed), bands 1..9 the
// parametric EQ (types 0..4).
constexpr BandLayout kInputBands = {1,
                                    10,
                                    {4, 0, 2, 2, 2, 2, 2, 2, 2, 1},
                                    {4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                    {4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                                    {20, 100, 200, 400, 800, 1600, 2400, 3600, 6400, 8000},
                                    {200, 20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000},
                                    {0, 1, 0, 0, 0, 0, 0, 0, 0, 1},
                                    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
constexpr Row kInputRows[] = {
    {0, F, -69, -69, 0},         // inputMeter
    {61, I, 0, 0, 1},            // PEQAllBypass
    {93, I, 0, 0, kLargestMask}, // GEQBandBypass (bit mask)
    {94, I, 0, 0, 1},            // GEQAllBypass
    {96, F, 0, -200, 700},       // delayTime
    {97, I, 1, 0, 1},            // delayBypass
};
constexpr int kGeqFirst = 62, kGeqLast = 92; // 31 graphic-EQ gains, float 0, -15..15 dB

// Output: five EQ bands (types 0..6).
constexpr BandLayout kOutputBands = {12,
                                     5,
                                     {0, 2, 2, 2, 1},
                                     {0, 0, 0, 0, 0},
                                     {6, 6, 6, 6, 6},
                                     {100, 200, 400, 1600, 8000},
                                     {20000, 20000, 20000, 20000, 20000},
                                     {1, 0, 0, 0, 1},
                                     {0, 0, 0, 0, 0}};
constexpr Row kOutputRows[] = {
    {0, F, -96, -96, 0},     // outputMeter
    {1, I, 0, 0, 2},         // source
    {2, I, 5, 0, 17},        // hipassTypeQ
    {3, F, 120, 20, 20000},  // hipassFreq
    {4, I, 0, 0, 1},         // hipassBypass
    {5, I, 5, 0, 17},        // lopassTypeQ
    {6, F, 1000, 20, 20000}, // lopassFreq
    {7, I, 0, 0, 1},         // lopassBypass
    {8, F, 0, 0, 20},        // xoverDelayTime
    {9, I, 1, 0, 1},         // xoverDelayBypass
    {10, I, 0, 0, 1},        // outputPolarity
    {42, I, 0, 0, 1},        // ChEQBypass
    {43, F, 0, -200, 680},   // delayTime
    {44, I, 1, 0, 1},        // delayBypass
    {45, I, 0, 0, 1},        // outputMute
    {46, F, 0, -30, 0},      // gainReduction
    {47, F, 21, -9, 21},     // limitThreshold
    {48, F, 300, 50, 300},   // limitRelease
    {49, I, 1, 0, 1},        // limitBypass
    {50, I, -1, -1, 31},     // OutChLimAmpIndex
    {51, F, -100, -100, 6},  // outputGain
};

constexpr int kInputUnmappedOffset = 95;  // no input parameter has this offset
constexpr int kOutputUnmappedOffset = 11; // linkedChannel: the editor's own, not exchanged
} // namespace

const SimWireTable& SimWireTable::Instance()
{
    static const SimWireTable table;
    return table;
}

void SimWireTable::SetInteger(int wireId, int32_t value, double minimum, double maximum)
{
    Entry entry;
    entry.hasParameter = true;
    entry.defaultBits = static_cast<uint32_t>(value);
    entry.minimum = minimum;
    entry.maximum = maximum;
    entries[static_cast<size_t>(wireId)] = entry;
}

void SimWireTable::SetFloat(int wireId, float value, double minimum, double maximum)
{
    Entry entry;
    entry.hasParameter = true;
    entry.isFloat = true;
    std::memcpy(&entry.defaultBits, &value, sizeof value);
    entry.minimum = minimum;
    entry.maximum = maximum;
    entries[static_cast<size_t>(wireId)] = entry;
}

SimWireTable::SimWireTable() : entries(kWireIdCount)
{
    auto setRow = [this](int wireId, const Row& row)
    {
        if (row.kind == F)
            SetFloat(wireId, row.defaultValue, row.minimum, row.maximum);
        else
            SetInteger(wireId, static_cast<int32_t>(row.defaultValue), row.minimum, row.maximum);
    };

    auto setBands = [this](int channelBase, const BandLayout& bands)
    {
        const auto id = [&](BandProperty property, int band)
        { return channelBase + bands.firstOffset + property * bands.count + band; };
        for (int band = 0; band < bands.count; ++band)
        {
            SetInteger(id(type, band), bands.types[band], bands.lowestType[band], bands.highestType[band]);
            SetFloat(id(gain, band), 0.0f, kLowestGain, kHighestGain);
            SetFloat(id(frequency, band), bands.frequencies[band], kLowestFrequency,
                     bands.highestFrequency[band]);
            SetFloat(id(q, band), kDefaultQ, kLowestQ, kHighestQ);
            SetInteger(id(slope, band), bands.slopes[band], 0, 1);
            SetInteger(id(bypass, band), bands.bypasses[band], 0, 1);
        }
    };

    for (const Row& row : kSystemRows)
        setRow(row.offset, row);
    for (int wireId = kContact1Preset; wireId <= kContact8Preset; ++wireId)
        SetInteger(wireId, 0, 0, 80);

    for (int i = 0; i < 5; ++i)
        SetInteger(kPresetName1 + i, kFourBlanks, 0, kLargestMask);
    for (const Row& row : kPresetRows)
        setRow(kPresetBase + row.offset, row);

    for (int input = 0; input < kInputCount; ++input)
    {
        for (const Row& row : kInputRows)
            setRow(InputId(input, row.offset), row);
        setBands(InputId(input, 0), kInputBands);
        for (int offset = kGeqFirst; offset <= kGeqLast; ++offset)
            SetFloat(InputId(input, offset), 0.0f, kLowestGain, kHighestGain);
    }

    for (int output = 0; output < kOutputCount; ++output)
    {
        for (const Row& row : kOutputRows)
            setRow(OutputId(output, row.offset), row);
        setBands(OutputId(output, 0), kOutputBands);
    }

    for (int wireId = 0; wireId < kWireIdCount; ++wireId)
    {
        if (IsInCompareMap(wireId) && !IsLevelMeter(wireId))
            compareAnswerIds.push_back(wireId);
    }
}

bool SimWireTable::IsLevelMeter(int wireId)
{
    for (int input = 0; input < kInputCount; ++input)
    {
        if (wireId == InputId(input, kInputMeterOffset))
            return true;
    }
    return wireId >= kOutputBase && (wireId - kOutputBase) % kOutputStride == kOutputMeterOffset;
}

bool SimWireTable::IsKeptByUnit(int wireId)
{
    if (wireId == kCurrentPreset || wireId == kGlobalDirty || wireId == kDspLoad || IsLevelMeter(wireId))
        return true;
    return wireId >= kOutputBase && (wireId - kOutputBase) % kOutputStride == kGainReductionOffset;
}

bool SimWireTable::IsInRange(int wireId, uint32_t bits) const
{
    if (!IsValid(wireId) || !At(wireId).hasParameter)
        return false;
    const Entry& entry = At(wireId);
    if (!entry.isFloat)
    {
        const auto value = static_cast<int32_t>(bits);
        return value >= entry.minimum && value <= entry.maximum;
    }
    float value;
    std::memcpy(&value, &bits, sizeof value);
    // The editor sends the float32 nearest to a value in range: compare in float32 too.
    return std::isfinite(value) && value >= static_cast<float>(entry.minimum) &&
           value <= static_cast<float>(entry.maximum);
}

bool SimWireTable::IsInCompareMap(int wireId)
{
    if (!IsValid(wireId) || wireId < kPresetBase)
        return false;
    if (wireId < kInputBase)
        return true;
    if (wireId < kOutputBase)
        return (wireId - kInputBase) % kInputStride != kInputUnmappedOffset;
    return (wireId - kOutputBase) % kOutputStride != kOutputUnmappedOffset;
}
