#include "app/SpeakerConfigurations.h"

namespace
{
using Output = SpeakerConfigurations::Output;

// Rows: configuration 0..6; columns: outputs 1..6. Each entry: filter mode, source, linked output, colour,
// label, high-pass type, low-pass type, high-pass and low-pass frequency.
// clang-format off
constexpr Output kOutputs[SpeakerConfigurations::kCount][SpeakerConfigurations::kOutputCount] = {
    {   // 2-Way Stereo + FR
        {6, 0, 4, 0, "Low L",    16, 17,   35,   100},
        {3, 0, 5, 1, "Hi L",     17,  0,  100, 16000},
        {1, 0, 0, 2, "FR L",      0,  0,   35, 16000},
        {6, 1, 1, 0, "Low R",    16, 17,   35,   100},
        {3, 1, 2, 1, "Hi R",     17,  0,  100, 16000},
        {1, 1, 0, 3, "FR R",      0,  0,   35, 16000},
    },
    {   // 3-Way Stereo
        {6, 0, 4, 0, "Sub L",    16, 17,   35,   100},
        {5, 0, 5, 1, "Lo-Mid L", 17, 17,  100,  1600},
        {3, 0, 6, 2, "Hi L",     17,  0, 1600, 16000},
        {6, 1, 1, 0, "Sub R",    16, 17,   35,   100},
        {5, 1, 2, 1, "Lo-Mid R", 17, 17,  100,  1600},
        {3, 1, 3, 2, "Hi R",     17,  0, 1600, 16000},
    },
    {   // 4-Way + FR
        {6, 0, 0, 0, "Sub",      16, 17,   35,   100},
        {5, 0, 0, 1, "Low",      17, 17,  100,   500},
        {5, 0, 0, 2, "Mid",      17, 17,  500,  1600},
        {3, 0, 0, 3, "Hi",       17,  0, 1600, 16000},
        {1, 1, 0, 4, "FR\t",      0,  0,   35, 16000},
        {1, 1, 0, 5, "FR",        0,  0,   35, 16000},
    },
    {   // 5-way + FR
        {6, 0, 0, 0, "Sub",      16, 17,   35,    60},
        {5, 0, 0, 1, "Low",      17, 17,   60,   120},
        {5, 0, 0, 2, "Lo-Mid",   17, 17,  120,   500},
        {5, 0, 0, 3, "Mid",      17, 17,  500,  1600},
        {3, 0, 0, 4, "Hi",       17,  0, 1600, 16000},
        {1, 1, 0, 5, "FR",        0,  0,   35, 16000},
    },
    {   // Free Configuration
        {8, 0, 0, 0, "FR 1",      0,  0,   35, 16000},
        {8, 0, 0, 1, "FR 2",      0,  0,   35, 16000},
        {8, 0, 0, 2, "FR 3",      0,  0,   35, 16000},
        {8, 1, 0, 3, "FR 4",      0,  0,   35, 16000},
        {8, 1, 0, 4, "FR 5",      0,  0,   35, 16000},
        {8, 1, 0, 5, "FR 6",      0,  0,   35, 16000},
    },
    {   // 3W Stereo-Mono Sub+FR
        {6, 2, 0, 0, "Sub Mono", 16, 17,   35,   100},
        {5, 0, 5, 1, "Lo-Mid L", 17, 17,  100,  1600},
        {3, 0, 6, 2, "Mid-Hi L", 17,  0, 1600, 16000},
        {1, 2, 0, 3, "FR",        0,  0,   35, 16000},
        {7, 1, 2, 1, "Lo-Mid R", 17, 17,  100,  1600},
        {3, 1, 3, 2, "Mid-Hi R", 17,  0, 1600, 16000},
    },
    {   // 4W Stereo-Mono Sub/LF
        {6, 2, 0, 0, "Sub Mono", 16, 17,   35,   100},
        {5, 2, 0, 1, "Low Mono", 17, 17,  100,   500},
        {5, 0, 5, 2, "Mid L",    17, 17,  500,  1600},
        {3, 0, 6, 3, "Hi L",     17,  0, 1600, 16000},
        {7, 1, 3, 2, "Mid R",    17, 17,  500,  1600},
        {3, 1, 4, 3, "Hi R",     17,  0, 1600, 16000},
    },
};
// clang-format on
} // namespace

const SpeakerConfigurations::Output* SpeakerConfigurations::Find(int32_t configuration, int32_t output)
{
    if (configuration < 0 || configuration >= kCount || output < 1 || output > kOutputCount)
        return nullptr;
    return &kOutputs[configuration][output - 1];
}
