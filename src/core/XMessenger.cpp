#include "core/XMessenger.h"

#include "core/ThreadServices.h"
#include "core/XHandler.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMsgPort.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"

namespace
{
/** The reply is awaited in slices of this length, to notice a target port that is deleted. */
constexpr uint32_t kReplySliceMs = 500;
/** After the target's port is gone, how long a message it already took may still answer. */
constexpr uint32_t kReplyGraceMs = 1000;
} // namespace

XMessenger::XMessenger(XHandler* handler, XLooper* looper)
{
    XLooper* target = looper != nullptr ? looper : (handler != nullptr ? handler->GetLooper() : nullptr);
    if (target == nullptr)
        return;
    port = target->GetPort();
    if (handler != nullptr)
    {
        token = handler->GetToken();
        hasHandler = true;
    }
}

XMessenger::XMessenger(const char* looperNameIn, const char* handlerNameIn)
    : looperName(looperNameIn), handlerName(handlerNameIn)
{
}

void XMessenger::Resolve()
{
    if (looperName.IsEmpty())
        return;
    XLooper* looper = FindLooperByName(looperName.CStr());
    if (looper == nullptr)
        return;
    port = looper->GetPort();
    if (!handlerName.IsEmpty())
    {
        if (XHandler* handler = looper->FindHandlerByName(handlerName.CStr()))
        {
            token = handler->GetToken();
            hasHandler = token != XHandler::kNoToken;
        }
    }
    looperName = XString();
    handlerName = XString();
}

bool XMessenger::IsValid()
{
    if (port == -1)
        Resolve();
    return port != -1;
}

int32_t XMessenger::SendMessage(XMessage* message, XHandler* replier)
{
    if (!IsValid() || message == nullptr)
        return XResult::kFailed;
    int32_t replyPort = XMessage::kNoRoute;
    int32_t replyToken = XMessage::kNoRoute;
    if (replier != nullptr)
    {
        if (XLooper* replierLooper = replier->GetLooper())
        {
            replyPort = replierLooper->GetPort();
            replyToken = replier->GetToken();
        }
    }
    return PostToLooperPort(port, message, token, replyPort, replyToken);
}

int32_t XMessenger::SendAndWait(XMessage* message, XMessage* reply)
{
    if (!IsValid() || message == nullptr)
        return XResult::kFailed;
    if (reply == nullptr)
        return PostToLooperPort(port, message, token, XMessage::kNoRoute, XMessage::kNoRoute);

    XLooper* looper = FindLooperByPort(port);
    if (looper == nullptr)
        return XResult::kFailed;
    const int32_t looperThread = looper->GetThreadId();
    if (looperThread != 0 && IsCurrentThread(looperThread))
    {
        // On the looper's own thread: dispatched at once, the answer goes straight into reply.
        XMessage* const previousSink = message->GetReplySink();
        message->SetReplySink(reply);
        {
            XSmartLock hold(looper->GetLock());
            XHandler* target = token == XHandler::kNoToken ? nullptr : looper->FindHandler(token);
            looper->DispatchMessage(message, target);
        }
        message->SetReplySink(previousSink);
        return 0;
    }
    if (looperThread == 0)
    {
        reply->SetWhat(XMsgCode::kNoReply);
        return PostToLooperPort(port, message, token, XMessage::kNoRoute, XMessage::kNoRoute);
    }

    const int32_t replyPort = CreatePort(kReplyPortName, kReplyPortCapacity);
    if (replyPort == -1)
        return XResult::kFailed;
    int32_t result = PostToLooperPort(port, message, token, replyPort, XMessage::kNoRoute);
    if (result == 0)
        result = AwaitReply(replyPort, reply);
    DeletePort(replyPort);
    return result;
}

int32_t XMessenger::AwaitReply(int32_t replyPort, XMessage* reply) const
{
    for (;;)
    {
        if (reply->ReadFromPort(replyPort, kReplySliceMs) == 0)
            return 0;
        if (CountPortBlocks(replyPort) < 0)
            return XResult::kFailed;
        if (CountPortBlocks(port) < 0)
        {
            // The target's port is gone: a message its looper had already taken may still answer.
            if (reply->ReadFromPort(replyPort, kReplyGraceMs) == 0)
                return 0;
            reply->SetWhat(XMsgCode::kNoReply);
            return XResult::kFailed;
        }
    }
}
