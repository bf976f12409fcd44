#pragma once

#include "SkinManifest.h"

#include <functional>
#include <juce_graphics/juce_graphics.h>

/** Draws the pictures of the skin's image manifest: flat faces with a one-pixel edge and a subtle
    gradient in the colours of the skin's colour table, captions (the row's label and its placed
    captions) in a free sans face.

    Every colour is asked for by its name in the colour table, so pictures and widgets share one
    palette; a name the table lacks fails the row. Not thread-safe; one painter per thread. */
class SkinPainter final
{
public:
    /** Finds a colour of the skin's colour table by name; false when the table lacks it. */
    using ColourLookup = std::function<bool(const juce::String& name, juce::Colour& colour)>;

    explicit SkinPainter(ColourLookup lookup);

    /** Draws frame (0 .. row.frames - 1) of a row into a new picture of the row's size (ARGB for an
        alpha row, RGB for an opaque one). False, with the reason in error, when the kind is not
        known or a colour it needs is missing from the table. */
    bool Paint(const SkinImageRow& row, int frame, juce::Image& picture, juce::String& error);

    /** The families of kinds the painter draws ("back", "button", ...). */
    static juce::StringArray GetFamilies();

    /** The sans face captions are drawn in: Liberation Sans, else DejaVu Sans, else JUCE's default
        sans. */
    static juce::String CaptionTypeface();

private:
    using Draw = void (SkinPainter::*)(juce::Graphics&, const SkinImageRow&, int frame);

    /** The colour of a table name; records the name as missing (and gives magenta) when the table
        lacks it. */
    juce::Colour Named(const juce::String& name);
    /** The row's accent colour, or the named fallback when the row has none. */
    juce::Colour Accent(const SkinImageRow& row, const char* fallback);

    void Face(juce::Graphics& g, juce::Rectangle<float> area, juce::Colour base, float corner, bool sunken);
    void Caption(juce::Graphics& g, juce::Rectangle<float> area, const juce::String& text,
                 juce::Colour colour, float height,
                 juce::Justification justification = juce::Justification::centred);

    /** The row's placed captions, over what its kind drew. */
    void DrawCaptions(juce::Graphics& g, const SkinImageRow& row);

    void DrawBack(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawButton(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawLed(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawFader(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawPot(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawDropDown(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawSpinner(juce::Graphics& g, const SkinImageRow& row, int frame);
    /** A spinner of an up and a down half (a combo box's), one half pressed with "up" or "down". */
    void DrawUpDown(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawCheck(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawTab(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawTile(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawTitle(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawScroll(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawMeter(juce::Graphics& g, const SkinImageRow& row, int frame);
    void DrawIcon(juce::Graphics& g, const SkinImageRow& row, int frame);
    /** The unit's front panel and its parts (DevicePainter). */
    void DrawDevice(juce::Graphics& g, const SkinImageRow& row, int frame);
    /** The file lists' row icons (FileIconPainter). */
    void DrawFile(juce::Graphics& g, const SkinImageRow& row, int frame);

    struct Family
    {
        const char* name;
        Draw draw;
    };
    static const Family kFamilies[];

    ColourLookup lookup;
    juce::StringArray missingColours;
    /** A kind the family does not draw, noted by a family's drawing for Paint to report. */
    juce::String unknownKind;
};
