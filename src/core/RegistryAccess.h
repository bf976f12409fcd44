#pragma once

#include "core/XString.h"

#include <cstdint>

/** The settings store addressed by full textual key paths: a root key name, a backslash and the
    sub-key path ("HKEY_LOCAL_MACHINE\SOFTWARE\RQ\KRX-640"). Root names compare exactly; sub-key paths
    compare without regard to case. The values live in the platform's settings store
    (PlatformRegistry), which these functions open for the running application (its maker and name)
    when nobody has yet.

    Failures are quiet: reads give the default, writes do nothing. */
namespace RegistryAccess
{
constexpr uint32_t kClassesRoot = 0x80000000u;
constexpr uint32_t kCurrentUser = 0x80000001u;
constexpr uint32_t kLocalMachine = 0x80000002u;
constexpr uint32_t kUsers = 0x80000003u;
constexpr uint32_t kPerformanceData = 0x80000004u;
constexpr uint32_t kCurrentConfig = 0x80000005u;
constexpr uint32_t kDynData = 0x80000006u;
/** The root of a name that names none. */
constexpr uint32_t kUnknownRoot = 0;

/** Opens the platform's settings store for the application of that maker and name (see
    PlatformRegistry::Open) and logs every line of its file that cannot be read, which the store
    keeps as it stands. False when the store works in memory only. */
bool OpenStore(const char* vendorName, const char* appName);

/** Splits a full path at its first backslash: the root key of the first component (kUnknownRoot
    when it names none) and the rest as the sub-key (empty without a backslash). */
uint32_t SplitPath(const char* path, XString& subKey);
} // namespace RegistryAccess

/** The root key of an exact root name ("HKEY_LOCAL_MACHINE" -> 0x80000002); 0 for any other text,
    abbreviations and other spellings included. */
uint32_t GetRootKeyByName(const char* name);

/** Creates (or opens) the key and its parents; false for an unknown root or a failed store. This
    store has no key handles, so there is nothing to close. */
bool CreateRegistryKey(uint32_t rootKey, const char* subKey);

/** True when the key of the full path exists; false for an unknown root. */
bool RegistryKeyExists(const char* path);

/** The 32-bit value, or defaultValue when the root is unknown, the key or the value is missing, or
    the value is not a 32-bit value. */
uint32_t ReadRegistryDword(const char* path, const char* valueName, uint32_t defaultValue);

/** Writes a 32-bit value, creating the key; a path with an unknown root is taken whole as a sub-key
    of HKEY_LOCAL_MACHINE. */
void WriteRegistryDword(const char* path, const char* valueName, uint32_t value);

/** Writes a text value, creating the key; nothing for an unknown root. */
void WriteRegistryString(const char* path, const char* valueName, const char* text);
