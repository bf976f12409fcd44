#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

/** The unit's front-panel display as it arrives: kWidth x kHeight pixels, each lit or dark, written
    eight at a time from the display data (on the link's reader thread) and read whole by the GUI,
    which draws them. Every pixel starts dark.

    Any thread may call every operation: the pixels and the changed mark are guarded by pixelLock,
    so a reader always takes a whole, consistent copy. */
class DisplayBitmap final
{
public:
    static constexpr int32_t kWidth = 192;
    static constexpr int32_t kHeight = 38;
    static constexpr int32_t kPixelsPerByte = 8;

    DisplayBitmap();

    /** Pixels x .. x + 7 of row take bits 7 .. 0 of bits (set: lit); pixels outside the display are
        left out. */
    void SetByte(int32_t row, int32_t x, int32_t bits);
    /** Every pixel dark. */
    void Clear();
    /** Whether the pixel is lit; false outside the display. */
    bool IsLit(int32_t x, int32_t y) const;
    /** When a pixel was written since the last call: out := every pixel, row by row (1 lit, 0 dark),
        and true. Else false and out untouched. */
    bool TakeChanges(std::vector<uint8_t>& out);

private:
    mutable std::mutex pixelLock; // guards pixels and changed
    std::vector<uint8_t> pixels;
    bool changed = false;
};
