// The factory-preset builder against the unit's channel tables, from folders of preset files that
// the tests write: the images, their sector layout in the ".fps" file and the channel-names header.

#include "device/FactoryPresetBuilder.h"

#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "device/ChannelInput.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "device/XParamDoc.h"
#include "platform/PlatformClock.h"
#include "support/TestSupport.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace
{
constexpr double kFastTimeScale = 1000.0;
constexpr int kImageSize = FactoryPresetBuilder::kImageSize;

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void Write(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

/** A "param" element as the preset document writes it. */
std::string Param(long long id, const std::string& value, int flags = 0)
{
    return "<param name=\"p\" pid=\"" + std::to_string(id) + "\" flags=\"" + std::to_string(flags) +
           "\" val=\"" + value + "\" min=\"0\" max=\"1\"/>";
}

std::string Label(const std::string& name)
{
    return "<param name=\"label\" pid=\"115\" flags=\"0\" valstr=\"" + name + "\"/>";
}

std::string Group(const std::string& tag, const std::string& params)
{
    return "<" + tag + ">" + params + "</" + tag + ">";
}

std::string Preset(const std::string& groups)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<QM-Seven>" + groups + "</QM-Seven>\n";
}

uint16_t UInt16At(const FactoryPresetBuilder::Image& image, int offset)
{
    return static_cast<uint16_t>(image[static_cast<size_t>(offset)] |
                                 (image[static_cast<size_t>(offset) + 1] << 8));
}

struct Entry
{
    int16_t index;
    uint16_t flags;
    int32_t value;
};

Entry EntryAt(const FactoryPresetBuilder::Image& image, int entry)
{
    const int at = FactoryPresetBuilder::kHeaderSize + FactoryPresetBuilder::kEntrySize * entry;
    uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte)
        value = (value << 8) | image[static_cast<size_t>(at + 4 + byte)];
    return {static_cast<int16_t>(UInt16At(image, at)), UInt16At(image, at + 2), static_cast<int32_t>(value)};
}

bool IsEmptyEntry(const Entry& entry)
{
    return entry.index == -1 && entry.flags == 0xFFFF && entry.value == -1;
}

int CountFilledEntries(const FactoryPresetBuilder::Image& image)
{
    int filled = 0;
    for (int entry = 0; entry < FactoryPresetBuilder::kEntryCount; ++entry)
        filled += IsEmptyEntry(EntryAt(image, entry)) ? 0 : 1;
    return filled;
}

class StatusRecorder final : public IFactoryPresetStatus
{
public:
    void ShowStatus(const XString& text) override { texts.emplace_back(text.CStr()); }
    std::vector<std::string> texts;
};

/** The editor's groups as start-up builds them (InputA, InputB, Output1..Output6, preset) and a
    builder over them, with time running fast so that the status waits pass quickly. */
class FactoryPresets : public ::testing::Test
{
protected:
    FactoryPresets() : presetGroup("preset")
    {
        savedTimeScale = PlatformClock::GetTimeScale();
        PlatformClock::SetTimeScale(kFastTimeScale);
        presetGroup.AddParams(PresetInfoParamTable, GlobalParamTables::kPresetInfoPrefix);
        channels.push_back(std::make_unique<ChannelInput>("InputA"));
        channels.push_back(std::make_unique<ChannelInput>("InputB"));
        for (int output = 1; output <= 6; ++output)
            channels.push_back(std::make_unique<ChannelOutput>(("Output" + std::to_string(output)).c_str()));
        builder = std::make_unique<FactoryPresetBuilder>(&presetGroup);
        builder->SetStatusView(&status);
        juce::File(source.Path()).getChildFile("presets").createDirectory();
    }
    ~FactoryPresets() override { PlatformClock::SetTimeScale(savedTimeScale); }

    std::string PresetFolder() const { return source.Child("presets"); }
    std::string HeaderFolder() const { return source.Child("src"); }
    void AddFile(const std::string& name, const std::string& content)
    {
        Write(PresetFolder() + "/" + name, content);
    }
    int32_t Load() { return builder->LoadData(PresetFolder().c_str(), HeaderFolder().c_str()); }
    std::string Header() const
    {
        return Contents(HeaderFolder() + "/" + FactoryPresetBuilder::kHeaderFileName);
    }

    FactoryPresetBuilder::Image ParseText(const std::string& content, int presetIndex = 0)
    {
        const std::string path = source.Child("one.qm7");
        Write(path, content);
        FactoryPresetBuilder::Image image;
        builder->ParseFile(juce::File(path), presetIndex, image, label);
        return image;
    }

    double savedTimeScale = 1.0;
    TestSupport::TempFolder source;
    XParamGroup presetGroup;
    std::vector<std::unique_ptr<XABGroup>> channels;
    StatusRecorder status;
    std::unique_ptr<FactoryPresetBuilder> builder;
    FactoryPresetBuilder::OutputLabel label;
};

std::string Repeat(const std::string& text, int times)
{
    std::string all;
    for (int time = 0; time < times; ++time)
        all += text;
    return all;
}

const std::string kEmptyRow = "{\"\",\"\",\"\",\"\",\"\",\"\"}";

std::string ExpectedHeader(const std::vector<std::string>& rows)
{
    std::string text =
        "#ifndef KRX640_FACTORY_CHANNEL_NAMES_H\r\n#define KRX640_FACTORY_CHANNEL_NAMES_H\r\n\r\n"
        "/* This file is generated by BuildFactoryPresetDataWindow */\r\n\r\n"
        "const char * gKRX640FactoryPresetNames[][6] = {\r\n";
    for (const std::string& row : rows)
        text += row + ",\r\n";
    for (size_t row = rows.size(); row < 60; ++row)
        text += kEmptyRow + ",\r\n";
    text += "\r\n" + kEmptyRow + "\r\n\r\n};\r\n\r\n#endif\t\t// FACTORY_CHANNEL_NAMES_H";
    return text;
}
} // namespace

TEST_F(FactoryPresets, ThreeFilesGiveThreeImagesFiftySevenEmptyOnesAndTheirNameRows)
{
    // Written out of order: the presets are taken by name.
    AddFile("c.qm7", Preset(Group("Output1", Label("Top"))));
    AddFile("a.qm7", Preset(Group("Output3", Label("Sub L")) + Group("Output6", Label("Fill"))));
    AddFile("b.qm7", Preset(Group("InputA", Param(96, "1"))));

    ASSERT_EQ(Load(), 0);
    const auto& images = builder->GetImages();
    ASSERT_EQ(images.size(), 60u);
    for (int preset = 0; preset < 3; ++preset)
    {
        EXPECT_EQ(UInt16At(images[preset], 0), 16);
        EXPECT_EQ(UInt16At(images[preset], 2), 21 + preset);
        EXPECT_EQ(UInt16At(images[preset], 4), 4168);
        EXPECT_EQ(UInt16At(images[preset], 6), 265);
    }
    EXPECT_EQ(CountFilledEntries(images[1]), 1);
    for (size_t preset = 3; preset < images.size(); ++preset)
        EXPECT_EQ(images[preset], FactoryPresetBuilder::EmptyImage()) << preset;

    ASSERT_EQ(builder->GetLabels().size(), 3u);
    EXPECT_STREQ(builder->GetLabels()[0].names[2], "Sub L");
    EXPECT_EQ(Header(), ExpectedHeader({"{\"\",\"\",\"Sub L\",\"\",\"\",\"Fill\"}", kEmptyRow,
                                        "{\"Top\",\"\",\"\",\"\",\"\",\"\"}"}));

    std::vector<std::string> expected = {"building parameter data..."};
    for (const char* name : {"a.qm7", "b.qm7", "c.qm7"})
        expected.push_back("parsing file: " + PresetFolder() + "/" + name);
    expected.insert(expected.end(), 57, "creating NULL preset");
    expected.push_back("finished");
    EXPECT_EQ(status.texts, expected);
}

TEST_F(FactoryPresets, EntriesTakeBaseIdValueAndFlagsByGroup)
{
    struct Case
    {
        std::string group;
        int id;
        std::string value;
        int flags;
        int entry;
        uint16_t entryFlags;
        int32_t entryValue;
    };
    const Case cases[] = {
        {"InputA", 96, "12.345", 0, 13 + 96, 0, 1234},  // float in hundredths, truncated
        {"InputA", 96, "-1.5", 0x80, 13 + 96, 1, -150}, // negative floats truncate toward zero
        {"InputB", 51, "1", 0x40, 111 + 51, 2, 1},      // on/off
        {"inputb", 51, "1", 0xC0, 111 + 51, 3, 1},      // tags ignore case
        {"Output1", 45, "1", 0x80, 209 + 45, 1, 1},
        {"OUTPUT6", 45, "0", 0, 469 + 45, 0, 0},
        {"Output6", 1, "2", 0, 469 + 1, 0, 2},
        {"Preset", 9, "3", 0xC0, 9, 0xFFFF, 3}, // the preset group keeps its flags empty
        {"preset", 12, "77", 0, 12, 0xFFFF, 77},
    };
    for (const Case& c : cases)
    {
        const FactoryPresetBuilder::Image image =
            ParseText(Preset(Group(c.group, Param(c.id, c.value, c.flags))), 4);
        SCOPED_TRACE(c.group + " " + std::to_string(c.id) + " " + c.value);
        EXPECT_EQ(UInt16At(image, 2), 25);
        ASSERT_EQ(CountFilledEntries(image), 1);
        const Entry entry = EntryAt(image, c.entry);
        EXPECT_EQ(entry.index, c.entry);
        EXPECT_EQ(entry.flags, c.entryFlags);
        EXPECT_EQ(entry.value, c.entryValue);
    }
}

TEST_F(FactoryPresets, ParametersOutsideTheWireRangeOrUnknownWriteNoEntry)
{
    const FactoryPresetBuilder::Image image =
        ParseText(Preset(Group("InputA", Param(140, "1") + Param(-1, "1") + Param(99999999999LL, "1")) +
                         Group("Output2", Param(571, "1")) + Group("preset", Param(60, "1")) +
                         Group("Output7", Label("Nowhere") + Param(1, "1")) +
                         Group("Output0", Label("Nowhere")) + Group("Global", Param(1, "1"))));
    EXPECT_EQ(UInt16At(image, 0), 16);
    EXPECT_EQ(CountFilledEntries(image), 0);
    for (const auto& name : label.names)
        EXPECT_STREQ(name, "");
}

TEST_F(FactoryPresets, NamesAreCutToTheirFieldAndQuotedAsCStrings)
{
    ParseText(Preset(Group("Output1", Label("A very long channel name")) +
                     Group("Output2", Label("Say &quot;hi&quot;\\")) +
                     Group("Output3", Label("ab" + Repeat("\xC3\xA9", 9)))));
    EXPECT_STREQ(label.names[0], "A very long channel");
    EXPECT_EQ(std::string(label.names[2]), "ab" + Repeat("\xC3\xA9", 8)); // never half a character
    const std::string expectedRow =
        "{\"A very long channel\",\"Say \\\"hi\\\"\\\\\",\"ab" + Repeat("\xC3\xA9", 8) + "\",\"\",\"\",\"\"}";
    EXPECT_EQ(std::string(FactoryPresetBuilder::FormatChannelNamesHeader({label}).CStr()),
              ExpectedHeader({expectedRow}));
}

TEST_F(FactoryPresets, AFileThatIsNotAPresetKeepsItsPlaceWithAnEmptyNameRow)
{
    AddFile("1.qm7", Preset(Group("Output1", Label("One"))));
    AddFile("2.txt", "<Other><Output1>" + Label("Two") + "</Output1></Other>");
    AddFile("3.qm7", "not xml at all");
    AddFile("4.qm7", Preset(Group("Output1", Label("Four"))));
    ASSERT_EQ(Load(), 0);
    const auto& images = builder->GetImages();
    for (int preset : {1, 2})
    {
        EXPECT_EQ(UInt16At(images[preset], 0), 0);
        EXPECT_EQ(UInt16At(images[preset], 6), 0);
        EXPECT_EQ(CountFilledEntries(images[preset]), 0);
    }
    EXPECT_EQ(UInt16At(images[3], 2), 24);
    EXPECT_EQ(Header(), ExpectedHeader({"{\"One\",\"\",\"\",\"\",\"\",\"\"}", kEmptyRow, kEmptyRow,
                                        "{\"Four\",\"\",\"\",\"\",\"\",\"\"}"}));
}

TEST_F(FactoryPresets, DamagedOrCutFilesAreNotPresets)
{
    const std::string good = Preset(Group("InputA", Param(96, "1")) + Group("Output1", Label("One")));
    const struct
    {
        const char* name;
        std::string text;
    } cases[] = {
        // Read as raw bytes, a multi-byte lead at the end of an attribute ran past the buffer.
        {"lead byte at the end", "<QM-Seven a=\"\xFD"},
        // JUCE's reader loops for ever on a processing instruction between an element's children.
        {"instruction in the body", "<QM-Seven><?a?>x</QM-Seven>"},
        {"document type", "<!DOCTYPE QM-Seven [<!ENTITY a \"1\">]>" + good},
        {"cut in an end tag", good.substr(0, good.find("</InputA") + 5)},
        {"cut in the root's start tag", good.substr(0, good.find("<QM-Seven") + 9)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        FactoryPresetBuilder::Image image{};
        TestSupport::RunWithin([&] { image = ParseText(c.text); }, 120000);
        EXPECT_EQ(UInt16At(image, 0), 0);
        EXPECT_EQ(CountFilledEntries(image), 0);
        EXPECT_STREQ(label.names[0], "");
    }
    // Bytes that are not UTF-8 are read as Windows-1252 text, not skipped over.
    ParseText(Preset(Group("Output1", Label("Caf\xE9"))));
    EXPECT_STREQ(label.names[0], "Caf\xC3\xA9");
}

TEST_F(FactoryPresets, SixtyOneFilesUseTheFirstSixtyByName)
{
    for (int file = 60; file >= 0; --file)
    {
        char name[16];
        std::snprintf(name, sizeof name, "p%02d.qm7", file);
        AddFile(name, Preset(Group("Output1", Param(1, std::to_string(file % 3)))));
    }
    ASSERT_EQ(Load(), 0);
    const auto& images = builder->GetImages();
    ASSERT_EQ(images.size(), 60u);
    EXPECT_EQ(UInt16At(images[59], 2), 80);
    EXPECT_EQ(builder->GetLabels().size(), 60u);
    EXPECT_EQ(std::count(status.texts.begin(), status.texts.end(), "creating NULL preset"), 0);
    EXPECT_EQ(status.texts.back(), "finished");
    EXPECT_EQ(status.texts[60], "parsing file: " + PresetFolder() + "/p59.qm7");
}

TEST_F(FactoryPresets, SavedFileLaysFifteenImagesIntoEachSector)
{
    AddFile("a.qm7", Preset(Group("InputA", Param(96, "2"))));
    ASSERT_EQ(Load(), 0);
    const std::vector<FactoryPresetBuilder::Image> images = builder->GetImages();
    XString saved;
    ASSERT_EQ(builder->Save(source.Child("factory.bin").c_str(), &saved), 0);
    EXPECT_EQ(std::string(saved.CStr()), source.Child("factory.fps"));
    EXPECT_EQ(status.texts.back(), "file saved: " + source.Child("factory.fps"));
    EXPECT_TRUE(builder->GetImages().empty());
    EXPECT_TRUE(builder->GetLabels().empty());

    const std::string bytes = Contents(source.Child("factory.fps"));
    ASSERT_EQ(bytes.size(), 259248u);
    for (size_t at = 62640; at < 65536; ++at)
        ASSERT_EQ(static_cast<uint8_t>(bytes[at]), 0xFF) << at;
    for (int image = 0; image < 60; ++image)
    {
        const size_t start =
            static_cast<size_t>(image / 15) * 65536 + static_cast<size_t>(image % 15) * kImageSize;
        ASSERT_EQ(std::memcmp(bytes.data() + start, images[static_cast<size_t>(image)].data(), kImageSize), 0)
            << image;
    }

    // Nothing loaded: an empty file, replacing the older one.
    ASSERT_EQ(builder->Save(source.Child("factory.fps").c_str(), nullptr), 0);
    EXPECT_TRUE(juce::File(source.Child("factory.fps")).existsAsFile());
    EXPECT_EQ(Contents(source.Child("factory.fps")).size(), 0u);
}

TEST_F(FactoryPresets, FailuresBuildOrSaveNothing)
{
    EXPECT_EQ(builder->LoadData(source.Child("missing").c_str(), HeaderFolder().c_str()), XResult::kFailed);
    EXPECT_TRUE(builder->GetImages().empty());
    EXPECT_TRUE(status.texts.empty());

    AddFile("a.qm7", Preset(""));
    ASSERT_EQ(Load(), 0);
    EXPECT_EQ(builder->Save(source.Child("no/such/folder/x.fps").c_str(), nullptr), XResult::kFailed);
    EXPECT_EQ(builder->GetImages().size(), 60u);

    // A header folder that cannot be made: the images are built all the same.
    Write(source.Child("blocker"), "a file");
    EXPECT_EQ(builder->LoadData(PresetFolder().c_str(), source.Child("blocker/src").c_str()),
              XResult::kFailed);
    EXPECT_EQ(builder->GetImages().size(), 60u);
}

TEST_F(FactoryPresets, APresetWrittenByTheDocumentBuildsItsImage)
{
    XParamDoc document;
    for (auto& channel : channels)
        document.AddGroup(channel.get());
    document.AddGroup(&presetGroup);
    channels[0]->GetParam(ChannelParamTables::kInputDelayId)->SetValue(12.5, false);
    channels[4]->GetParam(ChannelParamTables::kOutputLabelId)->SetText("Sub L", false);
    ASSERT_EQ(document.WriteTo(source.Child("doc.qm7").c_str()), 0);

    FactoryPresetBuilder::Image image;
    ASSERT_TRUE(builder->ParseFile(juce::File(source.Child("doc.qm7")), 0, image, label));
    EXPECT_EQ(EntryAt(image, 13 + 96).value, 1250);
    EXPECT_STREQ(label.names[2], "Sub L");
    EXPECT_GT(CountFilledEntries(image), 400);
}

TEST_F(FactoryPresets, RandomFilesNeverBreakTheParser)
{
    std::mt19937 random(640);
    const std::string good =
        Preset(Group("InputA", Param(96, "12.5", 0x80) + Param(51, "1")) +
               Group("Output3", Label("Sub L") + Param(45, "1")) + Group("preset", Param(9, "2")));
    const std::vector<std::string> pieces = {
        "<",    ">",           "\"",  "pid=\"", "val=\"1e308\"", "val=\"nan\"", "-99999999999999999999",
        "\xC3", "</QM-Seven>", "&#0;"};
    for (int round = 0; round < 300; ++round)
    {
        std::string text = good;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int edit = 0; edit < edits; ++edit)
        {
            const size_t at = random() % (text.size() + 1);
            if (random() % 2 == 0)
                text.insert(at, pieces[random() % pieces.size()]);
            else
                text.erase(at, random() % 12);
        }
        const FactoryPresetBuilder::Image image = ParseText(text);
        const uint16_t tag = UInt16At(image, 0);
        EXPECT_TRUE(tag == 0 || tag == 16);
        for (const auto& name : label.names)
            EXPECT_LT(std::strlen(name), static_cast<size_t>(FactoryPresetBuilder::kLabelFieldSize));
    }
}
