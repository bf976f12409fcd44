#include "SimProcess.h"
#include "SimTestClient.h"
#include "platform/UsbDeviceInterface.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using SimBytes::FloatBits;
using SimBytes::U16;
using SimBytes::U32;
using Frame = SimTestClient::Frame;

namespace
{
constexpr int kTimeoutMs = 10000;
constexpr int kWireIdCount = 572;
constexpr uint8_t kKindInt = 0;
constexpr uint8_t kKindFloat = 1;

// Commands of the protocol.
constexpr uint8_t kDeviceInfoRequest = 1, kDeviceInfo = 2, kDisplay = 4, kValue = 5, kGetValue = 6,
                  kAllValuesRequest = 7, kAllValues = 8, kRecall = 9, kStore = 10, kPresetInfo = 13,
                  kPresetFlags = 14, kSetPresetFlags = 15, kEraseUserPresets = 18, kCompareRequest = 19,
                  kCompareValue = 20, kEnterBootloader = 11;

// Wire ids used below.
constexpr uint16_t kCurrentPreset = 14, kDspLoad = 28, kGlobalDirty = 49, kPresetName1 = 51,
                   kCurrentConfig = 60, kOutput1Mute = 0x131, kOutput1Gain = 311, kOutput4Gain = 0x1D3;

bool Exists(const std::string& path)
{
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsLevelMeter(int wireId)
{
    return wireId == 64 || wireId == 162 || (wireId >= 260 && (wireId - 260) % 52 == 0);
}

/** Packs a program name as the unit keeps it: four characters to an int, first in the low byte. */
std::vector<uint32_t> PackName(std::string name)
{
    name.resize(19, ' ');
    name.push_back('\0');
    std::vector<uint32_t> packed;
    for (size_t i = 0; i < name.size(); i += 4)
        packed.push_back(U32(std::vector<uint8_t>(name.begin() + i, name.begin() + i + 4), 0));
    return packed;
}

/** A unit started in a folder of the test's own, and the test's client connected to it. */
class Krx640SimTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;
    SimProcess sim;
    SimTestClient client;

    std::string DeviceFolder() const { return folder.Child("usb"); }
    std::string LogFile() const { return folder.Child("frames.log"); }

    std::vector<std::string> LogLines() const
    {
        std::ifstream log(LogFile());
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }
    bool LogHasLineContaining(const std::string& text) const
    {
        const auto lines = LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    /** A line of the log led by its milliseconds that ends in ending. */
    bool LogHasLineEndingIn(const std::string& ending) const
    {
        const auto lines = LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line)
                           {
                               return line.size() > ending.size() &&
                                      std::isdigit(static_cast<unsigned char>(line[0])) &&
                                      line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
                           });
    }
    /** A line that refuses a value (command 5) for the wire id. */
    bool LogHasRefusal(uint16_t wireId) const
    {
        const std::string id = "wire id " + std::to_string(wireId);
        const auto lines = LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line)
                           {
                               const size_t at = line.find(id);
                               return line.find(" refused (command 5: ") != std::string::npos &&
                                      at != std::string::npos && at + id.size() < line.size() &&
                                      !std::isdigit(static_cast<unsigned char>(line[at + id.size()]));
                           });
    }
    std::string UnitFolder() const { return DeviceFolder() + "/unit0"; }
    std::string OutputFile() const { return folder.Child("sim-output.txt"); }

    void StartAndConnect(std::vector<std::string> arguments = {})
    {
        arguments.insert(arguments.begin(), {"--dir", DeviceFolder()});
        ASSERT_TRUE(sim.Start(arguments, OutputFile()));
        ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs)) << "the unit's pipes did not come up";
    }

    void TearDown() override
    {
        client.Close();
        if (sim.IsRunning())
        {
            sim.Signal(SIGTERM);
            EXPECT_EQ(sim.WaitForExit(kTimeoutMs), 0) << "the unit did not end cleanly";
        }
    }

    Frame Request(uint8_t command, const std::vector<uint8_t>& payload, uint8_t answer)
    {
        EXPECT_TRUE(client.Send(command, payload));
        const auto reply = client.ReceiveCommand(answer, kTimeoutMs);
        EXPECT_TRUE(reply.has_value())
            << "no answer " << int(answer) << " to command " << int(command) << " " << client.StreamError();
        return reply.value_or(Frame());
    }

    /** The unit's answer to a get of one wire id: its value frame's payload. */
    std::vector<uint8_t> GetValue(uint16_t wireId)
    {
        std::vector<uint8_t> request;
        SimBytes::PutU16(request, wireId);
        EXPECT_TRUE(client.Send(kGetValue, request));
        const auto reply = client.ReceiveWhere(
            [wireId](const Frame& frame) {
                return frame.command == kValue && frame.payload.size() == 8 &&
                       U16(frame.payload, 0) == wireId;
            },
            kTimeoutMs);
        EXPECT_TRUE(reply.has_value()) << "no value for wire id " << wireId;
        return reply ? reply->payload : std::vector<uint8_t>(8, 0xEE);
    }

    void SetValue(uint16_t wireId, uint8_t kind, uint32_t bits, uint8_t flags = 0)
    {
        ASSERT_TRUE(client.Send(kValue, SimBytes::ValuePayload(wireId, kind, bits, flags)));
    }

    std::pair<std::string, int32_t> PresetInfo(uint8_t number)
    {
        const Frame reply = Request(kPresetInfo, {number}, kPresetInfo);
        if (reply.payload.size() < 3 || reply.payload[0] != number)
            return {"<no answer>", 0};
        const size_t length = U16(reply.payload, 1);
        EXPECT_EQ(reply.payload.size(), 3 + length + 4);
        return {std::string(reply.payload.begin() + 3, reply.payload.begin() + 3 + length),
                static_cast<int32_t>(U32(reply.payload, 3 + length))};
    }

    /** The records of a compare answer, each its 8 payload bytes. */
    std::vector<std::vector<uint8_t>> CompareAnswer(uint8_t bankIndex, uint8_t userBank)
    {
        EXPECT_TRUE(client.Send(kCompareRequest, {bankIndex, userBank}));
        std::vector<std::vector<uint8_t>> records;
        for (int i = 0; i < 505; ++i)
        {
            const auto frame = client.ReceiveCommand(kCompareValue, kTimeoutMs);
            if (!frame)
                break;
            records.push_back(frame->payload);
        }
        return records;
    }
};
} // namespace

TEST_F(Krx640SimTest, DeviceInfoTellsVersionAndMode)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::vector<uint8_t> expected; // status, version, text
    };
    const Case cases[] = {
        {{}, {0x00, 0x00, 0x04, 0x01, 0x42, 0x00, 0x00}},
        {{"--mode", "locked"}, {0x00, 0x00, 0x04, 0x01, 0x42, 0x01, 0x00, 'L'}},
        {{"--mode=slave", "--firmware-version", "0x42010300"},
         {0x00, 0x00, 0x03, 0x01, 0x42, 0x01, 0x00, 'S'}},
        {{"--firmware-version=12AB"}, {0x00, 0xAB, 0x12, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases)
    {
        StartAndConnect(c.arguments);
        EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).payload, c.expected);
        TearDown();
    }
}

TEST_F(Krx640SimTest, BadCommandLinesAreRefused)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--mode", "master"}, {"--name", "a/b"}, {"--firmware-version", "xyz"}, {"--bogus"}, {"--dir"}};
    for (const auto& arguments : cases)
    {
        SimProcess refused;
        ASSERT_TRUE(refused.Start(arguments, OutputFile()));
        EXPECT_EQ(refused.WaitForExit(kTimeoutMs), 2) << arguments[0];
    }
    EXPECT_FALSE(Exists(DeviceFolder()));
}

TEST_F(Krx640SimTest, SetThenGetKeepsFloatAndIntegerValues)
{
    StartAndConnect();
    struct Case
    {
        std::vector<uint8_t> setFrame;
        uint16_t wireId;
        std::vector<uint8_t> expectedValue; // payload of the unit's answer to a get
    };
    const Case cases[] = {
        // The editor's golden frames: output 1 mute on, output 4 gain -3.5 dB with the panel-lock flag.
        {{0xBB, 0x00, 0xAA, 0xFF, 0x14, 0, 0, 0, 3, 0, 5, 8, 0x31, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00},
         kOutput1Mute,
         {0x31, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}},
        {{0xBB, 0x00, 0xAA, 0xFF, 0x14, 0, 0, 0, 3, 0, 5, 8, 0xD3, 0x01, 0x01, 0x00, 0x00, 0x60, 0xC0, 0x04},
         kOutput4Gain,
         {0xD3, 0x01, 0x01, 0x00, 0x00, 0x60, 0xC0, 0x04}},
        // An integer sent for the float Temp is kept as float 25.0; a float sent for the integer
        // CurrentConfig is truncated; only the editor's two flag bits are kept.
        {SimTestClient::BuildFrame(kValue, SimBytes::ValuePayload(1, kKindInt, 25, 0)), 1,
         SimBytes::ValuePayload(1, kKindFloat, FloatBits(25.0f), 0)},
        {SimTestClient::BuildFrame(kValue,
                                   SimBytes::ValuePayload(kCurrentConfig, kKindFloat, FloatBits(2.9f), 0x4C)),
         kCurrentConfig, SimBytes::ValuePayload(kCurrentConfig, kKindInt, 2, 0x0C)},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(client.WriteBytes(c.setFrame));
        EXPECT_EQ(GetValue(c.wireId), c.expectedValue) << "wire id " << c.wireId;
    }
}

TEST_F(Krx640SimTest, LockedUnitIgnoresChangesExceptMutes)
{
    StartAndConnect({"--mode", "locked"});
    SetValue(kOutput4Gain, kKindFloat, FloatBits(-3.5f));
    SetValue(kOutput1Mute, kKindInt, 1);
    EXPECT_EQ(GetValue(kOutput4Gain),
              SimBytes::ValuePayload(kOutput4Gain, kKindFloat, FloatBits(-100.0f), 0));
    EXPECT_EQ(GetValue(kOutput1Mute), SimBytes::ValuePayload(kOutput1Mute, kKindInt, 1, 0));
}

TEST_F(Krx640SimTest, BulkAnswerHoldsAll572ValuesInOrder)
{
    StartAndConnect();
    SetValue(kOutput4Gain, kKindFloat, FloatBits(-3.5f), 0x04);

    ASSERT_TRUE(client.Send(kAllValuesRequest));
    std::vector<std::vector<uint8_t>> records; // {bits, kind, flags} per wire id
    for (int frameIndex = 0; frameIndex < 143; ++frameIndex)
    {
        const auto frame = client.ReceiveCommand(kAllValues, kTimeoutMs);
        ASSERT_TRUE(frame) << "bulk frame " << frameIndex << " missing";
        ASSERT_EQ(frame->payload.size(), 24u);
        for (size_t at = 0; at < 24; at += 6)
            records.emplace_back(frame->payload.begin() + at, frame->payload.begin() + at + 6);
    }
    ASSERT_EQ(records.size(), static_cast<size_t>(kWireIdCount));
    // Nothing follows the 143rd frame but the answer to the next request.
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);

    struct Case
    {
        int wireId;
        bool isFloat;
        float value;
    };
    const Case defaults[] = {
        {0, false, 1},
        {1, true, 20},
        {6, false, 1},
        {9, false, 0},
        {kCurrentPreset, false, 1},
        {kDspLoad, true, 0},
        {kCurrentConfig, false, 4},
        {64, true, -69},
        {65, false, 4},
        {85, true, 20},
        {95, true, 0.7f},
        {115, false, 1},
        {159, false, 0},
        {160, true, 0},
        {161, false, 1},
        {255, false, 0},
        {263, true, 120},
        {271, false, 0},
        {kOutput1Mute, false, 0},
        {306, true, 0},
        {310, false, -1},
        {kOutput1Gain, true, -100},
        {571, true, -100},
    };
    for (const Case& c : defaults)
    {
        const auto& record = records[static_cast<size_t>(c.wireId)];
        const uint32_t bits =
            c.isFloat ? FloatBits(c.value) : static_cast<uint32_t>(static_cast<int32_t>(c.value));
        EXPECT_EQ(U32(record, 0), bits) << "wire id " << c.wireId;
        EXPECT_EQ(record[4], c.isFloat ? kKindFloat : kKindInt) << "wire id " << c.wireId;
    }
    EXPECT_EQ(U32(records[kPresetName1], 0), 0x20202020u);
    EXPECT_EQ(records[kOutput4Gain], (std::vector<uint8_t>{0x00, 0x00, 0x60, 0xC0, kKindFloat, 0x04}));
}

TEST_F(Krx640SimTest, CompareAnswerHolds505RecordsWithoutTheMeters)
{
    StartAndConnect();
    const auto records = CompareAnswer(0, 1); // the edit buffer
    ASSERT_EQ(records.size(), 505u);

    std::set<int> ids;
    int previous = -1;
    for (const auto& record : records)
    {
        ASSERT_EQ(record.size(), 8u);
        const int wireId = U16(record, 0);
        EXPECT_GT(wireId, previous);
        previous = wireId;
        ids.insert(wireId);
        EXPECT_FALSE(IsLevelMeter(wireId)) << wireId;
    }
    EXPECT_EQ(*ids.begin(), kPresetName1);
    EXPECT_EQ(*ids.rbegin(), 571);
    for (int unmapped : {159, 257, 271, 323, 531})
        EXPECT_EQ(ids.count(unmapped), 0u) << unmapped;
    for (int mapped : {63, 65, 161, 163, 306, 311})
        EXPECT_EQ(ids.count(mapped), 1u) << mapped;
}

TEST_F(Krx640SimTest, PresetsAreListedStoredRecalledAndErased)
{
    StartAndConnect();
    // The list: empty user slots, 60 named factory presets.
    EXPECT_EQ(PresetInfo(1), std::make_pair(std::string("?"), -1));
    const auto factory1 = PresetInfo(21);
    EXPECT_FALSE(factory1.first.empty());
    EXPECT_NE(factory1.first, "?");
    EXPECT_EQ(factory1.second, 0);
    EXPECT_GE(PresetInfo(80).second, 0);

    // Flags.
    EXPECT_EQ(Request(kPresetFlags, {21}, kPresetFlags).payload, (std::vector<uint8_t>{21, 0}));
    ASSERT_TRUE(client.Send(kSetPresetFlags, {21, 0x0C, 0, 0, 0}));
    EXPECT_EQ(Request(kPresetFlags, {21}, kPresetFlags).payload, (std::vector<uint8_t>{21, 0x0C}));

    // Store: name and a value into user preset 5; the unit answers 10, then 9.
    const auto name = PackName("MY SHOW");
    for (size_t i = 0; i < name.size(); ++i)
        SetValue(static_cast<uint16_t>(kPresetName1 + i), kKindInt, name[i]);
    SetValue(kOutput1Gain, kKindFloat, FloatBits(-6.0f));
    const auto dirty = client.ReceiveWhere(
        [](const Frame& frame) { return frame.command == kValue && U16(frame.payload, 0) == kGlobalDirty; },
        kTimeoutMs);
    ASSERT_TRUE(dirty) << "a changed edit buffer is reported dirty";
    EXPECT_EQ(U32(dirty->payload, 3), 1u);

    ASSERT_TRUE(client.Send(kStore, {5}));
    const auto stored = client.Receive(kTimeoutMs);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->command, kStore);
    EXPECT_EQ(stored->payload, std::vector<uint8_t>{5});
    const auto recalled = client.Receive(kTimeoutMs);
    ASSERT_TRUE(recalled);
    EXPECT_EQ(recalled->command, kRecall);
    EXPECT_EQ(PresetInfo(5), std::make_pair(std::string("MY SHOW"), 4));
    EXPECT_EQ(U32(GetValue(kCurrentPreset), 3), 5u);
    EXPECT_EQ(U32(GetValue(kGlobalDirty), 3), 0u);

    // Recall user preset 5 after a change, then factory preset 1.
    SetValue(kOutput1Gain, kKindFloat, FloatBits(0.0f));
    ASSERT_TRUE(client.Send(kRecall, {5, 1}));
    EXPECT_EQ(U32(GetValue(kOutput1Gain), 3), FloatBits(-6.0f));
    ASSERT_TRUE(client.Send(kRecall, {0, 0}));
    EXPECT_EQ(U32(GetValue(kCurrentPreset), 3), 21u);
    EXPECT_EQ(U32(GetValue(kCurrentConfig), 3), 0u);

    // The stored preset compares with its own values, not the edit buffer's.
    const auto records = CompareAnswer(5, 1);
    ASSERT_EQ(records.size(), 505u);
    const auto gain = std::find_if(records.begin(), records.end(),
                                   [](const std::vector<uint8_t>& r) { return U16(r, 0) == kOutput1Gain; });
    ASSERT_NE(gain, records.end());
    EXPECT_EQ(U32(*gain, 3), FloatBits(-6.0f));

    // Stores outside the user presets are refused; erasing empties the user presets only.
    ASSERT_TRUE(client.Send(kStore, {21}));
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo)
        << "no answer to a refused store";
    ASSERT_TRUE(client.Send(kEraseUserPresets));
    EXPECT_EQ(PresetInfo(5).first, "?");
    EXPECT_EQ(PresetInfo(21), factory1);
}

TEST_F(Krx640SimTest, MetersAndDisplayFollowTheMode)
{
    struct Case
    {
        std::vector<std::string> arguments;
        uint8_t meterFlags;
    };
    const Case cases[] = {{{"--meters"}, 0x00}, {{"--meters", "--mode", "slave"}, 0x40}};
    for (const Case& c : cases)
    {
        StartAndConnect(c.arguments);
        std::set<int> meters, blocks;
        bool displayLit = false;
        const auto done = client.ReceiveWhere(
            [&](const Frame& frame)
            {
                if (frame.command == kValue)
                {
                    const int wireId = U16(frame.payload, 0);
                    const float value = SimBytes::BitsToFloat(U32(frame.payload, 3));
                    EXPECT_EQ(frame.payload[7], c.meterFlags);
                    EXPECT_EQ(frame.payload[2], kKindFloat);
                    EXPECT_LE(value, wireId == kDspLoad ? 1.0f : 0.0f);
                    EXPECT_GE(value, wireId == kDspLoad ? 0.0f : -96.0f);
                    meters.insert(wireId);
                }
                if (frame.command == kDisplay)
                {
                    EXPECT_EQ(frame.payload.size(), 6u + 48u);
                    EXPECT_EQ(frame.payload[1], 16);
                    EXPECT_EQ(frame.payload[4], 24);
                    EXPECT_EQ(frame.payload[5], 2);
                    blocks.insert(frame.payload[0]);
                    displayLit |= std::any_of(frame.payload.begin() + 6, frame.payload.end(),
                                              [](uint8_t b) { return b != 0; });
                }
                return meters.size() == 15 && blocks.size() == 17;
            },
            kTimeoutMs);
        EXPECT_TRUE(done) << meters.size() << " meters, " << blocks.size() << " display blocks";
        const std::set<int> expected = {kDspLoad, 64,  162, 260, 312, 364, 416, 468,
                                        520,      306, 358, 410, 462, 514, 566};
        EXPECT_EQ(meters, expected);
        EXPECT_TRUE(displayLit);
        TearDown();
    }
}

TEST_F(Krx640SimTest, LogRecordsBothDirectionsAndTheUnitsOwnPushes)
{
    StartAndConnect({"--log", LogFile()});
    ASSERT_TRUE(client.WriteBytes({'n', 'o', 'i', 's', 'e'}));
    Request(kDeviceInfoRequest, {}, kDeviceInfo);
    Request(kPresetInfo, {3}, kPresetInfo);
    // An edit makes the unit push GlobalDirty; a store makes it push 10, then 9.
    SetValue(kOutput1Gain, kKindFloat, FloatBits(-6.0f));
    ASSERT_TRUE(client.ReceiveWhere(
        [](const Frame& frame) { return frame.command == kValue && U16(frame.payload, 0) == kGlobalDirty; },
        kTimeoutMs));
    ASSERT_TRUE(client.Send(kStore, {5}));
    ASSERT_TRUE(client.ReceiveCommand(kRecall, kTimeoutMs));

    const char* const expected[] = {
        " received BB 00 AA FF 0C 00 00 00 03 00 01 00",
        " sent BB 00 AA FF 13 00 00 00 03 00 02 07 00 00 04 01 42 00 00",
        " received BB 00 AA FF 0D 00 00 00 03 00 0D 01 03",
        " sent BB 00 AA FF 14 00 00 00 03 00 05 08 31 00 00 01 00 00 00 00",
        " received BB 00 AA FF 0D 00 00 00 03 00 0A 01 05",
        " sent BB 00 AA FF 0D 00 00 00 03 00 0A 01 05",
        " sent BB 00 AA FF 0C 00 00 00 03 00 09 00",
        " dropped (no frame magic): 6E 6F 69 73 65",
    };
    // A frame is logged as sent once it was written, which may be just after the client read it.
    for (const char* line : expected)
        EXPECT_TRUE(TestSupport::WaitUntil([&] { return LogHasLineEndingIn(line); }, kTimeoutMs)) << line;
}

TEST_F(Krx640SimTest, AFrameCutShortNeverSwallowsTheNextGoodFrame)
{
    StartAndConnect({"--log", LogFile()});
    const std::vector<uint8_t> whole =
        SimTestClient::BuildFrame(kValue, SimBytes::ValuePayload(kCurrentConfig, kKindInt, 2, 0));
    // The editor died after one payload byte, after the wire id and kind, and before the last byte.
    for (const size_t cutAfter : {13u, 15u, 19u})
    {
        SCOPED_TRACE(cutAfter);
        ASSERT_TRUE(client.WriteBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + cutAfter)));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);
        EXPECT_EQ(U32(GetValue(kCurrentConfig), 3), 4u) << "nothing of the cut frame was stored";
    }
    EXPECT_TRUE(LogHasLineEndingIn(
        " dropped (frame cut short by the next frame): BB 00 AA FF 14 00 00 00 03 00 05 08 3C"));
}

TEST_F(Krx640SimTest, ANewEditorSessionGetsNothingMeantForTheOneBefore)
{
    StartAndConnect();
    struct Case
    {
        const char* name;
        bool closeToUnitFirst; // the unit sees PIPE00 end well before PIPE01 goes
    };
    for (const Case& c : {Case{"both pipes closed at once", false}, Case{"PIPE00 closed first", true}})
    {
        SCOPED_TRACE(c.name);
        // Answers the editor never reads: 143 + 505 frames, in the pipe and in the unit's queue.
        ASSERT_TRUE(client.Send(kAllValuesRequest));
        ASSERT_TRUE(client.Send(kCompareRequest, {0, 1}));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (c.closeToUnitFirst)
        {
            client.CloseToUnit();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        client.Close();
        std::this_thread::sleep_for(std::chrono::milliseconds(c.closeToUnitFirst ? 0 : 100));
        ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs));

        ASSERT_TRUE(client.Send(kDeviceInfoRequest));
        int earlier = 0;
        const auto info = client.ReceiveWhere(
            [&](const Frame& frame)
            {
                earlier += frame.command == kDeviceInfo ? 0 : 1;
                return frame.command == kDeviceInfo;
            },
            kTimeoutMs);
        EXPECT_TRUE(info) << client.StreamError();
        EXPECT_EQ(earlier, 0) << "frames of the session before came first";
    }
}

TEST_F(Krx640SimTest, ValuesAreCheckedAsTheUnitChecksThem)
{
    StartAndConnect({"--log", LogFile()});
    constexpr uint16_t kInputAGeqMask = 64 + 93, kOutput1AmpIndex = 260 + 50, kInputAMeter = 64,
                       kOutput1GainReduction = 260 + 46;
    struct Case
    {
        const char* name;
        uint16_t wireId;
        uint8_t kind;
        uint32_t bits;
        bool taken;
    };
    const Case cases[] = {
        {"gain at its top", kOutput1Gain, kKindFloat, FloatBits(6.0f), true},
        {"gain above its top", kOutput1Gain, kKindFloat, FloatBits(6.5f), false},
        {"gain at its bottom", kOutput1Gain, kKindFloat, FloatBits(-100.0f), true},
        {"gain not a number", kOutput1Gain, kKindFloat, 0x7FC00000, false},
        {"gain infinite", kOutput1Gain, kKindFloat, 0xFF800000, false},
        {"mask with bands 1 and 31", kInputAGeqMask, kKindInt, 1073741825, true},
        {"mask negative", kInputAGeqMask, kKindInt, 0x80000000, false},
        {"amplifier none", kOutput1AmpIndex, kKindInt, static_cast<uint32_t>(-1), true},
        {"amplifier beyond the table", kOutput1AmpIndex, kKindInt, 32, false},
        {"amplifier as a float beyond the table", kOutput1AmpIndex, kKindFloat, FloatBits(32.5f), false},
        {"configuration beyond the list", kCurrentConfig, kKindInt, 7, false},
        {"no parameter behind the id", 9, kKindInt, 0, false},
        {"current preset, the unit's", kCurrentPreset, kKindInt, 5, false},
        {"dirty mark, the unit's", kGlobalDirty, kKindInt, 1, false},
        {"input meter, the unit's", kInputAMeter, kKindFloat, FloatBits(-3.0f), false},
        {"gain reduction, the unit's", kOutput1GainReduction, kKindFloat, FloatBits(-3.0f), false},
        {"DSP load, the unit's", kDspLoad, kKindFloat, FloatBits(0.5f), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> before = GetValue(c.wireId);
        SetValue(c.wireId, c.kind, c.bits);
        const std::vector<uint8_t> after = GetValue(c.wireId);
        if (c.taken)
        {
            EXPECT_EQ(SimBytes::ValuePayload(c.wireId, after[2], c.bits, 0), after);
        }
        else
        {
            EXPECT_EQ(after, before) << "the old value stays";
            EXPECT_TRUE(LogHasRefusal(c.wireId)) << "the refusal is logged";
        }
    }
}

TEST_F(Krx640SimTest, PresetRequestsThatNameNoPresetAreRefusedClearly)
{
    StartAndConnect({"--log", LogFile()});
    struct Case
    {
        uint8_t command;
        std::vector<uint8_t> payload;
        const char* logged;
    };
    const Case cases[] = {
        {kRecall, {21, 1}, "refused (command 9: recall names no preset: bank index 21 of bank 1)"},
        {kRecall, {60, 0}, "refused (command 9: recall names no preset: bank index 60 of bank 0)"},
        {kRecall, {0, 1}, "refused (command 9: recall names no preset: the edit buffer)"},
        {kRecall, {3, 2}, "refused (command 9: recall names no preset: bank index 3 of bank 2)"},
        {kPresetInfo, {0}, "refused (command 13: names no preset: number 0 is not 1..80)"},
        {kPresetFlags, {81}, "refused (command 14: names no preset: number 81 is not 1..80)"},
        {kStore, {21}, "refused (command 10: store names no user preset: location 21 is not 1..20)"},
        {kCompareRequest,
         {21, 1},
         "refused (command 19: compare request names no preset: bank index 21 of bank 1)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.logged);
        ASSERT_TRUE(client.Send(c.command, c.payload));
        EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo)
            << "and nothing else answers";
        EXPECT_TRUE(LogHasLineContaining(c.logged));
    }
}

TEST_F(Krx640SimTest, EditorMayLeaveAndComeBack)
{
    StartAndConnect();
    Request(kDeviceInfoRequest, {}, kDeviceInfo);
    // A frame cut short when the editor leaves must not swallow the next editor's first frame,
    // whether the unit sees the editor go (a pause) or not (an immediate return).
    const std::vector<uint8_t> halfFrame = {0xBB, 0x00, 0xAA, 0xFF, 0x20, 0, 0, 0, 3, 0, 5, 20, 1, 2};
    for (const bool pause : {false, true, false})
    {
        ASSERT_TRUE(client.WriteBytes(halfFrame));
        client.Close();
        if (pause)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs));
        EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo) << "pause " << pause;
    }
}

TEST_F(Krx640SimTest, EditorsComingAndGoingNeverFindTheUnitsInputWithoutAReader)
{
    // Every open and close of PIPE00 is an editor that came and went; the unit takes its end anew
    // each time. An editor that opened PIPE00 in a gap without a reader would write into a broken
    // pipe, so a later open must never fail for want of a reader (ENXIO) while the unit serves.
    StartAndConnect();
    client.Close();
    constexpr int kVisits = 3000;
    const std::string toUnitPath = UnitFolder() + "/PIPE00";
    int refused = 0;
    for (int visit = 0; visit < kVisits; ++visit)
    {
        const int descriptor = ::open(toUnitPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (descriptor >= 0)
            ::close(descriptor);
        else if (errno == ENXIO)
            ++refused;
    }
    EXPECT_EQ(refused, 0) << "of " << kVisits << " visits";
    ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs));
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);
}

TEST_F(Krx640SimTest, WritingToAUnitThatIsGoneFailsWithoutEndingTheClient)
{
    StartAndConnect();
    Request(kDeviceInfoRequest, {}, kDeviceInfo);
    sim.Signal(SIGKILL);
    EXPECT_EQ(sim.WaitForExit(kTimeoutMs), 128 + SIGKILL);
    // Without a reader of PIPE00 a write raises SIGPIPE, which must become a failed write here.
    EXPECT_FALSE(client.Send(kDeviceInfoRequest));
    EXPECT_FALSE(client.Send(kDeviceInfoRequest));
}

TEST_F(Krx640SimTest, KilledUnitLeavesNoPipesThatBlockTheNextStart)
{
    // The device folder comes from the environment, as the editor finds it.
    const std::vector<std::string> environment = {"KRX640_USB_DIR=" + DeviceFolder()};
    SimProcess killed;
    ASSERT_TRUE(killed.Start({}, OutputFile(), environment));
    ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs));
    Request(kDeviceInfoRequest, {}, kDeviceInfo);
    killed.Signal(SIGKILL);
    EXPECT_EQ(killed.WaitForExit(kTimeoutMs), 128 + SIGKILL);
    client.Close();
    ASSERT_TRUE(Exists(UnitFolder() + "/PIPE00")) << "a killed unit cannot clean up";

    ASSERT_TRUE(sim.Start({}, OutputFile(), environment));
    ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs));
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);

    // A second unit on the same pipes is refused and leaves the first one serving.
    SimProcess second;
    ASSERT_TRUE(second.Start({}, OutputFile(), environment));
    EXPECT_EQ(second.WaitForExit(kTimeoutMs), 1);
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);

    client.Close();
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.WaitForExit(kTimeoutMs), 0);
    EXPECT_FALSE(Exists(UnitFolder())) << "a unit that ends removes its pipes";
    EXPECT_TRUE(Exists(DeviceFolder()));
}

TEST_F(Krx640SimTest, WithoutADeviceFolderTheUnitServesTheOneTheEditorSearches)
{
    /** Sets or unsets an environment variable for the test's life. */
    class EnvironmentChange final
    {
    public:
        EnvironmentChange(const char* name, const std::string* value) : name(name)
        {
            if (const char* old = std::getenv(name))
                saved = old;
            if (value != nullptr)
                ::setenv(name, value->c_str(), 1);
            else
                ::unsetenv(name);
        }
        ~EnvironmentChange()
        {
            if (saved)
                ::setenv(name, saved->c_str(), 1);
            else
                ::unsetenv(name);
        }

    private:
        const char* name;
        std::optional<std::string> saved;
    };

    // Neither --dir nor KRX640_USB_DIR: the runtime folder decides, for the unit as for the editor.
    const std::string runtime = folder.Child("runtime");
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    const EnvironmentChange noDeviceFolder("KRX640_USB_DIR", nullptr);
    const EnvironmentChange runtimeFolder("XDG_RUNTIME_DIR", &runtime);
    ASSERT_TRUE(sim.Start({}, OutputFile()));
    const std::string editorsFolder = UsbDeviceInterface::DeviceFolder();
    EXPECT_EQ(editorsFolder, runtime + "/krx640-usb");
    ASSERT_TRUE(client.Connect(editorsFolder + "/unit0", kTimeoutMs));
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);
}

TEST_F(Krx640SimTest, RandomInputNeverBreaksTheUnit)
{
    StartAndConnect();
    std::mt19937 random(0x6B7278);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto randomBytes = [&](int count)
    {
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        for (auto& b : bytes)
            b = static_cast<uint8_t>(random());
        return bytes;
    };
    const uint8_t commandsWithPayload[] = {kValue,      kGetValue,    kRecall,         kStore,
                                           kPresetInfo, kPresetFlags, kSetPresetFlags, kCompareRequest};

    for (int round = 0; round < 3000; ++round)
    {
        std::vector<uint8_t> chunk;
        switch (below(4))
        {
        case 0: // noise
            chunk = randomBytes(1 + below(200));
            break;
        case 1: // a magic with a random header and tail
            chunk = {0xBB, 0x00, 0xAA, 0xFF};
            for (auto b : randomBytes(8 + below(60)))
                chunk.push_back(b);
            break;
        case 2: // a well-formed frame of any command but 11 (which restarts the unit) with any payload
        {
            const auto command = static_cast<uint8_t>(below(32));
            chunk = SimTestClient::BuildFrame(command == kEnterBootloader ? command + 1 : command,
                                              randomBytes(below(256)));
            break;
        }
        default: // a known command with a short or odd payload
            chunk = SimTestClient::BuildFrame(commandsWithPayload[below(8)], randomBytes(below(9)));
            break;
        }
        ASSERT_TRUE(client.WriteBytes(chunk)) << "round " << round;
        if (round % 8 == 0)
            client.Drain();
        ASSERT_TRUE(client.StreamError().empty()) << client.StreamError();
    }

    // Leaving ends any half frame; the next editor is served normally.
    client.Close();
    ASSERT_TRUE(client.Connect(UnitFolder(), kTimeoutMs));
    EXPECT_EQ(Request(kDeviceInfoRequest, {}, kDeviceInfo).command, kDeviceInfo);
    EXPECT_TRUE(sim.IsRunning());
}
