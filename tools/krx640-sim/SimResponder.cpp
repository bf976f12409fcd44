#include "SimResponder.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace
{
constexpr uint8_t kKindInteger = 0;
constexpr uint8_t kKindFloat = 1;
constexpr int kRecordsPerBulkFrame = 4;

uint8_t KindOf(int wireId)
{
    return SimWireTable::Instance().At(wireId).isFloat ? kKindFloat : kKindInteger;
}

float BitsToFloat(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/** The value bits as the wire table wants them, from bits sent with the given kind: false when a
    float sent for an integer is not finite or lies beyond any int32. */
bool ToTableKind(int wireId, uint8_t sentKind, uint32_t bits, uint32_t& tableBits)
{
    const bool tableFloat = SimWireTable::Instance().At(wireId).isFloat;
    tableBits = bits;
    if (tableFloat == (sentKind == kKindFloat))
        return true;
    if (tableFloat)
    {
        const float value = static_cast<float>(static_cast<int32_t>(bits));
        std::memcpy(&tableBits, &value, sizeof tableBits);
        return true;
    }
    const double value = BitsToFloat(bits);
    constexpr double kBeyondInt32 = 2147483648.0;
    if (!std::isfinite(value) || value <= -kBeyondInt32 - 1.0 || value >= kBeyondInt32)
        return false;
    tableBits = static_cast<uint32_t>(static_cast<int32_t>(value)); // truncated toward zero
    return true;
}

/** A value as text, in the kind its bits have. */
std::string ValueText(bool isFloat, uint32_t bits)
{
    if (!isFloat)
        return std::to_string(static_cast<int32_t>(bits));
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(BitsToFloat(bits)));
    return text;
}

std::string RangeText(const SimWireTable::Entry& entry)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g..%g", entry.minimum, entry.maximum);
    return text;
}

bool IsOutputMute(int wireId)
{
    return wireId >= SimWireTable::kOutputBase &&
           (wireId - SimWireTable::kOutputBase) % SimWireTable::kOutputStride ==
               SimWireTable::kOutputMuteOffset;
}

SimResponder::Outcome Malformed(std::string& note, std::string reason)
{
    note = std::move(reason);
    return SimResponder::Outcome::malformed;
}

SimResponder::Outcome Refuse(std::string& note, std::string reason)
{
    note = std::move(reason);
    return SimResponder::Outcome::refused;
}

SimResponder::Outcome Ignore(std::string& note, std::string reason)
{
    note = std::move(reason);
    return SimResponder::Outcome::ignored;
}

/** Whether a preset request's payload was whole and names a preset 1..80; otherwise the outcome
    (malformed or refused) with its note. */
bool IsPresetRequestOk(const SimPayloadReader& in, int number, std::string& note,
                       SimResponder::Outcome& outcome)
{
    if (!in.Ok())
        outcome = Malformed(note, "payload too short");
    else if (!SimPresetStore::IsPresetNumber(number))
        outcome = Refuse(note, "names no preset: number " + std::to_string(number) + " is not 1..80");
    return note.empty();
}

std::string BankText(uint8_t bankIndex, uint8_t userBank)
{
    return "bank index " + std::to_string(bankIndex) + " of bank " + std::to_string(userBank);
}

SimFrame MakeFrame(uint8_t command)
{
    SimFrame frame;
    frame.command = command;
    return frame;
}
} // namespace

SimResponder::SimResponder(SimUnitMode unitMode, uint32_t version) : mode(unitMode), firmwareVersion(version)
{
    if (mode == SimUnitMode::slave)
        editBuffer.SetInteger(SimWireTable::kMasterSlaveMode, 1);
}

SimResponder::Outcome SimResponder::Handle(const SimFrame& frame, std::vector<SimFrame>& replies,
                                           std::string& note)
{
    note.clear();
    const Outcome outcome = Dispatch(frame, replies, note);
    if (!note.empty())
        note = "command " + std::to_string(frame.command) + ": " + note;
    return outcome;
}

SimResponder::Outcome SimResponder::Dispatch(const SimFrame& frame, std::vector<SimFrame>& replies,
                                             std::string& note)
{
    SimPayloadReader in(frame.payload);
    switch (frame.command)
    {
    case SimCommand::kDeviceInfoRequest:
        return DeviceInfo(replies);
    case SimCommand::kValue:
        return SetValue(in, replies, note);
    case SimCommand::kGetValue:
        return GetValue(in, replies, note);
    case SimCommand::kAllValuesRequest:
        return AllValues(replies);
    case SimCommand::kRecall:
        return Recall(in, note);
    case SimCommand::kStore:
        return Store(in, replies, note);
    case SimCommand::kPresetInfo:
        return PresetInfo(in, replies, note);
    case SimCommand::kPresetFlags:
        return PresetFlags(in, replies, note);
    case SimCommand::kSetPresetFlags:
        return SetPresetFlags(in, note);
    case SimCommand::kEraseUserPresets:
        presets.EraseUserPresets();
        return Outcome::handled;
    case SimCommand::kCompareRequest:
        return CompareValues(in, replies, note);
    case SimCommand::kReset:
    case SimCommand::kEnterBootloader:
    case SimCommand::kCommand12:
    case SimCommand::kBulkBracket:
        return Outcome::handled;
    default:
        return Ignore(note, "unknown command");
    }
}

SimResponder::Outcome SimResponder::DeviceInfo(std::vector<SimFrame>& replies)
{
    static constexpr uint8_t kStatusOk = 0;
    const char* text = mode == SimUnitMode::locked ? "L" : mode == SimUnitMode::slave ? "S" : "";
    SimFrame reply = MakeFrame(SimCommand::kDeviceInfo);
    SimPayloadWriter(reply.payload).U8(kStatusOk).U32(firmwareVersion).String(text);
    replies.push_back(reply);
    return Outcome::handled;
}

SimFrame SimResponder::ValueFrame(int wireId) const
{
    SimFrame frame = MakeFrame(SimCommand::kValue);
    SimPayloadWriter(frame.payload)
        .U16(static_cast<uint16_t>(wireId))
        .U8(KindOf(wireId))
        .U32(editBuffer.Bits(wireId))
        .U8(editBuffer.Flags(wireId));
    return frame;
}

void SimResponder::MarkDirty(bool dirty, std::vector<SimFrame>* replies)
{
    if (IsEditBufferDirty() == dirty)
        return;
    editBuffer.SetInteger(SimWireTable::kGlobalDirty, dirty ? 1 : 0);
    if (replies != nullptr)
        replies->push_back(ValueFrame(SimWireTable::kGlobalDirty));
}

SimResponder::Outcome SimResponder::SetValue(SimPayloadReader& in, std::vector<SimFrame>& replies,
                                             std::string& note)
{
    const int wireId = in.U16();
    const uint8_t kind = in.U8();
    const uint32_t bits = in.U32();
    const uint8_t flags = in.U8();
    if (!in.Ok())
        return Malformed(note, "payload too short");
    if (kind != kKindInteger && kind != kKindFloat)
        return Malformed(note, "value kind " + std::to_string(kind));
    const std::string id = "wire id " + std::to_string(wireId);
    if (!SimWireTable::IsValid(wireId))
        return Refuse(note, "no " + id);
    const SimWireTable::Entry& entry = SimWireTable::Instance().At(wireId);
    if (!entry.hasParameter)
        return Refuse(note, "no parameter at " + id);
    if (SimWireTable::IsKeptByUnit(wireId))
        return Refuse(note, id + " is kept by the unit; its value stays");
    const std::string sent = "value " + ValueText(kind == kKindFloat, bits);
    if (kind == kKindFloat && !std::isfinite(BitsToFloat(bits)))
        return Refuse(note, sent + " for " + id + " is not a finite number; its value stays");
    uint32_t newBits = 0;
    if (!ToTableKind(wireId, kind, bits, newBits) || !SimWireTable::Instance().IsInRange(wireId, newBits))
        return Refuse(note, sent + " is outside " + RangeText(entry) + " of " + id + "; its value stays");
    if (mode == SimUnitMode::slave || (mode == SimUnitMode::locked && !IsOutputMute(wireId)))
        return Ignore(note, std::string(mode == SimUnitMode::slave ? "slaved" : "locked") +
                                " unit: change of " + id + " ignored");

    const bool changed = newBits != editBuffer.Bits(wireId);
    editBuffer.Set(wireId, newBits, flags & SimWireFlag::kEditorFlags);
    if (changed && wireId >= SimWireTable::kPresetBase)
        MarkDirty(true, &replies);
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::GetValue(SimPayloadReader& in, std::vector<SimFrame>& replies,
                                             std::string& note)
{
    const int wireId = in.U16();
    if (!in.Ok())
        return Malformed(note, "payload too short");
    if (!SimWireTable::IsValid(wireId))
        return Refuse(note, "no wire id " + std::to_string(wireId));
    replies.push_back(ValueFrame(wireId));
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::AllValues(std::vector<SimFrame>& replies)
{
    for (int first = 0; first < SimWireTable::kWireIdCount; first += kRecordsPerBulkFrame)
    {
        SimFrame frame = MakeFrame(SimCommand::kAllValues);
        SimPayloadWriter out(frame.payload);
        for (int wireId = first; wireId < first + kRecordsPerBulkFrame; ++wireId)
            out.U32(editBuffer.Bits(wireId)).U8(KindOf(wireId)).U8(editBuffer.Flags(wireId));
        replies.push_back(frame);
    }
    return Outcome::handled;
}

int SimResponder::PresetFromBank(uint8_t bankIndex, uint8_t userBank)
{
    if (userBank == 1)
        return bankIndex <= SimPresetStore::kUserPresetCount ? bankIndex : -1;
    if (userBank == 0)
        return bankIndex < SimPresetStore::kFactoryPresetCount
                   ? SimPresetStore::kUserPresetCount + 1 + bankIndex
                   : -1;
    return -1;
}

SimResponder::Outcome SimResponder::Recall(SimPayloadReader& in, std::string& note)
{
    const uint8_t bankIndex = in.U8();
    const uint8_t userBank = in.U8();
    if (!in.Ok())
        return Malformed(note, "payload too short");
    const int number = PresetFromBank(bankIndex, userBank);
    if (number <= 0)
        return Refuse(note, "recall names no preset: " + (number == 0 ? std::string("the edit buffer")
                                                                      : BankText(bankIndex, userBank)));
    if (!presets.IsOccupied(number))
        return Ignore(note, "preset " + std::to_string(number) + " is empty");

    editBuffer.CopyPresetData(presets.Contents(number));
    editBuffer.SetInteger(SimWireTable::kCurrentPreset, number);
    MarkDirty(false, nullptr);
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::Store(SimPayloadReader& in, std::vector<SimFrame>& replies,
                                          std::string& note)
{
    const uint8_t number = in.U8();
    if (!in.Ok())
        return Malformed(note, "payload too short");
    if (!presets.StoreUserPreset(number, editBuffer))
        return Refuse(note,
                      "store names no user preset: location " + std::to_string(number) + " is not 1..20");

    editBuffer.SetInteger(SimWireTable::kCurrentPreset, number);
    MarkDirty(false, nullptr);
    SimFrame stored = MakeFrame(SimCommand::kStore);
    SimPayloadWriter(stored.payload).U8(number);
    replies.push_back(stored);
    // "Preset recalled on the unit": the editor reads the unit's values again.
    replies.push_back(MakeFrame(SimCommand::kRecall));
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::PresetInfo(SimPayloadReader& in, std::vector<SimFrame>& replies,
                                               std::string& note)
{
    const uint8_t number = in.U8();
    Outcome outcome = Outcome::handled;
    if (!IsPresetRequestOk(in, number, note, outcome))
        return outcome;
    SimFrame reply = MakeFrame(SimCommand::kPresetInfo);
    SimPayloadWriter(reply.payload)
        .U8(number)
        .String(presets.Name(number))
        .I32(presets.Configuration(number));
    replies.push_back(reply);
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::PresetFlags(SimPayloadReader& in, std::vector<SimFrame>& replies,
                                                std::string& note)
{
    const uint8_t number = in.U8();
    Outcome outcome = Outcome::handled;
    if (!IsPresetRequestOk(in, number, note, outcome))
        return outcome;
    SimFrame reply = MakeFrame(SimCommand::kPresetFlags);
    SimPayloadWriter(reply.payload).U8(number).U8(presets.Flags(number));
    replies.push_back(reply);
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::SetPresetFlags(SimPayloadReader& in, std::string& note)
{
    const uint8_t number = in.U8();
    const int32_t flags = in.I32();
    Outcome outcome = Outcome::handled;
    if (!IsPresetRequestOk(in, number, note, outcome))
        return outcome;
    presets.SetFlags(number, static_cast<uint8_t>(flags));
    return Outcome::handled;
}

SimResponder::Outcome SimResponder::CompareValues(SimPayloadReader& in, std::vector<SimFrame>& replies,
                                                  std::string& note)
{
    const uint8_t bankIndex = in.U8();
    const uint8_t userBank = in.U8();
    if (!in.Ok())
        return Malformed(note, "payload too short");
    const int number = PresetFromBank(bankIndex, userBank);
    if (number < 0)
        return Refuse(note, "compare request names no preset: " + BankText(bankIndex, userBank));

    const SimParameterStore& values = number == 0 ? editBuffer : presets.Contents(number);
    for (int wireId : SimWireTable::Instance().CompareAnswerIds())
    {
        SimFrame frame = MakeFrame(SimCommand::kCompareValue);
        SimPayloadWriter(frame.payload)
            .U16(static_cast<uint16_t>(wireId))
            .U8(KindOf(wireId))
            .U32(values.Bits(wireId))
            .U8(values.Flags(wireId));
        replies.push_back(frame);
    }
    return Outcome::handled;
}
