#include "SimLinkTest.h"
#include "device/FirmwareImages.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>

namespace
{
using Bytes = std::vector<uint8_t>;

constexpr int kWaitMs = SimLinkTest::kSimWaitMs;
/** The real milliseconds in which a pulled unit must be noticed. */
constexpr int kPulledUnitMs = 1000;
constexpr uint8_t kStore = 10, kEnterBootloader = 11, kPresetInfo = 13;
constexpr uint32_t kOldVersion = 0x42010300, kCurrentVersion = 0x42010400;
/** The waits of the firmware update around the bootloader's restarts. */
constexpr uint32_t kBootloaderRestartMs = 10000, kExitBootloaderMs = 1001, kApplicationRestartMs = 23000;
constexpr size_t kControllerFlashBytes = 512 * 128;
constexpr size_t kSectorBytes = 256 * 256;

/** The simulated unit, the program's link and its flash engine, with the clock of the unit and of
    the test running fast alike. */
class FlashEngineSimTest : public SimLinkTest
{
protected:
    std::string FlashDump() const { return folder.Child("flash.bin"); }

    void StartUnit(juce::StringArray options)
    {
        options.addArray({"--flash-dump", juce::String(FlashDump())});
        SimLinkTest::StartUnit(options);
    }

    /** As the firmware update enters the bootloader: command 11, the link closed for the restart. */
    void EnterBootloader()
    {
        const Bytes request = FrameBytes::Frame(3, kEnterBootloader, {0});
        ASSERT_EQ(link->QueueFrame(request.data(), static_cast<int>(request.size())), 0);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return link->GetPendingFrames() == 0; }, kWaitMs));
        link->Close();
        PlatformClock::Sleep(kBootloaderRestartMs);
        ASSERT_TRUE(Reconnect()) << "the bootloader did not come up";
    }

    /** Waits for the posted job to end; the message text it left. */
    std::string RunToEnd()
    {
        EXPECT_TRUE(TestSupport::WaitUntil([&] { return engine->IsFlashJobIdle(); }, kWaitMs));
        return link->GetMessageText().CStr();
    }

    bool IsUserPresetStored(uint8_t number)
    {
        const Bytes info = Ask(kPresetInfo, {number}, kPresetInfo);
        return info.size() > 3 && info[3] != '?';
    }
};

void ExpectImageAt(const Bytes& flash, size_t offset, const FirmwareImages::Image& image, size_t pageSize)
{
    ASSERT_GE(flash.size(), offset + image.Size());
    EXPECT_EQ(std::memcmp(flash.data() + offset, image.Bytes(), static_cast<size_t>(image.Size())), 0);
    const size_t padded = (static_cast<size_t>(image.Size()) + pageSize - 1) / pageSize * pageSize;
    for (size_t at = offset + image.Size(); at < offset + padded; ++at)
        ASSERT_EQ(flash[at], 0xFF) << "padding at " << at;
}
} // namespace

TEST_F(FlashEngineSimTest, AFullUpdateLeavesTheCarriedImagesInFlashAndKeepsTheUserPresets)
{
    StartUnit({"--firmware-version", "42010300"});
    EXPECT_EQ(FirmwareVersion(), kOldVersion);
    Ask(kStore, {3}, kStore); // user preset 3, to be kept through the update
    ASSERT_TRUE(IsUserPresetStored(3));

    EnterBootloader();
    EXPECT_TRUE(engine->StartEraseFlashKeepUserPresets());
    EXPECT_EQ(RunToEnd(), "");
    const auto& dsp = FirmwareImages::DspProgram();
    const auto& presets = FirmwareImages::FactoryPresets();
    const auto& amplifiers = FirmwareImages::AmplifierTable();
    const auto& controller = FirmwareImages::ControllerProgram();
    ASSERT_TRUE(engine->StartUploadDsp(dsp.Data(), dsp.Size()));
    EXPECT_EQ(RunToEnd(), "");
    ASSERT_TRUE(engine->StartUploadFactoryPresets(presets.Data(), presets.Size()));
    EXPECT_EQ(RunToEnd(), "");
    ASSERT_TRUE(engine->StartUploadAmplifierTable(amplifiers.Data(), amplifiers.Size()));
    EXPECT_EQ(RunToEnd(), "");
    ASSERT_TRUE(engine->StartUploadAtmel(controller.Data(), controller.Size()));
    EXPECT_EQ(RunToEnd(), "");

    ASSERT_TRUE(engine->StartExitBootloader());
    EXPECT_EQ(RunToEnd(), "");
    EXPECT_FALSE(link->IsFlashMode());
    PlatformClock::Sleep(kExitBootloaderMs);
    link->Close();
    PlatformClock::Sleep(kApplicationRestartMs);
    ASSERT_TRUE(Reconnect()) << "the unit did not come back";
    EXPECT_EQ(FirmwareVersion(), kCurrentVersion);
    EXPECT_TRUE(IsUserPresetStored(3)) << "sectors 5..10 were spared";

    std::ifstream file(FlashDump(), std::ios::binary);
    const Bytes flash{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(flash.size(), kControllerFlashBytes + 16 * kSectorBytes);
    ExpectImageAt(flash, 54 * 128, controller, 128);
    ExpectImageAt(flash, kControllerFlashBytes, dsp, 256);
    ExpectImageAt(flash, kControllerFlashBytes + 11 * kSectorBytes, presets, 256);
    ExpectImageAt(flash, kControllerFlashBytes + 15 * kSectorBytes, amplifiers, 256);
}

TEST_F(FlashEngineSimTest, AnInjectedFaultStopsTheJobWithItsText)
{
    // The second page's data answer of the first upload.
    StartUnit({"--fail-at", "data:2:nak"});
    EnterBootloader();
    const auto& amplifiers = FirmwareImages::AmplifierTable();
    ASSERT_TRUE(engine->StartUploadAmplifierTable(amplifiers.Data(), amplifiers.Size()));
    EXPECT_EQ(RunToEnd(), "No ACK for page data. USB failed. DSP Sector=15, Page=1\n");
    EXPECT_TRUE(link->IsConnected());

    ASSERT_TRUE(engine->StartUploadAmplifierTable(amplifiers.Data(), amplifiers.Size()));
    EXPECT_EQ(RunToEnd(), "") << "the next job starts afresh";
}

TEST_F(FlashEngineSimTest, PullingTheUnitDuringAnUploadClosesTheLinkWithinASecond)
{
    StartUnit({});
    EnterBootloader();
    const auto& dsp = FirmwareImages::DspProgram();
    ASSERT_TRUE(engine->StartUploadDsp(dsp.Data(), dsp.Size()));
    PlatformClock::Sleep(500); // a few pages into the upload
    ASSERT_FALSE(engine->IsFlashJobIdle());

    unit.kill();
    const auto pulled = std::chrono::steady_clock::now();
    // Watched without pause: whoever looks at the link and then at the text (the firmware update)
    // must find the unit gone, never the text of the step that met its departure. So a text seen
    // must never be followed by a link still connected.
    bool textWhileConnected = false;
    for (bool connected = true; connected;)
    {
        const bool textShown = !link->GetMessageText().IsEmpty();
        connected = link->IsConnected();
        textWhileConnected = textWhileConnected || (textShown && connected);
        if (std::chrono::steady_clock::now() - pulled > std::chrono::milliseconds(kWaitMs))
            break;
    }
    ASSERT_FALSE(link->IsConnected());
    EXPECT_FALSE(textWhileConnected) << link->GetMessageText().CStr();
    EXPECT_LT(std::chrono::steady_clock::now() - pulled, std::chrono::milliseconds(kPulledUnitMs));
    // The job ends right after the close, with its text.
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return engine->IsFlashJobIdle(); }, kWaitMs));
    EXPECT_NE(link->GetMessageText(), "") << "the job ended with a failure text";
}
