#pragma once

#include "core/XRGB.h"
#include "device/DisplayBitmap.h"

#include <cstdint>
#include <juce_graphics/juce_graphics.h>
#include <memory>
#include <vector>

class XImage;

/** The picture of the unit's front-panel display that the front panel shows: a 192 x 38 image in
    the display's lit and dark colours, all dark at first.

    The display data arrives on the link's reader thread while the GUI paints the image, so the
    pixels go first into a bitmap under its own lock (DrawColumn, any thread); Publish, on the GUI
    thread, copies them into the image when they changed. The object owns the image; views borrow it
    for its life. Everything but DrawColumn and Clear runs on the GUI thread. */
class FrontPanelDisplay final
{
public:
    static constexpr int32_t kWidth = DisplayBitmap::kWidth;
    static constexpr int32_t kHeight = DisplayBitmap::kHeight;
    static constexpr XRGB kLitColour{160, 220, 230};
    static constexpr XRGB kDarkColour{45, 112, 165};

    FrontPanelDisplay();
    ~FrontPanelDisplay();
    FrontPanelDisplay(const FrontPanelDisplay&) = delete;
    FrontPanelDisplay& operator=(const FrontPanelDisplay&) = delete;

    /** Pixels x .. x + 7 of row take bits 7 .. 0 of bits (set: lit); outside pixels are left out.
        Any thread; shows at the next Publish. */
    void DrawColumn(int32_t row, int32_t x, int32_t bits);
    /** Every pixel dark at the next Publish. Any thread. */
    void Clear();
    /** Copies the pixels drawn since the last call into the image; true when there were any. */
    bool Publish();

    /** The image; never null. */
    XImage* GetImage() const { return image.get(); }
    /** The image's colour at a pixel; the dark colour outside the image. */
    XRGB GetPixel(int32_t x, int32_t y) const;

private:
    DisplayBitmap bitmap;
    juce::Image pixels; // shares its pixel data with the image
    std::unique_ptr<XImage> image;
    std::vector<uint8_t> published; // Publish's copy of the bitmap
};
