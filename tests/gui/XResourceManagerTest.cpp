#include "gui/XResourceManager.h"

#include "core/ChildScenario.h"
#include "core/XMessage.h"
#include "gui/ISkinTextReader.h"
#include "gui/SkinTestFiles.h"
#include "gui/XImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
/** A skin laid out as the program reads it: Root/System/Skins/QM7/Images, Root/System/Cursors and,
    when a test makes one, Root/System/System.rsc. The folders on disk have capitals, as a skin made
    on another system has. */
class ResourceManagerTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder temp;
    std::string system = temp.Child("Root/System");
    XResourceManager manager;

    void SetUp() override
    {
        juce::File(system).createDirectory();
        manager.SetBaseFolder(system.c_str());
        manager.AddSkinFolder("QM7");
    }

    std::string InSkin(const std::string& relative) const { return system + "/Skins/QM7/" + relative; }
    std::string InImages(const std::string& relative) const { return InSkin("Images/" + relative); }

    static void WriteImage(const std::string& path, int width, juce::Colour colour = juce::Colours::red)
    {
        SkinTestFiles::WritePng(path, SkinTestFiles::SolidImage(width, 4, colour));
    }

    /** Writes System.rsc with these entries (name, bytes), dated within the zip format's range. */
    void WriteArchive(const std::vector<std::pair<std::string, juce::MemoryBlock>>& entries) const
    {
        const juce::Time kEntryTime(2020, 0, 1, 12, 0);
        juce::ZipFile::Builder builder;
        for (const auto& [name, bytes] : entries)
            builder.addEntry(new juce::MemoryInputStream(bytes, true), 9, juce::String(name), kEntryTime);
        juce::File archive(system + "/System.rsc");
        archive.deleteFile();
        juce::FileOutputStream out(archive);
        ASSERT_TRUE(builder.writeToStream(out, nullptr));
    }

    static juce::MemoryBlock Bytes(const std::string& text)
    {
        return juce::MemoryBlock(text.data(), text.size());
    }
    static juce::MemoryBlock PngBytes(int width)
    {
        return SkinTestFiles::EncodePng(SkinTestFiles::SolidImage(width, 4, juce::Colours::blue));
    }
};
} // namespace

TEST_F(ResourceManagerTest, ImageNamesAreOneCacheEntryWhateverTheirCaseAndSeparator)
{
    WriteImage(InImages("Widgets/Knob.png"), 5);
    XImage* knob = manager.GetImage("Widgets:Knob.PNG");
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->GetWidth(), 5);
    EXPECT_EQ(manager.GetImage("widgets\\knob.png"), knob);
    EXPECT_EQ(manager.CountCachedImages(), 1);
    EXPECT_EQ(XResourceManager::NormaliseImageName("Widgets:Knob.PNG"), "widgets\\knob.png");
    EXPECT_EQ(manager.GetImage(""), nullptr);
}

TEST_F(ResourceManagerTest, AMissingImageIsNullAndLookedForAgainLater)
{
    EXPECT_EQ(manager.GetImage("later.png"), nullptr);
    EXPECT_EQ(manager.CountCachedImages(), 0);
    SkinTestFiles::WriteText(InImages("broken.png"), "no pixels");
    EXPECT_EQ(manager.GetImage("broken.png"), nullptr);

    WriteImage(InImages("Later.png"), 3);
    EXPECT_NE(manager.GetImage("later.png"), nullptr);
}

TEST_F(ResourceManagerTest, ImagesThatLoadNothingAreLoggedOnceAsNamedUntilCleared)
{
    WriteImage(InImages("there.png"), 2);
    EXPECT_EQ(manager.GetImage("Gone\\Away.png"), nullptr);
    EXPECT_NE(manager.GetImage("there.png"), nullptr);
    EXPECT_EQ(manager.GetImage("gone\\away.png"), nullptr);
    EXPECT_EQ(manager.GetImage(""), nullptr);
    // A sequence's patterns are probes: only numbers that load in no form are misses.
    WriteImage(InImages("led0.png"), 10);
    WriteImage(InImages("led02.png"), 12);
    ObjectArray<XImage> images;
    manager.LoadImageSequence("led", 4, images);
    EXPECT_EQ(images.GetCount(), 2);

    const XStringArray& misses = manager.GetImageMisses();
    ASSERT_EQ(misses.GetCount(), 3);
    EXPECT_EQ(misses.GetAt(0), "Gone\\Away.png");
    EXPECT_EQ(misses.GetAt(1), "led1.png");
    EXPECT_EQ(misses.GetAt(2), "led3.png");
    manager.ClearImageMisses();
    EXPECT_EQ(manager.GetImageMisses().GetCount(), 0);
}

TEST_F(ResourceManagerTest, SkinFoldersAreSearchedInOrder)
{
    XResourceManager ordered;
    ordered.SetBaseFolder(system.c_str());
    ordered.AddSkinFolder("");
    ordered.AddSkinFolder("Custom");
    ordered.AddSkinFolder("QM7");
    EXPECT_EQ(ordered.CountSkinFolders(), 2) << "an empty name is ignored";
    WriteImage(system + "/Skins/Custom/Images/both.png", 7);
    WriteImage(InImages("both.png"), 9);
    WriteImage(InImages("only.png"), 11);
    EXPECT_EQ(ordered.GetImage("both.png")->GetWidth(), 7);
    EXPECT_EQ(ordered.GetImage("only.png")->GetWidth(), 11);

    SkinTestFiles::WriteText(InSkin("Dialogs/Store.txt"), "qm7 text");
    SkinTestFiles::WriteText(system + "/Skins/Custom/Dialogs/store.txt", "custom text");
    XString text;
    EXPECT_TRUE(ordered.GetText("dialogs:store.txt", text));
    EXPECT_EQ(text, "custom text");
}

TEST_F(ResourceManagerTest, TextsAreReadAnewOnEveryCall)
{
    SkinTestFiles::WriteText(InSkin("Dialogs/UploadPresetDialog.txt"), "first");
    XString text;
    ASSERT_TRUE(manager.GetText("Dialogs\\uploadPresetdialog.txt", text));
    EXPECT_EQ(text, "first");
    SkinTestFiles::WriteText(InSkin("Dialogs/UploadPresetDialog.txt"), "second");
    ASSERT_TRUE(manager.GetText("Dialogs:uploadPresetdialog.txt", text));
    EXPECT_EQ(text, "second");

    SkinTestFiles::WriteText(InSkin("empty.txt"), "");
    EXPECT_FALSE(manager.GetText("empty.txt", text));
    EXPECT_FALSE(manager.GetText("missing.txt", text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(manager.GetText("", text));

    SkinTestFiles::WriteText(system + "/GlobalColors.dat", "colours");
    EXPECT_TRUE(manager.LoadTextFile(XString(system.c_str()) + "\\globalcolors.DAT", text));
    EXPECT_EQ(text, "colours");
}

TEST_F(ResourceManagerTest, TheArchiveIsSearchedFirstWithLowerCaseSlashNames)
{
    WriteArchive({{"Skins/QM7/Images/A.png", PngBytes(13)},
                  {"skins/qm7/dialogs/store.txt", Bytes("from archive")},
                  {"GlobalFonts.dat", Bytes("fonts in archive")}});
    WriteImage(InImages("a.png"), 2);
    SkinTestFiles::WriteText(InSkin("other.txt"), "disk only");

    manager.OpenSystemArchive(false);
    EXPECT_TRUE(manager.HasArchive());
    ASSERT_NE(manager.GetImage("a.png"), nullptr);
    EXPECT_EQ(manager.GetImage("a.png")->GetWidth(), 13) << "the archive wins over the disk";

    XString text;
    EXPECT_TRUE(manager.GetText("Dialogs\\Store.txt", text));
    EXPECT_EQ(text, "from archive");
    EXPECT_TRUE(manager.GetText("other.txt", text));
    EXPECT_EQ(text, "disk only");
    EXPECT_TRUE(manager.LoadTextFile(XString(system.c_str()) + "\\GlobalFonts.dat", text));
    EXPECT_EQ(text, "fonts in archive");
}

TEST_F(ResourceManagerTest, ResourcesFromDiskIgnoreTheArchive)
{
    WriteArchive({{"skins/qm7/images/a.png", PngBytes(13)}});
    manager.OpenSystemArchive(true);
    EXPECT_FALSE(manager.HasArchive());
    EXPECT_EQ(manager.GetImage("a.png"), nullptr);
}

TEST_F(ResourceManagerTest, AMissingOrDamagedArchiveCountsAsEmpty)
{
    WriteImage(InImages("disk.png"), 6);
    manager.OpenSystemArchive(false);
    EXPECT_FALSE(manager.HasArchive());
    EXPECT_NE(manager.GetImage("disk.png"), nullptr);

    juce::Random random(0xA2C);
    for (int round = 0; round < 40; ++round)
    {
        // Random bytes, some behind a zip signature, as a damaged archive holds.
        juce::MemoryBlock data;
        if (round % 2 == 1)
            data.append("PK\x03\x04", 4);
        for (int i = random.nextInt(2048); i > 0; --i)
        {
            const auto byte = static_cast<uint8_t>(random.nextInt(256));
            data.append(&byte, 1);
        }
        SkinTestFiles::WriteFile(system + "/System.rsc", data.getData(), data.getSize());
        XResourceManager fresh;
        fresh.SetBaseFolder(system.c_str());
        fresh.AddSkinFolder("QM7");
        fresh.OpenSystemArchive(false);
        EXPECT_NE(fresh.GetImage("disk.png"), nullptr) << round;
        XString text;
        EXPECT_FALSE(fresh.GetText("none.txt", text));
    }
}

TEST_F(ResourceManagerTest, ImageSequencesLoadByBaseNameCountingFromZeroOrOne)
{
    // No meter0.png: the numbers run 1 to 3, each in the first form that exists.
    WriteImage(InImages("meter1.png"), 1);
    WriteImage(InImages("meter02.png"), 2);
    SkinTestFiles::WritePng(InImages("meter3.bmp"), SkinTestFiles::SolidImage(3, 4, juce::Colours::red));
    ObjectArray<XImage> images;
    images.Add(manager.GetImage("meter1.png")); // emptied first
    manager.LoadImageSequence("meter", 3, images);
    ASSERT_EQ(images.GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(images.At(i)->GetWidth(), i + 1);

    // With led0.png the numbers run 0 to count - 1; numbers that load nothing are left out.
    WriteImage(InImages("led0.png"), 10);
    WriteImage(InImages("led2.png"), 12);
    manager.LoadImageSequence("led", 4, images);
    ASSERT_EQ(images.GetCount(), 2);
    EXPECT_EQ(images.At(0)->GetWidth(), 10);
    EXPECT_EQ(images.At(1)->GetWidth(), 12);

    manager.LoadImageSequence("", 3, images);
    manager.LoadImageSequence("led", 0, images);
    EXPECT_EQ(images.GetCount(), 2) << "nothing changes";
}

TEST_F(ResourceManagerTest, AttributesNameTheirImageByDescriptionOrName)
{
    WriteImage(InImages("Thumb.png"), 4);
    WriteImage(InImages("Track.png"), 8);
    XMessage attributes;
    attributes.AddString("imagename", "thumb.png");
    attributes.AddString("imagename", "track.png");
    EXPECT_EQ(manager.GetImageFromAttributes(attributes, 0)->GetWidth(), 4);
    EXPECT_EQ(manager.GetImageFromAttributes(attributes, 1)->GetWidth(), 8);
    EXPECT_EQ(manager.GetImageFromAttributes(attributes, 2), nullptr);

    XMessage description;
    description.AddString("imagePath", "Track.png");
    description.AddBool("transparent", true);
    XMessage described;
    described.AddMessage("imageDesc", description);
    described.AddString("imagename", "thumb.png");
    EXPECT_EQ(manager.GetImageFromAttributes(described, 0), manager.GetImage("track.png"));
    EXPECT_EQ(manager.GetImageFromAttributes(XMessage(), 0), nullptr);
}

TEST_F(ResourceManagerTest, CursorsComeFromTheCursorsFolderAndAreKept)
{
    // The mixed-case folders on the way must not hide the file.
    WriteImage(system + "/Cursors/Pencil.png", 16);
    const juce::MouseCursor pencil = manager.GetCursor("pencil.png", 0, 0);
    EXPECT_NE(pencil, juce::MouseCursor(juce::MouseCursor::NormalCursor));
    EXPECT_EQ(manager.GetCursor("PENCIL.PNG", 0, 0), pencil) << "one cached cursor";
    EXPECT_EQ(manager.CountCachedCursors(), 1);

    // A hot spot outside the image is held inside it.
    WriteImage(system + "/Cursors/down.png", 8);
    EXPECT_NE(manager.GetCursor("down.png", 15, 15), juce::MouseCursor(juce::MouseCursor::NormalCursor));

    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(manager.GetCursor("eraser.png", 2, 1), juce::MouseCursor(juce::MouseCursor::NormalCursor));
    EXPECT_EQ(manager.CountCachedCursors(), 2) << "a missing cursor is not cached";

    // Clearing the caches deletes the images, not the cursors.
    WriteImage(InImages("knob.png"), 5);
    XImage* before = manager.GetImage("knob.png");
    ASSERT_NE(before, nullptr);
    manager.ClearCaches();
    EXPECT_EQ(manager.CountCachedImages(), 0);
    EXPECT_EQ(manager.CountCachedCursors(), 2);
    EXPECT_NE(manager.GetImage("knob.png"), nullptr);
}

TEST_F(ResourceManagerTest, CursorsAreReadFromTheArchiveToo)
{
    WriteArchive({{"cursors/magnify.png", PngBytes(12)}});
    manager.OpenSystemArchive(false);
    EXPECT_NE(manager.GetCursor("Magnify.png", 5, 5), juce::MouseCursor(juce::MouseCursor::NormalCursor));
}

TEST_F(ResourceManagerTest, JucesShutDownDeletesTheImagesTheCursorsAndTheArchive)
{
    WriteImage(InImages("knob.png"), 5);
    WriteImage(system + "/Cursors/pencil.png", 16);
    WriteArchive({{"skins/qm7/images/dial.png", PngBytes(6)}});
    // In a child process, since the shut-down ends JUCE for the rest of the program.
    ChildScenario::ExpectPasses(
        [this]
        {
            int failures = 0;
            manager.OpenSystemArchive(false);
            SCENARIO_CHECK(manager.GetImage("knob.png") != nullptr);
            SCENARIO_CHECK(manager.GetImage("dial.png") != nullptr);
            manager.GetCursor("pencil.png", 0, 0);
            SCENARIO_CHECK(manager.CountCachedCursors() == 1);
            const uint32_t generation = manager.GetImageGeneration();

            juce::shutdownJuce_GUI();
            SCENARIO_CHECK(manager.CountCachedImages() == 0);
            SCENARIO_CHECK(manager.GetImageGeneration() != generation);
            SCENARIO_CHECK(manager.CountCachedCursors() == 0);
            SCENARIO_CHECK(!manager.HasArchive());
            return failures;
        });
}

TEST_F(ResourceManagerTest, TheSystemFolderIsFoundByWalkingUpFromTheProgram)
{
    juce::File(temp.Child("Root/bin/debug")).createDirectory();
    const XString found = XResourceManager::FindSystemFolder(temp.Child("Root/bin/debug").c_str());
    EXPECT_EQ(juce::File(found.CStr()), juce::File(system));
    // A folder named System holds no System of its own: its parent's is found.
    EXPECT_EQ(juce::File(XResourceManager::FindSystemFolder(system.c_str()).CStr()), juce::File(system));
    EXPECT_TRUE(XResourceManager::FindSystemFolder("").IsEmpty());
}

TEST(ResourceManagerSingleton, IsTheReaderOfSkinTexts)
{
    XResourceManager& manager = GetResourceManager();
    EXPECT_EQ(&GetResourceManager(), &manager);
    EXPECT_EQ(&GetSkinTextReader(), static_cast<ISkinTextReader*>(&manager));

    TestSupport::TempFolder temp;
    SkinTestFiles::WriteText(temp.Child("Fonts.DAT"), "font : small { size = 9 }");
    XString text;
    EXPECT_TRUE(GetSkinTextReader().LoadTextFile((temp.Path() + "\\fonts.dat").c_str(), text));
    EXPECT_EQ(text, "font : small { size = 9 }");
}
