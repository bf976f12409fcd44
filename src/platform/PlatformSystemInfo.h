#pragma once

#include <cstdint>
#include <string>

/** Facts about the machine and the user's folders that the core asks of the system: host name,
    the running program's path, the documents, temporary and settings folders, and the local time.
    Folder paths come without a trailing '/' unless a function says otherwise. Thread-safe. */
class PlatformSystemInfo final
{
public:
    /** The local time split into parts; monthIndex counts from 0 (January). */
    struct LocalTime
    {
        int monthIndex = 0;
        int day = 1;
        int year = 1970;
        int hour = 0;
        int minute = 0;
        int second = 0;
    };

    /** The machine's host name; empty when the system cannot tell. */
    static std::string HostName();
    /** Full path of the running program file (from /proc/self/exe); empty on a failure. */
    static std::string ExecutablePath();
    /** The user's documents folder: XDG_DOCUMENTS_DIR of the user-dirs.dirs file in the settings
        base folder when it names an existing folder, else "$HOME/Documents". */
    static std::string DocumentsFolder();
    /** TMPDIR when set, else /tmp; always ends with '/'. */
    static std::string TempFolder();
    /** The base of the per-user settings: XDG_CONFIG_HOME when it is an absolute path, else
        "$HOME/.config", else /tmp. */
    static std::string ConfigFolder();
    /** The user's home folder: HOME, else the password database; empty when neither tells. */
    static std::string HomeFolder();
    static LocalTime GetLocalTime();
    /** Creates the folder and its missing parents (private to the user); true when it exists afterwards. */
    static bool MakeFolders(const std::string& path);

    PlatformSystemInfo() = delete;
};
