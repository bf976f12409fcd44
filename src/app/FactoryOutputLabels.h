#pragma once

#include <cstdint>

/** The six output labels of each factory preset (presets 21..80), as the factory-preset data
    gives them: its generated channel-names header is compiled in. A preset without data gives
    empty labels. Constant data; any thread may read it. */
class FactoryOutputLabels final
{
public:
    static constexpr int32_t kFirstPreset = 21;
    static constexpr int32_t kLastPreset = 80;

    /** The label of output (1..6) in factory preset (21..80); null for either outside its range. */
    static const char* Find(int32_t preset, int32_t output);

    FactoryOutputLabels() = delete;
};
