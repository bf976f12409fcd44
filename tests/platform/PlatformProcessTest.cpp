// Starting a program detached: no arguments, the given working folder, and the system's error for
// what cannot be started.

#include "platform/PlatformProcess.h"

#include "platform/PlatformSystemInfo.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace
{
constexpr int kWaitMs = 10000;

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string WriteScript(const TestSupport::TempFolder& folder, const std::string& report)
{
    const std::string path = folder.Child("report.sh");
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$#\" > '" << report << ".part'\npwd -P >> '" << report
                        << ".part'\nmv '" << report << ".part' '" << report << "'\n";
    ::chmod(path.c_str(), 0755);
    return path;
}
} // namespace

TEST(PlatformProcess, StartsWithoutArgumentsInTheWorkingFolder)
{
    TestSupport::TempFolder folder;
    TestSupport::TempFolder workHere;
    const std::string report = folder.Child("report");
    ASSERT_EQ(PlatformProcess::StartDetached(WriteScript(folder, report), workHere.Path()), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !Contents(report).empty(); }, kWaitMs));
    char resolved[4096];
    ASSERT_NE(::realpath(workHere.Path().c_str(), resolved), nullptr);
    EXPECT_EQ(Contents(report), "0\n" + std::string(resolved) + "\n");
}

TEST(PlatformProcess, ReportsWhatCannotBeStarted)
{
    TestSupport::TempFolder folder;
    const std::string script = WriteScript(folder, folder.Child("report"));
    const std::string notExecutable = folder.Child("plain.txt");
    std::ofstream(notExecutable) << "text";
    struct Case
    {
        std::string program;
        std::string folder;
        int error;
    };
    const Case cases[] = {{"", folder.Path(), ENOENT},
                          {folder.Child("missing"), folder.Path(), ENOENT},
                          {notExecutable, folder.Path(), EACCES},
                          {script, folder.Child("no-such-folder"), ENOENT}};
    for (const Case& c : cases)
        EXPECT_EQ(PlatformProcess::StartDetached(c.program, c.folder), c.error)
            << c.program << " in " << c.folder;
}

TEST(PlatformProcess, ProgramFolderHoldsTheRunningProgram)
{
    const std::string executable = PlatformSystemInfo::ExecutablePath();
    EXPECT_EQ(PlatformProcess::ProgramFolder() + "/", executable.substr(0, executable.rfind('/') + 1));
}
