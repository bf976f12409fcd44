#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** This platform's stand-in for the system registry: keys addressed by a root key number
    (0x80000000 HKEY_CLASSES_ROOT ... 0x80000006) and a backslash sub-key path that compares without
    regard to case, each holding named 32-bit or text values.

    Everything lives in one settings file, $XDG_CONFIG_HOME/<maker>/<application>/registry.txt
    (XDG_CONFIG_HOME defaults to ~/.config), chosen by Open. It is read once, kept in memory and
    written whole after every change, through a temporary file and a rename, so a crash never leaves
    half a file; lines it cannot read are kept and written back (see Open). Before Open the store
    lives in memory only. Thread-safe (one internal lock). */
class PlatformRegistry final
{
public:
    /** Chooses the settings file by maker and application names and loads it; a second call with
        other names switches files. Lines of the file that cannot be read (anything but blank
        lines, key headers "[path]" and value lines "name"=dword:<hexadecimal that fits 32 bits> or
        "name"="text" under a key) are kept as they stand, written back with the key they stood
        under, and described in unreadable ("line N: <text>") when it is given. Returns false when
        the folder cannot be made (the store then works in memory). */
    static bool Open(const std::string& makerName, const std::string& applicationName,
                     std::vector<std::string>* unreadable = nullptr);

    /** The settings file in use, empty before Open. */
    static std::string FilePath();

    static bool KeyExists(uint32_t rootKey, const std::string& subKey);
    /** Creates the key (and its parents) when missing; false for an unknown root. */
    static bool CreateKey(uint32_t rootKey, const std::string& subKey);
    /** False when the key or the value is missing or the value is not a 32-bit value. */
    static bool ReadDword(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                          uint32_t& value);
    static bool ReadString(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                           std::string& text);
    static bool WriteDword(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                           uint32_t value);
    static bool WriteString(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                            const std::string& text);

    /** Forgets everything in memory and the file choice; for tests. */
    static void Reset();

    PlatformRegistry() = delete;
};
