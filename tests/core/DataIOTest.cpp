#include "core/MemoryDataIO.h"
#include "core/XMemory.h"
#include "core/XMemoryIO.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace
{
std::vector<uint8_t> Bytes(const XMemory& memory)
{
    return std::vector<uint8_t>(memory.GetData(), memory.GetData() + memory.GetLength());
}

/** A buffer with a read/write stream over it, as the frame buffer uses it. */
struct Stream
{
    explicit Stream(int flags = XMemoryIO::kReadable | XMemoryIO::kWritable) : io(&memory, flags) {}
    XMemory memory;
    XMemoryIO io;
};
} // namespace

TEST(DataIOTest, ReadAndWriteFormsSwapByByteOrderGetAndPutNever)
{
    for (int order : {1, 0})
    {
        Stream s;
        s.io.SetByteOrder(order);
        s.io.WriteInt32(0x01020304).WriteInt16(0x0A0B).WriteInt8(0x1FF).WriteFloat(1.0f);
        s.io.PutInt32(0x01020304);
        s.io.PutFloat(1.0f);
        const std::vector<uint8_t> little = {0x04, 0x03, 0x02, 0x01, 0x0B, 0x0A, 0xFF, 0x00, 0x00, 0x80,
                                             0x3F, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x80, 0x3F};
        const std::vector<uint8_t> big = {0x01, 0x02, 0x03, 0x04, 0x0A, 0x0B, 0xFF, 0x3F, 0x80, 0x00,
                                          0x00, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x80, 0x3F};
        EXPECT_EQ(Bytes(s.memory), order == 1 ? little : big) << "order " << order;

        int32_t value32 = 0;
        int16_t value16 = 0;
        s.io.ReadInt32(value32).ReadInt16(value16);
        EXPECT_EQ(value32, 0x01020304);
        EXPECT_EQ(value16, 0x0A0B);
        EXPECT_EQ(s.io.GetInt8(), 0xFF);
        EXPECT_EQ(static_cast<uint32_t>(s.io.GetInt32()), order == 1 ? 0x3F800000u : 0x0000803Fu);
        EXPECT_EQ(s.io.GetInt32(), 0x01020304);
        EXPECT_EQ(s.io.GetFloat(), 1.0f);
        EXPECT_EQ(s.io.GetLastError(), 0);
    }
}

TEST(DataIOTest, ShortReadsGiveAllOnesOrZeroAndTheShortReadCode)
{
    Stream s;
    EXPECT_EQ(s.io.GetInt8(), 0xFF);
    EXPECT_EQ(s.io.GetLastError(), XResult::kShortRead);
    s.io.WriteInt8(7);
    EXPECT_EQ(s.io.GetInt16(), 0xFFFF);
    EXPECT_EQ(s.io.GetInt32(), -1);
    uint32_t bits = 0;
    const float f = s.io.GetFloat();
    std::memcpy(&bits, &f, sizeof bits);
    EXPECT_EQ(bits, 0xFFFFFFFFu);
    int32_t value = 99;
    s.io.ReadInt32(value);
    EXPECT_EQ(value, 0);

    Stream five;
    five.io.Write("12345", 5);
    char buffer[8];
    EXPECT_EQ(five.io.Read(buffer, 8), 5);
    EXPECT_EQ(five.io.GetLastError(), XResult::kShortRead);
}

TEST(DataIOTest, StringFormsStoreTheirLengthsAsTheFormatSays)
{
    Stream s;
    s.io.WriteString("ab");
    EXPECT_EQ(Bytes(s.memory), (std::vector<uint8_t>{3, 0, 0, 0, 'a', 'b', 0}));
    s.memory.Clear();
    s.io.SetWritePosition(0);
    s.io.WriteString16("ab");
    EXPECT_EQ(Bytes(s.memory), (std::vector<uint8_t>{2, 0, 'a', 'b'}));

    Stream round;
    round.io.SetByteOrder(0);
    round.io.WriteString("first").WriteString(nullptr).WriteString("").WriteString16("second").WriteString16(
        "");
    round.io.WriteInt32(0x55);
    XString text("stale");
    round.io.ReadString(text);
    EXPECT_EQ(text, "first");
    round.io.ReadString(text);
    EXPECT_TRUE(text.IsEmpty());
    text = "stale";
    round.io.ReadString(text);
    EXPECT_TRUE(text.IsEmpty());
    round.io.ReadString16(text);
    EXPECT_EQ(text, "second");
    round.io.ReadString16(text);
    EXPECT_TRUE(text.IsEmpty());
    int32_t tail = 0;
    round.io.ReadInt32(tail);
    EXPECT_EQ(tail, 0x55); // a length 0 reads nothing more
    EXPECT_EQ(round.io.GetLastError(), 0);
}

TEST(DataIOTest, StringLengthsBeyondTheStreamAreRefused)
{
    struct Case
    {
        std::vector<uint8_t> bytes;
        bool sixteen;
    };
    const Case cases[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF, 'a'}, false}, // negative
        {{0x00, 0x00, 0x00, 0x7F, 'a'}, false}, // about 2 GB
        {{0x05, 0x00, 0x00, 0x00, 'a', 0}, false}, {{0x05, 0x00, 'a', 'b'}, true}, {{0x05}, true},
    };
    for (const Case& c : cases)
    {
        std::vector<uint8_t> bytes = c.bytes;
        MemoryDataIO io(bytes.data(), static_cast<int>(bytes.size()));
        XString text("stale");
        if (c.sixteen)
            io.ReadString16(text);
        else
            io.ReadString(text);
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_EQ(io.GetLastError(), XResult::kShortRead);
    }
}

TEST(DataIOTest, RandomBytesNeverBreakTheReaders)
{
    std::mt19937 random(640);
    for (int round = 0; round < 2000; ++round)
    {
        std::vector<uint8_t> bytes(random() % 40);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random() % 4 == 0 ? random() % 8 : random());
        MemoryDataIO io(bytes.data(), static_cast<int>(bytes.size()));
        io.SetByteOrder(static_cast<int>(random() % 2));
        XString text;
        int32_t value = 0;
        for (int step = 0; step < 8; ++step)
        {
            switch (random() % 5)
            {
            case 0:
                io.ReadString(text);
                break;
            case 1:
                io.ReadString16(text);
                break;
            case 2:
                io.ReadInt32(value);
                break;
            case 3:
                io.GetInt8();
                break;
            default:
                io.Seek(static_cast<int>(random() % 50) - 10, static_cast<int>(random() % 4));
                break;
            }
            ASSERT_LE(text.Length(), static_cast<int>(bytes.size()));
        }
    }
}

TEST(DataIOTest, MemoryStreamSeeksWithinItsBytesOrGrowsWhenWritable)
{
    Stream readOnly(XMemoryIO::kReadable);
    readOnly.memory.Append("12345", 5);
    EXPECT_EQ(readOnly.io.Seek(5, 0), -1);
    EXPECT_EQ(readOnly.io.GetLastError(), XResult::kBadSeek);
    EXPECT_EQ(readOnly.io.Seek(4, 0), 4);
    EXPECT_EQ(readOnly.io.Seek(-2, 1), 2);
    EXPECT_EQ(readOnly.io.Seek(2, 2), 3);
    EXPECT_EQ(readOnly.io.Seek(5, 2), -1);
    EXPECT_EQ(readOnly.io.Seek(-1, 0), -1);
    EXPECT_EQ(readOnly.io.Seek(0, 3), -1);
    EXPECT_EQ(readOnly.io.Write("x", 1), 0);
    EXPECT_EQ(readOnly.io.GetLastError(), XResult::kWriteRefused);

    Stream writable(XMemoryIO::kWritable);
    writable.memory.Append("12345", 5);
    EXPECT_EQ(writable.io.Seek(5, 0), 5);
    EXPECT_EQ(writable.memory.GetLength(), 5);
    EXPECT_EQ(writable.io.Seek(9, 0), 9);
    EXPECT_EQ(writable.memory.GetLength(), 10); // target + 1
    EXPECT_EQ(writable.io.GetPosition(), 9);
    EXPECT_EQ(writable.io.Write("ab", 2), 2);
    EXPECT_EQ(writable.memory.GetLength(), 11);
    EXPECT_EQ(std::memcmp(writable.memory.GetData(), "12345\0\0\0\0ab", 11), 0);
    char byte = 0;
    EXPECT_EQ(writable.io.Read(&byte, 1), 0);
    EXPECT_EQ(writable.io.GetLastError(), XResult::kShortRead);
}

TEST(DataIOTest, PositionsAreSeparateUnlessShared)
{
    Stream separate;
    separate.io.Write("abcd", 4);
    char out[2] = {};
    EXPECT_EQ(separate.io.Read(out, 2), 2);
    separate.io.Write("e", 1);
    EXPECT_EQ(std::memcmp(separate.memory.GetData(), "abcde", 5), 0);
    EXPECT_EQ(separate.io.GetPosition(), 2); // readable: the read position

    Stream shared(XMemoryIO::kSharedPosition);
    shared.io.Write("abcd", 4);
    EXPECT_EQ(shared.io.Seek(1, 0), 1);
    shared.io.Write("XY", 2);
    EXPECT_EQ(std::memcmp(shared.memory.GetData(), "aXYd", 4), 0);
    EXPECT_EQ(shared.io.Read(out, 1), 1);
    EXPECT_EQ(out[0], 'd');
    EXPECT_EQ(shared.io.GetSize(), 4);
    EXPECT_TRUE(shared.io.IsValid());
    EXPECT_EQ(shared.io.Close(), 0);

    // Writing the memory's own bytes survives the growth that moves them.
    Stream self;
    const char text[] = "0123456789012345678901234567890";
    self.io.Write(text, 30);
    ASSERT_EQ(self.memory.GetCapacity(), 32);
    EXPECT_EQ(self.io.Write(self.memory.GetData(), 30), 30);
    EXPECT_EQ(std::memcmp(self.memory.GetData() + 30, text, 30), 0);
}

TEST(DataIOTest, FixedMemoryStreamStopsAtItsEnd)
{
    uint8_t bytes[10] = {};
    MemoryDataIO io(bytes, 10);
    EXPECT_EQ(io.Seek(10, 0), -1);
    EXPECT_EQ(io.GetLastError(), XResult::kBadSeek);
    EXPECT_EQ(io.Seek(9, 0), 9);
    EXPECT_EQ(io.Seek(-4, 1), 5);
    EXPECT_EQ(io.Seek(1, 2), 9);
    EXPECT_EQ(io.Seek(0, 2), -1);
    EXPECT_EQ(io.Seek(1, 7), -1);
    EXPECT_EQ(io.Seek(6, 0), 6);
    EXPECT_EQ(io.Write("abcdef", 6), 4);
    EXPECT_EQ(io.GetLastError(), XResult::kWriteRefused);
    EXPECT_EQ(std::memcmp(bytes + 6, "abcd", 4), 0);
    EXPECT_EQ(io.GetPosition(), 10);
    EXPECT_EQ(io.GetSize(), 10);
    io.Seek(8, 0);
    char out[4];
    EXPECT_EQ(io.Read(out, 4), 2);
    EXPECT_EQ(io.GetLastError(), XResult::kShortRead);
    EXPECT_TRUE(io.IsValid());
    EXPECT_FALSE(MemoryDataIO(nullptr, 4).IsValid());
}
