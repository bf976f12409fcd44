#include "core/BitArray.h"

#include "core/XResult.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

std::string Bits(const BitArray& bits)
{
    std::string text;
    for (int i = 0; i < bits.GetBitCount(); ++i)
        text += bits.IsSet(i) ? '1' : '0';
    return text;
}

void Fill(BitArray& bits, const std::string& text)
{
    for (char c : text)
        bits.InsertAt(-1, c == '1');
}
} // namespace

TEST(BitArrayTest, SetBeyondTheCountGrows)
{
    BitArray bits;
    ASSERT_EQ(bits.Set(20, true), 0);
    EXPECT_EQ(bits.GetBitCount(), 21);
    EXPECT_EQ(bits.GetLength(), 3);
    EXPECT_EQ(bits.FindFirstSet(), 20);
    EXPECT_EQ(bits.FindLastSet(), 20);
    EXPECT_EQ(bits.GetData()[2], 0x10);
    EXPECT_EQ(bits.Set(-1, true), XResult::kFailed);
    EXPECT_FALSE(bits.IsSet(-1));
    EXPECT_FALSE(bits.IsSet(21));
}

TEST(BitArrayTest, RemoveBits)
{
    struct Case
    {
        std::string before;
        int index;
        int16_t count;
        int32_t result;
        std::string after;
    };
    const Case cases[] = {
        {"101010101010101010101", 3, 100, 0, "101"}, // run passes the end
        {"110011", 1, 2, 0, "1011"},                 // bits above move down
        {"1000000001", 0, 9, 0, "1"},                // carries across bytes
        {"101", 3, 1, XResult::kFailed, "101"},      // index at the count
        {"101", 0, 0, XResult::kFailed, "101"},
        {"101", -1, 1, XResult::kFailed, "101"},
        {"", 0, 1, XResult::kFailed, ""},
    };
    for (const Case& c : cases)
    {
        BitArray bits;
        Fill(bits, c.before);
        EXPECT_EQ(bits.RemoveBits(c.index, c.count), c.result) << c.before;
        EXPECT_EQ(Bits(bits), c.after) << c.before;
        EXPECT_EQ(bits.GetLength(), (bits.GetBitCount() + 7) / 8) << c.before;
    }
}

TEST(BitArrayTest, InsertMovesBitsUpAcrossBytes)
{
    BitArray bits;
    Fill(bits, "11111111");
    ASSERT_EQ(bits.InsertAt(0, false), 0);
    EXPECT_EQ(Bits(bits), "011111111");
    ASSERT_EQ(bits.InsertAt(4, false), 0);
    EXPECT_EQ(Bits(bits), "0111011111");
    EXPECT_EQ(bits.InsertAt(-2, true), XResult::kFailed);
}

TEST(BitArrayTest, RegrownBitsAreCleared)
{
    BitArray bits;
    Fill(bits, "1111111111111111");
    ASSERT_EQ(bits.SetBitCount(3, false), 0);
    EXPECT_EQ(bits.GetLength(), 1);
    EXPECT_TRUE(bits.AnySet());
    ASSERT_EQ(bits.SetBitCount(16, false), 0);
    EXPECT_EQ(Bits(bits), "1110000000000000");
    ASSERT_EQ(bits.SetBitCount(20, true), 0);
    EXPECT_EQ(Bits(bits), "11100000000000001111");
    EXPECT_EQ(bits.FindLastSet(), 19);
}

TEST(BitArrayTest, SearchesAndClear)
{
    BitArray bits;
    EXPECT_EQ(bits.FindFirstSet(), -1);
    EXPECT_EQ(bits.FindLastSet(), -1);
    EXPECT_FALSE(bits.AnySet());
    bits.Set(40, false);
    EXPECT_FALSE(bits.AnySet());
    bits.Set(33, true);
    bits.Set(37, true);
    EXPECT_EQ(bits.FindFirstSet(), 33);
    EXPECT_EQ(bits.FindLastSet(), 37);
    EXPECT_TRUE(bits.AnySet());
    bits.RemoveAll();
    EXPECT_TRUE(bits.IsEmpty());
    EXPECT_EQ(bits.GetLength(), 0);
}

TEST(BitArrayTest, HooksCountFromSizeAndPadToWholeBytes)
{
    BitArray bits;
    Fill(bits, "101");
    bits.PadEnd(bits.GetBitCount());
    EXPECT_EQ(Bits(bits), "10100000");
    bits.SetSize(2);
    bits.CountFromSize();
    EXPECT_EQ(bits.GetBitCount(), 16);
}
