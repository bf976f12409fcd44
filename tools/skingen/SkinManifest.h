#pragma once

#include <juce_core/juce_core.h>

/** A caption placed on a picture by a "caption" line below its row. */
struct SkinCaption
{
    /** With a width (and height) the text is centred in that box; without, it starts at x with its
        top at y. */
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    /** Text height in pixels; 0 for the painter's caption height. */
    int size = 0;
    /** A colour name of the skin's colour table, or "" for the painter's caption colour. */
    juce::String colour;
    juce::String text;
    int line = 0;
};

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
    /** Captions at given places, drawn over the picture (every frame of a sequence). */
    juce::Array<SkinCaption> captions;
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

    fields separated by blanks, "-" for an empty accent or label, each row followed by any number of
    caption lines that place texts on its picture (a background's row and column labels):

        caption  X,Y[,W,H]  SIZE|-  COLOUR|-  "text"

    at X,Y (the text's top left), or centred in the box X,Y,W,H, which must lie inside the picture;
    SIZE is the text height in pixels (- the default), COLOUR a colour name of the colour table (-
    the default). Empty lines and lines that begin with '#' are skipped. Parse reports every
    malformed row or caption with its line number; rows after a bad one are still read, and the
    captions of a bad row are dropped with it. */
class SkinManifest final
{
public:
    /** Limits that keep a mistyped row from asking for a huge picture. */
    static constexpr int kMaxSide = 4096;
    static constexpr int kMaxFrames = 256;
    static constexpr int kMaxCaptionSize = 200;
    static constexpr const char* kCaptionWord = "caption";

    /** Reads the manifest text; false when any row is malformed or a name repeats (the errors
        say which). */
    bool Parse(const juce::String& text);

    const juce::Array<SkinImageRow>& GetRows() const { return rows; }
    const juce::StringArray& GetErrors() const { return errors; }

private:
    bool ParseRow(const juce::String& lineText, int lineNumber, SkinImageRow& row);
    bool ParseCaption(const juce::String& lineText, int lineNumber, const SkinImageRow& row,
                      SkinCaption& caption);

    juce::Array<SkinImageRow> rows;
    juce::StringArray errors;
};
