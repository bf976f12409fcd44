#include "core/ProcessState.h"

#include <gtest/gtest.h>

TEST(ProcessStateDeathTest, FatalErrorEndsTheProcessWithANonZeroCode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(FatalError("CreateSemaphore() failed"), testing::ExitedWithCode(kFatalErrorExitCode),
                "CreateSemaphore\\(\\) failed");
    EXPECT_NE(kFatalErrorExitCode, 0);
}
