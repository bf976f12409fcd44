#pragma once

#include <cstdint>

/** A singly linked list of pointers that it does not own. Links come from one process-wide pool.
    Results are 0 or 0x80000001. Not locked: share a list between threads only under a lock of the
    caller's. GetAt is linear; iterate with GetHead and Link::next. */
class GenericList
{
public:
    struct Link
    {
        void* item;
        Link* next;
    };

    GenericList() = default;
    GenericList(const GenericList&) = delete;
    GenericList& operator=(const GenericList&) = delete;
    /** Gives every link back; the items are untouched. */
    virtual ~GenericList();

    /** Appends at the tail; null fails. */
    int32_t Add(void* item);
    /** Inserts at the front; null fails. */
    int32_t AddHead(void* item);
    /** Unlinks the first link that holds exactly item; fails when null or absent. */
    int32_t Remove(void* item);
    bool Contains(void* item) const;
    /** The item n links from the head, null when n >= count. */
    void* GetAt(unsigned n) const;
    void RemoveAll();
    /** Replaces the content with the other list's items in order. */
    int32_t CopyFrom(const GenericList& other);

    int32_t GetCount() const { return count; }
    bool IsEmpty() const { return count == 0; }
    Link* GetHead() const { return head; }

private:
    Link* head = nullptr;
    Link* tail = nullptr;
    int32_t count = 0;
};

/** GenericList with typed items; it does not own them. */
template <typename T> class XList : public GenericList
{
public:
    int32_t Add(T* item) { return GenericList::Add(item); }
    int32_t AddHead(T* item) { return GenericList::AddHead(item); }
    int32_t Remove(T* item) { return GenericList::Remove(item); }
    bool Contains(T* item) const { return GenericList::Contains(item); }
    T* GetAt(unsigned n) const { return static_cast<T*>(GenericList::GetAt(n)); }
    static T* ItemOf(const Link* link) { return link != nullptr ? static_cast<T*>(link->item) : nullptr; }
};
