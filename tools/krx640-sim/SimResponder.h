#pragma once

#include "SimFrameCodec.h"
#include "SimParameterStore.h"
#include "SimPresetStore.h"
#include "SimWireTable.h"

#include <cstdint>
#include <string>
#include <vector>

/** How the simulated unit presents itself in its device-info answer. */
enum class SimUnitMode
{
    normal, ///< text ""
    locked, ///< text "L": settings can be viewed, changes are ignored except output mutes
    slave,  ///< text "S": changes are ignored; meter readings carry the slave flag
};

/** The unit's side of the protocol: interprets each frame from the editor, keeps the edit buffer
    and the presets, and produces the frames the unit answers with (always address 0).

    Commands: 1 device info (-> 2); 5 set a value; 6 get a value (-> 5); 7 all values (-> 143 x 8);
    9 recall; 10 store (-> 10, then 9); 13 preset info (-> 13); 14 preset flags (-> 14); 15 set preset
    flags; 18 erase user presets; 19 preset values for comparison (-> 505 x 20). 3, 11, 12, 21 and
    unknown commands are accepted without effect (the unit itself restarts into its bootloader on 11).

    Values are checked as the unit does: a value that is not finite or lies outside its id's range,
    a value for an id without a parameter and a value the unit keeps itself (current preset,
    GlobalDirty, DSP load, meters) are refused, and the old value stays. A request that names no
    preset is refused too. A frame whose payload is too short is malformed. Either changes nothing
    and comes back with its reason. Single-threaded. */
class SimResponder final
{
public:
    static constexpr uint32_t kDefaultFirmwareVersion = 0x42010400;

    enum class Outcome
    {
        handled,   ///< understood (and answered where the command answers)
        ignored,   ///< understood, deliberately without effect; note says why
        refused,   ///< well-formed but refused (a value or preset the unit does not take); note says why
        malformed, ///< its payload cannot be read; note says why
    };

    SimResponder(SimUnitMode mode, uint32_t firmwareVersion);

    /** Handles one frame from the editor, appending the answer frames to replies. */
    Outcome Handle(const SimFrame& frame, std::vector<SimFrame>& replies, std::string& note);

    SimParameterStore& EditBuffer() { return editBuffer; }
    const SimParameterStore& EditBuffer() const { return editBuffer; }
    const SimPresetStore& Presets() const { return presets; }
    /** Empties the user presets (their flash sectors were erased). */
    void EraseUserPresets() { presets.EraseUserPresets(); }
    uint32_t FirmwareVersion() const { return firmwareVersion; }
    /** The version the device-info answer reports from now on. */
    void SetFirmwareVersion(uint32_t version) { firmwareVersion = version; }
    /** True when the edit buffer was changed since the last recall or store. */
    bool IsEditBufferDirty() const { return editBuffer.Integer(SimWireTable::kGlobalDirty) != 0; }

private:
    Outcome Dispatch(const SimFrame& frame, std::vector<SimFrame>& replies, std::string& note);
    Outcome DeviceInfo(std::vector<SimFrame>& replies);
    Outcome SetValue(SimPayloadReader& in, std::vector<SimFrame>& replies, std::string& note);
    Outcome GetValue(SimPayloadReader& in, std::vector<SimFrame>& replies, std::string& note);
    Outcome AllValues(std::vector<SimFrame>& replies);
    Outcome Recall(SimPayloadReader& in, std::string& note);
    Outcome Store(SimPayloadReader& in, std::vector<SimFrame>& replies, std::string& note);
    Outcome PresetInfo(SimPayloadReader& in, std::vector<SimFrame>& replies, std::string& note);
    Outcome PresetFlags(SimPayloadReader& in, std::vector<SimFrame>& replies, std::string& note);
    Outcome SetPresetFlags(SimPayloadReader& in, std::string& note);
    Outcome CompareValues(SimPayloadReader& in, std::vector<SimFrame>& replies, std::string& note);

    /** Preset number of a recall payload (bank index, user bank): 0 for the edit buffer, 1..80, or
        -1 when the pair names no preset. */
    static int PresetFromBank(uint8_t bankIndex, uint8_t userBank);
    /** Marks the edit buffer changed; tells the editor when the mark goes on. */
    void MarkDirty(bool dirty, std::vector<SimFrame>* replies);
    SimFrame ValueFrame(int wireId) const;

    SimUnitMode mode;
    uint32_t firmwareVersion;
    SimParameterStore editBuffer;
    SimPresetStore presets;
};
