#pragma once

#include "SimFrameCodec.h"
#include "SimParameterStore.h"

#include <cstdint>
#include <string>
#include <vector>

/** The unit's front panel as the editor sees it: meter readings sent as values (command 5) and the
    192 x 34 pixel display sent as 17 blocks of two 24-byte rows (command 4). The meters move
    smoothly with time so that a person can see them live; their values are also written into the
    edit buffer, so a get or a bulk answer reports the same readings. A slaved unit marks its
    meter readings with the slave-meter wire flag. Single-threaded. */
class SimFrontPanel final
{
public:
    static constexpr int kDisplayWidth = 192;
    static constexpr int kDisplayHeight = 34;

    explicit SimFrontPanel(bool slave);

    /** Appends one reading of every meter: input meters, output meters, gain reductions, DSP load. */
    void AppendMeterFrames(uint32_t tick, SimParameterStore& values, std::vector<SimFrame>& out) const;

    /** Appends the display showing the current preset's label and name; the dirty mark at column
        185, rows 2 and 3, is lit while the edit buffer differs from the recalled preset. */
    void AppendDisplayFrames(int currentPreset, const std::string& name, bool dirty,
                             std::vector<SimFrame>& out) const;

private:
    using Picture = std::vector<uint8_t>; // kDisplayHeight rows of kRowBytes bytes, bit 7 leftmost

    static void SetPixel(Picture& picture, int x, int y);
    static void DrawText(Picture& picture, const std::string& text, int x, int y);

    bool slave;
};
