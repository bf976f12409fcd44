#include "device/FlashEngine.h"

#include "device/CFCPipeUSB.h"
#include "device/FirmwareImages.h"
#include "device/UsbLinkManager.h"
#include "platform/PlatformClock.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

int32_t Int32At(const Bytes& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<size_t>(i)];
    return static_cast<int32_t>(value);
}

/** A bootloader played by the test on the engine's pipe: it keeps controller and serial-flash pages,
    answers every command byte, header and data block, records every write, and lets a test make a
    chosen write fail or replace a chosen three-byte answer (by its running number) with other
    bytes, including none (a silent unit). */
class ScriptedBootloader final : public CFCPipeUSB
{
public:
    std::vector<Bytes> writes;
    std::map<int32_t, Bytes> controllerPages;
    std::map<std::pair<int32_t, int32_t>, Bytes> flashPages; // (sector, page)
    std::vector<int32_t> erasedSectors;
    int eraseAllCount = 0;

    int failWriteAt = -1;
    int shortWriteAt = -1;
    std::map<int, std::string> answerAt; // replaces the answer with that running number; "" falls silent
    int silentVerifyAt = -1;             // verify reads (running number) that get no page bytes
    int corruptVerifyAt = -1;            // verify reads whose first byte is changed

    int Write(const void* buffer, int n, unsigned* written) override
    {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        const int index = static_cast<int>(writes.size());
        writes.emplace_back(bytes, bytes + n);
        if (written != nullptr)
            *written = 0;
        if (index == failWriteAt)
            return kSystemFailure;
        if (written != nullptr)
            *written = static_cast<unsigned>(index == shortWriteAt ? n - 1 : n);
        if (index != shortWriteAt)
            Handle(writes.back());
        return 0;
    }

    int ReadOverlapped(void* buffer, int n) override
    {
        if (outgoing.size() < static_cast<size_t>(n))
            return kSystemFailure; // what a silent unit gives after the read's time-out
        std::memcpy(buffer, outgoing.data(), static_cast<size_t>(n));
        outgoing.erase(outgoing.begin(), outgoing.begin() + n);
        return 0;
    }

private:
    enum class Expect
    {
        command,
        header,
        data,
        verifyHeader,
        sector,
    };

    void Answer(const std::string& text)
    {
        const int number = answers++;
        const auto replaced = answerAt.find(number);
        const std::string& sent = replaced == answerAt.end() ? text : replaced->second;
        silent = silent || sent.empty();
        if (!silent)
            outgoing.insert(outgoing.end(), sent.begin(), sent.end());
    }

    void Handle(const Bytes& bytes)
    {
        switch (expect)
        {
        case Expect::command:
            command = bytes[0];
            Answer("ACK");
            if (command == FlashEngine::kWriteController || command == FlashEngine::kWriteFlash)
                expect = Expect::header;
            else if (command == FlashEngine::kVerifyControllerPage ||
                     command == FlashEngine::kVerifyFlashPage)
                expect = Expect::verifyHeader;
            else if (command == FlashEngine::kEraseSector)
                expect = Expect::sector;
            else if (command == FlashEngine::kEraseAll)
            {
                ++eraseAllCount;
                Answer("ACK");
            }
            return;
        case Expect::header:
            first = Int32At(bytes, 0);
            second = Int32At(bytes, 4);
            Answer("ACK");
            expect = Expect::data;
            return;
        case Expect::data:
            if (command == FlashEngine::kWriteController)
                controllerPages[first] = bytes;
            else
            {
                Bytes page(FlashEngine::kFlashPageSize, 0xFF);
                std::memcpy(page.data(), bytes.data(), std::min(bytes.size(), page.size()));
                flashPages[{first, second}] = page;
            }
            Answer("ACK");
            expect = Expect::command;
            return;
        case Expect::verifyHeader:
            SendPage(bytes);
            expect = Expect::command;
            return;
        case Expect::sector:
            erasedSectors.push_back(Int32At(bytes, 0));
            Answer("ACK");
            Answer("ACK");
            expect = Expect::command;
            return;
        }
    }

    void SendPage(const Bytes& header)
    {
        const int number = verifies++;
        silent = silent || number == silentVerifyAt;
        if (silent)
            return;
        Bytes page = command == FlashEngine::kVerifyControllerPage
                         ? controllerPages[Int32At(header, 0)]
                         : flashPages[{Int32At(header, 0), Int32At(header, 4)}];
        if (number == corruptVerifyAt)
            page[0] ^= 0x01;
        outgoing.insert(outgoing.end(), page.begin(), page.end());
    }

    Bytes outgoing;
    Expect expect = Expect::command;
    uint8_t command = 0;
    int32_t first = 0;
    int32_t second = 0;
    int answers = 0;
    int verifies = 0;
    bool silent = false; // once one answer was left out, the unit stays silent
};

Bytes Pattern(int size)
{
    Bytes bytes(static_cast<size_t>(size));
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 256 + 1);
    return bytes;
}

const char* AsChars(const Bytes& bytes)
{
    return reinterpret_cast<const char*>(bytes.data());
}

class FlashEngineTest : public ::testing::Test
{
protected:
    /** The verify waits and settle waits pass quickly. */
    static constexpr double kFastTimeScale = 1000.0;

    UsbLinkManager link;
    FlashEngine engine{link};
    ScriptedBootloader unit;
    double savedTimeScale = PlatformClock::GetTimeScale();

    void SetUp() override { PlatformClock::SetTimeScale(kFastTimeScale); }
    void TearDown() override { PlatformClock::SetTimeScale(savedTimeScale); }

    std::string Text() const { return link.GetMessageText().CStr(); }
};
} // namespace

TEST_F(FlashEngineTest, ASerialFlashImageGoesOutAsFullPagesAndOnePartialPage)
{
    struct Case
    {
        int size;
        std::vector<int> sentSizes;
    };
    const Case cases[] = {
        {660, {256, 256, 148}}, {320, {256, 65}}, {256, {256}}, {128, {129}}, {448, {256, 193}}, {1, {1}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.size);
        ScriptedBootloader peer;
        const Bytes image = Pattern(c.size);
        ASSERT_TRUE(engine.StartUploadAmplifierTable(AsChars(image), c.size));
        EXPECT_FALSE(engine.IsFlashJobIdle());
        EXPECT_TRUE(link.IsFlashMode());
        engine.RunFlashJob(peer);
        EXPECT_TRUE(engine.IsFlashJobIdle());
        EXPECT_EQ(Text(), "");
        EXPECT_TRUE(link.IsFlashMode()) << "only leaving the bootloader ends flash mode";

        std::vector<int> sent;
        for (size_t i = 0; i + 2 < peer.writes.size(); ++i)
            if (peer.writes[i] == Bytes{FlashEngine::kWriteFlash})
            {
                EXPECT_EQ(Int32At(peer.writes[i + 1], 0), FlashEngine::kAmplifierTableSector);
                EXPECT_EQ(Int32At(peer.writes[i + 1], 4), static_cast<int32_t>(sent.size()));
                sent.push_back(static_cast<int>(peer.writes[i + 2].size()));
            }
        EXPECT_EQ(sent, c.sentSizes);
        if (c.sentSizes.back() > 64 && c.sentSizes.back() % 64 == 1)
        {
            EXPECT_EQ(peer.writes[peer.writes.size() - 3].back(), 0xFF) << "the spare byte";
        }
        Bytes stored;
        for (const auto& entry : peer.flashPages)
            stored.insert(stored.end(), entry.second.begin(), entry.second.end());
        stored.resize(image.size());
        EXPECT_EQ(stored, image);
    }
}

TEST_F(FlashEngineTest, ALongImageMovesToTheNextSectorAfterPage255)
{
    const auto& dsp = FirmwareImages::DspProgram();
    ASSERT_TRUE(engine.StartUploadDsp(dsp.Data(), dsp.Size()));
    engine.RunFlashJob(unit);
    EXPECT_EQ(Text(), "");
    // 142,040 bytes: 554 full pages and 216 bytes, sectors 0..2.
    ASSERT_EQ(unit.flashPages.size(), 555u);
    EXPECT_EQ(unit.flashPages.begin()->first, std::make_pair(0, 0));
    EXPECT_EQ(unit.flashPages.rbegin()->first, std::make_pair(2, 42));
    EXPECT_EQ(unit.flashPages.count({1, 0}), 1u);
    EXPECT_EQ(unit.flashPages.count({0, 256}), 0u);
    EXPECT_EQ(std::memcmp(unit.flashPages[{1, 0}].data(), dsp.Bytes() + 256 * 256, 256), 0);
}

TEST_F(FlashEngineTest, TheControllerImageFillsPages54To509AndTooLargeImagesAreRefused)
{
    const auto& program = FirmwareImages::ControllerProgram();
    ASSERT_TRUE(engine.StartUploadAtmel(program.Data(), program.Size()));
    engine.RunFlashJob(unit);
    EXPECT_EQ(Text(), "");
    ASSERT_EQ(unit.controllerPages.size(), 456u);
    EXPECT_EQ(unit.controllerPages.begin()->first, 54);
    EXPECT_EQ(unit.controllerPages.rbegin()->first, 509);
    for (const auto& [page, bytes] : unit.controllerPages)
        ASSERT_EQ(bytes.size(), 128u) << page;
    const Bytes& last = unit.controllerPages[509];
    const int rest = program.Size() - 455 * 128; // 96
    EXPECT_EQ(std::memcmp(last.data(), program.Bytes() + 455 * 128, static_cast<size_t>(rest)), 0);
    EXPECT_EQ(Bytes(last.begin() + rest, last.end()), Bytes(128 - static_cast<size_t>(rest), 0xFF));

    const Bytes big = Pattern(58496);
    EXPECT_TRUE(engine.StartUploadAtmel(AsChars(big), 58337)) << "510 pages still fit";
    EXPECT_EQ(engine.GetJobState(), FlashEngine::kWriteController);
    engine.RunFlashJob(unit);
    EXPECT_FALSE(engine.StartUploadAtmel(AsChars(big), 58496));
    EXPECT_EQ(Text(), "The selected starting page is too high. Not enough room in flash.");
    EXPECT_TRUE(engine.IsFlashJobIdle()) << "a refused image posts nothing";
    EXPECT_FALSE(engine.StartUploadAtmel(nullptr, 10));
}

TEST_F(FlashEngineTest, EveryFailedPageStepStopsTheJobWithItsText)
{
    enum class Fault
    {
        writeFails,
        shortWrite,
        noAnswer,
        nak,
        noPageBytes,
        wrongPageByte,
    };
    struct Case
    {
        bool controller;
        Fault fault;
        int at; // write, answer or verify number
        const char* expected;
    };
    // Controller: a 200-byte image at page 54 (a full page and a partial page 55).
    // Serial flash: a 300-byte image in sector 15 (a full page 0 and a partial page 1 of 44 bytes).
    // Writes per page: command, header, data, verify command, verify header; answers: four.
    const Case cases[] = {
        {true, Fault::writeFails, 0, "Write cmd to USB failed. Page=54\n"},
        {true, Fault::noAnswer, 0, "USB response to write cmd failed. Page=54\n"},
        {true, Fault::nak, 0, "No ACK for write cmd. USB failed. Page=54\n"},
        {true, Fault::writeFails, 1, "Write page # to USB failed. Page=54\n"},
        {true, Fault::noAnswer, 1, "USB response to page # failed. Page=54\n"},
        {true, Fault::nak, 1, "No ACK for page #. USB failed. Page=54\n"},
        {true, Fault::shortWrite, 2, "Write page data to USB failed. Page=54\n"},
        {true, Fault::noAnswer, 2, "USB response to page data failed. Page=54\n"},
        {true, Fault::nak, 2, "No ACK for page data. USB failed. Page=54\n"},
        {true, Fault::writeFails, 3, "Verify cmd to USB failed. Page=54\n"},
        {true, Fault::noAnswer, 3, "USB response to verify cmd failed. Page=54\n"},
        {true, Fault::nak, 3, "Verify cmd not acknowledged. USB failed. Page=54\n"},
        {true, Fault::writeFails, 4, "Verify page # to USB failed. Page=54\n"},
        {true, Fault::noPageBytes, 0, "USB response to verify page # failed. Page=54\n"},
        {true, Fault::wrongPageByte, 1, "Flash data verification failed. Page=55\n"},
        {false, Fault::writeFails, 0, "Write cmd to USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::noAnswer, 0, "USB response to write cmd failed. DSP Sector=15, Page=0\n"},
        {false, Fault::nak, 0, "No ACK for write cmd. USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::writeFails, 1, "Write page # to USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::noAnswer, 1, "USB response to page # failed. DSP Sector=15, Page=0\n"},
        {false, Fault::nak, 1, "No ACK for page #. USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::writeFails, 2, "Write page data to USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::noAnswer, 2, "USB response to page data failed. DSP Sector=15, Page=0\n"},
        {false, Fault::nak, 2, "No ACK for page data. USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::writeFails, 3, "Verify cmd to USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::noAnswer, 3, "USB response to verify cmd failed. DSP Sector=15, Page=0\n"},
        {false, Fault::nak, 3, "Verify cmd not acknowledged. USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::shortWrite, 4, "Verify page # to USB failed. DSP Sector=15, Page=0\n"},
        {false, Fault::noPageBytes, 0, "USB response to verify page # failed. DSP Sector=15, Page=0\n"},
        {false, Fault::wrongPageByte, 0, "Flash data verification failed. DSP Sector=15, Page=0\n"},
        {false, Fault::writeFails, 8, "Verify cmd to USB failed. Page=1\n"},
        {false, Fault::nak, 6, "No ACK for page data. USB failed. DSP Sector=15, Page=1\n"},
        {false, Fault::wrongPageByte, 1, "Flash data verification failed. DSP Sector=15, Page=1 (partial)\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.expected);
        ScriptedBootloader peer;
        switch (c.fault)
        {
        case Fault::writeFails:
            peer.failWriteAt = c.at;
            break;
        case Fault::shortWrite:
            peer.shortWriteAt = c.at;
            break;
        case Fault::noAnswer:
            peer.answerAt[c.at] = "";
            break;
        case Fault::nak:
            peer.answerAt[c.at] = "NAK";
            break;
        case Fault::noPageBytes:
            peer.silentVerifyAt = c.at;
            break;
        case Fault::wrongPageByte:
            peer.corruptVerifyAt = c.at;
            break;
        }
        link.SetMessageText("left from before");
        const Bytes image = Pattern(c.controller ? 200 : 300);
        ASSERT_TRUE(c.controller ? engine.StartUploadAtmel(AsChars(image), 200)
                                 : engine.StartUploadAmplifierTable(AsChars(image), 300));
        engine.RunFlashJob(peer);
        EXPECT_EQ(Text(), c.expected);
        EXPECT_TRUE(engine.IsFlashJobIdle());
    }
}

TEST_F(FlashEngineTest, SerialFlashDataAnswersOtherThanAckOrNakAreReadPast)
{
    unit.answerAt[2] = "BSYXYZACK";
    const Bytes image = Pattern(256);
    ASSERT_TRUE(engine.StartUploadDsp(AsChars(image), 256));
    engine.RunFlashJob(unit);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(unit.writes.size(), 5u);
}

TEST_F(FlashEngineTest, EraseAndLeaveAnswersDecideAsTheBootloaderSays)
{
    enum class Job
    {
        eraseAll,
        eraseSector,
        leave,
    };
    struct Case
    {
        Job job;
        int failWrite;
        std::map<int, std::string> answers;
        const char* expected;
    };
    const Case cases[] = {
        {Job::eraseAll, -1, {}, ""},
        {Job::eraseAll, -1, {{1, "BSYXYZACK"}}, ""},
        {Job::eraseAll, 0, {}, "Write cmd to USB failed for EraseSPIFlash."},
        {Job::eraseAll, -1, {{0, ""}}, "USB response to EraseSPIFlash cmd failed."},
        {Job::eraseAll, -1, {{0, "XYZ"}}, "No ACK for EraseSPIFlash cmd."},
        {Job::eraseAll, -1, {{1, ""}}, "USB response to EraseSPIFlash status failed."},
        {Job::eraseAll, -1, {{1, "BSYNAK"}}, "EraseSPIFlash status: timed out."},
        {Job::eraseAll, -1, {{1, "FFF"}}, "EraseSPIFlash status: command failed immediately."},
        {Job::eraseSector, -1, {{0, "XYZ"}, {1, "XYZ"}}, ""},
        {Job::eraseSector, -1, {{0, "NAK"}}, "No ACK for EraseSPIFlash cmd."},
        {Job::eraseSector, 1, {}, "Write sector # to USB failed. Sector=0\n"},
        {Job::eraseSector, -1, {{1, ""}}, "USB response to sector # to USB failed. Sector=0\n"},
        {Job::eraseSector, -1, {{1, "NAK"}}, "No ACK for sector # to USB failed. Sector=0\n"},
        {Job::eraseSector, -1, {{2, "FFF"}}, "EraseSPIFlash status: command failed immediately."},
        {Job::leave, -1, {}, ""},
        {Job::leave, 0, {}, "Write cmd to USB failed for BootApplication."},
        {Job::leave, -1, {{0, ""}}, "USB response to BootApplication cmd failed."},
        {Job::leave, -1, {{0, "NAK"}}, "No ACK for BootApplication cmd."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.job) << " " << c.expected);
        ScriptedBootloader peer;
        peer.failWriteAt = c.failWrite;
        peer.answerAt = c.answers;
        link.SetMessageText("left from before");
        switch (c.job)
        {
        case Job::eraseAll:
            ASSERT_TRUE(engine.StartEraseFlash());
            break;
        case Job::eraseSector:
            // Without a connected link the setter posts sector 0 and returns at once.
            EXPECT_FALSE(engine.StartEraseFlashKeepUserPresets());
            EXPECT_EQ(engine.GetJobState(), FlashEngine::kEraseSector);
            break;
        case Job::leave:
            ASSERT_TRUE(engine.StartExitBootloader());
            break;
        }
        EXPECT_TRUE(link.IsFlashMode());
        engine.RunFlashJob(peer);
        EXPECT_EQ(Text(), c.expected);
        EXPECT_TRUE(engine.IsFlashJobIdle());
        const bool succeeded = *c.expected == '\0';
        EXPECT_EQ(link.IsFlashMode(), !(c.job == Job::leave && succeeded));
        if (c.job == Job::eraseSector && succeeded)
        {
            EXPECT_EQ(peer.erasedSectors, std::vector<int32_t>{0});
        }
        if (c.job == Job::eraseAll && succeeded)
        {
            EXPECT_EQ(peer.eraseAllCount, 1);
        }
        link.SetFlashMode(false);
    }
}

namespace
{
/** A unit that answers every read with random bytes, mostly shaped like the bootloader's answers. */
class RandomPeer final : public CFCPipeUSB
{
public:
    explicit RandomPeer(uint32_t seed) : random(seed) {}

    int Write(const void*, int n, unsigned* written) override
    {
        if (written != nullptr)
            *written = static_cast<unsigned>(n);
        return random() % 64 == 0 ? kSystemFailure : 0;
    }

    int ReadOverlapped(void* buffer, int n) override
    {
        if (random() % 200 == 0)
            return kSystemFailure;
        auto* bytes = static_cast<uint8_t*>(buffer);
        static const char* const kAnswers[] = {"ACK", "ACK", "ACK", "NAK", "FFF", "BSY"};
        for (int i = 0; i < n; i += 3)
        {
            const bool shaped = n == 3 && random() % 8 != 0;
            const char* answer = kAnswers[random() % 6];
            for (int k = i; k < std::min(n, i + 3); ++k)
                bytes[k] = shaped ? static_cast<uint8_t>(answer[k - i]) : static_cast<uint8_t>(random());
        }
        return 0;
    }

private:
    std::mt19937 random;
};
} // namespace

TEST_F(FlashEngineTest, RandomAnswersAlwaysEndTheJobAndLeaveItIdle)
{
    const Bytes image = Pattern(700);
    for (uint32_t seed = 1; seed <= 300; ++seed)
    {
        RandomPeer peer(seed);
        switch (seed % 6)
        {
        case 0:
            engine.StartUploadDsp(AsChars(image), static_cast<int>(seed % 700) + 1);
            break;
        case 1:
            engine.StartUploadAtmel(AsChars(image), static_cast<int>(seed % 700) + 1);
            break;
        case 2:
            engine.StartEraseFlash();
            break;
        case 3:
            engine.StartEraseFlashKeepUserPresets(); // posts sector 0 and returns: no link
            break;
        default:
            engine.StartExitBootloader();
            break;
        }
        engine.RunFlashJob(peer);
        ASSERT_TRUE(engine.IsFlashJobIdle()) << seed;
    }
}
