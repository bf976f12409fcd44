#pragma once

#include "core/XMutex.h"

#include <cstdint>

class XMessage;

/** The FIFO of rebuilt messages that wait in a looper for dispatch, chained through the messages'
    queue links. The queue owns its messages: Take hands one over to the caller, and destroying the
    queue deletes those still in it (a message that owes a reply then answers kNoReply). Append and
    Take hold the queue's own lock for that one step, so any thread may use them. */
class XMessageQue final : public XMutex
{
public:
    XMessageQue() = default;
    ~XMessageQue() override;

    /** Appends at the newest end and takes the message over; null does nothing. */
    void Append(XMessage* message);
    /** Unlinks the oldest message and hands it over; null when empty. */
    XMessage* Take();
    int32_t GetCount() const { return count.load(); }

private:
    XMessage* oldest = nullptr; // guarded by the queue's lock
    XMessage* newest = nullptr; // guarded by the queue's lock
    std::atomic<int32_t> count{0};
};
