#pragma once

#include <cstdint>

/** The default set-up of the six outputs for each of the seven speaker configurations that
    preset\CurrentConfig selects (0 "2-Way Stereo + FR" .. 6 "4W Stereo-Mono Sub/LF"; 4 is the free
    configuration): per output its filter mode, source, linked output, colour, label and crossover.
    Constant data; any thread may read it. */
class SpeakerConfigurations final
{
public:
    static constexpr int32_t kCount = 7;
    static constexpr int32_t kOutputCount = 6;
    /** The free configuration: every output full range and unlinked. */
    static constexpr int32_t kFreeConfiguration = 4;

    /** One output's defaults in one configuration. */
    struct Output
    {
        int32_t filterMode;    // chFilterMode
        int32_t source;        // 0 input A, 1 input B, 2 both
        int32_t linkedChannel; // 0 none, else the partner output's number
        int32_t colour;        // preset\ColorChan<n>
        const char* label;
        int32_t hipassType; // hipassTypeQ
        int32_t lopassType; // lopassTypeQ
        double hipassFreq;  // Hz
        double lopassFreq;  // Hz
    };

    /** The defaults of output (1..6) in configuration (0..6); null for either outside its range. */
    static const Output* Find(int32_t configuration, int32_t output);

    SpeakerConfigurations() = delete;
};
