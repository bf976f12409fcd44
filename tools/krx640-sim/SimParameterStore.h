#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** The values of all 572 wire ids with their wire flags, as the unit holds them: the edit buffer,
    and the contents of each stored preset. A value is kept as its 32 bits, float32 or int32 as the
    wire table says; ids outside 0..571 read as 0 and cannot be set. */
class SimParameterStore final
{
public:
    /** Every id at its power-up value, flags 0. */
    SimParameterStore();

    uint32_t Bits(int wireId) const;
    uint8_t Flags(int wireId) const;
    void Set(int wireId, uint32_t bits, uint8_t flags);
    void SetBits(int wireId, uint32_t bits);

    float Float(int wireId) const;
    int32_t Integer(int wireId) const { return static_cast<int32_t>(Bits(wireId)); }
    void SetFloat(int wireId, float value);
    void SetInteger(int wireId, int32_t value) { SetBits(wireId, static_cast<uint32_t>(value)); }

    /** Copies the values and flags that a preset holds (ids 51..571) from another store. */
    void CopyPresetData(const SimParameterStore& from);

    /** The program name packed in PresetName1..5: four characters to an int, the first in the
        lowest byte, 19 characters in all; ends at a zero byte, trailing blanks removed. */
    std::string ProgramName() const;
    /** Packs name (cut or padded with blanks to 19 characters) into PresetName1..5. */
    void SetProgramName(const std::string& name);

private:
    struct Slot
    {
        uint32_t bits = 0;
        uint8_t flags = 0;
    };
    std::vector<Slot> slots;
};
