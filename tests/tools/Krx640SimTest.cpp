#include "SimProcess.h"
#include "SimTestClient.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
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

TEST_F(Krx640SimTest, LogRecordsEveryFrameReceived)
{
    const std::string logFile = folder.Child("frames.log");
    StartAndConnect({"--log", logFile});
    ASSERT_TRUE(client.WriteBytes({'n', 'o', 'i', 's', 'e'}));
    Request(kDeviceInfoRequest, {}, kDeviceInfo);
    Request(kPresetInfo, {3}, kPresetInfo);

    std::ifstream log(logFile);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    const auto has = [&](const std::string& ending)
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line)
                           {
                               return line.size() > ending.size() &&
                                      std::isdigit(static_cast<unsigned char>(line[0])) &&
                                      line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
                           });
    };
    EXPECT_TRUE(has(" BB 00 AA FF 0C 00 00 00 03 00 01 00"));
    EXPECT_TRUE(has(" BB 00 AA FF 0D 00 00 00 03 00 0D 01 03"));
    EXPECT_TRUE(has("dropped (no frame magic): 6E 6F 69 73 65"));
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
