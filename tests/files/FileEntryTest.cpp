#include "core/XResult.h"
#include "files/FileTexts.h"
#include "files/XFileEntry.h"
#include "files/XFolderListing.h"
#include "platform/PlatformFileSystem.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <map>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using FS = PlatformFileSystem;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

/** The path as the file views write it. */
std::string Backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

/** Names and folder flags of a listing's entries; each entry's path is checked to be folder\name. */
std::map<std::string, bool> Listed(const XFolderListing& listing)
{
    std::map<std::string, bool> names;
    XFileEntry entry;
    for (int32_t i = 0; i < listing.GetCount(); ++i)
    {
        EXPECT_EQ(listing.GetEntry(i, entry), XFolderListing::kOk);
        XString expectedPath = listing.GetPath();
        expectedPath.AddTrailingBackslash();
        expectedPath += entry.GetName();
        EXPECT_STREQ(entry.GetPath().CStr(), expectedPath.CStr());
        names[entry.GetName().CStr()] = entry.IsFolder();
    }
    return names;
}

/** A listing of the made-up machine of the volume seam: "/", a USB stick and a labelled disc. */
class DriveSeam final
{
public:
    explicit DriveSeam(const TestSupport::TempFolder& folder)
        : usb(folder.Child("usb")), disc(folder.Child("disc"))
    {
        ::mkdir(usb.c_str(), 0755);
        ::mkdir(disc.c_str(), 0755);
        FS::ReplaceVolumes("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + usb + " vfat rw 0 0\n/dev/sr0 " + disc +
                               " iso9660 ro 0 0\n",
                           [](const FS::MountEntry& mount) -> FS::VolumeInfo
                           {
                               if (mount.device == "/dev/sdb1")
                                   return {FS::kDriveExternalBus, ""};
                               if (mount.device == "/dev/sr0")
                                   return {FS::kDriveCdRom, "Concert 2010"};
                               return {FS::kDriveFixed, ""};
                           });
    }
    ~DriveSeam() { FS::RestoreVolumes(); }

    const std::string usb;
    const std::string disc;
};
} // namespace

TEST(FolderListingTest, ListsByExtensionWithOrWithoutFolders)
{
    TestSupport::TempFolder folder;
    for (const char* name :
         {"a.txt", "B.TXT", "c.Txt.bak", "noext", ".hidden.txt", ".hidden", "evil\\name.txt"})
        WriteText(folder.Child(name), "x");
    ::mkdir(folder.Child("sub").c_str(), 0755);
    ::mkdir(folder.Child("folder.txt").c_str(), 0755);
    const std::map<std::string, bool> txtFiles = {{"a.txt", false}, {"B.TXT", false}, {".hidden.txt", false}};
    const std::map<std::string, bool> allFiles = {{"a.txt", false},     {"B.TXT", false},
                                                  {"c.Txt.bak", false}, {"noext", false},
                                                  {".hidden", false},   {".hidden.txt", false}};
    std::map<std::string, bool> txtAndFolders = txtFiles;
    txtAndFolders["sub"] = true;
    txtAndFolders["folder.txt"] = true;
    std::map<std::string, bool> everything = allFiles;
    everything["sub"] = true;
    everything["folder.txt"] = true;

    struct Case
    {
        bool includeFolders;
        const char* pattern;
        const std::map<std::string, bool>& expected;
    };
    const Case cases[] = {
        {false, ".txt", txtFiles},    {false, "txt", txtFiles}, {false, "TxT", txtFiles},
        {false, "", allFiles},        {false, "*", allFiles},   {false, nullptr, allFiles},
        {true, "txt", txtAndFolders}, {true, "*", everything},  {false, "qm7", {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pattern ? c.pattern : "null") + (c.includeFolders ? " with folders" : ""));
        const XFolderListing listing(folder.Path().c_str(), c.includeFolders, c.pattern, false);
        EXPECT_TRUE(listing.IsValid());
        EXPECT_STREQ(listing.GetPath().CStr(), Backslashed(folder.Path()).c_str());
        EXPECT_EQ(Listed(listing), c.expected);
    }

    XFolderListing listing;
    EXPECT_FALSE(listing.IsValid());
    listing.SetPath((folder.Path() + "/").c_str(), false, "txt", false);
    EXPECT_EQ(Listed(listing), txtFiles) << "a trailing separator changes nothing";
    listing.Reload(true, "*", false);
    EXPECT_EQ(Listed(listing), everything);
    EXPECT_EQ(Listed(XFolderListing(XFileEntry(folder.Path().c_str()))), everything);
    EXPECT_EQ(XFolderListing(XFileEntry(folder.Child("a.txt").c_str())).GetCount(), 0);
    EXPECT_EQ(XFolderListing(folder.Child("missing").c_str(), true, "*", false).GetCount(), 0);
    listing.Clear();
    EXPECT_EQ(listing.GetCount(), 0);
}

TEST(FolderListingTest, GetEntryOutOfRangeFailsAndLeavesTheOutEntryAlone)
{
    TestSupport::TempFolder folder;
    WriteText(folder.Child("only.txt"), "x");
    const XFolderListing listing(folder.Path().c_str(), true, "*", false);
    ASSERT_EQ(listing.GetCount(), 1);
    XFileEntry out("\\sentinel", true, 6);
    for (int32_t index : {-1, 1, 1000})
    {
        EXPECT_EQ(listing.GetEntry(index, out), XResult::kFailed) << index;
        EXPECT_STREQ(out.GetPath().CStr(), "\\sentinel");
        EXPECT_EQ(out.GetStoredDriveKind(), 6);
    }
    EXPECT_EQ(listing.GetEntry(0, out), XFolderListing::kOk);
    EXPECT_STREQ(out.GetName().CStr(), "only.txt");
}

TEST(FolderListingTest, RootListsTheDrivesOfTheSeamAndGoUpEndsThere)
{
    TestSupport::TempFolder folder;
    DriveSeam seam(folder);
    for (const char* rootName : {"Root", ""})
    {
        const XFolderListing listing(rootName, false, "txt", true);
        ASSERT_EQ(listing.GetCount(), 3) << rootName;
        struct Expected
        {
            std::string path;
            int32_t kind;
            std::string name;
            std::string displayName;
        };
        const Expected expected[] = {
            {"\\", FS::kDriveFixed, "/", "/"},
            {Backslashed(seam.usb) + "\\", FS::kDriveExternalBus, "usb", "usb"},
            {Backslashed(seam.disc) + "\\", FS::kDriveCdRom, "disc", "Concert 2010"}};
        for (int32_t i = 0; i < 3; ++i)
        {
            XFileEntry entry;
            ASSERT_EQ(listing.GetEntry(i, entry), XFolderListing::kOk);
            EXPECT_STREQ(entry.GetPath().CStr(), expected[i].path.c_str());
            EXPECT_TRUE(entry.IsFolder());
            EXPECT_EQ(entry.GetStoredDriveKind(), expected[i].kind);
            EXPECT_STREQ(entry.GetName().CStr(), expected[i].name.c_str());
            EXPECT_STREQ(entry.GetDisplayName().CStr(), expected[i].displayName.c_str());
            EXPECT_TRUE(entry.IsTopLevel());
            EXPECT_STREQ(entry.GetModifiedText().CStr(), " ");
        }
    }

    struct UpCase
    {
        std::string from;
        std::string to;
    };
    const std::string inner = Backslashed(folder.Child("usb/inner"));
    ::mkdir(folder.Child("usb/inner").c_str(), 0755);
    const UpCase ups[] = {
        {inner + "\\", Backslashed(seam.usb)},
        {Backslashed(seam.usb) + "\\", "Root"},
        {"\\", "Root"},
        {"/", "Root"},
        {"Root", "Root"},
        {"", "Root"},
        {"relative", "Root"},
        {Backslashed(folder.Path()),
         Backslashed(juce::File(folder.Path()).getParentDirectory().getFullPathName().toStdString())},
        {"\\tmp", "\\"},
    };
    for (const UpCase& up : ups)
    {
        XFolderListing listing(up.from.c_str(), false, "*", false);
        EXPECT_TRUE(listing.GoUp());
        EXPECT_STREQ(listing.GetPath().CStr(), up.to.c_str()) << up.from;
    }
    XFolderListing fromInner(inner.c_str(), false, "*", false);
    fromInner.GoUp();
    EXPECT_EQ(Listed(fromInner), (std::map<std::string, bool>{{"inner", true}})) << "read with folders";
}

TEST(FileEntryTest, NamesExtensionsAndTopLevel)
{
    struct Case
    {
        const char* path;
        const char* name;
        const char* extension;
        bool topLevel;
    };
    const Case cases[] = {
        {"\\music\\song.WAV", "song.WAV", "WAV", false},
        {"/music/live.2010/take", "take", "", false}, // a dotted folder gives its files no extension
        {"\\home\\.config\\settings", "settings", "", false},
        {"\\music\\", "music", "", false},
        {"\\a.tar.gz", "a.tar.gz", "gz", false},
        {"\\", "/", "", true},
        {"/", "/", "", true},
        {"", "", "", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        const XFileEntry entry(c.path);
        EXPECT_STREQ(entry.GetName().CStr(), c.name);
        EXPECT_STREQ(entry.GetExtension().CStr(), c.extension);
        EXPECT_EQ(entry.IsTopLevel(), c.topLevel);
        EXPECT_EQ(entry.GetPath().FindChar('/'), -1) << "slashes become backslashes";
    }
}

TEST(FileEntryTest, ExistenceSizesAndLazyDates)
{
    TestSupport::TempFolder folder;
    WriteText(folder.Child("ten.bin"), std::string(10, 'x'));
    ::mkdir(folder.Child("sub").c_str(), 0755);
    WriteText(folder.Child("sub/thousand.bin"), std::string(1000, 'y'));

    const XFileEntry top(folder.Path().c_str());
    EXPECT_TRUE(top.IsFolder());
    EXPECT_TRUE(top.Exists());
    EXPECT_EQ(top.GetSize(true), 10.0) << "sub-folders count nothing";
    EXPECT_EQ(top.GetSize(false), 0.0);
    const XFileEntry ten(folder.Child("ten.bin").c_str());
    EXPECT_FALSE(ten.IsFolder());
    EXPECT_EQ(ten.GetSize(false), 10.0);
    EXPECT_EQ(XFileEntry(folder.Child("missing").c_str()).GetSize(true), 0.0);
    EXPECT_FALSE(XFileEntry(folder.Child("missing").c_str()).Exists());
    // A folder entry whose folder became a file no longer exists, and the other way round.
    const XFileEntry asFolder(folder.Child("ten.bin").c_str(), true, 0);
    EXPECT_FALSE(asFolder.Exists());
    EXPECT_FALSE(XFileEntry(folder.Child("sub").c_str(), false, 0).Exists());

    EXPECT_STREQ(top.GetCreatedText().CStr(), " ");
    EXPECT_STREQ(top.GetModifiedText().CStr(), " ");
    const juce::File file(folder.Child("ten.bin"));
    const XString modified = ten.GetModifiedText();
    EXPECT_STREQ(modified.CStr(),
                 file.getLastModificationTime().toString(true, true, true, false).toRawUTF8());
    EXPECT_STREQ(ten.GetCreatedText().CStr(),
                 file.getCreationTime().toString(true, true, true, false).toRawUTF8());
    ASSERT_TRUE(file.setLastModificationTime(juce::Time(2001, 0, 1, 1, 1)));
    EXPECT_STREQ(ten.GetModifiedText().CStr(), modified.CStr()) << "looked up once and kept";
    const XFileEntry copy = ten;
    EXPECT_STREQ(copy.GetModifiedText().CStr(), modified.CStr()) << "copies keep what was learnt";
}

TEST(FileEntryTest, AListingReadWithDatesShowsThemOnATwelveHourClock)
{
    TestSupport::TempFolder folder;
    struct Case
    {
        const char* name;
        int hour;
        int minute;
        const char* expected;
    };
    // Noon and the hour after midnight read as any 12-hour clock shows them.
    const Case cases[] = {
        {"noon.txt", 12, 5, "Mar 05, 2010 12:05 PM"},     {"afternoon.txt", 13, 5, "Mar 05, 2010 01:05 PM"},
        {"midnight.txt", 0, 30, "Mar 05, 2010 12:30 AM"}, {"morning.txt", 11, 59, "Mar 05, 2010 11:59 AM"},
        {"evening.txt", 23, 0, "Mar 05, 2010 11:00 PM"},
    };
    std::map<std::string, std::string> expected;
    for (const Case& c : cases)
    {
        WriteText(folder.Child(c.name), "x");
        ASSERT_TRUE(juce::File(folder.Child(c.name))
                        .setLastModificationTime(juce::Time(2010, 2, 5, c.hour, c.minute)));
        expected[c.name] = c.expected;
    }
    ::mkdir(folder.Child("sub").c_str(), 0755);

    const XFolderListing listing(folder.Path().c_str(), true, "*", true);
    std::map<std::string, std::string> shown;
    const std::regex dateText(R"([A-Z][a-z]{2} \d\d, \d{4} (0[1-9]|1[0-2]):[0-5]\d (AM|PM))");
    for (int32_t i = 0; i < listing.GetCount(); ++i)
    {
        XFileEntry entry;
        listing.GetEntry(i, entry);
        EXPECT_TRUE(std::regex_match(entry.GetCreatedText().CStr(), dateText))
            << entry.GetCreatedText().CStr();
        if (!entry.IsFolder())
            shown[entry.GetName().CStr()] = entry.GetModifiedText().CStr();
    }
    EXPECT_EQ(shown, expected);
}

TEST(FileTextsTest, DatesSizesMonthsNamesAndParentFolders)
{
    struct DateCase
    {
        int32_t month, hour, minute;
        const char* expected;
    };
    const DateCase dates[] = {
        {3, 15, 7, "Mar 05, 2010 03:07 PM"},  {3, 12, 5, "Mar 05, 2010 12:05 PM"},
        {3, 0, 30, "Mar 05, 2010 12:30 AM"},  {12, 13, 5, "Dec 05, 2010 01:05 PM"},
        {1, 11, 59, "Jan 05, 2010 11:59 AM"}, {13, 1, 2, "Dec 05, 2010 01:02 AM"},
    };
    for (const DateCase& c : dates)
        EXPECT_STREQ(FormatListingDate(2010, c.month, 5, c.hour, c.minute).CStr(), c.expected);

    struct SizeCase
    {
        double size;
        const char* expected;
    };
    const SizeCase sizes[] = {{1048576, "1.00 MB"},
                              {500, "0.49 KB"},
                              {0, "0.00 "},
                              {1024, "1.00 KB"},
                              {1048575, "1024.00 KB"},
                              {1073741824, "1.00 GB"},
                              {5.0 * (1ull << 40), "5120.00 GB"}};
    for (const SizeCase& c : sizes)
        EXPECT_STREQ(FormatFileSize(c.size).CStr(), c.expected) << c.size;

    struct MonthCase
    {
        int32_t index;
        const char* name;
        int32_t days;
    };
    const MonthCase months[] = {{0, "Jan", 31},  {1, "Feb", 28},  {8, "Sep", 30},
                                {11, "Dec", 31}, {-1, "Dec", 31}, {12, "Dec", 31}};
    for (const MonthCase& c : months)
    {
        int32_t days = 0;
        EXPECT_STREQ(GetMonthName(c.index, days), c.name) << c.index;
        EXPECT_EQ(days, c.days) << c.index;
    }

    struct NameCase
    {
        std::string name;
        int32_t expected;
    };
    const NameCase names[] = {{"", kFileNameEmpty},
                              {std::string(255, 'n'), kFileNameValid},
                              {std::string(256, 'n'), kFileNameTooLong},
                              {"Live 2010.qm7", kFileNameValid},
                              {"a:b", kFileNameBadCharacter}};
    for (const NameCase& c : names)
        EXPECT_EQ(ValidateFileName(c.name.c_str()), c.expected) << c.name.size();
    for (char bad : std::string("\\/:*?\"<>|"))
        EXPECT_EQ(ValidateFileName((std::string("name") + bad).c_str()), kFileNameBadCharacter) << bad;
    EXPECT_EQ(ValidateFileName(nullptr), kFileNameEmpty);

    const std::pair<const char*, const char*> parents[] = {{"\\a\\b\\", "\\a"}, {"\\a\\b", "\\a"},
                                                           {"/a/b.txt", "\\a"}, {"\\a", "\\"},
                                                           {"\\", "\\"},        {"name", ""}};
    for (const auto& c : parents)
        EXPECT_STREQ(GetFolderAbove(XString(c.first)).CStr(), c.second) << c.first;
}
