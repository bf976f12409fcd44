#include "SimBootloader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace
{
constexpr uint8_t kVerifyControllerPage = 2;
constexpr uint8_t kWriteControllerPage = 3;
constexpr uint8_t kVerifyFlashPage = 5;
constexpr uint8_t kWriteFlashPage = 6;
constexpr uint8_t kEraseAll = 8;
constexpr uint8_t kEraseSector = 9;
constexpr uint8_t kBootApplication = 10;

constexpr size_t kInt32Size = 4;
constexpr const char* kAck = "ACK";
constexpr const char* kNak = "NAK";
constexpr const char* kBusy = "BSY"; // an erase in progress; the editor reads past it
constexpr const char* kUnknownAnswer = "XYZ";

int32_t Int32At(const uint8_t* bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return static_cast<int32_t>(value);
}

void Append(std::vector<uint8_t>& answer, const char* text)
{
    answer.insert(answer.end(), text, text + std::strlen(text));
}

bool Fail(std::string& error, std::string reason)
{
    error = std::move(reason);
    return false;
}
} // namespace

bool SimFlashFault::Parse(const std::string& text, SimFlashFault& fault, std::string& error)
{
    const size_t firstColon = text.find(':');
    const size_t secondColon = firstColon == std::string::npos ? firstColon : text.find(':', firstColon + 1);
    if (secondColon == std::string::npos)
        return Fail(error, "--fail-at needs STEP:N:KIND, not \"" + text + "\"");
    const std::string step = text.substr(0, firstColon);
    const std::string number = text.substr(firstColon + 1, secondColon - firstColon - 1);
    const std::string kind = text.substr(secondColon + 1);

    static const std::pair<const char*, Step> kSteps[] = {{"command", Step::command},
                                                          {"header", Step::header},
                                                          {"data", Step::data},
                                                          {"verify", Step::verify},
                                                          {"status", Step::status}};
    static const std::pair<const char*, Kind> kKinds[] = {{"nak", Kind::nak},
                                                          {"fff", Kind::fff},
                                                          {"wrong", Kind::wrong},
                                                          {"silent", Kind::silent},
                                                          {"vanish", Kind::vanish}};
    const auto stepAt = std::find_if(std::begin(kSteps), std::end(kSteps),
                                     [&step](const auto& entry) { return step == entry.first; });
    if (stepAt == std::end(kSteps))
        return Fail(error,
                    "--fail-at step must be command, header, data, verify or status, not \"" + step + "\"");
    const auto kindAt = std::find_if(std::begin(kKinds), std::end(kKinds),
                                     [&kind](const auto& entry) { return kind == entry.first; });
    if (kindAt == std::end(kKinds))
        return Fail(error, "--fail-at kind must be nak, fff, wrong, silent or vanish, not \"" + kind + "\"");
    if (number.empty() || number.size() > 9 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        std::stoi(number) < 1)
        return Fail(error, "--fail-at needs an answer number from 1, not \"" + number + "\"");

    fault.step = stepAt->second;
    fault.occurrence = std::stoi(number);
    fault.kind = kindAt->second;
    return true;
}

SimBootloader::SimBootloader(std::vector<SimFlashFault> plannedFaults)
    : faults(std::move(plannedFaults)),
      controller(static_cast<size_t>(kControllerPageCount) * kControllerPageSize, kErased),
      serial(static_cast<size_t>(kSectorCount) * kPagesPerSector * kFlashPageSize, kErased)
{
}

void SimBootloader::BeginSession()
{
    ResetInput();
    controllerWritten = false;
    unverifiedPages.clear();
}

void SimBootloader::ResetInput()
{
    pending.clear();
    expect = Expect::command;
}

size_t SimBootloader::ExpectedSize() const
{
    switch (expect)
    {
    case Expect::command:
        return 1;
    case Expect::controllerHeader:
    case Expect::flashHeader:
    case Expect::flashVerifyHeader:
        return 2 * kInt32Size;
    case Expect::controllerData:
        return kControllerPageSize;
    case Expect::controllerVerifyHeader:
    case Expect::sector:
        return kInt32Size;
    case Expect::flashData:
        return 0;
    }
    return 1;
}

void SimBootloader::Receive(const uint8_t* bytes, size_t count, std::vector<uint8_t>& answer,
                            Outcome& outcome)
{
    if (expect == Expect::flashData && pending.empty() && count > 0)
    {
        // The page data is the whole of the write that follows the header's answer.
        const size_t size = std::min(count, static_cast<size_t>(kFlashPageSize));
        HandleBlock(bytes, size, answer, outcome);
        bytes += size;
        count -= size;
    }
    pending.insert(pending.end(), bytes, bytes + count);
    size_t used = 0;
    while (!outcome.vanish)
    {
        const size_t needed = ExpectedSize();
        const size_t available = pending.size() - used;
        if (needed == 0)
        {
            if (available == 0)
                break;
            const size_t size = std::min(available, static_cast<size_t>(kFlashPageSize));
            HandleBlock(pending.data() + used, size, answer, outcome);
            used += size;
            continue;
        }
        if (available < needed)
            break;
        HandleBlock(pending.data() + used, needed, answer, outcome);
        used += needed;
    }
    pending.erase(pending.begin(),
                  pending.begin() + static_cast<std::ptrdiff_t>(std::min(used, pending.size())));
}

const SimFlashFault* SimBootloader::NextFault(SimFlashFault::Step step)
{
    const int number = ++answersOfStep[static_cast<int>(step)];
    for (const SimFlashFault& fault : faults)
        if (fault.step == step && fault.occurrence == number)
            return &fault;
    return nullptr;
}

bool SimBootloader::Answer(SimFlashFault::Step step, const char* text, std::vector<uint8_t>& answer,
                           Outcome& outcome)
{
    const SimFlashFault* fault = NextFault(step);
    if (fault == nullptr)
    {
        Append(answer, text);
        return std::strcmp(text, kAck) == 0;
    }
    using Kind = SimFlashFault::Kind;
    switch (fault->kind)
    {
    case Kind::nak:
        outcome.notes.push_back("bootloader: injected NAK");
        Append(answer, kNak);
        return false;
    case Kind::fff:
        outcome.notes.push_back("bootloader: injected FFF");
        Append(answer, "FFF");
        return false;
    case Kind::wrong:
        outcome.notes.push_back("bootloader: injected an unknown answer");
        Append(answer, kUnknownAnswer);
        // The editor reads past unknown page-data and erase-status answers, and accepts any answer
        // but "NAK" to a sector erase; elsewhere the unknown answer ends its job.
        if (step == SimFlashFault::Step::data || step == SimFlashFault::Step::status)
        {
            Append(answer, text);
            return std::strcmp(text, kAck) == 0;
        }
        return command == kEraseSector;
    case Kind::silent:
        outcome.notes.push_back("bootloader: injected silence");
        return false;
    case Kind::vanish:
        outcome.notes.push_back("bootloader: injected the unit's departure");
        outcome.vanish = true;
        return false;
    }
    return false;
}

void SimBootloader::SendPage(const uint8_t* page, size_t size, std::vector<uint8_t>& answer, Outcome& outcome)
{
    const SimFlashFault* fault = NextFault(SimFlashFault::Step::verify);
    const size_t start = answer.size();
    if (fault == nullptr || fault->kind == SimFlashFault::Kind::wrong)
        answer.insert(answer.end(), page, page + size);
    if (fault == nullptr)
        return;
    switch (fault->kind)
    {
    case SimFlashFault::Kind::wrong:
        answer[start] ^= 0x01;
        outcome.notes.push_back("bootloader: injected a wrong verify byte");
        break;
    case SimFlashFault::Kind::vanish:
        outcome.vanish = true;
        outcome.notes.push_back("bootloader: injected the unit's departure");
        break;
    default:
        outcome.notes.push_back("bootloader: injected silence");
        break;
    }
}

void SimBootloader::EraseSectors(int first, int last, Outcome& outcome)
{
    const size_t sectorBytes = static_cast<size_t>(kPagesPerSector) * kFlashPageSize;
    std::fill(serial.begin() + static_cast<std::ptrdiff_t>(first * sectorBytes),
              serial.begin() + static_cast<std::ptrdiff_t>((last + 1) * sectorBytes), kErased);
    if (first <= kLastUserPresetSector && last >= kFirstUserPresetSector)
        outcome.userPresetsErased = true;
}

void SimBootloader::HandleCommand(uint8_t received, std::vector<uint8_t>& answer, Outcome& outcome)
{
    using Step = SimFlashFault::Step;
    command = received;
    switch (command)
    {
    case kVerifyControllerPage:
        if (Answer(Step::command, kAck, answer, outcome))
            expect = Expect::controllerVerifyHeader;
        return;
    case kWriteControllerPage:
        if (Answer(Step::command, kAck, answer, outcome))
            expect = Expect::controllerHeader;
        return;
    case kVerifyFlashPage:
        if (Answer(Step::command, kAck, answer, outcome))
            expect = Expect::flashVerifyHeader;
        return;
    case kWriteFlashPage:
        if (Answer(Step::command, kAck, answer, outcome))
            expect = Expect::flashHeader;
        return;
    case kEraseAll:
        if (!Answer(Step::command, kAck, answer, outcome))
            return;
        Append(answer, kBusy);
        if (Answer(Step::status, kAck, answer, outcome))
        {
            EraseSectors(0, kSectorCount - 1, outcome);
            outcome.notes.push_back("bootloader: serial flash erased");
        }
        return;
    case kEraseSector:
        if (Answer(Step::command, kAck, answer, outcome))
            expect = Expect::sector;
        return;
    case kBootApplication:
        if (Answer(Step::command, kAck, answer, outcome))
            outcome.leave = true;
        return;
    default:
        Append(answer, kNak);
        outcome.notes.push_back("bootloader: unknown command " + std::to_string(command));
        return;
    }
}

void SimBootloader::HandleBlock(const uint8_t* block, size_t size, std::vector<uint8_t>& answer,
                                Outcome& outcome)
{
    const Expect was = expect;
    expect = Expect::command; // also after every refusal
    switch (was)
    {
    case Expect::command:
        HandleCommand(block[0], answer, outcome);
        return;
    case Expect::controllerHeader:
    case Expect::controllerData:
    case Expect::controllerVerifyHeader:
        HandleControllerBlock(was, block, size, answer, outcome);
        return;
    case Expect::flashHeader:
    case Expect::flashData:
    case Expect::flashVerifyHeader:
        HandleFlashBlock(was, block, size, answer, outcome);
        return;
    case Expect::sector:
        HandleEraseBlock(block, answer, outcome);
        return;
    }
}

void SimBootloader::HandleControllerBlock(Expect was, const uint8_t* block, size_t size,
                                          std::vector<uint8_t>& answer, Outcome& outcome)
{
    using Step = SimFlashFault::Step;
    switch (was)
    {
    case Expect::controllerHeader:
        headerFirst = Int32At(block);
        if (headerFirst < kFirstWritableControllerPage || headerFirst >= kControllerPageCount ||
            Int32At(block + kInt32Size) != kControllerPageSize)
            Append(answer, kNak);
        else if (Answer(Step::header, kAck, answer, outcome))
            expect = Expect::controllerData;
        return;
    case Expect::controllerData:
        std::memcpy(controller.data() + static_cast<size_t>(headerFirst) * kControllerPageSize, block, size);
        controllerWritten = true;
        unverifiedPages.insert(headerFirst);
        Answer(Step::data, kAck, answer, outcome);
        return;
    case Expect::controllerVerifyHeader:
    {
        const int32_t page = Int32At(block);
        if (page < 0 || page >= kControllerPageCount)
        {
            Append(answer, kNak);
            return;
        }
        unverifiedPages.erase(page);
        SendPage(controller.data() + static_cast<size_t>(page) * kControllerPageSize, kControllerPageSize,
                 answer, outcome);
        return;
    }
    default:
        return;
    }
}

void SimBootloader::HandleFlashBlock(Expect was, const uint8_t* block, size_t size,
                                     std::vector<uint8_t>& answer, Outcome& outcome)
{
    using Step = SimFlashFault::Step;
    switch (was)
    {
    case Expect::flashHeader:
        headerFirst = Int32At(block);
        headerSecond = Int32At(block + kInt32Size);
        if (headerFirst < 0 || headerFirst >= kSectorCount || headerSecond < 0 ||
            headerSecond >= kPagesPerSector)
            Append(answer, kNak);
        else if (Answer(Step::header, kAck, answer, outcome))
            expect = Expect::flashData;
        return;
    case Expect::flashData:
    {
        uint8_t* page = serial.data() + (static_cast<size_t>(headerFirst) * kPagesPerSector +
                                         static_cast<size_t>(headerSecond)) *
                                            kFlashPageSize;
        for (size_t i = 0; i < size; ++i)
            page[i] &= block[i]; // programming clears bits only
        Answer(Step::data, kAck, answer, outcome);
        return;
    }
    case Expect::flashVerifyHeader:
    {
        const int32_t sector = Int32At(block);
        const int32_t page = Int32At(block + kInt32Size);
        if (sector < 0 || sector >= kSectorCount || page < 0 || page >= kPagesPerSector)
        {
            Append(answer, kNak);
            return;
        }
        SendPage(serial.data() + (static_cast<size_t>(sector) * kPagesPerSector + static_cast<size_t>(page)) *
                                     kFlashPageSize,
                 kFlashPageSize, answer, outcome);
        return;
    }
    default:
        return;
    }
}

void SimBootloader::HandleEraseBlock(const uint8_t* block, std::vector<uint8_t>& answer, Outcome& outcome)
{
    using Step = SimFlashFault::Step;
    const int32_t sector = Int32At(block);
    if (sector < 0 || sector >= kSectorCount)
    {
        Append(answer, kNak);
        return;
    }
    if (!Answer(Step::header, kAck, answer, outcome))
        return;
    Append(answer, kBusy);
    if (Answer(Step::status, kAck, answer, outcome))
    {
        EraseSectors(sector, sector, outcome);
        outcome.notes.push_back("bootloader: sector " + std::to_string(sector) + " erased");
    }
}

bool SimBootloader::SaveFlash(const std::string& path, std::string& error) const
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return Fail(error, "cannot write the flash to " + path);
    const bool written = std::fwrite(controller.data(), 1, controller.size(), file) == controller.size() &&
                         std::fwrite(serial.data(), 1, serial.size(), file) == serial.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        return Fail(error, "cannot write the flash to " + path);
    return true;
}
