#include "device/TWRPCDispatcher.h"

#include "core/XResult.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCConnection.h"

namespace
{
constexpr int kByteMask = 0xFF;
/** Address, command and payload length behind the version byte. */
constexpr int kHeaderBytesAfterVersion = 3;
} // namespace

TWRPCDispatcher::TWRPCDispatcher(TWRPCConnection* connectionToUse) : connection(connectionToUse)
{
    if (connection != nullptr)
        connection->SetMessageHandler(this);
}

TWRPCDispatcher::~TWRPCDispatcher()
{
    DetachFromConnection();
}

void TWRPCDispatcher::DetachFromConnection()
{
    if (connection != nullptr)
        connection->ClearMessageHandler(this);
}

int32_t TWRPCDispatcher::BuildRequest(TWMsgBuf& frame, int address, int command, const TWMsgBuf* payload)
{
    const int payloadSize = payload == nullptr ? 0 : payload->GetByteCount();
    // The length field holds one byte: a longer payload would go out cut to its low byte.
    if (payloadSize > TWMsgBuf::kMaxPayloadSize)
    {
        frame.SetContents(nullptr, 0);
        return XResult::kFailed;
    }
    frame.BeginFrame();
    frame.WriteInt8(TWMsgBuf::kFrameVersion);
    frame.WriteInt8(address & kByteMask);
    frame.WriteInt8(command & kByteMask);
    frame.WriteInt8(payloadSize);
    if (payloadSize > 0)
        frame.Write(payload->GetBytes(), payloadSize);
    return frame.PatchFrameLength();
}

int32_t TWRPCDispatcher::SendRequest(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply)
{
    if (connection == nullptr || !connection->IsConnected())
        return XResult::kFailed;
    TWMsgBuf frame;
    if (BuildRequest(frame, address, command, payload) != 0)
        return XResult::kFailed;
    connection->Send(frame, reply);
    return 0;
}

void TWRPCDispatcher::ParseFrame(TWMsgBuf& frame)
{
    if (frame.GetInt8() != TWMsgBuf::kFrameVersion)
        return;
    const int64_t headerLeft = frame.GetSize() - frame.GetReadPosition();
    if (headerLeft < kHeaderBytesAfterVersion)
        return;
    const int address = frame.GetInt8();
    const int command = frame.GetInt8();
    const int announced = frame.GetInt8();

    // A frame that ends early gives a payload of the bytes present only, so that reads past them
    // give the documented all-ones rather than bytes that never arrived.
    const int64_t left = frame.GetSize() - frame.GetReadPosition();
    const int present = left < announced ? static_cast<int>(left) : announced;
    TWMsgBuf payload;
    if (present > 0)
    {
        payload.SetContents(frame.GetBytes() + frame.GetReadPosition(), present);
        frame.SetReadPosition(frame.GetReadPosition() + present);
    }
    HandleCommand(address, command, &payload, nullptr);
}

void TWRPCDispatcher::HandleCommand(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply) {}
