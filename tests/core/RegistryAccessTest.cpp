#include "core/RegistryAccess.h"

#include "XStringPrinter.h"
#include "core/IAppIdentity.h"
#include "core/XRegistrySettings.h"
#include "platform/PlatformRegistry.h"
#include "support/LogCapture.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace
{
/** The running application as the settings see it. */
class FakeIdentity final : public IAppIdentity
{
public:
    XString GetVendorName() override { return "RQ"; }
    XString GetAppName() override { return "KRX-640"; }
    XString GetVersionString() override { return "1.0"; }
};

/** Each test starts with an empty store kept under a temporary configuration folder. */
class RegistryAccessTest : public ::testing::Test
{
protected:
    void SetUp() override { PlatformRegistry::Reset(); }
    void TearDown() override
    {
        SetAppIdentity(nullptr);
        PlatformRegistry::Reset();
    }

    TestSupport::TempFolder folder;
    ScopedEnvironment config{"XDG_CONFIG_HOME", folder.Path()};
};

TEST_F(RegistryAccessTest, RootNamesResolveOnlyWhenSpelledExactly)
{
    struct Case
    {
        const char* name;
        uint32_t root;
    };
    const std::vector<Case> cases = {
        {"HKEY_CLASSES_ROOT", 0x80000000u},
        {"HKEY_CURRENT_USER", 0x80000001u},
        {"HKEY_LOCAL_MACHINE", 0x80000002u},
        {"HKEY_USERS", 0x80000003u},
        {"HKEY_PERFORMANCE_DATA", 0x80000004u},
        {"HKEY_CURRENT_CONFIG", 0x80000005u},
        {"HKEY_DYN_DATA", 0x80000006u},
        {"HKLM", 0},
        {"hkey_local_machine", 0},
        {"HKEY_LOCAL_MACHINE ", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetRootKeyByName(c.name), c.root) << (c.name != nullptr ? c.name : "(null)");
}

TEST_F(RegistryAccessTest, ValuesLiveUnderKeysThatIgnoreCase)
{
    const char* path = "HKEY_CURRENT_USER\\Software\\RQ\\Test";
    EXPECT_EQ(ReadRegistryDword(path, "Count", 77), 77u) << "missing key";
    EXPECT_FALSE(RegistryKeyExists(path));

    WriteRegistryDword(path, "Count", 5);
    EXPECT_TRUE(RegistryKeyExists("HKEY_CURRENT_USER\\SOFTWARE\\rq\\TEST"));
    EXPECT_EQ(ReadRegistryDword("HKEY_CURRENT_USER\\SOFTWARE\\rq\\test", "Count", 0), 5u);
    EXPECT_EQ(ReadRegistryDword(path, "Other", 9), 9u) << "missing value";
    EXPECT_EQ(ReadRegistryDword("HKCU\\Software\\RQ\\Test", "Count", 9), 9u) << "unknown root";
    EXPECT_FALSE(RegistryKeyExists("HKCU\\Software\\RQ\\Test"));

    WriteRegistryString(path, "Name", "text");
    EXPECT_EQ(ReadRegistryDword(path, "Name", 3), 3u) << "a text is not a 32-bit value";
    WriteRegistryString("Nowhere\\Key", "Name", "text");
    EXPECT_FALSE(RegistryKeyExists("HKEY_LOCAL_MACHINE\\Nowhere\\Key")) << "strings need a known root";

    // A 32-bit value under an unknown root goes whole under HKEY_LOCAL_MACHINE.
    WriteRegistryDword("Nowhere\\Key", "Value", 12);
    EXPECT_EQ(ReadRegistryDword("HKEY_LOCAL_MACHINE\\Nowhere\\Key", "Value", 0), 12u);

    EXPECT_TRUE(CreateRegistryKey(0x80000002u, "SOFTWARE\\Made"));
    EXPECT_TRUE(RegistryKeyExists("HKEY_LOCAL_MACHINE\\software\\made"));
    EXPECT_FALSE(CreateRegistryKey(0, "SOFTWARE\\Made"));
}

TEST_F(RegistryAccessTest, SettingsKeyFollowsPushedKeysAndSurvivesARestart)
{
    FakeIdentity identity;
    SetAppIdentity(&identity);
    {
        XRegistrySettings settings("", nullptr); // vendor and name from the application
        EXPECT_EQ(settings.GetFullKey(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ\\KRX-640");
        settings.PushKey("windows");
        settings.PushKey("main");
        EXPECT_EQ(settings.GetFullKey(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ\\KRX-640\\windows\\main");
        settings.WriteInt("left", -40);
        settings.WriteBool("shown", true);
        settings.PopKey();
        EXPECT_EQ(settings.GetSubKey(), "windows");
        settings.WriteInt("count", 2);
        settings.PopKey();
        settings.PopKey(); // nothing left: stays empty
        EXPECT_EQ(settings.GetFullKey(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ\\KRX-640");
    }
    EXPECT_FALSE(PlatformRegistry::FilePath().empty()) << "opened for the running application";

    // A restart: everything in memory is forgotten and the file read again.
    PlatformRegistry::Reset();
    SetAppIdentity(nullptr);
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "KRX-640"));
    XRegistrySettings settings("RQ", "KRX-640");
    settings.PushKey("WINDOWS");
    settings.PushKey("Main");
    EXPECT_EQ(settings.ReadInt("left", 0), -40);
    EXPECT_TRUE(settings.ReadBool("shown", false));
    EXPECT_FALSE(settings.ReadBool("hidden", false));
    settings.PopKey();
    EXPECT_EQ(settings.ReadInt("count", 0), 2);
}

TEST_F(RegistryAccessTest, FullKeyJoinsOnlyNonEmptyPartsWithOneBackslash)
{
    struct Case
    {
        const char* vendor;
        const char* application;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"RQ", "App", "HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ\\App"},
        {"\\RQ", "App", "HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ\\App"},
        {"", "", "HKEY_LOCAL_MACHINE\\SOFTWARE"}, // no application to ask
    };
    for (const Case& c : cases)
        EXPECT_EQ(XRegistrySettings(c.vendor, c.application).GetFullKey(), c.expected);
}
} // namespace

TEST_F(RegistryAccessTest, LinesTheStoreCannotReadAreLoggedAndKept)
{
    ASSERT_TRUE(RegistryAccess::OpenStore("RQ", "KRX-640"));
    const std::string path = PlatformRegistry::FilePath();
    std::ofstream(path) << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ]\n\"wide\"=dword:123456789ab\n";
    PlatformRegistry::Reset();

    LogCapture log;
    ASSERT_TRUE(RegistryAccess::OpenStore("RQ", "KRX-640"));
    EXPECT_EQ(ReadRegistryDword("HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ", "wide", 7), 7u)
        << "refused, not cut to 32 bits";
    EXPECT_EQ(log.CountLinesWith(path + ": cannot read line 2: \"wide\"=dword:123456789ab"), 1) << log.Text();
}
