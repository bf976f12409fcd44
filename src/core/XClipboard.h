#pragma once

#include "core/XString.h"

#include <cstdint>

class XMessage;

/** A named, process-wide clipboard whose content is an XMessage. Every XClipboard of the same name
    shares one content message and one recursive lock: Open takes the lock and makes the shared
    message the current content, Close releases it, so users of one name take turns. The shared
    lock and content are created on first use and live until the process ends, beyond every
    XClipboard object.

    One object belongs to one thread at a time; Open and Close must be called on the same thread.
    An object destroyed while open releases its holds first. */
class XClipboard
{
public:
    XClipboard();
    virtual ~XClipboard();
    XClipboard(const XClipboard&) = delete;
    XClipboard& operator=(const XClipboard&) = delete;

    /** Waits for and takes the clipboard (the same thread may open twice); the shared content
        becomes the current content, made empty (code 0) on first use. Non-zero on success, 0 when
        the clipboard could not be had. */
    virtual int32_t Open();
    /** Releases one hold taken by this object's Open; the current content becomes null. Nothing
        when the object holds none. */
    virtual void Close();

    /** The shared content while open; null otherwise. */
    XMessage* GetContent() const { return content; }
    /** While open, removes every item of the content. */
    void Clear();
    const XString& GetName() const { return name; }

private:
    /** Under the registry lock: the content registered under the name, registered anew when
        missing. False when it could not be registered. */
    bool TakeSharedContent();

    XString name;
    XMessage* content = nullptr; // shared, not owned; set while open
    int32_t openCount = 0;       // holds of the named lock taken by this object
};
