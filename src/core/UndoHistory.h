#pragma once

#include "core/XElementList.h"
#include "core/XMutex.h"
#include "core/XString.h"

#include <cstdint>
#include <memory>
#include <vector>

class XHandler;
class XMessage;
class XOperation;
class XParam;

/** The history of performed operations that undo and redo walk: an undo list (oldest first) and a
    redo list (most recently undone first), both owning their operations, the undo list kept to a
    maximum depth. Clients (handlers, not owned) hear each operation's notification: a client on
    another looper's thread gets it posted, any other is called directly.

    Every operation takes the history's own lock for its whole run (clients are called under it).
    The framework's undo commands reach the process-wide history (GetUndoHistory) only under the
    process-wide history lock (GetUndoHistoryLock), which is taken before the history's own. After
    every change the history's parameter (SetUndoHistoryParam), when set, is notified with
    kParamValueSet. */
class UndoHistory
{
public:
    /** GetUndoName when the undo list is empty. */
    static constexpr const char* kNoUndoName = " ";
    /** GetRedoName when the redo list is empty. */
    static constexpr const char* kNoRedoName = "-";

    explicit UndoHistory(uint32_t maxUndoDepth);
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;
    ~UndoHistory();

    /** Adds a client once; null is ignored. A client must leave before it is destroyed. */
    void AddClient(XHandler* client);
    void RemoveClient(XHandler* client);

    /** Records a performed operation: an undoable one is appended (emptying the redo list and
        dropping the oldest entry beyond the depth), any other is deleted after its notification
        went out. Null is ignored. */
    void Push(std::unique_ptr<XOperation> operation);
    /** Undoes up to count steps (fewer when the undo list runs out), then notifies once. */
    void Undo(int count);
    /** Redoes up to count steps, then notifies once. */
    void Redo(int count);
    /** Deletes every entry; the current index becomes -1. */
    void Clear();

    bool CanUndo() const;
    bool CanRedo() const;
    /** The name of the most recent undo entry, kNoUndoName when there is none. */
    XString GetUndoName() const;
    /** The name of the most recent redo entry, kNoRedoName when there is none. */
    XString GetRedoName() const;
    int GetUndoCount() const;
    int GetRedoCount() const;
    /** The undo count minus 1 after each change; -1 after clearing. */
    int32_t GetCurrentIndex() const;

private:
    /** Sends the message to every client, then deletes it; null does nothing. */
    void TellClients(XMessage* message);
    /** Renews the current index and notifies the history's parameter. */
    void Changed();

    mutable XMutex lock;
    std::vector<XHandler*> clients; // not owned; guarded by lock
    XElementList undoList;          // oldest at the head; guarded by lock
    XElementList redoList;          // most recently undone at the head; guarded by lock
    int32_t currentIndex = -1;      // guarded by lock
    const uint32_t maxUndoDepth;
};

/** The process-wide history, or null (this program creates none). Read it, and use what it
    points to, only while holding GetUndoHistoryLock(). */
UndoHistory* GetUndoHistory();
/** Makes history (not owned; null for none) the process-wide one. Takes the history lock. */
void SetUndoHistory(UndoHistory* history);
/** The process-wide history lock. */
XMutex& GetUndoHistoryLock();
/** The parameter that every history notifies after a change (not owned; null for none). */
void SetUndoHistoryParam(XParam* param);
XParam* GetUndoHistoryParam();
