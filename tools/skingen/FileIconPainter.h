#pragma once

#include "SkinManifest.h"

#include <functional>
#include <juce_graphics/juce_graphics.h>

/** Draws the icons of the file lists' rows (the manifest's "fileicon" kinds), on a 14 by 14 grid
    centred in the picture, each with a dark outline:

        fileicon.file | text | media     a page with a folded corner; lines on a text file, a note
                                         on a sound file
        fileicon.folder                  a folder with its tab
        fileicon.hd | network            a drive with its lamp; a network drive hangs on a cable
        fileicon.cd | floppy | usb       a disc, a diskette with shutter and label, a memory stick

    The accent is the icon's main colour. Not thread-safe. */
class FileIconPainter final
{
public:
    /** The colour of a colour-table name (the caller records names the table lacks). */
    using ColourOf = std::function<juce::Colour(const juce::String& name)>;

    explicit FileIconPainter(ColourOf colourOf);

    /** Draws the row's icon; false when the kind names no file icon. */
    bool Paint(juce::Graphics& g, const SkinImageRow& row);

private:
    ColourOf colourOf;
};
