#include "device/TWRPCConnection.h"

#include "core/XSmartLock.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCMessageHandler.h"

void TWRPCConnection::SetMessageHandler(TWRPCMessageHandler* handler)
{
    XSmartLock hold(deliveryLock);
    messageHandler.store(handler);
}

void TWRPCConnection::ClearMessageHandler(TWRPCMessageHandler* handler)
{
    XSmartLock hold(deliveryLock);
    TWRPCMessageHandler* expected = handler;
    messageHandler.compare_exchange_strong(expected, nullptr);
}

bool TWRPCConnection::DeliverChunk(const void* data, int count)
{
    if (data == nullptr || count <= 0)
        return false;
    TWMsgBuf frame;
    if (frame.SetContents(data, count) != 0)
        return false;
    const uint32_t magic = static_cast<uint32_t>(frame.GetInt32());
    frame.GetInt32(); // the total length: frames are delimited by the transport, not by this field
    if (magic != TWMsgBuf::kFrameMagic)
        return false;
    XSmartLock hold(deliveryLock);
    TWRPCMessageHandler* handler = messageHandler.load();
    if (handler == nullptr)
        return false;
    handler->ParseFrame(frame);
    return true;
}
