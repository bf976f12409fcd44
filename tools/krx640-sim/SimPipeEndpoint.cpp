#include "SimPipeEndpoint.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFifoMode = 0600;

std::string SystemError(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

/** mkdir -p. */
bool MakeFolders(const std::string& path, std::string& error)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1))
    {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), kFolderMode) != 0 && errno != EEXIST)
        {
            error = SystemError("cannot create", prefix);
            return false;
        }
        if (slash == std::string::npos)
            break;
    }
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    {
        error = path + " is not a folder";
        return false;
    }
    return true;
}
void UnlinkFifo(const std::string& path)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode))
        ::unlink(path.c_str());
}
} // namespace

SimPipeEndpoint::SimPipeEndpoint(std::string folder, std::string unitName)
    : deviceFolder(std::move(folder)), unitFolder(deviceFolder + "/" + unitName),
      incomingPath(unitFolder + "/PIPE00"), outgoingPath(unitFolder + "/PIPE01")
{
}

SimPipeEndpoint::~SimPipeEndpoint()
{
    Remove();
}

bool SimPipeEndpoint::PrepareFifo(const std::string& path, std::string& error)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0)
    {
        if (errno != ENOENT)
        {
            error = SystemError("cannot examine", path);
            return false;
        }
        if (::mkfifo(path.c_str(), kFifoMode) != 0)
        {
            error = SystemError("cannot create the FIFO", path);
            return false;
        }
        return true;
    }
    if (!S_ISFIFO(info.st_mode))
    {
        error = path + " exists and is not a FIFO";
        return false;
    }
    return true; // left by an earlier run: reused
}

bool SimPipeEndpoint::Create(std::string& error)
{
    if (!MakeFolders(deviceFolder, error) || !MakeFolders(unitFolder, error) ||
        !PrepareFifo(incomingPath, error))
        return false;

    // A live unit holds PIPE00 open for reading, so a writer could open it; a stale FIFO has no reader.
    const int probe = ::open(incomingPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe >= 0)
    {
        ::close(probe);
        error = unitFolder + " is served by another running unit";
        return false;
    }

    created = true;
    if (!PrepareFifo(outgoingPath, error))
        return false;
    if (!OpenIncoming())
    {
        error = SystemError("cannot open", incomingPath);
        return false;
    }
    return true;
}

void SimPipeEndpoint::Remove()
{
    CloseOutgoing();
    if (incoming >= 0)
        ::close(incoming);
    incoming = -1;
    if (!created)
        return;
    UnlinkFifo(incomingPath);
    UnlinkFifo(outgoingPath);
    ::rmdir(unitFolder.c_str()); // stays when someone put other files there
    created = false;
}

bool SimPipeEndpoint::OpenIncoming()
{
    // Non-blocking: opening a FIFO for reading does not wait for a writer. The new end is opened
    // before the old one is closed, so that PIPE00 never lacks a reader: an editor that opened it
    // in such a gap would write into a broken pipe.
    const int reopened = ::open(incomingPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (incoming >= 0)
        ::close(incoming);
    incoming = reopened;
    return incoming >= 0;
}

void SimPipeEndpoint::EndSession()
{
    if (outgoing >= 0)
        DropUnreadOutgoing();
    CloseOutgoing();
}

void SimPipeEndpoint::CloseOutgoing()
{
    if (outgoing >= 0)
        ::close(outgoing);
    outgoing = -1;
}

void SimPipeEndpoint::DropUnreadOutgoing()
{
    // The pipe keeps what was written as long as any end is open, whoever holds it: a reader of
    // the session gone, or the next editor's, may still be there.
    const int drain = ::open(outgoingPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (drain < 0)
        return;
    uint8_t buffer[4096];
    while (::read(drain, buffer, sizeof buffer) > 0)
    {
    }
    ::close(drain);
}

SimPipeEndpoint::Activity SimPipeEndpoint::Wait(bool wantWrite, int timeoutMs)
{
    Activity activity;
    if (incoming < 0)
        OpenIncoming();
    pollfd watched[2] = {{incoming, POLLIN, 0}, {outgoing, static_cast<short>(wantWrite ? POLLOUT : 0), 0}};
    const int ready = ::poll(watched, 2, timeoutMs);
    if (ready < 0)
    {
        activity.interrupted = errno == EINTR;
        return activity;
    }
    activity.incoming = (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    if (outgoing >= 0 && (watched[1].revents & (POLLERR | POLLHUP)) != 0)
    {
        EndSession();
        activity.editorLeft = true;
    }
    else
    {
        activity.writable = (watched[1].revents & POLLOUT) != 0;
    }
    return activity;
}

long SimPipeEndpoint::ReadIncoming(uint8_t* buffer, size_t capacity)
{
    if (incoming < 0)
        return 0; // Wait opens it again
    for (;;)
    {
        const ssize_t count = ::read(incoming, buffer, capacity);
        if (count > 0)
            return static_cast<long>(count);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            return 0;
        // End of file: the editor closed PIPE00. A fresh open forgets that, so poll waits again
        // for the next editor instead of reporting the hang-up over and over.
        OpenIncoming();
        return -1;
    }
}

bool SimPipeEndpoint::OpenOutgoing()
{
    if (outgoing >= 0)
        return true;
    outgoing = ::open(outgoingPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); // ENXIO: no reader yet
    if (outgoing >= 0)
        DropUnreadOutgoing();
    return outgoing >= 0;
}

SimPipeEndpoint::WriteResult SimPipeEndpoint::WriteOutgoing(const uint8_t* bytes, size_t count)
{
    if (outgoing < 0)
        return WriteResult::editorLeft;
    for (;;)
    {
        if (::write(outgoing, bytes, count) >= 0)
            return WriteResult::written; // whole: writes up to the atomic size are all or nothing
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return WriteResult::full;
        EndSession(); // EPIPE: the editor closed PIPE01
        return WriteResult::editorLeft;
    }
}
