#include "platform/PlatformRegistry.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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

TEST_F(PlatformRegistryTest, ValueLinesAreReadWholeOrNotAtAll)
{
    const struct
    {
        const char* line;
        bool read;
        uint32_t dword;
    } cases[] = {
        {"\"v\"=dword:0000001f", true, 0x1F},
        {"\"v\"=dword:FFFFFFFF", true, 0xFFFFFFFF},
        {"\"v\"=dword:00000000ffffffff", true, 0xFFFFFFFF}, // leading zeros still fit
        {"\"v\"=dword:1  \t", true, 1},                     // trailing blanks
        {"  \"v\"=dword:2", true, 2},                       // leading blanks
        {"\"v\"=dword:123456789ab", false, 0},              // needs more than 32 bits
        {"\"v\"=dword:100000000", false, 0},
        {"\"v\"=dword:12g4", false, 0},
        {"\"v\"=dword:-1", false, 0},
        {"\"v\"=dword: 7", false, 0},
        {"\"v\"=dword:", false, 0},
        {"\"v\"=\"text\"tail", false, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        PlatformRegistry::Reset();
        ASSERT_TRUE(PlatformRegistry::Open("RQ", "Lines"));
        std::ofstream(PlatformRegistry::FilePath()) << "[HKEY_LOCAL_MACHINE\\SOFTWARE]  \n" << c.line << "\n";
        PlatformRegistry::Reset();
        std::vector<std::string> unreadable;
        ASSERT_TRUE(PlatformRegistry::Open("RQ", "Lines", &unreadable));
        EXPECT_TRUE(PlatformRegistry::KeyExists(kLocalMachine, "SOFTWARE"))
            << "a header with trailing blanks";
        uint32_t value = 0;
        EXPECT_EQ(PlatformRegistry::ReadDword(kLocalMachine, "SOFTWARE", "v", value), c.read);
        EXPECT_EQ(value, c.dword);
        EXPECT_EQ(unreadable, c.read ? std::vector<std::string>{}
                                     : std::vector<std::string>{std::string("line 2: ") + c.line});
    }
}

TEST_F(PlatformRegistryTest, LinesThatCannotBeReadSurviveTheNextSave)
{
    const std::vector<std::string> kept = {
        "before any key",        "nonsense",        "\"bad\"=", "\"big\"=dword:123456789ab",
        "\"open=\"unterminated", "[unclosed header"};
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "Kept"));
    {
        std::ofstream file(PlatformRegistry::FilePath());
        file << kept[0] << "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ]\n\"good\"=dword:00000001\n";
        for (size_t line = 1; line < kept.size(); ++line)
            file << kept[line] << "\r\n";
        file << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\"name\"=\"text\"\n";
    }
    PlatformRegistry::Reset();
    std::vector<std::string> unreadable;
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "Kept", &unreadable));
    ASSERT_EQ(unreadable.size(), kept.size());
    EXPECT_EQ(unreadable[0], "line 1: before any key");
    EXPECT_EQ(unreadable[1], "line 4: nonsense");

    ASSERT_TRUE(PlatformRegistry::WriteDword(kLocalMachine, "SOFTWARE\\RQ", "new", 5));
    std::ifstream in(PlatformRegistry::FilePath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
    for (const std::string& line : kept)
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
    EXPECT_EQ(lines.front(), kept[0]);
    // Each stays with the key it stood under.
    const auto keyOf = [&lines](const std::string& line)
    {
        std::string key;
        for (const std::string& each : lines)
        {
            if (each == line)
                return key;
            if (each.rfind("[HKEY", 0) == 0)
                key = each;
        }
        return std::string("not found");
    };
    for (size_t line = 1; line < kept.size(); ++line)
        EXPECT_EQ(keyOf(kept[line]), "[HKEY_LOCAL_MACHINE\\SOFTWARE\\RQ]") << kept[line];

    PlatformRegistry::Reset();
    unreadable.clear();
    ASSERT_TRUE(PlatformRegistry::Open("RQ", "Kept", &unreadable));
    EXPECT_EQ(unreadable.size(), kept.size()) << "kept again, not doubled";
    uint32_t value = 0;
    EXPECT_TRUE(PlatformRegistry::ReadDword(kLocalMachine, "SOFTWARE\\RQ", "new", value));
    std::string text;
    EXPECT_TRUE(PlatformRegistry::ReadString(kLocalMachine, "SOFTWARE\\Other", "name", text));
}

TEST_F(PlatformRegistryTest, RandomFilesLoseNoLineAtTheNextSave)
{
    std::mt19937 random(128);
    const std::vector<std::string> pieces = {
        "[", "]",  "\"", "=", "dword:", "\\", "HKEY_LOCAL_MACHINE", "ffffffff", "123456789ab",
        " ", "\t", "\r", "x", "\xFF",   "\n"};
    for (int round = 0; round < 200; ++round)
    {
        std::string content = "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"keep\"=dword:0000002a\n";
        for (int piece = static_cast<int>(random() % 60); piece > 0; --piece)
            content += pieces[random() % pieces.size()];
        PlatformRegistry::Reset();
        ASSERT_TRUE(PlatformRegistry::Open("RQ", "Random"));
        std::ofstream(PlatformRegistry::FilePath(), std::ios::binary) << content;
        PlatformRegistry::Reset();
        std::vector<std::string> unreadable;
        ASSERT_TRUE(PlatformRegistry::Open("RQ", "Random", &unreadable));
        ASSERT_TRUE(PlatformRegistry::WriteDword(kLocalMachine, "SOFTWARE", "written", 1));

        std::ifstream in(PlatformRegistry::FilePath(), std::ios::binary);
        std::stringstream saved;
        saved << in.rdbuf();
        for (const std::string& description : unreadable)
        {
            const std::string line = description.substr(description.find(": ") + 2);
            EXPECT_NE(saved.str().find(line), std::string::npos) << "round " << round << " lost " << line;
        }
        uint32_t value = 0;
        PlatformRegistry::ReadDword(kLocalMachine, "SOFTWARE", "written", value);
        EXPECT_EQ(value, 1u);
    }
}
