#include "device/FirmwareImages.h"

#include "device/AmplifierTables.h"

#include <cstring>
#include <utility>

namespace
{
constexpr uint8_t kErasedByte = 0xFF;
/** Stands in for 0xFF in the program patterns. */
constexpr uint8_t kErasedStandIn = 0x5A;
constexpr uint32_t kDspSeed = 0x44;
constexpr uint32_t kControllerSeed = 0xA7;

/** A program pattern that differs from page to page and never holds an erased byte. */
std::vector<uint8_t> ProgramPattern(int size, uint32_t seed)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const auto index = static_cast<uint32_t>(i);
        const auto byte = static_cast<uint8_t>(index * 31u + (index >> 7) * 7u + (index >> 13) + seed);
        bytes[i] = byte == kErasedByte ? kErasedStandIn : byte;
    }
    return bytes;
}

std::vector<uint8_t> AmplifierRecords()
{
    std::vector<uint8_t> bytes(static_cast<size_t>(FirmwareImages::kAmplifierTableSize), 0);
    for (int record = 0; record < AmplifierTables::kAmplifierCount; ++record)
    {
        uint8_t* at = bytes.data() + record * FirmwareImages::kAmplifierRecordSize;
        const auto offset = static_cast<uint32_t>(AmplifierLimitTable[record].thresholdOffset);
        for (int shift = 0; shift < 4; ++shift)
            at[shift] = static_cast<uint8_t>(offset >> (8 * shift));
        std::memcpy(at + 4, AmplifierLimitTable[record].name, AmplifierTables::kAmplifierNameSize);
    }
    return bytes;
}
} // namespace

FirmwareImages::Image::Image(std::vector<uint8_t> bytesWithoutSpare) : bytes(std::move(bytesWithoutSpare))
{
    bytes.push_back(kSpareByte);
}

const FirmwareImages::Image& FirmwareImages::DspProgram()
{
    static const Image image(ProgramPattern(kDspProgramSize, kDspSeed));
    return image;
}

const FirmwareImages::Image& FirmwareImages::FactoryPresets()
{
    // Sixty empty presets, laid out with their sector fill, are erased bytes throughout.
    static const Image image(std::vector<uint8_t>(static_cast<size_t>(kFactoryPresetsSize), kErasedByte));
    return image;
}

const FirmwareImages::Image& FirmwareImages::AmplifierTable()
{
    static const Image image(AmplifierRecords());
    return image;
}

const FirmwareImages::Image& FirmwareImages::ControllerProgram()
{
    static const Image image(ProgramPattern(kControllerProgramSize, kControllerSeed));
    return image;
}
