#pragma once

#include "core/XString.h"

#include <cstdint>
#include <memory>

class XMemory;
class XSemaphore;

/** A message port: a named, process-wide FIFO of byte blocks, each tagged with a 32-bit code, and a
    counting semaphore that wakes a reader. Flattened messages pass through ports from any thread to
    a looper.

    Ports are owned by the port table and addressed by id (CreatePort, WritePort, ReadPort,
    DeletePort below), never by pointer; ids are never reused. One global lock guards the table and
    every queue and every port's fields. A reader waits outside that lock on a shared copy of the port's
   semaphore, so a port deleted meanwhile never frees what the reader holds: the reader wakes and reports
   failure. */
class XMsgPort final
{
public:
    static constexpr int32_t kMaxNameLength = 31;

    /** name is cut to kMaxNameLength characters (null counts as ""); capacity below 1 counts as 1. */
    XMsgPort(int32_t id, const char* name, int32_t capacity);
    /** Frees every queued block. */
    ~XMsgPort();
    XMsgPort(const XMsgPort&) = delete;
    XMsgPort& operator=(const XMsgPort&) = delete;

    int32_t GetId() const { return id; }
    const char* GetName() const { return name; }
    int32_t GetCapacity() const { return capacity; }
    int32_t GetCount() const { return count; }
    XSemaphore& GetSemaphore() { return *semaphore; }

    /** A queued block: its header, then length bytes, in one allocation. */
    struct Block;
    /** A block holding a copy of length bytes of data (no bytes for null data); null when memory
        runs out. */
    static Block* MakeBlock(uint32_t code, const void* data, int32_t length);
    static void FreeBlock(Block* block);

    /** Appends the block at the newest end; the port takes it over. */
    void Append(Block* block);
    /** The oldest block, or null when the queue is empty. */
    const Block* Oldest() const { return oldest; }
    /** Unlinks and frees the oldest block. */
    void DropOldest();

    static uint32_t CodeOf(const Block* block);
    static int32_t LengthOf(const Block* block);
    static const uint8_t* BytesOf(const Block* block);

    /** Readers waiting on the semaphore, counted by ReadPort so that deletion can wake them. */
    void AddWaitingReader() { ++waitingReaders; }
    void RemoveWaitingReader() { --waitingReaders; }
    /** Signals the semaphore once per waiting reader. */
    void WakeWaitingReaders();

private:
    char name[kMaxNameLength + 1] = {};
    const int32_t id;
    const int32_t capacity;
    int32_t count = 0;
    Block* oldest = nullptr;
    Block* newest = nullptr;
    std::unique_ptr<XSemaphore> semaphore;
    int32_t waitingReaders = 0;
};

/** Code for ReadPort's time-out: any value above 0x7FFFFFFF waits without limit. */
constexpr uint32_t kPortWaitForever = 0xFFFFFFFFu;

/** A new port with the next id; -1 when it cannot be made. */
int32_t CreatePort(const char* name, int32_t capacity);
/** Appends a copy of length bytes (none for null data) tagged with code; signals the semaphore once
    (never beyond its maximum). Never waits and never fails because the port is full; timeoutMs is
    not used. 0, or -1 when the port does not exist or length is negative or memory runs out. */
int32_t WritePort(int32_t port, uint32_t code, const void* data, int32_t length, uint32_t timeoutMs = 0);
/** Takes the oldest block: buffer (may be null to drop the bytes) is sized to its length and gets
    its bytes, code (may be null) its code. On an empty port waits up to timeoutMs (0 does not
    wait). 0, or 0x80000001 when the port does not exist, is deleted while waiting, the time runs
    out or buffer cannot grow (the block then stays queued). */
int32_t ReadPort(int32_t port, uint32_t* code, XMemory* buffer, uint32_t timeoutMs);
/** Removes the port and frees its blocks; readers waiting on it wake and fail. 0, or -1 when there
    is no such port. */
int32_t DeletePort(int32_t port);
/** Deletes every port and the table itself (the next port operation makes a new one). */
void DeleteAllPorts();
/** The port's name, "" when there is no such port. */
XString GetPortName(int32_t port);
/** Blocks queued in the port, -1 when there is no such port. */
int32_t CountPortBlocks(int32_t port);
