#pragma once

#include "core/XCommand.h"
#include "core/XMessage.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

/** Helpers of the command, undo and server tests. */
namespace CommandTest
{
/** A command that records its runs and whose title and enabled state the test sets. */
class FakeCommand : public XCommand
{
public:
    explicit FakeCommand(const char* name = "", const char* titleIn = "Fake") : XCommand(name), title(titleIn)
    {
    }

    void Execute(XMessage* request) override
    {
        ++runs;
        lastRequestName = request != nullptr ? request->GetString("commandname") : "";
    }
    XString GetTitle() override { return title; }
    bool IsEnabled(XMessage* request) override { return enabled; }

    XString title;
    bool enabled = true;
    int runs = 0;
    std::string lastRequestName;
};

/** Checks inside a child process: failures are printed and make the exit code non-zero. */
class ChildChecks
{
public:
    void Expect(bool ok, const char* what, int line)
    {
        if (ok)
            return;
        std::fprintf(stderr, "line %d: check failed: %s\n", line, what);
        ++failures;
    }
    int ExitCode() const { return failures == 0 ? 0 : 1; }

private:
    int failures = 0;
};
#define CHILD_CHECK(checks, condition) (checks).Expect((condition), #condition, __LINE__)

/** Runs a scenario that makes an application in a fresh copy of the test program: destroying an
    application marks the process as shutting down for good, which would stop later tests' loopers.
    Expects the scenario to return 0. */
inline void ExpectScenarioPasses(const std::function<int()>& scenario)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(scenario()), ::testing::ExitedWithCode(0), "");
}
} // namespace CommandTest
