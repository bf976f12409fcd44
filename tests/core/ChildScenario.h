#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

/** Runs scenarios that need an application object in a fresh copy of the test program: an
    application marks the process as shutting down for good when it goes, which would stop the
    loopers of every later test. Inside the child, SCENARIO_CHECK reports a failed condition on the
    standard error stream (the parent shows it) and counts it in the scenario's local "failures". */
namespace ChildScenario
{
/** Expects scenario to return 0 (no failed checks) in the child process. */
inline void ExpectPasses(const std::function<int()>& scenario)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(scenario()), ::testing::ExitedWithCode(0), "");
}
} // namespace ChildScenario

#define SCENARIO_CHECK(condition)                                                                            \
    do                                                                                                       \
    {                                                                                                        \
        if (!(condition))                                                                                    \
        {                                                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);               \
            ++failures;                                                                                      \
        }                                                                                                    \
    } while (false)
