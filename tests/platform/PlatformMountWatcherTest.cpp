#include "platform/PlatformMountWatcher.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
const char kTable[] = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                      "36 22 0:5 / /proc rw,nosuid - proc proc rw\n"
                      "\n"
                      "short line\n"
                      "90 22 8:17 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n";
} // namespace

TEST(PlatformMountWatcher, MountKeysAreIdAndMountPointSorted)
{
    const std::vector<std::string> expected = {"22 /", "36 /proc", "90 /media/usb\\040stick"};
    EXPECT_EQ(PlatformMountWatcher::ParseMountKeys(kTable), expected);
    EXPECT_TRUE(PlatformMountWatcher::ParseMountKeys("").empty());
}

TEST(PlatformMountWatcher, ComparisonCountsArrivalsAndRemovals)
{
    struct Case
    {
        std::vector<std::string> before;
        std::vector<std::string> after;
        int arrivals;
        int removals;
    };
    const Case cases[] = {
        {{"1 /", "2 /proc"}, {"1 /", "2 /proc"}, 0, 0},
        {{"1 /"}, {"1 /", "7 /media/usb"}, 1, 0},
        {{"1 /", "7 /media/usb"}, {"1 /"}, 0, 1},
        // The same point mounted again under a new id: one removal and one arrival.
        {{"1 /", "7 /media/usb"}, {"1 /", "8 /media/usb"}, 1, 1},
        {{}, {"1 /", "2 /a", "3 /b"}, 3, 0},
    };
    for (const Case& c : cases)
    {
        const PlatformMountWatcher::Changes changes = PlatformMountWatcher::Compare(c.before, c.after);
        EXPECT_EQ(changes.arrivals, c.arrivals);
        EXPECT_EQ(changes.removals, c.removals);
    }
}

TEST(PlatformMountWatcher, AnUnchangedTableReportsNothing)
{
    PlatformMountWatcher watcher;
    const PlatformMountWatcher::Changes changes = watcher.Poll();
    EXPECT_EQ(changes.arrivals, 0);
    EXPECT_EQ(changes.removals, 0);
}

TEST(PlatformMountWatcher, RandomTextParsesWithoutFault)
{
    std::mt19937 random(640);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 400);
    for (int round = 0; round < 500; ++round)
    {
        std::string text(static_cast<size_t>(length(random)), ' ');
        for (char& c : text)
            c = static_cast<char>(byte(random) % 4 == 0 ? '\n' : byte(random));
        const std::vector<std::string> keys = PlatformMountWatcher::ParseMountKeys(text);
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    }
}
