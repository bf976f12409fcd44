#include "core/SystemInfo.h"

#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

TEST(SystemInfoTest, HostNameIsReadOnce)
{
    EXPECT_FALSE(GetHostName().IsEmpty()) << "a default before the host name is read";
    InitHostName();
    const std::string host = PlatformSystemInfo::HostName();
    EXPECT_STREQ(GetHostName().CStr(), host.empty() ? kDefaultHostName : host.c_str());
}

TEST(SystemInfoTest, ProgramPathAndFolder)
{
    const XString path = GetExecutableFilePath();
    const XString folder = GetExecutableFolderPath();
    EXPECT_EQ(path.CharAt(0), '/');
    EXPECT_STREQ((folder + "/krx_core_tests").CStr(), path.CStr());
}

TEST(SystemInfoTest, TempFolderEndsWithASeparator)
{
    {
        ScopedEnvironment temp("TMPDIR", std::string("/var/tmp"));
        EXPECT_STREQ(GetTempFolderPath().CStr(), "/var/tmp/");
    }
    ScopedEnvironment noTemp("TMPDIR", std::nullopt);
    EXPECT_STREQ(GetTempFolderPath().CStr(), "/tmp/");
}

TEST(SystemInfoTest, DocumentsFolderFollowsTheUserDirsFile)
{
    TestSupport::TempFolder home;
    ScopedEnvironment homeVariable("HOME", home.Path());
    ScopedEnvironment config("XDG_CONFIG_HOME", home.Child("cfg"));
    EXPECT_STREQ(GetDocumentsFolderPath().CStr(), home.Child("Documents").c_str()) << "no user-dirs file";

    ::mkdir(home.Child("cfg").c_str(), 0700);
    ::mkdir(home.Child("Papers").c_str(), 0700);
    std::ofstream(home.Child("cfg/user-dirs.dirs")) << "# written by xdg-user-dirs-update\n"
                                                    << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                    << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
    XString documents;
    EXPECT_TRUE(GetSpecialFolderPath(documents, kDocumentsFolderId));
    EXPECT_STREQ(documents.CStr(), home.Child("Papers").c_str());

    EXPECT_FALSE(GetSpecialFolderPath(documents, 36)) << "no such folder here";
    EXPECT_TRUE(documents.IsEmpty());
}

TEST(SystemInfoTest, RandomUserDirsFilesGiveAnAbsoluteFolder)
{
    TestSupport::TempFolder home;
    ScopedEnvironment homeVariable("HOME", home.Path());
    ScopedEnvironment config("XDG_CONFIG_HOME", home.Path());
    const std::string alphabet = "XDG_DOCUMENTS_DIR=\"$HOME/ \t\r\n#\\xyz";
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round)
    {
        std::string text(random() % 200, ' ');
        for (auto& c : text)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        if (round % 2 == 0)
            text = "XDG_DOCUMENTS_DIR=" + text;
        std::ofstream(home.Child("user-dirs.dirs"), std::ios::binary) << text;
        EXPECT_EQ(GetDocumentsFolderPath().CharAt(0), '/');
    }
}

TEST(SystemInfoTest, SystemFolderIsKept)
{
    SetSystemFolder("C:\\root\\System");
    EXPECT_STREQ(GetSystemFolder().CStr(), "C:\\root\\System");
    EXPECT_FALSE(IsEmbeddedSystem());
    const LocalTimeParts now = GetLocalTimeParts();
    EXPECT_GE(now.year, 2020);
    EXPECT_LT(now.monthIndex, 12);
}
