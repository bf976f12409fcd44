#pragma once

#include <string>
#include <vector>

/** Notices volumes that come and go: a snapshot of the process's mount table (/proc/self/mountinfo)
    compared with the one before. This system's stand-in for the device arrival and removal
    notifications of a desktop: whoever owns the watcher polls it, normally from a timer on the
    message thread. One object belongs to one thread; reading the table never fails the caller
    (an unreadable table reads as empty). */
class PlatformMountWatcher final
{
public:
    /** Counts of mounts that appeared and disappeared between two snapshots. */
    struct Changes
    {
        int arrivals = 0;
        int removals = 0;
    };

    /** Takes the first snapshot. */
    PlatformMountWatcher();

    /** Reads the mount table again and compares it with the last snapshot, which it replaces. */
    Changes Poll();

    /** The sorted keys (mount id and mount point) of a mount table's text, one line per mount. */
    static std::vector<std::string> ParseMountKeys(const std::string& text);
    /** The changes from one sorted key list to another. */
    static Changes Compare(const std::vector<std::string>& before, const std::vector<std::string>& after);

private:
    static std::vector<std::string> ReadMountKeys();

    std::vector<std::string> snapshot;
};
