#include "platform/PlatformMountWatcher.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace
{
constexpr char kMountInfoPath[] = "/proc/self/mountinfo";
/** Fields of a mountinfo line: mount id first, the mount point fifth. */
constexpr int kMountIdField = 0;
constexpr int kMountPointField = 4;
} // namespace

PlatformMountWatcher::PlatformMountWatcher() : snapshot(ReadMountKeys()) {}

PlatformMountWatcher::Changes PlatformMountWatcher::Poll()
{
    std::vector<std::string> current = ReadMountKeys();
    const Changes changes = Compare(snapshot, current);
    snapshot = std::move(current);
    return changes;
}

std::vector<std::string> PlatformMountWatcher::ParseMountKeys(const std::string& text)
{
    std::vector<std::string> keys;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string field;
        std::string mountId;
        std::string mountPoint;
        for (int index = 0; index <= kMountPointField && fields >> field; ++index)
        {
            if (index == kMountIdField)
                mountId = field;
            else if (index == kMountPointField)
                mountPoint = field;
        }
        if (!mountPoint.empty())
            keys.push_back(mountId + ' ' + mountPoint);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

PlatformMountWatcher::Changes PlatformMountWatcher::Compare(const std::vector<std::string>& before,
                                                            const std::vector<std::string>& after)
{
    std::vector<std::string> difference;
    Changes changes;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(difference));
    changes.arrivals = static_cast<int>(difference.size());
    difference.clear();
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(difference));
    changes.removals = static_cast<int>(difference.size());
    return changes;
}

std::vector<std::string> PlatformMountWatcher::ReadMountKeys()
{
    std::ifstream stream(kMountInfoPath);
    std::ostringstream text;
    text << stream.rdbuf();
    return ParseMountKeys(text.str());
}
