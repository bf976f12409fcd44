#include "platform/PlatformRegistry.h"

#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
constexpr uint32_t kLocalMachine = 0x80000002u;

/** Points the settings folder at a temporary folder; each test starts with an empty store. */
class PlatformRegistryTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder config;

    void SetUp() override
    {
        ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
        PlatformRegistry::Reset();
    }
    void TearDown() override { PlatformRegistry::Reset(); }
};
} // namespace

TEST_F(PlatformRegistryTest, ValuesSurviveARestartInTheMakersFolder)
{
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "KRX-640"));
    EXPECT_EQ(PlatformRegistry::FilePath(), config.Child("RQ/KRX-640/registry.txt"));
    EXPECT_TRUE(
        PlatformRegistry::WriteDword(kLocalMachine, "SOFTWARE\\RQ\\KRX-640\\windows\\main", "left", 42));
    EXPECT_TRUE(PlatformRegistry::WriteString(kLocalMachine, "SOFTWARE\\RQ", "note", "say \"hi\"\\ok"));

    PlatformRegistry::Reset(); // as a new run of the program
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "KRX-640"));
    uint32_t left = 0;
    std::string note;
    EXPECT_TRUE(
        PlatformRegistry::ReadDword(kLocalMachine, "software\\rq\\krx-640\\WINDOWS\\Main", "left", left));
    EXPECT_EQ(left, 42u);
    EXPECT_TRUE(PlatformRegistry::ReadString(kLocalMachine, "SOFTWARE\\RQ", "note", note));
    EXPECT_EQ(note, "say \"hi\"\\ok");
    EXPECT_TRUE(PlatformRegistry::KeyExists(kLocalMachine, "SOFTWARE\\RQ\\KRX-640\\windows"))
        << "parent keys exist";
    EXPECT_FALSE(PlatformRegistry::KeyExists(0x80000001u, "SOFTWARE\\RQ"));
}

TEST_F(PlatformRegistryTest, MissingValuesWrongKindsAndUnknownRootsFail)
{
    uint32_t value = 7;
    std::string text;
    EXPECT_FALSE(PlatformRegistry::ReadDword(kLocalMachine, "SOFTWARE\\none", "x", value));
    EXPECT_TRUE(PlatformRegistry::WriteString(kLocalMachine, "SOFTWARE", "x", "text"));
    EXPECT_FALSE(PlatformRegistry::ReadDword(kLocalMachine, "SOFTWARE", "x", value));
    EXPECT_FALSE(PlatformRegistry::ReadString(kLocalMachine, "SOFTWARE", "X", text))
        << "value names are exact";
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(PlatformRegistry::WriteDword(0, "SOFTWARE", "x", 1));
    EXPECT_FALSE(PlatformRegistry::CreateKey(0x80000007u, "SOFTWARE"));
    EXPECT_TRUE(PlatformRegistry::CreateKey(0x80000006u, "a\\b"));
    EXPECT_TRUE(PlatformRegistry::KeyExists(0x80000006u, "A\\B"));
}

TEST_F(PlatformRegistryTest, AHandWrittenOrDamagedFileLoadsWhatIsReadable)
{
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "App"));
    {
        std::ofstream file(PlatformRegistry::FilePath());
        file << "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"good\"=dword:0000001f\r\nnonsense\r\n\"bad\"=\r\n"
                "\"open=\"unterminated\n";
    }
    PlatformRegistry::Reset();
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "App"));
    uint32_t good = 0;
    EXPECT_TRUE(PlatformRegistry::ReadDword(kLocalMachine, "SOFTWARE", "good", good));
    EXPECT_EQ(good, 0x1Fu);
}
