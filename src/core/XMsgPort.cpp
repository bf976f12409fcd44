#include "core/XMsgPort.h"

#include "core/LongToPtrMap.h"
#include "core/XMemory.h"
#include "core/XMutex.h"
#include "core/XResult.h"
#include "core/XSemaphore.h"
#include "core/XSmartLock.h"
#include "platform/PlatformClock.h"

#include <cstring>
#include <limits>
#include <new>

namespace
{
constexpr uint32_t kLongestTimedWaitMs = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());

/** The process-wide port table. Never destroyed, so ports stay usable while the process exits. */
struct PortTable
{
    XMutex lock;                                 // guards everything below and every port
    std::unique_ptr<LongToPtrMap<XMsgPort>> map; // made on first use
    int32_t nextId = 1;

    LongToPtrMap<XMsgPort>& Map()
    {
        if (map == nullptr)
            map = std::make_unique<LongToPtrMap<XMsgPort>>();
        return *map;
    }
    XMsgPort* Find(int32_t port) { return map != nullptr ? map->Find(port) : nullptr; }
};

PortTable& Table()
{
    static PortTable* const table = new PortTable();
    return *table;
}
} // namespace

struct XMsgPort::Block
{
    Block* next;
    int32_t length;
    uint32_t code;

    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this + 1); }
};

XMsgPort::XMsgPort(int32_t portId, const char* portName, int32_t portCapacity)
    : id(portId), capacity(portCapacity < 1 ? 1 : portCapacity),
      semaphore(std::make_unique<XSemaphore>(capacity))
{
    if (portName != nullptr)
        std::strncpy(name, portName, kMaxNameLength);
    name[kMaxNameLength] = 0;
}

XMsgPort::~XMsgPort()
{
    while (oldest != nullptr)
        DropOldest();
}

XMsgPort::Block* XMsgPort::MakeBlock(uint32_t code, const void* data, int32_t length)
{
    if (data == nullptr)
        length = 0;
    void* memory = ::operator new(sizeof(Block) + static_cast<size_t>(length), std::nothrow);
    if (memory == nullptr)
        return nullptr;
    auto* block = new (memory) Block{nullptr, length, code};
    if (length > 0)
        std::memcpy(block->Bytes(), data, static_cast<size_t>(length));
    return block;
}

void XMsgPort::FreeBlock(Block* block)
{
    if (block == nullptr)
        return;
    block->~Block();
    ::operator delete(block);
}

void XMsgPort::Append(Block* block)
{
    block->next = nullptr;
    if (newest != nullptr)
        newest->next = block;
    else
        oldest = block;
    newest = block;
    ++count;
}

void XMsgPort::DropOldest()
{
    Block* block = oldest;
    if (block == nullptr)
        return;
    oldest = block->next;
    if (oldest == nullptr)
        newest = nullptr;
    --count;
    FreeBlock(block);
}

uint32_t XMsgPort::CodeOf(const Block* block)
{
    return block->code;
}

int32_t XMsgPort::LengthOf(const Block* block)
{
    return block->length;
}

const uint8_t* XMsgPort::BytesOf(const Block* block)
{
    return reinterpret_cast<const uint8_t*>(block + 1);
}

void XMsgPort::WakeWaitingReaders()
{
    for (int32_t i = 0; i < waitingReaders; ++i)
        semaphore->Signal();
}

int32_t CreatePort(const char* name, int32_t capacity)
{
    PortTable& table = Table();
    XSmartLock hold(table.lock);
    auto port = std::unique_ptr<XMsgPort>(new (std::nothrow) XMsgPort(table.nextId, name, capacity));
    if (port == nullptr || !table.Map().Add(port->GetId(), port.get()))
        return -1;
    ++table.nextId;
    return port.release()->GetId();
}

int32_t WritePort(int32_t port, uint32_t code, const void* data, int32_t length, uint32_t /*timeoutMs*/)
{
    if (length < 0)
        return -1;
    XMsgPort::Block* block = XMsgPort::MakeBlock(code, data, length);
    if (block == nullptr)
        return -1;
    PortTable& table = Table();
    XSmartLock hold(table.lock);
    XMsgPort* target = table.Find(port);
    if (target == nullptr)
    {
        XMsgPort::FreeBlock(block);
        return -1;
    }
    target->Append(block);
    target->GetSemaphore().Signal();
    return 0;
}

namespace
{
/** Moves the oldest block of port into buffer and code; false (block kept) when buffer cannot grow.
    Runs under the table lock. */
bool TakeOldest(XMsgPort& port, uint32_t* code, XMemory* buffer)
{
    const XMsgPort::Block* block = port.Oldest();
    const int32_t length = XMsgPort::LengthOf(block);
    if (buffer != nullptr)
    {
        if (buffer->SetSize(length) != 0)
            return false;
        if (length > 0)
            std::memcpy(buffer->GetData(), XMsgPort::BytesOf(block), static_cast<size_t>(length));
    }
    if (code != nullptr)
        *code = XMsgPort::CodeOf(block);
    port.DropOldest();
    return true;
}
} // namespace

int32_t ReadPort(int32_t port, uint32_t* code, XMemory* buffer, uint32_t timeoutMs)
{
    PortTable& table = Table();
    const bool waitForever = timeoutMs > kLongestTimedWaitMs;
    const uint32_t start = PlatformClock::GetTickCount();
    bool countTaken = false; // a signal of the semaphore already stands for the block we take

    table.lock.Lock();
    for (;;)
    {
        XMsgPort* source = table.Find(port);
        if (source == nullptr)
            break;
        if (source->Oldest() != nullptr)
        {
            // More blocks than the capacity may be queued, so the count may already be 0.
            if (!countTaken)
                source->GetSemaphore().Wait(0);
            if (!TakeOldest(*source, code, buffer))
            {
                source->GetSemaphore().Signal();
                break;
            }
            table.lock.Unlock();
            return 0;
        }

        const uint32_t elapsed = PlatformClock::TicksSince(start, PlatformClock::GetTickCount());
        const int32_t waitMs = waitForever            ? XSemaphore::kWaitForever
                               : elapsed >= timeoutMs ? 0
                                                      : static_cast<int32_t>(timeoutMs - elapsed);
        // The copy shares the semaphore, so it stays valid when the port is deleted meanwhile.
        XSemaphore semaphore(source->GetSemaphore());
        source->AddWaitingReader();
        table.lock.Unlock();
        const int32_t waitResult = semaphore.Wait(waitMs);
        table.lock.Lock();

        source = table.Find(port);
        if (source != nullptr)
            source->RemoveWaitingReader();
        if (waitResult != XSemaphore::kSignalled)
            break;
        countTaken = true;
    }
    table.lock.Unlock();
    return XResult::kFailed;
}

int32_t DeletePort(int32_t port)
{
    PortTable& table = Table();
    XSmartLock hold(table.lock);
    XMsgPort* target = table.Find(port);
    if (target == nullptr)
        return -1;
    table.map->Remove(port);
    target->WakeWaitingReaders();
    delete target;
    return 0;
}

void DeleteAllPorts()
{
    PortTable& table = Table();
    XSmartLock hold(table.lock);
    if (table.map == nullptr)
        return;
    for (BinaryTree::Node* node = table.map->FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
    {
        XMsgPort* port = LongToPtrMap<XMsgPort>::GetNodeValue(node);
        port->WakeWaitingReaders();
        delete port;
    }
    table.map->RemoveAll();
    table.map.reset();
}

XString GetPortName(int32_t port)
{
    PortTable& table = Table();
    XSmartLock hold(table.lock);
    const XMsgPort* target = table.Find(port);
    return target != nullptr ? XString(target->GetName()) : XString();
}

int32_t CountPortBlocks(int32_t port)
{
    PortTable& table = Table();
    XSmartLock hold(table.lock);
    const XMsgPort* target = table.Find(port);
    return target != nullptr ? target->GetCount() : -1;
}
