#include "device/CFCPipeUSB.h"

#include "JoiningThread.h"
#include "UsbUnitPeer.h"
#include "support/UsbDeviceFolderTest.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace
{
using Bytes = std::vector<uint8_t>;

class CFCPipeUSBTest : public UsbDeviceFolderTest
{
};
} // namespace

TEST_F(CFCPipeUSBTest, ClosedPipeAndBadArgumentsGiveTheLinkCodes)
{
    CFCPipeUSB pipe;
    uint8_t buffer[4] = {};
    unsigned written = 99;
    EXPECT_EQ(pipe.ReadOverlapped(buffer, 3), CFCPipeUSB::kPipeNotOpen);
    EXPECT_EQ(pipe.Write(buffer, 3, &written), CFCPipeUSB::kPipeNotOpen);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(pipe.Read(buffer, sizeof buffer), 0);
    pipe.PollByte();
    EXPECT_EQ(pipe.Status(), 0);
    EXPECT_FALSE(pipe.IsPeerGone());

    UsbUnitPeer unit(folder.Path(), "unit0");
    ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
    EXPECT_TRUE(pipe.IsOpen());
    EXPECT_EQ(pipe.ReadOverlapped(nullptr, 3), CFCPipeUSB::kBadArguments);
    EXPECT_EQ(pipe.ReadOverlapped(buffer, 0), CFCPipeUSB::kBadArguments);
    EXPECT_EQ(pipe.Write(nullptr, 3, &written), CFCPipeUSB::kBadArguments);
    EXPECT_EQ(pipe.Read(nullptr, 4), 0);
    EXPECT_EQ(pipe.Read(buffer, 0), 0);
    EXPECT_EQ(pipe.Close(), 0);
    EXPECT_FALSE(pipe.IsOpen());
}

TEST_F(CFCPipeUSBTest, OpenFailsWithTheSystemCodeAndLeavesBothPipesClosed)
{
    struct Case
    {
        const char* name;
        bool makeUnit;
        bool listening;
        int expected;
    };
    const Case cases[] = {
        {"absent", false, false, ENOENT},
        {"silent", true, false, ENXIO}, // the unit's side does not hold PIPE00: no reader
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<UsbUnitPeer> unit;
        if (c.makeUnit)
            unit = std::make_unique<UsbUnitPeer>(folder.Path(), c.name, c.listening);
        CFCPipeUSB pipe;
        EXPECT_EQ(pipe.Open(folder.Child(c.name).c_str()), c.expected);
        EXPECT_FALSE(pipe.IsOpen());
    }
}

TEST_F(CFCPipeUSBTest, BytesTravelBothWaysAndPollByteKeepsTheLastByte)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    CFCPipeUSB pipe;
    ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
    ASSERT_TRUE(unit.ConnectOutgoing());

    const Bytes out = {1, 2, 3, 4, 5};
    unsigned written = 0;
    EXPECT_EQ(pipe.Write(out.data(), static_cast<int>(out.size()), &written), 0);
    EXPECT_EQ(written, out.size());
    EXPECT_EQ(unit.Receive(out.size()), out);

    ASSERT_TRUE(unit.Send({0x41}));
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            pipe.PollByte();
            return pipe.Status() == 0x41;
        },
        5000));
    pipe.PollByte(); // nothing there: the status stays
    EXPECT_EQ(pipe.Status(), 0x41);
    pipe.Close();
    EXPECT_EQ(pipe.Status(), 0);
}

TEST_F(CFCPipeUSBTest, ReadOverlappedReturnsOnlyOnceAllBytesCame)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    CFCPipeUSB pipe;
    ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
    ASSERT_TRUE(unit.ConnectOutgoing());

    uint8_t buffer[3] = {};
    std::atomic<bool> done{false};
    std::atomic<int> result{1};
    JoiningThread reader(
        [&]
        {
            result = pipe.ReadOverlapped(buffer, 3);
            done = true;
        },
        [&] { pipe.CancelReads(); });
    ASSERT_TRUE(unit.Send({'A'}));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done.load()) << "returned with one byte of three";
    ASSERT_TRUE(unit.Send({'C', 'K'}));
    reader.Join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), "ACK");
}

TEST_F(CFCPipeUSBTest, ReadOverlappedFailsWhenTheUnitLeavesOrReadsAreCancelled)
{
    for (const bool cancel : {false, true})
    {
        SCOPED_TRACE(cancel ? "cancelled" : "unit left");
        UsbUnitPeer unit(folder.Path(), cancel ? "unit1" : "unit0");
        CFCPipeUSB pipe;
        ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
        ASSERT_TRUE(unit.ConnectOutgoing());

        uint8_t buffer[3] = {};
        std::atomic<int> result{1};
        JoiningThread reader([&] { result = pipe.ReadOverlapped(buffer, 3); }, [&] { pipe.CancelReads(); });
        ASSERT_TRUE(unit.Send({'N'}));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (cancel)
            pipe.CancelReads();
        else
            unit.CloseOutgoing();
        reader.Join();
        EXPECT_EQ(result.load(), CFCPipeUSB::kSystemFailure);
        EXPECT_EQ(pipe.IsPeerGone(), !cancel);
    }
}

TEST_F(CFCPipeUSBTest, WritingToAUnitThatStoppedReadingFailsAndMarksItGone)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    CFCPipeUSB pipe;
    ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
    EXPECT_FALSE(pipe.IsPeerGone());
    unit.CloseIncoming();
    EXPECT_TRUE(pipe.IsPeerGone()) << "seen without writing";
    const uint8_t byte = 6;
    EXPECT_EQ(pipe.Write(&byte, 1, nullptr), CFCPipeUSB::kSystemFailure);
}

TEST_F(CFCPipeUSBTest, EnumeratesUnitFoldersSorted)
{
    UsbUnitPeer second(folder.Path(), "unitB", false);
    UsbUnitPeer first(folder.Path(), "unitA", false);
    const auto paths = CFCPipeUSB::EnumerateDevices();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(std::string(paths[0].CStr()), first.Path());
    EXPECT_EQ(std::string(paths[1].CStr()), second.Path());
}

TEST_F(CFCPipeUSBTest, AUnitThatLeftIsGoneOnlyOnceItsLastBytesWereRead)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    CFCPipeUSB pipe;
    ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
    ASSERT_TRUE(unit.ConnectOutgoing());
    ASSERT_TRUE(unit.Send({1, 2, 3}));
    unit.CloseOutgoing();
    EXPECT_FALSE(pipe.IsPeerGone()) << "bytes are still waiting";

    uint8_t buffer[8] = {};
    EXPECT_EQ(pipe.Read(buffer, sizeof buffer), 3);
    EXPECT_TRUE(pipe.IsPeerGone());
    EXPECT_EQ(pipe.Read(buffer, sizeof buffer), -1);
}

TEST_F(CFCPipeUSBTest, ReadOverlappedGivesUpOnASilentUnitAfterItsTimeOut)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    CFCPipeUSB pipe;
    ASSERT_EQ(pipe.Open(unit.Path().c_str()), 0);
    ASSERT_TRUE(unit.ConnectOutgoing());

    PlatformClock::SetTimeScale(1000.0); // the time-out passes in a few real milliseconds
    uint8_t buffer[3] = {};
    ASSERT_TRUE(unit.Send({'A'}));
    EXPECT_EQ(pipe.ReadOverlapped(buffer, 3), CFCPipeUSB::kSystemFailure);
    EXPECT_FALSE(pipe.IsPeerGone()) << "a silent unit is still there";

    ASSERT_TRUE(unit.Send({'A', 'C', 'K'}));
    EXPECT_EQ(pipe.ReadOverlapped(buffer, 3), 0) << "the pipe serves on after a time-out";
}
