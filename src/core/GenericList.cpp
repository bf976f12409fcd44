#include "core/GenericList.h"

#include "core/XMemPool.h"
#include "core/XResult.h"

namespace
{
constexpr unsigned kLinksPerChunk = 100;
constexpr int kLinkSize = static_cast<int>(sizeof(GenericList::Link));

XMemPool& LinkPool()
{
    // Made by the first insertion; never destroyed, as lists may outlive static teardown.
    static auto* pool = new XMemPool(kLinkSize, kLinksPerChunk, 0, "GenericListLink");
    return *pool;
}

GenericList::Link* NewLink(void* item)
{
    auto* link = static_cast<GenericList::Link*>(LinkPool().Alloc(kLinkSize));
    if (link != nullptr)
        *link = {item, nullptr};
    return link;
}
} // namespace

GenericList::~GenericList()
{
    RemoveAll();
}

int32_t GenericList::Add(void* item)
{
    if (item == nullptr)
        return XResult::kFailed;
    Link* link = NewLink(item);
    if (link == nullptr)
        return XResult::kFailed;
    if (tail != nullptr)
        tail->next = link;
    else
        head = link;
    tail = link;
    ++count;
    return 0;
}

int32_t GenericList::AddHead(void* item)
{
    if (item == nullptr)
        return XResult::kFailed;
    Link* link = NewLink(item);
    if (link == nullptr)
        return XResult::kFailed;
    link->next = head;
    head = link;
    if (tail == nullptr)
        tail = link;
    ++count;
    return 0;
}

int32_t GenericList::Remove(void* item)
{
    if (item == nullptr)
        return XResult::kFailed;
    Link* previous = nullptr;
    for (Link* link = head; link != nullptr; previous = link, link = link->next)
    {
        if (link->item != item)
            continue;
        if (previous != nullptr)
            previous->next = link->next;
        else
            head = link->next;
        if (tail == link)
            tail = previous;
        --count;
        LinkPool().Free(link, kLinkSize);
        return 0;
    }
    return XResult::kFailed;
}

bool GenericList::Contains(void* item) const
{
    if (item == nullptr)
        return false;
    for (const Link* link = head; link != nullptr; link = link->next)
        if (link->item == item)
            return true;
    return false;
}

void* GenericList::GetAt(unsigned n) const
{
    if (n >= static_cast<unsigned>(count))
        return nullptr;
    const Link* link = head;
    for (unsigned i = 0; i < n; ++i)
        link = link->next;
    return link->item;
}

void GenericList::RemoveAll()
{
    while (head != nullptr)
    {
        Link* next = head->next;
        LinkPool().Free(head, kLinkSize);
        head = next;
    }
    tail = nullptr;
    count = 0;
}

int32_t GenericList::CopyFrom(const GenericList& other)
{
    if (&other == this)
        return 0;
    RemoveAll();
    for (const Link* link = other.head; link != nullptr; link = link->next)
        if (Add(link->item) != 0)
            return XResult::kFailed;
    return 0;
}
