#include "core/XFile.h"

#include "core/XResult.h"
#include "support/TestSupport.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace
{

class XFileTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;

    std::string Put(const std::string& name, const std::string& content)
    {
        std::ofstream(folder.Child(name), std::ios::binary) << content;
        return folder.Child(name);
    }
    std::string Contents(const std::string& name)
    {
        std::ifstream in(folder.Child(name), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    bool Exists(const std::string& name) { return std::ifstream(folder.Child(name)).good(); }
};
} // namespace

TEST_F(XFileTest, OpenResultsFollowFlagsAndWhatIsOnDisk)
{
    Put("there.txt", "old content");
    ::mkdir(folder.Child("sub").c_str(), 0700);
    struct Case
    {
        const char* name;
        int flags;
        int32_t expected;
        bool existsAfter;
    };
    const Case cases[] = {
        {"missing.txt", XFile::kRead, XResult::kFileNotFound, false},
        {"created.txt", XFile::kReadWriteCreate, 0, true},
        {"openedAlways.txt", XFile::kRead | XFile::kOpenAlways, 0, true},
        {"createdBy20.txt", XFile::kWrite | XFile::kCreateAlways, 0, true},
        {"no/such/folder.txt", XFile::kRead, XResult::kOpenFailed, false},
        {"no/such/folder.txt", XFile::kReadWriteCreate, XResult::kOpenFailed, false},
        {"sub", XFile::kRead, XResult::kOpenFailed, true},
        {"there.txt", XFile::kWrite, 0, true},
        {"there.txt", 0, 0, true},
    };
    for (const auto& c : cases)
    {
        XFile file(folder.Child(c.name).c_str());
        EXPECT_EQ(file.Open(c.flags), c.expected) << c.name << " flags " << c.flags;
        EXPECT_EQ(file.GetLastError(), c.expected) << c.name;
        EXPECT_EQ(file.IsOpen(), c.expected == 0) << c.name;
        EXPECT_EQ(file.GetOpenFlags(), c.flags) << c.name;
        file.Close();
        EXPECT_EQ(Exists(c.name), c.existsAfter) << c.name;
    }
    EXPECT_EQ(Contents("there.txt"), "old content") << "opening existing never empties";
    EXPECT_EQ(XFile("").Open(XFile::kRead), XResult::kOpenFailed);
}

TEST_F(XFileTest, CreateAlwaysEmptiesAndOpenAlwaysKeeps)
{
    Put("a.txt", "0123456789");
    XFile keep(folder.Child("a.txt").c_str());
    ASSERT_EQ(keep.Open(XFile::kReadWriteOpenAlways), 0);
    EXPECT_EQ(keep.GetSize(), 10);
    keep.Close();

    XFile fresh(folder.Child("a.txt").c_str());
    ASSERT_EQ(fresh.Open(XFile::kReadWriteCreate), 0);
    EXPECT_EQ(fresh.GetSize(), 0);
}

TEST_F(XFileTest, SecondOpenIsRefusedAndKeepsTheFirst)
{
    Put("a.txt", "abc");
    XFile file(folder.Child("a.txt").c_str());
    ASSERT_EQ(file.Open(XFile::kRead), 0);
    EXPECT_EQ(file.Open(XFile::kWrite), XResult::kFailed);
    EXPECT_EQ(file.GetOpenFlags(), XFile::kRead);
    char text[4] = {};
    EXPECT_EQ(file.Read(text, 3), 3);
    EXPECT_STREQ(text, "abc");
}

TEST_F(XFileTest, ReadAndWriteNeedTheirAccessAndNeverSetTheLastError)
{
    Put("a.txt", "abc");
    XFile writeOnly(folder.Child("a.txt").c_str());
    ASSERT_EQ(writeOnly.Open(XFile::kWrite), 0);
    char buffer[4] = {'x', 'x', 'x', 0};
    EXPECT_EQ(writeOnly.Read(buffer, 3), 0);
    EXPECT_STREQ(buffer, "xxx");
    EXPECT_EQ(writeOnly.Write(nullptr, 3), 0);
    writeOnly.Close();

    XFile readOnly(folder.Child("a.txt").c_str());
    ASSERT_EQ(readOnly.Open(XFile::kRead), 0);
    EXPECT_EQ(readOnly.Write("zz", 2), 0);
    EXPECT_EQ(readOnly.Read(nullptr, 3), 0);
    EXPECT_EQ(readOnly.Read(buffer, 10), 3) << "a short read returns what there was";
    EXPECT_EQ(readOnly.Read(buffer, 10), 0);
    EXPECT_EQ(readOnly.GetLastError(), 0);

    XFile closed(folder.Child("a.txt").c_str());
    EXPECT_EQ(closed.Read(buffer, 3), 0);
    EXPECT_EQ(closed.Write("zz", 2), 0);
    EXPECT_EQ(closed.GetPosition(), 0);
    EXPECT_EQ(Contents("a.txt"), "abc");
}

TEST_F(XFileTest, SizeOfAClosedFileComesFromThePath)
{
    Put("ten.bin", "0123456789");
    EXPECT_EQ(XFile(folder.Child("ten.bin").c_str()).GetSize(), 10);
    EXPECT_EQ(XFile(folder.Child("missing.bin").c_str()).GetSize(), 0);
    EXPECT_EQ(XFile(folder.Path().c_str()).GetSize(), 0) << "a folder";

    XFile growing(folder.Child("grow.bin").c_str());
    ASSERT_EQ(growing.Open(XFile::kReadWriteCreate), 0);
    EXPECT_EQ(growing.Write("12345", 5), 5);
    EXPECT_EQ(growing.GetSize(), 5);
}

TEST_F(XFileTest, CloseTwiceAndCheckOpen)
{
    XFile file(folder.Child("a.txt").c_str());
    EXPECT_EQ(file.CheckOpen(), XResult::kFailed);
    ASSERT_EQ(file.Open(XFile::kReadWriteCreate), 0);
    EXPECT_EQ(file.CheckOpen(), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.Close(), XResult::kFailed);
    EXPECT_EQ(file.GetLastError(), XResult::kFailed);
    EXPECT_EQ(file.Open(XFile::kRead), 0) << "a closed file opens again, clearing the last error";
    EXPECT_EQ(file.GetLastError(), 0);
}

TEST_F(XFileTest, SeekOrigins)
{
    Put("ten.bin", "0123456789");
    XFile file(folder.Child("ten.bin").c_str());
    EXPECT_EQ(file.Seek(0, 0), XResult::kBadSeek) << "closed";
    ASSERT_EQ(file.Open(XFile::kRead), 0);
    struct Case
    {
        int64_t offset;
        int whence;
        int64_t expectedResult;
        int32_t expectedPosition;
    };
    const Case cases[] = {
        {3, 0, 0, 3},
        {2, 1, 0, 5},
        {7, 7, 0, 7},
        {-2, 1, 0, 5},
        {4, 2, 0, 6},
        {0, 2, 0, 10},
        {-1, 0, XResult::kBadSeek, 10},
        {20, 2, XResult::kBadSeek, 10},
        {25, 0, 0, 25},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(file.Seek(c.offset, c.whence), c.expectedResult) << c.offset << " whence " << c.whence;
        EXPECT_EQ(file.GetPosition(), c.expectedPosition) << c.offset << " whence " << c.whence;
    }
    EXPECT_EQ(file.GetLastError(), XResult::kBadSeek);
    EXPECT_EQ(file.Seek(INT64_MAX, 1), XResult::kBadSeek) << "no overflow";

    char digit = 0;
    EXPECT_EQ(file.ReadAt(8, &digit, 1), 1);
    EXPECT_EQ(digit, '8');
    EXPECT_EQ(file.ReadAt(-1, &digit, 1), 0);
}

TEST_F(XFileTest, WriteAtPlacesBytesAndBackslashPathsReachTheFile)
{
    Put("ten.bin", "0123456789");
    const std::string windowsStyle = folder.Path() + "\\ten.bin";
    XFile file(windowsStyle.c_str());
    ASSERT_EQ(file.Open(XFile::kRead | XFile::kWrite), 0);
    EXPECT_EQ(file.WriteAt(2, "ab", 2), 2);
    EXPECT_EQ(file.GetPosition(), 4);
    EXPECT_EQ(file.WriteAt(-5, "zz", 2), 0);
    file.Close();
    EXPECT_EQ(Contents("ten.bin"), "01ab456789");
}

TEST_F(XFileTest, TypedValuesRoundTripThroughAFile)
{
    XFile out(folder.Child("typed.bin").c_str());
    ASSERT_EQ(out.Open(XFile::kReadWriteCreate), 0);
    out.WriteInt32(0x01020304).WriteString("ab").WriteInt16(-2);
    out.Close();

    XFile in(folder.Child("typed.bin").c_str());
    ASSERT_EQ(in.Open(XFile::kRead), 0);
    EXPECT_EQ(in.GetSize(), 4 + 7 + 2);
    int32_t value = 0;
    XString text;
    int16_t small = 0;
    in.ReadInt32(value).ReadString(text).ReadInt16(small);
    EXPECT_EQ(value, 0x01020304);
    EXPECT_STREQ(text.CStr(), "ab");
    EXPECT_EQ(small, -2);
    EXPECT_EQ(in.GetInt8(), 255) << "past the end";
    EXPECT_EQ(in.GetLastError(), static_cast<int32_t>(0x80000007));
}

TEST_F(XFileTest, SetPathClosesTheOpenFile)
{
    XFile file(folder.Child("a.txt").c_str());
    ASSERT_EQ(file.Open(XFile::kReadWriteCreate), 0);
    file.SetPath(XString(folder.Child("b.txt").c_str()));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_STREQ(file.GetPath().CStr(), folder.Child("b.txt").c_str());
}
