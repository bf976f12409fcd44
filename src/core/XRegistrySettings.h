#pragma once

#include "core/XString.h"

#include <cstdint>

/** The application's own settings key, HKEY_LOCAL_MACHINE\SOFTWARE\<vendor>\<application>\<sub-key>,
    with 32-bit integer and bool values read and written by name. The sub-key path is a stack of
    components (PushKey, PopKey), so one object can visit several keys ("windows\main").

    Failures are quiet (reads give the default). One object belongs to one thread. */
class XRegistrySettings final
{
public:
    /** An empty (or null) vendor is the application's vendor name, an empty application name the
        application's name; the sub-key path starts empty. */
    XRegistrySettings(const char* vendor = nullptr, const char* application = nullptr);

    /** Appends a component to the sub-key path. */
    void PushKey(const char* name);
    /** Removes the last component of the sub-key path (nothing when it is empty). */
    void PopKey();

    int32_t ReadInt(const char* name, int32_t defaultValue) const;
    /** A stored value other than 0 is true. */
    bool ReadBool(const char* name, bool defaultValue) const;
    void WriteInt(const char* name, int32_t value);
    /** Stored as 1 or 0. */
    void WriteBool(const char* name, bool value);

    /** "HKEY_LOCAL_MACHINE\SOFTWARE" and every non-empty part of vendor, application and sub-key,
        each behind a backslash unless it starts with one. */
    XString GetFullKey() const;
    const XString& GetSubKey() const { return subKey; }

private:
    XString vendorName;
    XString applicationName;
    XString subKey;
};
