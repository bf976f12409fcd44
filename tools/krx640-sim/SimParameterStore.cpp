#include "SimParameterStore.h"

#include "SimWireTable.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kNameInts = 5;
constexpr size_t kNameLength = 19;
} // namespace

SimParameterStore::SimParameterStore() : slots(SimWireTable::kWireIdCount)
{
    const auto& table = SimWireTable::Instance();
    for (int wireId = 0; wireId < SimWireTable::kWireIdCount; ++wireId)
        slots[static_cast<size_t>(wireId)].bits = table.At(wireId).defaultBits;
}

uint32_t SimParameterStore::Bits(int wireId) const
{
    return SimWireTable::IsValid(wireId) ? slots[static_cast<size_t>(wireId)].bits : 0;
}

uint8_t SimParameterStore::Flags(int wireId) const
{
    return SimWireTable::IsValid(wireId) ? slots[static_cast<size_t>(wireId)].flags : 0;
}

void SimParameterStore::Set(int wireId, uint32_t bits, uint8_t flags)
{
    if (SimWireTable::IsValid(wireId))
        slots[static_cast<size_t>(wireId)] = {bits, flags};
}

void SimParameterStore::SetBits(int wireId, uint32_t bits)
{
    if (SimWireTable::IsValid(wireId))
        slots[static_cast<size_t>(wireId)].bits = bits;
}

float SimParameterStore::Float(int wireId) const
{
    const uint32_t bits = Bits(wireId);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void SimParameterStore::SetFloat(int wireId, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    SetBits(wireId, bits);
}

void SimParameterStore::CopyPresetData(const SimParameterStore& from)
{
    for (size_t wireId = SimWireTable::kPresetBase; wireId < slots.size(); ++wireId)
        slots[wireId] = from.slots[wireId];
}

std::string SimParameterStore::ProgramName() const
{
    std::string name;
    for (int i = 0; i < kNameInts; ++i)
    {
        const uint32_t packed = Bits(SimWireTable::kPresetName1 + i);
        for (int shift = 0; shift < 32; shift += 8)
            name.push_back(static_cast<char>(packed >> shift));
    }
    name.resize(std::min(name.find('\0'), kNameLength));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

void SimParameterStore::SetProgramName(const std::string& name)
{
    std::string padded = name.substr(0, kNameLength);
    padded.resize(kNameLength, ' ');
    padded.push_back('\0');
    for (int i = 0; i < kNameInts; ++i)
    {
        uint32_t packed = 0;
        for (int k = 0; k < 4; ++k)
            packed |= static_cast<uint32_t>(static_cast<uint8_t>(padded[static_cast<size_t>(4 * i + k)]))
                      << (8 * k);
        SetInteger(SimWireTable::kPresetName1 + i, static_cast<int32_t>(packed));
    }
}
