#pragma once

#include "core/LongToPtrMap.h"
#include "core/XDelegate1.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>

class XLooper;
class XMessage;
class XParam;

/** The base of everything that receives messages: parameters and groups, loopers, views, the device
    watcher. A handler has a name, a token that identifies it inside its looper, a validity word
    (kValidMagic while alive, 0 after destruction) that every delivery checks first, an optional
    looper it is attached to, a forwarding chain and delegates by message code.

    Delivery: an unattached handler gets posted messages at once in the calling thread; an attached
    one gets them later in its looper's thread, through the looper's port. Parameter changes go
    directly when the caller runs on the handler's looper thread (or the handler is unattached), else
    they are posted as 'pmsg' (see XLiveParamSet for the check of the parameter pointer).

    Direct delivery runs the receiver with whatever locks the caller holds: a parameter notifies its
    watchers under the parameter locks, and a looper dispatches under its own lock. Never wait for
    another looper (a send-and-wait) from such a receiver; posting is always safe.

    Lifetime: the handler's owner deletes it. Destruction detaches it from its looper, which removes
    its timers; messages still queued for its old token go to the looper's preferred handler. A
    derived handler that may be destroyed on a thread other than its looper's must detach
    (XLooper::RemoveHandler) at the start of its own destructor, so that its looper never calls it
    while its derived part is being torn down. The name may be changed only before the handler is
    attached or on its looper's thread. */
class XHandler
{
public:
    static constexpr int32_t kValidMagic = 12345678;
    /** The target token meaning "none: the looper decides". */
    static constexpr int32_t kNoToken = -1;

    using Delegate = XDelegate1<XMessage&, void>;

    explicit XHandler(const char* name = "");
    XHandler(const XHandler&) = delete;
    XHandler& operator=(const XHandler&) = delete;
    virtual ~XHandler();

    /** A timer of this handler fell due (called on its looper's thread, under the looper's lock). */
    virtual void OnTimer(int32_t timerId);
    virtual void SetMode(int32_t mode);
    /** 'pmsg' goes to ParamChanged (when its parameter is still alive); anything else goes to the
        next handler when attached and there is one, else it is dropped. */
    virtual void MessageReceived(XMessage& message);
    /** Attached: written to the looper's port for this handler (the write's result; 0 when the looper
        refuses it). Unattached: dispatched at once (0; 0 for null). XResult::kFailed when the handler is no
        longer valid. The caller keeps the message. */
    virtual int32_t PostMessage(XMessage* message);
    /** PostMessage of a bare XMessage(code, 0). */
    virtual int32_t PostCode(uint32_t code);
    /** A watched parameter changed (code kParamValueSet, kParamChangedByUser, ...); key is the watcher's key.
     */
    virtual void ParamChanged(int32_t code, XParam* param, int32_t key);
    /** Delivers a parameter change by the rule in the class comment. 0, or the post's result. A direct
        delivery runs ParamChanged under the caller's locks (the parameter lock when a parameter
        notifies): it must not wait for another looper. */
    virtual int32_t NotifyParamChanged(int32_t code, XParam* param, int32_t key);
    /** Called after the handler joined a looper. */
    virtual void OnAttached();
    /** Called after the handler left its looper. */
    virtual void OnDetached();
    virtual XString GetName() const;

    void SetName(const XString& text);
    XLooper* GetLooper() const { return looper.load(); }
    XHandler* GetNextHandler() const { return nextHandler; }
    /** Inserts h after this handler: h takes over this handler's successor (when there is one) and
        becomes the successor. Nothing changes when both already have a successor or h is this
        handler; null clears the successor. Returns h. */
    XHandler* SetNextHandler(XHandler* h);

    /** Registers callback(userData, message) for messages of one what code that reach the handler by
        dispatch, in place of MessageReceived. A code that has a delegate keeps it: false then. Any
        thread. */
    bool AddDelegate(uint32_t code, Delegate::Callback callback, void* userData);
    /** Delivery in the calling thread: the delegate of the message's code, else MessageReceived.
        Null, or a handler that is no longer valid, does nothing. */
    void DispatchMessage(XMessage* message);
    /** The non-virtual twin of NotifyParamChanged that parameters use; 0 when not valid. */
    int32_t DeliverParamChanged(int32_t code, XParam* param, int32_t key);

    /** The reply routing of messages sent on behalf of replier: its looper's port and its token, or -1
        each when replier is null or unattached. */
    static void GetReplyRoute(const XHandler* replier, int32_t& port, int32_t& token);

    int32_t GetToken() const { return token.load(); }
    /** kValidMagic while alive, 0 after destruction. */
    int32_t GetMagic() const { return magic.load(); }
    bool IsValid() const { return magic.load() == kValidMagic; }

private:
    friend class XLooper; // attaches and detaches: the looper pointer

    int32_t DeliverParamChangedByRule(int32_t code, XParam* param, int32_t key);
    /** Hands a received 'pmsg' to ParamChanged when its parameter is alive (see XLiveParamSet). */
    void DeliverPostedParamChange(const XMessage& message);
    /** The delegate for code, copied out under the delegate lock; an empty one when none. */
    Delegate FindDelegate(uint32_t code) const;

    XString name;
    std::atomic<int32_t> magic{kValidMagic};
    XHandler* nextHandler = nullptr; // not owned
    std::atomic<XLooper*> looper{nullptr};
    std::atomic<int32_t> token;
    LongToPtrMap<Delegate> delegates;      // entries owned; guarded by the process-wide delegate lock
    std::atomic<bool> hasDelegates{false}; // lets dispatch skip the delegate lock
};
