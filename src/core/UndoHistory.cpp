#include "core/UndoHistory.h"

#include "core/ThreadServices.h"
#include "core/XHandler.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XOperation.h"
#include "core/XParam.h"
#include "core/XSmartLock.h"

#include <algorithm>
#include <atomic>

namespace
{
std::atomic<UndoHistory*> processWideHistory{nullptr}; // changed under GetUndoHistoryLock()
std::atomic<XParam*> historyParam{nullptr};

XOperation* AsOperation(XElement* element)
{
    return static_cast<XOperation*>(element);
}
} // namespace

UndoHistory::UndoHistory(uint32_t maxUndoDepthIn) : maxUndoDepth(maxUndoDepthIn) {}

UndoHistory::~UndoHistory() = default;

void UndoHistory::AddClient(XHandler* client)
{
    XSmartLock hold(lock);
    if (client != nullptr && std::find(clients.begin(), clients.end(), client) == clients.end())
        clients.push_back(client);
}

void UndoHistory::RemoveClient(XHandler* client)
{
    XSmartLock hold(lock);
    clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
}

void UndoHistory::Push(std::unique_ptr<XOperation> operation)
{
    if (operation == nullptr)
        return;
    XSmartLock hold(lock);
    XMessage* notification = operation->GetNotification(false);
    if (operation->IsUndoable())
    {
        undoList.Append(std::move(operation));
        redoList.RemoveAll();
        if (static_cast<uint32_t>(undoList.Count()) > maxUndoDepth)
            undoList.TakeHead();
        TellClients(notification);
    }
    else
    {
        TellClients(notification);
        operation.reset();
    }
    Changed();
}

void UndoHistory::Undo(int count)
{
    XSmartLock hold(lock);
    for (int step = 0; step < count && !undoList.IsEmpty(); ++step)
    {
        std::unique_ptr<XElement> entry = undoList.TakeTail();
        XOperation* operation = AsOperation(entry.get());
        operation->Undo();
        redoList.InsertHead(std::move(entry));
        TellClients(operation->GetNotification(true));
    }
    Changed();
}

void UndoHistory::Redo(int count)
{
    XSmartLock hold(lock);
    for (int step = 0; step < count && !redoList.IsEmpty(); ++step)
    {
        std::unique_ptr<XElement> entry = redoList.TakeHead();
        XOperation* operation = AsOperation(entry.get());
        operation->Redo();
        undoList.Append(std::move(entry));
        TellClients(operation->GetNotification(false));
    }
    Changed();
}

void UndoHistory::Clear()
{
    XSmartLock hold(lock);
    undoList.RemoveAll();
    redoList.RemoveAll();
    currentIndex = -1;
    if (XParam* param = GetUndoHistoryParam())
        param->Notify(XMsgCode::kParamValueSet);
}

bool UndoHistory::CanUndo() const
{
    XSmartLock hold(lock);
    return !undoList.IsEmpty();
}

bool UndoHistory::CanRedo() const
{
    XSmartLock hold(lock);
    return !redoList.IsEmpty();
}

XString UndoHistory::GetUndoName() const
{
    XSmartLock hold(lock);
    return undoList.IsEmpty() ? XString(kNoUndoName) : AsOperation(undoList.GetTail())->GetOperationName();
}

XString UndoHistory::GetRedoName() const
{
    XSmartLock hold(lock);
    return redoList.IsEmpty() ? XString(kNoRedoName) : AsOperation(redoList.GetHead())->GetOperationName();
}

int UndoHistory::GetUndoCount() const
{
    XSmartLock hold(lock);
    return undoList.Count();
}

int UndoHistory::GetRedoCount() const
{
    XSmartLock hold(lock);
    return redoList.Count();
}

int32_t UndoHistory::GetCurrentIndex() const
{
    XSmartLock hold(lock);
    return currentIndex;
}

void UndoHistory::TellClients(XMessage* message)
{
    const std::unique_ptr<XMessage> owned(message);
    if (message == nullptr)
        return;
    const std::vector<XHandler*> snapshot = clients; // a client may leave while it is told
    for (XHandler* client : snapshot)
    {
        XLooper* looper = client->GetLooper();
        if (looper != nullptr && looper->GetThreadId() != CurrentThreadId())
            looper->PostToHandler(message, client, nullptr);
        else
            client->MessageReceived(*message);
    }
}

void UndoHistory::Changed()
{
    currentIndex = undoList.Count() - 1;
    if (XParam* param = GetUndoHistoryParam())
        param->Notify(XMsgCode::kParamValueSet);
}

UndoHistory* GetUndoHistory()
{
    return processWideHistory.load();
}

void SetUndoHistory(UndoHistory* history)
{
    XSmartLock hold(GetUndoHistoryLock());
    processWideHistory.store(history);
}

XMutex& GetUndoHistoryLock()
{
    static XMutex historyLock;
    return historyLock;
}

void SetUndoHistoryParam(XParam* param)
{
    historyParam.store(param);
}

XParam* GetUndoHistoryParam()
{
    return historyParam.load();
}
