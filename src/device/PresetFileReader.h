#pragma once

#include <cstdint>
#include <memory>

namespace juce
{
class File;
class String;
class XmlElement;
} // namespace juce

/** Reads a preset file ("*.qm7", XML) as outside input, for the preset document and the
    factory-preset builder alike. The file is read as checked text (at most kMaxFileBytes; bytes
    that are not UTF-8 are taken as Windows-1252) and looked at before JUCE's XML reader sees it:
    presets carry no document type, no processing instruction after the prolog (JUCE's reader loops
    for ever on one between an element's children) and always end with their root's end tag, so a
    file with a document type, a processing instruction in its body, or a root left open (a file cut
    short) is refused. Stateless; any thread. */
class PresetFileReader final
{
public:
    /** Larger files are not presets (a full preset is about 60 KB). */
    static constexpr int64_t kMaxFileBytes = 16 * 1024 * 1024;

    /** The root element of the file; null when the file cannot be read, is too large, or is refused
        (see the class comment). */
    static std::unique_ptr<juce::XmlElement> Read(const juce::File& file);
    /** The same checks and parse on text already read. */
    static std::unique_ptr<juce::XmlElement> Parse(const juce::String& text);

    PresetFileReader() = delete;
};
