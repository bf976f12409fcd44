#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/** The simulated unit's own table of its 572 wire identifiers: for each, whether a parameter lies
    behind it, whether its value travels as float32 or int32, its range and its value after
    power-up. Built from the unit's parameter tables independently of the editor's model, so that a
    fault on either side shows in tests.

    Wire id layout: 0..50 system settings (id = parameter id), 51..63 the preset's descriptive data
    (51 + id), 64 + 98 b + offset for input b (0, 1), 260 + 52 j + offset for output j (0..5). Ids
    without a parameter (for example input offset 95, output offset 11) are integers of value 0
    that take no value.
    Immutable after construction; Instance() may be read from any thread. */
class SimWireTable final
{
public:
    static constexpr int kWireIdCount = 572;
    static constexpr int kPresetBase = 51;   // first id stored in a preset
    static constexpr int kInputBase = 64;    // input A's offset 0
    static constexpr int kInputStride = 98;  // ids per input
    static constexpr int kOutputBase = 260;  // output 1's offset 0
    static constexpr int kOutputStride = 52; // ids per output
    static constexpr int kInputCount = 2;
    static constexpr int kOutputCount = 6;

    // Ids the unit itself maintains.
    static constexpr int kMasterSlaveMode = 25;
    static constexpr int kCurrentPreset = 14;
    static constexpr int kDspLoad = 28;
    static constexpr int kGlobalDirty = 49;
    static constexpr int kPresetName1 = kPresetBase + 0; // five ints of four characters each
    static constexpr int kCurrentConfig = kPresetBase + 9;
    // Channel offsets the unit itself touches.
    static constexpr int kInputMeterOffset = 0;
    static constexpr int kOutputMeterOffset = 0;
    static constexpr int kOutputMuteOffset = 45;
    static constexpr int kGainReductionOffset = 46;
    static constexpr int kOutputGainOffset = 51;

    struct Entry
    {
        bool hasParameter = false;
        bool isFloat = false;
        uint32_t defaultBits = 0; // float32 bits or int32 bits, by isFloat
        double minimum = 0;
        double maximum = 0;
    };

    static const SimWireTable& Instance();

    static bool IsValid(int wireId) { return wireId >= 0 && wireId < kWireIdCount; }
    const Entry& At(int wireId) const { return entries[static_cast<size_t>(wireId)]; }

    static int InputId(int input, int offset) { return kInputBase + kInputStride * input + offset; }
    static int OutputId(int output, int offset) { return kOutputBase + kOutputStride * output + offset; }

    /** The eight level meters (input and output meters). */
    static bool IsLevelMeter(int wireId);
    /** Values the unit keeps or measures itself, which the editor cannot write: the current preset,
        GlobalDirty, the DSP load, the level meters and the gain reductions. */
    static bool IsKeptByUnit(int wireId);
    /** Whether bits (of the id's own kind) are a value the id takes: a parameter lies behind it and
        the value is finite and inside its range. */
    bool IsInRange(int wireId, uint32_t bits) const;
    /** Ids the editor maps to its compare copies: the preset data and every channel parameter. */
    static bool IsInCompareMap(int wireId);
    /** The ids of a compare answer, ascending: the compare map without the level meters (505). */
    const std::vector<int>& CompareAnswerIds() const { return compareAnswerIds; }

private:
    SimWireTable();
    void SetInteger(int wireId, int32_t value, double minimum, double maximum);
    void SetFloat(int wireId, float value, double minimum, double maximum);

    std::vector<Entry> entries;
    std::vector<int> compareAnswerIds;
};
