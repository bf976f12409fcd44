#include "InstallerProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
const std::string kUnitId = "USB\\Vid_7B3D&PID_A701";
const std::string kBootloaderId = "USB\\Vid_03EB&PID_6124";
const std::string kTimeScaleFast = "1000";
const std::string kTooLongMessage = "Driver Install Error: Folder path too long\n";
// The longest folder whose joined path ('\', "krx640usb.Inf" and the terminating zero) fits 260 bytes.
constexpr size_t kLongestFolder = 260 - 1 - 13 - 1;

/** Call log lines: an install for an identifier with a path, a pause, a copy into the store. */
std::string InstallUnit(const std::string& path)
{
    return "UpdateDriverForPlugAndPlayDevicesA " + kUnitId + " " + path + " 1";
}
std::string InstallBootloader(const std::string& path)
{
    return "UpdateDriverForPlugAndPlayDevicesA " + kBootloaderId + " " + path + " 1";
}
const std::string kPause = "Sleep 4000";
std::string CopyToStore(const std::string& path)
{
    return "SetupCopyOEMInfA " + path + " (null) 1 0";
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

struct Outcome
{
    std::string output;
    int exitCode = -1;
    std::string calls;
};

/** Runs the installer with the simulated setup services in a fresh folder. */
Outcome RunSimulated(const std::vector<std::string>& arguments, const std::string& scenario,
                     const std::string& timeScale = kTimeScaleFast)
{
    TestSupport::TempFolder folder;
    InstallerProcess::WriteFile(folder.Child("scenario"), scenario);
    const auto result = InstallerProcess::Run(arguments,
                                              {{"KRX640_SETUP_SIM", folder.Child("scenario")},
                                               {"KRX640_SETUP_SIM_LOG", folder.Child("calls")},
                                               {"KRX640_TIME_SCALE", timeScale}},
                                              folder.Path());
    EXPECT_TRUE(result.started && result.finished);
    return {result.output, result.exitCode, InstallerProcess::ReadFile(folder.Child("calls"))};
}
} // namespace

TEST(DriverInstallerTest, EveryRoadPrintsItsMessagesPausesAndCopiesInOrder)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> arguments;
        std::string scenario;
        std::string expectedOutput;
        std::vector<std::string> expectedCalls;
    };
    const std::string bare = "krx640usb.Inf";
    const std::string setup = "E:\\Setup\\krx640usb.Inf";
    const std::string notFound = "Driver Install Error: File not found: " + bare + "\n";
    const std::string longestFolder(kLongestFolder, 'a');
    const std::string longestPath = longestFolder + "\\" + bare;

    const Case cases[] = {
        {"no argument, unit installed",
         {},
         kUnitId + " ok\n",
         "Installing krx640usb.Inf\nPhase 3\n",
         {InstallUnit(bare)}},
        {"folder argument, unit installed",
         {"E:\\Setup"},
         kUnitId + " ok\n",
         "Installing E:\\Setup\\krx640usb.Inf\nPhase 3\n",
         {InstallUnit(setup)}},
        {"only the first argument is read",
         {"E:\\Setup", "F:\\Other"},
         kUnitId + " ok\n",
         "Installing E:\\Setup\\krx640usb.Inf\nPhase 3\n",
         {InstallUnit(setup)}},
        {"a trailing backslash is kept",
         {"E:\\Setup\\"},
         kUnitId + " ok\n",
         "Installing E:\\Setup\\\\krx640usb.Inf\nPhase 3\n",
         {InstallUnit("E:\\Setup\\\\krx640usb.Inf")}},
        {"code 0 on the unit: no better driver, bootloader not tried",
         {},
         kUnitId + " 0\n",
         "Installing krx640usb.Inf\nDriver Install Error: Specified driver no Better\nPhase 3\n",
         {InstallUnit(bare), kPause}},
        {"only the bootloader attached",
         {},
         kBootloaderId + " ok\n",
         "Installing krx640usb.Inf\nPhase 3\n",
         {InstallUnit(bare), kPause, InstallBootloader(bare)}},
        {"neither attached: two silent pauses, then the copy",
         {"E:\\Setup"},
         "# nothing attached\n",
         "Installing E:\\Setup\\krx640usb.Inf\nPhase 3\n",
         {InstallUnit(setup), kPause, InstallBootloader(setup), kPause, CopyToStore(setup)}},
        {"missing package: the message twice, no copy",
         {},
         kUnitId + " 2\n" + kBootloaderId + " 2\n",
         "Installing krx640usb.Inf\n" + notFound + notFound + "Phase 3\n",
         {InstallUnit(bare), kPause, InstallBootloader(bare), kPause}},
        {"unknown code prints negative, without line feed",
         {},
         kUnitId + " 0xE0000203\n",
         "Installing krx640usb.Inf\nDriver Install Error: Unknown error [-536870397]Phase 3\n",
         {InstallUnit(bare), kPause, InstallBootloader(bare), kPause, CopyToStore(bare)}},
        {"unknown code continues into the next message; both fail: no copy",
         {},
         kUnitId + " 5\n" + kBootloaderId + " 1004\n",
         "Installing krx640usb.Inf\nDriver Install Error: Unknown error [5]Driver Install Error: Invalid "
         "Flags\nPhase 3\n",
         {InstallUnit(bare), kPause, InstallBootloader(bare), kPause}},
        {"both fail, the second not for a missing device: no copy",
         {},
         kUnitId + " 1004\n" + kBootloaderId + " 0xE0000235\n",
         "Installing krx640usb.Inf\nDriver Install Error: Invalid Flags\nDriver Install Error: non-64 bit "
         "app\nPhase 3\n",
         {InstallUnit(bare), kPause, InstallBootloader(bare), kPause}},
        {"code 0 on the bootloader is not a missing device: no copy",
         {},
         kUnitId + " 0xE000020B\n" + kBootloaderId + " 0\n",
         "Installing krx640usb.Inf\nDriver Install Error: Specified driver no Better\nPhase 3\n",
         {InstallUnit(bare), kPause, InstallBootloader(bare), kPause}},
        {"printf directives in the folder are printed as they are",
         {"%s%d%n"},
         kUnitId + " 2\n" + kBootloaderId + " ok\n",
         "Installing %s%d%n\\krx640usb.Inf\nDriver Install Error: File not found: %s%d%n\\krx640usb.Inf\n"
         "Phase 3\n",
         {InstallUnit("%s%d%n\\krx640usb.Inf"), kPause, InstallBootloader("%s%d%n\\krx640usb.Inf")}},
        {"the longest folder that fits",
         {longestFolder},
         kUnitId + " ok\n",
         "Installing " + longestPath + "\nPhase 3\n",
         {InstallUnit(longestPath)}},
        {"one byte longer is refused",
         {longestFolder + "a"},
         kUnitId + " ok\n",
         kTooLongMessage + "Phase 3\n",
         {kPause}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto outcome = RunSimulated(c.arguments, c.scenario);
        EXPECT_EQ(outcome.output, c.expectedOutput);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.calls, Lines(c.expectedCalls));
    }
}

TEST(DriverInstallerTest, EachMessageIsOnTheConsoleBeforeItsPause)
{
    TestSupport::TempFolder folder;
    InstallerProcess::WriteFile(folder.Child("scenario"), kUnitId + " 0\n");
    const std::string expected =
        "Installing krx640usb.Inf\nDriver Install Error: Specified driver no Better\n";
    // At a fifth of real speed the pause lasts 20 s: a buffered message would only come at the end.
    bool stillRunning = false;
    const auto result = InstallerProcess::ReadPrefixThenKill(
        {}, {{"KRX640_SETUP_SIM", folder.Child("scenario")}, {"KRX640_TIME_SCALE", "0.2"}}, folder.Path(),
        expected, stillRunning);
    EXPECT_EQ(result.output, expected);
    EXPECT_TRUE(stillRunning);
}

TEST(DriverInstallerTest, RandomFolderArgumentsArePrintedWholeOrRefused)
{
    // Single characters, and whole UTF-8 sequences for two letters beyond ASCII.
    const std::vector<std::string> letters = {"a", "X", "0", " ", "\\", "/",        ":",
                                              ".", "-", "%", "$", "'",  "\"",       "*",
                                              "?", "&", "|", "<", "~",  "\xc3\xa9", "\xe2\x82\xac"};
    std::mt19937 random(640);
    std::uniform_int_distribution<size_t> length(1, 320);
    std::uniform_int_distribution<size_t> letter(0, letters.size() - 1);
    constexpr int kRuns = 24;
    for (int run = 0; run < kRuns; ++run)
    {
        std::string folder;
        const size_t wanted = length(random);
        while (folder.size() < wanted)
            folder += letters[letter(random)];
        SCOPED_TRACE(folder);
        const auto outcome = RunSimulated({folder}, kUnitId + " ok\n");
        const std::string expected = folder.size() <= kLongestFolder
                                         ? "Installing " + folder + "\\krx640usb.Inf\nPhase 3\n"
                                         : kTooLongMessage + "Phase 3\n";
        EXPECT_EQ(outcome.output, expected);
        EXPECT_EQ(outcome.exitCode, 0);
    }
}

TEST(DriverInstallerTest, AnUnusableScenarioStopsBeforeTouchingTheSystem)
{
    TestSupport::TempFolder folder;
    const std::vector<std::pair<const char*, std::string>> badScenarios = {
        {"unknown result word", kUnitId + " maybe\n"},
        {"missing result", kUnitId + "\n"},
        {"code too large", kUnitId + " 0x1FFFFFFFF\n"}};
    for (const auto& [name, scenario] : badScenarios)
    {
        SCOPED_TRACE(name);
        InstallerProcess::WriteFile(folder.Child("scenario"), scenario);
        const auto result =
            InstallerProcess::Run({}, {{"KRX640_SETUP_SIM", folder.Child("scenario")}}, folder.Path());
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(result.exitCode, 1);
    }
    const auto missing =
        InstallerProcess::Run({}, {{"KRX640_SETUP_SIM", folder.Child("absent")}}, folder.Path());
    EXPECT_EQ(missing.output, "");
    EXPECT_EQ(missing.exitCode, 1);
}
