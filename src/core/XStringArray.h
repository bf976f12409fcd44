#pragma once

#include "core/ObjectArray.h"
#include "core/XString.h"

/** An array of strings that owns them: every string added is a heap copy that RemoveAll and the
    destructor delete. Not locked by itself: share it between threads only under a lock of the
    caller's. */
class XStringArray
{
public:
    XStringArray() = default;
    XStringArray(const XStringArray&) = delete;
    XStringArray& operator=(const XStringArray&) = delete;
    virtual ~XStringArray();

    /** Appends a copy; 0 or 0x80000001. */
    int32_t Add(const XString& text);
    int32_t Add(const char* text);
    /** The string at i; the shared empty string when i is out of range. */
    const XString& GetAt(int i) const;
    /** Assigns to the string at i; for i at or beyond the count appends a copy; negative i does
        nothing. */
    void SetAt(int i, const XString& text);
    /** Compares from the last entry down, with or without regard to case. */
    bool Contains(const XString& text, bool noCase) const;
    /** Deletes every string (last first) and empties the array. */
    void RemoveAll();
    /** Replaces the content with "Root" (when withRoot) and then every non-empty component of the
        backslash path, in order. */
    void SplitPath(const XString& path, bool withRoot);

    int GetCount() const { return strings.GetCount(); }

private:
    ObjectArray<XString> strings; // owned copies
};
