#include "device/FlashEngine.h"

#include "core/XSmartLock.h"
#include "core/XString.h"
#include "device/CFCPipeUSB.h"
#include "device/UsbLinkManager.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace
{
constexpr int kAnswerSize = 3;
constexpr uint8_t kPadByte = 0xFF;
constexpr uint32_t kPollStepMs = 5;
constexpr const char* kNoRoomText = "The selected starting page is too high. Not enough room in flash.";

/** The three-byte answers of the bootloader. */
enum class Answer
{
    ack,
    nak,
    failed, // "FFF"
    other,
};

Answer Classify(const char* answer)
{
    if (std::memcmp(answer, "ACK", kAnswerSize) == 0)
        return Answer::ack;
    if (std::memcmp(answer, "NAK", kAnswerSize) == 0)
        return Answer::nak;
    if (std::memcmp(answer, "FFF", kAnswerSize) == 0)
        return Answer::failed;
    return Answer::other;
}

/** One write on the pipe that must take all n bytes. */
bool WriteBlock(CFCPipeUSB& pipe, const void* bytes, int n)
{
    unsigned written = 0;
    return pipe.Write(bytes, n, &written) == 0 && written == static_cast<unsigned>(n);
}

bool WriteByte(CFCPipeUSB& pipe, uint8_t byte)
{
    return WriteBlock(pipe, &byte, 1);
}

void PutInt32(std::vector<uint8_t>& bytes, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

/** Reads one answer; nothing when it could not be read. */
bool ReadAnswer(CFCPipeUSB& pipe, Answer& answer)
{
    char bytes[kAnswerSize] = {};
    if (pipe.ReadOverlapped(bytes, kAnswerSize) != 0)
        return false;
    answer = Classify(bytes);
    return true;
}

/** Reads answers past every one that is not wanted(), for at most kReadPastLimitMs; false when an
    answer could not be read or the limit passed. */
template <typename Wanted> bool ReadAnswerUntil(CFCPipeUSB& pipe, Answer& answer, Wanted wanted)
{
    const uint32_t start = PlatformClock::GetTickCount();
    while (ReadAnswer(pipe, answer))
    {
        if (wanted(answer))
            return true;
        if (PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) >= FlashEngine::kReadPastLimitMs)
            return false;
    }
    return false;
}

/** The texts of the steps of writing and verifying one page. */
struct PageTexts
{
    const char* writeCommand;
    const char* commandNotRead;
    const char* commandNotAcknowledged;
    const char* writeHeader;
    const char* headerNotRead;
    const char* headerNotAcknowledged;
    const char* writeData;
    const char* dataNotRead;
    const char* dataNotAcknowledged;
    const char* writeVerifyCommand;
    const char* verifyCommandNotRead;
    const char* verifyCommandNotAcknowledged;
    const char* writeVerifyHeader;
    const char* verifyBytesNotRead;
    const char* verifyMismatch;
};

const PageTexts kControllerTexts = {
    "Write cmd to USB failed. Page=%d\n",           "USB response to write cmd failed. Page=%d\n",
    "No ACK for write cmd. USB failed. Page=%d\n",  "Write page # to USB failed. Page=%d\n",
    "USB response to page # failed. Page=%d\n",     "No ACK for page #. USB failed. Page=%d\n",
    "Write page data to USB failed. Page=%d\n",     "USB response to page data failed. Page=%d\n",
    "No ACK for page data. USB failed. Page=%d\n",  "Verify cmd to USB failed. Page=%d\n",
    "USB response to verify cmd failed. Page=%d\n", "Verify cmd not acknowledged. USB failed. Page=%d\n",
    "Verify page # to USB failed. Page=%d\n",       "USB response to verify page # failed. Page=%d\n",
    "Flash data verification failed. Page=%d\n",
};

const PageTexts kFlashTexts = {
    "Write cmd to USB failed. DSP Sector=%d, Page=%d\n",
    "USB response to write cmd failed. DSP Sector=%d, Page=%d\n",
    "No ACK for write cmd. USB failed. DSP Sector=%d, Page=%d\n",
    "Write page # to USB failed. DSP Sector=%d, Page=%d\n",
    "USB response to page # failed. DSP Sector=%d, Page=%d\n",
    "No ACK for page #. USB failed. DSP Sector=%d, Page=%d\n",
    "Write page data to USB failed. DSP Sector=%d, Page=%d\n",
    "USB response to page data failed. DSP Sector=%d, Page=%d\n",
    "No ACK for page data. USB failed. DSP Sector=%d, Page=%d\n",
    "Verify cmd to USB failed. DSP Sector=%d, Page=%d\n",
    "USB response to verify cmd failed. DSP Sector=%d, Page=%d\n",
    "Verify cmd not acknowledged. USB failed. DSP Sector=%d, Page=%d\n",
    "Verify page # to USB failed. DSP Sector=%d, Page=%d\n",
    "USB response to verify page # failed. DSP Sector=%d, Page=%d\n",
    "Flash data verification failed. DSP Sector=%d, Page=%d\n",
};
constexpr const char* kPartialVerifyCommandText = "Verify cmd to USB failed. Page=%d\n";
constexpr const char* kPartialMismatchText =
    "Flash data verification failed. DSP Sector=%d, Page=%d (partial)\n";

constexpr const char* kEraseWriteCommandText = "Write cmd to USB failed for EraseSPIFlash.";
constexpr const char* kEraseCommandNotReadText = "USB response to EraseSPIFlash cmd failed.";
constexpr const char* kEraseCommandRefusedText = "No ACK for EraseSPIFlash cmd.";
constexpr const char* kWriteSectorText = "Write sector # to USB failed. Sector=%d\n";
constexpr const char* kSectorNotReadText = "USB response to sector # to USB failed. Sector=%d\n";
constexpr const char* kSectorRefusedText = "No ACK for sector # to USB failed. Sector=%d\n";
constexpr const char* kStatusNotReadText = "USB response to EraseSPIFlash status failed.";
constexpr const char* kStatusTimedOutText = "EraseSPIFlash status: timed out.";
constexpr const char* kStatusFailedText = "EraseSPIFlash status: command failed immediately.";

constexpr const char* kLeaveWriteCommandText = "Write cmd to USB failed for BootApplication.";
constexpr const char* kLeaveNotReadText = "USB response to BootApplication cmd failed.";
constexpr const char* kLeaveRefusedText = "No ACK for BootApplication cmd.";

/** One page to write and verify. */
struct PageWrite
{
    uint8_t command = 0;
    uint8_t verifyCommand = 0;
    std::vector<uint8_t> header;
    std::vector<uint8_t> verifyHeader;
    const uint8_t* data = nullptr;
    int sendCount = 0;
    int compareCount = 0;
    int pageSize = 0;
    uint32_t verifyWaitMs = 0;
    /** Serial flash: answers to the data other than "ACK" and "NAK" are read past. */
    bool readPastDataAnswers = false;
    const PageTexts* texts = nullptr;
    /** The failure texts' numbers: the page, or the sector and the page. */
    int32_t first = 0;
    int32_t second = 0;
    /** The last partial serial-flash page: its own texts for the verify command and comparison. */
    bool partial = false;
    int32_t fullPagesWritten = 0;
};

/** A failure text and its numbers; a null format means success. */
struct Failure
{
    const char* format = nullptr;
    int32_t first = 0;
    int32_t second = 0;
};

/** Writes one page with its command and header, then reads it back and compares it. */
Failure WriteAndVerifyPage(CFCPipeUSB& pipe, const PageWrite& page)
{
    const PageTexts& texts = *page.texts;
    const auto fail = [&page](const char* format) { return Failure{format, page.first, page.second}; };
    Answer answer = Answer::other;

    if (!WriteByte(pipe, page.command))
        return fail(texts.writeCommand);
    if (!ReadAnswer(pipe, answer))
        return fail(texts.commandNotRead);
    if (answer != Answer::ack)
        return fail(texts.commandNotAcknowledged);

    if (!WriteBlock(pipe, page.header.data(), static_cast<int>(page.header.size())))
        return fail(texts.writeHeader);
    if (!ReadAnswer(pipe, answer))
        return fail(texts.headerNotRead);
    if (answer != Answer::ack)
        return fail(texts.headerNotAcknowledged);

    if (!WriteBlock(pipe, page.data, page.sendCount))
        return fail(texts.writeData);
    const bool dataAnswered =
        page.readPastDataAnswers
            ? ReadAnswerUntil(pipe, answer, [](Answer a) { return a == Answer::ack || a == Answer::nak; })
            : ReadAnswer(pipe, answer);
    if (!dataAnswered)
        return fail(texts.dataNotRead);
    if (answer != Answer::ack)
        return fail(texts.dataNotAcknowledged);

    if (!WriteByte(pipe, page.verifyCommand))
        return page.partial ? Failure{kPartialVerifyCommandText, page.fullPagesWritten, 0}
                            : fail(texts.writeVerifyCommand);
    if (!ReadAnswer(pipe, answer))
        return fail(texts.verifyCommandNotRead);
    if (answer != Answer::ack)
        return fail(texts.verifyCommandNotAcknowledged);

    if (!WriteBlock(pipe, page.verifyHeader.data(), static_cast<int>(page.verifyHeader.size())))
        return fail(texts.writeVerifyHeader);
    if (page.verifyWaitMs > 0)
        PlatformClock::Sleep(page.verifyWaitMs);
    std::vector<uint8_t> readBack(static_cast<size_t>(page.pageSize));
    if (pipe.ReadOverlapped(readBack.data(), page.pageSize) != 0)
        return fail(texts.verifyBytesNotRead);
    if (std::memcmp(readBack.data(), page.data, static_cast<size_t>(page.compareCount)) != 0)
        return fail(page.partial ? kPartialMismatchText : texts.verifyMismatch);
    return {};
}
} // namespace

FlashEngine::FlashEngine(UsbLinkManager& servedLink) : link(servedLink)
{
    link.SetFlashEngine(this);
}

FlashEngine::~FlashEngine()
{
    link.SetFlashEngine(nullptr);
}

FlashEngine& FlashEngine::Instance()
{
    static auto* engine = new FlashEngine(UsbLinkManager::Instance()); // lives as long as the link
    return *engine;
}

// ---------------------------------------------------------------------------------------------------------
// Job setters.

void FlashEngine::Post(Job job)
{
    XSmartLock hold(link.GetMutex());
    posted = std::move(job);
    ++postSerial;
    link.SetFlashMode(true);
}

bool FlashEngine::StartUploadFlash(const char* data, int size, int32_t sector)
{
    if (data == nullptr || size <= 0)
        return false;
    Job job;
    job.state = kWriteFlash;
    job.image.assign(data, data + size);
    job.image.push_back(kPadByte); // the spare byte a 64, 128 or 192-byte last page sends
    job.size = size;
    job.sector = sector;
    Post(std::move(job));
    return true;
}

bool FlashEngine::StartUploadDsp(const char* data, int size)
{
    return StartUploadFlash(data, size, kDspSector);
}

bool FlashEngine::StartUploadFactoryPresets(const char* data, int size)
{
    return StartUploadFlash(data, size, kFactoryPresetsSector);
}

bool FlashEngine::StartUploadAmplifierTable(const char* data, int size)
{
    return StartUploadFlash(data, size, kAmplifierTableSector);
}

bool FlashEngine::StartUploadAtmel(const char* data, int size)
{
    if (data == nullptr || size <= 0)
        return false;
    if (size / kControllerPageSize + kControllerStartPage + 1 > kLastControllerPage)
    {
        link.SetMessageText(kNoRoomText);
        return false;
    }
    Job job;
    job.state = kWriteController;
    job.image.assign(data, data + size);
    job.size = size;
    job.startPage = kControllerStartPage;
    Post(std::move(job));
    return true;
}

bool FlashEngine::StartEraseFlash()
{
    Job job;
    job.state = kEraseAll;
    Post(std::move(job));
    PlatformClock::Sleep(kEraseSettleMs);
    return true;
}

bool FlashEngine::StartEraseFlashKeepUserPresets()
{
    for (int32_t sector = 0; sector < kSectorCount; ++sector)
    {
        if (sector >= kFirstUserPresetSector && sector <= kLastUserPresetSector)
            continue;
        const int32_t erasedBefore = sectorsErased.load();
        Job job;
        job.state = kEraseSector;
        job.sector = sector;
        Post(std::move(job));

        const uint32_t start = PlatformClock::GetTickCount();
        for (;;)
        {
            if (sectorsErased.load() != erasedBefore)
                break;
            // Ended without the erase counted: failed, its text is in the message text.
            if (IsFlashJobIdle() && sectorsErased.load() == erasedBefore)
                return false;
            if (!link.IsConnected() ||
                PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) >= kSectorEraseWaitMs)
                return false;
            PlatformClock::Sleep(kPollStepMs);
        }
    }
    return true;
}

bool FlashEngine::StartExitBootloader()
{
    Job job;
    job.state = kLeaveBootloader;
    Post(std::move(job));
    PlatformClock::Sleep(kExitSettleMs);
    return true;
}

bool FlashEngine::IsFlashJobIdle() const
{
    return GetJobState() == kIdle;
}

int32_t FlashEngine::GetJobState() const
{
    XSmartLock hold(link.GetMutex());
    return posted.state;
}

// ---------------------------------------------------------------------------------------------------------
// The engine, on the pump thread.

void FlashEngine::RunFlashJob(CFCPipeUSB& pipe)
{
    Job job;
    uint32_t serial = 0;
    {
        XSmartLock hold(link.GetMutex());
        if (posted.state == kIdle)
            return;
        job.state = posted.state;
        job.image.swap(posted.image); // the job state stays posted until the job ends
        job.size = posted.size;
        job.sector = posted.sector;
        job.startPage = posted.startPage;
        serial = postSerial;
        link.SetMessageText(XString());
    }

    failureText = XString();
    bool done = true;
    switch (job.state)
    {
    case kWriteController:
        done = WriteControllerImage(pipe, job);
        break;
    case kWriteFlash:
        done = WriteFlashImage(pipe, job);
        break;
    case kEraseAll:
        done = Erase(pipe, false, 0);
        break;
    case kEraseSector:
        done = Erase(pipe, true, job.sector);
        break;
    case kLeaveBootloader:
        done = LeaveBootloader(pipe);
        break;
    default:
        break;
    }
    if (!done)
    {
        // A unit that left shows as gone before the failure text does, so that whoever looks at the
        // link first and then at the text (the firmware update) reports the missing unit, never the
        // step that met its departure.
        if (pipe.IsPeerGone())
            pipe.Close();
        link.SetMessageText(failureText);
    }

    XSmartLock hold(link.GetMutex());
    if (serial == postSerial) // a job posted meanwhile stays posted
        posted = Job();
}

bool FlashEngine::WriteControllerImage(CFCPipeUSB& pipe, const Job& job)
{
    const int pageCount = (job.size + kControllerPageSize - 1) / kControllerPageSize;
    uint8_t block[kControllerPageSize];
    for (int index = 0; index < pageCount; ++index)
    {
        const int offset = index * kControllerPageSize;
        const int count = std::min(kControllerPageSize, job.size - offset);
        std::memcpy(block, job.image.data() + offset, static_cast<size_t>(count));
        std::fill(block + count, block + kControllerPageSize, kPadByte);

        PageWrite page;
        page.command = kWriteController;
        page.verifyCommand = kVerifyControllerPage;
        const int32_t number = job.startPage + index;
        PutInt32(page.header, number);
        PutInt32(page.header, kControllerPageSize);
        PutInt32(page.verifyHeader, number);
        page.data = block;
        page.sendCount = kControllerPageSize;
        page.compareCount = count;
        page.pageSize = kControllerPageSize;
        page.texts = &kControllerTexts;
        page.first = number;
        if (const Failure failure = WriteAndVerifyPage(pipe, page); failure.format != nullptr)
            return Fail(failure.format, failure.first, failure.second);
    }
    return true;
}

bool FlashEngine::WriteFlashImage(CFCPipeUSB& pipe, const Job& job)
{
    const int fullPages = job.size / kFlashPageSize;
    const int rest = job.size % kFlashPageSize;
    int32_t sector = job.sector;
    int32_t pageNumber = job.startPage;
    for (int index = 0; index < fullPages + (rest > 0 ? 1 : 0); ++index, ++pageNumber)
    {
        if (pageNumber >= kPagesPerSector)
        {
            ++sector;
            pageNumber = 0;
        }
        const bool partial = index == fullPages;
        PageWrite page;
        page.command = kWriteFlash;
        page.verifyCommand = kVerifyFlashPage;
        PutInt32(page.header, sector);
        PutInt32(page.header, pageNumber);
        page.verifyHeader = page.header;
        page.data = job.image.data() + index * kFlashPageSize;
        page.sendCount = kFlashPageSize;
        page.compareCount = kFlashPageSize;
        page.pageSize = kFlashPageSize;
        page.verifyWaitMs = kVerifyWaitMs;
        page.readPastDataAnswers = true;
        page.texts = &kFlashTexts;
        page.first = sector;
        page.second = pageNumber;
        if (partial)
        {
            // A last page of a quarter, half or three quarters goes one byte longer (the spare byte).
            const bool quarterPage = rest % (kFlashPageSize / 4) == 0;
            page.sendCount = quarterPage ? rest + 1 : rest;
            page.compareCount = rest;
            page.verifyWaitMs = kPartialVerifyWaitMs;
            page.partial = true;
            page.fullPagesWritten = fullPages;
        }
        if (const Failure failure = WriteAndVerifyPage(pipe, page); failure.format != nullptr)
            return Fail(failure.format, failure.first, failure.second);
    }
    return true;
}

bool FlashEngine::Erase(CFCPipeUSB& pipe, bool oneSector, int32_t sector)
{
    Answer answer = Answer::other;
    if (!WriteByte(pipe, static_cast<uint8_t>(oneSector ? kEraseSector : kEraseAll)))
        return Fail(kEraseWriteCommandText);
    if (!ReadAnswer(pipe, answer))
        return Fail(kEraseCommandNotReadText);
    // The sector erase refuses only on "NAK"; the whole erase wants its "ACK".
    if (oneSector ? answer == Answer::nak : answer != Answer::ack)
        return Fail(kEraseCommandRefusedText);

    if (oneSector)
    {
        std::vector<uint8_t> header;
        PutInt32(header, sector);
        if (!WriteBlock(pipe, header.data(), static_cast<int>(header.size())))
            return Fail(kWriteSectorText, sector);
        if (!ReadAnswer(pipe, answer))
            return Fail(kSectorNotReadText, sector);
        if (answer == Answer::nak)
            return Fail(kSectorRefusedText, sector);
    }

    if (!ReadAnswerUntil(pipe, answer, [](Answer a) { return a != Answer::other; }))
        return Fail(kStatusNotReadText);
    if (answer == Answer::nak)
        return Fail(kStatusTimedOutText);
    if (answer == Answer::failed)
        return Fail(kStatusFailedText);
    if (oneSector)
        sectorsErased.fetch_add(1);
    return true;
}

bool FlashEngine::LeaveBootloader(CFCPipeUSB& pipe)
{
    Answer answer = Answer::other;
    if (!WriteByte(pipe, static_cast<uint8_t>(kLeaveBootloader)))
        return Fail(kLeaveWriteCommandText);
    if (!ReadAnswer(pipe, answer))
        return Fail(kLeaveNotReadText);
    if (answer != Answer::ack)
        return Fail(kLeaveRefusedText);
    link.SetFlashMode(false);
    return true;
}

bool FlashEngine::Fail(const char* format, int32_t first, int32_t second)
{
    failureText.Format(format, first, second); // texts with one number ignore the second
    return false;
}
