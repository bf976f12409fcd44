#include "core/XInvoker.h"

#include "core/XMessage.h"
#include "core/XResult.h"

XInvoker::XInvoker(XHandler* handler) : messenger(handler) {}

XInvoker::XInvoker(XMessage* message, XHandler* handler, XLooper* looper)
    : storedMessage(message), messenger(handler, looper)
{
}

XInvoker::~XInvoker() = default;

int32_t XInvoker::SetMessage(XMessage* message)
{
    if (message != storedMessage.get())
        storedMessage.reset(message);
    return 0;
}

int32_t XInvoker::SetMessenger(const XMessenger& newMessenger)
{
    messenger = newMessenger;
    return messenger.IsValid() ? 0 : XResult::kFailed;
}

int32_t XInvoker::SetTarget(XHandler* handler, XLooper* looper)
{
    return SetMessenger(XMessenger(handler, looper));
}

int32_t XInvoker::SetReplyTo(XHandler* handler)
{
    replyTo = handler;
    return 0;
}

int32_t XInvoker::Invoke(XMessage* message)
{
    const XMessage* source = message != nullptr ? message : storedMessage.get();
    if (source == nullptr)
        return XResult::kFailed;
    XMessage copy(*source);
    copy.AddPointer(kSourceItem, this);
    return messenger.SendMessage(&copy, replyTo);
}
