#pragma once

#include <memory>

class XElement;

/** A doubly linked chain of elements through their own links, with a head and a tail. The list
    owns the elements it holds: RemoveAll and the destructor delete them, and the Take and Unlink
    operations hand ownership back. An element is in one list at most. Not locked. */
class XElementList
{
public:
    XElementList() = default;
    XElementList(const XElementList&) = delete;
    XElementList& operator=(const XElementList&) = delete;
    ~XElementList();

    /** Deletes every element. */
    void RemoveAll();
    /** Appends at the tail; null does nothing. */
    void Append(std::unique_ptr<XElement> element);
    /** Links the element before the head; it becomes head (and tail of an empty list). */
    void InsertHead(std::unique_ptr<XElement> element);
    /** Takes an element of this list out of the chain; null for null. */
    std::unique_ptr<XElement> Unlink(XElement* element);
    /** Takes the head out; null when empty. */
    std::unique_ptr<XElement> TakeHead();
    /** Takes the tail out; null when empty. */
    std::unique_ptr<XElement> TakeTail();

    int Count() const;
    bool IsEmpty() const { return head == nullptr; }
    XElement* GetHead() const { return head; }
    XElement* GetTail() const { return tail; }

private:
    XElement* head = nullptr; // owned, with the chain behind it
    XElement* tail = nullptr;
};
