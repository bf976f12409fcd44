#include "SimTestClient.h"

#include "support/TestSupport.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace
{
constexpr size_t kHeaderSize = 12;
constexpr uint8_t kMagic[4] = {0xBB, 0x00, 0xAA, 0xFF};

int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/** write() that reports a reader that has gone as EPIPE instead of letting SIGPIPE end the test
    program: the signal is blocked in this thread for the write, and the one the write raised is
    taken off the thread's pending signals before the old mask comes back. */
ssize_t WriteWithoutBrokenPipeSignal(int descriptor, const void* bytes, size_t count)
{
    sigset_t brokenPipe, previousMask, pending;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    sigemptyset(&pending);
    sigpending(&pending);
    const bool pendingBefore = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &brokenPipe, &previousMask);
    const ssize_t written = ::write(descriptor, bytes, count);
    const int writeError = errno;
    if (written < 0 && writeError == EPIPE && !pendingBefore)
    {
        const timespec noWait = {0, 0};
        while (::sigtimedwait(&brokenPipe, nullptr, &noWait) < 0 && errno == EINTR)
        {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    errno = writeError;
    return written;
}
} // namespace

namespace SimBytes
{
void PutU16(std::vector<uint8_t>& bytes, uint16_t value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

uint16_t U16(const std::vector<uint8_t>& bytes, size_t at)
{
    return static_cast<uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at)
{
    return static_cast<uint32_t>(U16(bytes, at)) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

uint32_t FloatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsToFloat(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::vector<uint8_t> ValuePayload(uint16_t wireId, uint8_t kind, uint32_t bits, uint8_t flags)
{
    std::vector<uint8_t> payload;
    PutU16(payload, wireId);
    payload.push_back(kind);
    PutU32(payload, bits);
    payload.push_back(flags);
    return payload;
}
} // namespace SimBytes

SimTestClient::~SimTestClient()
{
    Close();
}

bool SimTestClient::Connect(const std::string& unitFolder, int timeoutMs)
{
    Close();
    const std::string toUnitPath = unitFolder + "/PIPE00";
    // ENOENT before the unit made its FIFOs, ENXIO while nobody reads them.
    TestSupport::WaitUntil(
        [&]
        {
            toUnit = ::open(toUnitPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return toUnit >= 0;
        },
        timeoutMs);
    if (toUnit < 0)
        return false;
    fromUnit = ::open((unitFolder + "/PIPE01").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fromUnit >= 0;
}

void SimTestClient::CloseToUnit()
{
    if (toUnit >= 0)
        ::close(toUnit);
    toUnit = -1;
}

void SimTestClient::Close()
{
    if (toUnit >= 0)
        ::close(toUnit);
    if (fromUnit >= 0)
        ::close(fromUnit);
    toUnit = fromUnit = -1;
    received.clear();
}

std::vector<uint8_t> SimTestClient::BuildFrame(uint8_t command, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> frame(kMagic, kMagic + 4);
    SimBytes::PutU32(frame, static_cast<uint32_t>(kHeaderSize + payload.size()));
    frame.push_back(3); // version
    frame.push_back(0); // address
    frame.push_back(command);
    frame.push_back(static_cast<uint8_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

bool SimTestClient::WriteBytes(const std::vector<uint8_t>& bytes)
{
    static constexpr int kWriteTimeoutMs = 10000;
    size_t written = 0;
    const int64_t deadline = NowMs() + kWriteTimeoutMs;
    while (written < bytes.size() && toUnit >= 0)
    {
        const ssize_t count =
            WriteWithoutBrokenPipeSignal(toUnit, bytes.data() + written, bytes.size() - written);
        if (count > 0)
        {
            written += static_cast<size_t>(count);
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (NowMs() > deadline)
            return false;
        pollfd watch = {toUnit, POLLOUT, 0};
        ::poll(&watch, 1, 5);
    }
    return written == bytes.size();
}

bool SimTestClient::ReadMore(int timeoutMs)
{
    if (fromUnit < 0)
        return false;
    pollfd watch = {fromUnit, POLLIN, 0};
    if (::poll(&watch, 1, timeoutMs) <= 0)
        return false;
    uint8_t buffer[65536];
    const ssize_t count = ::read(fromUnit, buffer, sizeof buffer);
    if (count <= 0)
    {
        // No writer yet (or the unit left): nothing to read; do not spin on the hang-up.
        ::usleep(2000);
        return false;
    }
    received.insert(received.end(), buffer, buffer + count);
    return true;
}

std::optional<SimTestClient::Frame> SimTestClient::TakeBufferedFrame()
{
    if (received.size() < kHeaderSize)
        return std::nullopt;
    if (!std::equal(kMagic, kMagic + 4, received.begin()) || received[8] != 3 ||
        SimBytes::U32(received, 4) != kHeaderSize + received[11])
    {
        streamError = "the unit's stream does not start with a frame header";
        received.clear();
        return std::nullopt;
    }
    const size_t length = kHeaderSize + received[11];
    if (received.size() < length)
        return std::nullopt;
    Frame frame;
    frame.command = received[10];
    frame.payload.assign(received.begin() + kHeaderSize,
                         received.begin() + static_cast<std::ptrdiff_t>(length));
    received.erase(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(length));
    return frame;
}

std::optional<SimTestClient::Frame> SimTestClient::Receive(int timeoutMs)
{
    const int64_t deadline = NowMs() + timeoutMs;
    for (;;)
    {
        if (auto frame = TakeBufferedFrame())
            return frame;
        const int64_t left = deadline - NowMs();
        if (left <= 0 || !streamError.empty())
            return std::nullopt;
        ReadMore(static_cast<int>(std::min<int64_t>(left, 50)));
    }
}

std::optional<SimTestClient::Frame>
SimTestClient::ReceiveWhere(const std::function<bool(const Frame&)>& wanted, int timeoutMs)
{
    const int64_t deadline = NowMs() + timeoutMs;
    for (;;)
    {
        const int64_t left = deadline - NowMs();
        if (left <= 0)
            return std::nullopt;
        auto frame = Receive(static_cast<int>(left));
        if (!frame || wanted(*frame))
            return frame;
    }
}

std::optional<SimTestClient::Frame> SimTestClient::ReceiveCommand(uint8_t command, int timeoutMs)
{
    return ReceiveWhere([command](const Frame& frame) { return frame.command == command; }, timeoutMs);
}

void SimTestClient::Drain()
{
    while (ReadMore(0))
    {
        while (TakeBufferedFrame())
        {
        }
    }
}
