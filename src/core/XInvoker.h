#pragma once

#include "core/XMessenger.h"
#include "core/XResult.h"

#include <cstdint>
#include <memory>

class XHandler;
class XLooper;
class XMessage;

/** A stored message, the messenger that carries it and the handler that gets the replies: controls
    and list views carry one and invoke it when the user acts. Owns its message; the reply handler
    is not owned and must outlive the invoker's use of it. Use on one thread at a time. */
class XInvoker
{
public:
    /** The pointer item that names the sending invoker in every invoked message. */
    static constexpr const char* kSourceItem = "source";

    /** Aimed at the handler (none when it is null or unattached); no message, no reply handler. */
    explicit XInvoker(XHandler* handler = nullptr);
    /** Takes the message (may be null) and aims at handler/looper as XMessenger does. */
    XInvoker(XMessage* message, XHandler* handler, XLooper* looper);
    XInvoker(const XInvoker&) = delete;
    XInvoker& operator=(const XInvoker&) = delete;
    virtual ~XInvoker();

    /** Deletes the stored message and takes the new one (may be null); 0. */
    virtual int32_t SetMessage(XMessage* message);
    /** Replaces the messenger, resolving it; 0, or XResult::kFailed when it has no port. */
    virtual int32_t SetMessenger(const XMessenger& newMessenger);
    virtual int32_t SetTarget(XHandler* handler, XLooper* looper);
    /** The handler whose looper receives replies; 0. */
    virtual int32_t SetReplyTo(XHandler* handler);
    /** Sends a copy of message, or of the stored one when message is null, with the pointer item
        "source" = this invoker added, through the messenger with the reply handler. XResult::kFailed when
        there is neither message or the send fails; else 0. */
    virtual int32_t Invoke(XMessage* message = nullptr);

    void GetMessenger(XMessenger& out) const { out = messenger; }
    XMessage* GetMessage() const { return storedMessage.get(); }
    XHandler* GetReplyTo() const { return replyTo; }

private:
    std::unique_ptr<XMessage> storedMessage;
    XMessenger messenger;
    XHandler* replyTo = nullptr; // not owned
};
