#pragma once

#include "core/XMutex.h"
#include "core/XString.h"
#include "device/TWRPCConnection.h"

#include <atomic>
#include <cstdint>
#include <juce_events/juce_events.h>

class TWMsgBuf;

/** A connection that carries the unit's frames over a local TCP socket to a server process instead
    of USB, one frame per JUCE interprocess message (header magic kMessageMagic). Open connects to
    the loopback address 127.0.0.1 on the port (no name to resolve) and, when nothing answers, starts
    the server program (no arguments, the running program's folder as working folder) and tries
    again for a while.

    Send may be called from any thread. With a reply buffer it blocks until the next message arrives
    (at most kReplyPolls * kReplyPollMs) and copies it there; exchanges with a reply are taken one at
    a time. Every other received message is handed to the message handler on the connection's own
    thread (DeliverChunk). Once the socket is lost IsConnected is false; Open connects again. */
class IPCConnection final : public juce::InterprocessConnection, public TWRPCConnection
{
public:
    static constexpr uint32_t kMessageMagic = 0xF2B49E2Cu;
    static constexpr int kConnectTimeoutMs = 1000;
    /** Tries to connect after starting the server, kTryPauseMs apart. */
    static constexpr int kConnectTries = 10;
    static constexpr uint32_t kTryPauseMs = 500;
    /** The wait for a reply: kReplyPolls looks, kReplyPollMs apart. */
    static constexpr uint32_t kReplyPollMs = 5;
    static constexpr int kReplyPolls = 50;
    /** Send's result for a reply that did not come or is not a frame with a payload. */
    static constexpr int32_t kBadReply = -1;

    /** serverProgram: full path of the program to start when nothing answers (empty: none). */
    IPCConnection(int port, const XString& serverProgram);
    ~IPCConnection() override;

    /** 0 once connected, 0x80000001 when no server could be reached. */
    int32_t Open() override;
    bool IsConnected() override;
    /** Sends the frame's bytes as one message. Without a reply buffer: 0. With one: 0 when a reply
        came whose frame magic is right and whose payload length byte, read as signed, is above 0;
        kBadReply otherwise. 0x80000001 when the socket refused the message. */
    int32_t Send(TWMsgBuf& frame, TWMsgBuf* reply) override;

    int GetPort() const { return port; }

private:
    void connectionMade() override {}
    void connectionLost() override;
    void messageReceived(const juce::MemoryBlock& message) override;
    bool ConnectOnce();
    /** Whether a reply frame carries a payload (see Send). */
    static bool IsGoodReply(TWMsgBuf& reply);

    std::atomic<bool> connected{false};
    XMutex exchangeLock;             // held for the whole of a Send with a reply
    XMutex replyLock;                // guards replyBuffer and the copy into it
    TWMsgBuf* replyBuffer = nullptr; // guarded by replyLock; not owned
    std::atomic<bool> replyArrived{false};
    const int port;
    const XString serverProgram;
};
