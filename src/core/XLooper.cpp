#include "core/XLooper.h"

#include "core/ITickClock.h"
#include "core/Log.h"
#include "core/ProcessState.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMessageQue.h"
#include "core/XMsgPort.h"
#include "core/XResult.h"
#include "core/XSemaphore.h"
#include "core/XSmartLock.h"
#include "platform/PlatformClock.h"

namespace
{
constexpr const char* kPortName = "LooperPort";
/** Items of the 'remT' message. "targetToken" lets the looper tell a live handler from a dead one
    at the same address without touching it. */
constexpr const char* kTimerTargetItem = "pTarget";
constexpr const char* kTimerIdItem = "timerID";
constexpr const char* kTimerTargetTokenItem = "targetToken";
/** The pause of Quit from another thread after posting kLeaveLoop. */
constexpr int32_t kQuitFromOtherThreadSleepMs = 50;
/** The pause of a new looper thread before its start-up. */
constexpr int32_t kThreadStartSleepMs = 1;
/** How long a looper's destruction waits for its thread before it logs that it is still waiting. */
constexpr int32_t kThreadEndWaitMs = 5000;
/** An empty port block wakes a waiting turn; it rebuilds into no message and is dropped. */
constexpr uint32_t kWakeCode = 0;

/** The global looper list, newest first, linked through the loopers' next-looper field. */
XMutex& LooperListLock()
{
    static auto* lock = new XMutex(); // never destroyed: loopers may outlive static destruction
    return *lock;
}
XLooper* firstLooper = nullptr; // guarded by LooperListLock
} // namespace

struct XLooper::TimerNode
{
    TimerNode* next = nullptr;
    uint32_t due = 0;           // tick of the looper's clock
    XHandler* target = nullptr; // not owned
    int32_t timerId = 0;
    int32_t period = 0;
    bool oneShot = false;
};

/** Shared by a looper and its thread, so that either may end first. */
struct XLooper::ThreadControl
{
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> ended{false};
    /** Signalled once when the thread leaves its loop. */
    XSemaphore endSignal{1};
    /** Signalled by Run once it has recorded the thread's id; the thread waits for it. */
    XSemaphore idRecorded{1};
    /** Signalled with the stop request: cuts the thread's start-up pause short. */
    XSemaphore stopSignal{1};
};

struct XLooper::ThreadStart
{
    XLooper* looper;
    std::shared_ptr<ThreadControl> control;
};

// Construction and destruction -------------------------------------------------------------------

XLooper::XLooper(const char* name, int32_t level)
    : XHandler(name), queue(std::make_unique<XMessageQue>()), priorityLevel(level),
      tickClock(&ITickClock::Platform())
{
    port = CreatePort(kPortName, kPortCapacity);
    AddHandler(this);
    XSmartLock hold(LooperListLock());
    nextLooper = firstLooper;
    firstLooper = this;
}

XLooper::~XLooper()
{
    UnlinkLooper(this);
    EndLoopThread();
    RemoveHandler(this);
    {
        XSmartLock hold(lock);
        // Handlers still attached lose their looper, so that none of them reaches it after it is gone.
        for (auto* node = handlers.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
            LongToPtrMap<XHandler>::GetNodeValue(node)->looper.store(nullptr);
        handlers.RemoveAll();
        preferredHandler = nullptr;
    }
    {
        std::lock_guard<std::mutex> holdTimers(timerLock);
        DeleteTimerList(timers);
        DeleteTimerList(firingTimers);
    }
    // Blocks still in the port become messages, so that those owing a reply answer kNoReply.
    while (ReceiveBlock(0))
    {
    }
    DeletePort(port);
    queue.reset();
}

void XLooper::EndLoopThread()
{
    if (threadControl == nullptr || IsCurrentThread(threadId.load()))
        return;
    const std::shared_ptr<ThreadControl> control = std::move(threadControl);
    control->stopRequested.store(true);
    control->stopSignal.Signal();
    // Wakes a waiting turn; the loop ends at this message or at the stop flag after its turn.
    XMessage leave(XMsgCode::kLeaveLoop, 0);
    leave.SendToPort(port, kNoToken, XMessage::kNoRoute, XMessage::kNoRoute);
    bool logged = false;
    // The thread may be inside a handler: its memory cannot be freed before it has left.
    while (control->endSignal.Wait(kThreadEndWaitMs) != XSemaphore::kSignalled)
    {
        if (!logged)
            LogFormatted(nullptr, "XLooper: thread of %s has not left its loop after %d ms", GetName().CStr(),
                         kThreadEndWaitMs);
        logged = true;
    }
}

// Thread -----------------------------------------------------------------------------------------

int32_t XLooper::Run()
{
    if (threadControl != nullptr && !threadControl->ended.load())
        return threadId.load();
    auto control = std::make_shared<ThreadControl>();
    auto* start = new ThreadStart{this, control};
    threadControl = control;
    const XString name = GetName();
    const int32_t id = StartNamedThread(&XLooper::ThreadBody, priorityLevel, start, name.CStr());
    if (id == 0)
    {
        delete start;
        threadControl.reset();
        return 0;
    }
    threadId.store(id);
    LogBoot("LooperThread:%s\t%d", name.CStr(), CurrentThreadId());
    // From here on the thread runs and may even delete the looper: nothing of it is touched.
    control->idRecorded.Signal();
    return id;
}

uint32_t XLooper::ThreadBody(void* argument)
{
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(argument));
    const std::shared_ptr<ThreadControl> control = start->control;
    XLooper* const self = start->looper;
    start.reset();
    control->idRecorded.Wait(XSemaphore::kWaitForever);
    // A pause that a stop request ends: with a slowed clock it could otherwise outlast any wait.
    control->stopSignal.Wait(kThreadStartSleepMs);

    bool keepLooping = !control->stopRequested.load();
    bool wait = true;
    if (keepLooping)
    {
        ++self->turnDepth;
        {
            XSmartLock hold(self->lock);
            self->loopState.store(kStateStarting);
            self->StartupInit();
            wait = !self->Pulse();
        }
        keepLooping = self->EndTurn();
    }
    // Once a turn returns false the looper may be gone: it is not touched again.
    while (keepLooping && !control->stopRequested.load() && !IsShuttingDown())
        keepLooping = self->LoopOnce(wait);
    control->ended.store(true);
    control->endSignal.Signal();
    return 0;
}

void XLooper::StartupInit()
{
    receiveBuffer.SetCapacity(kReceiveBufferBytes, false);
    threadId.store(CurrentThreadId());
    LogBoot("Looper:StartupInit:%s\t%d", GetName().CStr(), threadId.load());
}

// Loop -------------------------------------------------------------------------------------------

bool XLooper::AcceptMessage(XMessage* message)
{
    return true;
}

bool XLooper::QuitRequested()
{
    return true;
}

void XLooper::Quit()
{
    if (IsCurrentThread(threadId.load()))
    {
        // Inside a turn the turn still holds the looper: it is deleted when the outermost turn ends.
        if (turnDepth > 0)
        {
            deleteAtTurnEnd = true;
            return;
        }
        delete this;
        return;
    }
    PostCode(XMsgCode::kLeaveLoop);
    XSleep(kQuitFromOtherThreadSleepMs);
}

void XLooper::QuitLooper()
{
    Quit();
}

bool XLooper::Pulse()
{
    return false;
}

bool XLooper::LoopOnce(bool wait)
{
    ++turnDepth;
    const bool keepLooping = RunTurn(wait);
    return EndTurn() && keepLooping;
}

bool XLooper::EndTurn()
{
    if (--turnDepth == 0 && deleteAtTurnEnd)
    {
        delete this;
        return false;
    }
    return true;
}

bool XLooper::RunTurn(bool wait)
{
    // The wait for a message or the next timer happens without the looper's lock.
    ReceiveBlock(wait ? NextTimerWait() : 0);
    FireDueTimers();
    if (deleteAtTurnEnd)
        return false;
    while (ReceiveBlock(0))
    {
    }
    if (!DispatchQueue())
        return false;
    if (IsShuttingDown())
        return true;
    // Pulse runs under the looper's lock, like timers and dispatch.
    XSmartLock hold(lock);
    loopState.store(kStateIdle);
    Pulse();
    return !deleteAtTurnEnd;
}

uint32_t XLooper::Now()
{
    return tickClock.load()->GetTickCount();
}

uint32_t XLooper::NextTimerWait()
{
    std::lock_guard<std::mutex> holdTimers(timerLock);
    if (timers == nullptr)
        return kIdleWaitMs;
    const auto ahead = static_cast<int32_t>(timers->due - Now());
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

bool XLooper::ReceiveBlock(uint32_t waitMs)
{
    if (ReadPort(port, nullptr, &receiveBuffer, waitMs) != 0)
        return false;
    auto message = std::make_unique<XMessage>();
    // A block that does not rebuild is handed to nobody. When its header was readable and it owes
    // a reply, deleting it answers kNoReply, so that a sender waiting for the reply goes on.
    if (message->UnflattenFromPort(receiveBuffer.GetData(), receiveBuffer.GetLength()) == 0)
        queue->Append(message.release());
    return true;
}

void XLooper::FireDueTimers()
{
    // OnTimer runs under the looper's lock; the timer list's lock is held only between the calls.
    XSmartLock hold(lock);
    loopState.store(kStateFiringTimers);
    const uint32_t now = Now();
    while (!deleteAtTurnEnd)
    {
        XHandler* target = nullptr;
        int32_t timerId = 0;
        if (!TakeDueTimer(now, target, timerId))
            break;
        target->OnTimer(timerId);
    }
    // Back in the reverse of the firing order, each after the nodes due at the same tick.
    std::lock_guard<std::mutex> holdTimers(timerLock);
    while (firingTimers != nullptr)
    {
        TimerNode* node = firingTimers;
        firingTimers = node->next;
        InsertTimer(node);
    }
}

bool XLooper::TakeDueTimer(uint32_t now, XHandler*& target, int32_t& timerId)
{
    std::lock_guard<std::mutex> holdTimers(timerLock);
    while (timers != nullptr && !PlatformClock::TickIsBefore(now, timers->due))
    {
        TimerNode* node = timers;
        timers = node->next;
        node->next = nullptr;
        target = node->target;
        timerId = node->timerId;
        // Nodes of handlers that are gone are removed at their destruction; this is a last guard.
        if (!target->IsValid())
        {
            delete node;
            continue;
        }
        if (node->oneShot)
            delete node;
        else
        {
            // Counted from the tick at which this timer step started, not from the old due tick. Kept
            // aside while OnTimer runs, where RemoveAllTimers still finds it.
            node->due = now + static_cast<uint32_t>(node->period);
            node->next = firingTimers;
            firingTimers = node;
        }
        return true;
    }
    return false;
}

bool XLooper::DispatchQueue()
{
    loopState.store(kStateDispatching);
    while (XMessage* taken = queue->Take())
    {
        std::unique_ptr<XMessage> message(taken);
        const uint32_t what = message->GetWhat();
        if (what == XMsgCode::kLeaveLoop)
            return false;
        if (what == XMsgCode::kQuitRequested)
        {
            message.reset();
            if (!QuitRequested())
                return true;
            Quit();
            return false;
        }
        {
            // Every dispatch runs under the looper's lock.
            XSmartLock hold(lock);
            const int32_t token = message->GetTargetToken();
            XHandler* target = token == kNoToken ? nullptr : FindHandler(token);
            XMessage* const outerMessage = currentMessage;
            currentMessage = message.get();
            DispatchMessage(message.get(), target);
            message.reset();
            currentMessage = outerMessage;
        }
        if (deleteAtTurnEnd)
            return false;
    }
    return true;
}

void XLooper::DispatchMessage(XMessage* message, XHandler* handler)
{
    if (handler == nullptr)
    {
        XSmartLock hold(lock);
        handler = preferredHandler != nullptr ? preferredHandler : this;
    }
    handler->DispatchMessage(message);
}

// XHandler ---------------------------------------------------------------------------------------

void XLooper::MessageReceived(XMessage& message)
{
    if (message.GetWhat() != XMsgCode::kRemoveTimer)
    {
        XHandler::MessageReceived(message);
        return;
    }
    void* pointer = nullptr;
    if (!IsValid() || message.FindPointer(kTimerTargetItem, pointer) != 0)
        return;
    auto* handler = static_cast<XHandler*>(pointer);
    XSmartLock hold(lock);
    // The handler may have gone since the message was posted: it is touched only while attached here.
    int32_t token = 0;
    const bool attached = message.FindInt32(kTimerTargetTokenItem, token) == 0 ? FindHandler(token) == handler
                                                                               : IsAttachedHandler(handler);
    if (attached)
        RemoveTimer(handler, message.GetInt32(kTimerIdItem));
}

int32_t XLooper::PostMessage(XMessage* message)
{
    if (message == nullptr || !IsValid())
        return XResult::kFailed;
    if (!AcceptMessage(message))
        return 0;
    return WriteToPort(message, kNoToken, XMessage::kNoRoute, XMessage::kNoRoute);
}

int32_t XLooper::PostToHandler(XMessage* message, XHandler* target, XHandler* replier)
{
    if (message == nullptr)
        return XResult::kFailed;
    if (!AcceptMessage(message))
        return 0;
    int32_t replyPort = XMessage::kNoRoute;
    int32_t replyToken = XMessage::kNoRoute;
    GetReplyRoute(replier, replyPort, replyToken);
    const int32_t targetToken = target != nullptr ? target->GetToken() : GetToken();
    return WriteToPort(message, targetToken, replyPort, replyToken);
}

int32_t XLooper::WriteToPort(XMessage* message, int32_t targetToken, int32_t replyPort, int32_t replyToken)
{
    // Taken before the write: once the block is in the port, the looper may quit and be gone.
    const std::function<void()> wake = GetWakeCallback();
    const int32_t result = message->SendToPort(port, targetToken, replyPort, replyToken);
    if (result == 0 && wake)
        wake();
    return result;
}

// Wake-up ----------------------------------------------------------------------------------------

void XLooper::SetWakeCallback(std::function<void()> wake)
{
    std::lock_guard<std::mutex> hold(wakeLock);
    wakeCallback = std::move(wake);
}

std::function<void()> XLooper::GetWakeCallback() const
{
    std::lock_guard<std::mutex> hold(wakeLock);
    return wakeCallback;
}

// Handlers ---------------------------------------------------------------------------------------

bool XLooper::AddHandler(XHandler* handler)
{
    if (handler == nullptr || !handler->IsValid())
        return false;
    {
        XSmartLock hold(lock);
        XLooper* unattached = nullptr;
        if (!handler->looper.compare_exchange_strong(unattached, this))
            return false;
        handlers.Add(handler->GetToken(), handler);
    }
    handler->OnAttached();
    return true;
}

bool XLooper::RemoveHandler(XHandler* handler)
{
    if (handler == nullptr)
        return false;
    {
        XSmartLock hold(lock);
        if (handler->looper.load() != this)
            return false;
        if (preferredHandler == handler)
            preferredHandler = nullptr;
        RemoveAllTimers(handler);
        handlers.Remove(handler->GetToken());
        handler->looper.store(nullptr);
    }
    handler->OnDetached();
    return true;
}

XHandler* XLooper::FindHandler(int32_t token) const
{
    XSmartLock hold(lock);
    return handlers.Find(token);
}

XHandler* XLooper::FindHandlerByName(const char* name) const
{
    if (name == nullptr || name[0] == 0)
        return nullptr;
    XSmartLock hold(lock);
    for (auto* node = handlers.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
    {
        XHandler* handler = LongToPtrMap<XHandler>::GetNodeValue(node);
        if (handler->GetName().EqualsNoCase(name))
            return handler;
    }
    return nullptr;
}

bool XLooper::IsAttachedHandler(const XHandler* pointer) const
{
    XSmartLock hold(lock);
    for (auto* node = handlers.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        if (LongToPtrMap<XHandler>::GetNodeValue(node) == pointer)
            return true;
    return false;
}

void XLooper::SetPreferredHandler(XHandler* handler)
{
    XSmartLock hold(lock);
    preferredHandler = handler;
}

XHandler* XLooper::GetPreferredHandler() const
{
    XSmartLock hold(lock);
    return preferredHandler;
}

// Timers -----------------------------------------------------------------------------------------

void XLooper::SetTickClock(ITickClock* clock)
{
    tickClock.store(clock != nullptr ? clock : &ITickClock::Platform());
}

void XLooper::InsertTimer(TimerNode* node)
{
    TimerNode** link = &timers;
    while (*link != nullptr && !PlatformClock::TickIsBefore(node->due, (*link)->due))
        link = &(*link)->next;
    node->next = *link;
    *link = node;
}

void XLooper::SetTimer(XHandler* handler, int32_t timerId, int32_t periodMs, bool oneShot)
{
    if (handler == nullptr || handler->GetLooper() != this)
        return;
    bool isFirst = false;
    {
        std::lock_guard<std::mutex> holdTimers(timerLock);
        for (TimerNode** link = &timers; *link != nullptr;)
        {
            TimerNode* node = *link;
            if (node->target == handler && node->timerId == timerId)
            {
                *link = node->next;
                delete node;
            }
            else
                link = &node->next;
        }
        auto* node = new TimerNode();
        node->target = handler;
        node->timerId = timerId;
        node->period = periodMs < 0 ? 0 : periodMs;
        node->oneShot = oneShot;
        node->due = Now() + static_cast<uint32_t>(node->period);
        InsertTimer(node);
        isFirst = timers == node;
    }
    // A turn that waits for a later timer (or for none) wakes to wait for this one instead.
    const int32_t loopThread = threadId.load();
    if (isFirst && loopThread != 0 && !IsCurrentThread(loopThread))
    {
        const std::function<void()> wake = GetWakeCallback();
        if (WritePort(port, kWakeCode, nullptr, 0) == 0 && wake)
            wake();
    }
}

bool XLooper::RemoveTimer(XHandler* handler, int32_t timerId)
{
    if (handler == nullptr || handler->GetLooper() != this)
        return false;
    std::lock_guard<std::mutex> holdTimers(timerLock);
    return RemoveFirstTimer(timers, handler, timerId);
}

bool XLooper::CancelTimer(XHandler* handler, int32_t timerId)
{
    if (handler == nullptr || handler->GetLooper() != this)
        return false;
    std::lock_guard<std::mutex> holdTimers(timerLock);
    // A node found firing is the periodic one whose OnTimer runs (or ran) in this timer step.
    return RemoveFirstTimer(timers, handler, timerId) || RemoveFirstTimer(firingTimers, handler, timerId);
}

bool XLooper::RemoveFirstTimer(TimerNode*& list, const XHandler* handler, int32_t timerId)
{
    for (TimerNode** link = &list; *link != nullptr; link = &(*link)->next)
    {
        TimerNode* node = *link;
        if (node->target == handler && node->timerId == timerId)
        {
            *link = node->next;
            delete node;
            return true;
        }
    }
    return false;
}

bool XLooper::KillTimer(XHandler* handler, int32_t timerId)
{
    if (handler == nullptr || handler->GetLooper() != this)
        return false;
    XMessage removal(XMsgCode::kRemoveTimer, 0);
    removal.AddPointer(kTimerTargetItem, handler);
    removal.AddInt32(kTimerIdItem, timerId);
    removal.AddInt32(kTimerTargetTokenItem, handler->GetToken());
    // Aimed at the looper itself, so that a preferred handler does not receive it in its place.
    return PostToHandler(&removal, nullptr, nullptr) == 0;
}

void XLooper::RemoveAllTimers(XHandler* handler)
{
    std::lock_guard<std::mutex> holdTimers(timerLock);
    for (TimerNode** list : {&timers, &firingTimers})
    {
        for (TimerNode** link = list; *link != nullptr;)
        {
            TimerNode* node = *link;
            if (node->target == handler)
            {
                *link = node->next;
                delete node;
            }
            else
                link = &node->next;
        }
    }
}

void XLooper::DeleteTimerList(TimerNode*& list)
{
    while (list != nullptr)
    {
        TimerNode* node = list;
        list = node->next;
        delete node;
    }
}

// The global looper list -------------------------------------------------------------------------

XLooper* FindLooperByName(const char* name)
{
    if (name == nullptr)
        return nullptr;
    XSmartLock hold(LooperListLock());
    for (XLooper* looper = firstLooper; looper != nullptr; looper = looper->nextLooper)
        if (looper->GetName() == name)
            return looper;
    return nullptr;
}

XLooper* FindLooperByPort(int32_t port)
{
    XSmartLock hold(LooperListLock());
    for (XLooper* looper = firstLooper; looper != nullptr; looper = looper->nextLooper)
        if (looper->GetPort() == port)
            return looper;
    return nullptr;
}

XHandler* FindHandlerByPath(const char* path, XLooper** looperOut)
{
    if (looperOut != nullptr)
        *looperOut = nullptr;
    if (path == nullptr)
        return nullptr;
    const XString text(path);
    const int slash = text.FindChar('\\');
    XLooper* looper = FindLooperByName(slash < 0 ? path : text.Left(slash).CStr());
    if (looperOut != nullptr)
        *looperOut = looper;
    if (looper == nullptr)
        return nullptr;
    const XString handlerName = slash < 0 ? XString() : text.From(slash + 1);
    if (handlerName.IsEmpty())
        return looper;
    return looper->FindHandlerByName(handlerName.CStr());
}

int32_t PostToLooperPort(int32_t port, XMessage* message, int32_t targetToken, int32_t replyPort,
                         int32_t replyToken)
{
    if (message == nullptr)
        return XResult::kFailed;
    // The callback is copied while the list holds the looper: it is never read from a looper that
    // is gone, and it runs without the list's lock.
    std::function<void()> wake;
    {
        XSmartLock hold(LooperListLock());
        for (XLooper* looper = firstLooper; looper != nullptr; looper = looper->nextLooper)
            if (looper->GetPort() == port)
            {
                wake = looper->GetWakeCallback();
                break;
            }
    }
    const int32_t result = message->SendToPort(port, targetToken, replyPort, replyToken);
    if (result == 0 && wake)
        wake();
    return result;
}

void UnlinkLooper(XLooper* looper)
{
    XSmartLock hold(LooperListLock());
    for (XLooper** link = &firstLooper; *link != nullptr; link = &(*link)->nextLooper)
    {
        if (*link == looper)
        {
            *link = looper->nextLooper;
            looper->nextLooper = nullptr;
            return;
        }
    }
}

void QuitAllLoopers(XLooper* except)
{
    XSmartLock hold(LooperListLock());
    // The list is emptied first: a looper that Quit deletes at once finds itself unlinked already.
    XLooper* looper = firstLooper;
    firstLooper = nullptr;
    while (looper != nullptr)
    {
        XLooper* next = looper->nextLooper;
        looper->nextLooper = nullptr;
        if (looper != except)
            looper->Quit();
        looper = next;
    }
}
