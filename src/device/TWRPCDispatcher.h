#pragma once

#include "core/XResult.h"
#include "device/TWRPCMessageHandler.h"

#include <cstdint>

class TWMsgBuf;
class TWRPCConnection;

/** Builds request frames and hands them to a connection, and splits each received frame into
    address, command and payload for HandleCommand, which a subclass overrides (the device watcher).

    SendRequest may be called from any thread and takes no lock: the frame is built in a local
    buffer. ParseFrame and HandleCommand run on the connection's reader thread.

    The connection is not owned and must outlive the dispatcher. Construction makes the dispatcher
    the connection's message handler; a subclass should call DetachFromConnection first thing in its
    destructor, so that no frame reaches it while it is being destroyed (the base destructor
    detaches as a last resort). */
class TWRPCDispatcher : public TWRPCMessageHandler
{
public:
    explicit TWRPCDispatcher(TWRPCConnection* connection);
    ~TWRPCDispatcher() override;
    TWRPCDispatcher(const TWRPCDispatcher&) = delete;
    TWRPCDispatcher& operator=(const TWRPCDispatcher&) = delete;

    /** Builds a frame of the command (address and command cut to 8 bits) around the payload's
        bytes (null: none) and sends it with the reply buffer, which is passed on untouched.
        Returns 0 when the frame went to the connection (its result is not examined); 0x80000001,
        with nothing built or sent, when there is no connection, it is not connected, or the
        payload holds more than 255 bytes. */
    int32_t SendRequest(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply);

    /** Builds the frame of a request into frame; 0, or 0x80000001 (frame left empty) for a payload
        of more than 255 bytes. */
    static int32_t BuildRequest(TWMsgBuf& frame, int address, int command, const TWMsgBuf* payload);

    /** Reads version, address, command and payload length from the read position (8) on and calls
        HandleCommand with a fresh payload buffer and a null reply. Drops a frame whose version is
        not 3 or whose header is cut short; a payload cut short holds only the bytes present. */
    void ParseFrame(TWMsgBuf& frame) override;

    /** Called once per parsed frame with the payload's read position at 0; the base does nothing. */
    virtual void HandleCommand(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply);

    TWRPCConnection* GetConnection() const { return connection; }
    /** Stops the connection from calling this dispatcher, waiting for a frame being handled. */
    void DetachFromConnection();

private:
    TWRPCConnection* connection;
};
