#pragma once

#include <cstdint>
#include <vector>

/** The images the editor writes into the unit during a firmware update: the DSP program, the factory
    presets and the amplifier table (serial flash) and the controller program (controller flash).

    The images are the project's own and deterministic, made in code on first use: the two programs
    are byte patterns that never hold 0xFF (so that padding and verify faults show), the amplifier
    table holds the 33 records of AmplifierLimitTable, and the factory presets are 60 empty presets
    (all 0xFF). Every buffer carries one spare 0xFF byte after the image, which the flash engine may
    send with a partial page. Constant once made; any thread may read them. */
class FirmwareImages final
{
public:
    static constexpr int kDspProgramSize = 142040;
    static constexpr int kFactoryPresetsSize = 259248;
    static constexpr int kAmplifierTableSize = 660;
    static constexpr int kControllerProgramSize = 58336;
    /** Bytes of one amplifier-table record: int32 threshold offset and a 16-byte name. */
    static constexpr int kAmplifierRecordSize = 20;
    static constexpr uint8_t kSpareByte = 0xFF;

    /** One image: Size() bytes at Data(), followed by the spare byte. */
    class Image final
    {
    public:
        explicit Image(std::vector<uint8_t> bytesWithoutSpare);
        const char* Data() const { return reinterpret_cast<const char*>(bytes.data()); }
        int Size() const { return static_cast<int>(bytes.size()) - 1; }
        const uint8_t* Bytes() const { return bytes.data(); }

    private:
        std::vector<uint8_t> bytes;
    };

    static const Image& DspProgram();
    static const Image& FactoryPresets();
    static const Image& AmplifierTable();
    static const Image& ControllerProgram();

    FirmwareImages() = delete;
};
