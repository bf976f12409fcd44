#include "platform/PlatformPipe.h"

#include "platform/PlatformProcess.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace
{
std::string ToSystemPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
} // namespace

PlatformPipe::~PlatformPipe()
{
    Close();
}

int PlatformPipe::Open(const std::string& path, Direction direction)
{
    PlatformProcess::IgnoreBrokenPipes();
    Close();
    peerGone = false;
    const int flags = (direction == Direction::read ? O_RDONLY : O_WRONLY) | O_NONBLOCK | O_CLOEXEC;
    descriptor = ::open(ToSystemPath(path).c_str(), flags);
    return descriptor >= 0 ? 0 : errno;
}

void PlatformPipe::Close()
{
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
}

int PlatformPipe::Read(void* buffer, size_t n, int waitMs)
{
    if (descriptor < 0)
        return -1;
    pollfd watch = {descriptor, POLLIN, 0};
    const int ready = ::poll(&watch, 1, waitMs);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0)
        return 0;
    const ssize_t count = ::read(descriptor, buffer, n);
    if (count > 0)
        return static_cast<int>(count);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    peerGone = true; // end of file: the unit's side has gone
    return -1;
}

bool PlatformPipe::WaitReadable(int64_t microseconds)
{
    if (descriptor < 0)
        return false;
    constexpr int64_t kMicrosecondsPerSecond = 1000000;
    const int64_t wait = microseconds < 0 ? 0 : microseconds;
    const timespec timeout = {static_cast<time_t>(wait / kMicrosecondsPerSecond),
                              static_cast<long>(wait % kMicrosecondsPerSecond * 1000)};
    pollfd watch = {descriptor, POLLIN, 0};
    return ::ppoll(&watch, 1, &timeout, nullptr) > 0;
}

int PlatformPipe::Write(const void* buffer, size_t n)
{
    if (descriptor < 0)
        return -1;
    for (;;)
    {
        const ssize_t count = ::write(descriptor, buffer, n);
        if (count >= 0)
            return static_cast<int>(count);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
        {
            // The pipe is full: wait briefly for the unit to drain it rather than losing the frame.
            pollfd watch = {descriptor, POLLOUT, 0};
            if (::poll(&watch, 1, 100) > 0)
                continue;
        }
        if (errno == EPIPE)
            peerGone = true;
        return -1;
    }
}

bool PlatformPipe::PeerGone()
{
    if (descriptor < 0 || peerGone)
        return peerGone;
    pollfd watch = {descriptor, POLLIN, 0};
    // A read end reports POLLHUP once a writer came and went (never before the first writer); a
    // write end reports POLLERR when no reader is left.
    if (::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLHUP | POLLERR)) != 0 &&
        (watch.revents & POLLIN) == 0)
        peerGone = true;
    return peerGone;
}
