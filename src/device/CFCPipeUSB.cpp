#include "device/CFCPipeUSB.h"

#include "platform/PlatformClock.h"
#include "platform/PlatformPipe.h"
#include "platform/UsbDeviceInterface.h"

#include <cmath>

namespace
{
/** How long each read of ReadOverlapped waits before it looks again. */
constexpr int kExactReadWaitMs = 10;
constexpr int kSystemErrorMask = 0xFFFF;

/** A wait of scaled milliseconds as the real milliseconds a pipe's poll takes (at least 1). */
int RealWaitMs(int scaledMs)
{
    const double real = std::ceil(scaledMs / PlatformClock::GetTimeScale());
    return real < 1.0 ? 1 : static_cast<int>(real);
}
} // namespace

CFCPipeUSB::CFCPipeUSB()
    : readPipe(std::make_unique<PlatformPipe>()), writePipe(std::make_unique<PlatformPipe>())
{
}

CFCPipeUSB::~CFCPipeUSB()
{
    bothOpen.store(false);
    readPipe->Close();
    writePipe->Close();
}

int CFCPipeUSB::Open(const char* devicePath)
{
    status = 0;
    const XString path = devicePath;
    const XString readPath = path + "\\PIPE01";
    const XString writePath = path + "\\PIPE00";
    readsCancelled.store(false);

    int error = writePipe->Open(writePath.CStr(), PlatformPipe::Direction::write);
    if (error == 0)
        error = readPipe->Open(readPath.CStr(), PlatformPipe::Direction::read);
    if (error != 0)
    {
        Close();
        return error & kSystemErrorMask;
    }
    bothOpen.store(true);
    PlatformClock::Sleep(kOpenSettleMs);
    return 0;
}

int CFCPipeUSB::Close()
{
    status = 0;
    bothOpen.store(false);
    readPipe->Close();
    writePipe->Close();
    PlatformClock::Sleep(kCloseSettleMs);
    return 0;
}

int CFCPipeUSB::ReadOverlapped(void* buffer, int n)
{
    if (!readPipe->IsOpen())
        return kPipeNotOpen;
    if (buffer == nullptr || n <= 0)
        return kBadArguments;
    auto* bytes = static_cast<uint8_t*>(buffer);
    int received = 0;
    uint32_t lastProgress = PlatformClock::GetTickCount();
    while (received < n)
    {
        if (readsCancelled.load())
            return kSystemFailure;
        const int count =
            readPipe->Read(bytes + received, static_cast<size_t>(n - received), RealWaitMs(kExactReadWaitMs));
        if (count < 0)
            return kSystemFailure;
        const uint32_t now = PlatformClock::GetTickCount();
        if (count > 0)
            lastProgress = now;
        else if (PlatformClock::TicksSince(lastProgress, now) >= kExactReadTimeoutMs)
            return kSystemFailure;
        received += count;
    }
    status = 0;
    return 0;
}

int CFCPipeUSB::Read(void* buffer, unsigned n)
{
    if (!readPipe->IsOpen() || buffer == nullptr || n == 0)
        return 0;
    return readPipe->Read(buffer, n, 0);
}

bool CFCPipeUSB::WaitForInput(uint32_t microseconds)
{
    return readPipe->WaitReadable(microseconds);
}

int CFCPipeUSB::Write(const void* buffer, int n, unsigned* written)
{
    if (written != nullptr)
        *written = 0;
    if (!writePipe->IsOpen())
        return kPipeNotOpen;
    if (buffer == nullptr || n < 0)
        return kBadArguments;
    const int count = writePipe->Write(buffer, static_cast<size_t>(n));
    if (count < 0)
        return kSystemFailure;
    if (written != nullptr)
        *written = static_cast<unsigned>(count);
    return 0;
}

uint16_t CFCPipeUSB::Status()
{
    return status;
}

void CFCPipeUSB::PollByte()
{
    if (!readPipe->IsOpen())
    {
        status = 0;
        return;
    }
    uint8_t byte = 0;
    // Looks without waiting: the poll behind a 0 ms read returns at once.
    if (readPipe->Read(&byte, 1, 0) == 1)
        status = byte;
}

bool CFCPipeUSB::IsPeerGone()
{
    if (!IsOpen())
        return false;
    return readPipe->PeerGone() || writePipe->PeerGone();
}

std::vector<XString> CFCPipeUSB::EnumerateDevices()
{
    std::vector<XString> paths;
    for (const auto& path : UsbDeviceInterface::EnumerateDevicePaths(kMaxDevicePaths))
        paths.emplace_back(path.c_str());
    return paths;
}
