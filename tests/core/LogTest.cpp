#include "core/Log.h"

#include "core/IAppIdentity.h"
#include "core/ILog.h"
#include "core/XFileLog.h"
#include "platform/PlatformFile.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace
{
const std::string kRule(72, '-');

class FakeApplication final : public IAppIdentity
{
public:
    XString GetVendorName() override { return "RQ"; }
    XString GetAppName() override { return "KRX-640"; }
    XString GetVersionString() override { return "1.2.003"; }
};

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

/** The lines of a text whose every line ends with CR LF; a line without it fails the test. */
std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start))
    {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    for (const auto& line : lines)
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed in: " << line;
    return lines;
}

/** Each test starts without an application log, at the program's level, with the log folder set
    to a temporary folder so that nothing is written beside the test program. */
class LogTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;
    FakeApplication application;

    void SetUp() override
    {
        SetAppLog(nullptr);
        SetAppLogFolder(folder.Path().c_str());
        SetAppIdentity(nullptr);
        SetLogLevel(kDefaultLogLevel);
        SetStarting(false);
    }
    void TearDown() override
    {
        SetAppLog(nullptr);
        SetAppLogFolder("");
        SetAppIdentity(nullptr);
        SetLogLevel(kDefaultLogLevel);
        SetStarting(false);
    }
    std::string LogPath() const { return folder.Child("log.txt"); }
};
} // namespace

TEST_F(LogTest, AppLogHoldsTheFourLineHeaderAndNothingMoreAtLevelTwo)
{
    SetAppIdentity(&application);
    std::ofstream(LogPath()) << "a previous run\r\n";
    OpenAppLog();
    ASSERT_TRUE(HasAppLog());
    SetStarting(true);
    LogPrintf("XApp::Root Folder: %s", "/somewhere");
    LogStatus("status %d", 1);
    LogBoot("boot %d", 2);
    EXPECT_EQ(LogPrintf("gated"), 0);
    SetAppLog(nullptr);

    const auto lines = CrLfLines(Contents(LogPath()));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], kRule);
    EXPECT_EQ(lines[1], "RQ - KRX-640 - Version: 1.2.003");
    EXPECT_TRUE(std::regex_match(
        lines[2], std::regex(R"(Started At:  \d{1,2}/\d{1,2}/\d{4} \d{1,2}:\d{1,2}\.\d{1,2})")))
        << lines[2];
    EXPECT_EQ(lines[3], kRule);
}

TEST_F(LogTest, HeaderWithoutAnApplicationAndASecondOpenKeepsTheFirstLog)
{
    OpenAppLog();
    WriteLogLine(nullptr, "first");
    OpenAppLog();
    WriteLogLine(nullptr, "second");
    SetAppLog(nullptr);
    WriteLogLine(nullptr, "after close");

    const auto lines = CrLfLines(Contents(LogPath()));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "Application");
    EXPECT_EQ(lines[4], "first");
    EXPECT_EQ(lines[5], "second");
}

TEST_F(LogTest, StartedAtTextHasNoZeroPadding)
{
    LocalTimeParts fifthOfMarch2010;
    fifthOfMarch2010.monthIndex = 2;
    fifthOfMarch2010.day = 5;
    fifthOfMarch2010.year = 2010;
    fifthOfMarch2010.hour = 9;
    fifthOfMarch2010.minute = 7;
    fifthOfMarch2010.second = 3;
    EXPECT_STREQ(StartedAtText(fifthOfMarch2010).CStr(), "Started At:  3/5/2010 9:7.3");
}

TEST_F(LogTest, GatedLinesAppearAtHigherLevelsWithTheirMessageUnformattedTwice)
{
    OpenAppLog();
    SetLogLevel(5);
    EXPECT_EQ(LogPrintf("%s", "100% done, %d left"), 18);
    LogStatus("status %d", 7);
    LogBoot("not while running");
    SetStarting(true);
    LogBoot("Looper:StartupInit:%s\t%d", "app", 12);
    EXPECT_EQ(LogPrintf(nullptr), 0);
    const std::string emptyFormat;
    EXPECT_EQ(LogPrintf(emptyFormat.c_str()), 0);
    SetAppLog(nullptr);

    const auto lines = CrLfLines(Contents(LogPath()));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(std::regex_match(lines[4], std::regex(R"(\d+\.\d{8} - STATUS : 100% done, %d left)")))
        << lines[4];
    EXPECT_TRUE(std::regex_match(lines[5], std::regex(R"(\d+\.\d{8} - STATUS : status 7)"))) << lines[5];
    EXPECT_TRUE(std::regex_match(lines[6], std::regex("\\d+\\.\\d{8} - BOOT : Looper:StartupInit:app\t12")))
        << lines[6];
}

TEST_F(LogTest, LogGoesBesideTheProgramUnlessAFolderIsSet)
{
    SetAppLogFolder("");
    const XString besideProgram = GetExecutableFolderPath() + "/log.txt";
    if (PlatformFile::CanWrite(besideProgram.CStr()))
    {
        EXPECT_STREQ(GetAppLogPath().CStr(), besideProgram.CStr());
    }
    SetAppLogFolder(folder.Path().c_str());
    EXPECT_STREQ(GetAppLogPath().CStr(), LogPath().c_str());
}

TEST_F(LogTest, UnwritableFolderSendsTheLogToTheSettingsFolder)
{
    TestSupport::TempFolder config;
    ScopedEnvironment configHome("XDG_CONFIG_HOME", config.Path());
    SetAppLogFolder(folder.Child("does/not/exist").c_str());
    SetAppIdentity(&application);
    EXPECT_STREQ(GetAppLogPath().CStr(), config.Child("RQ/KRX-640/log.txt").c_str());
    OpenAppLog();
    SetAppLog(nullptr);
    EXPECT_EQ(CrLfLines(Contents(config.Child("RQ/KRX-640/log.txt"))).size(), 4u);
}

TEST_F(LogTest, AppendingLogKeepsWhatWasThere)
{
    std::ofstream(LogPath(), std::ios::binary) << "earlier\r\n";
    {
        XFileLog log(LogPath().c_str(), false);
        WriteLogLine(&log, "later");
    }
    EXPECT_EQ(Contents(LogPath()), "earlier\r\nlater\r\n");
}

TEST_F(LogTest, ALogThatCannotOpenSwallowsItsWrites)
{
    auto log = OpenLogFile(folder.Child("missing/log.txt").c_str(), true);
    ASSERT_NE(log, nullptr);
    EXPECT_FALSE(log->CheckFile());
    WriteLogLine(log.get(), "goes nowhere");
    LogFormatted(log.get(), "%d", 1);
    EXPECT_EQ(log->Close(), static_cast<int32_t>(0x80000001));
}

TEST_F(LogTest, LinesFromManyThreadsNeverInterleave)
{
    OpenAppLog();
    constexpr int kThreads = 4;
    constexpr int kLinesEach = 200;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back(
            [t]
            {
                for (int i = 0; i < kLinesEach; ++i)
                    LogFormatted(nullptr, "thread %d line %d with some padding text", t, i);
            });
    for (auto& writer : writers)
        writer.join();
    SetAppLog(nullptr);

    const auto lines = CrLfLines(Contents(LogPath()));
    ASSERT_EQ(lines.size(), 4u + kThreads * kLinesEach);
    std::vector<int> next(kThreads, 0);
    const std::regex form(R"(thread (\d) line (\d+) with some padding text)");
    for (size_t i = 4; i < lines.size(); ++i)
    {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, form)) << lines[i];
        const int thread = std::stoi(match[1]);
        EXPECT_EQ(std::stoi(match[2]), next[thread]++) << "each thread's lines stay in order";
    }
}
