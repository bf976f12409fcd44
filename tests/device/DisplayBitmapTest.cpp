// The front-panel display's pixels: bytes of display data become rows of lit and dark pixels, and a
// reader takes consistent copies while the link writes.

#include "device/DisplayBitmap.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(DisplayBitmap, BytesLightTheirPixelsLeftmostBitFirstInsideTheDisplay)
{
    DisplayBitmap bitmap;
    std::vector<uint8_t> pixels;
    EXPECT_FALSE(bitmap.TakeChanges(pixels));

    struct Case
    {
        int32_t row, x, bits;
        std::vector<int32_t> litColumns; // of row, among x .. x + 7
    };
    const Case cases[] = {
        {0, 0, 0x80, {0}},
        {5, 8, 0xA5, {8, 10, 13, 15}},
        {37, 184, 0x01, {191}},
        {37, 188, 0xFF, {188, 189, 190, 191}}, // the last four fall off the right edge
        {38, 0, 0xFF, {}},                     // below the display
        {-1, 0, 0xFF, {}},
        {2, -4, 0xFF, {0, 1, 2, 3}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.row * 1000 + c.x);
        bitmap.Clear();
        bitmap.SetByte(c.row, c.x, c.bits);
        ASSERT_TRUE(bitmap.TakeChanges(pixels));
        ASSERT_EQ(pixels.size(), static_cast<size_t>(DisplayBitmap::kWidth * DisplayBitmap::kHeight));
        std::vector<int32_t> lit;
        for (int32_t y = 0; y < DisplayBitmap::kHeight; ++y)
            for (int32_t x = 0; x < DisplayBitmap::kWidth; ++x)
                if (pixels[static_cast<size_t>(y * DisplayBitmap::kWidth + x)] != 0)
                {
                    EXPECT_EQ(y, c.row);
                    EXPECT_TRUE(bitmap.IsLit(x, y));
                    lit.push_back(x);
                }
        EXPECT_EQ(lit, c.litColumns);
        EXPECT_FALSE(bitmap.TakeChanges(pixels));
    }
    EXPECT_FALSE(bitmap.IsLit(DisplayBitmap::kWidth, 0));
    EXPECT_FALSE(bitmap.IsLit(0, -1));
}

TEST(DisplayBitmap, AReaderTakesConsistentCopiesWhileTheLinkWrites)
{
    // The writer paints frames in pixel order, every pixel lit or every pixel dark in turn, so any
    // moment's picture is the new frame up to a point and the old one after it.
    DisplayBitmap bitmap;
    std::atomic<bool> stop{false};
    std::thread writer(
        [&]
        {
            for (int frame = 0; !stop.load(); ++frame)
            {
                const int32_t bits = frame % 2 == 0 ? 0xFF : 0x00;
                for (int32_t row = 0; row < DisplayBitmap::kHeight; ++row)
                    for (int32_t x = 0; x < DisplayBitmap::kWidth; x += DisplayBitmap::kPixelsPerByte)
                        bitmap.SetByte(row, x, bits);
            }
        });
    std::vector<uint8_t> pixels;
    int taken = 0;
    int torn = 0;
    while (taken < 200)
    {
        if (!bitmap.TakeChanges(pixels))
            continue;
        ++taken;
        // A copy of one moment holds a lit part and a dark part at most once each.
        int switches = 0;
        for (size_t i = 1; i < pixels.size(); ++i)
            switches += pixels[i] != pixels[i - 1] ? 1 : 0;
        torn += switches > 1 ? 1 : 0;
    }
    stop.store(true);
    writer.join();
    EXPECT_EQ(torn, 0);
}
