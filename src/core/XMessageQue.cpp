#include "core/XMessageQue.h"

#include "core/XMessage.h"
#include "core/XSmartLock.h"

XMessageQue::~XMessageQue()
{
    while (XMessage* message = Take())
        delete message;
}

void XMessageQue::Append(XMessage* message)
{
    if (message == nullptr)
        return;
    XSmartLock hold(this);
    message->SetQueueLink(nullptr);
    if (newest != nullptr)
        newest->SetQueueLink(message);
    else
        oldest = message;
    newest = message;
    ++count;
}

XMessage* XMessageQue::Take()
{
    XSmartLock hold(this);
    XMessage* message = oldest;
    if (message == nullptr)
        return nullptr;
    oldest = message->GetQueueLink();
    if (oldest == nullptr)
        newest = nullptr;
    message->SetQueueLink(nullptr);
    --count;
    return message;
}
