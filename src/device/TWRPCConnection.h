#pragma once

#include "core/XMutex.h"
#include "core/XResult.h"

#include <atomic>
#include <cstdint>

class TWMsgBuf;
class TWRPCMessageHandler;

/** The abstract transport of whole frames between the editor and one unit, which the dispatcher
    talks to. Implementations: the USB connection (with its reader thread) and the interprocess
    connection.

    Send may be called from any thread. Received chunks reach the message handler through
    DeliverChunk, on the implementation's reader thread; the handler is not owned. Clearing the
    handler waits for a delivery in progress, so a handler that detaches itself before it goes is
    never called afterwards. */
class TWRPCConnection
{
public:
    TWRPCConnection() = default;
    virtual ~TWRPCConnection() = default;
    TWRPCConnection(const TWRPCConnection&) = delete;
    TWRPCConnection& operator=(const TWRPCConnection&) = delete;

    virtual int32_t Open() = 0;
    virtual bool IsConnected() = 0;
    /** Hands one whole frame to the transport; 0, or 0x80000001 while not connected. */
    virtual int32_t Send(TWMsgBuf& frame, TWMsgBuf* reply) = 0;

    TWRPCMessageHandler* GetMessageHandler() const { return messageHandler.load(); }
    /** Waits for a delivery in progress on another thread, then sets the handler. */
    void SetMessageHandler(TWRPCMessageHandler* handler);
    /** Sets null when the handler is still the given one (waiting as SetMessageHandler does). */
    void ClearMessageHandler(TWRPCMessageHandler* handler);

    /** Treats count received bytes as one frame: when a handler is set and the bytes begin with the
        frame magic, the handler parses it (read position 8) and true is returned; any other chunk
        is dropped. */
    bool DeliverChunk(const void* data, int count);

private:
    std::atomic<TWRPCMessageHandler*> messageHandler{nullptr};
    XMutex deliveryLock; // held while the handler parses a frame and while the handler changes
};
