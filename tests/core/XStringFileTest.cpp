#include "core/XString.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace
{
class XStringFileTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;

    std::string Path(const std::string& name) const { return folder.Child(name); }
    void Put(const std::string& name, const std::string& content)
    {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::string Contents(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
};
} // namespace

TEST_F(XStringFileTest, SaveThenLoadGivesTheTextBack)
{
    const XString text("line one\r\nline two\r\n");
    ASSERT_TRUE(text.SaveToFile(Path("t.txt").c_str()));
    EXPECT_EQ(Contents("t.txt"), "line one\r\nline two\r\n") << "no terminating zero";

    XString loaded("something else");
    ASSERT_TRUE(loaded.LoadFromFile(Path("t.txt").c_str()));
    EXPECT_STREQ(loaded.CStr(), text.CStr());

    ASSERT_TRUE(XString("short").SaveToFile(Path("t.txt").c_str()));
    EXPECT_EQ(Contents("t.txt"), "short") << "saving empties the old, longer file";
}

TEST_F(XStringFileTest, LoadFailures)
{
    XString text("kept");
    EXPECT_FALSE(text.LoadFromFile(Path("missing.txt").c_str()));
    EXPECT_TRUE(text.IsEmpty()) << "a failed open empties the text";

    Put("empty.txt", "");
    text = "kept";
    EXPECT_FALSE(text.LoadFromFile(Path("empty.txt").c_str()));
    EXPECT_STREQ(text.CStr(), "kept") << "an empty file leaves the text as it was";

    text = "kept";
    EXPECT_FALSE(text.LoadFromFile(folder.Path().c_str())) << "a folder";
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(XStringFileTest, LoadingIntoASharedStringLeavesTheCopyAlone)
{
    Put("t.txt", "from the file");
    XString original("a text long enough to hold the file content");
    XString copy = original;
    ASSERT_TRUE(copy.LoadFromFile(Path("t.txt").c_str()));
    EXPECT_STREQ(copy.CStr(), "from the file");
    EXPECT_STREQ(original.CStr(), "a text long enough to hold the file content");
}

TEST_F(XStringFileTest, SaveFailures)
{
    EXPECT_FALSE(XString().SaveToFile(Path("empty.txt").c_str()));
    EXPECT_FALSE(std::ifstream(Path("empty.txt")).good()) << "nothing is created for an empty text";
    EXPECT_FALSE(XString("x").SaveToFile(Path("no/folder/x.txt").c_str()));
}

TEST_F(XStringFileTest, RandomBytesLoadUpToTheirFirstZero)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round)
    {
        std::string bytes(1 + random() % 3000, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(random() % 256);
        Put("r.bin", bytes);
        XString text;
        ASSERT_TRUE(text.LoadFromFile(Path("r.bin").c_str()));
        EXPECT_EQ(std::string(text.CStr()), bytes.substr(0, bytes.find('\0')));
    }
}
