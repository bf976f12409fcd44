#include "device/FrameSplitter.h"

#include "core/XMemory.h"
#include "support/FrameBytes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace
{
using FrameBytes::Bytes;

Bytes Frame(int command, const Bytes& payload)
{
    return FrameBytes::Frame(3, command, payload);
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

/** Feeds the reads in turn, popping every frame after each, as the transport does. */
std::vector<Bytes> Split(FrameSplitter& splitter, const std::vector<Bytes>& reads)
{
    std::vector<Bytes> frames;
    XMemory frame;
    for (const Bytes& read : reads)
    {
        splitter.Feed(read.data(), static_cast<int>(read.size()));
        while (splitter.PopFrame(frame))
            frames.emplace_back(frame.GetData(), frame.GetData() + frame.GetLength());
    }
    return frames;
}
} // namespace

TEST(FrameSplitter, ReadsAreCutIntoTheFramesTheyHold)
{
    const Bytes a = Frame(5, {0x31, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00});
    const Bytes b = Frame(2, {});
    const Bytes c = Frame(8, Bytes(255, 0xBB)); // the largest frame, payload full of magic bytes
    const Bytes garbage = {0x00, 0xBB, 0x00, 0xAA, 0x13, 0xFF, 0xBB};
    const Bytes ab = Join({a, b});
    const Bytes garbageA = Join({garbage, a});
    struct Case
    {
        const char* what;
        std::vector<Bytes> reads;
        std::vector<Bytes> frames;
        int64_t skipped;
    };
    const Case cases[] = {
        {"two frames in one read", {ab}, {a, b}, 0},
        {"a frame cut in two reads",
         {Bytes(a.begin(), a.begin() + 5), Bytes(a.begin() + 5, a.end())},
         {a},
         0},
        {"a header cut in two reads",
         {Bytes(c.begin(), c.begin() + 11), Bytes(c.begin() + 11, c.end())},
         {c},
         0},
        {"the magic cut across reads",
         {Join({garbage, Bytes(a.begin(), a.begin() + 2)}), Bytes(a.begin() + 2, a.end())},
         {a},
         static_cast<int64_t>(garbage.size())},
        {"garbage before a magic", {garbageA, b}, {a, b}, static_cast<int64_t>(garbage.size())},
        {"garbage alone", {garbage, garbage}, {}, 0},
        {"a frame and the start of the next", {Join({c, Bytes(b.begin(), b.begin() + 7)})}, {c}, 0},
    };
    for (const Case& test : cases)
    {
        FrameSplitter splitter;
        EXPECT_EQ(Split(splitter, test.reads), test.frames) << test.what;
        if (test.skipped > 0)
        {
            EXPECT_EQ(splitter.GetSkippedBytes(), test.skipped) << test.what;
        }
    }
}

TEST(FrameSplitter, AByteAtATimeAndResetDropsAPartialFrame)
{
    const Bytes a = Frame(13, {4, 'n', 'a', 'm', 'e'});
    std::vector<Bytes> reads;
    for (uint8_t byte : Join({a, a}))
        reads.push_back({byte});
    FrameSplitter splitter;
    EXPECT_EQ(Split(splitter, reads), (std::vector<Bytes>{a, a}));
    EXPECT_EQ(splitter.GetBufferedBytes(), 0);

    Split(splitter, {Bytes(a.begin(), a.begin() + 9)});
    EXPECT_EQ(splitter.GetBufferedBytes(), 9);
    splitter.Reset();
    EXPECT_EQ(splitter.GetBufferedBytes(), 0);
    EXPECT_EQ(Split(splitter, {Bytes(a.begin() + 9, a.end()), a}), std::vector<Bytes>{a})
        << "the rest of a dropped frame is skipped up to the next magic";
}

TEST(FrameSplitter, RandomCutsOfAFrameStreamGiveBackEveryFrame)
{
    std::mt19937 random(41);
    for (int round = 0; round < 200; ++round)
    {
        std::vector<Bytes> frames;
        Bytes stream;
        for (int i = 0; i < 20; ++i)
        {
            Bytes payload(random() % 256);
            for (uint8_t& byte : payload)
                byte = static_cast<uint8_t>(random());
            frames.push_back(Frame(static_cast<int>(random() % 22), payload));
            stream.insert(stream.end(), frames.back().begin(), frames.back().end());
        }
        std::vector<Bytes> reads;
        for (size_t at = 0; at < stream.size();)
        {
            const size_t size = std::min<size_t>(1 + random() % 1024, stream.size() - at);
            reads.emplace_back(stream.begin() + at, stream.begin() + at + size);
            at += size;
        }
        FrameSplitter splitter;
        ASSERT_EQ(Split(splitter, reads), frames) << "round " << round;
        EXPECT_EQ(splitter.GetSkippedBytes(), 0);
    }
}

TEST(FrameSplitter, RandomBytesGiveOnlyWellFormedFramesAndBoundedMemory)
{
    std::mt19937 random(640);
    FrameSplitter splitter;
    XMemory frame;
    int64_t framesSeen = 0;
    for (int round = 0; round < 20000; ++round)
    {
        Bytes read(random() % 1100);
        for (uint8_t& byte : read)
            byte = static_cast<uint8_t>(random() % 4 == 0 ? 0xBB : random());
        // Plant magics often enough that headers are found and cut short in every way.
        if (read.size() >= 4 && random() % 3 == 0)
        {
            const size_t at = random() % (read.size() - 3);
            read[at] = 0xBB, read[at + 1] = 0x00, read[at + 2] = 0xAA, read[at + 3] = 0xFF;
        }
        splitter.Feed(read.data(), static_cast<int>(read.size()));
        while (splitter.PopFrame(frame))
        {
            ++framesSeen;
            ASSERT_GE(frame.GetLength(), 12);
            const uint8_t* bytes = frame.GetData();
            ASSERT_EQ(bytes[0], 0xBB);
            ASSERT_EQ(bytes[3], 0xFF);
            ASSERT_EQ(frame.GetLength(), 12 + bytes[11]);
        }
        ASSERT_LT(splitter.GetBufferedBytes(), 12 + 255);
    }
    EXPECT_GT(framesSeen, 100);
}
