#include "core/XServer.h"

#include "core/ThreadServices.h"
#include "core/XHandler.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessenger.h"
#include "core/XSmartLock.h"

#include <vector>

XServer::~XServer()
{
    XMessage gone(kServerGone, 0);
    XServer::Broadcast(&gone, true);
}

void XServer::AddClient(XHandler* handler)
{
    if (handler == nullptr)
        return;
    XSmartLock hold(clients);
    if (!clients.Contains(handler))
        clients.Add(handler);
}

void XServer::RemoveClient(XHandler* handler)
{
    XSmartLock hold(clients);
    clients.Remove(handler);
}

int XServer::GetClientCount() const
{
    XSmartLock hold(clients);
    return clients.GetCount();
}

void XServer::Broadcast(XMessage* message, bool asynchronous)
{
    if (message == nullptr)
        return;
    std::vector<XHandler*> snapshot;
    {
        XSmartLock hold(clients);
        for (int i = 0; i < clients.GetCount(); ++i)
            snapshot.push_back(clients.At(i));
    }
    for (XHandler* client : snapshot)
    {
        XLooper* looper = client->GetLooper();
        if (looper == nullptr)
            client->MessageReceived(*message);
        else if (asynchronous)
            XMessenger(client).SendMessage(message);
        else if (looper->GetThreadId() == CurrentThreadId())
            client->MessageReceived(*message);
        else
        {
            XMessage discardedReply;
            XMessenger(client).SendAndWait(message, &discardedReply);
        }
    }
}
