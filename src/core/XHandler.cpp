#include "core/XHandler.h"

#include "core/ThreadServices.h"
#include "core/XLiveParamSet.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamMessage.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"

#include <mutex>

namespace
{
/** Tokens of the process's handlers: the first is 1. */
std::atomic<int32_t> nextToken{1};

/** Guards the delegate tables of every handler: they are rarely written, and a dispatch holds it
    only to copy one delegate out. */
std::mutex& DelegateLock()
{
    static std::mutex lock;
    return lock;
}
} // namespace

XHandler::XHandler(const char* nameIn) : name(nameIn), token(nextToken.fetch_add(1)) {}

XHandler::~XHandler()
{
    // Off every parameter's watcher list, so that no later change reaches freed memory.
    XParam::ForgetWatcher(this);
    if (XLooper* attachedTo = looper.load())
        attachedTo->RemoveHandler(this);
    token.store(~token.load());
    magic.store(0);
    std::lock_guard<std::mutex> hold(DelegateLock());
    for (auto* node = delegates.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        delete LongToPtrMap<Delegate>::GetNodeValue(node);
    delegates.RemoveAll();
}

void XHandler::OnTimer(int32_t timerId) {}

void XHandler::SetMode(int32_t mode) {}

void XHandler::ParamChanged(int32_t code, XParam* param, int32_t key) {}

void XHandler::OnAttached() {}

void XHandler::OnDetached() {}

XString XHandler::GetName() const
{
    return name;
}

void XHandler::SetName(const XString& text)
{
    name = text;
}

XHandler* XHandler::SetNextHandler(XHandler* h)
{
    if (h == nullptr)
    {
        nextHandler = nullptr;
        return nullptr;
    }
    if (h == this || (nextHandler != nullptr && h->nextHandler != nullptr))
        return h;
    if (nextHandler != nullptr)
        h->nextHandler = nextHandler;
    nextHandler = h;
    return h;
}

bool XHandler::AddDelegate(uint32_t code, Delegate::Callback callback, void* userData)
{
    if (callback == nullptr)
        return false;
    std::lock_guard<std::mutex> hold(DelegateLock());
    const auto key = static_cast<int32_t>(code);
    if (delegates.Find(key) != nullptr)
        return false;
    auto* delegate = new Delegate(callback, userData);
    if (!delegates.Add(key, delegate))
    {
        delete delegate;
        return false;
    }
    hasDelegates.store(true);
    return true;
}

XHandler::Delegate XHandler::FindDelegate(uint32_t code) const
{
    if (!hasDelegates.load())
        return {};
    std::lock_guard<std::mutex> hold(DelegateLock());
    const Delegate* delegate = delegates.Find(static_cast<int32_t>(code));
    return delegate != nullptr ? *delegate : Delegate();
}

void XHandler::DispatchMessage(XMessage* message)
{
    if (message == nullptr || !IsValid())
        return;
    const Delegate delegate = FindDelegate(message->GetWhat());
    if (delegate.IsSet())
        delegate(*message);
    else
        MessageReceived(*message);
}

void XHandler::MessageReceived(XMessage& message)
{
    if (!IsValid())
        return;
    if (message.GetWhat() == XMsgCode::kParamMessage)
    {
        DeliverPostedParamChange(message);
        return;
    }
    XLooper* attachedTo = looper.load();
    if (attachedTo != nullptr && nextHandler != nullptr)
        attachedTo->PostToHandler(&message, nextHandler, nullptr);
}

void XHandler::DeliverPostedParamChange(const XMessage& message)
{
    const XParamMessage change(message);
    XLiveParamSet& liveParams = XLiveParamSet::Get();
    // Held across the delivery: a parameter's destruction waits until ParamChanged is done with it.
    XSmartLock hold(liveParams.GetLock());
    if (change.GetParam() != nullptr && !liveParams.Contains(change.GetParam()))
        return;
    ParamChanged(change.GetCode(), change.GetParam(), change.GetKey());
}

void XHandler::GetReplyRoute(const XHandler* replier, int32_t& port, int32_t& token)
{
    port = XMessage::kNoRoute;
    token = XMessage::kNoRoute;
    if (replier == nullptr)
        return;
    if (XLooper* replierLooper = replier->GetLooper())
    {
        port = replierLooper->GetPort();
        token = replier->GetToken();
    }
}

int32_t XHandler::PostMessage(XMessage* message)
{
    if (!IsValid())
        return XResult::kFailed;
    if (XLooper* attachedTo = looper.load())
        return attachedTo->PostToHandler(message, this, nullptr);
    DispatchMessage(message);
    return 0;
}

int32_t XHandler::PostCode(uint32_t code)
{
    XMessage message(code, 0);
    return PostMessage(&message);
}

int32_t XHandler::NotifyParamChanged(int32_t code, XParam* param, int32_t key)
{
    return DeliverParamChangedByRule(code, param, key);
}

int32_t XHandler::DeliverParamChanged(int32_t code, XParam* param, int32_t key)
{
    return DeliverParamChangedByRule(code, param, key);
}

int32_t XHandler::DeliverParamChangedByRule(int32_t code, XParam* param, int32_t key)
{
    if (!IsValid())
        return 0;
    XLooper* attachedTo = looper.load();
    // A looper without a thread yet records id 0, which is no thread's id: changes are posted.
    if (attachedTo != nullptr && attachedTo->GetThreadId() != CurrentThreadId())
    {
        XParamMessage change(param, code, key);
        return attachedTo->PostToHandler(&change, this, nullptr);
    }
    // Direct: runs with every lock the caller holds (the parameter locks when a parameter notifies).
    ParamChanged(code, param, key);
    return 0;
}
