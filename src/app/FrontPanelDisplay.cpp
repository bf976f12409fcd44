#include "app/FrontPanelDisplay.h"

#include "gui/XImage.h"

FrontPanelDisplay::FrontPanelDisplay()
    : pixels(juce::Image::RGB, kWidth, kHeight, false, juce::SoftwareImageType()),
      image(std::make_unique<XImage>(pixels))
{
    pixels.clear(pixels.getBounds(), kDarkColour.ToColour());
}

FrontPanelDisplay::~FrontPanelDisplay() = default;

void FrontPanelDisplay::DrawColumn(int32_t row, int32_t x, int32_t bits)
{
    bitmap.SetByte(row, x, bits);
}

void FrontPanelDisplay::Clear()
{
    bitmap.Clear();
}

bool FrontPanelDisplay::Publish()
{
    if (!bitmap.TakeChanges(published))
        return false;
    const juce::Colour lit = kLitColour.ToColour();
    const juce::Colour dark = kDarkColour.ToColour();
    const juce::Image::BitmapData data(pixels, juce::Image::BitmapData::writeOnly);
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x)
            data.setPixelColour(x, y, published[static_cast<size_t>(y) * kWidth + x] != 0 ? lit : dark);
    return true;
}

XRGB FrontPanelDisplay::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return kDarkColour;
    const juce::Colour colour = pixels.getPixelAt(x, y);
    return XRGB(colour.getRed(), colour.getGreen(), colour.getBlue(), colour.getAlpha());
}
