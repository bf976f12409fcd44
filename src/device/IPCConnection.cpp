#include "device/IPCConnection.h"

#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "device/TWMsgBuf.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformProcess.h"

namespace
{
/** The loopback address itself: a name such as "localhost" needs a resolver and a hosts file, which
    a minimal system may lack. */
constexpr const char* kHost = "127.0.0.1";
} // namespace

IPCConnection::IPCConnection(int port, const XString& serverProgram)
    : juce::InterprocessConnection(false, kMessageMagic), port(port), serverProgram(serverProgram)
{
}

IPCConnection::~IPCConnection()
{
    // The connection thread calls back into this object: it must end before the members go.
    disconnect();
}

bool IPCConnection::ConnectOnce()
{
    PlatformProcess::IgnoreBrokenPipes();
    if (!connectToSocket(kHost, port, kConnectTimeoutMs))
        return false;
    connected.store(true);
    return true;
}

int32_t IPCConnection::Open()
{
    if (ConnectOnce())
        return 0;
    if (serverProgram.IsEmpty())
        return XResult::kFailed;
    if (PlatformProcess::StartDetached(serverProgram.CStr(), PlatformProcess::ProgramFolder()) != 0)
        return XResult::kFailed;
    for (int attempt = 0; attempt < kConnectTries; ++attempt)
    {
        if (ConnectOnce())
            return 0;
        PlatformClock::Sleep(kTryPauseMs);
    }
    return XResult::kFailed;
}

bool IPCConnection::IsConnected()
{
    // The socket's own state as well: a peer that closes its end does not always end in connectionLost.
    return connected.load() && isConnected();
}

void IPCConnection::connectionLost()
{
    connected.store(false);
}

int32_t IPCConnection::Send(TWMsgBuf& frame, TWMsgBuf* reply)
{
    const juce::MemoryBlock message(frame.GetBytes(), static_cast<size_t>(frame.GetByteCount()));
    if (reply == nullptr)
        return sendMessage(message) ? 0 : XResult::kFailed;

    XSmartLock exchange(exchangeLock);
    {
        XSmartLock hold(replyLock);
        replyArrived.store(false);
        replyBuffer = reply;
    }
    bool sent = sendMessage(message);
    for (int poll = 0; sent && poll < kReplyPolls && !replyArrived.load(); ++poll)
        PlatformClock::Sleep(kReplyPollMs);
    {
        // Taken back under the lock, so a reply arriving now cannot write into the caller's buffer.
        XSmartLock hold(replyLock);
        replyBuffer = nullptr;
    }
    if (!sent)
        return XResult::kFailed;
    if (!replyArrived.load())
        return kBadReply;
    return IsGoodReply(*reply) ? 0 : kBadReply;
}

bool IPCConnection::IsGoodReply(TWMsgBuf& reply)
{
    if (static_cast<uint32_t>(reply.GetInt32()) != TWMsgBuf::kFrameMagic)
        return false;
    reply.GetInt32(); // total length
    reply.GetInt8();  // version
    reply.GetInt16(); // address and command
    const int8_t payloadLength = static_cast<int8_t>(reply.GetInt8());
    return payloadLength > 0;
}

void IPCConnection::messageReceived(const juce::MemoryBlock& message)
{
    const int count = static_cast<int>(message.getSize());
    {
        XSmartLock hold(replyLock);
        if (replyBuffer != nullptr)
        {
            replyBuffer->SetContents(message.getData(), count);
            replyArrived.store(true);
            return;
        }
    }
    DeliverChunk(message.getData(), count);
}
