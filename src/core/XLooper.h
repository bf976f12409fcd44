#pragma once

#include "core/LongToPtrMap.h"
#include "core/ThreadServices.h"
#include "core/XHandler.h"
#include "core/XMemory.h"
#include "core/XMutex.h"
#include "core/XResult.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class ITickClock;
class XMessageQue;

/** A handler that owns a message loop: a port ("LooperPort", 255 slots) through which any thread
    sends it flattened messages, a queue of rebuilt messages, the table of handlers attached to it
    (by token), a sorted list of timers and usually a thread of its own (Run). Everything attached
    to a looper runs in the looper's thread, one message at a time.

    Locking: the looper's lock (recursive, GetLock) is held while timers fire, during every dispatch
    and during each Pulse, and in every handler-table operation. The timer list has a lock of its
    own that is held only while the list is read or changed, never while anything else is called:
    so handlers may set and remove timers from inside OnTimer or a message handler, and a view that
    sets a timer from a parameter notification (under the parameter lock) does not take the looper's
    lock after the parameter lock, the reverse of a dispatch's order. Never wait for another looper
    (a send-and-wait) while holding a parameter lock, and never from a handler that the other
    looper may be waiting on: both deadlock. Posting is always safe.

    Timers count in the ticks of the looper's clock (the platform clock unless SetTickClock gives
    another) and compare them wrap-safely.

    Ending: kLeaveLoop ends the loop; a granted kQuitRequested runs Quit, which on the looper's own thread
    deletes the looper at the end of the running turn (the thread then ends), and from another
    thread posts kLeaveLoop. Use Quit, never delete, to end a looper from inside its own handlers; a
    looper that may quit on its own thread must have been made with new.
    Deleting a looper from another thread stops its thread cooperatively and waits until the thread
    has left the loop; a derived looper whose overrides run on that thread calls EndLoopThread at
    the start of its own destructor. A looper must outlive every post made through its handlers. */
class XLooper : public XHandler
{
public:
    static constexpr int32_t kPortCapacity = 255;
    /** The longest wait of a turn for a message when no timer is set. */
    static constexpr uint32_t kIdleWaitMs = 500000;
    static constexpr int32_t kReceiveBufferBytes = 1024;

    /** Loop states. */
    static constexpr int32_t kStateConstructed = 0;
    static constexpr int32_t kStateStarting = 1;
    static constexpr int32_t kStateFiringTimers = 2;
    static constexpr int32_t kStateDispatching = 3;
    static constexpr int32_t kStateIdle = 4;

    /** Makes the port, adopts itself as a handler and joins the front of the global looper list.
        priorityLevel (0..6) is used when the thread is started. */
    explicit XLooper(const char* name, int32_t priorityLevel = kNormalThreadLevel);
    ~XLooper() override;

    // XHandler ------------------------------------------------------------------------------------

    /** 'remT' removes the timer named by "pTarget" and "timerID"; anything else goes to
        XHandler::MessageReceived. */
    void MessageReceived(XMessage& message) override;
    /** XResult::kFailed for null; when AcceptMessage takes it, writes it to the looper's port with no target
        and no reply routing; else 0. */
    int32_t PostMessage(XMessage* message) override;

    // Loop ----------------------------------------------------------------------------------------

    /** Asked before a message is written to the port by PostMessage or PostToHandler. */
    virtual bool AcceptMessage(XMessage* message);
    virtual bool QuitRequested();
    /** On the looper's own thread: deletes the looper (at the end of the running turn when inside
        one). From another thread: posts kLeaveLoop and sleeps 50 ms. */
    virtual void Quit();
    /** Starts the looper's thread; returns its id (0 when none could be made; the running thread's
        id when one is running already). */
    virtual int32_t Run();
    /** Reserves the receive buffer and records the calling thread as the looper's thread. */
    virtual void StartupInit();
    virtual void QuitLooper();
    /** Called at the end of every turn; the base returns false. */
    virtual bool Pulse();
    /** Delivers to handler; null means the preferred handler, or the looper itself. */
    virtual void DispatchMessage(XMessage* message, XHandler* handler);
    using XHandler::DispatchMessage;
    /** One turn: wait (when wait) for a message or the next due timer, fire due timers, take what the
        port holds and dispatch the queue. False ends the loop; after a turn that ended with the
        looper deleted, false, and the caller must not touch the looper again. */
    virtual bool LoopOnce(bool wait);
    /** Removes the first timer with that handler and id from the list (a periodic timer that is
        firing at that moment is not on the list and keeps running). Only for a handler of this
        looper; true when one was removed. */
    virtual bool RemoveTimer(XHandler* handler, int32_t timerId);

    // Handlers ------------------------------------------------------------------------------------

    /** Attaches an unattached handler, then calls its OnAttached. True when attached. */
    bool AddHandler(XHandler* handler);
    /** Detaches a handler of this looper (no longer preferred, timers removed), then calls its
        OnDetached. True when detached. */
    bool RemoveHandler(XHandler* handler);
    XHandler* FindHandler(int32_t token) const;
    /** Case-insensitive; an empty name finds nothing. */
    XHandler* FindHandlerByName(const char* name) const;
    /** The receiver of messages without a known target; null = the looper itself. */
    void SetPreferredHandler(XHandler* handler);
    XHandler* GetPreferredHandler() const;
    /** Writes message to this looper's port for target (the looper itself when null), with the
        replier's port and token as reply routing (none without a replier or when it is unattached).
        XResult::kFailed for null; 0 when AcceptMessage refuses it; else the write's result. */
    int32_t PostToHandler(XMessage* message, XHandler* target, XHandler* replier);

    int32_t GetPort() const { return port; }
    /** The looper thread's id; 0 until a thread records it. Any thread. */
    int32_t GetThreadId() const { return threadId.load(); }
    int32_t GetPriorityLevel() const { return priorityLevel; }
    int32_t GetLoopState() const { return loopState.load(); }
    /** The message being dispatched; null between dispatches. Under the looper's lock. */
    XMessage* GetCurrentMessage() const { return currentMessage; }
    void Lock() { lock.Lock(); }
    void Unlock() { lock.Unlock(); }
    XMutex& GetLock() { return lock; }

    // Timers --------------------------------------------------------------------------------------

    /** Sets a timer of a handler of this looper, first due one period from now: replaces a timer of
        that handler and id on the list (from inside the same timer's OnTimer the firing one stays,
        so there are then two). A negative period counts as 0. */
    void SetTimer(XHandler* handler, int32_t timerId, int32_t periodMs, bool oneShot);
    /** Removes a timer in the looper's thread: posts 'remT' to the looper, so the removal happens in
        the dispatch step of its next turn (or of the running one). False when the handler is not
        attached here or the post failed. */
    bool KillTimer(XHandler* handler, int32_t timerId);
    /** Removes the handler's timer of that id at once: the one on the list, or a periodic one that
        is firing at that moment (from inside its own OnTimer), which then does not come back.
        Nothing is posted, so a timer set later with the same id is never touched. Only for a
        handler of this looper; true when one was removed. */
    bool CancelTimer(XHandler* handler, int32_t timerId);
    /** Removes every timer of the handler, including a periodic one that is firing at that moment. */
    void RemoveAllTimers(XHandler* handler);
    /** The clock of the timers; null restores the platform clock. Not owned; must outlive its use. */
    void SetTickClock(ITickClock* clock);

    // Wake-up -------------------------------------------------------------------------------------

    /** Called on the writer's thread after every block written to this looper's port by a post
        (PostMessage, PostToHandler, KillTimer), a messenger (PostToLooperPort) or a timer set from
        another thread: for a looper whose thread does not wait on its port (the GUI application's).
        It may run after the looper is gone, so it must not capture the looper; it must not wait.
        Empty: none. Any thread. */
    void SetWakeCallback(std::function<void()> wake);

protected:
    /** Ends the looper's thread cooperatively (stop flag, kLeaveLoop through the port) and waits until
        it has left the loop. Nothing on the looper's own thread or when no thread runs. */
    void EndLoopThread();

private:
    struct TimerNode;
    struct ThreadControl;
    struct ThreadStart;
    friend void UnlinkLooper(XLooper* looper);
    friend void QuitAllLoopers(XLooper* except);
    friend XLooper* FindLooperByName(const char* name);
    friend XLooper* FindLooperByPort(int32_t port);

    friend int32_t PostToLooperPort(int32_t port, XMessage* message, int32_t targetToken, int32_t replyPort,
                                    int32_t replyToken);

    static uint32_t ThreadBody(void* argument);
    /** Writes the message to the port with that routing and wakes the looper when written. */
    int32_t WriteToPort(XMessage* message, int32_t targetToken, int32_t replyPort, int32_t replyToken);
    /** A copy of the wake-up callback, taken under wakeLock. */
    std::function<void()> GetWakeCallback() const;
    /** The turn without the deferred deletion. */
    bool RunTurn(bool wait);
    /** Ends a turn; deletes the looper when Quit asked for it and this is the outermost turn.
        False when the looper was deleted. */
    bool EndTurn();
    uint32_t Now();
    uint32_t NextTimerWait();
    /** Takes one block from the port, waiting up to waitMs, and queues the rebuilt message. False
        when nothing was read. */
    bool ReceiveBlock(uint32_t waitMs);
    void FireDueTimers();
    /** Takes the first timer due at now off the list (a periodic one onto firingTimers, due again one
        period after now); false when none is due. Takes timerLock. */
    bool TakeDueTimer(uint32_t now, XHandler*& target, int32_t& timerId);
    /** Dispatches the queue; false ends the loop. */
    bool DispatchQueue();
    /** Puts a node into the list after every node due at or before it. Under timerLock. */
    void InsertTimer(TimerNode* node);
    /** Handler of this looper that is pointer (compared, never dereferenced). */
    bool IsAttachedHandler(const XHandler* pointer) const;
    static void DeleteTimerList(TimerNode*& list);
    /** Unlinks and deletes the first node of the list with that handler and id; true when found. */
    static bool RemoveFirstTimer(TimerNode*& list, const XHandler* handler, int32_t timerId);

    std::atomic<int32_t> loopState{kStateConstructed};
    TimerNode* timers = nullptr;       // owned; ascending due tick; guarded by timerLock
    TimerNode* firingTimers = nullptr; // owned; periodic nodes fired in this timer step; guarded by timerLock
    std::unique_ptr<XMessageQue> queue;
    XMemory receiveBuffer;              // the looper thread's only
    LongToPtrMap<XHandler> handlers;    // token -> attached handler, not owned; guarded by lock
    XMessage* currentMessage = nullptr; // guarded by lock
    std::atomic<int32_t> threadId{0};
    const int32_t priorityLevel;
    int32_t port = -1;
    XHandler* preferredHandler = nullptr; // guarded by lock
    XLooper* nextLooper = nullptr;        // guarded by the global looper list's lock
    mutable XMutex lock;
    std::mutex timerLock; // innermost: nothing is called while it is held
    std::atomic<ITickClock*> tickClock;
    mutable std::mutex wakeLock;
    std::function<void()> wakeCallback; // guarded by wakeLock
    /** The running thread's stop flag and end signal, shared with it; null without a thread. */
    std::shared_ptr<ThreadControl> threadControl;
    int32_t turnDepth = 0;        // the looper's thread only (turns nest inside modal loops)
    bool deleteAtTurnEnd = false; // the looper's thread only
};

/** The looper of that name in the global list (case counts); null when none. */
XLooper* FindLooperByName(const char* name);
/** The looper that owns the port; null when none. */
XLooper* FindLooperByPort(int32_t port);
/** "looper\handler": the looper by the text before the first backslash, then its handler by the
    text after it (the looper itself when nothing follows). looper (may be null) gets the looper. */
XHandler* FindHandlerByPath(const char* path, XLooper** looper = nullptr);
/** Writes the message to the port for targetToken with that reply routing; when the port is a
    looper's, the looper is woken as for its own posts (AcceptMessage is not asked). The result of
    XMessage::SendToPort. Any thread. */
int32_t PostToLooperPort(int32_t port, XMessage* message, int32_t targetToken, int32_t replyPort,
                         int32_t replyToken);
/** Removes the looper from the global list; nothing when it is not there. */
void UnlinkLooper(XLooper* looper);
/** Calls Quit on every looper of the global list other than except, then empties the list. */
void QuitAllLoopers(XLooper* except);
