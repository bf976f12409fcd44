#include "files/XDiskImage.h"

#include "../FileTestPaths.h"

#include "files/XFileEntry.h"
#include "platform/PlatformFileSystem.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{
using FileTestPaths::Backslashed;
using FS = PlatformFileSystem;

void WriteText(const std::string& path, const std::string& text)
{
    juce::File file(juce::String::fromUTF8(path.c_str()));
    file.getParentDirectory().createDirectory();
    ASSERT_TRUE(file.replaceWithData(text.data(), text.size()));
}

std::string ReadText(const std::string& path)
{
    juce::MemoryBlock bytes;
    juce::File(juce::String::fromUTF8(path.c_str())).loadFileAsData(bytes);
    return std::string(static_cast<const char*>(bytes.getData()), bytes.getSize());
}

/** A made-up USB stick mounted at <temp>/stick, index files written to <temp>/tmp. */
class DiskImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::mkdir(stick.c_str(), 0755);
        ::mkdir(tempFiles.c_str(), 0755);
        FS::ReplaceVolumes(
            "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + stick + " vfat rw 0 0\n",
            [](const FS::MountEntry& mount) -> FS::VolumeInfo {
                return {mount.device == "/dev/sdb1" ? FS::kDriveExternalBus : FS::kDriveFixed, ""};
            });
    }
    void TearDown() override { FS::RestoreVolumes(); }

    TestSupport::TempFolder folder;
    const std::string stick = folder.Child("stick");
    const std::string tempFiles = folder.Child("tmp");
    ScopedEnvironment tmpdir{"TMPDIR", tempFiles};
};

struct Recorded
{
    std::vector<std::string> texts;
    std::vector<float> progress;
};

void Record(ITask& task, Recorded& into)
{
    task.GetTextSignal().Connect([&into](const char* text) { into.texts.emplace_back(text); });
    task.GetProgressSignal().Connect([&into](float fraction) { into.progress.push_back(fraction); });
}
} // namespace

TEST(DiskImageCapacityTest, EachMediumHasItsUsableBytes)
{
    const struct
    {
        int32_t type;
        double bytes;
    } cases[] = {{2, 734003200.0}, {3, 681574400.0}, {4, 4707000000.0}, {1, 0.0}, {5, 0.0}, {-1, 0.0}};
    for (const auto& c : cases)
        EXPECT_EQ(XDiskImage::GetMediaCapacity(c.type), c.bytes) << c.type;
}

TEST_F(DiskImageTest, TheIndexNamesTheDriveRootAndEveryFileBelowIt)
{
    WriteText(stick + "/Music/Set 1/a.wav", "aaaa");
    WriteText(stick + "/b.txt", "b");
    XDiskImage image(XString("Backup"), 1);
    Recorded seen;
    Record(image, seen);
    image.AddFile(XFileEntry(Backslashed(stick + "/Music/Set 1/a.wav").CStr()));
    image.AddFile(XFileEntry(Backslashed(stick + "/b.txt").CStr()));
    ASSERT_EQ(image.WriteIndex(3), 0);

    const std::string indexPath = tempFiles + "/Backup_01.dat";
    EXPECT_STREQ(image.GetIndexPath().CStr(), Backslashed(indexPath).CStr());
    EXPECT_EQ(seen.texts, std::vector<std::string>{"Building Index file for Disk 2"});
    EXPECT_EQ(seen.progress, (std::vector<float>{0.0f, 0.5f, 1.0f}));

    const auto root = juce::XmlDocument::parse(juce::File(indexPath));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getTagName(), "backup");
    EXPECT_EQ(root->getAttributeName(0), "name");
    EXPECT_EQ(root->getAttributeName(1), "indexInSet");
    EXPECT_EQ(root->getAttributeName(2), "numDisks");
    EXPECT_EQ(root->getStringAttribute("name"), "Backup");
    EXPECT_EQ(root->getIntAttribute("indexInSet"), 1);
    EXPECT_EQ(root->getIntAttribute("numDisks"), 3);
    const auto* group = root->getChildByName("group");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->getStringAttribute("origBase").toStdString(), stick + "/");
    EXPECT_EQ(group->getStringAttribute("imageBase"), "/");
    std::vector<std::string> relPaths;
    for (auto* file : group->getChildWithTagNameIterator("file"))
        relPaths.push_back(file->getStringAttribute("relPath").toStdString());
    EXPECT_EQ(relPaths, (std::vector<std::string>{"Music/Set 1/a.wav", "b.txt"}));
    EXPECT_EQ(ReadText(indexPath).find("DOCTYPE"), std::string::npos);
    EXPECT_NE(ReadText(indexPath).find("encoding=\"UTF-8\""), std::string::npos);
}

TEST_F(DiskImageTest, AnUnwritableIndexIsAFailure)
{
    WriteText(stick + "/a.txt", "a");
    XDiskImage image(XString("no such folder/Backup"), 0);
    image.AddFile(XFileEntry(Backslashed(stick + "/a.txt").CStr()));
    EXPECT_EQ(image.WriteIndex(1), static_cast<int32_t>(0x80000001));
}

TEST_F(DiskImageTest, ReadingAcceptsOnlyABackupIndex)
{
    const std::string disc = folder.Child("disc");
    const std::string good = "<BACKUP name=\"Set\" indexInSet=\"1\" numDisks=\"2\">"
                             "<Group origBase=\"/data/\" imageBase=\"/\"><FILE relPath=\"a/b.wav\"/>"
                             "<other relPath=\"x\"/><file relPath=\"c.txt\"/></Group>"
                             "<group origBase=\"/elsewhere/\" imageBase=\"/\"><file relPath=\"d\"/></group>"
                             "</BACKUP>";
    const struct
    {
        const char* name;
        std::string text;
        bool accepted;
    } cases[] = {
        {"capitals", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + good, true},
        {"other root", "<preset name=\"x\"/>", false},
        {"not xml", "just some words", false},
        {"doctype", "<!DOCTYPE backup [<!ENTITY e \"x\">]>\n" + good, false},
        {"instruction in body", "<backup name=\"x\"><?pi data?></backup>", false},
        {"too large", "<backup name=\"" + std::string(XDiskImage::kMaxIndexBytes, 'x') + "\"/>", false},
    };
    for (const auto& c : cases)
    {
        const std::string path = disc + "/" + c.name + ".dat";
        WriteText(path, c.text);
        XDiskImage image;
        EXPECT_EQ(image.ReadIndex(Backslashed(path)), c.accepted ? 0 : static_cast<int32_t>(0x80000001))
            << c.name;
        if (c.accepted)
        {
            EXPECT_STREQ(image.GetName().CStr(), "Set");
            EXPECT_EQ(image.GetIndexInSet(), 1);
            EXPECT_EQ(image.GetNumDisks(), 2);
            EXPECT_STREQ(image.GetOrigBase().CStr(), "\\data\\");
            EXPECT_STREQ(image.GetImageBase().CStr(), (Backslashed(disc) + "\\").CStr());
            ASSERT_EQ(image.GetRelativePaths().size(), 2u) << "only the first group's files";
            EXPECT_STREQ(image.GetRelativePaths()[0].CStr(), "a\\b.wav");
            EXPECT_STREQ(image.GetRelativePaths()[1].CStr(), "c.txt");
        }
        else
        {
            EXPECT_STREQ(image.GetName().CStr(), XDiskImage::kUnknownName) << "unchanged: " << c.name;
        }
    }
    XDiskImage missing;
    EXPECT_EQ(missing.ReadIndex(Backslashed(disc + "/none.dat")), static_cast<int32_t>(0x80000001));
}

TEST_F(DiskImageTest, RestoringCopiesTheDiscBackWritable)
{
    // The disc: an index beside the files, as the backup wrote them; the origin: a folder of ours.
    const std::string disc = folder.Child("disc");
    const std::string origin = folder.Child("origin");
    WriteText(disc + "/Music/a.wav", std::string("wave\0data", 9));
    WriteText(disc + "/b.txt", "bee");
    ::chmod((disc + "/b.txt").c_str(), 0444);
    WriteText(origin + "/b.txt", "old");
    WriteText(disc + "/Backup_00.dat",
              "<backup name=\"Backup\" indexInSet=\"0\" numDisks=\"1\"><group origBase=\"/x/\" "
              "imageBase=\"/\"><file relPath=\"Music/a.wav\"/><file relPath=\"b.txt\"/>"
              "</group></backup>");
    XDiskImage image;
    ASSERT_EQ(image.ReadIndex(Backslashed(disc + "/Backup_00.dat")), 0);
    image.SetOrigBase(Backslashed(origin));
    Recorded seen;
    Record(image, seen);

    XString error;
    image.Begin();
    ASSERT_EQ(image.RunStep(0, error), 0) << error.CStr();
    EXPECT_EQ(ReadText(origin + "/Music/a.wav"), std::string("wave\0data", 9));
    EXPECT_EQ(ReadText(origin + "/b.txt"), "bee");
    struct stat info
    {
    };
    ASSERT_EQ(::stat((origin + "/b.txt").c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u) << "a copy from a read-only disc is writable";
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"Copying a.wav...", "Copying b.txt..."}));
    EXPECT_EQ(seen.progress, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(image.RunStep(1, error), static_cast<int32_t>(0x80000001));
    EXPECT_STREQ(error.CStr(), "The stage 1 is unavailable.");
}

TEST_F(DiskImageTest, RestoreFailuresNameTheirReason)
{
    const std::string disc = folder.Child("disc");
    const std::string origin = folder.Child("origin");
    WriteText(disc + "/a.txt", "a");
    WriteText(
        disc + "/Backup_00.dat",
        "<backup name=\"Backup\" indexInSet=\"0\" numDisks=\"1\"><group origBase=\"/x\" imageBase=\"/\">"
        "<file relPath=\"a.txt\"/><file relPath=\"gone.txt\"/></group></backup>");
    XDiskImage image;
    ASSERT_EQ(image.ReadIndex(Backslashed(disc + "/Backup_00.dat")), 0);

    // Restoring onto the disc itself: every file is its own source and is skipped.
    image.SetOrigBase(Backslashed(disc));
    XString error;
    Recorded seen;
    Record(image, seen);
    EXPECT_EQ(image.RunStep(0, error), 0);
    EXPECT_TRUE(seen.texts.empty());

    image.SetOrigBase(Backslashed(origin)); // no trailing separator: one is added
    EXPECT_EQ(image.RunStep(0, error), static_cast<int32_t>(0x80000001));
    EXPECT_EQ(std::string(error.CStr()),
              "Couldn't find file: " + std::string(Backslashed(disc + "/gone.txt").CStr()));
    EXPECT_EQ(ReadText(origin + "/a.txt"), "a") << "files before the failure stay";

    juce::File(juce::String(origin)).deleteRecursively();
    image.Begin();
    image.Abort();
    EXPECT_EQ(image.RunStep(0, error), static_cast<int32_t>(0x80000001));
    EXPECT_STREQ(error.CStr(), "The user aborted the task.");
    EXPECT_FALSE(juce::File(juce::String(origin + "/a.txt")).exists());
}
