#include "core/XClipboard.h"

#include "core/StringToPtrMap.h"
#include "core/XMessage.h"
#include "core/XMutex.h"
#include "core/XSmartLock.h"

namespace
{
constexpr char kDefaultClipboardName[] = "GLOBAL";
constexpr int32_t kOpened = 1;

/** The shared state of every clipboard, created on first use and never destroyed, so that
    clipboards used while static objects are torn down still find it. */
struct ClipboardRegistry
{
    XMutex lock;                       // guards both maps, never held while a named lock is taken
    StringToPtrMap<XMutex> namedLocks; // name -> lock of that clipboard's users; values never freed
    StringToPtrMap<XMessage> contents; // name -> the clipboard's content; values never freed
};

ClipboardRegistry& Registry()
{
    static auto* registry = new ClipboardRegistry();
    return *registry;
}

/** The lock registered under name, made and registered when there is none; null when it cannot be
    registered. */
XMutex* NamedLock(const char* name, bool create)
{
    ClipboardRegistry& registry = Registry();
    XSmartLock hold(registry.lock);
    XMutex* lock = registry.namedLocks.Find(name);
    if (lock != nullptr || !create)
        return lock;
    lock = new XMutex();
    if (!registry.namedLocks.Add(name, lock))
    {
        delete lock;
        return nullptr;
    }
    return lock;
}
} // namespace

XClipboard::XClipboard() : name(kDefaultClipboardName) {}

XClipboard::~XClipboard()
{
    while (openCount > 0)
        Close();
}

int32_t XClipboard::Open()
{
    XMutex* lock = NamedLock(name.CStr(), true);
    if (lock == nullptr)
        return 0;
    lock->Lock();
    ++openCount;
    if (TakeSharedContent())
        return kOpened;
    Close(); // no content could be registered: the caller gets 0 and holds nothing
    return 0;
}

bool XClipboard::TakeSharedContent()
{
    ClipboardRegistry& registry = Registry();
    XSmartLock hold(registry.lock);
    content = registry.contents.Find(name.CStr());
    if (content != nullptr)
        return true;
    content = new XMessage(0);
    if (registry.contents.Add(name.CStr(), content))
        return true;
    delete content;
    content = nullptr;
    return false;
}

void XClipboard::Close()
{
    if (openCount == 0)
        return;
    if (XMutex* lock = NamedLock(name.CStr(), false))
        lock->Unlock();
    --openCount;
    content = nullptr;
}

void XClipboard::Clear()
{
    if (content != nullptr)
        content->Clear();
}
