#include "platform/PlatformFile.h"

#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(PlatformFileTest, NotFoundOnlyWhenTheFolderExists)
{
    TestSupport::TempFolder folder;
    PlatformFile file;
    using Result = PlatformFile::OpenResult;
    EXPECT_EQ(file.Open(folder.Child("missing"), PlatformFile::Access::Read,
                        PlatformFile::Disposition::OpenExisting, false),
              Result::NotFound);
    EXPECT_EQ(file.Open(folder.Child("gone/missing"), PlatformFile::Access::Read,
                        PlatformFile::Disposition::OpenExisting, false),
              Result::Failed);
    EXPECT_EQ(
        file.Open(folder.Path(), PlatformFile::Access::Read, PlatformFile::Disposition::OpenExisting, true),
        Result::Failed)
        << "folders are refused";
    EXPECT_FALSE(file.IsOpen());
}

TEST(PlatformFileTest, CanWriteAndSizeOfPath)
{
    TestSupport::TempFolder folder;
    std::ofstream(folder.Child("five")) << "12345";
    ::mkdir(folder.Child("sub").c_str(), 0700);
    struct Case
    {
        std::string path;
        bool canWrite;
        int64_t size;
    };
    const Case cases[] = {
        {folder.Child("five"), true, 5},
        {folder.Child("new"), true, -1},
        {folder.Child("sub"), false, 0},
        {folder.Child("no/such/file"), false, -1},
        {"", false, -1},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(PlatformFile::CanWrite(c.path), c.canWrite) << c.path;
        EXPECT_EQ(PlatformFile::SizeOfPath(c.path), c.size) << c.path;
    }
    EXPECT_EQ(PlatformFile::ToSystemPath("a\\b/c\\"), "a/b/c/");
}
