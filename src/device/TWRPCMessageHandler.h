#pragma once

class TWMsgBuf;

/** What a connection calls with each received frame whose magic is correct. The frame's read
    position stands just behind the length field (offset 8). Called on the connection's reader
    thread. */
class TWRPCMessageHandler
{
public:
    virtual ~TWRPCMessageHandler() = default;
    virtual void ParseFrame(TWMsgBuf& frame) = 0;
};
