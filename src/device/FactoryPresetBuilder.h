#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <array>
#include <cstdint>
#include <vector>

namespace juce
{
class File;
}

class XParamGroup;

/** Where the factory-preset builder shows what it is doing; each text replaces the previous one. */
class IFactoryPresetStatus
{
public:
    virtual ~IFactoryPresetStatus() = default;
    virtual void ShowStatus(const XString& text) = 0;
};

/** Builds the unit's factory-preset data from a folder of preset files ("*.qm7", the editor's XML
    preset format): one fixed-size image per preset (kImageSize bytes, little-endian: a header, then
    kEntryCount entries of entry index, flags and value), the ".fps" file that lays 60 images out for
    the unit's 64 KiB flash sectors (15 per sector, the rest of each sector 0xFF), and the C header
    "KRX640FactoryChannelNames.h" with the six output names of every preset.

    The files are the first kMaxPresets files of the folder by name; entries are placed by the
    editor's groups (input A, input B, outputs 1..6 and the preset group), which only serve to tell
    which parameter ids exist and which values are floats. Preset files are outside input, read as the
    preset document reads them (PresetFileReader): a file that is not a preset, or is damaged or cut
    short, gives an image with a zero header and empty entries and an empty name row.

    Status texts go to the status view, each followed by a short wait (scaled clock) so that a person
    can read them. Not thread-safe: one thread uses a builder. The groups are borrowed. */
class FactoryPresetBuilder final
{
public:
    static constexpr int kImageSize = 4176;
    static constexpr int kHeaderSize = 8;
    static constexpr int kEntrySize = 8;
    static constexpr int kEntryCount = 521;
    static constexpr int kMaxPresets = 60;
    /** The unit's number of the first factory preset (user presets come before). */
    static constexpr int kFirstPresetNumber = 21;
    static constexpr int kImagesPerSector = 15;
    static constexpr int kSectorSize = 65536;
    static constexpr int kChannelNameCount = 6;
    /** A name field holds kLabelFieldSize - 1 bytes and a zero. */
    static constexpr int kLabelFieldSize = 20;
    static constexpr const char* kHeaderFileName = "KRX640FactoryChannelNames.h";
    static constexpr const char* kImageExtension = ".fps";

    using Image = std::array<uint8_t, kImageSize>;
    /** The six output names of one preset, each zero-terminated. */
    struct OutputLabel
    {
        char names[kChannelNameCount][kLabelFieldSize] = {};
    };

    /** The groups: the live inputs and outputs (GetInputChannel, GetOutputChannel), then
        presetGroup; missing ones are left out of the search by name. */
    explicit FactoryPresetBuilder(XParamGroup* presetGroup);
    /** The nine groups in the order input A, input B, outputs 1..6, preset group. */
    explicit FactoryPresetBuilder(const std::vector<XParamGroup*>& groups);

    void SetStatusView(IFactoryPresetStatus* view) { statusView = view; }

    /** Drops what was built, then builds kMaxPresets images from the first preset files of
        sourceFolder and writes the names header into headerFolder (created when missing). 0;
        0x80000001 when the folder cannot be listed (nothing built) or the header cannot be written
        (the images are built). */
    int32_t LoadData(const XString& sourceFolder, const XString& headerFolder);
    /** Writes the images as an ".fps" file at path with its extension replaced by ".fps" (savedPath
        receives it; may be null), then drops them. Without images the file is empty. 0, or
        0x80000001 when the file cannot be written (the images are kept). */
    int32_t Save(const XString& path, XString* savedPath);
    /** Drops every image and name row. */
    void Clear();

    const std::vector<Image>& GetImages() const { return images; }
    const std::vector<OutputLabel>& GetLabels() const { return labels; }

    /** The image of one preset file: header and entries (see the class comment). An image with a
        zero header and empty entries when the file is not a preset; label receives the output
        names (empty names when the file has none). false when it is not a preset. */
    bool ParseFile(const juce::File& file, int presetIndex, Image& image, OutputLabel& label) const;
    /** The ".fps" bytes of images: 0xFF fills up to the next sector before each 15th image after
        the first 15. */
    static std::vector<uint8_t> LayOutImages(const std::vector<Image>& images);
    /** The text of the names header for the rows (CR LF line ends, kMaxPresets rows). */
    static XString FormatChannelNamesHeader(const std::vector<OutputLabel>& labels);
    /** The folder ".\src" below the current folder, where the firmware build expects the header. */
    static XString DefaultHeaderFolder();
    /** An image of all ones: an empty preset slot. */
    static Image EmptyImage();

private:
    /** The image as a file's parse starts it: zero header, all entries empty. */
    static Image BlankImage();
    void ShowStatus(const XString& text, uint32_t waitMs);
    /** The position in the group list of the group named name ignoring case; -1 when none. */
    int FindGroup(const char* name) const;
    int32_t WriteHeader(const XString& folder) const;

    std::vector<XParamGroup*> groups; // not owned; null places are skipped
    std::vector<Image> images;
    std::vector<OutputLabel> labels;
    IFactoryPresetStatus* statusView = nullptr; // not owned
};
