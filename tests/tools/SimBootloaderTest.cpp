#include "SimProcess.h"
#include "SimTestClient.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <poll.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

constexpr int kTimeoutMs = 10000;
/** The unit's restarts (3 s and 8 s of its clock) take a fraction of a second. */
constexpr const char* kFastClock = "KRX640_TIME_SCALE=20";
constexpr uint8_t kDeviceInfoRequest = 1, kDeviceInfo = 2, kStore = 10, kEnterBootloader = 11,
                  kPresetInfo = 13;
constexpr uint8_t kVerifyController = 2, kWriteController = 3, kVerifyFlash = 5, kWriteFlash = 6,
                  kEraseAll = 8, kEraseSector = 9, kBootApplication = 10;
constexpr size_t kControllerPage = 128, kFlashPage = 256, kControllerBytes = 512 * 128;
constexpr uint32_t kOldVersion = 0x42010300, kCurrentVersion = 0x42010400;

Bytes Int32s(std::initializer_list<int32_t> values)
{
    Bytes bytes;
    for (const int32_t value : values)
        SimBytes::PutU32(bytes, static_cast<uint32_t>(value));
    return bytes;
}

Bytes Pattern(size_t size, uint8_t seed)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 13 + seed);
    return bytes;
}

/** The editor's side of the bootloader, written for these tests: raw bytes on the unit's pipes. */
class BootClient final
{
public:
    ~BootClient() { Close(); }

    bool Connect(const std::string& unitFolder)
    {
        Close();
        TestSupport::WaitUntil(
            [&]
            {
                toUnit = ::open((unitFolder + "/PIPE00").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                return toUnit >= 0;
            },
            kTimeoutMs);
        if (toUnit >= 0)
            fromUnit = ::open((unitFolder + "/PIPE01").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        return toUnit >= 0 && fromUnit >= 0;
    }

    void Close()
    {
        if (toUnit >= 0)
            ::close(toUnit);
        if (fromUnit >= 0)
            ::close(fromUnit);
        toUnit = fromUnit = -1;
    }

    bool Send(const Bytes& bytes)
    {
        return ::write(toUnit, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    }

    /** Exactly n bytes, or nothing when the unit stays silent for timeoutMs or leaves. */
    std::optional<Bytes> Read(size_t n, int timeoutMs = kTimeoutMs)
    {
        Bytes bytes;
        while (bytes.size() < n)
        {
            pollfd watched{fromUnit, POLLIN, 0};
            if (::poll(&watched, 1, timeoutMs) <= 0)
                return std::nullopt;
            uint8_t buffer[512];
            const ssize_t count = ::read(fromUnit, buffer, std::min(sizeof buffer, n - bytes.size()));
            if (count <= 0)
                return std::nullopt;
            bytes.insert(bytes.end(), buffer, buffer + count);
        }
        return bytes;
    }

    /** Reads and forgets what the unit has sent so far. */
    void Drain()
    {
        pollfd watched{fromUnit, POLLIN, 0};
        uint8_t buffer[512];
        while (::poll(&watched, 1, 5) > 0 && ::read(fromUnit, buffer, sizeof buffer) > 0)
        {
        }
    }

    /** Sends a block and reads one three-byte answer ("" when none came). */
    std::string Ask(const Bytes& bytes, int timeoutMs = kTimeoutMs)
    {
        if (!Send(bytes))
            return "";
        const auto answer = Read(3, timeoutMs);
        return answer ? std::string(answer->begin(), answer->end()) : "";
    }

private:
    int toUnit = -1;
    int fromUnit = -1;
};

ino_t InodeOf(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class SimBootloaderTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;
    SimProcess sim;
    SimTestClient application;
    BootClient boot;

    std::string UnitFolder() const { return folder.Child("usb/unit0"); }
    std::string FlashDump() const { return folder.Child("flash.bin"); }

    void Start(std::vector<std::string> arguments = {})
    {
        arguments.insert(arguments.begin(), {"--dir", folder.Child("usb"), "--flash-dump", FlashDump()});
        ASSERT_TRUE(sim.Start(arguments, folder.Child("sim-output.txt"), {kFastClock}));
        ASSERT_TRUE(application.Connect(UnitFolder(), kTimeoutMs));
    }

    /** Waits until the unit's pipes were made anew (it restarted). */
    bool WaitForRestart(ino_t before)
    {
        return TestSupport::WaitUntil(
            [&]
            {
                const ino_t now = InodeOf(UnitFolder() + "/PIPE00");
                return now != 0 && now != before;
            },
            kTimeoutMs);
    }

    void EnterBootloader()
    {
        const ino_t before = InodeOf(UnitFolder() + "/PIPE00");
        ASSERT_TRUE(application.Send(kEnterBootloader, {0}));
        ASSERT_TRUE(WaitForRestart(before)) << "the unit did not come back as its bootloader";
        application.Close();
        ASSERT_TRUE(boot.Connect(UnitFolder()));
    }

    void LeaveBootloader()
    {
        const ino_t before = InodeOf(UnitFolder() + "/PIPE00");
        ASSERT_EQ(boot.Ask({kBootApplication}), "ACK");
        ASSERT_TRUE(WaitForRestart(before)) << "the unit did not come back as the application";
        boot.Close();
        ASSERT_TRUE(application.Connect(UnitFolder(), kTimeoutMs));
    }

    uint32_t FirmwareVersion()
    {
        EXPECT_TRUE(application.Send(kDeviceInfoRequest));
        const auto reply = application.ReceiveCommand(kDeviceInfo, kTimeoutMs);
        return reply && reply->payload.size() >= 5 ? SimBytes::U32(reply->payload, 1) : 0;
    }

    /** Writes one serial-flash page as the editor does and reads it back. */
    std::optional<Bytes> WriteFlashPage(int32_t sector, int32_t page, const Bytes& data)
    {
        EXPECT_EQ(boot.Ask({kWriteFlash}), "ACK");
        EXPECT_EQ(boot.Ask(Int32s({sector, page})), "ACK");
        EXPECT_EQ(boot.Ask(data), "ACK");
        EXPECT_EQ(boot.Ask({kVerifyFlash}), "ACK");
        EXPECT_TRUE(boot.Send(Int32s({sector, page})));
        return boot.Read(kFlashPage);
    }

    Bytes ReadDump()
    {
        std::ifstream file(FlashDump(), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(file), {});
    }

    void TearDown() override
    {
        boot.Close();
        application.Close();
        if (sim.IsRunning())
        {
            sim.Signal(SIGTERM);
            EXPECT_EQ(sim.WaitForExit(kTimeoutMs), 0);
        }
    }
};
} // namespace

TEST_F(SimBootloaderTest, AnUpdateWritesAndVerifiesBothMemoriesAndTheUnitComesBackUpdated)
{
    Start({"--firmware-version", "42010300"});
    EXPECT_EQ(FirmwareVersion(), kOldVersion);
    EnterBootloader();

    // Erase: the command's answer, then status answers ending in "ACK".
    ASSERT_TRUE(boot.Send({kEraseAll}));
    auto answers = boot.Read(6);
    ASSERT_TRUE(answers);
    EXPECT_EQ(std::string(answers->begin(), answers->begin() + 3), "ACK");
    std::string status(answers->begin() + 3, answers->end());
    while (status != "ACK" && status != "")
        status = boot.Ask({});
    EXPECT_EQ(status, "ACK");

    // A controller page from page 54 on; below it the bootloader lives.
    const Bytes controllerPage = Pattern(kControllerPage, 3);
    EXPECT_EQ(boot.Ask({kWriteController}), "ACK");
    EXPECT_EQ(boot.Ask(Int32s({53, 128})), "NAK");
    EXPECT_EQ(boot.Ask({kWriteController}), "ACK");
    EXPECT_EQ(boot.Ask(Int32s({54, 128})), "ACK");
    EXPECT_EQ(boot.Ask(controllerPage), "ACK");
    EXPECT_EQ(boot.Ask({kVerifyController}), "ACK");
    ASSERT_TRUE(boot.Send(Int32s({54})));
    EXPECT_EQ(boot.Read(kControllerPage), controllerPage);

    // Serial flash: a full page, and a partial page whose length is that of its single write.
    const Bytes full = Pattern(kFlashPage, 7);
    EXPECT_EQ(WriteFlashPage(15, 0, full), full);
    Bytes partial = Pattern(65, 9);
    Bytes expected = partial;
    expected.resize(kFlashPage, 0xFF);
    EXPECT_EQ(WriteFlashPage(15, 1, partial), expected);
    EXPECT_EQ(boot.Ask({kWriteFlash}), "ACK");
    EXPECT_EQ(boot.Ask(Int32s({16, 0})), "NAK") << "no sector 16";
    EXPECT_EQ(boot.Ask({42}), "NAK") << "an unknown command";

    LeaveBootloader();
    EXPECT_EQ(FirmwareVersion(), kCurrentVersion)
        << "a verified controller update reports the current version";

    const Bytes dump = ReadDump();
    ASSERT_EQ(dump.size(), kControllerBytes + 16u * 256 * 256);
    EXPECT_EQ(Bytes(dump.begin() + 54 * kControllerPage, dump.begin() + 55 * kControllerPage),
              controllerPage);
    const size_t sector15 = kControllerBytes + 15u * 256 * 256;
    EXPECT_EQ(Bytes(dump.begin() + sector15, dump.begin() + sector15 + kFlashPage), full);
    EXPECT_EQ(Bytes(dump.begin() + sector15 + kFlashPage, dump.begin() + sector15 + 2 * kFlashPage),
              expected);
}

TEST_F(SimBootloaderTest, SectorErasesSpareTheUserPresetsUnlessTheirSectorsGo)
{
    Start();
    ASSERT_TRUE(application.Send(kStore, {2})); // store the edit buffer as user preset 2
    const auto IsOccupied = [&]
    {
        EXPECT_TRUE(application.Send(kPresetInfo, {2}));
        const auto reply = application.ReceiveCommand(kPresetInfo, kTimeoutMs);
        if (!reply || reply->payload.size() < 3)
            return false;
        const size_t length = SimBytes::U16(reply->payload, 1);
        return std::string(reply->payload.begin() + 3, reply->payload.begin() + 3 + length) != "?";
    };
    ASSERT_TRUE(IsOccupied());

    for (const int32_t sector : {0, 5})
    {
        SCOPED_TRACE(sector);
        EnterBootloader();
        EXPECT_EQ(boot.Ask({kEraseSector}), "ACK");
        ASSERT_TRUE(boot.Send(Int32s({sector})));
        const auto answers = boot.Read(9);
        ASSERT_TRUE(answers);
        EXPECT_EQ(std::string(answers->begin(), answers->end()), "ACKBSYACK");
        LeaveBootloader();
        EXPECT_EQ(IsOccupied(), sector == 0);
    }
}

TEST_F(SimBootloaderTest, InjectedFaultsReplaceTheChosenAnswer)
{
    struct Case
    {
        const char* fault;
        const char* expected; // answers to the first page write and its verify command
    };
    const Case cases[] = {
        {"header:1:nak", "ACK NAK"},
        {"command:2:fff", "ACK ACK ACK FFF"},
        {"data:1:wrong", "ACK ACK XYZACK ACK"},
        {"header:1:silent", "ACK "},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.fault);
        SimProcess unit;
        BootClient client;
        TestSupport::TempFolder own;
        ASSERT_TRUE(
            unit.Start({"--dir", own.Path(), "--fail-at", c.fault}, own.Child("out.txt"), {kFastClock}));
        SimTestClient frames;
        ASSERT_TRUE(frames.Connect(own.Child("unit0"), kTimeoutMs));
        const ino_t before = InodeOf(own.Child("unit0/PIPE00"));
        ASSERT_TRUE(frames.Send(kEnterBootloader, {0}));
        ASSERT_TRUE(TestSupport::WaitUntil(
            [&]
            {
                const ino_t now = InodeOf(own.Child("unit0/PIPE00"));
                return now != 0 && now != before;
            },
            kTimeoutMs));
        frames.Close();
        ASSERT_TRUE(client.Connect(own.Child("unit0")));

        std::string answers;
        const Bytes steps[] = {{kWriteFlash}, Int32s({0, 0}), Pattern(kFlashPage, 1), {kVerifyFlash}};
        for (const Bytes& step : steps)
        {
            const std::string answer = client.Ask(step, 300);
            if (!answers.empty())
                answers += " ";
            answers += answer;
            if (answer.empty() || answer == "NAK" || answer == "FFF")
                break;
            if (answer == "XYZ")
                answers += client.Ask({}, 300);
        }
        EXPECT_EQ(answers, c.expected);
        client.Close();
        unit.Signal(SIGTERM);
        EXPECT_EQ(unit.WaitForExit(kTimeoutMs), 0);
    }
}

TEST_F(SimBootloaderTest, AWrongVerifyByteAndAVanishingUnit)
{
    Start({"--fail-at", "verify:1:wrong", "--fail-at", "command:3:vanish"});
    EnterBootloader();
    const Bytes data = Pattern(kFlashPage, 5);
    const auto page = WriteFlashPage(3, 7, data);
    ASSERT_TRUE(page);
    EXPECT_NE(*page, data);
    EXPECT_EQ(Bytes(page->begin() + 1, page->end()), Bytes(data.begin() + 1, data.end()));

    EXPECT_EQ(boot.Ask({kEraseAll}, 2000), "") << "the third command: the unit goes";
    EXPECT_EQ(sim.WaitForExit(kTimeoutMs), 0);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return InodeOf(UnitFolder() + "/PIPE00") == 0; }, kTimeoutMs));
}

TEST_F(SimBootloaderTest, RandomBytesNeverBreakTheBootloader)
{
    Start();
    EnterBootloader();
    std::mt19937 random(0x626F6F74);
    for (int round = 0; round < 300; ++round)
    {
        Bytes chunk(1 + random() % 64);
        for (auto& byte : chunk)
        {
            byte = static_cast<uint8_t>(random());
            if (byte == kBootApplication)
                byte = kEraseSector; // leaving the bootloader would end the session
        }
        ASSERT_TRUE(boot.Send(chunk)) << "round " << round;
        boot.Drain();
    }
    // A new connection starts at a command byte again, once the unit has seen the old one go.
    const auto Disconnects = [&]
    {
        std::ifstream output(folder.Child("sim-output.txt"));
        const std::string text{std::istreambuf_iterator<char>(output), {}};
        size_t count = 0;
        for (size_t at = text.find("editor disconnected"); at != std::string::npos;
             at = text.find("editor disconnected", at + 1))
            ++count;
        return count;
    };
    const size_t before = Disconnects();
    boot.Close();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return Disconnects() > before; }, kTimeoutMs));
    ASSERT_TRUE(boot.Connect(UnitFolder()));
    EXPECT_EQ(boot.Ask({kVerifyController}), "ACK");
    ASSERT_TRUE(boot.Send(Int32s({54})));
    EXPECT_TRUE(boot.Read(kControllerPage));
    EXPECT_TRUE(sim.IsRunning());
}

TEST(SimBootloaderOptions, BadFaultTextsAreRefused)
{
    for (const char* bad : {"header:1", "header:0:nak", "head:1:nak", "header:1:boom", "header:x:nak"})
    {
        SCOPED_TRACE(bad);
        SimProcess unit;
        TestSupport::TempFolder own;
        ASSERT_TRUE(unit.Start({"--dir", own.Path(), "--fail-at", bad}, own.Child("out.txt")));
        EXPECT_EQ(unit.WaitForExit(kTimeoutMs), 2);
    }
}
