#pragma once

#include "core/ObjectArray.h"

#include <cstdint>

class XHandler;
class XMessage;

/** A list of client handlers to which a message can be broadcast, each client at most once. The
    drive list derives from it.

    A broadcast goes to a snapshot of the clients, so a client may add or remove clients (itself
    too) while it handles one. A client must leave (RemoveClient) before it is destroyed; destroying
    the server tells every client, asynchronously, with the message kServerGone. Synchronous
    broadcasts block the caller until each client on another thread has answered, so never make
    one that a client's thread waits on. */
class XServer
{
public:
    /** Posted to every client when the server is destroyed. */
    static constexpr uint32_t kServerGone = 8200;

    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    virtual ~XServer();

    /** Adds the handler unless it is a client already; null is ignored. */
    virtual void AddClient(XHandler* handler);
    virtual void RemoveClient(XHandler* handler);
    /** Sends the message (the caller keeps it) to every client in list order. Asynchronous: posted
        to the client's looper (an unattached client gets it at once). Synchronous: a client on the
        calling thread's looper, or on none, handles it before this returns; any other client gets
        it sent and is waited for until it has handled it (its answer is discarded). */
    virtual void Broadcast(XMessage* message, bool asynchronous);

    int GetClientCount() const;

private:
    mutable ObjectArray<XHandler> clients; // not owned; guarded by the array's own lock
};
