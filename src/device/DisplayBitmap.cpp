#include "device/DisplayBitmap.h"

#include <algorithm>

namespace
{
bool IsInside(int32_t x, int32_t y)
{
    return x >= 0 && x < DisplayBitmap::kWidth && y >= 0 && y < DisplayBitmap::kHeight;
}

size_t IndexOf(int32_t x, int32_t y)
{
    return static_cast<size_t>(y) * DisplayBitmap::kWidth + static_cast<size_t>(x);
}
} // namespace

DisplayBitmap::DisplayBitmap() : pixels(static_cast<size_t>(kWidth) * kHeight, 0) {}

void DisplayBitmap::SetByte(int32_t row, int32_t x, int32_t bits)
{
    std::lock_guard<std::mutex> hold(pixelLock);
    for (int32_t bit = kPixelsPerByte - 1; bit >= 0; --bit)
    {
        const int32_t column = x + kPixelsPerByte - 1 - bit;
        if (!IsInside(column, row))
            continue;
        pixels[IndexOf(column, row)] = static_cast<uint8_t>((bits >> bit) & 1);
    }
    changed = true;
}

void DisplayBitmap::Clear()
{
    std::lock_guard<std::mutex> hold(pixelLock);
    std::fill(pixels.begin(), pixels.end(), static_cast<uint8_t>(0));
    changed = true;
}

bool DisplayBitmap::IsLit(int32_t x, int32_t y) const
{
    if (!IsInside(x, y))
        return false;
    std::lock_guard<std::mutex> hold(pixelLock);
    return pixels[IndexOf(x, y)] != 0;
}

bool DisplayBitmap::TakeChanges(std::vector<uint8_t>& out)
{
    std::lock_guard<std::mutex> hold(pixelLock);
    if (!changed)
        return false;
    out = pixels;
    changed = false;
    return true;
}
