#include "platform/PlatformThreads.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(PlatformThreadsTest, SystemPrioritiesMapToNiceValuesInOrder)
{
    struct Case
    {
        int32_t systemPriority;
        int nice;
    };
    const Case cases[] = {{-15, 19}, {-14, 19}, {-2, 10},  {-1, 5},  {0, 0},
                          {1, -5},   {2, -10},  {14, -20}, {15, -20}};
    for (const Case& c : cases)
        EXPECT_EQ(PlatformThreads::NiceValueFor(c.systemPriority), c.nice) << c.systemPriority;
}

TEST(PlatformThreadsTest, ThreadListHoldsTheCallingThread)
{
    std::vector<int32_t> ids{-5};
    ASSERT_TRUE(PlatformThreads::ListThreads(PlatformThreads::CurrentProcessId(), ids));
    EXPECT_NE(std::find(ids.begin(), ids.end(), PlatformThreads::CurrentThreadId()), ids.end());
    EXPECT_EQ(std::find(ids.begin(), ids.end(), -5), ids.end());
    EXPECT_FALSE(PlatformThreads::ListThreads(-1, ids));
    EXPECT_TRUE(ids.empty());
}
