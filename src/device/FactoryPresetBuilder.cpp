#include "device/FactoryPresetBuilder.h"

#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "core/XStringConversion.h"
#include "core/XmlAttributes.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "device/PresetFileReader.h"
#include "device/WireId.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFileSystem.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <juce_core/juce_core.h>
#include <limits>
#include <string>

namespace
{
constexpr const char* kRootTag = "QM-Seven";
constexpr const char* kPresetTag = "Preset";
constexpr const char* kOutputTagStem = "Output";
constexpr const char* kIdAttribute = "pid";
constexpr const char* kValueAttribute = "val";
constexpr const char* kTextAttribute = "valstr";
constexpr const char* kFlagsAttribute = "flags";

/** The image header: a fixed tag, the preset's number, the byte count of the entries, a format mark. */
constexpr uint16_t kImageTag = 16;
constexpr uint16_t kEntryBytes = FactoryPresetBuilder::kEntrySize * FactoryPresetBuilder::kEntryCount;
constexpr uint16_t kImageFormat = 265;

/** Parameter flag bits carried into an entry's flags. */
constexpr int64_t kParamFlagA = 0x80;
constexpr int64_t kParamFlagB = 0x40;
constexpr uint16_t kEntryFlagA = 1;
constexpr uint16_t kEntryFlagB = 2;
/** Float values are stored in hundredths. */
constexpr double kFloatScale = 100.0;

constexpr uint32_t kFirstStatusWaitMs = 50;
constexpr uint32_t kStatusWaitMs = 20;

/** Where each group's entries go and which of its ids are taken, by its place in the group list:
    input A, input B, outputs 1..6, the preset group. */
struct GroupPlacement
{
    int base;
    int32_t lastId;
};
constexpr int32_t kInputLastId = ChannelParamTables::kInputWireIdLast;
constexpr int32_t kOutputLastId = ChannelParamTables::kOutputWireIdLast;
constexpr int32_t kPresetLastId = GlobalParamTables::kConfigLedsId;
constexpr GroupPlacement kPlacements[] = {{13, kInputLastId},   {111, kInputLastId},  {209, kOutputLastId},
                                          {261, kOutputLastId}, {313, kOutputLastId}, {365, kOutputLastId},
                                          {417, kOutputLastId}, {469, kOutputLastId}, {0, kPresetLastId}};
constexpr int kGroupCount = static_cast<int>(sizeof kPlacements / sizeof kPlacements[0]);

constexpr const char* kGuard = "KRX640_FACTORY_CHANNEL_NAMES_H";
constexpr const char* kEmptyRow = "{\"\",\"\",\"\",\"\",\"\",\"\"}";

void PutUInt16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutInt32(uint8_t* at, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte)
        at[byte] = static_cast<uint8_t>(bits >> (8 * byte));
}

int32_t SaturateToInt32(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

/** A float value in hundredths as the unit keeps it: scaled, held as float32, truncated toward zero;
    out-of-range numbers saturate and a NaN gives 0. */
int32_t ScaledFloatValue(double value)
{
    const float scaled = static_cast<float>(value * kFloatScale);
    if (std::isnan(scaled))
        return 0;
    if (scaled >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (scaled <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

/** Copies text into a name field, cut to the field at a character boundary. */
void CopyName(char (&field)[FactoryPresetBuilder::kLabelFieldSize], const juce::String& text)
{
    const char* utf8 = text.toRawUTF8();
    size_t length = std::strlen(utf8);
    const size_t room = FactoryPresetBuilder::kLabelFieldSize - 1;
    if (length > room)
    {
        length = room;
        while (length > 0 && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memset(field, 0, sizeof field);
    std::memcpy(field, utf8, length);
}

/** A name as a C string literal: quotes and backslashes escaped, control characters as octal. */
void AppendQuotedName(std::string& out, const char* name)
{
    out += '"';
    for (const char* at = name; *at != 0; ++at)
    {
        const unsigned char c = static_cast<unsigned char>(*at);
        if (c == '"' || c == '\\')
        {
            out += '\\';
            out += static_cast<char>(c);
        }
        else if (c < 0x20 || c == 0x7F)
        {
            const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                                  static_cast<char>('0' + ((c >> 3) & 7)), static_cast<char>('0' + (c & 7)),
                                  0};
            out += octal;
        }
        else
        {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

/** A path as the file system takes it: '\' as '/', relative paths below the current folder. */
juce::File FileAt(const XString& path)
{
    juce::String text = ToJuceString(path).replaceCharacter('\\', '/');
    return juce::File::getCurrentWorkingDirectory().getChildFile(text);
}
} // namespace

FactoryPresetBuilder::FactoryPresetBuilder(XParamGroup* presetGroup)
{
    groups.push_back(GetInputChannel(0));
    groups.push_back(GetInputChannel(1));
    for (int32_t output = 0; output < kChannelNameCount; ++output)
        groups.push_back(GetOutputChannel(output));
    groups.push_back(presetGroup);
}

FactoryPresetBuilder::FactoryPresetBuilder(const std::vector<XParamGroup*>& groupList) : groups(groupList)
{
    groups.resize(kGroupCount, nullptr);
}

void FactoryPresetBuilder::ShowStatus(const XString& text, uint32_t waitMs)
{
    if (statusView != nullptr)
        statusView->ShowStatus(text);
    PlatformClock::Sleep(waitMs);
}

void FactoryPresetBuilder::Clear()
{
    images.clear();
    labels.clear();
}

FactoryPresetBuilder::Image FactoryPresetBuilder::EmptyImage()
{
    Image image;
    image.fill(0xFF);
    return image;
}

FactoryPresetBuilder::Image FactoryPresetBuilder::BlankImage()
{
    Image image = EmptyImage();
    std::fill(image.begin(), image.begin() + kHeaderSize, 0);
    return image;
}

int FactoryPresetBuilder::FindGroup(const char* name) const
{
    for (int position = 0; position < kGroupCount; ++position)
    {
        if (groups[static_cast<size_t>(position)] != nullptr &&
            groups[static_cast<size_t>(position)]->GetName().EqualsNoCase(name))
            return position;
    }
    return -1;
}

bool FactoryPresetBuilder::ParseFile(const juce::File& file, int presetIndex, Image& image,
                                     OutputLabel& label) const
{
    image = BlankImage();
    label = OutputLabel();
    const std::unique_ptr<juce::XmlElement> root = PresetFileReader::Read(file);
    if (root == nullptr || !root->hasTagName(kRootTag))
        return false;

    PutUInt16(&image[0], kImageTag);
    PutUInt16(&image[2], static_cast<uint16_t>(presetIndex + kFirstPresetNumber));
    PutUInt16(&image[4], kEntryBytes);
    PutUInt16(&image[6], kImageFormat);

    for (const juce::XmlElement* groupElement : root->getChildIterator())
    {
        const juce::String tag = groupElement->getTagName();
        const int position = FindGroup(tag.toRawUTF8());
        if (position < 0)
            continue;
        XParamGroup* group = groups[static_cast<size_t>(position)];
        const GroupPlacement placement = kPlacements[position];
        const bool presetElement = tag.equalsIgnoreCase(kPresetTag);
        const bool outputElement = tag.dropLastCharacters(1).equalsIgnoreCase(kOutputTagStem);
        // The output's number is the tag's last character; only outputs 1..6 have a name field.
        const int nameField = outputElement ? static_cast<int>(tag.getLastCharacter()) - '1' : -1;

        for (const juce::XmlElement* element : groupElement->getChildIterator())
        {
            const int64_t id = XmlAttributes::ReadInteger(*element, kIdAttribute, 0);
            if (id != static_cast<int32_t>(id))
                continue;
            const XParam* param = group->GetParam(static_cast<int32_t>(id));
            if (param == nullptr)
                continue;
            if (outputElement && id == ChannelParamTables::kOutputLabelId && nameField >= 0 &&
                nameField < kChannelNameCount)
                CopyName(label.names[nameField], element->getStringAttribute(kTextAttribute));
            if (id < 0 || id > placement.lastId)
                continue;

            const int entryIndex = placement.base + static_cast<int>(id);
            uint8_t* entry = &image[static_cast<size_t>(kHeaderSize + kEntrySize * entryIndex)];
            PutUInt16(entry, static_cast<uint16_t>(entryIndex));
            if (!presetElement)
            {
                const int64_t flags = XmlAttributes::ReadInteger(*element, kFlagsAttribute, 0);
                uint16_t entryFlags = 0;
                if ((flags & kParamFlagA) != 0)
                    entryFlags |= kEntryFlagA;
                if ((flags & kParamFlagB) != 0)
                    entryFlags |= kEntryFlagB;
                PutUInt16(entry + 2, entryFlags);
            }
            const int32_t value =
                IsFloatParamType(param->GetType())
                    ? ScaledFloatValue(element->getDoubleAttribute(kValueAttribute, 0.0))
                    : SaturateToInt32(XmlAttributes::ReadInteger(*element, kValueAttribute, 0));
            PutInt32(entry + 4, value);
        }
    }
    return true;
}

int32_t FactoryPresetBuilder::LoadData(const XString& sourceFolder, const XString& headerFolder)
{
    Clear();
    const juce::File folder = FileAt(sourceFolder);
    if (sourceFolder.IsEmpty() || !folder.isDirectory())
        return XResult::kFailed;
    // Directory order is not defined here: the presets are the first files by name.
    juce::Array<juce::File> files = folder.findChildFiles(juce::File::findFiles, false, "*");
    std::sort(files.begin(), files.end(),
              [](const juce::File& a, const juce::File& b)
              { return std::strcmp(a.getFileName().toRawUTF8(), b.getFileName().toRawUTF8()) < 0; });
    if (files.size() > kMaxPresets)
        files.removeRange(kMaxPresets, files.size() - kMaxPresets);

    ShowStatus("building parameter data...", kFirstStatusWaitMs);
    for (int index = 0; index < files.size(); ++index)
    {
        const juce::String path = files.getReference(index).getFullPathName();
        ShowStatus(XString().Format("parsing file: %s", path.toRawUTF8()), kStatusWaitMs);
        Image image;
        OutputLabel label;
        ParseFile(files.getReference(index), index, image, label);
        images.push_back(image);
        // Every file keeps a name row, a file that is not a preset an empty one: row n names preset n.
        labels.push_back(label);
    }
    while (static_cast<int>(images.size()) < kMaxPresets)
    {
        ShowStatus("creating NULL preset", kStatusWaitMs);
        images.push_back(EmptyImage());
    }
    ShowStatus("finished", kStatusWaitMs);
    return WriteHeader(headerFolder);
}

int32_t FactoryPresetBuilder::WriteHeader(const XString& folderPath) const
{
    const juce::File folder = FileAt(folderPath);
    if (folderPath.IsEmpty() || !folder.createDirectory().wasOk())
        return XResult::kFailed;
    const XString text = FormatChannelNamesHeader(labels);
    const juce::File target = folder.getChildFile(kHeaderFileName);
    return target.replaceWithData(text.CStr(), static_cast<size_t>(text.Length())) ? 0 : XResult::kFailed;
}

std::vector<uint8_t> FactoryPresetBuilder::LayOutImages(const std::vector<Image>& imageList)
{
    std::vector<uint8_t> bytes;
    for (size_t index = 0; index < imageList.size(); ++index)
    {
        if (index > 0 && index % kImagesPerSector == 0)
        {
            const size_t sectorStart = (index / kImagesPerSector) * static_cast<size_t>(kSectorSize);
            bytes.resize(std::max(bytes.size(), sectorStart), 0xFF);
        }
        bytes.insert(bytes.end(), imageList[index].begin(), imageList[index].end());
    }
    return bytes;
}

int32_t FactoryPresetBuilder::Save(const XString& path, XString* savedPath)
{
    if (path.IsEmpty())
        return XResult::kFailed;
    const juce::File target = FileAt(path).withFileExtension(kImageExtension);
    const std::vector<uint8_t> bytes = LayOutImages(images);
    // Written beside the target and renamed over it: a failed save leaves an older file whole.
    juce::TemporaryFile temporary(target);
    {
        juce::FileOutputStream out(temporary.getFile());
        if (!out.openedOk() || (!bytes.empty() && !out.write(bytes.data(), bytes.size())))
            return XResult::kFailed;
        out.flush();
        if (out.getStatus().failed())
            return XResult::kFailed;
    }
    if (!temporary.overwriteTargetFileWithTemporary())
        return XResult::kFailed;
    const XString saved = ToXString(target.getFullPathName());
    if (savedPath != nullptr)
        *savedPath = saved;
    ShowStatus(XString().Format("file saved: %s", saved.CStr()), kStatusWaitMs);
    Clear();
    return 0;
}

XString FactoryPresetBuilder::FormatChannelNamesHeader(const std::vector<OutputLabel>& labelRows)
{
    std::string text;
    text += std::string("#ifndef ") + kGuard + "\r\n#define " + kGuard + "\r\n\r\n";
    text += "/* This file is generated by BuildFactoryPresetDataWindow */\r\n\r\n";
    text += "const char * gKRX640FactoryPresetNames[][6] = {\r\n";
    int rows = 0;
    for (const OutputLabel& label : labelRows)
    {
        text += '{';
        for (int name = 0; name < kChannelNameCount; ++name)
        {
            if (name > 0)
                text += ',';
            AppendQuotedName(text, label.names[name]);
        }
        text += "},\r\n";
        ++rows;
    }
    for (; rows < kMaxPresets; ++rows)
        text += std::string(kEmptyRow) + ",\r\n";
    text += std::string("\r\n") + kEmptyRow + "\r\n\r\n";
    text += "};\r\n\r\n";
    text += "#endif\t\t// FACTORY_CHANNEL_NAMES_H";
    return XString(text.c_str());
}

XString FactoryPresetBuilder::DefaultHeaderFolder()
{
    return XString((PlatformFileSystem::CurrentFolder() + "/src").c_str());
}
