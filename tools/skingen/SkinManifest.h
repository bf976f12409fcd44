#pragma once

#include <juce_core/juce_core.h>

/** One row of the skin's image manifest: an image (or a numbered sequence of images) that the skin
    generator draws. */
struct SkinImageRow
{
    /** Lower-case skin-relative name with '/' folders, e.g. "widgets/checkboxlit.png". */
    juce::String name;
    int width = 0;
    int height = 0;
    /** What is drawn: a family word and variant words joined by '.', e.g. "button.lit". */
    juce::String kind;
    /** A colour name of the skin's colour table that the picture is drawn in, or "" for the kind's
        own colours. */
    juce::String accent;
    /** 1 for one image; more for a sequence written as name0 .. name(frames - 1) before the
        extension. */
    int frames = 1;
    bool alpha = true;
    /** Caption baked into the picture; "" for none. */
    juce::String label;
    /** Line number in the manifest, for messages. */
    int line = 0;

    /** The file name of one frame: the row's name, or for a sequence the name with the frame number
        before its extension. */
    juce::String FrameName(int frame) const;
    /** The first word of the kind ("button" for "button.lit"). */
    juce::String Family() const;
    /** True when word is one of the kind's variant words. */
    bool HasVariant(const juce::String& word) const;
};

/** The skin's image manifest: a text file with one row per image,

        name  WIDTHxHEIGHT  kind  accent  frames  alpha|opaque  "label"

    fields separated by blanks, "-" for an empty accent or label. Empty lines and lines that begin
    with '#' are skipped. Parse reports every malformed row with its line number; rows after a bad
    row are still read. */
class SkinManifest final
{
public:
    /** Limits that keep a mistyped row from asking for a huge picture. */
    static constexpr int kMaxSide = 4096;
    static constexpr int kMaxFrames = 256;

    /** Reads the manifest text; false when any row is malformed or a name repeats (the errors
        say which). */
    bool Parse(const juce::String& text);

    const juce::Array<SkinImageRow>& GetRows() const { return rows; }
    const juce::StringArray& GetErrors() const { return errors; }

private:
    bool ParseRow(const juce::String& lineText, int lineNumber, SkinImageRow& row);

    juce::Array<SkinImageRow> rows;
    juce::StringArray errors;
};
