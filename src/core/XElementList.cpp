#include "core/XElementList.h"

#include "core/XElement.h"

XElementList::~XElementList()
{
    RemoveAll();
}

void XElementList::RemoveAll()
{
    while (!IsEmpty())
        TakeHead();
}

void XElementList::Append(std::unique_ptr<XElement> element)
{
    if (element == nullptr)
        return;
    XElement* added = element.release();
    added->previous = tail;
    added->next = nullptr;
    if (tail != nullptr)
        tail->next = added;
    else
        head = added;
    tail = added;
}

void XElementList::InsertHead(std::unique_ptr<XElement> element)
{
    if (element == nullptr)
        return;
    XElement* added = element.release();
    added->previous = nullptr;
    added->next = head;
    if (head != nullptr)
        head->previous = added;
    else
        tail = added;
    head = added;
}

std::unique_ptr<XElement> XElementList::Unlink(XElement* element)
{
    if (element == nullptr)
        return nullptr;
    if (element->previous != nullptr)
        element->previous->next = element->next;
    else
        head = element->next;
    if (element->next != nullptr)
        element->next->previous = element->previous;
    else
        tail = element->previous;
    element->next = nullptr;
    element->previous = nullptr;
    return std::unique_ptr<XElement>(element);
}

std::unique_ptr<XElement> XElementList::TakeHead()
{
    return Unlink(head);
}

std::unique_ptr<XElement> XElementList::TakeTail()
{
    return Unlink(tail);
}

int XElementList::Count() const
{
    int count = 0;
    for (const XElement* element = head; element != nullptr; element = element->GetNext())
        ++count;
    return count;
}
