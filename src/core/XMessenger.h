#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <cstdint>

class XHandler;
class XLooper;
class XMessage;

/** Addresses a handler anywhere in the process by value: the port of its looper and its token, or
    the names of a looper and a handler that are resolved on first use (a looper name that matches
    no looper keeps the names for a later try). Sends messages there, optionally waiting for the
    reply. A plain value: copy it freely; one object belongs to one thread at a time.

    SendAndWait to a looper on another thread blocks until that looper answers (the automatic reply
    kNoReply comes when the message is destroyed unanswered), so it deadlocks when that looper is
    itself waiting for the caller; to the caller's own looper it dispatches at once. Never call it
    while holding a parameter lock or from inside a looper's turn that the target may wait on. */
class XMessenger
{
public:
    /** Name of the port that SendAndWait reads the reply from. */
    static constexpr const char* kReplyPortName = "tmp_reply_port";
    static constexpr int32_t kReplyPortCapacity = 255;

    /** Aims at the handler in looper, or in the handler's own looper when looper is null; with a
        handler, its token. Neither: no port. */
    explicit XMessenger(XHandler* handler = nullptr, XLooper* looper = nullptr);
    /** Aims at the handler named handlerName (may be null or empty: the looper decides) of the
        looper named looperName, both resolved on first use. */
    XMessenger(const char* looperName, const char* handlerName);
    XMessenger(const XMessenger& other) = default;
    XMessenger& operator=(const XMessenger& other) = default;
    ~XMessenger() = default;

    /** Looks the names up (see the class comment) and forgets them once the looper is found. */
    void Resolve();
    /** Resolves when there is no port yet; true when there is a port. */
    bool IsValid();

    /** Sends the message to the port for the token, with the replier's looper port and token as
        reply routing (none without a replier or when it is unattached); the target looper is woken
        as for its own posts (PostToLooperPort). 0, or XResult::kFailed without a port, for a null message
        or a failed write. */
    int32_t SendMessage(XMessage* message, XHandler* replier = nullptr);
    /** Sends and, with reply given, waits for the answer, which lands in reply. On the target
        looper's own thread the message is dispatched at once and answers through reply. To a looper
        without a thread yet, reply becomes kNoReply and the message is sent without waiting. A
        reply is awaited without a practical limit, except when the target's port is deleted with
        the message still unread: then reply becomes kNoReply and the result is XResult::kFailed. Without a
        reply, a plain send. 0 or XResult::kFailed (also with a reply wanted from a port that belongs to no
        looper). */
    int32_t SendAndWait(XMessage* message, XMessage* reply);

    int32_t GetPort() const { return port; }
    int32_t GetToken() const { return token; }
    bool HasHandler() const { return hasHandler; }
    /** True while names wait to be resolved. */
    bool HasPendingNames() const { return !looperName.IsEmpty(); }

private:
    /** Waits for the reply on the temporary port; see SendAndWait. */
    int32_t AwaitReply(int32_t replyPort, XMessage* reply) const;

    XString looperName;  // empty: none
    XString handlerName; // empty: none
    int32_t port = -1;
    int32_t token = -1;
    bool hasHandler = false;
};
