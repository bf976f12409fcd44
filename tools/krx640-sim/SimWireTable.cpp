#include "SimWireTable.h"

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
};

constexpr Kind I = Kind::integer;
constexpr Kind F = Kind::real;

// System settings, wire id = parameter id.
constexpr Row kSystemRows[] = {
    {0, I, 1},  // MSState
    {1, F, 20}, // Temp (degrees Celsius)
    {2, I, 0},  // TempUnits
    {3, I, 0},  // InDelayUnits
    {4, I, 0},  // XOverDelayUnits
    {5, I, 0},  // OutDelayUnits
    {6, I, 1},  // ListenMode
    {7, I, 0},  // ThresholdUnits
    {8, I, 0},  // globalEditMode
    {10, I, 0}, // globalVuMode
    {11, I, 0}, // globalLockCode
    {12, I, 0}, // InputMode
    {14, I, 1}, // CurrentPreset
    {15, I, 0}, // RS232OrContacts
    {16, I, 0}, // ContactsValue
    {25, I, 0}, // MasterSlaveMode
    {26, I, 0}, // MSChanConfig
    {28, F, 0}, // DSPLoad
    {49, I, 0}, // GlobalDirty
};
// Contact1Preset..Contact8Preset (17..24) are integers of 0 like the ids without a parameter.

// Preset data, wire id = 51 + parameter id. PresetName1..5 (0..4) hold four blanks each.
constexpr int32_t kFourBlanks = 0x20202020;
constexpr Row kPresetRows[] = {
    {9, I, 4},  // CurrentConfig: "Free Configuration"
    {10, F, 0}, // inputDelayBase
    {11, F, 0}, // outputDelayBase
};

constexpr float kDefaultQ = 0.7f;

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
    Type (integer), Gain, Freq, Q (float), Slope, Bypass (integer). Gains start at 0 dB, Q at 0.7. */
struct BandLayout
{
    int firstOffset;
    int count;
    int types[10];
    float frequencies[10];
    int slopes[10];
    int bypasses[10];
};

// Input: band 0 is the high-pass filter (type 4, bypassed), bands 1..9 the parametric EQ.
constexpr BandLayout kInputBands = {1,
                                    10,
                                    {4, 0, 2, 2, 2, 2, 2, 2, 2, 1},
                                    {20, 100, 200, 400, 800, 1600, 2400, 3600, 6400, 8000},
                                    {0, 1, 0, 0, 0, 0, 0, 0, 0, 1},
                                    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
constexpr Row kInputRows[] = {
    {0, F, -69}, // inputMeter
    {61, I, 0},  // PEQAllBypass
    {93, I, 0},  // GEQBandBypass (bit mask)
    {94, I, 0},  // GEQAllBypass
    {96, F, 0},  // delayTime
    {97, I, 1},  // delayBypass
};
constexpr int kGeqFirst = 62, kGeqLast = 92; // 31 graphic-EQ gains, float 0

// Output: five EQ bands.
constexpr BandLayout kOutputBands = {
    12, 5, {0, 2, 2, 2, 1}, {100, 200, 400, 1600, 8000}, {1, 0, 0, 0, 1}, {0, 0, 0, 0, 0}};
constexpr Row kOutputRows[] = {
    {0, F, -96},   // outputMeter
    {1, I, 0},     // source
    {2, I, 5},     // hipassTypeQ
    {3, F, 120},   // hipassFreq
    {4, I, 0},     // hipassBypass
    {5, I, 5},     // lopassTypeQ
    {6, F, 1000},  // lopassFreq
    {7, I, 0},     // lopassBypass
    {8, F, 0},     // xoverDelayTime
    {9, I, 1},     // xoverDelayBypass
    {10, I, 0},    // outputPolarity
    {42, I, 0},    // ChEQBypass
    {43, F, 0},    // delayTime
    {44, I, 1},    // delayBypass
    {45, I, 0},    // outputMute
    {46, F, 0},    // gainReduction
    {47, F, 21},   // limitThreshold
    {48, F, 300},  // limitRelease
    {49, I, 1},    // limitBypass
    {50, I, -1},   // OutChLimAmpIndex
    {51, F, -100}, // outputGain
};

constexpr int kInputUnmappedOffset = 95;  // no input parameter has this offset
constexpr int kOutputUnmappedOffset = 11; // linkedChannel: the editor's own, not exchanged
} // namespace

const SimWireTable& SimWireTable::Instance()
{
    static const SimWireTable table;
    return table;
}

void SimWireTable::SetInteger(int wireId, int32_t value)
{
    entries[static_cast<size_t>(wireId)] = {false, static_cast<uint32_t>(value)};
}

void SimWireTable::SetFloat(int wireId, float value)
{
    Entry entry;
    entry.isFloat = true;
    std::memcpy(&entry.defaultBits, &value, sizeof value);
    entries[static_cast<size_t>(wireId)] = entry;
}

SimWireTable::SimWireTable() : entries(kWireIdCount)
{
    auto setRow = [this](int wireId, const Row& row)
    {
        if (row.kind == F)
            SetFloat(wireId, row.defaultValue);
        else
            SetInteger(wireId, static_cast<int32_t>(row.defaultValue));
    };

    auto setBands = [this](int channelBase, const BandLayout& bands)
    {
        const auto id = [&](BandProperty property, int band)
        { return channelBase + bands.firstOffset + property * bands.count + band; };
        for (int band = 0; band < bands.count; ++band)
        {
            SetInteger(id(type, band), bands.types[band]);
            SetFloat(id(gain, band), 0.0f);
            SetFloat(id(frequency, band), bands.frequencies[band]);
            SetFloat(id(q, band), kDefaultQ);
            SetInteger(id(slope, band), bands.slopes[band]);
            SetInteger(id(bypass, band), bands.bypasses[band]);
        }
    };

    for (const Row& row : kSystemRows)
        setRow(row.offset, row);

    for (int i = 0; i < 5; ++i)
        SetInteger(kPresetName1 + i, kFourBlanks);
    for (const Row& row : kPresetRows)
        setRow(kPresetBase + row.offset, row);

    for (int input = 0; input < kInputCount; ++input)
    {
        for (const Row& row : kInputRows)
            setRow(InputId(input, row.offset), row);
        setBands(InputId(input, 0), kInputBands);
        for (int offset = kGeqFirst; offset <= kGeqLast; ++offset)
            SetFloat(InputId(input, offset), 0.0f);
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
