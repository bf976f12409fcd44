#pragma once

#include "core/XString.h"
#include "device/IFlashEngine.h"

#include <atomic>
#include <cstdint>
#include <vector>

class UsbLinkManager;

/** The bootloader's flash engine: writes and verifies the unit's controller flash (128-byte pages)
    and serial flash (256-byte pages, 64 KiB sectors), erases it and leaves the bootloader, over the
    unit's one-byte bootloader commands answered with "ACK", "NAK" or "FFF".

    A job setter (any thread) posts one job and turns the link's flash mode on; the link's pump thread
    then runs the whole job in one RunFlashJob call. The job fields and the job state are guarded by
    the link's mutex (UsbLinkManager::GetMutex). The first failure ends the job and leaves its text
    in the link's message text, which a job's start empties; nothing is retried. A job that failed
    because the unit left closes the link's pipes before its text is set. The setters copy the
    image, so the caller's buffer need not outlive the call; a partial page of 64, 128 or 192 bytes
    goes out with one spare 0xFF byte after the image.

    The engine registers itself with the link it is made for and unregisters when destroyed; the
    program's engine (Instance) serves UsbLinkManager::Instance() and is never destroyed. */
class FlashEngine final : public IFlashEngine
{
public:
    /** Job states. */
    static constexpr int32_t kIdle = 1;
    static constexpr int32_t kWriteController = 3;
    static constexpr int32_t kWriteFlash = 6;
    static constexpr int32_t kEraseAll = 8;
    static constexpr int32_t kEraseSector = 9;
    static constexpr int32_t kLeaveBootloader = 10;

    /** Bootloader command bytes besides the job states above. */
    static constexpr uint8_t kVerifyControllerPage = 2;
    static constexpr uint8_t kVerifyFlashPage = 5;

    static constexpr int kControllerPageSize = 128;
    static constexpr int32_t kControllerStartPage = 54;
    static constexpr int32_t kLastControllerPage = 511;
    static constexpr int kFlashPageSize = 256;
    static constexpr int32_t kPagesPerSector = 256;
    static constexpr int32_t kSectorCount = 16;
    static constexpr int32_t kDspSector = 0;
    static constexpr int32_t kFirstUserPresetSector = 5;
    static constexpr int32_t kLastUserPresetSector = 10;
    static constexpr int32_t kFactoryPresetsSector = 11;
    static constexpr int32_t kAmplifierTableSector = 15;

    static constexpr uint32_t kEraseSettleMs = 1000;
    static constexpr uint32_t kExitSettleMs = 10;
    static constexpr uint32_t kVerifyWaitMs = 100;
    static constexpr uint32_t kPartialVerifyWaitMs = 20;
    /** How long answers other than the awaited ones are read past before the step fails. */
    static constexpr uint32_t kReadPastLimitMs = 60000;
    /** How long StartEraseFlashKeepUserPresets waits for one sector's erase to end. */
    static constexpr uint32_t kSectorEraseWaitMs = 90000;

    explicit FlashEngine(UsbLinkManager& link);
    ~FlashEngine() override;
    FlashEngine(const FlashEngine&) = delete;
    FlashEngine& operator=(const FlashEngine&) = delete;

    /** The program's engine, serving UsbLinkManager::Instance(); made on first use. */
    static FlashEngine& Instance();

    /** Write a serial-flash image from page 0 of sector 0, 11 or 15; false for a null or empty
        image. */
    bool StartUploadDsp(const char* data, int size);
    bool StartUploadFactoryPresets(const char* data, int size);
    bool StartUploadAmplifierTable(const char* data, int size);
    /** Write the controller image from page 54; refuses an image that does not fit with the message
        text "The selected starting page is too high. Not enough room in flash.". */
    bool StartUploadAtmel(const char* data, int size);
    /** Erase the whole serial flash, then wait kEraseSettleMs. */
    bool StartEraseFlash();
    /** Erase sectors 0..4 and 11..15 one by one, sparing the user presets in sectors 5..10. Waits for
        each sector; false as soon as one failed (its text is in the message text), the link dropped
        or kSectorEraseWaitMs passed. */
    bool StartEraseFlashKeepUserPresets();
    /** Leave the bootloader and start the application, then wait kExitSettleMs. */
    bool StartExitBootloader();

    void RunFlashJob(CFCPipeUSB& pipe) override;
    bool IsFlashJobIdle() const override;
    int32_t GetJobState() const;

private:
    struct Job
    {
        int32_t state = kIdle;
        std::vector<uint8_t> image; // the image and one spare byte
        int size = 0;
        int32_t sector = 0;
        int32_t startPage = 0;
    };
    bool StartUploadFlash(const char* data, int size, int32_t sector);
    void Post(Job job);

    bool WriteControllerImage(CFCPipeUSB& pipe, const Job& job);
    bool WriteFlashImage(CFCPipeUSB& pipe, const Job& job);
    bool Erase(CFCPipeUSB& pipe, bool oneSector, int32_t sector);
    bool LeaveBootloader(CFCPipeUSB& pipe);

    /** Formats the failure into failureText, which RunFlashJob hands to the link's message text
        when the job has ended; false. */
    bool Fail(const char* format, int32_t first = 0, int32_t second = 0);

    UsbLinkManager& link;
    Job posted;              // guarded by the link's mutex
    uint32_t postSerial = 0; // guarded by the link's mutex
    XString failureText;     // the running job's failure; the pump thread only
    /** Sector erases that ended with "ACK": the job event of the keep-user-presets erase. */
    std::atomic<int32_t> sectorsErased{0};
};
